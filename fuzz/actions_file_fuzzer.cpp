// Reads arbitrary bytes as an actions file and checks two things:
// - the reader, which finds special characters many at a time and keeps fields in place,
//   gives the table that the reading rules give one character at a time, or fails with the
//   same error at the same point;
// - the table, written and read back, is the same table and never fails. The reader's texts
//   hold CR and LF only as CR LF and never "|", which are exactly the texts the writer keeps
//   intact.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

#include "common/error.h"
#include "tasks/actions_file.h"

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

std::u16string Characters(std::span<const std::uint8_t> bytes) {
    std::u16string text;
    const bool littleEndian = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (!littleEndian && !bigEndian) return {bytes.begin(), bytes.end()};
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(littleEndian ? bytes[i] | bytes[i + 1] << 8
                                                   : bytes[i] << 8 | bytes[i + 1]);
    }
    return text;
}

// The reading rules, one character at a time, through the table's cells.
void ReadCharacterByCharacter(TaskTable& table, std::u16string_view text) {
    std::u16string field;
    unsigned quotes = 0;
    bool linePending = true;
    int row = -1;
    int column = -1;
    const auto endField = [&](bool endsLine) {
        quotes = 0;
        if (linePending) {
            table.AppendTask({});
            ++row;
            column = -1;
            linePending = false;
        }
        if (++column < quorvel::kColumnCount) table.CellAt(column, row).SetAsString(field);
        field.clear();
        linePending = endsLine;
    };
    for (const char16_t ch : text) {
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
        } else if (ch == u'\n') {
            endField(true);
        } else if (ch != u'\r') {
            field += ch;
        }
    }
    if (!field.empty()) endField(false);
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    TaskTable first;
    const auto error = ErrorOf([&] { quorvel::DecodeDelimited(first, bytes, u',', u'|'); });
    TaskTable expected;
    const auto expectedError =
        ErrorOf([&] { ReadCharacterByCharacter(expected, Characters(bytes)); });
    if (error != expectedError || !SameTables(first, expected)) std::abort();

    const auto written =
        quorvel::EncodeDelimited(first, u',', u'|', quorvel::kUtf16LittleEndianEncoding);
    TaskTable second;
    quorvel::DecodeDelimited(second, written, u',', u'|');
    if (!SameTables(first, second)) std::abort();
    return 0;
}
