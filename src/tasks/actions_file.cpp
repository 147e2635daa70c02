#include "tasks/actions_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace quorvel {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kLineFeed = u'\n';
constexpr std::size_t kMaxReservedRows = 1 << 20;

// Quotes doubled, CR written as the line-break character, LF left out.
void AppendEscapedText(std::u16string& out, std::u16string_view text, char16_t lineBreak) {
    const bool plain = std::none_of(text.begin(), text.end(), [](char16_t ch) {
        return ch == kQuote || ch == kCarriageReturn || ch == kLineFeed;
    });
    if (plain) {
        out.append(text);
        return;
    }
    for (const char16_t ch : text) {
        if (ch == kQuote) {
            out += u"\"\"";
        } else if (ch == kCarriageReturn) {
            out += lineBreak;
        } else if (ch != kLineFeed) {
            out += ch;
        }
    }
}

void AppendEscapedField(std::u16string& out, std::u16string_view text, char16_t separator,
                        char16_t lineBreak) {
    const bool enclose = text.find(separator) != std::u16string_view::npos ||
                         text.find(kQuote) != std::u16string_view::npos;
    if (enclose) out += kQuote;
    AppendEscapedText(out, text, lineBreak);
    if (enclose) out += kQuote;
}

std::u16string EncodeUnits(const TaskTable& table, char16_t separator, char16_t lineBreak) {
    std::u16string units;
    for (int row = 0; row < table.RowCount(); ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            if (column > 0) units += separator;
            if (TaskColumns()[column].kind == CellKind::Text) {
                AppendEscapedField(units, table.StoredTextAt(column, row), separator, lineBreak);
            } else {
                AppendEscapedField(units, table.TextAt(column, row), separator, lineBreak);
            }
        }
        units += u"\r\n";
    }
    return units;
}

// What a character does to the reader, in the order the reader tests for it: a character
// that is both separator and quote, say, acts as the separator.
enum class Role : std::uint8_t { Plain, Separator, LineBreak, Quote, CarriageReturn, LineFeed };

// Splits characters into fields and lines and stores each field in its cell. The quote
// counter undoes the writer's escaping: an enclosing pair of quotes is dropped, a doubled
// quote gives one, and separators between an odd and an even quote belong to the text.
class DelimitedReader {
  public:
    DelimitedReader(TaskTable& table, char16_t separator, char16_t lineBreak)
        : table_(table), separator_(separator), lineBreak_(lineBreak) {
        // Later assignments win, so the roles go in from the last test to the first.
        SetNarrowRole(kLineFeed, Role::LineFeed);
        SetNarrowRole(kCarriageReturn, Role::CarriageReturn);
        SetNarrowRole(kQuote, Role::Quote);
        SetNarrowRole(lineBreak, Role::LineBreak);
        SetNarrowRole(separator, Role::Separator);
    }

    // Takes the next characters of the file; a field may go on in the next call.
    void Read(std::u16string_view units) {
        std::size_t i = 0;
        while (i < units.size()) {
            const std::size_t runStart = i;
            i = FindSpecial(units, i);
            const std::u16string_view run = units.substr(runStart, i - runStart);
            if (i == units.size()) {
                field_.append(run);
                return;
            }
            const Role role = RoleOf(units[i++]);
            // Most fields are one run of plain characters: store them without a copy.
            if (field_.empty() && EndsField(role)) {
                StoreField(run, role == Role::LineFeed);
            } else {
                field_.append(run);
                Take(role);
            }
        }
    }

    // A last line without CR LF still counts; an empty field at the very end does not.
    void Finish() {
        if (!field_.empty()) EndField(false);
        if (lineOpen_) EndLine();
    }

  private:
    void SetNarrowRole(char16_t ch, Role role) {
        if (ch < narrowRoles_.size()) narrowRoles_[ch] = role;
    }

    Role RoleOf(char16_t ch) const {
        if (ch < narrowRoles_.size()) return narrowRoles_[ch];
        if (ch == separator_) return Role::Separator;
        return ch == lineBreak_ ? Role::LineBreak : Role::Plain;
    }

    // The position of the first character at or after `from` that is not plain text, or the
    // end. Eight characters are compared at a time: most of a file is plain text.
    std::size_t FindSpecial(std::u16string_view units, std::size_t from) const {
        std::size_t i = from;
        if constexpr (std::endian::native == std::endian::little) {
            for (; i + kLanes <= units.size(); i += kLanes) {
                Lanes block;
                std::memcpy(&block, units.data() + i, sizeof block);
                const auto hits = (block == separators_) | (block == lineBreaks_) |
                                  (block == Splat(kQuote)) | (block == Splat(kCarriageReturn)) |
                                  (block == Splat(kLineFeed));
                std::uint64_t halves[2];
                static_assert(sizeof halves == sizeof hits);
                std::memcpy(halves, &hits, sizeof halves);
                if (halves[0] != 0) return i + std::countr_zero(halves[0]) / 16;
                if (halves[1] != 0) return i + kLanes / 2 + std::countr_zero(halves[1]) / 16;
            }
        }
        while (i < units.size() && RoleOf(units[i]) == Role::Plain) ++i;
        return i;
    }

    bool EndsField(Role role) const {
        return (role == Role::Separator && quotes_ % 2 == 0) || role == Role::LineFeed;
    }

