#pragma once
// The ribbon's key-tip machine without windows: when Alt or F10 brings up the tab key tips,
// how typed characters pick a tab, where a tab's tip goes, and which key presses reach the
// Ctrl+F1 toggle. The pager feeds it keys, timer ticks and key states and does what it answers.
#include <string>
#include <vector>

namespace AdvToolBar {

// Alt held this long (ms) brings the tips up while it is still held.
constexpr unsigned AltHoldThreshold = 700;
// The Alt timer's interval (ms).
constexpr unsigned AltTimerInterval = 50;

constexpr unsigned VirtualKeyAlt = 0x12, VirtualKeyF10 = 0x79, VirtualKeyF1 = 0x70;

class TAltKeyMachine {
public:
    // What the pager knows when a dialog key arrives.
    struct TPagerState {
        bool TabStop = true;
        bool HasActivePage = true;
        bool CanFocus = true;
    };
    enum class TKeyAnswer {
        Pass,       // not ours: the inherited handling runs, result 0
        StartAlt,   // remember the focused window, start the timer; result 1
        CloseTips,  // a second Alt: the tab tips hide; result 1
    };
    enum class TTickAnswer {
        None,      // keep waiting
        Stopped,   // another key came: nothing shows
        Activate,  // show the tab tips (when the form is active) and end toolbar tips
    };

    TKeyAnswer DialogKey(unsigned key, const TPagerState& pager);
    // A character with Alt (an accelerator): the timer will show nothing.
    void DialogChar() { FOnlyAlt = false; }
    void KeyUp(bool altHeld) { FAltDown = altHeld; }
    TTickAnswer Tick(bool altHeld, bool f10Held);
    // The registered "ignore Alt" message: non-zero ignores Alt and F10 until zero comes.
    void SetIgnoreAlt(bool value) { FIgnoreAlt = value; }
    void SetTipsShowing(bool value) { FTipsShowing = value; }

    bool AltDown() const { return FAltDown; }
    bool OnlyAlt() const { return FOnlyAlt; }
    bool IgnoreAlt() const { return FIgnoreAlt; }
    bool TimerRunning() const { return FTimerRunning; }
    unsigned Delay() const { return FDelay; }
    bool TipsShowing() const { return FTipsShowing; }

private:
    bool FAltDown = false;
    bool FOnlyAlt = false;      // Alt/F10 went down and no other key came since
    bool FIgnoreAlt = false;
    bool FTimerRunning = false;
    unsigned FDelay = 0;        // invariant: 0 while the timer is off
    bool FTipsShowing = false;  // the tab tips show
};

// The character a key types while the tab tips show: numeric-pad digits as digits, any
// other key as the character of its code (letters arrive upper-case).
wchar_t TabTipChar(unsigned virtualKey);

// One tab as the tab-tip matcher sees it.
struct TTabTip {
    std::wstring Text;
    bool TabEnabled = true;
    bool TabVisible = true;
    bool TipShowing = true;  // its tip window exists and is visible before this key
};

struct TTabTipMatch {
    int Full = -1;              // the first tab whose tip equals the typed characters
    bool Handled = false;       // a full match or a prefix
    std::vector<int> Hidden;    // tabs whose tips no longer match (before a full match)
    int VisibleCount = 0;       // tips still showing after this key
};

// Case-insensitive, in tab order; the first full match wins and ends the scan.
TTabTipMatch MatchTabTips(const std::vector<TTabTip>& tabs, const std::wstring& typed);

// Where a tab's tip goes for the page's ShortCutHintPos: P is the tab's top-left corner on
// the screen, (tabWidth, tabHeight) its size, (tipWidth, tipHeight) the tip's. Any other
// place keeps the tip where it was (returns false).
enum class TTabTipSide { Left, Top, Right, Bottom, Other };
bool PlaceTabTip(TTabTipSide side, int x, int y, int tabWidth, int tabHeight, int tipWidth, int tipHeight,
                 int& left, int& top);

// The message hook's filter: a held key repeats its key-down messages; only the first of
// each press counts.
class TKeyPressFilter {
public:
    // True for the first key-down of a press.
    bool KeyDown(int key);
    void KeyUp() { FLastKey = -1; }
private:
    int FLastKey = -1;
};

// Typed characters that match nothing beep; tests count instead.
extern void (*KeyTipBeep)();

// Ctrl+F1 toggles the ribbon; not with Shift or Alt.
bool IsRibbonToggle(unsigned key, bool ctrl, bool shift, bool alt);

}  // namespace AdvToolBar
