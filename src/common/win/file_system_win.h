#pragma once

#include <memory>

#include "common/file_system.h"

namespace quorvel {

// The real file system, through the wide Windows file calls.
std::unique_ptr<FileSystem> CreateWindowsFileSystem();

}  // namespace quorvel
