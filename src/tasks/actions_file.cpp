#include "tasks/actions_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <stdexcept>

#include "common/error.h"
#include "common/text.h"
#include "tasks/task_table_load.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvel {

namespace {

using namespace std::string_view_literals;

constexpr char16_t kQuote = u'"';
constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kLineFeed = u'\n';
constexpr std::u16string_view kTrue = u"True";
constexpr std::u16string_view kFalse = u"False";
constexpr std::size_t kMaxReservedRows = 1 << 20;
// The rows whose length tells how many a file holds.
constexpr int kSampleRows = 256;

using TextBuffer = TaskTableLoad::TextBuffer;
using TextPiece = TaskTableLoad::TextPiece;

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

#if defined(__SSE2__)
    // Whether CopyMarks serves: blocks are compared sixteen characters at a time.
    bool CopiesMarks() const { return byteSized_; }

    // The special characters among the 64 UTF-16 units that `bytes` hold, little-endian or,
    // with `swapBytes`, big-endian, which are put in `units` on the way: the file's text is
    // copied into the pool as it is read, while the next bytes are on their way.
    Marks CopyMarks(const std::uint8_t* bytes, bool swapBytes, char16_t* units) const {
        Marks marks;
        for (int part = 0; part < 4; ++part) {
            const auto* from = reinterpret_cast<const __m128i*>(bytes + 32 * part);
            __m128i low = _mm_loadu_si128(from);
            __m128i high = _mm_loadu_si128(from + 1);
            if (swapBytes) {
                low = _mm_or_si128(_mm_slli_epi16(low, 8), _mm_srli_epi16(low, 8));
                high = _mm_or_si128(_mm_slli_epi16(high, 8), _mm_srli_epi16(high, 8));
            }
            auto* to = reinterpret_cast<__m128i*>(units + 16 * part);
            _mm_storeu_si128(to, low);
            _mm_storeu_si128(to + 1, high);
            AddMarks(marks, part, low, high);
        }
        return marks;
    }
#endif

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
            AddMarks(marks, part, _mm_loadu_si128(units), _mm_loadu_si128(units + 1));
        }
        return marks;
    }

    // The marks of the `part`-th sixteen characters of a block, eight in each half.
    void AddMarks(Marks& marks, int part, __m128i low, __m128i high) const {
        const __m128i bytes = _mm_packus_epi16(low, high);
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

    static __m128i Splat(char16_t ch) { return _mm_set1_epi8(static_cast<char>(ch)); }

    const __m128i separators_ = Splat(separator_);
    const __m128i lineBreaks_ = Splat(lineBreak_);
    const __m128i quotes_ = Splat(kQuote);
    const __m128i carriageReturns_ = Splat(kCarriageReturn);
    const __m128i lineFeeds_ = Splat(kLineFeed);
    const bool byteSized_ = ByteSized();
#endif
};

// Four characters of a text as one number.
std::uint64_t FourAt(std::u16string_view text, std::size_t at) {
    std::uint64_t four = 0;
    std::memcpy(&four, text.data() + at, sizeof(four));
    return four;
}

// Whether the text is exactly the word. Words here are short: four characters are compared
// at a time, without a call of memcmp.
bool IsWord(std::u16string_view text, std::u16string_view word) {
    if (text.size() != word.size()) return false;
    std::size_t i = 0;
    for (; i + 4 <= word.size(); i += 4) {
        if (FourAt(text, i) != FourAt(word, i)) return false;
    }
    for (; i < word.size(); ++i) {
        if (text[i] != word[i]) return false;
    }
    return true;
}

// A Boolean as the writer writes it.
bool IsWrittenBoolean(std::u16string_view text) {
    return IsWord(text, kTrue) || IsWord(text, kFalse);
}

// Whether a text reads as a Boolean cell's own: "True" or "False" in any case, "1", "0", or
// nothing. Any other text reads as false, and is lost with it.
bool IsBooleanWord(std::u16string_view text) {
    return IsWrittenBoolean(text) || text.empty() || IsWord(text, u"1"sv) || IsWord(text, u"0"sv) ||
           EqualsIgnoreAsciiCase(text, kTrue) || EqualsIgnoreAsciiCase(text, kFalse);
}

