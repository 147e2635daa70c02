#include "session/task_icons.h"

#include <unordered_map>
#include <vector>

#include "tasks/action_catalogue.h"

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

struct PictureSourceHash {
    std::size_t operator()(const PictureSource& source) const {
        if (const auto* icon = std::get_if<IconFile>(&source)) {
            return std::hash<std::u16string>()(icon->fileName) ^
                   static_cast<std::size_t>(icon->index);
        }
        return std::hash<DrawnPicture>()(std::get<DrawnPicture>(source));
    }
};

void Append(TaskPictures& pictures, const PictureSource& source) {
    if (const auto* icon = std::get_if<IconFile>(&source)) {
        pictures.AddIconImage(icon->fileName, icon->index);
    } else {
        pictures.AddDrawnPicture(std::get<DrawnPicture>(source));
    }
}

}  // namespace

std::optional<PictureSource> PictureSourceFor(std::u16string_view actionName,
                                              std::u16string_view destination) {
    const auto action = FindAction(actionName);
    if (!action) return std::nullopt;
    return PictureOf(*action, destination);
}

void NumberTaskPictures(TaskTable& table) {
    std::int32_t position = 0;
    const int rowCount = table.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        if (FindAction(table.ViewAt(row).actionName)) table.SetImage(row, position++);
    }
}

void RebuildTaskPictures(TaskTable& table, TaskPictures& pictures) {
    // The picture each position shows.
    std::vector<int> pictureAt;
    std::vector<PictureSource> distinct;
    std::unordered_map<PictureSource, int, PictureSourceHash> pictureOf;
    const int rowCount = table.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        const TaskView task = table.ViewAt(row);
        auto source = PictureSourceFor(task.actionName, task.dest);
        if (!source) continue;
        const auto [found, added] =
            pictureOf.try_emplace(*source, static_cast<int>(distinct.size()));
        if (added) distinct.push_back(std::move(*source));
        pictureAt.push_back(found->second);
    }
    pictures.RemoveAll();
    for (const PictureSource& source : distinct) Append(pictures, source);
    pictures.SetPositions(std::move(pictureAt));
    NumberTaskPictures(table);
}

}  // namespace quorvel
