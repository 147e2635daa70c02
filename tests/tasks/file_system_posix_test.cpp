#include "file_system_posix.h"

#include "file_system_contract.h"
#include "scratch_folder.h"

namespace quorvel {
namespace {

using PosixPlace = DiskFiles<&CreatePosixFileSystem>;
INSTANTIATE_TYPED_TEST_SUITE_P(Posix, FileSystemContract, PosixPlace);

}  // namespace
}  // namespace quorvel