// The decimal form of a row's number, counted up one row at a time.
class RowNumberText {
  public:
    std::u16string_view Text() const { return {digits_.data() + first_, digits_.size() - first_}; }
    void CountUp() {
        std::size_t at = digits_.size();
        while (at-- > first_ && digits_[at] == u'9') digits_[at] = u'0';
        if (at < first_) first_ = at;
        ++digits_[at];
    }

  private:
    std::array<char16_t, 20> digits_ = [] {
        std::array<char16_t, 20> digits;
        digits.fill(u'0');
        digits.back() = u'1';
        return digits;
    }();
    std::size_t first_ = digits_.size() - 1;
};

// Whether a text that reads as an integer is written back as it stands: no sign but a minus,
// no leading zero.
bool IsWrittenIntegerForm(std::u16string_view text) {
    const std::size_t first = !text.empty() && text.front() == u'-' ? 1 : 0;
    // The rest are digits, or the text would not read as an integer.
    return first < text.size() && text[first] != u'+' && (text[first] != u'0' || text.size() == 1);
}

// The text columns, one bit each.
std::uint32_t TextColumns() {
    std::uint32_t columns = 0;
    for (int c = 0; c < kColumnCount; ++c) {
        if (TaskColumns()[c].kind == CellKind::Text) columns |= 1u << c;
    }
    return columns;
}

// A UTF-16 file's units copied into the table's text pool a block at a time as the reading
// needs them, put the machine's way round there. The file is viewed a part at a time, and only
// ever further on. A feed without a file has nothing to copy: the pool holds the text already.
class UnitFeed {
  public:
    UnitFeed(TaskTableLoad& load, FileSystem::FileView* file, bool swapBytes)
        : load_(load),
          file_(file),
          units_(file == nullptr ? 0 : file->Size() / 2),
          swapBytes_(swapBytes) {}

    // The marks of the block of 64 characters from `block` on, in a text that ends at `end`,
    // once the block and the character after it, which tells a CR LF across blocks, are in
    // the pool.
    Marks MarksOf(const Roles& roles, std::size_t block, std::size_t end) {
#if defined(__SSE2__)
        if (block + 64 < units_ && roles.CopiesMarks()) {
            const std::uint8_t* bytes = BytesAt(2 * block, 2 * 65).data();
            char16_t* units = load_.Units() + block;
            const Marks marks = roles.CopyMarks(bytes, swapBytes_, units);
            std::memcpy(units + 64, bytes + 2 * 64, 2);
            if (swapBytes_) units[64] = Swapped(units[64]);
            copied_ = block + 65;
            return marks;
        }
#endif
        CopyUpTo(units_);
        return roles.MarksOf(load_.Text().substr(block, end - block));
    }

  private:
    static char16_t Swapped(char16_t unit) { return static_cast<char16_t>(unit << 8 | unit >> 8); }

    // The file's bytes from `offset` on, at least `length` of them: from the part in view
    // while it holds them.
    std::span<const std::uint8_t> BytesAt(std::size_t offset, std::size_t length) {
        if (offset < viewStart_ || offset + length > viewStart_ + view_.size()) {
            view_ = file_->BytesFrom(offset, length);
            viewStart_ = offset;
        }
        return view_.subspan(offset - viewStart_);
    }

    // Copies the units not yet in the pool before `end`.
    void CopyUpTo(std::size_t end) {
        while (copied_ < end) {
            const std::span<const std::uint8_t> bytes = BytesAt(2 * copied_, 2);
            const std::size_t count = std::min(end - copied_, bytes.size() / 2);
            char16_t* units = load_.Units() + copied_;
            std::memcpy(units, bytes.data(), 2 * count);
            if (swapBytes_) {
                for (char16_t& unit : std::span(units, count)) unit = Swapped(unit);
            }
            copied_ += count;
        }
    }

    TaskTableLoad& load_;
    FileSystem::FileView* file_;
    std::size_t units_;
    std::size_t copied_ = 0;  // the units in the pool
    std::span<const std::uint8_t> view_;
    std::size_t viewStart_ = 0;  // the file offset `view_` begins at
    bool swapBytes_;
};

