#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tasks/task_table.h"

namespace quorvel {

// The pictures kept with the program for actions that have no fitting system icon.
enum class DrawnPicture {
    RebootPicture,     // green rounded square with a white burst: "Reboot computer"
    PowerPicture,      // orange rounded square with a power symbol: hibernate and stand by
    WindowsPicture,    // blue window with a pen: "Minimize/Maximaze all windows"
    ClipboardPicture,  // clipboard: "Clear the Windows clipboard"
};

// Icon `index` (from 0) of a program, library or icon file.
struct IconFile {
    std::u16string fileName;
    int index = 0;
    bool operator==(const IconFile&) const = default;
};

using PictureSource = std::variant<IconFile, DrawnPicture>;

// The picture for a task, from its exact action name; nothing for a name that is no action.
std::optional<PictureSource> PictureSourceFor(std::u16string_view actionName,
                                              std::u16string_view destination);

// The picture list as the rebuild fills it: each distinct picture once, in the order of the rows
// that first show it, and for each position the rows' Image cells count, the picture that
// stands there.
class TaskPictures {
  public:
    virtual ~TaskPictures() = default;
    virtual void RemoveAll() = 0;
    // Appends the file's icon, or the fallback picture when the file has none.
    virtual void AddIconImage(const std::u16string& fileName, int iconIndex) = 0;
    virtual void AddDrawnPicture(DrawnPicture picture) = 0;
    // Position p of the Image cells shows the appended picture pictureAt[p].
    virtual void SetPositions(std::vector<int> pictureAt) = 0;
};

// Gives each row with a known action, in row order, the next picture position in its Image
// cell, as the rebuild does; other rows keep theirs.
void NumberTaskPictures(TaskTable& table);

// The task icon rebuild: empties the pictures and gives each row with a known action, in row
// order, the next position; rows with the same picture source share one picture, so that the
// list grows with the distinct icons rather than with the rows. Each such row's Image cell
// gets its position, other rows keep theirs.
void RebuildTaskPictures(TaskTable& table, TaskPictures& pictures);

}  // namespace quorvel
