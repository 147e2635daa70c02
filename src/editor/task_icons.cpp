#include "editor/task_icons.h"

#include <array>
#include <vector>

namespace quorvel {

namespace {

struct ActionPicture {
    std::u16string_view actionName;
    std::optional<IconFile> icon;  // of this file; the row's destination when neither is set
    std::optional<StoredPicture> stored;
};

IconFile ShellIcon(int index) { return {u"SHELL32.dll", index}; }

const std::array<ActionPicture, 17>& ActionPictures() {
    static const std::array<ActionPicture, 17> table{{
        {u"Run selected program...", {}, {}},
        {u"Close selected program...", {}, {}},
        {u"Run My Computer", ShellIcon(15), {}},
        {u"Run Calc", IconFile{u"calc.exe", 0}, {}},
        {u"Run My Documents", ShellIcon(4), {}},
        {u"Run Notepad", IconFile{u"Notepad.exe", 0}, {}},
        {u"Run Command Promt", IconFile{u"cmd.exe", 0}, {}},
        {u"Power off computer", ShellIcon(27), {}},
        {u"Reboot computer", {}, StoredPicture::Image2},
        {u"Hibernate computer", {}, StoredPicture::Image3},
        {u"Stand by computer", {}, StoredPicture::Image3},
        {u"Log off computer", ShellIcon(44), {}},
        {u"Open Website...", ShellIcon(13), {}},
        {u"Open CD-Rom", ShellIcon(188), {}},
        {u"Close CD-Rom", ShellIcon(188), {}},
        {u"Minimize/Maximaze all windows", {}, StoredPicture::Image4},
        {u"Clear the Windows clipboard", {}, StoredPicture::Image5},
    }};
    return table;
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
    for (const auto& entry : ActionPictures()) {
        if (entry.actionName != actionName) continue;
        if (entry.stored) return *entry.stored;
        if (entry.icon) return *entry.icon;
        // The whole destination, parameters included: such a text names no file and so
        // shows the fallback picture.
        return IconFile{std::u16string(destination), 0};
    }
    return std::nullopt;
}

void BitBtn5Click(TaskTable& table, TaskPictures& pictures) {
    // The row of each picture, in list order, with its source.
    std::vector<std::pair<int, PictureSource>> pictureRows;
    const int rowCount = table.RowCount();
    for (int row = 0; row < rowCount; ++row) {
        auto source = PictureSourceFor(table.CellAt(u"Desc", row).AsString(),
                                       table.CellAt(u"Dest", row).AsString());
        if (source) pictureRows.emplace_back(row, std::move(*source));
    }
    pictures.RemoveAll();
    pictures.Reserve(static_cast<int>(pictureRows.size()));
    for (const auto& [row, source] : pictureRows) Append(pictures, source);

    table.BeginBatch();
    for (std::size_t position = 0; position < pictureRows.size(); ++position) {
        table.CellAt(u"Image", pictureRows[position].first)
            .SetAsInteger(static_cast<std::int32_t>(position));
    }
    table.EndBatch();
}

}  // namespace quorvel
