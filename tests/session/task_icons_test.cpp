#include <gtest/gtest.h>

#include <vector>

#include "common/text.h"
#include "session/task_icons.h"

namespace quorvel {
namespace {

// Rows with a known action take the next number, in row order; the others keep theirs: a name
// in another letter case, one without its trailing dots, one that is no action.
TEST(TaskIcons, RowsWithAnActionAreNumberedInOrderAndTheOthersKeepTheirNumber) {
    TaskTable table;
    for (const std::u16string_view name : {u"Run Calc", u"RUN CALC", u"Open Website...",
                                           u"Run selected program", u"Reboot computer"}) {
        table.AppendTask({.actionName = std::u16string(name), .image = 9});
        table.SetResolved(table.RowCount() - 1, {.action = FindAction(name)});
    }
    NumberTaskPictures(table);
    std::vector<int> cells;
    for (int row = 0; row < table.RowCount(); ++row) cells.push_back(table.ViewAt(row).image);
    EXPECT_EQ(cells, (std::vector<int>{0, 9, 1, 9, 2}));
}

// The program rows take the destination whole, parameters too; the others ignore it.
TEST(TaskIcons, EveryActionHasAPictureAndSleepActionsShareOne) {
    const std::u16string destination = u"C:\\Tools\\zip.exe -d x";
    const std::vector<std::pair<std::u16string_view, PictureSource>> expected{
        {u"Run selected program...", IconFile{destination, 0}},
        {u"Close selected program...", IconFile{destination, 0}},
        {u"Run My Computer", IconFile{u"SHELL32.dll", 15}},
        {u"Run Calc", IconFile{u"calc.exe", 0}},
        {u"Run My Documents", IconFile{u"SHELL32.dll", 4}},
        {u"Run Notepad", IconFile{u"Notepad.exe", 0}},
        {u"Run Command Promt", IconFile{u"cmd.exe", 0}},
        {u"Power off computer", IconFile{u"SHELL32.dll", 27}},
        {u"Reboot computer", DrawnPicture::RebootPicture},
        {u"Hibernate computer", DrawnPicture::PowerPicture},
        {u"Stand by computer", DrawnPicture::PowerPicture},
        {u"Log off computer", IconFile{u"SHELL32.dll", 44}},
        {u"Open Website...", IconFile{u"SHELL32.dll", 13}},
        {u"Open CD-Rom", IconFile{u"SHELL32.dll", 188}},
        {u"Close CD-Rom", IconFile{u"SHELL32.dll", 188}},
        {u"Minimize/Maximaze all windows", DrawnPicture::WindowsPicture},
        {u"Clear the Windows clipboard", DrawnPicture::ClipboardPicture},
    };
    for (const auto& [name, source] : expected) {
        EXPECT_EQ(PictureSourceFor(*FindAction(name), destination), source) << ToUtf8(name);
    }
}

}  // namespace
}  // namespace quorvel
