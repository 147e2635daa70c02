#include <windows.h>

#include <filesystem>

#include "common/win/file_system_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "error_text.h"
#include "file_system_contract.h"
#include "scratch_folder.h"
#include "task_rows.h"
#include "tasks/task_file.h"

namespace quorvel {
namespace {

using WindowsPlace = DiskFiles<&CreateWindowsFileSystem>;
INSTANTIATE_TYPED_TEST_SUITE_P(Windows, FileSystemContract, WindowsPlace);

const std::vector<Task> kTasks{
    {u"Run Program", u"Ctrl+Alt+\u00d6", u"C:\\Program Files\\\u00dcbersicht\\\u7a0b\u5e8f.exe, -x",
     u"Normal", 2, true},
    {u"Open Web Site", u"Shift+Win+F12", u"https://example.org/\U0001F600\"q\"", u"Minimze", 0,
     false}};

class WindowsFilesTest : public testing::Test {
  protected:
    std::vector<std::filesystem::path> FolderContent(const std::filesystem::path& folder) {
        std::vector<std::filesystem::path> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename());
        }
        return names;
    }

    WindowsPlace place_;
    const std::u16string path_ = place_.PathOf(u"data\\actions.cfg");
    TaskFile taskFile_{place_.Files(), path_};
};

TEST_F(WindowsFilesTest, SaveCreatesTheDataFolderAndNonAsciiTextSurvives) {
    TaskTable saved = TableOf(kTasks);
    taskFile_.Save(saved);
    const std::vector<std::uint8_t> bytes = place_.Files().ReadFile(path_);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);

    TaskTable loaded;
    taskFile_.Load(loaded);
    EXPECT_EQ(TasksOf(loaded), kTasks);
    EXPECT_EQ(FolderContent(place_.Folder() / "data"),
              std::vector<std::filesystem::path>{"actions.cfg"});
}

TEST_F(WindowsFilesTest, AReadOnlyFileIsDeniedAndKept) {
    TaskTable table = TableOf(kTasks);
    taskFile_.Save(table);
    const std::vector<std::uint8_t> before = place_.Files().ReadFile(path_);
    ASSERT_TRUE(::SetFileAttributesW(ToWide(path_).c_str(), FILE_ATTRIBUTE_READONLY));

    table.ClearRows();
    EXPECT_EQ(FileErrorOf([&] { taskFile_.Save(table); }),
              u"5 Cannot write file \"" + path_ + u"\". File access denied");
    EXPECT_EQ(place_.Files().ReadFile(path_), before);
    EXPECT_EQ(FolderContent(place_.Folder() / "data"),
              std::vector<std::filesystem::path>{"actions.cfg"});
    ::SetFileAttributesW(ToWide(path_).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(WindowsFilesTest, ASaveThatCannotReplaceTheFileLeavesItWhole) {
    TaskTable table = TableOf(kTasks);
    taskFile_.Save(table);
    const std::vector<std::uint8_t> before = place_.Files().ReadFile(path_);
    {
        // Another program holds the file open without sharing it.
        const UniqueFileHandle held(::CreateFileW(ToWide(path_).c_str(), GENERIC_READ, 0, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        // Its state is seen all the same; its bytes are not.
        EXPECT_EQ(place_.Files().StampOf(path_)->size, before.size());
        TaskTable read;
        EXPECT_EQ(TaskFile(place_.Files(), path_).Load(read).unreadable,
                  u"The file is in use by another program");
        table.RemoveRow(0);
        try {
            taskFile_.Save(table);
            ADD_FAILURE() << "no error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Message(),
                      u"Cannot write file \"" + path_ + u"\". " + IoErrorText(e.Code()));
        }
    }
    EXPECT_EQ(place_.Files().ReadFile(path_), before);
    EXPECT_EQ(FolderContent(place_.Folder() / "data"),
              std::vector<std::filesystem::path>{"actions.cfg"});
}

}  // namespace
}  // namespace quorvel
