// The ribbon's key-tip machine without windows: the Alt/F10 transitions, tab-tip matching,
// where a tab's tip goes, and the Ctrl+F1 hook's filter.
#include "ribbon/AdvToolBarPagerKeyTips.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace AdvToolBar;
using TKey = TAltKeyMachine::TKeyAnswer;
using TTick = TAltKeyMachine::TTickAnswer;

namespace {

// Ticks until the machine answers something other than None (or the tick budget ends).
TTick TickUntil(TAltKeyMachine& machine, bool alt, bool f10, int ticks, int& used) {
    for (used = 1; used <= ticks; ++used) {
        const TTick answer = machine.Tick(alt, f10);
        if (answer != TTick::None) return answer;
    }
    return TTick::None;
}

}  // namespace

TEST(AltKeyMachine, AltOrF10ReleasedAloneShowsTips) {
    for (unsigned key : {VirtualKeyAlt, VirtualKeyF10}) {
        SCOPED_TRACE(key);
        TAltKeyMachine machine;
        EXPECT_EQ(machine.DialogKey(key, {}), TKey::StartAlt);
        EXPECT_TRUE(machine.TimerRunning());
        EXPECT_EQ(machine.Tick(key == VirtualKeyAlt, key == VirtualKeyF10), TTick::None);  // still held
        EXPECT_EQ(machine.Tick(false, false), TTick::Activate);
        EXPECT_FALSE(machine.TimerRunning());
        EXPECT_FALSE(machine.AltDown());
        EXPECT_EQ(machine.Delay(), 0u);
    }
}

TEST(AltKeyMachine, OnlyAltHeldShowsTipsAfter700ms) {
    TAltKeyMachine alt;
    alt.DialogKey(VirtualKeyAlt, {});
    int ticks = 0;
    EXPECT_EQ(TickUntil(alt, true, false, 100, ticks), TTick::Activate);
    EXPECT_EQ(ticks, int(AltHoldThreshold / AltTimerInterval));
    EXPECT_TRUE(alt.AltDown()) << "Alt is still held: a repeat must not close the tips";
    alt.SetTipsShowing(true);
    EXPECT_EQ(alt.DialogKey(VirtualKeyAlt, {}), TKey::Pass);  // auto-repeat while held
    alt.KeyUp(false);
    EXPECT_EQ(alt.DialogKey(VirtualKeyAlt, {}), TKey::CloseTips);  // a second Alt

    TAltKeyMachine f10;
    f10.DialogKey(VirtualKeyF10, {});
    EXPECT_EQ(TickUntil(f10, false, true, 100, ticks), TTick::None) << "F10 held shows nothing";
    EXPECT_EQ(f10.Tick(false, false), TTick::Activate) << "F10 released after the hold";
}

TEST(AltKeyMachine, AnotherKeyOrAnAcceleratorStopsTheTimer) {
    TAltKeyMachine accelerator;
    accelerator.DialogKey(VirtualKeyAlt, {});
    accelerator.DialogChar();
    EXPECT_EQ(accelerator.Tick(true, false), TTick::Stopped);
    EXPECT_FALSE(accelerator.TimerRunning());

    TAltKeyMachine otherKey;
    otherKey.DialogKey(VirtualKeyAlt, {});
    EXPECT_EQ(otherKey.DialogKey('X', {}), TKey::Pass);  // Alt+X: not a tip key
    EXPECT_EQ(otherKey.Tick(false, false), TTick::Stopped);
}

