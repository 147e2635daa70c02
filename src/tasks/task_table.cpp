#include "tasks/task_table.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "common/error.h"
#include "common/text.h"
#include "tasks/task_table_load.h"

namespace quorvel {

namespace {

// The text pool is addressed with 32-bit offsets.
constexpr std::size_t kMaxTextUnits = std::numeric_limits<std::uint32_t>::max();
// Unused text is compacted away once it is this large and more than half the pool.
constexpr std::size_t kCompactAtUnits = 1 << 16;

CellKind KindOf(int column) { return TaskColumns()[column].kind; }

// "1", or "true" in any case; the actions file holds it as "True", which a memcmp of a known
// length compares at once.
bool IsTrueText(std::u16string_view text) {
    if (text.size() == 1) return text[0] == u'1';
    return text.size() == 4 && (std::memcmp(text.data(), u"True", 4 * sizeof(char16_t)) == 0 ||
                                EqualsIgnoreAsciiCase(text, u"true"));
}

[[noreturn]] void ThrowInvalidInteger(std::u16string_view text) {
    throw Error(InvalidIntegerText(text));
}

// The value an integer cell takes from a text; small enough to be inlined where a large task
// file reads one per row.
std::int32_t ConvertInteger(std::u16string_view text) {
    if (text.empty()) return 0;
    const auto value = ParseInt32(text);
    if (!value) ThrowInvalidInteger(text);
    return *value;
}

}  // namespace

const std::array<ColumnInfo, kColumnCount>& TaskColumns() {
    static const std::array<ColumnInfo, kColumnCount> columns{{
        {CellKind::RowNumber, u"0"},
        {CellKind::Text, u""},
        {CellKind::Text, u""},
        {CellKind::Text, u""},
        {CellKind::Text, u""},
        {CellKind::Integer, u"0"},
        {CellKind::Boolean, u"True"},
    }};
    return columns;
}

const TaskTable::Row& TaskTable::DefaultRow() {
    static const Row row = [] {
        Row defaults;
        defaults.image = ConvertInteger(TaskColumns()[kImageColumn].defaultText);
        defaults.enabled = IsTrueText(TaskColumns()[kEnabledColumn].defaultText);
        return defaults;
    }();
    return row;
}

TaskView TaskTable::ViewAt(int row) const {
    CheckRow(row);
    const Row& values = rows_[row];
    const auto text = [&](int column) { return Text(values.Text(column)); };
    return {text(kDescColumn),    text(kHotKeyColumn), text(kDestColumn),
            text(kTypeRunColumn), values.image,        values.enabled};
}

Task TaskTable::TaskAt(int row) const {
    const TaskView view = ViewAt(row);
    return {std::u16string(view.actionName),
            std::u16string(view.hotKeyText),
            std::u16string(view.dest),
            std::u16string(view.runType),
            view.image,
            view.enabled};
}

void TaskTable::AppendTask(const Task& task) {
    rows_.push_back(DefaultRow());
    StoreTask(rows_.back(), task);
    Changed();
}

void TaskTable::SetTask(int row, const Task& task) {
    CheckRow(row);
    StoreTask(rows_[row], task);
    Changed();
}

void TaskTable::SetImage(int row, std::int32_t image) {
    CheckRow(row);
    if (rows_[row].image == image) return;
    rows_[row].image = image;
    Changed();
}

void TaskTable::SetEnabled(int row, bool enabled) {
    CheckRow(row);
    rows_[row].enabled = enabled;
    Changed();
}

const ResolvedTask& TaskTable::ResolvedAt(int row) const {
    CheckRow(row);
    return rows_[row].resolved;
}

void TaskTable::SetResolved(int row, const ResolvedTask& resolved) {
    CheckRow(row);
    rows_[row].resolved = resolved;
}

void TaskTable::StoreTask(Row& row, const Task& task) {
    row.resolved = {};
    StoreText(row.Text(kDescColumn), task.actionName);
    StoreText(row.Text(kHotKeyColumn), task.hotKeyText);
    StoreText(row.Text(kDestColumn), task.dest);
    StoreText(row.Text(kTypeRunColumn), task.runType);
    row.image = task.image;
    row.enabled = task.enabled;
}

void TaskTableLoad::Start(TextBuffer pool) {
    if (pool.size() > kMaxTextUnits) throw std::length_error("task texts");
    table_.ClearRows();
    table_.texts_ = std::move(pool);
    table_.unusedTextUnits_ = table_.texts_.size();
}

// No compaction here: the caller holds pieces of the pool that no cell holds yet.
TaskTableLoad::TextPiece TaskTableLoad::Store(std::u16string_view text, TextPiece room) {
    TextBuffer& texts = table_.texts_;
    if (text.size() <= room.length) {
        std::copy(text.begin(), text.end(), texts.begin() + room.offset);
        return {room.offset, static_cast<std::uint32_t>(text.size())};
    }
    if (texts.size() + text.size() > kMaxTextUnits) throw std::length_error("task texts");
    const TextPiece piece{static_cast<std::uint32_t>(texts.size()),
                          static_cast<std::uint32_t>(text.size())};
    table_.AppendToPool(text);
    table_.unusedTextUnits_ += text.size();
    return piece;
}

// A row's values: the text columns, then the picture and Enabled.
static_assert(kDescColumn == 1 && kImageColumn == kTypeRunColumn + 1 &&
              kEnabledColumn == kImageColumn + 1 && kColumnCount == kEnabledColumn + 1);

void TaskTableLoad::AppendRow(std::span<const TextPiece> fields) {
    TaskTable::Row& row = table_.rows_.emplace_back(TaskTable::DefaultRow());
    table_.Changed();
    const auto count = static_cast<int>(std::min<std::size_t>(fields.size(), kColumnCount));
    // The row number is not stored; the texts become the row's as they lie in the pool.
    std::size_t held = 0;
    for (int c = kDescColumn; c < std::min(count, int{kImageColumn}); ++c) {
        row.Text(c) = fields[c];
        held += fields[c].length;
    }
    table_.unusedTextUnits_ -= std::min(table_.unusedTextUnits_, held);
    if (count > kImageColumn) row.image = ConvertInteger(table_.Text(fields[kImageColumn]));
    if (count > kEnabledColumn) row.enabled = IsTrueText(table_.Text(fields[kEnabledColumn]));
}

void TaskTableLoad::Finish() {
    TaskTable& table = table_;
    const std::size_t held = table.texts_.size() - table.unusedTextUnits_;
    if (table.texts_.capacity() > 2 * held + kCompactAtUnits) table.CompactTexts();
    if (table.rows_.capacity() > 2 * table.rows_.size() + 1024) table.rows_.shrink_to_fit();
}

void TaskTable::Reserve(int rows) {
    rows_.reserve(rows_.size() + static_cast<std::size_t>(std::max(rows, 0)));
}

void TaskTable::CheckRow(int row) const {
    if (row < 0 || row >= RowCount()) throw Error(ListIndexErrorText(row));
}

void TaskTable::CheckCell(int column, int row) const {
    if (column < 0 || column >= kColumnCount) throw Error(ListIndexErrorText(column));
    CheckRow(row);
}

void TaskTable::RemoveRow(int row) {
    CheckRow(row);
    ForgetTexts(rows_[row]);
    rows_.erase(rows_.begin() + row);
    Changed();
}

void TaskTable::RelocateRow(int from, int to) {
    if (from == to) return;
    CheckRow(from);
    CheckRow(to);
    const Row moving = rows_[from];
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, moving);
    Changed();
}

