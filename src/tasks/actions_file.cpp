#include "tasks/actions_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Where the special characters are among up to 64, one bit each (bit i: the i-th).
struct Marks {
    std::uint64_t separators = 0;
    std::uint64_t lineFeeds = 0;
    std::uint64_t carriageReturns = 0;
    std::uint64_t escapes = 0;  // line-break characters and quotes

    std::uint64_t All() const { return separators | lineFeeds | carriageReturns | escapes; }
};

class Roles {
  public:
    Roles(char16_t separator, char16_t lineBreak) : separator_(separator), lineBreak_(lineBreak) {
        // Later assignments win, so the roles go in from the last test to the first.
        SetNarrow(kLineFeed, Role::LineFeed);
        SetNarrow(kCarriageReturn, Role::CarriageReturn);
        SetNarrow(kQuote, Role::Quote);
        SetNarrow(lineBreak, Role::LineBreak);
        SetNarrow(separator, Role::Separator);
    }

    Role Of(char16_t ch) const {
        if (ch < narrow_.size()) return narrow_[ch];
        if (ch == separator_) return Role::Separator;
        return ch == lineBreak_ ? Role::LineBreak : Role::Plain;
    }

    // The special characters among the first 64 of the text.
    Marks MarksOf(std::u16string_view text) const {
#if defined(__SSE2__)
        if (text.size() >= 64 && byteSized_) return WideMarks(text.data());
#endif
        Marks marks;
        const std::size_t count = std::min<std::size_t>(text.size(), 64);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t bit = std::uint64_t{1} << i;
            switch (Of(text[i])) {
                case Role::Separator:
                    marks.separators |= bit;
                    break;
                case Role::LineFeed:
                    marks.lineFeeds |= bit;
                    break;
                case Role::CarriageReturn:
                    marks.carriageReturns |= bit;
                    break;
                case Role::LineBreak:
                case Role::Quote:
                    marks.escapes |= bit;
                    break;
                case Role::Plain:
                    break;
            }
        }
        return marks;
    }

  private:
    void SetNarrow(char16_t ch, Role role) {
        if (ch < narrow_.size()) narrow_[ch] = role;
    }

    const char16_t separator_;
    const char16_t lineBreak_;
    std::array<Role, 256> narrow_{};

#if defined(__SSE2__)
    // Characters narrowed to bytes keep their code up to 254 and become 0 or 255 beyond it,
    // so special characters that are distinct codes from 1 to 254 are found among bytes.
    bool ByteSized() const {
        const auto fits = [&](char16_t ch) {
            return ch >= 1 && ch <= 254 && ch != kQuote && ch != kCarriageReturn && ch != kLineFeed;
        };
        return fits(separator_) && fits(lineBreak_) && separator_ != lineBreak_;
    }

    // Sixteen characters at a time, compared with each special one at once.
    Marks WideMarks(const char16_t* text) const {
        Marks marks;
        for (int part = 0; part < 4; ++part) {
            const auto* units = reinterpret_cast<const __m128i*>(text + 16 * part);
            const __m128i bytes =
                _mm_packus_epi16(_mm_loadu_si128(units), _mm_loadu_si128(units + 1));
            const auto bitsOf = [&](__m128i hits) {
                return std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(hits))}
                       << (16 * part);
            };
            marks.separators |= bitsOf(_mm_cmpeq_epi8(bytes, separators_));
            marks.lineFeeds |= bitsOf(_mm_cmpeq_epi8(bytes, lineFeeds_));
            marks.carriageReturns |= bitsOf(_mm_cmpeq_epi8(bytes, carriageReturns_));
            marks.escapes |= bitsOf(
                _mm_or_si128(_mm_cmpeq_epi8(bytes, lineBreaks_), _mm_cmpeq_epi8(bytes, quotes_)));
        }
        return marks;
    }

    static __m128i Splat(char16_t ch) { return _mm_set1_epi8(static_cast<char>(ch)); }

    const __m128i separators_ = Splat(separator_);
    const __m128i lineBreaks_ = Splat(lineBreak_);
    const __m128i quotes_ = Splat(kQuote);
    const __m128i carriageReturns_ = Splat(kCarriageReturn);
    const __m128i lineFeeds_ = Splat(kLineFeed);
    const bool byteSized_ = ByteSized();
#endif
};

