#pragma once

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "common/file_system.h"

namespace quorvel {

// A new folder under the system's temporary folder, removed with its content at the end.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("quorvel-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ScratchFolder(ScratchFolder&&) = delete;
    ScratchFolder& operator=(ScratchFolder&&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::u16string PathOf(std::u16string_view name) const {
        return (path_ / std::filesystem::path(name)).u16string();
    }

  private:
    std::filesystem::path path_;
};

// A real file system working in a scratch folder.
template <std::unique_ptr<FileSystem> (*Create)()>
class DiskFiles {
  public:
    FileSystem& Files() { return *files_; }
    std::u16string PathOf(std::u16string_view name) const { return scratch_.PathOf(name); }
    const std::filesystem::path& Folder() const { return scratch_.Path(); }

  private:
    ScratchFolder scratch_;
    std::unique_ptr<FileSystem> files_ = Create();
};

}  // namespace quorvel
