#include "session/task_session_win.h"

#include <utility>

#include "common/win/error_box_win.h"

namespace quorvel {

namespace {

// 32 x 32 pictures without mask, one for each distinct picture the rows show.
HIMAGELIST CreatePictureList() {
    return ::ImageList_Create(32, 32, ILC_COLOR32, /*cInitial=*/0, /*cGrow=*/8);
}

}  // namespace

TaskSessionWin::TaskSessionWin(HINSTANCE instance, FileSystem& files, std::u16string actionsPath,
                               const HotKeyText& hotKeyText)
    : imageList_(CreatePictureList()),
      pictures_(instance, imageList_.get()),
      registrar_(instance),
      actions_([this] { return LaunchOwner(); }),
      session_(files, std::move(actionsPath), hotKeyText, registrar_.Dravlin1(), actions_,
               pictures_, [this] { ShowCurrentException(LaunchOwner()); }) {}

void TaskSessionWin::StartUp() {
    RunHandler(/*owner=*/nullptr, [this] { session_.StartUp(); });
}

}  // namespace quorvel