// Splits the table's text pool into fields and lines and gives each line to the table as a
// row. A field that reads as it stands, which is most of them, becomes its cell's text where
// it lies. One with quotes, line-break characters or a stray CR is rewritten as it is read,
// a run of plain characters at a time, and put back over its place in the pool.
// The quote counter undoes the writer's escaping: an enclosing pair of quotes is dropped, a
// doubled quote gives one, and separators between an odd and an even quote belong to the text.
class DelimitedReader {
  public:
    DelimitedReader(TaskTable& table, char16_t separator, char16_t lineBreak, std::size_t first)
        : table_(table),
          roles_(separator, lineBreak),
          end_(table.TextPool().size()),
          fieldStart_(first) {}

    // Reads the pool from `first` to the end it had at the start. A last line without CR LF
    // still counts; an empty field at the very end does not.
    void Read() {
        for (std::size_t block = fieldStart_; block < end_; block += 64) {
            TakeBlock(block, roles_.MarksOf(Text().substr(block, end_ - block)));
        }
        if (fieldStart_ < end_) {
            const TaskTable::TextPiece last = Field(end_);
            if (last.length > 0) StoreField(last);
        }
        if (lineOpen_) EndLine();
    }

  private:
    // Rewriting a field may add to the pool, which may move it.
    std::u16string_view Text() const { return table_.TextPool(); }

    // The special characters among the 64 from `block` on. Most only end fields and lines;
    // those are taken in a loop of their own, up to the next one that asks for rewriting.
    void TakeBlock(std::size_t block, const Marks& marks) {
        // A CR right before an LF just ends the line's last field early.
        const std::uint64_t strayReturns = marks.carriageReturns & ~(marks.lineFeeds >> 1);
        const std::uint64_t rewrites = marks.escapes | strayReturns;
        const std::uint64_t ends = marks.separators | marks.lineFeeds;
        std::uint64_t left = marks.All();
        while (left != 0) {
            if (!rewriting_) {
                const std::uint64_t next = rewrites & left;
                const std::uint64_t before = next == 0 ? ~std::uint64_t{0} : (next & -next) - 1;
                TakeFieldEnds(block, ends & left & before, marks.lineFeeds);
                left &= ~before;
                if (left == 0) break;
            }
            Take(block + std::countr_zero(left));
            left &= left - 1;
        }
    }

    void TakeFieldEnds(std::size_t block, std::uint64_t ends, std::uint64_t lineFeeds) {
        for (; ends != 0; ends &= ends - 1) {
            const int bit = std::countr_zero(ends);
            const std::size_t at = block + bit;
            const bool endsLine = (lineFeeds >> bit & 1) != 0;
            const std::size_t end = endsLine ? LineEnd(at) : at;
            if (fieldCount_ < kColumnCount) {
                fields_[fieldCount_++] = {static_cast<std::uint32_t>(fieldStart_),
                                          static_cast<std::uint32_t>(end - fieldStart_)};
            }
            fieldStart_ = at + 1;
            lineOpen_ = true;
            if (endsLine) EndLine();
        }
    }

    // The special character at `at`.
    void Take(std::size_t at) {
        switch (roles_.Of(Text()[at])) {
            case Role::Separator:
                // Between quotes it is text like any other.
                if (quotes_ % 2 == 0) EndField(at, at);
                break;
            case Role::LineBreak:
                Rewrite(at) += u"\r\n";
                break;
            case Role::Quote:
                ++quotes_;
                if (std::u16string& text = Rewrite(at);
                    quotes_ % 2 == 1 && (!text.empty() || quotes_ == 3)) {
                    text += kQuote;
                }
                break;
            case Role::CarriageReturn:
                // Dropped. Before the LF that ends a line the field just ends there.
                if (at + 1 == end_ || Text()[at + 1] != kLineFeed) Rewrite(at);
                break;
            case Role::LineFeed:
                EndField(LineEnd(at), at);
                EndLine();
                break;
            case Role::Plain:
                break;
        }
    }

    // The field's text so far, up to the special character at `at`, which takes the place
    // of a plain run's next character.
    std::u16string& Rewrite(std::size_t at) {
        if (!rewriting_) {
            rewriting_ = true;
            rewritten_.clear();
            runStart_ = fieldStart_;
        }
        rewritten_.append(Text().substr(runStart_, at - runStart_));
        runStart_ = at + 1;
        return rewritten_;
    }

    // Ends the field at `end`; the next one begins after the character at `at`.
    void EndField(std::size_t end, std::size_t at) {
        if (fieldCount_ < kColumnCount) StoreField(Field(end));
        lineOpen_ = true;
        fieldStart_ = at + 1;
        quotes_ = 0;
        rewriting_ = false;
    }

