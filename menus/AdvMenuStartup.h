#pragma once
// The menu units' start-up for a program's life: the menu margin fixed for the screen's
// resolution, and the desktop's menu animation switched off while the program runs and
// put back at its end.
#include <functional>

namespace AdvMenus {

// Every popup item is measured this much wider than it is painted, and its popup window
// cuts the strip off again; 17 until the start-up scales it.
extern int MenuExtraWidth;

// Round(17 x pixelsPerInch / 96), halves to even; 0 or less (no device context) counts as 96.
int MenuMarginForDPI(int pixelsPerInch);
// Horizontal pixels per inch over 96: of the main form's window when it has one, else of
// the desktop.
float GetMenuDPIScale();
// MenuExtraWidth for the resolution GetMenuDPIScale finds.
void InitMenuMargin();
// Remembers the desktop's menu-animation setting, then switches animation off for the
// whole desktop (sent to the top-level windows, not written to the user profile).
void SaveAndDisableMenuAnimation();
void DisableMenuAnimation();
// Puts back the setting SaveAndDisableMenuAnimation remembered.
void RestoreMenuAnimation();

// The outside calls of the start-up, replaceable by tests; each starts over the platform.
struct TMenuStartupSeams {
    // SystemParametersInfoW; the result is not examined.
    std::function<bool(unsigned action, unsigned param, void* pvParam, unsigned winIni)> SystemParameters;
    // LOGPIXELSX of the window's device context (null: the desktop's); 0 without a context.
    std::function<int(void* window)> PixelsPerInch;
};
TMenuStartupSeams& MenuStartupSeams();

// Puts the seams back at the end of a scope.
class TMenuStartupSeamsScope {
public:
    TMenuStartupSeamsScope() : FSaved(MenuStartupSeams()) {}
    ~TMenuStartupSeamsScope() { MenuStartupSeams() = FSaved; }
    TMenuStartupSeamsScope(const TMenuStartupSeamsScope&) = delete;
    TMenuStartupSeamsScope& operator=(const TMenuStartupSeamsScope&) = delete;
private:
    TMenuStartupSeams FSaved;
};

// The start-up of the menu utility unit, then of the menu unit (margin, animation off);
// its end restores the animation. Only the first session of a process does this; later
// ones, and their ends, do nothing.
class TMenuUnitSession {
public:
    TMenuUnitSession();
    ~TMenuUnitSession();
    TMenuUnitSession(const TMenuUnitSession&) = delete;
    TMenuUnitSession& operator=(const TMenuUnitSession&) = delete;
};

}  // namespace AdvMenus
