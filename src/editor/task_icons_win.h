#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <utility>

#include "common/win/unique_handle_win.h"
#include "editor/task_icons.h"

namespace quorvel {

// ImageList1 filled with 32 x 32 pictures without mask: icons of files, with icon 24 of the
// shell library in place of a missing one, and the editor's own pictures. Within one rebuild
// (from RemoveAll on) each file's icon is read once, however many rows show it.
class ImageListPictures final : public TaskPictures {
  public:
    ImageListPictures(HINSTANCE instance, HIMAGELIST imageList1)
        : instance_(instance), imageList1_(imageList1) {}

    void RemoveAll() override;
    void Reserve(int count) override;
    void AddIconImage(const std::u16string& fileName, int iconIndex) override;
    void AddStoredPicture(StoredPicture picture) override;

  private:
    template <typename Key, typename Draw>
    void AppendPicture(std::map<Key, UniqueGdiObject>& drawn, const Key& key, Draw&& draw);

    HINSTANCE instance_;
    HIMAGELIST imageList1_;
    std::map<std::pair<std::u16string, int>, UniqueGdiObject> iconPictures_;
    std::map<StoredPicture, UniqueGdiObject> storedPictures_;
    int reserved_ = 0;  // pictures made room for by Reserve
    int appended_ = 0;  // pictures appended since RemoveAll
};

}  // namespace quorvel
