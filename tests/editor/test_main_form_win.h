#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/main_form.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "tasks/file_system_win.h"
#include "tasks/task_file.h"

namespace quorvel {

// The main window as the editor sees it: a real task table saved to and loaded from an actions
// file in a fresh temporary folder, with the saves counted.
class TestMainForm final : public MainForm {
  public:
    TestMainForm() : folder_(MakeTempFolder()), files_(CreateWindowsFileSystem()) {}
    ~TestMainForm() override {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(ToWide(folder_)), ignored);
    }
    TestMainForm(const TestMainForm&) = delete;
    TestMainForm& operator=(const TestMainForm&) = delete;

    TaskTable& NextGrid1() override { return table; }
    void SaveTaskFile() override {
        ++saves;
        TaskFile(*files_, ActionsPath()).Save(table);
    }
    void LoadTaskFile() override { TaskFile(*files_, ActionsPath()).Load(table); }

    std::u16string ActionsPath() const { return folder_ + u"\\data\\actions.cfg"; }
    FileSystem& Files() { return *files_; }

    TaskTable table;
    int saves = 0;

  private:
    static std::u16string MakeTempFolder() {
        wchar_t base[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, base);
        std::wstring folder = std::wstring(base) + L"quorvel-editor-" +
                              std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++folderCount_);
        ::CreateDirectoryW(folder.c_str(), nullptr);
        return {folder.begin(), folder.end()};
    }

    static inline int folderCount_ = 0;
    std::u16string folder_;
    std::unique_ptr<FileSystem> files_;
};

}  // namespace quorvel
