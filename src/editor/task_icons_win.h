#pragma once

#include <windows.h>
#include <commctrl.h>

#include "editor/task_icons.h"

namespace quorvel {

// ImageList1 filled with 32 x 32 pictures without mask: icons of files, with icon 24 of the
// shell library in place of a missing one, and the editor's own pictures.
class ImageListPictures final : public TaskPictures {
  public:
    ImageListPictures(HINSTANCE instance, HIMAGELIST imageList1)
        : instance_(instance), imageList1_(imageList1) {}

    void RemoveAll() override;
    void AddIconImage(const std::u16string& fileName, int iconIndex) override;
    void AddStoredPicture(StoredPicture picture) override;

  private:
    template <typename Draw>
    void AppendPicture(Draw&& draw);

    HINSTANCE instance_;
    HIMAGELIST imageList1_;
};

}  // namespace quorvel
