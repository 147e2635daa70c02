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

std::vector<Task> Decode(std::span<const std::uint8_t> bytes) {
    TaskTable table;
    DecodeDelimited(table, bytes, u',', u'|');
    return TasksOf(table);
}

std::vector<Task> DecodeText(std::u16string_view text) { return Decode(Utf16LittleEndian(text)); }

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
    const std::vector<std::uint8_t> golden = DataFile(fileName);
    EXPECT_EQ(Encode(tasks), golden);
    const std::vector<Task> loaded = Decode(golden);
    EXPECT_EQ(loaded, tasks);
    EXPECT_EQ(Encode(loaded), golden);
}

TEST(ActionsFileGolden, TypicalTasksWithCommaAndNonAsciiText) {
    ExpectGoldenRoundTrip("typical.cfg", kTypicalTasks);
}

TEST(ActionsFileGolden, QuotesAndLineBreaksAreEscapedAndReadBack) {
    ExpectGoldenRoundTrip("quoting.cfg", QuotingTasks());
}

TEST(ActionsFileGolden, AnEmptyTableIsJustTheByteOrderMark) {
    ExpectGoldenRoundTrip("empty.cfg", {});
    EXPECT_EQ(DataFile("empty.cfg"), (std::vector<std::uint8_t>{0xFF, 0xFE}));
}

TEST(ActionsFileWrite, PipeAndLoneLineEndsDoNotSurviveTheRoundTrip) {
    const std::vector<Task> tasks{{u"pipe|kept", u"lone\nLF", u"lone\rCR", u"", 0, true}};
    EXPECT_EQ(Encode(tasks), Utf16LittleEndian(u"1,pipe|kept,loneLF,lone|CR,,0,True\r\n"));
    EXPECT_EQ(Decode(Encode(tasks)),
              (std::vector<Task>{{u"pipe\r\nkept", u"loneLF", u"lone\r\nCR", u"", 0, true}}));
}

TEST(ActionsFileWrite, OnlyTheUtf16LittleEndianFormIsWritten) {
    TaskTable table;
    EXPECT_THROW(EncodeDelimited(table, u',', u'|', 0), std::invalid_argument);
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
    EXPECT_EQ(DecodeText(u"1,Run Notepad,Ctrl+N\r\n"),
              (std::vector<Task>{{u"Run Notepad", u"Ctrl+N", u"", u"", 0, true}}));
    EXPECT_EQ(DecodeText(u"1,a,b,c,d,7,False,extra,\"more, still\"\r\n"),
              (std::vector<Task>{{u"a", u"b", u"c", u"d", 7, false}}));
    // A present but empty Enabled field is false; a missing one keeps the row enabled.
    EXPECT_EQ(
        DecodeText(u"1,a,b,c,d,7,\r\n2,a,b,c,d,7\r\n"),
        (std::vector<Task>{{u"a", u"b", u"c", u"d", 7, false}, {u"a", u"b", u"c", u"d", 7, true}}));
    EXPECT_EQ(DecodeText(u"\r\n\r\n"), (std::vector<Task>{{}, {}}));
}

TEST(ActionsFileRead, StoredRowNumbersAreIgnored) {
    TaskTable table;
    DecodeDelimited(table, Utf16LittleEndian(u"5,a\r\n9,b\r\n2,c\r\n"), u',', u'|');
    ASSERT_EQ(table.RowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(table.CellAt(kNumberColumn, row).AsString(), ToText(row + 1));
    }
}

TEST(ActionsFileRead, LastLineEndingIsOptionalAndAddsNoRow) {
    const std::vector<Task> expected{{u"a", u"b", u"", u"", 0, true},
                                     {u"c", u"", u"", u"", 4, false}};
    EXPECT_EQ(DecodeText(u"1,a,b\r\n2,c,,,,4,0"), expected);
    EXPECT_EQ(DecodeText(u"1,a,b\r\n2,c,,,,4,0\r\n"), expected);
    // Lines may end in a bare LF too; a CR anywhere is dropped.
    EXPECT_EQ(DecodeText(u"1,a,\rb\n2,c,,,,4,0\n"), expected);
}

