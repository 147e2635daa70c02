#include <windows.h>
#include <powrprof.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "actions/dispatcher.h"
#include "actions/system_services_win.h"
#include "common/error.h"
#include "common/paths.h"
#include "common/win/error_box_win.h"
#include "common/win/system_win.h"
#include "common/win/unique_handle_win.h"
#include "common/win/wide_text_win.h"
#include "error_text.h"
#include "input_win.h"
#include "hotkeys/hotkey_text.h"
#include "hotkeys/key_names_win.h"
#include "hotkeys/registrar_win.h"

namespace quorvel {
namespace {

constexpr HotKeyValue kCtrlAltJ = 0x4000 + 0x8000 + 'J';
constexpr DWORD kWaitMs = 10000;

std::wstring TestFolder() { return ToWide(FolderOf(ExecutablePath())); }

class ActionsWinTest : public testing::Test {
  protected:
    ActionsWinTest()
        : window_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr)),
          system_([this] { return window_.get(); }, [this] { return window_.get(); }) {}

    // One task bound to Ctrl+Alt+J, resolved as the session resolves it.
    void AddTask(std::u16string_view desc, const std::wstring& dest, std::u16string_view runType) {
        const int row = table_.RowCount();
        rows_[kCtrlAltJ].push_back(row);
        table_.AppendTask({std::u16string(desc), hotKeyText_.FormatHotKey(kCtrlAltJ),
                           FromWide(dest), std::u16string(runType)});
        table_.SetResolved(row, {FindAction(desc), ShowCommandOf(runType), kCtrlAltJ});
    }

    void Press() { dispatcher_.OnHotKeyPressed(kCtrlAltJ); }

    UniqueWindow window_;
    WindowsSystem system_;
    WindowsKeyNames keyNames_;
    HotKeyText hotKeyText_{keyNames_};
    TaskTable table_;
    RowsByHotKey rows_;
    Dispatcher dispatcher_{table_, rows_, system_.Services(), [] { throw; }};
};

TEST_F(ActionsWinTest, PressedProgramTaskStartsItsProgramWithParametersInTheirOwnCase) {
    const std::wstring report = TestFolder() + L"\\argdump.txt";
    ::DeleteFileW(report.c_str());
    AddTask(u"Run selected program...", TestFolder() + L"\\ArgDump.EXE -d Archive MixedCase",
            u"Minimze");
    RegistrarWindow registrarWindow;
    HotKeyRegistrar& registrar = registrarWindow.Registrar();
    registrar.SetListener(&dispatcher_);
    ASSERT_NE(registrar.BindHotKey(kCtrlAltJ), 0);

    PressTogether({VK_CONTROL, VK_MENU, 'J'});

    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return ::GetFileAttributesW(report.c_str()) != INVALID_FILE_ATTRIBUTES; }, kWaitMs))
        << "the program did not start";
    EXPECT_EQ(ArgDumpReport(report),
              (std::vector<std::wstring>{L"show=6", L"-d", L"Archive", L"MixedCase"}));
}

// As the system's programs start: in the profile folder, whatever the program's own folder.
TEST_F(ActionsWinTest, LaunchedCommandLinesGetTheRunTypesShowCommandAndTheirFolder) {
    const std::wstring report = TestFolder() + L"\\argdump.txt";
    ::DeleteFileW(report.c_str());
    const std::u16string profile = system_.launcher.ExpandEnvironmentStringsW(u"%USERPROFILE%");
    ASSERT_NE(profile, u"%USERPROFILE%");

    system_.launcher.Start(FromWide(L"\"" + TestFolder() + L"\\argdump.exe\" Hidden"), 0, profile);

    ASSERT_TRUE(PumpMessagesUntil(
        [&] { return ::GetFileAttributesW(report.c_str()) != INVALID_FILE_ATTRIBUTES; }, kWaitMs));
    EXPECT_EQ(ArgDumpReport(report), (std::vector<std::wstring>{L"show=0", L"Hidden"}));
    EXPECT_EQ(ArgDumpFolder(report), ToWide(profile));
}

