#include "tasks/actions_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace quorvel {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kLineFeed = u'\n';

void AppendEscapedField(std::u16string& out, std::u16string_view text, char16_t separator,
                        char16_t lineBreak) {
    const bool enclose = text.find(separator) != std::u16string_view::npos ||
                         text.find(kQuote) != std::u16string_view::npos;
    if (enclose) out += kQuote;
    for (const char16_t ch : text) {
        if (ch == kQuote) {
            out += u"\"\"";
        } else if (ch == kCarriageReturn) {
            out += lineBreak;
        } else if (ch != kLineFeed) {
            out += ch;
        }
    }
    if (enclose) out += kQuote;
}

std::u16string EncodeUnits(const TaskTable& table, char16_t separator, char16_t lineBreak) {
    std::u16string units;
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            if (column > 0) units += separator;
            AppendEscapedField(units, table.TextAt(column, row), separator, lineBreak);
        }
        units += u"\r\n";
    }
    return units;
}

// The three ways a file's bytes are taken as characters. Each gives the unit count and can
// append a run of units to a text, so that runs of plain characters are copied in one go.
class LittleEndianUnits {
  public:
    explicit LittleEndianUnits(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size() / 2; }
    char16_t operator[](std::size_t i) const {
        return static_cast<char16_t>(bytes_[2 * i] | bytes_[2 * i + 1] << 8);
    }
    void AppendRun(std::u16string& out, std::size_t from, std::size_t to) const {
        if constexpr (std::endian::native == std::endian::little) {
            const std::size_t old = out.size();
            out.resize(old + (to - from));
            std::memcpy(out.data() + old, bytes_.data() + 2 * from, 2 * (to - from));
        } else {
            for (std::size_t i = from; i < to; ++i) out += (*this)[i];
        }
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

class BigEndianUnits {
  public:
    explicit BigEndianUnits(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size() / 2; }
    char16_t operator[](std::size_t i) const {
        return static_cast<char16_t>(bytes_[2 * i] << 8 | bytes_[2 * i + 1]);
    }
    void AppendRun(std::u16string& out, std::size_t from, std::size_t to) const {
        for (std::size_t i = from; i < to; ++i) out += (*this)[i];
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

class SingleByteUnits {
  public:
    explicit SingleByteUnits(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size(); }
    char16_t operator[](std::size_t i) const { return bytes_[i]; }
    void AppendRun(std::u16string& out, std::size_t from, std::size_t to) const {
        out.append(bytes_.begin() + static_cast<std::ptrdiff_t>(from),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(to));
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

// Splits characters into fields and lines and stores each field in its cell. The quote
// counter undoes the writer's escaping: an enclosing pair of quotes is dropped, a doubled
// quote gives one, and separators between an odd and an even quote belong to the text.
class DelimitedReader {
  public:
    DelimitedReader(TaskTable& table, char16_t separator, char16_t lineBreak)
        : table_(table), separator_(separator), lineBreak_(lineBreak) {}

    template <typename Units>
    void Read(const Units& units) {
        const std::size_t count = units.size();
        std::size_t i = 0;
        while (i < count) {
            const std::size_t runStart = i;
            while (i < count && !IsSpecial(units[i])) ++i;
            units.AppendRun(field_, runStart, i);
            if (i < count) TakeSpecial(units[i++]);
        }
        // A last line without CR LF still counts; an empty field at the very end does not.
        if (!field_.empty()) EndField(false);
    }

  private:
    bool IsSpecial(char16_t ch) const {
        return ch == separator_ || ch == lineBreak_ || ch == kQuote || ch == kCarriageReturn ||
               ch == kLineFeed;
    }

    // The tests run in this order, so a separator that is also a quote acts as a separator.
    void TakeSpecial(char16_t ch) {
        if (ch == separator_) {
            if (quotes_ % 2 == 0) {
                EndField(false);
            } else {
                field_ += ch;
            }
        } else if (ch == lineBreak_) {
            field_ += u"\r\n";
        } else if (ch == kQuote) {
            ++quotes_;
            if (quotes_ % 2 == 1 && (!field_.empty() || quotes_ == 3)) field_ += kQuote;
        } else if (ch == kLineFeed) {
            EndField(true);
        }
        // A CR on its own is dropped: line ends are read from the LF.
    }

    void EndField(bool endsLine) {
        quotes_ = 0;
        if (newLinePending_) {
            table_.AppendRows(1);
            row_ = table_.RowCount() - 1;
            column_ = -1;
            newLinePending_ = false;
        }
        column_ = std::min(column_ + 1, static_cast<int>(kColumnCount));
        if (column_ < kColumnCount) table_.CellAt(column_, row_).SetAsString(field_);
        field_.clear();
        newLinePending_ = endsLine;
    }

    TaskTable& table_;
    const char16_t separator_;
    const char16_t lineBreak_;
    std::u16string field_;
    unsigned quotes_ = 0;
    bool newLinePending_ = true;
    int row_ = -1;
    int column_ = -1;
};

bool StartsWith(std::span<const std::uint8_t> bytes, std::uint8_t first, std::uint8_t second) {
    return bytes.size() >= 2 && bytes[0] == first && bytes[1] == second;
}

}  // namespace

std::vector<std::uint8_t> EncodeDelimited(const TaskTable& table, char16_t separator,
                                          char16_t lineBreak, int encoding) {
    if (encoding != kUtf16LittleEndianEncoding) {
        throw std::invalid_argument("the actions file is written as UTF-16 little-endian only");
    }
    const std::u16string units = EncodeUnits(table, separator, lineBreak);
    std::vector<std::uint8_t> bytes(2 + 2 * units.size());
    bytes[0] = 0xFF;
    bytes[1] = 0xFE;
    for (std::size_t i = 0; i < units.size(); ++i) {
        bytes[2 + 2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
        bytes[3 + 2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
    }
    return bytes;
}

void DecodeDelimited(TaskTable& table, std::span<const std::uint8_t> bytes, char16_t separator,
                     char16_t lineBreak) {
    DelimitedReader reader(table, separator, lineBreak);
    if (StartsWith(bytes, 0xFF, 0xFE)) {
        reader.Read(LittleEndianUnits(bytes.subspan(2)));
    } else if (StartsWith(bytes, 0xFE, 0xFF)) {
        reader.Read(BigEndianUnits(bytes.subspan(2)));
    } else {
        reader.Read(SingleByteUnits(bytes));
    }
}

void WriteDelimited(const TaskTable& table, FileSystem& files, const std::u16string& fileName,
                    char16_t separator, char16_t lineBreak, int encoding) {
    files.ReplaceFile(fileName, EncodeDelimited(table, separator, lineBreak, encoding));
}

void ReadDelimited(TaskTable& table, FileSystem& files, const std::u16string& fileName,
                   char16_t separator, char16_t lineBreak) {
    // One repaint for the whole load, however it ends, instead of one per cell.
    table.BeginBatch();
    try {
        table.ClearRows();
        DecodeDelimited(table, files.ReadFile(fileName), separator, lineBreak);
    } catch (...) {
        table.EndBatch();
        throw;
    }
    table.EndBatch();
}

}  // namespace quorvel
