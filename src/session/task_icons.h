#pragma once

#include <compare>
#include <string>
#include <string_view>
#include <variant>

#include "tasks/action_catalogue.h"
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
    auto operator<=>(const IconFile&) const = default;
};

// The program's own icon, which the rows of a task file that could not be read whole show in
// place of their actions' pictures.
struct ProgramPicture {
    auto operator<=>(const ProgramPicture&) const = default;
};

using PictureSource = std::variant<IconFile, DrawnPicture, ProgramPicture>;

// The picture of a task's action; the programs' rows show their destination's icon.
PictureSource PictureSourceFor(Action action, std::u16string_view destination);

// Gives each row with a known action, in row order, the next picture number in its Image cell,
// as the file holds them; other rows keep theirs.
void NumberTaskPictures(TaskTable& table);

}  // namespace quorvel
