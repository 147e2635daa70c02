#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "program_watch_win.h"

namespace quorvel {

// Calls `onTick` every 50 ms from whichever message loop runs on this thread: a window's own,
// or that of a box it opened.
class ThreadTimer {
  public:
    explicit ThreadTimer(std::function<void()> onTick)
        : onTick_(std::move(onTick)), id_(::SetTimer(nullptr, 0, 50, &ThreadTimer::Tick)) {
        Running()[id_] = this;
    }
    ~ThreadTimer() {
        ::KillTimer(nullptr, id_);
        Running().erase(id_);
    }
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

  private:
    static std::map<UINT_PTR, ThreadTimer*>& Running() {
        static std::map<UINT_PTR, ThreadTimer*> running;
        return running;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        const auto found = Running().find(id);
        if (found != Running().end()) found->second->onTick_();
    }

    std::function<void()> onTick_;
    UINT_PTR id_;
};

// Answers each message box or file chooser this process shows, from the box's own message
// loop: keeps its text and presses `button` once.
class BoxAnswerer {
  public:
    explicit BoxAnswerer(int button) : button_(button) {}

    std::vector<std::wstring> texts;

  private:
    void Tick() {
        const auto boxes = VisibleBoxes(::GetCurrentProcessId(), /*title=*/nullptr);
        if (boxes.empty() || boxes.front() == answered_) return;
        answered_ = boxes.front();
        texts.push_back(BoxText(answered_));
        ::PostMessageW(answered_, WM_COMMAND, static_cast<WPARAM>(button_), 0);
    }

    int button_;
    HWND answered_ = nullptr;
    ThreadTimer timer_{[this] { Tick(); }};
};

}  // namespace quorvel
