#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/win/unique_handle_win.h"

namespace quorvel {

// One running Quorvel per data folder: two would write the same data files over each other.
// A folder is known by its identity on the file system, the same by every path that leads to
// it (a symbolic link, a junction, a short name, other letter case). The first start holds a
// named mutex for its data folder and one for its program folder, which stands for the data
// folder while that does not exist yet; a later start that finds either held asks the first
// one's main window to come forward.
class SingleInstance {
  public:
    explicit SingleInstance(const std::u16string& executablePath);
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool IsFirst() const { return first_; }
    // Posts ShowMessage to the main window of the instance that runs on the same data folder,
    // waiting a while for a window that an instance still starting has yet to make.
    void ActivateFirstInstance(const wchar_t* mainWindowClass) const;

    // Sent to a running instance's main window: show yourself.
    static UINT ShowMessage();

  private:
    bool ActivateWindowOfFirstInstance(const wchar_t* mainWindowClass) const;

    std::vector<std::wstring> keys_;
    std::vector<UniqueKernelHandle> mutexes_;
    bool first_ = true;
};

}  // namespace quorvel