TEST(ActionsFileRead, QuotesInTextNotWrittenByTheProgram) {
    // A quote inside an unquoted field stays; separators after it belong to the field until
    // the next quote.
    EXPECT_EQ(DecodeText(u"1,ab\"c,d\"e,f\r\n"),
              (std::vector<Task>{{u"ab\"c,de", u"f", u"", u"", 0, true}}));
    // The line break character gives CR LF even between quotes; a lone enclosing quote
    // runs to the end of the line.
    EXPECT_EQ(DecodeText(u"1,\"x|y,z\r\n"),
              (std::vector<Task>{{u"x\r\ny,z", u"", u"", u"", 0, true}}));
}

TEST(ActionsFileRead, ByteOrderMarkChoosesTheDecoding) {
    const std::u16string text = u"1,\u00e9\u4e2d,Ctrl+\u00c4\r\n";
    std::vector<std::uint8_t> bigEndian{0xFE, 0xFF};
    for (const char16_t unit : text) {
        bigEndian.push_back(static_cast<std::uint8_t>(unit >> 8));
        bigEndian.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    }
    const std::vector<Task> expected{{u"\u00e9\u4e2d", u"Ctrl+\u00c4", u"", u"", 0, true}};
    EXPECT_EQ(Decode(Utf16LittleEndian(text)), expected);
    EXPECT_EQ(Decode(bigEndian), expected);
    // A trailing odd byte is ignored.
    bigEndian.push_back(0x41);
    EXPECT_EQ(Decode(bigEndian), expected);

    // Without a mark every byte is the character of the same code, with no code page.
    const std::vector<std::uint8_t> singleBytes{'1', ',', 0xE9, 0xFF, ',', 0x80, '\r', '\n'};
    EXPECT_EQ(Decode(singleBytes),
              (std::vector<Task>{{u"\u00e9\u00ff", u"\u0080", u"", u"", 0, true}}));
    EXPECT_EQ(Decode(std::vector<std::uint8_t>{0xFF}),
              (std::vector<Task>{{u"", u"", u"", u"", 0, true}}));
    EXPECT_TRUE(Decode(std::vector<std::uint8_t>{}).empty());
}

TEST(ActionsFileRead, BadImageStopsTheReadingAndKeepsWhatCameBefore) {
    const auto [message, tasks] =
        DecodeFailure(u"1,a,,,,1,True\r\n2,b,Ctrl+B,,,x2,True\r\n3,c,,,,3,True\r\n");
    EXPECT_EQ(message, u"'x2' is not a valid integer value");
    EXPECT_EQ(tasks, (std::vector<Task>{{u"a", u"", u"", u"", 1, true},
                                        {u"b", u"Ctrl+B", u"", u"", 0, true}}));
    EXPECT_EQ(DecodeFailure(u"1,a,,,,99999999999\r\n").first,
              u"'99999999999' is not a valid integer value");
}

TEST(ActionsFileRead, ReadDelimitedReplacesTheRows) {
    MemoryFileSystem files;
    files.AddFolder(u"C:\\Quorvel\\data");
    const std::u16string path = u"C:\\Quorvel\\data\\actions.cfg";
    files.ReplaceFile(path, DataFile("typical.cfg"));
    TaskTable table = TableOf({{u"old", u"", u"", u"", 0, true}});

    ReadDelimited(table, files, path, u',', u'|');
    EXPECT_EQ(TasksOf(table), kTypicalTasks);

    files.ReplaceFile(path, Utf16LittleEndian(u"1,a,,,,bad\r\n"));
    EXPECT_THROW(ReadDelimited(table, files, path, u',', u'|'), Error);
    EXPECT_EQ(table.RowCount(), 1);
}

TEST(ActionsFileRead, AMissingFileLeavesTheTableEmpty) {
    MemoryFileSystem files;
    files.AddFolder(u"C:\\Quorvel\\data");
    TaskTable table = TableOf(kTypicalTasks);
    EXPECT_EQ(FileErrorOf([&] {
                  ReadDelimited(table, files, u"C:\\Quorvel\\data\\actions.cfg", u',', u'|');
              }),
              u"2 File not found");
    EXPECT_EQ(table.RowCount(), 0);
}

TEST(ActionsFileWrite, WriteDelimitedReportsTheMissingFolder) {
    MemoryFileSystem files;
    files.AddFolder(u"C:\\Quorvel");
    EXPECT_EQ(FileErrorOf([&] {
                  WriteDelimited(TaskTable(), files, u"C:\\Quorvel\\data\\actions.cfg", u',', u'|',
                                 kUtf16LittleEndianEncoding);
              }),
              u"3 Invalid filename");
    EXPECT_TRUE(files.Files().empty());
}

}  // namespace
}  // namespace quorvel
