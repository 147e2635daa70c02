// Reads arbitrary bytes as an actions file, then writes the table and reads it back. The
// reader's texts hold CR and LF only as CR LF and never "|", which are exactly the texts the
// writer keeps intact, so the second reading must give the same table and never fail.

#include <cstdint>
#include <cstdlib>
#include <span>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    TaskTable first;
    try {
        quorvel::DecodeDelimited(first, bytes, u',', u'|');
    } catch (const quorvel::Error&) {
        // A field its cell cannot convert; the rows read so far are still a table.
    }
    const auto written =
        quorvel::EncodeDelimited(first, u',', u'|', quorvel::kUtf16LittleEndianEncoding);
    TaskTable second;
    quorvel::DecodeDelimited(second, written, u',', u'|');
    if (!SameTables(first, second)) std::abort();
    return 0;
}
