#pragma once

#include <memory>

#include "common/file_system.h"

namespace quorvel {

// The file system of a POSIX host, for the native tests and benchmarks. Paths are UTF-16
// text of POSIX paths; errno values map to the runtime's codes where one fits.
std::unique_ptr<FileSystem> CreatePosixFileSystem();

}  // namespace quorvel
