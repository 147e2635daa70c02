#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/error.h"
#include "tasks/file_system.h"

namespace quorvel::testing {

// Files in memory; paths listed in failingWrites refuse to be written like a missing folder.
class FakeFileSystem final : public FileSystem {
  public:
    static constexpr std::uint32_t kFileNotFound = 2;
    static constexpr std::uint32_t kPathNotFound = 3;

    std::vector<std::uint8_t> ReadFile(const std::u16string& path) override {
        ++reads[path];
        const auto found = files.find(path);
        if (found == files.end()) throw FileError(IoErrorText(kFileNotFound), kFileNotFound);
        return found->second;
    }
    void ReplaceFile(const std::u16string& path, std::span<const std::uint8_t> bytes) override {
        if (failingWrites.contains(path))
            throw FileError(IoErrorText(kPathNotFound), kPathNotFound);
        ++writes[path];
        files[path] = {bytes.begin(), bytes.end()};
    }
    bool FileExists(const std::u16string& path) override { return files.contains(path); }
    void CopyFile(const std::u16string& from, const std::u16string& to) override {
        files[to] = ReadFile(from);
    }
    void CreateDirectory(const std::u16string&) override {}

    void SetText(const std::u16string& path, std::string_view text) {
        files[path] = {text.begin(), text.end()};
    }
    std::string Text(const std::u16string& path) const {
        const auto& bytes = files.at(path);
        return {bytes.begin(), bytes.end()};
    }

    std::map<std::u16string, std::vector<std::uint8_t>> files;
    std::set<std::u16string> failingWrites;
    std::map<std::u16string, int> reads;
    std::map<std::u16string, int> writes;
};

}  // namespace quorvel::testing
