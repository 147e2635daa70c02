#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>

#include "common/win/unique_handle_win.h"
#include "session/task_icons.h"

namespace quorvel {

// The rows' pictures in an image list of square pictures without mask, 32 pixels at 96 DPI and
// scaled with the grid's rows: icons of files, with icon 24 of the shell library in place of a
// missing one, the editor's own pictures and the program's icon. Each is made as a row that
// shows it is first drawn, and shared by every row that shows the same. The list is made at its
// first use, which a start in the tray does not come to.
class ImageListPictures {
  public:
    ImageListPictures(HINSTANCE instance, int programIconId)
        : instance_(instance), programIconId_(programIconId) {}

    // The pictures are made again at that size, as they are next asked for, in the same list.
    void SetPictureSize(int pixels);
    HIMAGELIST List() const;
    // The list's picture of the source, made at its first use; -1 when the list cannot take it.
    // A list that cannot be made is not worth a box: the rows show no picture then.
    int PictureOf(const PictureSource& source);

  private:
    // Its place in the list.
    int Append(const PictureSource& source);

    HINSTANCE instance_;
    int programIconId_;
    int size_ = 32;
    mutable UniqueImageList imageList_;
    std::map<PictureSource, int> made_;  // each source's place in the list
};

}  // namespace quorvel
