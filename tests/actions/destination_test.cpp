#include "actions/destination.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(FileNamePartTest, TakesTheTextAfterTheLastBackslashOrColon) {
    EXPECT_EQ(FileNamePart(u"C:\\Apps\\Editor.exe"), u"Editor.exe");
    EXPECT_EQ(FileNamePart(u"c:notes.txt"), u"notes.txt");
    EXPECT_EQ(FileNamePart(u"notepad.exe"), u"notepad.exe");
    EXPECT_EQ(FileNamePart(u"e:"), u"");
}

struct SplitCase {
    std::u16string_view destination;
    std::u16string_view program;
    std::u16string_view parameters;
};

class SplitParametersTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitParametersTest, SeparatesProgramAndParameters) {
    const SplitCase& c = GetParam();
    const ProgramCommand command = SplitParameters(c.destination);
    EXPECT_EQ(command.program, c.program);
    EXPECT_EQ(command.parameters, c.parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Destinations, SplitParametersTest,
    testing::Values(
        SplitCase{u"c:\\tools\\app.exe -q -x", u"c:\\tools\\app.exe", u"-q -x"},
        // The extension is found in any letter case, and both parts keep theirs.
        SplitCase{u"C:\\Tools\\Zip.EXE -d Archive", u"C:\\Tools\\Zip.EXE", u"-d Archive"},
        SplitCase{u"D:\\Old\\Game.Com Level2", u"D:\\Old\\Game.Com", u"Level2"},
        SplitCase{u"C:\\Program Files\\My App\\run.bat /fast",
                  u"C:\\Program Files\\My App\\run.bat", u"/fast"},
        // A space in a folder name with nothing after the extension is no split.
        SplitCase{u"C:\\Program Files\\Tool\\tool.exe", u"C:\\Program Files\\Tool\\tool.exe", u""},
        SplitCase{u"c:\\docs\\my notes.txt", u"c:\\docs\\my notes.txt", u""},
        // Only the file-name part decides which extension is looked for.
        SplitCase{u"c:\\my.exe files\\tool.bat arg", u"c:\\my.exe files\\tool.bat", u"arg"},
        // The one character after the extension separates; further spaces are parameters.
        SplitCase{u"setup.exe  -x", u"setup.exe", u" -x"},
        SplitCase{u"https://Example.org/Path", u"https://Example.org/Path", u""},
        // Parameters that hold a path or an extension: split after the first extension
        // that a space follows.
        SplitCase{u"notepad.exe c:\\notes\\plan.txt", u"notepad.exe", u"c:\\notes\\plan.txt"},
        SplitCase{u"c:\\tools\\app.exe -o out.exe", u"c:\\tools\\app.exe", u"-o out.exe"},
        SplitCase{u"C:\\Tools\\App.EXE c:\\work\\other.exe", u"C:\\Tools\\App.EXE",
                  u"c:\\work\\other.exe"},
        SplitCase{u"c:\\run.BAT d:\\x.com", u"c:\\run.BAT", u"d:\\x.com"},
        SplitCase{u"c:\\my.exe.d\\tool.exe", u"c:\\my.exe.d\\tool.exe", u""},
        // A quoted program path is the text inside the quotes, whatever it holds.
        SplitCase{u"\"C:\\Program Files\\Tool\\tool.exe\" -x", u"C:\\Program Files\\Tool\\tool.exe",
                  u"-x"},
        SplitCase{u"\"C:\\My Tools\\run.bat\"", u"C:\\My Tools\\run.bat", u""},
        SplitCase{u"\"D:\\a.exe b\\Go.Com\"  c:\\in.exe", u"D:\\a.exe b\\Go.Com", u" c:\\in.exe"},
        // Without its closing quote the text is read as it stands.
        SplitCase{u"\"c:\\app.exe -x", u"\"c:\\app.exe", u"-x"}));

}  // namespace
}  // namespace quorvel
