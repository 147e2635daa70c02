#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/win/unique_handle_win.h"
#include "session/task_icons.h"

namespace quorvel {

// The picture list filled with 32 x 32 pictures without mask: icons of files, with icon 24 of the
// shell library in place of a missing one, and the editor's own pictures; and the picture each
// position of the rows' Image cells shows. The list is made at its first use, which a start in
// the tray does not come to.
class ImageListPictures final : public TaskPictures {
  public:
    explicit ImageListPictures(HINSTANCE instance) : instance_(instance) {}

    void RemoveAll() override;
    void AddIconImage(const std::u16string& fileName, int iconIndex) override;
    void AddStoredPicture(StoredPicture picture) override;
    void SetPositions(std::vector<int> pictureAt) override { pictureAt_ = std::move(pictureAt); }

    HIMAGELIST List() const;
    // The list's picture that a row whose Image cell holds `position` shows, or -1 for none.
    // Before the first rebuild a position is the list's own place.
    int PictureOf(int position) const;

  private:
    template <typename Draw>
    void AppendPicture(Draw&& draw);

    HINSTANCE instance_;
    mutable UniqueImageList imageList_;
    std::optional<std::vector<int>> pictureAt_;
};

}  // namespace quorvel
