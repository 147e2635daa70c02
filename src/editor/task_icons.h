#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "tasks/task_table.h"

namespace quorvel {

// The pictures kept with the editor for actions that have no fitting system icon.
enum class StoredPicture {
    Image2,  // green rounded square with a white burst: "Reboot computer"
    Image3,  // orange rounded square with a power symbol: hibernate and stand by
    Image4,  // blue window with a pen: "Minimize/Maximaze all windows"
    Image5,  // clipboard: "Clear the Windows clipboard"
};

// Icon `index` (from 0) of a program, library or icon file.
struct IconFile {
    std::u16string fileName;
    int index = 0;
    bool operator==(const IconFile&) const = default;
};

using PictureSource = std::variant<IconFile, StoredPicture>;

// The picture for a task, from its exact action name; nothing for a name that is no action.
std::optional<PictureSource> PictureSourceFor(std::u16string_view actionName,
                                              std::u16string_view destination);

// ImageList1 as the rebuild fills it: one appended picture per call, in order.
class TaskPictures {
  public:
    virtual ~TaskPictures() = default;
    virtual void RemoveAll() = 0;
    // Room for this many pictures, about to be appended; growing the list one picture at a
    // time costs a copy of the whole list now and then.
    virtual void Reserve(int count) = 0;
    // Appends the file's icon, or the fallback picture when the file has none.
    virtual void AddIconImage(const std::u16string& fileName, int iconIndex) = 0;
    virtual void AddStoredPicture(StoredPicture picture) = 0;
};

// The task icon rebuild: empties the pictures and appends one per row with a known action, in
// row order; each such row's Image cell gets its picture's position, other rows keep theirs.
// The grid is repainted once, at the end.
void BitBtn5Click(TaskTable& table, TaskPictures& pictures);

}  // namespace quorvel