// Splits the table's text pool into fields and lines and gives each line to the table as a
// row. A field that reads as it stands, which is most of them, becomes its cell's text where
// it lies. One with quotes or line-break characters is rewritten as it is read, a run of
// plain characters at a time: where it lies while quotes only take characters away, else
// aside, and then put back over its place in the pool or at the pool's end.
// The quote counter undoes the writer's escaping: an enclosing pair of quotes is dropped, a
// doubled quote gives one, and separators between an odd and an even quote belong to the text.
// On the way the reader notes whether the writer would give back the very same text, and
// whether anything of the text is not in the table.
class DelimitedReader {
  public:
    DelimitedReader(TaskTableLoad& load, char16_t separator, char16_t lineBreak, std::size_t first,
                    bool ownEncoding, const UnitFeed& feed)
        : load_(load),
          feed_(feed),
          roles_(separator, lineBreak),
          first_(first),
          end_(load.Text().size()),
          fieldStart_(first),
          outcome_{ownEncoding, false} {}

    // Reads the pool from `first` to the end it had at the start. A last line without a line
    // end still counts; an empty field at the very end does not.
    ReadOutcome Read() {
        for (std::size_t block = fieldStart_; block < end_; block += 64) {
            TakeBlock(block, feed_.MarksOf(roles_, block, end_));
        }
        if (fieldStart_ < end_ || lineOpen_) outcome_.ownForm = false;
        if (fieldStart_ < end_) TakeField(end_, /*keepEmpty=*/false);
        if (lineOpen_) EndLine(/*lineEnded=*/false);
        return outcome_;
    }

  private:
    // Rewriting a field may add to the pool, which may move it.
    std::u16string_view Text() const { return load_.Text(); }
    std::u16string_view TextOf(TextPiece piece) const {
        return {Text().data() + piece.offset, piece.length};
    }

    // The special characters among the 64 from `block` on. Most only end fields and lines;
    // those are taken in a loop of their own, up to the next one that asks for rewriting.
    void TakeBlock(std::size_t block, const Marks& marks) {
        // A CR right before an LF just ends the line's last field early; any other ends a line.
        const std::uint64_t pairedReturns =
            marks.carriageReturns & FollowedByLineFeed(block, marks);
        const LineEnds lineEnds{marks.lineFeeds | (marks.carriageReturns & ~pairedReturns),
                                marks.lineFeeds & PrecededByReturn(block, marks)};
        const std::uint64_t ends = marks.separators | lineEnds.all;
        std::uint64_t left = marks.All() & ~pairedReturns;
        while (left != 0) {
            if (!rewriting_) {
                const std::uint64_t next = marks.escapes & left;
                const std::uint64_t before = next == 0 ? ~std::uint64_t{0} : (next & -next) - 1;
                TakeFieldEnds(block, ends & left & before, lineEnds);
                left &= ~before;
                if (left == 0) break;
            }
            Take(block + std::countr_zero(left));
            left &= left - 1;
        }
    }

    // Bit i set when the character after the i-th of the block is an LF.
    std::uint64_t FollowedByLineFeed(std::size_t block, const Marks& marks) const {
        constexpr std::uint64_t kLast = std::uint64_t{1} << 63;
        const std::size_t next = block + 64;
        const bool nextBlockStarts = (marks.carriageReturns & kLast) != 0 && next < end_ &&
                                     roles_.Of(Text()[next]) == Role::LineFeed;
        return marks.lineFeeds >> 1 | (nextBlockStarts ? kLast : 0);
    }

    // Bit i set when the character before the i-th of the block is a CR.
    std::uint64_t PrecededByReturn(std::size_t block, const Marks& marks) const {
        const bool lastBlockEnds = (marks.lineFeeds & 1) != 0 && block > first_ &&
                                   roles_.Of(Text()[block - 1]) == Role::CarriageReturn;
        return marks.carriageReturns << 1 | (lastBlockEnds ? 1 : 0);
    }

    // The line ends of a block, one bit each: all, and the LFs of CR LF.
    struct LineEnds {
        std::uint64_t all;
        std::uint64_t pairs;
    };