void TaskTable::ClearRows() {
    // Their room too: the rows of a large file are not kept for the whole run.
    rows_ = {};
    texts_ = {};
    unusedTextUnits_ = 0;
    Changed();
}

std::u16string TaskTable::TextAt(int column, int row) const {
    const Row& values = RowAt(column, row);
    switch (KindOf(column)) {
        case CellKind::RowNumber:
            return ToText(row + 1);
        case CellKind::Text:
            return std::u16string(StoredTextAt(column, row));
        case CellKind::Integer:
            return ToText(values.image);
        case CellKind::Boolean:
            return values.enabled ? u"True" : u"False";
    }
    return {};
}

std::u16string_view TaskTable::StoredTextAt(int column, int row) const {
    return Text(RowAt(column, row).Text(column));
}

const TaskTable::Row& TaskTable::RowAt(int column, int row) const {
    CheckCell(column, row);
    return rows_[row];
}

void TaskTable::StoreText(TextPiece& piece, std::u16string_view text) {
    unusedTextUnits_ += piece.length;
    piece.length = 0;
    if (texts_.size() + text.size() > kMaxTextUnits) {
        CompactTexts();
        if (texts_.size() + text.size() > kMaxTextUnits) throw std::length_error("task texts");
    }
    piece.offset = static_cast<std::uint32_t>(texts_.size());
    piece.length = static_cast<std::uint32_t>(text.size());
    AppendToPool(text);
    if (unusedTextUnits_ > kCompactAtUnits && unusedTextUnits_ > texts_.size() / 2) {
        CompactTexts();
    }
}

void TaskTable::ForgetTexts(const Row& row) {
    for (const TextPiece& piece : row.texts) unusedTextUnits_ += piece.length;
}

void TaskTable::AppendToPool(std::u16string_view text) {
    texts_.insert(texts_.end(), text.begin(), text.end());
}

void TaskTable::CompactTexts() {
    TextBuffer compact;
    compact.reserve(texts_.size() - unusedTextUnits_);
    for (Row& row : rows_) {
        for (TextPiece& piece : row.texts) {
            if (piece.length == 0) continue;
            const auto offset = static_cast<std::uint32_t>(compact.size());
            const std::u16string_view text = Text(piece);
            compact.insert(compact.end(), text.begin(), text.end());
            piece.offset = offset;
        }
    }
    texts_.swap(compact);
    unusedTextUnits_ = 0;
}

}  // namespace quorvel
