#include <gtest/gtest.h>

#include <vector>

#include "common/text.h"
#include "recording_pictures.h"
#include "session/task_icons.h"

namespace quorvel {
namespace {

using testing_support::RecordingPictures;

void AddRow(TaskTable& table, std::u16string desc, std::u16string dest = u"", int image = 0) {
    table.AppendTask({.actionName = std::move(desc), .dest = std::move(dest), .image = image});
}

std::vector<int> ImageCells(const TaskTable& table) {
    std::vector<int> cells;
    for (int row = 0; row < table.RowCount(); ++row) cells.push_back(table.ViewAt(row).image);
    return cells;
}

TEST(TaskIcons, RowsHoldTheirPositionsAndSharePicturesOfOneSource) {
    TaskTable table;
    AddRow(table, u"Run Calc", u"", 9);
    AddRow(table, u"Open Website...", u"http://example.org", 9);
    AddRow(table, u"Reboot computer", u"", 9);
    AddRow(table, u"Run Calc", u"", 9);
    AddRow(table, u"Stand by computer", u"", 9);
    AddRow(table, u"Hibernate computer", u"", 9);
    AddRow(table, u"Run selected program...", u"C:\\a.exe", 9);
    AddRow(table, u"Close selected program...", u"C:\\a.exe", 9);
    RecordingPictures pictures;
    pictures.list.emplace_back(
        DrawnPicture::ClipboardPicture);  // the list's picture before the rebuild

    RebuildTaskPictures(table, pictures);

    EXPECT_EQ(pictures.removeAllCalls, 1);
    EXPECT_EQ(pictures.list,
              (std::vector<PictureSource>{IconFile{u"calc.exe", 0}, IconFile{u"SHELL32.dll", 13},
                                          DrawnPicture::RebootPicture, DrawnPicture::PowerPicture,
                                          IconFile{u"C:\\a.exe", 0}}));
    EXPECT_EQ(ImageCells(table), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(pictures.positions, (std::vector<int>{0, 1, 2, 0, 3, 3, 4, 4}));

    TaskTable empty;
    RebuildTaskPictures(empty, pictures);
    EXPECT_TRUE(pictures.list.empty()) << "an empty table still clears the list";
}

TEST(TaskIcons, UnknownOrMiscasedNamesGetNoPictureAndKeepTheirImageValue) {
    TaskTable table;
    AddRow(table, u"Run Calc");
    AddRow(table, u"RUN CALC", u"", 7);
    AddRow(table, u"Run selected program", u"", 8);  // without the trailing dots
    AddRow(table, u"Run Notepad");
    RecordingPictures pictures;

    RebuildTaskPictures(table, pictures);

    EXPECT_EQ(pictures.list,
              (std::vector<PictureSource>{IconFile{u"calc.exe", 0}, IconFile{u"Notepad.exe", 0}}));
    EXPECT_EQ(ImageCells(table), (std::vector<int>{0, 7, 8, 1}));
    EXPECT_EQ(pictures.positions, (std::vector<int>{0, 1}));
}

// The program rows take the destination whole, parameters too; the others ignore it.
TEST(TaskIcons, EveryActionHasAPictureAndSleepActionsShareOne) {
    const std::u16string destination = u"C:\\Tools\\zip.exe -d x";
    const std::vector<std::pair<std::u16string_view, PictureSource>> expected{
        {u"Run selected program...", IconFile{destination, 0}},
        {u"Close selected program...", IconFile{destination, 0}},
        {u"Run My Computer", IconFile{u"SHELL32.dll", 15}},
        {u"Run My Documents", IconFile{u"SHELL32.dll", 4}},
        {u"Run Command Promt", IconFile{u"cmd.exe", 0}},
        {u"Power off computer", IconFile{u"SHELL32.dll", 27}},
        {u"Hibernate computer", DrawnPicture::PowerPicture},
        {u"Stand by computer", DrawnPicture::PowerPicture},
        {u"Log off computer", IconFile{u"SHELL32.dll", 44}},
        {u"Open CD-Rom", IconFile{u"SHELL32.dll", 188}},
        {u"Close CD-Rom", IconFile{u"SHELL32.dll", 188}},
        {u"Minimize/Maximaze all windows", DrawnPicture::WindowsPicture},
        {u"Clear the Windows clipboard", DrawnPicture::ClipboardPicture},
    };
    for (const auto& [name, source] : expected) {
        EXPECT_EQ(PictureSourceFor(name, destination), source) << ToUtf8(name);
    }
}

}  // namespace
}  // namespace quorvel