    // Fields that read as they stand, each where it lies.
    void TakeFieldEnds(std::size_t block, std::uint64_t ends, const LineEnds& lineEnds) {
        while (ends != 0) {
            const std::uint64_t lineEnd = ends & lineEnds.all;
            const std::uint64_t separators = ends & ((lineEnd & -lineEnd) - 1);
            TakeSeparators(block, separators);
            ends &= ~separators;
            if (ends == 0) break;
            // The writer ends every line with CR LF.
            const int bit = std::countr_zero(ends);
            const std::size_t at = block + bit;
            const bool pair = (lineEnds.pairs >> bit & 1) != 0;
            if (!pair) outcome_.ownForm = false;
            StoreField(PieceUpTo(pair ? at - 1 : at));
            fieldStart_ = at + 1;
            EndLine(/*lineEnded=*/true);
            ends &= ends - 1;
        }
    }

    // The fields that the separators of a block end, in a loop of their own.
    void TakeSeparators(std::size_t block, std::uint64_t separators) {
        std::size_t start = fieldStart_;
        std::size_t count = fieldCount_;
        for (; separators != 0 && count < kColumnCount; separators &= separators - 1) {
            const std::size_t at = block + std::countr_zero(separators);
            fields_[count++] = {static_cast<std::uint32_t>(start),
                                static_cast<std::uint32_t>(at - start)};
            start = at + 1;
        }
        lineOpen_ = lineOpen_ || count > fieldCount_;
        fieldStart_ = start;
        fieldCount_ = count;
        // Fields beyond the last column.
        for (; separators != 0; separators &= separators - 1) {
            const std::size_t at = block + std::countr_zero(separators);
            DropField(at - fieldStart_);
            fieldStart_ = at + 1;
        }
    }

    // The field from its start up to `end`, as it stands.
    TextPiece PieceUpTo(std::size_t end) const {
        return {static_cast<std::uint32_t>(fieldStart_),
                static_cast<std::uint32_t>(end - fieldStart_)};
    }

    // The special character at `at`.
    void Take(std::size_t at) {
        switch (roles_.Of(Text()[at])) {
            case Role::Separator:
                // Between quotes it is text like any other.
                if (quotes_ % 2 == 0) {
                    EndField(at, at);
                } else {
                    quotedSeparator_ = true;
                }
                break;
            case Role::LineBreak:
                RewriteUpTo(at);
                RewriteAside();
                rewritten_ += u"\r\n";
                break;
            case Role::Quote:
                ++quotes_;
                NoteQuote(at);
                RewriteUpTo(at);
                if (quotes_ % 2 == 1 && (RewrittenLength() > 0 || quotes_ == 3)) {
                    AppendRewritten(kQuote);
                }
                break;
            case Role::CarriageReturn:  // a lone one: a CR before an LF is left to the LF
            case Role::LineFeed:
                EndRecord(at);
                break;
            case Role::Plain:
                break;
        }
    }

    // Rewrites the field's text up to the special character at `at`, which takes the place
    // of a plain run's next character. Where it lies, the text so far never reaches beyond the
    // last special character taken.
    void RewriteUpTo(std::size_t at) {
        if (!rewriting_) {
            rewriting_ = true;
            inPlace_ = true;
            written_ = fieldStart_;
            runStart_ = fieldStart_;
        }
        if (inPlace_) {
            if (written_ != runStart_) {
                char16_t* units = load_.Units();
                std::copy(units + runStart_, units + at, units + written_);  // forwards
            }
            written_ += at - runStart_;
        } else {
            rewritten_.append(Text().substr(runStart_, at - runStart_));
        }
        runStart_ = at + 1;
    }

    // A line-break character gives two characters for one, which could overtake the text
    // not yet read.
    void RewriteAside() {
        if (!inPlace_) return;
        rewritten_.assign(Text().substr(fieldStart_, written_ - fieldStart_));
        inPlace_ = false;
    }

    std::size_t RewrittenLength() const {
        return inPlace_ ? written_ - fieldStart_ : rewritten_.size();
    }

    void AppendRewritten(char16_t ch) {
        if (inPlace_) {
            load_.Units()[written_++] = ch;
        } else {
            rewritten_ += ch;
        }
    }

    // The line end at `at`, an LF or a lone CR, ends the record. The writer ends each with
    // CR LF.
    void EndRecord(std::size_t at) {
        const std::size_t end = LineEnd(at);
        if (end == at) outcome_.ownForm = false;
        EndField(end, at);
        EndLine(/*lineEnded=*/true);
    }

