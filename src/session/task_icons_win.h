#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "common/win/unique_handle_win.h"
#include "session/task_icons.h"

namespace quorvel {

// The picture list filled with square pictures without mask, 32 pixels at 96 DPI and scaled with
// the grid's rows: icons of files, with icon 24 of the shell library in place of a missing one,
// and the editor's own pictures; and the picture each position of the rows' Image cells shows.
// The list is made at its first use, which a start in the tray does not come to.
class ImageListPictures final : public TaskPictures {
  public:
    explicit ImageListPictures(HINSTANCE instance) : instance_(instance) {}

    void RemoveAll() override;
    void AddIconImage(const std::u16string& fileName, int iconIndex) override;
    void AddDrawnPicture(DrawnPicture picture) override;
    void SetPositions(std::vector<int> pictureAt) override { pictureAt_ = std::move(pictureAt); }
    // One of the program's own icons.
    void AddProgramIcon(int resourceId);

    // Every picture drawn again at that size, in the same list.
    void SetPictureSize(int pixels);
    HIMAGELIST List() const;
    // The list's picture that a row whose Image cell holds `position` shows, or -1 for none.
    // Before the first rebuild a position is the list's own place.
    int PictureOf(int position) const;

  private:
    // A program icon by its resource id.
    using Source = std::variant<IconFile, DrawnPicture, int>;
    void AppendSource(const Source& source);
    template <typename Draw>
    void AppendPicture(Draw&& draw);

    HINSTANCE instance_;
    int size_ = 32;
    std::vector<Source> sources_;  // what the list shows, in its order
    mutable UniqueImageList imageList_;
    std::optional<std::vector<int>> pictureAt_;
};

}  // namespace quorvel
