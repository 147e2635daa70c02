#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "fake_hotkey_api.h"
#include "hotkeys/registrar.h"

namespace quorvel {
namespace {

constexpr std::uintptr_t kWindow = 0x1234;
using testing_support::FakeHotKeyApi;
constexpr HotKeyValue kCtrlAltN = 0x4000 + 0x8000 + 0x4E;

class RegistrarTest : public ::testing::Test, protected HotKeyListener {
  protected:
    RegistrarTest() { registrar->SetListener(this); }

    void OnHotKeyPressed(HotKeyValue hotKey) override { presses.push_back(hotKey); }
    // WM_HOTKEY's keys as the system posts them: the modifier set and the virtual key.
    void PressKeys(std::uint16_t modifiers, std::uint16_t virtualKey) {
        registrar->ReportPress((std::uint32_t{virtualKey} << 16) | modifiers);
    }

    FakeHotKeyApi api;
    std::unique_ptr<HotKeyRegistrar> registrar = std::make_unique<HotKeyRegistrar>(api, kWindow);
    std::vector<HotKeyValue> presses;
};

TEST_F(RegistrarTest, BindsCtrlAltNUnderItsAtomWithoutAutoRepeat) {
    const std::uint16_t id = registrar->BindHotKey(kCtrlAltN);

    ASSERT_EQ(api.atoms.count(u"DravlinHotKey49230"), 1u);
    EXPECT_EQ(id, api.atoms.at(u"DravlinHotKey49230").atom);
    ASSERT_EQ(api.registered.count(id), 1u);
    const FakeHotKeyApi::Registration& registration = api.registered.at(id);
    EXPECT_EQ(registration.window, kWindow);
    EXPECT_EQ(registration.modifiers, kModControl | kModAlt | kModNoRepeat);
    EXPECT_EQ(registration.virtualKey, 0x4Eu);
    ASSERT_EQ(registrar->Bindings().size(), 1u);
    EXPECT_EQ(registrar->Bindings()[0].HotKey, kCtrlAltN);
    EXPECT_EQ(registrar->Bindings()[0].Id, id);
    EXPECT_TRUE(registrar->IsBound(kCtrlAltN));
    EXPECT_FALSE(registrar->IsBound(kCtrlAltN + 0x2000));
}

TEST_F(RegistrarTest, BindingTheSameValueTwiceIsRefusedWithoutAskingTheSystem) {
    ASSERT_NE(registrar->BindHotKey(kCtrlAltN), 0);
    const int asked = api.systemCalls;
    EXPECT_EQ(registrar->BindHotKey(kCtrlAltN), 0);
    EXPECT_EQ(api.systemCalls, asked);
    EXPECT_EQ(registrar->Bindings().size(), 1u);
    EXPECT_EQ(api.AtomCount(kCtrlAltN), 1);
    // Released bindings may be bound again.
    registrar->ReleaseAll();
    EXPECT_FALSE(registrar->IsBound(kCtrlAltN));
    EXPECT_NE(registrar->BindHotKey(kCtrlAltN), 0);
}

TEST_F(RegistrarTest, ACombinationAnotherProgramHoldsIsRefusedWithItsReasonAndItsAtomGivenUp) {
    api.registered[1] = {0x9999, kModControl | kModAlt, 0x4E};
    EXPECT_EQ(registrar->BindHotKey(kCtrlAltN), 0);
    EXPECT_EQ(registrar->LastBindError(), kErrorHotKeyAlreadyRegistered);
    EXPECT_EQ(api.AtomCount(kCtrlAltN), 0);
    // Without an atom nothing is registered.
    api.registered.clear();
    api.atomTableFull = true;
    EXPECT_EQ(registrar->BindHotKey(kCtrlAltN), 0);
    EXPECT_TRUE(api.registered.empty());
    EXPECT_TRUE(registrar->Bindings().empty());
}

TEST_F(RegistrarTest, APressOfABoundHotKeyIsHeardOnceWithTheBoundValue) {
    registrar->BindHotKey(kCtrlAltN);
    const HotKeyValue winShiftF5 = 0x10000 + 0x2000 + 0x74;
    registrar->BindHotKey(winShiftF5);

    PressKeys(kModControl | kModAlt, 0x4E);
    PressKeys(kModWin | kModShift, 0x74);

    EXPECT_EQ(presses, (std::vector<HotKeyValue>{kCtrlAltN, winShiftF5}))
        << "Win and Shift rebuilt from the message";
}

TEST_F(RegistrarTest, PressesOfUnboundKeysOrWithoutAListenerAreHeardByNobody) {
    registrar->BindHotKey(kCtrlAltN);
    PressKeys(kModControl, 0x4E);
    EXPECT_TRUE(presses.empty());

    registrar->SetListener(nullptr);
    PressKeys(kModControl | kModAlt, 0x4E);
    EXPECT_TRUE(presses.empty());
}

TEST_F(RegistrarTest, DestroyingReleasesEveryBindingLastFirstWithItsAtom) {
    const std::uint16_t first = registrar->BindHotKey(kCtrlAltN);
    const std::uint16_t second = registrar->BindHotKey(0x2000 + 0x70);
    const std::uint16_t third = registrar->BindHotKey(0x10000 + 0x41);

    registrar.reset();

    EXPECT_EQ(api.released, (std::vector<int>{third, second, first}));
    EXPECT_TRUE(api.registered.empty());
    for (const HotKeyValue value : {kCtrlAltN, HotKeyValue{0x2070}, HotKeyValue{0x10041}})
        EXPECT_EQ(api.AtomCount(value), 0);
}

TEST_F(RegistrarTest, AFailedReleaseStillGivesUpTheAtomAndTheEntry) {
    registrar->BindHotKey(kCtrlAltN);
    api.failUnregister = true;
    EXPECT_FALSE(registrar->ReleaseBinding(registrar->Bindings()[0]));
    EXPECT_EQ(api.AtomCount(kCtrlAltN), 0);
    registrar->ReleaseAll();
    EXPECT_TRUE(registrar->Bindings().empty());
}

}  // namespace
}  // namespace quorvel