    // Where the line's last field ends, for the line end at `at`.
    std::size_t LineEnd(std::size_t at) const {
        const bool afterReturn = at > fieldStart_ && roles_.Of(Text()[at]) == Role::LineFeed &&
                                 roles_.Of(Text()[at - 1]) == Role::CarriageReturn;
        return afterReturn ? at - 1 : at;
    }

    // Ends the field at `end`; the next one begins after the character at `at`.
    void EndField(std::size_t end, std::size_t at) {
        TakeField(end);
        fieldStart_ = at + 1;
        quotes_ = 0;
        rewriting_ = false;
        quotesAsWritten_ = true;
        quotedSeparator_ = false;
    }

    // The field up to `end` becomes the line's next one.
    void TakeField(std::size_t end, bool keepEmpty = true) {
        const TextPiece raw = PieceUpTo(end);
        if (!rewriting_) {
            if (keepEmpty || raw.length > 0) StoreField(raw);
            return;
        }
        RewriteUpTo(end);
        const std::size_t length = RewrittenLength();
        if (!keepEmpty && length == 0) return;
        if (fieldCount_ >= kColumnCount) {
            DropField(length);
            return;
        }
        // The writer encloses and escapes only texts; numbers and Booleans it writes bare.
        outcome_.ownForm =
            outcome_.ownForm && (textColumns_ >> fieldCount_ & 1) != 0 && IsWrittenAsRead(end);
        StoreField(inPlace_ ? TextPiece{raw.offset, static_cast<std::uint32_t>(length)}
                            : load_.Store(rewritten_, raw));
    }

    void StoreField(TextPiece field) {
        if (fieldCount_ < kColumnCount) {
            fields_[fieldCount_++] = field;
            lineOpen_ = true;
        } else {
            DropField(field.length);
        }
    }

    // A field beyond the last column.
    void DropField(std::size_t length) {
        outcome_.ownForm = false;
        outcome_.lost = outcome_.lost || length > 0;
        lineOpen_ = true;
    }

    // The writer encloses a text in quotes when it holds the separator or a quote, and doubles
    // its quotes: the first quote of such a field opens it, every even one but the last is
    // followed at once by the next, and the last closes it.
    void NoteQuote(std::size_t at) {
        if (quotes_ == 1) {
            quotesAsWritten_ = at == fieldStart_;
        } else if (quotes_ % 2 == 0) {
            evenQuoteAt_ = at;
        } else {
            quotesAsWritten_ = quotesAsWritten_ && at == evenQuoteAt_ + 1;
        }
    }

    // Whether the writer writes a rewritten text field, which ends at `end`, as it stands in
    // the file. One without quotes was rewritten for its line-break characters, which the
    // writer writes for CR LF.
    bool IsWrittenAsRead(std::size_t end) const {
        if (quotes_ == 0) return true;
        const bool holdsQuoteOrSeparator = quotes_ >= 4 || quotedSeparator_;
        return quotesAsWritten_ && quotes_ % 2 == 0 && evenQuoteAt_ + 1 == end &&
               holdsQuoteOrSeparator;
    }

    // A record with fewer fields than columns keeps the defaults in the others, unless it is
    // the file's last and no line end follows it: then it was cut short, and its row is off,
    // as is one whose reading stops at a field its cell cannot convert.
    void EndLine(bool lineEnded) {
        const bool whole = fieldCount_ == kColumnCount;
        const bool cutShort = !whole && !lineEnded;
        if (whole) {
            NoteNumberFields();
        } else {
            outcome_.ownForm = false;
            outcome_.lost = outcome_.lost || cutShort;
        }
        try {
            load_.AppendRow(std::span(fields_.data(), fieldCount_));
        } catch (const Error&) {
            SwitchOffLastRow();
            throw;
        }
        if (cutShort) SwitchOffLastRow();
        if (outcome_.ownForm) rowNumber_.CountUp();
        if (load_.Table().RowCount() == kSampleRows) ReserveRows();
        fieldCount_ = 0;
        lineOpen_ = false;
    }