    void Take(Role role) {
        switch (role) {
            case Role::Separator:
                if (quotes_ % 2 == 0) {
                    EndField(false);
                } else {
                    field_ += separator_;
                }
                break;
            case Role::LineBreak:
                field_ += u"\r\n";
                break;
            case Role::Quote:
                ++quotes_;
                if (quotes_ % 2 == 1 && (!field_.empty() || quotes_ == 3)) field_ += kQuote;
                break;
            case Role::LineFeed:
                EndField(true);
                break;
            case Role::CarriageReturn:  // dropped: line ends are read from the LF
            case Role::Plain:
                break;
        }
    }

    void EndField(bool endsLine) {
        StoreField(field_, endsLine);
        field_.clear();
    }

    // Fields beyond the last column are dropped; the line becomes a row when it ends.
    void StoreField(std::u16string_view text, bool endsLine) {
        quotes_ = 0;
        if (fieldCount_ < kColumnCount) {
            line_.append(text);
            fieldEnds_[fieldCount_++] = line_.size();
        }
        lineOpen_ = true;
        if (endsLine) EndLine();
    }

    void EndLine() {
        const std::u16string_view line(line_);
        for (std::size_t f = 0, start = 0; f < fieldCount_; start = fieldEnds_[f++]) {
            fields_[f] = line.substr(start, fieldEnds_[f] - start);
        }
        table_.AppendRow(std::span(fields_.data(), fieldCount_));
        line_.clear();
        fieldCount_ = 0;
        lineOpen_ = false;
    }

    // Eight characters side by side, for comparing them at once.
    using Lanes = std::uint16_t __attribute__((vector_size(16)));
    static constexpr std::size_t kLanes = sizeof(Lanes) / sizeof(char16_t);
    static Lanes Splat(char16_t ch) { return Lanes{} + static_cast<std::uint16_t>(ch); }

    TaskTable& table_;
    const char16_t separator_;
    const char16_t lineBreak_;
    const Lanes separators_ = Splat(separator_);
    const Lanes lineBreaks_ = Splat(lineBreak_);
    std::array<Role, 256> narrowRoles_{};
    std::u16string field_;  // the field being read, when it is more than one run
    unsigned quotes_ = 0;
    std::u16string line_;  // the stored fields of the line being read, one after the other
    std::array<std::size_t, kColumnCount> fieldEnds_{};
    std::array<std::u16string_view, kColumnCount> fields_;  // the line's fields, when it ends
    std::size_t fieldCount_ = 0;
    bool lineOpen_ = false;
};

// The three ways a file's bytes are taken as characters; each fills `out` with one
// character per unit of `bytes`.
void DecodeLittleEndian(std::span<const std::uint8_t> bytes, char16_t* out) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, bytes.data(), bytes.size());
    } else {
        for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
            out[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        }
    }
}

void DecodeBigEndian(std::span<const std::uint8_t> bytes, char16_t* out) {
    for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
        out[i] = static_cast<char16_t>(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    }
}

void DecodeSingleBytes(std::span<const std::uint8_t> bytes, char16_t* out) {
    std::copy(bytes.begin(), bytes.end(), out);
}

using Decoder = void (*)(std::span<const std::uint8_t>, char16_t*);

// Decodes a small piece at a time, so that the characters stay in the cache while the reader
// goes over them; a trailing part of a unit is ignored.
void ReadDecoded(TaskTable& table, std::span<const std::uint8_t> bytes, std::size_t unitSize,
                 Decoder decode, char16_t separator, char16_t lineBreak) {
    constexpr std::size_t kChunkUnits = 4096;
    const std::size_t units = bytes.size() / unitSize;
    // Most of a file is text that ends up in cells; a row takes a few dozen characters.
    table.Reserve(static_cast<int>(std::min(units / 32, kMaxReservedRows)), units);
    DelimitedReader reader(table, separator, lineBreak);
    std::array<char16_t, kChunkUnits> chunk;
    for (std::size_t first = 0; first < units; first += kChunkUnits) {
        const std::size_t count = std::min(kChunkUnits, units - first);
        decode(bytes.subspan(first * unitSize, count * unitSize), chunk.data());
        reader.Read(std::u16string_view(chunk.data(), count));
    }
    reader.Finish();
}

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
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(bytes.data() + 2, units.data(), 2 * units.size());
    } else {
        for (std::size_t i = 0; i < units.size(); ++i) {
            bytes[2 + 2 * i] = static_cast<std::uint8_t>(units[i] & 0xFF);
            bytes[3 + 2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
        }
    }
    return bytes;
}

void DecodeDelimited(TaskTable& table, std::span<const std::uint8_t> bytes, char16_t separator,
                     char16_t lineBreak) {
    if (StartsWith(bytes, 0xFF, 0xFE)) {
        ReadDecoded(table, bytes.subspan(2), 2, DecodeLittleEndian, separator, lineBreak);
    } else if (StartsWith(bytes, 0xFE, 0xFF)) {
        ReadDecoded(table, bytes.subspan(2), 2, DecodeBigEndian, separator, lineBreak);
    } else {
        ReadDecoded(table, bytes, 1, DecodeSingleBytes, separator, lineBreak);
    }
}

void WriteDelimited(const TaskTable& table, FileSystem& files, const std::u16string& fileName,
                    char16_t separator, char16_t lineBreak, int encoding) {
    files.ReplaceFile(fileName, EncodeDelimited(table, separator, lineBreak, encoding));
}

void ReadDelimited(TaskTable& table, FileSystem& files, const std::u16string& fileName,
                   char16_t separator, char16_t lineBreak) {
    // One repaint for the whole load, however it ends, instead of one per row.
    const TableBatch batch(table);
    table.ClearRows();
    DecodeDelimited(table, files.ReadFile(fileName), separator, lineBreak);
}

}  // namespace quorvel
