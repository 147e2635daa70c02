#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "common/error.h"
#include "box_answerer_win.h"
#include "hotkeys/registrar_win.h"
#include "input_win.h"

namespace quorvel {
namespace {

constexpr HotKeyValue kCtrlAltN = 0x4000 + 0x8000 + 0x4E;
constexpr DWORD kPressTimeoutMs = 5000;

void PumpMessagesFor(DWORD milliseconds) {
    PumpMessagesUntil([] { return false; }, milliseconds);
}

// Hears the presses, and runs `onPress` at each.
struct PressListener final : HotKeyListener {
    void OnHotKeyPressed(HotKeyValue hotKey) override {
        presses.push_back(hotKey);
        if (onPress) onPress();
    }
    std::vector<HotKeyValue> presses;
    std::function<void()> onPress;
};

TEST(RegistrarWindow, ReportsOnePressOfCtrlAltNWithTheBoundValue) {
    RegistrarWindow registrarWindow;
    HotKeyRegistrar& registrar = registrarWindow.Registrar();
    PressListener listener;
    registrar.SetListener(&listener);
    ASSERT_NE(registrar.BindHotKey(kCtrlAltN), 0);

    PressTogether({VK_CONTROL, VK_MENU, 'N'});

    ASSERT_TRUE(PumpMessagesUntil([&] { return !listener.presses.empty(); }, kPressTimeoutMs));
    PumpMessagesFor(300);
    EXPECT_EQ(listener.presses, std::vector<HotKeyValue>{kCtrlAltN});
}

TEST(RegistrarWindow, UsesTheNamedAtomAndRefusesASecondBindingOfTheSameValue) {
    RegistrarWindow registrarWindow;
    HotKeyRegistrar& registrar = registrarWindow.Registrar();
    const std::uint16_t id = registrar.BindHotKey(kCtrlAltN);
    ASSERT_NE(id, 0);
    EXPECT_EQ(::GlobalFindAtomW(L"DravlinHotKey49230"), id);

    EXPECT_EQ(registrar.BindHotKey(kCtrlAltN), 0);
    EXPECT_EQ(registrar.Bindings().size(), 1u);
    EXPECT_EQ(::GlobalFindAtomW(L"DravlinHotKey49230"), id);
}

TEST(RegistrarWindow, HoldsTheCombinationUntilDestroyedThenGivesItBack) {
    {
        RegistrarWindow registrarWindow;
        ASSERT_NE(registrarWindow.Registrar().BindHotKey(kCtrlAltN), 0);
        EXPECT_TRUE(HotKeyTaken(MOD_CONTROL | MOD_ALT, 'N'));
    }
    EXPECT_FALSE(HotKeyTaken(MOD_CONTROL | MOD_ALT, 'N'));
    EXPECT_EQ(::GlobalFindAtomW(L"DravlinHotKey49230"), 0);
}

TEST(RegistrarWindow, ACombinationAnotherWindowHoldsIsRefused) {
    // This test's thread is the other program.
    ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'N'));
    RegistrarWindow registrarWindow;
    EXPECT_EQ(registrarWindow.Registrar().BindHotKey(kCtrlAltN), 0);
    EXPECT_TRUE(registrarWindow.Registrar().Bindings().empty());
    ::UnregisterHotKey(nullptr, 1);
}

TEST(RegistrarWindow, AnErrorInTheEventIsShownAndTheRegistrarGoesOn) {
    RegistrarWindow registrarWindow;
    HotKeyRegistrar& registrar = registrarWindow.Registrar();
    PressListener listener;
    listener.onPress = [] { throw Error(u"Cannot run the task"); };
    registrar.SetListener(&listener);
    const auto calls = [&] { return listener.presses.size(); };
    const std::uint16_t id = registrar.BindHotKey(kCtrlAltN);
    ASSERT_NE(id, 0);
    const LPARAM keys = MAKELPARAM(MOD_CONTROL | MOD_ALT, 'N');

    const BoxAnswerer answerer(IDOK);
    ::PostMessageW(registrarWindow.Handle(), WM_HOTKEY, id, keys);
    ASSERT_TRUE(PumpMessagesUntil([&] { return calls() == 1; }, kPressTimeoutMs));
    EXPECT_EQ(answerer.texts, std::vector<std::wstring>{L"Cannot run the task."});

    listener.onPress = nullptr;
    ::PostMessageW(registrarWindow.Handle(), WM_HOTKEY, id, keys);
    EXPECT_TRUE(PumpMessagesUntil([&] { return calls() == 2; }, kPressTimeoutMs));
}

}  // namespace
}  // namespace quorvel
