#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/error.h"
#include "hotkeys/dravlin_win.h"
#include "input_win.h"

namespace quorvel {
namespace {

constexpr HotKeyValue kCtrlAltN = 0x4000 + 0x8000 + 0x4E;
constexpr DWORD kPressTimeoutMs = 5000;

void PumpMessagesFor(DWORD milliseconds) {
    PumpMessagesUntil([] { return false; }, milliseconds);
}

struct Press {
    HotKeyValue hotKey;
    std::uint16_t index;
};

// Registers a combination for a window of its own, as another program would.
class OtherWindowRegistration {
  public:
    OtherWindowRegistration(UINT modifiers, UINT key)
        : window_(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr)),
          registered_(::RegisterHotKey(window_.get(), 1, modifiers, key) != FALSE) {}
    ~OtherWindowRegistration() {
        if (registered_) ::UnregisterHotKey(window_.get(), 1);
    }
    OtherWindowRegistration(const OtherWindowRegistration&) = delete;
    OtherWindowRegistration& operator=(const OtherWindowRegistration&) = delete;

    bool Registered() const { return registered_; }

  private:
    UniqueWindow window_;
    bool registered_;
};

TEST(RegistrarWindow, ReportsOnePressOfCtrlAltNWithTheBoundValueAndId) {
    RegistrarWindow registrarWindow;
    HotkeyRegistrar& dravlin = registrarWindow.Registrar();
    std::vector<Press> presses;
    dravlin.OnHotKeyPressed = [&](HotKeyValue hotKey, std::uint16_t index) {
        presses.push_back({hotKey, index});
    };
    const std::uint16_t id = dravlin.BindHotKey(kCtrlAltN);
    ASSERT_NE(id, 0);

    PressTogether({VK_CONTROL, VK_MENU, 'N'});

    ASSERT_TRUE(PumpMessagesUntil([&] { return !presses.empty(); }, kPressTimeoutMs));
    PumpMessagesFor(300);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].hotKey, kCtrlAltN);
    EXPECT_EQ(presses[0].index, id);
}

TEST(RegistrarWindow, UsesTheNamedAtomAndRefusesASecondBindingOfTheSameValue) {
    RegistrarWindow registrarWindow;
    HotkeyRegistrar& dravlin = registrarWindow.Registrar();
    const std::uint16_t id = dravlin.BindHotKey(kCtrlAltN);
    ASSERT_NE(id, 0);
    EXPECT_EQ(::GlobalFindAtomW(L"DravlinHotKey49230"), id);

    EXPECT_EQ(dravlin.BindHotKey(kCtrlAltN), 0);
    EXPECT_EQ(dravlin.Bindings().size(), 1u);
    EXPECT_EQ(::GlobalFindAtomW(L"DravlinHotKey49230"), id);
}

TEST(RegistrarWindow, HoldsTheCombinationUntilDestroyedThenGivesItBack) {
    {
        RegistrarWindow registrarWindow;
        ASSERT_NE(registrarWindow.Registrar().BindHotKey(kCtrlAltN), 0);
        EXPECT_FALSE(OtherWindowRegistration(MOD_CONTROL | MOD_ALT, 'N').Registered());
    }
    EXPECT_TRUE(OtherWindowRegistration(MOD_CONTROL | MOD_ALT, 'N').Registered());
    EXPECT_EQ(::GlobalFindAtomW(L"DravlinHotKey49230"), 0);
}

TEST(RegistrarWindow, ACombinationAnotherWindowHoldsIsRefused) {
    const OtherWindowRegistration other(MOD_CONTROL | MOD_ALT, 'N');
    ASSERT_TRUE(other.Registered());
    RegistrarWindow registrarWindow;
    EXPECT_EQ(registrarWindow.Registrar().BindHotKey(kCtrlAltN), 0);
    EXPECT_TRUE(registrarWindow.Registrar().Bindings().empty());
}

// Confirms the first message box a thread shows, keeping its text, as a user would.
class MessageBoxConfirmer {
  public:
    explicit MessageBoxConfirmer(DWORD threadId)
        : threadId_(threadId), thread_(::CreateThread(nullptr, 0, &Run, this, 0, nullptr)) {}
    ~MessageBoxConfirmer() {
        stop_ = true;
        ::WaitForSingleObject(thread_.get(), INFINITE);
    }
    MessageBoxConfirmer(const MessageBoxConfirmer&) = delete;
    MessageBoxConfirmer& operator=(const MessageBoxConfirmer&) = delete;

    bool Confirmed() const { return confirmed_; }
    const std::wstring& Text() const { return text_; }

  private:
    static DWORD WINAPI Run(void* parameter) {
        auto* self = static_cast<MessageBoxConfirmer*>(parameter);
        while (!self->stop_ && !self->confirmed_) {
            ::EnumThreadWindows(self->threadId_, &ConfirmIfMessageBox,
                                reinterpret_cast<LPARAM>(self));
            ::Sleep(20);
        }
        return 0;
    }
    static BOOL CALLBACK ConfirmIfMessageBox(HWND window, LPARAM parameter) {
        auto* self = reinterpret_cast<MessageBoxConfirmer*>(parameter);
        wchar_t className[16] = {};
        ::GetClassNameW(window, className, 16);
        if (std::wstring_view(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
        wchar_t text[256] = {};
        ::GetDlgItemTextW(window, 0xFFFF, text, 256);  // the box's message text
        self->text_ = text;
        ::PostMessageW(window, WM_COMMAND, IDOK, 0);
        self->confirmed_ = true;
        return FALSE;
    }

    DWORD threadId_;
    UniqueKernelHandle thread_;
    std::atomic<bool> stop_ = false;
    std::atomic<bool> confirmed_ = false;
    std::wstring text_;
};

TEST(RegistrarWindow, AnErrorInTheEventIsShownAndTheRegistrarGoesOn) {
    RegistrarWindow registrarWindow;
    HotkeyRegistrar& dravlin = registrarWindow.Registrar();
    int calls = 0;
    dravlin.OnHotKeyPressed = [&](HotKeyValue, std::uint16_t) {
        ++calls;
        throw Error(u"Cannot run the task");
    };
    const std::uint16_t id = dravlin.BindHotKey(kCtrlAltN);
    ASSERT_NE(id, 0);
    const LPARAM keys = MAKELPARAM(MOD_CONTROL | MOD_ALT, 'N');

    const MessageBoxConfirmer confirmer(::GetCurrentThreadId());
    ::PostMessageW(registrarWindow.Handle(), WM_HOTKEY, id, keys);
    ASSERT_TRUE(PumpMessagesUntil([&] { return confirmer.Confirmed(); }, kPressTimeoutMs));
    PumpMessagesFor(100);
    EXPECT_EQ(confirmer.Text(), L"Cannot run the task.");

    dravlin.OnHotKeyPressed = [&](HotKeyValue, std::uint16_t) { ++calls; };
    ::PostMessageW(registrarWindow.Handle(), WM_HOTKEY, id, keys);
    EXPECT_TRUE(PumpMessagesUntil([&] { return calls == 2; }, kPressTimeoutMs));
}

}  // namespace
}  // namespace quorvel
