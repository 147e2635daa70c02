// Reads arbitrary bytes as an actions file and checks:
// - the reader, which finds special characters many at a time and keeps fields in place,
//   gives the table that the reading rules give one character at a time, or fails with the
//   same error at the same point, and says the same about what it could not keep;
// - the reader says the file is in the writer's own form exactly when writing the table back
//   gives the very bytes read, and the task file keeps a backup of every other file it loads,
//   so that nothing of a file the table does not hold whole is replaced;
// - the table, written and read back, is the same table, in the writer's own form and
//   without loss. The reader's texts hold CR and LF only as CR LF and never "|", which are
//   exactly the texts the writer keeps intact.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/text.h"
#include "memory_file_system.h"
#include "tasks/actions_file.h"
#include "tasks/task_file.h"

namespace {

using quorvel::TaskTable;

bool SameTables(TaskTable& a, TaskTable& b) {
    if (a.RowCount() != b.RowCount()) return false;
    for (int row = 0; row < a.RowCount(); ++row) {
        for (int column = 0; column < quorvel::kColumnCount; ++column) {
            if (a.TextAt(column, row) != b.TextAt(column, row)) return false;
        }
    }
    return true;
}

// The code point of the UTF-8 sequence at `i`, moving `i` past it; nothing when the bytes there
// are no valid UTF-8.
std::optional<char32_t> Utf8CodePoint(std::span<const std::uint8_t> bytes, std::size_t& i) {
    int length = 0;
    while (length < 8 && (bytes[i] << length & 0x80) != 0) ++length;
    if (length == 0) return bytes[i++];
    if (length == 1 || length > 4 || i + length > bytes.size()) return std::nullopt;
    char32_t codePoint = bytes[i] & (0xFF >> (length + 1));
    for (int k = 1; k < length; ++k) {
        if ((bytes[i + k] & 0xC0) != 0x80) return std::nullopt;
        codePoint = codePoint << 6 | (bytes[i + k] & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kShortest[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint < 0xE000)) {
        return std::nullopt;
    }
    i += length;
    return codePoint;
}

std::optional<std::u16string> Utf8Text(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto codePoint = Utf8CodePoint(bytes, i);
        if (!codePoint) return std::nullopt;
        if (*codePoint < 0x10000) {
            text += static_cast<char16_t>(*codePoint);
        } else {
            text += static_cast<char16_t>(0xD800 + ((*codePoint - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((*codePoint - 0x10000) & 0x3FF));
        }
    }
    return text;
}

struct Characters {
    std::u16string text;
    bool strayByte = false;
};

Characters CharactersOf(std::span<const std::uint8_t> bytes) {
    const bool littleEndian = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (littleEndian || bigEndian) {
        Characters characters{{}, bytes.size() % 2 != 0};
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            characters.text += static_cast<char16_t>(littleEndian ? bytes[i] | bytes[i + 1] << 8
                                                                  : bytes[i] << 8 | bytes[i + 1]);
        }
        return characters;
    }
    const bool utf8Mark =
        bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
    if (auto text = Utf8Text(bytes.subspan(utf8Mark ? 3 : 0))) return {*text};
    return {{bytes.begin(), bytes.end()}};
}

bool IsBooleanWord(const std::u16string& text) {
    const std::u16string lower = quorvel::AsciiLower(text);
    return text.empty() || text == u"1" || text == u"0" || lower == u"true" || lower == u"false";
}

// A field's value in the row's task, converted as the table's column holds it: the row number
// is the position, a picture's number is read from its text (empty: 0), Enabled is "1" or
// "true" in any case.
void SetField(quorvel::Task& task, int column, const std::u16string& field) {
    using quorvel::Task;
    static constexpr std::u16string Task::*kTexts[] = {&Task::actionName, &Task::hotKeyText,
                                                       &Task::dest, &Task::runType};
    if (column >= quorvel::kDescColumn && column <= quorvel::kTypeRunColumn) {
        task.*kTexts[column - quorvel::kDescColumn] = field;
    } else if (column == quorvel::kImageColumn) {
        const auto image =
            field.empty() ? std::optional<std::int32_t>(0) : quorvel::ParseInt32(field);
        if (!image) throw quorvel::Error(quorvel::InvalidIntegerText(field));
        task.image = *image;
    } else if (column == quorvel::kEnabledColumn) {
        task.enabled = field == u"1" || quorvel::AsciiLower(field) == u"true";
    }
}

// The reading rules, one character at a time, a field at a time into the row's task. Gives
// whether anything of the text is not in the table.
bool ReadCharacterByCharacter(TaskTable& table, std::u16string_view text) {
    std::u16string field;
    unsigned quotes = 0;
    bool linePending = true;
    int column = -1;
    bool lost = false;
    quorvel::Task task;
    const auto keepSwitchedOff = [&] {
        task.enabled = false;
        table.SetTask(table.RowCount() - 1, task);
    };
    // Only the last record, cut short before its Enabled field with no line end, is off.
    const auto endLine = [&](bool lineEnded) {
        if (!lineEnded && column < quorvel::kEnabledColumn) {
            lost = true;
            keepSwitchedOff();
        }
        linePending = true;
    };
    const auto endField = [&](bool endsLine) {
        quotes = 0;
        if (linePending) {
            task = {};
            table.AppendTask(task);
            column = -1;
            linePending = false;
        }
        ++column;
        if (column < quorvel::kColumnCount) {
            if (column == quorvel::kEnabledColumn && !IsBooleanWord(field)) lost = true;
            try {
                SetField(task, column, field);
            } catch (const quorvel::Error&) {
                keepSwitchedOff();
                throw;
            }
            table.SetTask(table.RowCount() - 1, task);
        } else if (!field.empty()) {
            lost = true;
        }
        field.clear();
        if (endsLine) endLine(true);
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (ch == u',') {
            if (quotes % 2 == 0) {
                endField(false);
            } else {
                field += ch;
            }
        } else if (ch == u'|') {
            field += u"\r\n";
        } else if (ch == u'"') {
            if (++quotes % 2 == 1 && (!field.empty() || quotes == 3)) field += ch;
        } else if (ch == u'\n' || (ch == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))) {
            endField(true);
        } else if (ch != u'\r') {
            field += ch;
        }
    }
    if (!field.empty()) endField(false);
    if (!linePending) endLine(false);
    return lost;
}

// The error text a reading stops with, if any.
template <typename Read>
std::optional<std::u16string> ErrorOf(Read&& read) {
    try {
        read();
    } catch (const quorvel::Error& error) {
        return error.Message();
    }
    return std::nullopt;
}

// The bytes as the task file in memory, whose views give no more than they are asked for.
struct StoredFile {
    explicit StoredFile(std::span<const std::uint8_t> bytes) {
        files.AddFolder(u"C:\\data");
        files.ReplaceFile(path, bytes);
    }
    quorvel::MemoryFileSystem files;
    const std::u16string path = u"C:\\data\\actions.cfg";
};

// The task file's start-up load of the bytes: whether it kept a copy of them beside the file.
bool LoadKeepsBackup(std::span<const std::uint8_t> bytes) {
    StoredFile stored(bytes);
    TaskTable table;
    ErrorOf([&] { quorvel::TaskFile(stored.files, stored.path).Load(table); });
    const std::u16string backup = stored.path + u".bak";
    const bool kept = stored.files.FileExists(backup);
    if (kept && stored.files.ReadFile(backup) != std::vector(bytes.begin(), bytes.end())) {
        std::abort();
    }
    return kept;
}

// Whether the file read a part at a time gives the table and error that reading it whole gave.
bool ReadsAlikeInParts(std::span<const std::uint8_t> bytes, TaskTable& whole,
                       const std::optional<std::u16string>& wholeError) {
    StoredFile stored(bytes);
    TaskTable table;
    const auto error =
        ErrorOf([&] { quorvel::ReadDelimited(table, stored.files, stored.path, u',', u'|'); });
    return error == wholeError && SameTables(table, whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    TaskTable first;
    quorvel::ReadOutcome outcome;
    const auto error =
        ErrorOf([&] { outcome = quorvel::DecodeDelimited(first, bytes, u',', u'|'); });
    TaskTable expected;
    const Characters characters = CharactersOf(bytes);
    bool expectedLost = characters.strayByte;
    const auto expectedError = ErrorOf([&] {
        expectedLost = ReadCharacterByCharacter(expected, characters.text) || expectedLost;
    });
    if (error != expectedError || !SameTables(first, expected)) std::abort();
    if (!ReadsAlikeInParts(bytes, first, error)) std::abort();

    const auto written =
        quorvel::EncodeDelimited(first, u',', u'|', quorvel::kUtf16LittleEndianEncoding);
    const bool writtenAsRead =
        std::equal(written.begin(), written.end(), bytes.begin(), bytes.end());
    if (!error && (outcome.lost != expectedLost || outcome.ownForm != writtenAsRead)) std::abort();
    if (LoadKeepsBackup(bytes) == (writtenAsRead && !error)) std::abort();

    TaskTable second;
    const quorvel::ReadOutcome again = quorvel::DecodeDelimited(second, written, u',', u'|');
    if (!SameTables(first, second) || !again.ownForm || again.lost) std::abort();
    return 0;
}
