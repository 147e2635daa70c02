#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "error_text.h"

namespace quorvel {

// What every FileSystem must do alike, run against each implementation. A type parameter
// gives Files() and PathOf(name), a path in an existing, empty folder.
template <typename Place>
class FileSystemContract : public testing::Test {
  protected:
    FileSystem& Files() { return place_.Files(); }
    std::u16string PathOf(std::u16string_view name) { return place_.PathOf(name); }

    Place place_;
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, ReplaceFileAndCopyFileReplaceTheWholeContent) {
    const std::u16string path = this->PathOf(u"actions.cfg");
    const std::vector<std::uint8_t> first{0xFF, 0xFE, 'a', 0, '\r', 0, '\n', 0};
    this->Files().ReplaceFile(path, first);
    EXPECT_TRUE(this->Files().FileExists(path));
    EXPECT_EQ(this->Files().ReadFile(path), first);

    const std::vector<std::uint8_t> shorter{0xFF, 0xFE};
    this->Files().ReplaceFile(path, shorter);
    EXPECT_EQ(this->Files().ReadFile(path), shorter);
    this->Files().ReplaceFile(path, {});
    EXPECT_TRUE(this->Files().ReadFile(path).empty());

    // A copy overwrites its target and leaves the source.
    const std::u16string to = this->PathOf(u"actions.cfg.bak");
    this->Files().ReplaceFile(to, std::vector<std::uint8_t>{9});
    this->Files().ReplaceFile(path, std::vector<std::uint8_t>{1, 2, 3});
    this->Files().CopyFile(path, to);
    EXPECT_EQ(this->Files().ReadFile(to), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(this->Files().ReadFile(path), (std::vector<std::uint8_t>{1, 2, 3}));
}

TYPED_TEST_P(FileSystemContract, MissingFilesAndFoldersGiveTheRuntimeTexts) {
    EXPECT_EQ(FileErrorOf([&] { this->Files().ReadFile(this->PathOf(u"none.cfg")); }),
              u"2 File not found");
    const std::u16string inMissingFolder = this->PathOf(u"data/actions.cfg");
    EXPECT_EQ(FileErrorOf([&] { this->Files().ReplaceFile(inMissingFolder, {}); }),
              u"3 Invalid filename");
    EXPECT_FALSE(this->Files().FileExists(inMissingFolder));
    EXPECT_EQ(FileErrorOf([&] {
                  this->Files().CopyFile(this->PathOf(u"none.cfg"), this->PathOf(u"copy.cfg"));
              }),
              u"2 File not found");
}

TYPED_TEST_P(FileSystemContract, CreateDirectoryAcceptsAnExistingFolder) {
    const std::u16string folder = this->PathOf(u"data");
    this->Files().CreateDirectory(folder);
    this->Files().CreateDirectory(folder);
    EXPECT_FALSE(this->Files().FileExists(folder));
    const std::u16string file = this->PathOf(u"data/actions.cfg");
    this->Files().ReplaceFile(file, std::vector<std::uint8_t>{1, 2, 3});
    EXPECT_TRUE(this->Files().FileExists(file));
}

TYPED_TEST_P(FileSystemContract, AViewGivesThePartsAskedForAcrossALargeFile) {
    // Some megabytes, so that parts are asked for where a view maps one slice and then another.
    std::vector<std::uint8_t> content((3u << 20) + 5);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<std::uint8_t>(i % 251);
    const std::u16string path = this->PathOf(u"actions.cfg");
    this->Files().ReplaceFile(path, content);
    const auto view = this->Files().ViewFile(path);
    ASSERT_EQ(view->Size(), content.size());
    const std::size_t mebibyte = 1u << 20;
    for (const std::size_t offset : {std::size_t{0}, mebibyte - 129, mebibyte + 1, 5 * mebibyte / 2,
                                     3 * mebibyte - 1, std::size_t{7}, content.size() - 3}) {
        const std::span<const std::uint8_t> bytes = view->BytesFrom(offset, 130);
        ASSERT_GE(bytes.size(), std::min<std::size_t>(130, content.size() - offset)) << offset;
        ASSERT_LE(bytes.size(), content.size() - offset) << offset;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), content.begin() + offset)) << offset;
    }
    EXPECT_EQ(this->Files().ReadFile(path), content);
}

// A save tells another program's change by the stamp, and leaves no temporary file for good.
TYPED_TEST_P(FileSystemContract, StampsTellAReplacedFileAndLeftoversAreRemoved) {
    const std::u16string path = this->PathOf(u"actions.cfg");
    EXPECT_EQ(this->Files().StampOf(path), std::nullopt);
    this->Files().ReplaceFile(path, std::vector<std::uint8_t>{1, 2, 3});
    const auto first = this->Files().StampOf(path);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size, 3u);
    EXPECT_EQ(this->Files().StampOf(path), first);
    this->Files().ReplaceFile(path, std::vector<std::uint8_t>{4, 5, 6});
    EXPECT_NE(this->Files().StampOf(path), first);

    this->Files().CreateDirectory(this->PathOf(u"actions.cfg.bak"));
    EXPECT_TRUE(this->Files().PathExists(this->PathOf(u"actions.cfg.bak")));
    EXPECT_EQ(this->Files().StampOf(this->PathOf(u"actions.cfg.bak")), std::nullopt);
    EXPECT_FALSE(this->Files().PathExists(this->PathOf(u"actions.cfg.bak2")));
    this->Files().ReplaceFile(this->PathOf(u"actions.cfg.tmp"), std::vector<std::uint8_t>{7});
    this->Files().RemoveLeftovers(path);
    EXPECT_FALSE(this->Files().PathExists(this->PathOf(u"actions.cfg.tmp")));
    EXPECT_TRUE(this->Files().FileExists(path));
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, ReplaceFileAndCopyFileReplaceTheWholeContent,
                            MissingFilesAndFoldersGiveTheRuntimeTexts,
                            CreateDirectoryAcceptsAnExistingFolder,
                            AViewGivesThePartsAskedForAcrossALargeFile,
                            StampsTellAReplacedFileAndLeftoversAreRemoved);

}  // namespace quorvel
