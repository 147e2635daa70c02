#include <windows.h>

#include <gtest/gtest.h>

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

struct Press {
    HotKeyValue hotKey;
    std::uint16_t index;
};

TEST(RegistrarWindow, ReportsOnePressOfCtrlAltNWithTheBoundValueAndId) {
    RegistrarWindow registrarWindow;
    HotKeyRegistrar& registrar = registrarWindow.Registrar();
    std::vector<Press> presses;
    registrar.OnHotKeyPressed = [&](HotKeyValue hotKey, std::uint16_t index) {
        presses.push_back({hotKey, index});
    };
    const std::uint16_t id = registrar.BindHotKey(kCtrlAltN);
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
    int calls = 0;
    registrar.OnHotKeyPressed = [&](HotKeyValue, std::uint16_t) {
        ++calls;
        throw Error(u"Cannot run the task");
    };
    const std::uint16_t id = registrar.BindHotKey(kCtrlAltN);
    ASSERT_NE(id, 0);
    const LPARAM keys = MAKELPARAM(MOD_CONTROL | MOD_ALT, 'N');

    const BoxAnswerer answerer(IDOK);
    ::PostMessageW(registrarWindow.Handle(), WM_HOTKEY, id, keys);
    ASSERT_TRUE(PumpMessagesUntil([&] { return calls == 1; }, kPressTimeoutMs));
    EXPECT_EQ(answerer.texts, std::vector<std::wstring>{L"Cannot run the task."});

    registrar.OnHotKeyPressed = [&](HotKeyValue, std::uint16_t) { ++calls; };
    ::PostMessageW(registrarWindow.Handle(), WM_HOTKEY, id, keys);
    EXPECT_TRUE(PumpMessagesUntil([&] { return calls == 2; }, kPressTimeoutMs));
}

}  // namespace
}  // namespace quorvel