TEST(AltKeyMachine, WhatIgnoresAltAndF10) {
    struct TCase { const char* Name; TAltKeyMachine::TPagerState State; bool Ignore; };
    const TCase cases[] = {
        {"TabStop off", {false, true, true}, false},
        {"no active page", {true, false, true}, false},
        {"cannot take the focus", {true, true, false}, false},
        {"ignore-Alt message", {true, true, true}, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAltKeyMachine machine;
        machine.SetIgnoreAlt(c.Ignore);
        EXPECT_EQ(machine.DialogKey(VirtualKeyAlt, c.State), TKey::Pass);
        EXPECT_FALSE(machine.TimerRunning());
        EXPECT_EQ(machine.Tick(false, false), TTick::None);
    }
    TAltKeyMachine machine;
    machine.SetIgnoreAlt(true);
    machine.SetIgnoreAlt(false);  // the message with wParam 0
    EXPECT_EQ(machine.DialogKey(VirtualKeyF10, {}), TKey::StartAlt);
}

TEST(TabTipChars, NumPadDigitsAndKeyCodes) {
    EXPECT_EQ(TabTipChar(0x60), L'0');
    EXPECT_EQ(TabTipChar(0x61), L'1');
    EXPECT_EQ(TabTipChar(0x69), L'9');
    EXPECT_EQ(TabTipChar('H'), L'H');
    EXPECT_EQ(TabTipChar('7'), L'7');
}

TEST(TabTipMatch, TableOfCases) {
    struct TCase { const char* Name; std::vector<TTabTip> Tabs; const wchar_t* Typed; int Full; bool Handled; std::vector<int> Hidden; int Visible; };
    const TCase cases[] = {
        {"H and HV: H selects the first at once", {{L"H"}, {L"HV"}}, L"H", 0, true, {}, 0},
        {"HV typed fully", {{L"H"}, {L"HV"}}, L"HV", 1, true, {0}, 0},
        {"H1 and H2: H is a prefix of both", {{L"H1"}, {L"H2"}}, L"H", -1, true, {}, 2},
        {"then X matches nothing", {{L"H1"}, {L"H2"}}, L"HX", -1, false, {0, 1}, 0},
        {"case-insensitive", {{L"n"}}, L"N", 0, true, {}, 0},
        {"a digit from the numeric pad", {{L"1"}, {L"2"}}, std::wstring(1, TabTipChar(0x61)).c_str(), 0, true, {}, 0},
        {"disabled tab still matches fully", {{L"P", false, true, false}}, L"P", 0, true, {}, 0},
        {"a tab without a tip is counted while its tip shows", {{L""}, {L"Q"}}, L"X", -1, false, {1}, 1},
        {"a hidden tab's tip does not count", {{L"A1", true, false, false}, {L"A2"}}, L"A", -1, true, {}, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TTabTipMatch match = MatchTabTips(c.Tabs, c.Typed);
        EXPECT_EQ(match.Full, c.Full);
        EXPECT_EQ(match.Handled, c.Handled);
        EXPECT_EQ(match.Hidden, c.Hidden);
        EXPECT_EQ(match.VisibleCount, c.Visible);
    }
}

TEST(TabTipPlace, BySideOfTheTab) {
    // Tab at (100, 50), 60 x 26; tip 17 x 19 (odd sizes show the divisions).
    struct TCase { TTabTipSide Side; bool Moves; int Left; int Top; };
    const TCase cases[] = {
        {TTabTipSide::Left, true, 100 - 8, 50 + 3},
        {TTabTipSide::Top, true, 100 + 21, 50 - 9},
        {TTabTipSide::Right, true, 160 - 8, 50 + 3},
        {TTabTipSide::Bottom, true, 100 + 21, 76 - 9},
        {TTabTipSide::Other, false, -1, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Side));
        int left = -1, top = -1;
        EXPECT_EQ(PlaceTabTip(c.Side, 100, 50, 60, 26, 17, 19, left, top), c.Moves);
        EXPECT_EQ(left, c.Left);
        EXPECT_EQ(top, c.Top);
    }
}

TEST(RibbonToggleKey, CtrlF1OncePerPressNotWithShiftOrAlt) {
    EXPECT_TRUE(IsRibbonToggle(VirtualKeyF1, true, false, false));
    EXPECT_FALSE(IsRibbonToggle(VirtualKeyF1, false, false, false));
    EXPECT_FALSE(IsRibbonToggle(VirtualKeyF1, true, true, false));
    EXPECT_FALSE(IsRibbonToggle(VirtualKeyF1, true, false, true));
    EXPECT_FALSE(IsRibbonToggle(VirtualKeyF10, true, false, false));

    TKeyPressFilter filter;
    EXPECT_TRUE(filter.KeyDown(17));   // Ctrl
    EXPECT_TRUE(filter.KeyDown(112));  // F1
    EXPECT_FALSE(filter.KeyDown(112)); // auto-repeat
    filter.KeyUp();
    EXPECT_TRUE(filter.KeyDown(112));  // the next press
}
