#pragma once

#include <windows.h>

#include <string>

#include "common/win/unique_handle_win.h"

namespace quorvel {

// One running Quorvel per folder: two would write the same data files over each other. The
// first start holds a named mutex for its folder; a later start finds the first one's main
// window and asks it to come forward.
class SingleInstance {
  public:
    explicit SingleInstance(const std::u16string& executablePath);
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool IsFirst() const { return first_; }
    // Posts ShowMessage to the main window of the instance that runs from the same folder,
    // waiting a while for a window that an instance still starting has yet to make.
    void ActivateFirstInstance(const wchar_t* mainWindowClass) const;

    // Sent to a running instance's main window: show yourself.
    static UINT ShowMessage();

  private:
    bool ActivateWindowOfFirstInstance(const wchar_t* mainWindowClass) const;

    std::u16string folder_;
    UniqueKernelHandle mutex_;
    bool first_ = false;
};

}  // namespace quorvel
