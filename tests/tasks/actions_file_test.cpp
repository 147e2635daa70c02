#include "tasks/actions_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <stdexcept>

#include "common/error.h"
#include "error_text.h"
#include "memory_file_system.h"
#include "task_rows.h"

namespace quorvel {
namespace {

std::vector<std::uint8_t> DataFile(const std::string& name) {
    std::ifstream in(std::string(QUORVEL_TASKS_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> Encode(const std::vector<Task>& tasks) {
    return EncodeDelimited(TableOf(tasks), u',', u'|', kUtf16LittleEndianEncoding);
}

// The tasks the bytes read as, alike when the reader sees the whole file at once and when it
// sees no more of the file than it asks for.
std::vector<Task> Decode(std::span<const std::uint8_t> bytes) {
    TaskTable whole;
    DecodeDelimited(whole, bytes, u',', u'|');
    MemoryFileSystem files;
    files.AddFolder(u"C:\\data");
    files.ReplaceFile(u"C:\\data\\actions.cfg", bytes);
    TaskTable inParts;
    ReadDelimited(inParts, files, u"C:\\data\\actions.cfg", u',', u'|');
    EXPECT_EQ(TasksOf(inParts), TasksOf(whole));
    return TasksOf(whole);
}

std::vector<Task> DecodeText(std::u16string_view text) { return Decode(Utf16LittleEndian(text)); }

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> Utf16BigEndian(std::u16string_view text) {
    std::vector<std::uint8_t> bytes = Utf16LittleEndian(text);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

// Each byte as the character of the same code.
std::u16string ByteCharacters(std::string_view bytes) {
    std::u16string text;
    for (const char byte : bytes) text += static_cast<char16_t>(static_cast<std::uint8_t>(byte));
    return text;
}

// What the reading says about the bytes besides the rows: "own" for the writer's own form,
// "lost" when the table does not hold everything.
std::string OutcomeOf(std::span<const std::uint8_t> bytes) {
    TaskTable table;
    const ReadOutcome outcome = DecodeDelimited(table, bytes, u',', u'|');
    return std::string(outcome.ownForm ? "own" : "foreign") + (outcome.lost ? ", lost" : "");
}

// The decoding's error text, with the rows read until then.
std::pair<std::u16string, std::vector<Task>> DecodeFailure(std::u16string_view text) {
    TaskTable table;
    const std::u16string error =
        ErrorTextOf([&] { DecodeDelimited(table, Utf16LittleEndian(text), u',', u'|'); });
    return {error, TasksOf(table)};
}

const std::vector<Task> kTypicalTasks{
    {u"Run Notepad", u"Ctrl+Alt+N", u"", u"Normal", 3, true},
    {u"Run Program", u"Ctrl+Shift+F1", u"C:\\Tools\\app.exe -a, -b", u"Maximize", 0, false},
    {u"Open Web Site", u"Alt+Win+W", u"https://example.org/s\u00f8k?q=\u65e5\u672c&e=\U0001F600",
     u"Minimze", -12, true},
};

std::vector<Task> QuotingTasks() {
    std::vector<Task> tasks;
    for (const char16_t* dest : {u"\"start, with quote", u"ends with quote\"", u"\"", u"a\"b",
                                 u"two\r\nlines", u"\"quoted, and\r\nbroken\""}) {
        tasks.push_back({u"Run Program", u"Ctrl+Q", dest, u"Hide", 0, true});
    }
    return tasks;
}

// Save, load and save again: the file is the checked-in one byte for byte each time.
void ExpectGoldenRoundTrip(const std::string& fileName, const std::vector<Task>& tasks) {
    SCOPED_TRACE(fileName);
    const std::vector<std::uint8_t> golden = DataFile(fileName);
    EXPECT_EQ(Encode(tasks), golden);
    EXPECT_EQ(OutcomeOf(golden), "own");
    const std::vector<Task> loaded = Decode(golden);
    EXPECT_EQ(loaded, tasks);
    EXPECT_EQ(Encode(loaded), golden);
}

// Commas and text beyond ASCII; quotes and line breaks escaped; an empty table is just the
// byte-order mark.
TEST(ActionsFileGolden, TablesAreWrittenAsTheCheckedInFilesAndReadBack) {
    ExpectGoldenRoundTrip("typical.cfg", kTypicalTasks);
    ExpectGoldenRoundTrip("quoting.cfg", QuotingTasks());
    ExpectGoldenRoundTrip("empty.cfg", {});
    EXPECT_EQ(DataFile("empty.cfg"), (std::vector<std::uint8_t>{0xFF, 0xFE}));
}

TEST(ActionsFileWrite, OnlyUtf16LittleEndianIsWrittenAndPipeAndLoneLineEndsDoNotSurvive) {
    EXPECT_THROW(EncodeDelimited(TaskTable(), u',', u'|', 0), std::invalid_argument);
    const std::vector<Task> tasks{{u"pipe|kept", u"lone\nLF", u"lone\rCR", u"", 0, true}};
    EXPECT_EQ(Encode(tasks), Utf16LittleEndian(u"1,pipe|kept,loneLF,lone|CR,,0,True\r\n"));
    EXPECT_EQ(Decode(Encode(tasks)),
              (std::vector<Task>{{u"pipe\r\nkept", u"loneLF", u"lone\r\nCR", u"", 0, true}}));
}

// Tables of any text survive, as long as CR and LF come only as CR LF and "|" does not occur.
TEST(ActionsFileRoundTrip, RandomTablesSurviveWriteAndRead) {
    const std::vector<std::u16string> pieces{
        u"a",      u"Z",      u" ",      u",",      u"\"",         u"\"\"",
        u"\r\n",   u"\t",     u"\u00e9", u"\u4e2d", u"\U0001F600", std::u16string(1, u'\0'),
        u"\uFEFF", u"\uFFFE", u"'",      u";"};
    std::mt19937 random(20261207);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    auto text = [&] {
        std::u16string s;
        for (int n = pick(0, 8); n > 0; --n) s += pieces[pick(0, int(pieces.size()) - 1)];
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<Task> tasks(pick(0, 6));
        for (Task& task : tasks) {
            task = {text(),
                    text(),
                    text(),
                    text(),
                    pick(std::numeric_limits<std::int32_t>::min(),
                         std::numeric_limits<std::int32_t>::max()),
                    pick(0, 1) == 1};
        }
        ASSERT_EQ(Decode(Encode(tasks)), tasks) << "round " << round;
    }
}

TEST(ActionsFileRead, FieldCountsDecideWhichCellsKeepTheirDefaults) {
    const Task calc{u"Run Calc", u"Ctrl+Alt+C", u"", u"Normal", 0, true};
    const struct {
        std::u16string_view text;
        std::vector<Task> tasks;
    } cases[] = {
        // A record with fewer fields that ends with a line end keeps the defaults, Enabled on.
        {u"1,Run Calc,Ctrl+Alt+C,,Normal,0\r\n2,Run Calc,Ctrl+Alt+C,,Normal\n", {calc, calc}},
        // A blank line is a row of defaults, also the last one.
        {u"1,Run Calc,Ctrl+Alt+C,,Normal,0,True\r\n\r\n\r", {calc, {}, {}}},
        // Only the last record, cut short before its Enabled field with no line end after it,
        // is off.
        {u"1,Run Calc,Ctrl+Alt+C,,Normal\r\n2,Run Calc,Ctrl+Alt+C,,Normal,0",
         {calc, {u"Run Calc", u"Ctrl+Alt+C", u"", u"Normal", 0, false}}},
        // Surplus fields are dropped; a present but empty Enabled field is false.
        {u"1,a,b,c,d,7,True,extra,\"more, still\"\r\n", {{u"a", u"b", u"c", u"d", 7, true}}},
        {u"1,a,b,c,d,7,\r\n2,a,b,c,d,7,TRUE\r\n",
         {{u"a", u"b", u"c", u"d", 7, false}, {u"a", u"b", u"c", u"d", 7, true}}},
    };
    for (const auto& [text, tasks] : cases) EXPECT_EQ(DecodeText(text), tasks) << ToUtf8(text);
}

TEST(ActionsFileRead, StoredRowNumbersAreIgnored) {
    TaskTable table;
    DecodeDelimited(table, Utf16LittleEndian(u"5,a\r\n9,b\r\n2,c\r\n"), u',', u'|');
    ASSERT_EQ(table.RowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(table.TextAt(kNumberColumn, row), ToText(row + 1));
    }
}

TEST(ActionsFileRead, CrLfLoneCrAndLoneLfEachEndARecord) {
    const std::vector<Task> expected{{u"a", u"b", u"", u"", 0, true},
                                     {u"c", u"", u"", u"", 4, false}};
    for (const std::u16string_view end : {u"\r\n", u"\r", u"\n"}) {
        const std::u16string first = u"1,a,b,,,,True" + std::u16string(end);
        EXPECT_EQ(DecodeText(first + u"2,c,,,,4,0"), expected);
        EXPECT_EQ(DecodeText(first + u"2,c,,,,4,0" + std::u16string(end)), expected);
    }
    // Between quotes too: a quote left open does not take the next records.
    EXPECT_EQ(DecodeText(u"1,\"a,b\r2,c,,,,4,0\r\n").size(), 2u);
}

// UTF-16 is copied into the pool as it is read, 64 characters at a time: wherever blocks meet
// in a record, in quotes or in CR LF, it reads alike.
TEST(ActionsFileRead, ARecordReadsAlikeWhereBlocksOfTheFileMeetInIt) {
    const std::u16string record = u"2,\"a, \"\"b\"\"\",c|d,,,7,True\r\n";
    const std::u16string last = u"3," + std::u16string(64, u'y') + u",,,,0,True\r\n";
    for (std::size_t at = 0; at <= record.size(); ++at) {
        // The first record ends `at` characters before the first block does.
        const std::u16string text =
            u"1," + std::u16string(50 - at, u'x') + u",,,,0,True\r\n" + record + last;
        const std::vector<Task> tasks = Decode(Bytes(ToUtf8(text)));
        EXPECT_EQ(tasks.at(1), (Task{u"a, \"b\"", u"c\r\nd", u"", u"", 7, true}));
        EXPECT_EQ(DecodeText(text), tasks) << at;
        EXPECT_EQ(Decode(Utf16BigEndian(text)), tasks) << at;
        EXPECT_EQ(OutcomeOf(Utf16LittleEndian(text)), "own") << at;
    }
}

TEST(ActionsFileRead, ARecordCutShortKeepsWhatItHoldsAndIsOff) {
    EXPECT_EQ(DecodeText(u"1,a,b,,,,True\r\n2,Run Program,Ctrl+P,C:\\Tools\\app.e"),
              (std::vector<Task>{{u"a", u"b", u"", u"", 0, true},
                                 {u"Run Program", u"Ctrl+P", u"C:\\Tools\\app.e", u"", 0, false}}));
    // Its Enabled field counts when it is whole.
    EXPECT_TRUE(DecodeText(u"1,a,b,,,0,True").front().enabled);
    EXPECT_FALSE(DecodeText(u"1,a,b,,,0,Tr").front().enabled);
    EXPECT_FALSE(DecodeText(u"1,a,b,,,0,").front().enabled);
}

TEST(ActionsFileRead, Utf8WithOrWithoutItsMarkIsReadAsUtf8) {
    const std::vector<Task> expected{
        {u"Open Web Site", u"", u"s\u00f8k?q=\u65e5\u672c\U0001F600", u"", 0, true}};
    const std::string line =
        "1,Open Web Site,,s\xC3\xB8k?q=\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80,,0,True\r\n";
    EXPECT_EQ(Decode(Bytes(line)), expected);
    EXPECT_EQ(Decode(Bytes("\xEF\xBB\xBF" + line)), expected);
    // Bytes that are no UTF-8 (a lone continuation byte, an overlong form, an encoded
    // surrogate, a sequence cut short) read one byte a character, the mark's too.
    for (const std::string bad : {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xE6\x97"}) {
        EXPECT_EQ(Decode(Bytes("1,Run Calc,,\xC3\xB8" + bad + ",,0,True\r\n")).front().dest,
                  u"\u00c3\u00b8" + ByteCharacters(bad));
    }
    EXPECT_EQ(Decode(Bytes("\xEF\xBB\xBF" + line.substr(0, 2) + "\xFF")).front().actionName,
              u"\u00ff");
}

TEST(ActionsFileRead, QuotesInTextNotWrittenByTheProgram) {
    // A quote inside an unquoted field stays; separators after it belong to the field until
    // the next quote.
    EXPECT_EQ(DecodeText(u"1,ab\"c,d\"e,f,,,0,True\r\n"),
              (std::vector<Task>{{u"ab\"c,de", u"f", u"", u"", 0, true}}));
    // The line break character gives CR LF even between quotes; a lone enclosing quote
    // runs to the end of the line.
    EXPECT_EQ(DecodeText(u"1,\"x|y,z\r\n"),
              (std::vector<Task>{{u"x\r\ny,z", u"", u"", u"", 0, true}}));
}

TEST(ActionsFileRead, ByteOrderMarkChoosesTheDecoding) {
    const std::u16string text = u"1,\u00e9\u4e2d,Ctrl+\u00c4,,,0,True\r\n";
    std::vector<std::uint8_t> bigEndian = Utf16BigEndian(text);
    const std::vector<Task> expected{{u"\u00e9\u4e2d", u"Ctrl+\u00c4", u"", u"", 0, true}};
    EXPECT_EQ(Decode(Utf16LittleEndian(text)), expected);
    EXPECT_EQ(Decode(bigEndian), expected);
    // A trailing odd byte is ignored.
    bigEndian.push_back(0x41);
    EXPECT_EQ(Decode(bigEndian), expected);

    // Without a mark every byte is the character of the same code, with no code page.
    EXPECT_EQ(Decode(Bytes("1,\xE9\xFF,\x80,,,0,True\r\n")),
              (std::vector<Task>{{u"\u00e9\u00ff", u"\u0080", u"", u"", 0, true}}));
    EXPECT_EQ(Decode(std::vector<std::uint8_t>{0xFF}), (std::vector<Task>{{.enabled = false}}));
    EXPECT_TRUE(Decode(std::vector<std::uint8_t>{}).empty());
}

TEST(ActionsFileRead, BadImageStopsTheReadingAndKeepsWhatCameBefore) {
    const auto [message, tasks] =
        DecodeFailure(u"1,a,,,,1,True\r\n2,b,Ctrl+B,,,x2,True\r\n3,c,,,,3,True\r\n");
    EXPECT_EQ(message, u"'x2' is not a valid integer value");
    // The row it stopped in is off: its Enabled field was never read.
    EXPECT_EQ(tasks, (std::vector<Task>{{u"a", u"", u"", u"", 1, true},
                                        {u"b", u"Ctrl+B", u"", u"", 0, false}}));
    EXPECT_EQ(DecodeFailure(u"1,a,,,,99999999999\r\n").first,
              u"'99999999999' is not a valid integer value");
}

// Files that differ from the writer's own only in form lose nothing; damage loses something.
// A task's line with the destination field as it stands in the file.
std::u16string LineWithDest(std::u16string_view dest) {
    return u"1,Run Calc,Ctrl+A," + std::u16string(dest) + u",Normal,-3,True\r\n";
}

TEST(ActionsFileRead, TheOutcomeTellsTheWritersOwnFormAndLoss) {
    EXPECT_EQ(OutcomeOf(Utf16LittleEndian(u"")), "own");
    for (const std::u16string_view dest :
         {u"", u"\"C:\\a, b\"", u"\"a\"\"b\"", u"\"\"\"\"", u"a|b", u"\"a,|b\""}) {
        EXPECT_EQ(OutcomeOf(Utf16LittleEndian(LineWithDest(dest))), "own") << ToUtf8(dest);
    }
    for (const std::u16string_view dest : {u"\"ab\"", u"\"a\"b", u"ab\"c\"", u"x\"\"", u"\"\""}) {
        EXPECT_EQ(OutcomeOf(Utf16LittleEndian(LineWithDest(dest))), "foreign") << ToUtf8(dest);
    }
    // Line ends, row numbers, numbers and Booleans not as the writer writes them.
    const std::u16string line = LineWithDest(u"\"C:\\a, b\"");
    for (const std::u16string& form :
         {line.substr(0, line.size() - 1), line.substr(0, line.size() - 2), u"2" + line.substr(1),
          line + u"\"\"", LineWithDest(u"\"C:\\a, b\"").replace(line.find(u"-3"), 2, u"-03"),
          std::u16string(line).replace(line.find(u"True"), 4, u"true"),
          std::u16string(line).insert(line.size() - 2, u","), line + u"\r\n",
          std::u16string(u"1,Run Calc,Ctrl+A,,Normal,0\r\n")}) {
        EXPECT_EQ(OutcomeOf(Utf16LittleEndian(form)), "foreign") << ToUtf8(form);
    }
    EXPECT_EQ(OutcomeOf(Bytes("\xEF\xBB\xBF"
                              "1,a,,,,0,True\r\n")),
              "foreign");
    EXPECT_EQ(OutcomeOf(Bytes("")), "foreign");
    for (const std::u16string_view damage :
         {u"1,Run Calc,Ctrl+A,C:\\a.e", u"1,Run Calc,Ctrl+A,,Normal,0,True,extra\r\n",
          u"1,Run Calc,Ctrl+A,,Normal,0,Yes\r\n"}) {
        EXPECT_EQ(OutcomeOf(Utf16LittleEndian(damage)), "foreign, lost") << ToUtf8(damage);
    }
    std::vector<std::uint8_t> oddByte = Utf16LittleEndian(line);
    oddByte.push_back('x');
    EXPECT_EQ(OutcomeOf(oddByte), "foreign, lost");
    // UTF-16 without its mark reads a byte a character: its records fall apart, and a
    // picture number with zero bytes in it stops the reading.
    std::vector<std::uint8_t> unmarked = Utf16LittleEndian(line);
    unmarked.erase(unmarked.begin(), unmarked.begin() + 2);
    EXPECT_THROW(OutcomeOf(unmarked), Error);
}

TEST(ActionsFileRead, ReadDelimitedReplacesTheRowsAndAMissingFileLeavesNone) {
    MemoryFileSystem files;
    files.AddFolder(u"C:\\Quorvel\\data");
    const std::u16string path = u"C:\\Quorvel\\data\\actions.cfg";
    TaskTable table = TableOf({{u"old", u"", u"", u"", 0, true}});
    EXPECT_EQ(FileErrorOf([&] { ReadDelimited(table, files, path, u',', u'|'); }),
              u"2 File not found");
    EXPECT_EQ(table.RowCount(), 0);

    files.ReplaceFile(path, DataFile("typical.cfg"));
    ReadDelimited(table, files, path, u',', u'|');
    EXPECT_EQ(TasksOf(table), kTypicalTasks);
    files.ReplaceFile(path, Utf16LittleEndian(u"1,a,,,,bad\r\n"));
    EXPECT_THROW(ReadDelimited(table, files, path, u',', u'|'), Error);
    EXPECT_EQ(table.RowCount(), 1);
}

}  // namespace
}  // namespace quorvel
