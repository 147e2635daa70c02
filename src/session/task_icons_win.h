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
    // The files whose icons could not be had, shown by the shell's stand-in, are tried again
    // as they are next asked for: the program may have come since.
    void RetryMissingIcons();

  private:
    struct Made {
        int place = -1;         // in the list
        bool standIn = false;   // a file's icon could not be had
        bool retryDue = false;  // to be made again at the same place
    };

    // Drawn into the list at `place`, or added when none; whether the file's icon was there.
    bool Draw(const PictureSource& source, int& place);

    HINSTANCE instance_;
    int programIconId_;
    int size_ = 32;
    mutable UniqueImageList imageList_;
    std::map<PictureSource, Made> made_;
};

}  // namespace quorvel