    // The row number, the picture and Enabled: the writer writes them as it formats them.
    void NoteNumberFields() {
        const std::u16string_view enabled = TextOf(fields_[kEnabledColumn]);
        const bool written = IsWrittenBoolean(enabled);
        if (!written && !IsBooleanWord(enabled)) outcome_.lost = true;
        outcome_.ownForm = outcome_.ownForm && written &&
                           IsWord(TextOf(fields_[kNumberColumn]), rowNumber_.Text()) &&
                           IsWrittenIntegerForm(TextOf(fields_[kImageColumn]));
    }

    // Room for as many more rows as the rest of the text holds at the first rows' length, and
    // a quarter more: the rows of a large file are neither moved as they grow nor copied into
    // less room at the end.
    void ReserveRows() {
        const std::size_t rest = end_ - std::min(fieldStart_, end_);
        const std::size_t rows =
            rest * kSampleRows / std::max<std::size_t>(fieldStart_ - first_, 1);
        load_.Table().Reserve(static_cast<int>(std::min(rows + rows / 4, kMaxReservedRows)));
    }

    void SwitchOffLastRow() {
        TaskTable& table = load_.Table();
        table.SetEnabled(table.RowCount() - 1, false);
    }

    TaskTableLoad& load_;
    UnitFeed feed_;
    const Roles roles_;
    const std::size_t first_;
    const std::size_t end_;
    std::size_t fieldStart_;
    unsigned quotes_ = 0;
    bool rewriting_ = false;    // the field does not read as it stands
    bool inPlace_ = false;      // while rewriting: the text is rewritten where it lies
    std::size_t runStart_ = 0;  // while rewriting: where the plain characters not yet taken begin
    std::size_t written_ = 0;   // the end of the text rewritten where it lies
    std::u16string rewritten_;  // the text rewritten aside
    // While rewriting: whether its quotes are as the writer writes them so far, whether a
    // separator came between quotes, and where the last even quote is.
    bool quotesAsWritten_ = true;
    bool quotedSeparator_ = false;
    std::size_t evenQuoteAt_ = 0;
    std::array<TextPiece, kColumnCount> fields_{};  // the line's fields so far
    std::size_t fieldCount_ = 0;
    bool lineOpen_ = false;
    ReadOutcome outcome_;
    const std::uint32_t textColumns_ = TextColumns();
    RowNumberText rowNumber_;  // the next row's
};

// The length of the well-formed UTF-8 sequence that begins the bytes; 0 when there is none
// (a stray continuation byte, an overlong form, a surrogate, a code point beyond U+10FFFF, or a
// sequence cut short).
std::size_t Utf8SequenceLength(const std::uint8_t* bytes, std::size_t available) {
    const std::uint8_t lead = bytes[0];
    if (lead < 0x80) return 1;
    // The second byte's range depends on the lead; the later ones are always 80 to BF.
    std::size_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (available < length || bytes[1] < low || bytes[1] > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if ((bytes[k] & 0xC0) != 0x80) return 0;
    }
    return length;
}

// The characters of the bytes from `start` on in place of the bytes, when they are valid
// UTF-8; false, with the bytes left as they are, otherwise.
bool DecodeUtf8(TextBuffer& units, std::size_t start, std::size_t byteCount) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(units.data());
    TextBuffer decoded;
    decoded.resize(byteCount - start);
    std::size_t count = 0;
    for (std::size_t i = start; i < byteCount;) {
        const std::size_t length = Utf8SequenceLength(bytes + i, byteCount - i);
        if (length == 0) return false;
        std::uint32_t codePoint = length == 1 ? bytes[i] : bytes[i] & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k)
            codePoint = codePoint << 6 | (bytes[i + k] & 0x3Fu);
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            decoded[count++] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
            decoded[count++] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
        } else {
            decoded[count++] = static_cast<char16_t>(codePoint);
        }
        i += length;
    }
    decoded.resize(count);
    units = std::move(decoded);
    return true;
}

// One character for each byte, with the byte's code.
void SpreadBytes(TextBuffer& units, std::size_t byteCount) {
    units.resize(byteCount);
    // From the last byte back, so that no byte is overwritten before it is read.
    const auto* moved = reinterpret_cast<const std::uint8_t*>(units.data());
    for (std::size_t i = byteCount; i-- > 0;) units[i] = moved[i];
}

