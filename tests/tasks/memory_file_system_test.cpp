#include "memory_file_system.h"

#include "file_system_contract.h"

namespace quorvel {
namespace {

// The fake must behave like the real file systems for the task file's tests to mean anything.
class MemoryPlace {
  public:
    MemoryPlace() { files_.AddFolder(kRoot); }
    FileSystem& Files() { return files_; }
    std::u16string PathOf(std::u16string_view name) const {
        return kRoot + u"\\" + std::u16string(name);
    }

  private:
    static inline const std::u16string kRoot = u"M:\\scratch";
    MemoryFileSystem files_;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, FileSystemContract, MemoryPlace);

}  // namespace
}  // namespace quorvel
