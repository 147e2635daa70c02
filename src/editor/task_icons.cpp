#include "editor/task_icons.h"

#include <vector>

#include "actions/action_catalogue.h"

namespace quorvel {

namespace {

IconFile ShellIcon(int index) { return {u"SHELL32.dll", index}; }

// The picture of each action; the programs' rows show their destination's icon.
PictureSource PictureOf(Action action, std::u16string_view destination) {
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
            return StoredPicture::Image2;
        case Action::HibernateComputer:
        case Action::StandByComputer:
            return StoredPicture::Image3;
        case Action::LogOffComputer:
            return ShellIcon(44);
        case Action::OpenWebsite:
            return ShellIcon(13);
        case Action::OpenCdRom:
        case Action::CloseCdRom:
            return ShellIcon(188);
        case Action::MinimizeMaximazeAllWindows:
            return StoredPicture::Image4;
        case Action::ClearTheWindowsClipboard:
            return StoredPicture::Image5;
    }
    return StoredPicture::Image2;  // not reached: every action has its case
}

void Append(TaskPictures& pictures, const PictureSource& source) {
    if (const auto* icon = std::get_if<IconFile>(&source)) {
        pictures.AddIconImage(icon->fileName, icon->index);
    } else {
        pictures.AddStoredPicture(std::get<StoredPicture>(source));
    }
}

}  // namespace

std::optional<PictureSource> PictureSourceFor(std::u16string_view actionName,
                                              std::u16string_view destination) {
    const auto action = FindAction(actionName);
    if (!action) return std::nullopt;
    return PictureOf(*action, destination);
}

void BitBtn5Click(TaskTable& table, TaskPictures& pictures) {
    // The row of each picture, in list order, with its source.
    std::vector<std::pair<int, PictureSource>> pictureRows;
    const int rowCount = table.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        const TaskView task = table.ViewAt(row);
        auto source = PictureSourceFor(task.desc, task.dest);
        if (source) pictureRows.emplace_back(row, std::move(*source));
    }
    pictures.RemoveAll();
    pictures.Reserve(static_cast<int>(pictureRows.size()));
    for (const auto& [row, source] : pictureRows) Append(pictures, source);

    const TableBatch batch(table);
    for (std::size_t position = 0; position < pictureRows.size(); ++position) {
        table.SetImage(pictureRows[position].first, static_cast<std::int32_t>(position));
    }
}

}  // namespace quorvel