// Turns the file's bytes, as read into the storage of `units`, into its characters when they
// are no UTF-16: UTF-8 after its mark, or without one, when the bytes are valid UTF-8; else one
// byte each.
void DecodeBytesInPlace(TextBuffer& units, std::size_t byteCount) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(units.data());
    const bool utf8Mark =
        byteCount >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
    // Bytes below 80 are their own characters either way, and need no second buffer.
    const bool ascii =
        std::all_of(bytes, bytes + byteCount, [](std::uint8_t b) { return b < 0x80; });
    if (ascii || !DecodeUtf8(units, utf8Mark ? 3 : 0, byteCount)) SpreadBytes(units, byteCount);
}

// Room for a file of `size` bytes in the storage of a text.
std::span<std::uint8_t> RoomIn(TextBuffer& units, std::size_t size) {
    units.resize(size / 2 + size % 2);
    return {reinterpret_cast<std::uint8_t*>(units.data()), size};
}

// A view of bytes that are in memory already.
class WholeView final : public FileSystem::FileView {
  public:
    explicit WholeView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Size() const override { return bytes_.size(); }
    std::span<const std::uint8_t> BytesFrom(std::size_t offset, std::size_t) override {
        return bytes_.subspan(offset);
    }

  private:
    std::span<const std::uint8_t> bytes_;
};

// Reads the file as DecodeDelimited reads its bytes, a part of the file at a time.
ReadOutcome ReadInto(TaskTableLoad& load, FileSystem::FileView& file, char16_t separator,
                     char16_t lineBreak) {
    const std::span<const std::uint8_t> mark = file.BytesFrom(0, 2);
    const bool littleEndian = mark.size() >= 2 && mark[0] == 0xFF && mark[1] == 0xFE;
    const bool bigEndian = mark.size() >= 2 && mark[0] == 0xFE && mark[1] == 0xFF;
    if (!littleEndian && !bigEndian) {
        TextBuffer units;
        FileSystem::CopyAll(file, RoomIn(units, file.Size()));
        DecodeBytesInPlace(units, file.Size());
        load.Start(std::move(units));
        return DelimitedReader(load, separator, lineBreak, 0, /*ownEncoding=*/false,
                               UnitFeed(load, nullptr, false))
            .Read();
    }
    // UTF-16 either way round, after its mark.
    TextBuffer units;
    units.resize(file.Size() / 2);
    load.Start(std::move(units));
    const bool strayByte = file.Size() % 2 != 0;  // a byte after the last whole unit is dropped
    const bool swapBytes = littleEndian != (std::endian::native == std::endian::little);
    ReadOutcome outcome = DelimitedReader(load, separator, lineBreak, 1, littleEndian && !strayByte,
                                          UnitFeed(load, &file, swapBytes))
                              .Read();
    outcome.lost = outcome.lost || strayByte;
    return outcome;
}

// The rows read keep only the room they need, also when a field stopped the reading: a large
// file of few tasks is not kept in memory for the whole run.
ReadOutcome DecodeView(TaskTable& table, FileSystem::FileView& file, char16_t separator,
                       char16_t lineBreak) {
    TaskTableLoad load(table);
    try {
        const ReadOutcome outcome = ReadInto(load, file, separator, lineBreak);
        load.Finish();
        return outcome;
    } catch (const Error&) {
        load.Finish();
        throw;
    }
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

ReadOutcome DecodeDelimited(TaskTable& table, std::span<const std::uint8_t> bytes,
                            char16_t separator, char16_t lineBreak) {
    WholeView view(bytes);
    return DecodeView(table, view, separator, lineBreak);
}

void WriteDelimited(const TaskTable& table, FileSystem& files, const std::u16string& fileName,
                    char16_t separator, char16_t lineBreak, int encoding) {
    files.ReplaceFile(fileName, EncodeDelimited(table, separator, lineBreak, encoding));
}

ReadOutcome ReadDelimited(TaskTable& table, FileSystem& files, const std::u16string& fileName,
                          char16_t separator, char16_t lineBreak) {
    table.ClearRows();
    try {
        const std::unique_ptr<FileSystem::FileView> view = files.ViewFile(fileName);
        return DecodeView(table, *view, separator, lineBreak);
    } catch (const FileError&) {
        // Rows read before the file failed are no part of what it holds.
        table.ClearRows();
        throw;
    }
}

}  // namespace quorvel
