#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "tasks/task_table.h"

namespace quorvel {

// The one form WriteDelimited writes: UTF-16 little-endian behind the byte-order mark FF FE.
inline constexpr int kUtf16LittleEndianEncoding = 1;

// The delimited file's bytes for a table: one line per row ending in CR LF, every column in
// index order. A field holding the separator or a quote is enclosed in quotes, its quotes
// doubled; CR is written as lineBreak and LF is left out. Throws std::invalid_argument for an
// encoding other than kUtf16LittleEndianEncoding.
std::vector<std::uint8_t> EncodeDelimited(const TaskTable& table, char16_t separator,
                                          char16_t lineBreak, int encoding);

// What a reading found besides the rows.
struct ReadOutcome {
    // Written back, the table gives the very bytes read: the file is in the writer's own form.
    bool ownForm = false;
    // Something the file holds is not in the table: a last record cut short before its
    // Enabled field, a field beyond the last column that holds text, an Enabled text that is
    // no Boolean, or a byte after the last UTF-16 unit.
    bool lost = false;
};

// Replaces the table's rows with those held in a delimited file's bytes. The bytes are UTF-16
// either way round after its mark, UTF-8 after the UTF-8 mark or when they are valid UTF-8
// without one, else one byte a character. CR LF, a lone CR and a lone LF each end a record;
// lineBreak reads as CR LF. Surplus fields are dropped and missing ones keep the column
// defaults, except that the last record, cut short before its Enabled field with no line end
// after it, is off. A field its cell cannot
// convert stops the reading with that cell's Error: the rows before it, and the fields of its
// row stored so far, stay, and that row is off.
ReadOutcome DecodeDelimited(TaskTable& table, std::span<const std::uint8_t> bytes,
                            char16_t separator, char16_t lineBreak);

// Replaces the file with the table's rows; throws FileError when it cannot be written.
void WriteDelimited(const TaskTable& table, FileSystem& files, const std::u16string& fileName,
                    char16_t separator, char16_t lineBreak, int encoding);

// Clears the table and fills it from the file. Throws FileError when the file cannot be read,
// also part way (the table is then empty), and a conversion Error as DecodeDelimited does.
ReadOutcome ReadDelimited(TaskTable& table, FileSystem& files, const std::u16string& fileName,
                          char16_t separator, char16_t lineBreak);

}  // namespace quorvel