    TaskTable::TextPiece Field(std::size_t end) {
        const TaskTable::TextPiece raw{static_cast<std::uint32_t>(fieldStart_),
                                       static_cast<std::uint32_t>(end - fieldStart_)};
        if (!rewriting_) return raw;
        return table_.StoreInTextPool(Rewrite(end), raw);
    }

    void StoreField(TaskTable::TextPiece field) {
        if (fieldCount_ < kColumnCount) fields_[fieldCount_++] = field;
        lineOpen_ = true;
    }

    // Where the line's last field ends, for the LF at `at`.
    std::size_t LineEnd(std::size_t at) const {
        const bool afterReturn =
            at > fieldStart_ && roles_.Of(Text()[at - 1]) == Role::CarriageReturn;
        return afterReturn ? at - 1 : at;
    }

    void EndLine() {
        table_.AppendRow(std::span(fields_.data(), fieldCount_));
        fieldCount_ = 0;
        lineOpen_ = false;
    }

    TaskTable& table_;
    const Roles roles_;
    const std::size_t end_;
    std::size_t fieldStart_;
    unsigned quotes_ = 0;
    bool rewriting_ = false;    // the field does not read as it stands
    std::size_t runStart_ = 0;  // while rewriting: where the plain characters not yet taken begin
    std::u16string rewritten_;
    std::array<TaskTable::TextPiece, kColumnCount> fields_{};  // the line's fields so far
    std::size_t fieldCount_ = 0;
    bool lineOpen_ = false;
};

void SwapUnitBytes(TextBuffer& units) {
    for (char16_t& unit : units) unit = static_cast<char16_t>(unit << 8 | unit >> 8);
}

// Turns the file's bytes, as read into the storage of `units`, into its characters where
// they lie: UTF-16 either way round after its mark, else one byte each; a trailing part of a
// unit is ignored. Gives the position of the first character after the mark.
std::size_t DecodeInPlace(TextBuffer& units, std::size_t byteCount) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(units.data());
    const bool littleEndian = byteCount >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool bigEndian = byteCount >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (littleEndian || bigEndian) {
        units.resize(byteCount / 2);
        if (littleEndian != (std::endian::native == std::endian::little)) SwapUnitBytes(units);
        return 1;
    }
    units.resize(byteCount);
    // From the last byte back, so that no byte is overwritten before it is read.
    const auto* moved = reinterpret_cast<const std::uint8_t*>(units.data());
    for (std::size_t i = byteCount; i-- > 0;) units[i] = moved[i];
    return 0;
}

// Reads the file's bytes, held in the storage of `units`, into the table, which keeps them
// as its text pool.
void ReadUnits(TaskTable& table, TextBuffer units, std::size_t byteCount, char16_t separator,
               char16_t lineBreak) {
    const std::size_t first = DecodeInPlace(units, byteCount);
    // A row takes a few dozen characters.
    const auto rows = static_cast<int>(std::min(units.size() / 32, kMaxReservedRows));
    table.ClearRows(std::move(units));
    table.Reserve(rows);
    DelimitedReader(table, separator, lineBreak, first).Read();
}

// Room for a file of `size` bytes in the storage of a text.
std::span<std::uint8_t> RoomIn(TextBuffer& units, std::size_t size) {
    units.resize((size + 1) / 2);
    return {reinterpret_cast<std::uint8_t*>(units.data()), size};
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
    TextBuffer units;
    std::copy(bytes.begin(), bytes.end(), RoomIn(units, bytes.size()).begin());
    ReadUnits(table, std::move(units), bytes.size(), separator, lineBreak);
}

void WriteDelimited(const TaskTable& table, FileSystem& files, const std::u16string& fileName,
                    char16_t separator, char16_t lineBreak, int encoding) {
    files.ReplaceFile(fileName, EncodeDelimited(table, separator, lineBreak, encoding));
}

void ReadDelimited(TaskTable& table, FileSystem& files, const std::u16string& fileName,
                   char16_t separator, char16_t lineBreak) {
    table.ClearRows();
    // Read where the table will keep the text.
    TextBuffer units;
    const std::size_t byteCount =
        files.ReadFileInto(fileName, [&](std::size_t size) { return RoomIn(units, size); });
    ReadUnits(table, std::move(units), byteCount, separator, lineBreak);
}

}  // namespace quorvel