// A value longer than the first try's room, and a name the environment lacks.
TEST_F(ActionsWinTest, VariablesExpandFromTheProgramsEnvironment) {
    const std::wstring longValue(3000, L'v');
    ASSERT_TRUE(::SetEnvironmentVariableW(L"QUORVEL_LONG", longValue.c_str()));
    EXPECT_EQ(system_.launcher.ExpandEnvironmentStringsW(u"%QUORVEL_LONG%\\x %QUORVEL_NOPE% 5%"),
              FromWide(longValue) + u"\\x %QUORVEL_NOPE% 5%");
    ::SetEnvironmentVariableW(L"QUORVEL_LONG", nullptr);
}

TEST_F(ActionsWinTest, ClearClipboardTaskEmptiesAClipboardThatHeldText) {
    PutTextOnClipboard(L"copied text");
    ASSERT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
    AddTask(u"Clear the Windows clipboard", L"", u"Normal");

    Press();

    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(::CountClipboardFormats(), 0);
    EXPECT_EQ(::GetOpenClipboardWindow(), nullptr) << "the clipboard was not given back";
    EXPECT_EQ(::GetClipboardOwner(), window_.get()) << "the program's window emptied it";
}

TEST_F(ActionsWinTest, ClearClipboardTaskRaisesWhileAnotherProgramHoldsTheClipboard) {
    UniqueKernelHandle held(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueKernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        const BOOL opened = ::OpenClipboard(nullptr);
        ::SetEvent(held.get());
        ::WaitForSingleObject(release.get(), INFINITE);
        if (opened) ::CloseClipboard();
    });
    ::WaitForSingleObject(held.get(), INFINITE);
    AddTask(u"Clear the Windows clipboard", L"", u"Normal");

    EXPECT_EQ(ErrorTextOf([&] { Press(); }), u"Cannot open clipboard");
    ::SetEvent(release.get());
    holder.join();
}

TEST_F(ActionsWinTest, CloseProgramTaskEndsARunningProgramByItsFileName) {
    std::wstring command = L"\"" + TestFolder() + L"\\sleeper.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &started));
    UniqueKernelHandle sleeper(started.hProcess);
    UniqueKernelHandle thread(started.hThread);
    ASSERT_EQ(::WaitForSingleObject(sleeper.get(), 0), WAIT_TIMEOUT);
    AddTask(u"Close selected program...", L"C:\\Elsewhere\\SLEEPER.exe /quiet", u"Normal");

    Press();

    ASSERT_EQ(::WaitForSingleObject(sleeper.get(), kWaitMs), WAIT_OBJECT_0);
    DWORD exitCode = 3;
    ASSERT_TRUE(::GetExitCodeProcess(sleeper.get(), &exitCode));
    EXPECT_EQ(exitCode, 0u) << "ended by itself instead of being closed";
}

TEST_F(ActionsWinTest, MinimizeAllTaskAlternatesOrRetriesAfterTheShellRefuses) {
    AddTask(u"Minimize/Maximaze all windows", L"", u"Normal");
    // Wine's shell object does not implement MinimizeAll; Windows' does.
    try {
        Press();
    } catch (const Error& error) {
        EXPECT_FALSE(error.Message().empty());
        EXPECT_THROW(Press(), Error) << "a refused minimise must be tried again";
        return;
    }
    EXPECT_NO_THROW(Press()) << "restoring the minimised windows failed";
}

// Power control is one of the libraries a start does without: it comes with its first call.
TEST(LateBound, ARarelyUsedLibraryIsLoadedOnItsFirstCallAndWhatIsMissingIsAnError) {
    ASSERT_EQ(::GetModuleHandleW(L"powrprof.dll"), nullptr);
    SYSTEM_POWER_CAPABILITIES capabilities{};
    LateBound<decltype(::GetPwrCapabilities)>(L"powrprof.dll", "GetPwrCapabilities")(&capabilities);
    EXPECT_NE(::GetModuleHandleW(L"powrprof.dll"), nullptr);

    EXPECT_THROW(LateBound<void()>(L"powrprof.dll", "NoSuchFunction"), Error);
    const std::u16string missing =
        ErrorTextOf([] { LateBound<void()>(L"no-such-library.dll", "Function"); });
    EXPECT_TRUE(missing.ends_with(u"(no-such-library.dll)")) << ToUtf8(missing);
}

}  // namespace
}  // namespace quorvel
