#pragma once
// How a set of colour tones, or an office tone set with its group style, becomes the
// pager's own looks: page, caption, tab, toolbar, glow-button and group copies, and the two
// process-wide tone sets. Values in, records out: no window is touched here.
#include "classlib/Colors.h"
#include "controls/AdvGlowButtonAppearance.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarPagerAppearance.h"
#include "menus/AdvToolBarStyler.h"

namespace AdvToolBar {

// The pager's appearance copies a tone operation fills; each pointer must be set.
struct TPagerToneLooks {
    TVistaPageBackground* Page = nullptr;
    TCaptionAppearance* Caption = nullptr;
    TCustomTabAppearance* Tab = nullptr;
    TToolBarAppearance* ToolBar = nullptr;
    AdvGlowButton::TGlowButtonAppearance* Glow = nullptr;
    AdvGlowButton::TGlowButtonAppearance* PageGlow = nullptr;
    TGroupAppearance* Group = nullptr;  // colour tones only; office tones leave it
    // Written besides the records.
    ClassLib::TColor PagerColor = ClassLib::clNone;
    ClassLib::TColor ToolBarCaptionTextColor = ClassLib::clNone;
};

// Flat looks from one tone set (the application style's or a custom style's).
void ApplyColorTonesToLooks(const AdvStyleIF::TColorTones& tones, TPagerToneLooks& looks);

// The working set of office tones: the buttons' tones with the application colour's hover
// and selected tones. A missing application colour counts as the default one.
AdvStyleIF::TColorTones OfficeWorkingTones(const TOfficeTones& tones);

// Office looks for one group style.
void ApplyOfficeTonesToLooks(const TOfficeTones& tones, TGroupStyle groupStyle, TPagerToneLooks& looks);

// What office tones leave in the ribbon's shared tone set (`current` for the classic and
// Windows 8 group styles, which keep it) and in the application button's tone set.
AdvStyleIF::TColorTones OfficeRibbonColorTones(const TOfficeTones& tones, TGroupStyle groupStyle,
                                               const AdvStyleIF::TColorTones& current);
AdvStyleIF::TColorTones OfficeAppButtonColorTones(const TOfficeTones& tones, const AdvStyleIF::TColorTones& current);

// Only the 2019 group style lays its tabs out differently (bold captions, closed gaps):
// a switch into or out of it must measure the tabs again.
inline bool GroupStyleChangesTabLayout(TGroupStyle from, TGroupStyle to) {
    return from != to && (from == gsOffice2019 || to == gsOffice2019);
}

// The presets that keep the pager's group style; every other one returns it to classic.
bool StyleKeepsGroupStyle(AdvStyleIF::TOVTStyle style);

}  // namespace AdvToolBar
