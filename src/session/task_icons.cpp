#include "session/task_icons.h"

namespace quorvel {

namespace {

IconFile ShellIcon(int index) { return {u"SHELL32.dll", index}; }

}  // namespace

PictureSource PictureSourceFor(Action action, std::u16string_view destination) {
    switch (action) {
        case Action::RunSelectedProgram:
        case Action::CloseSelectedProgram:
            // The whole destination, parameters included: such a text names no file and so
            // shows the fallback picture.
            return IconFile{std::u16string(destination), 0};
        case Action::RunMyComputer:
            return ShellIcon(15);
        case Action::RunCalc:
            return IconFile{u"calc.exe", 0};
        case Action::RunMyDocuments:
            return ShellIcon(4);
        case Action::RunNotepad:
            return IconFile{u"Notepad.exe", 0};
        case Action::RunCommandPromt:
            return IconFile{u"cmd.exe", 0};
        case Action::PowerOffComputer:
            return ShellIcon(27);
        case Action::RebootComputer:
            return DrawnPicture::RebootPicture;
        case Action::HibernateComputer:
        case Action::StandByComputer:
            return DrawnPicture::PowerPicture;
        case Action::LogOffComputer:
            return ShellIcon(44);
        case Action::OpenWebsite:
            return ShellIcon(13);
        case Action::OpenCdRom:
        case Action::CloseCdRom:
            return ShellIcon(188);
        case Action::MinimizeMaximazeAllWindows:
            return DrawnPicture::WindowsPicture;
        case Action::ClearTheWindowsClipboard:
            return DrawnPicture::ClipboardPicture;
    }
    return DrawnPicture::RebootPicture;  // not reached: every action has its case
}

void NumberTaskPictures(TaskTable& table) {
    std::int32_t position = 0;
    const int rowCount = table.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        if (table.ResolvedAt(row).action) table.SetImage(row, position++);
    }
}

}  // namespace quorvel
