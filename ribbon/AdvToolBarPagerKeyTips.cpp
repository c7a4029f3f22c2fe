#include "ribbon/AdvToolBarPagerKeyTips.h"

#include <cwctype>

namespace AdvToolBar {

namespace {

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = wchar_t(std::towupper(c));
    return text;
}

}  // namespace

TAltKeyMachine::TKeyAnswer TAltKeyMachine::DialogKey(unsigned key, const TPagerState& pager) {
    if (!pager.TabStop || FIgnoreAlt || !pager.HasActivePage || (key != VirtualKeyAlt && key != VirtualKeyF10)) {
        FOnlyAlt = false;
        return TKeyAnswer::Pass;
    }
    if (!FTipsShowing && pager.CanFocus) {
        FAltDown = true;
        FOnlyAlt = true;
        FTimerRunning = true;
        return TKeyAnswer::StartAlt;
    }
    if (FTipsShowing && !FAltDown) return TKeyAnswer::CloseTips;
    return TKeyAnswer::Pass;
}

TAltKeyMachine::TTickAnswer TAltKeyMachine::Tick(bool altHeld, bool f10Held) {
    if (!FTimerRunning) return TTickAnswer::None;
    if (!FOnlyAlt) {
        FTimerRunning = false;
        FDelay = 0;
        return TTickAnswer::Stopped;
    }
    if (!altHeld && !f10Held) {
        FDelay = 0;
        FTimerRunning = false;
        FOnlyAlt = false;
        FAltDown = false;
        return TTickAnswer::Activate;
    }
    FDelay += AltTimerInterval;
    if (FDelay >= AltHoldThreshold && altHeld) {
        FDelay = 0;
        FTimerRunning = false;
        FOnlyAlt = false;
        return TTickAnswer::Activate;
    }
    return TTickAnswer::None;
}

wchar_t TabTipChar(unsigned virtualKey) {
    constexpr unsigned numPad0 = 0x60, numPad9 = 0x69;
    if (virtualKey >= numPad0 && virtualKey <= numPad9) return wchar_t(L'0' + (virtualKey - numPad0));
    return wchar_t(virtualKey);
}

TTabTipMatch MatchTabTips(const std::vector<TTabTip>& tabs, const std::wstring& typed) {
    TTabTipMatch match;
    const std::wstring keys = Upper(typed);
    for (int i = 0; i < int(tabs.size()); ++i) {
        const TTabTip& tab = tabs[size_t(i)];
        const std::wstring text = Upper(tab.Text);
        if (text == keys) {
            match.Full = i;
            match.Handled = true;
            match.VisibleCount = 0;  // every tab tip hides on a full match
            return match;
        }
        bool showing = tab.TipShowing;
        if (!text.empty()) {
            if (text.compare(0, keys.size(), keys) != 0) {
                match.Hidden.push_back(i);
                showing = false;
            } else {
                match.Handled = true;
            }
        }
        if (showing) ++match.VisibleCount;
    }
    return match;
}

bool PlaceTabTip(TTabTipSide side, int x, int y, int tabWidth, int tabHeight, int tipWidth, int tipHeight,
                 int& left, int& top) {
    switch (side) {
        case TTabTipSide::Left:
            left = x - tipWidth / 2;
            top = y + (tabHeight - tipHeight) / 2;
            return true;
        case TTabTipSide::Top:
            left = x + (tabWidth - tipWidth) / 2;
            top = y - tipHeight / 2;
            return true;
        case TTabTipSide::Right:
            left = x + tabWidth - tipWidth / 2;
            top = y + (tabHeight - tipHeight) / 2;
            return true;
        case TTabTipSide::Bottom:
            left = x + (tabWidth - tipWidth) / 2;
            top = y + tabHeight - tipHeight / 2;
            return true;
        case TTabTipSide::Other: break;
    }
    return false;
}

bool TKeyPressFilter::KeyDown(int key) {
    if (key == FLastKey) return false;
    FLastKey = key;
    return true;
}

bool IsRibbonToggle(unsigned key, bool ctrl, bool shift, bool alt) {
    return key == VirtualKeyF1 && ctrl && !shift && !alt;
}

}  // namespace AdvToolBar
