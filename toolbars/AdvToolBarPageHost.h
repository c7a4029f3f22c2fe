#pragma once
// What a toolbar asks of the ribbon page it stands on. The ribbon builds on the toolbars, never
// the other way round, so a toolbar knows pages and pagers only through this interface: the
// ribbon's page implements it, and a page shown in a minimized-ribbon window answers for the
// pager's page it copies. A toolbar whose parent does not implement it is on no ribbon page.
#include <string>
#include <vector>

#include "classlib/Colors.h"
#include "graphics/AdvStyleIF.h"

namespace AdvGlowButton {
class TAdvGlowButton;
class TGlowButtonAppearance;
}
namespace GDIPicture {
class TGDIPPicture;
}

namespace AdvToolBar {

class TAdvCustomToolBar;
class TCustomAdvToolBarStyler;
class TGroupAppearance;
class TToolBarAppearance;

class IToolBarPageHost {
public:
    // The page sits in a pager, or in a minimized-ribbon window that shows a pager's page.
    // Only then is a toolbar on it a ribbon group with the pager's looks.
    virtual bool PageInPager() const = 0;

    // The pager's styler that toolbars with ParentStyler paint with: its current one when
    // it has an external styler (or the page is in a minimized-ribbon window); null leaves
    // them on their own styler.
    virtual TCustomAdvToolBarStyler* PagerToolBarStyler() const = 0;
    // True, with the pager's style, when the pager has no external styler: the style a
    // toolbar on the page takes whatever style it is given.
    virtual bool PagerUIStyle(AdvStyleIF::TOVTStyle& style) const = 0;

    // The pager's office tones: on, its toolbar appearance (background and border), the
    // caption text colour they give group captions, and its glow-button appearance.
    virtual bool PagerUsesTones() const = 0;
    virtual const TToolBarAppearance* PagerToolBarAppearance() const = 0;
    virtual ClassLib::TColor PagerToolBarCaptionTextColor() const = 0;
    virtual const AdvGlowButton::TGlowButtonAppearance* PagerGlowButtonAppearance() const = 0;
    // The pager's option-indicator pictures (never null; empty when it has none).
    virtual GDIPicture::TGDIPPicture* PagerOptionPicture() const = 0;
    virtual GDIPicture::TGDIPPicture* PagerOptionDisabledPicture() const = 0;
    // The pager draws on glass (without the form test).
    virtual bool PagerIsGlass() const = 0;
    virtual bool PagerOffice2013() const = 0;
    // The page is the pager's active page and belongs to a tab group: the group's colours
    // (the styler's GroupAppearance when the group keeps the default look); else null.
    virtual const TGroupAppearance* TabGroupAppearance() const = 0;
    virtual bool ShowDisabledControlsHint() const = 0;

    // The page's toolbars in their order, and the page's layout of them.
    virtual int ToolBarCount() const = 0;
    virtual int IndexOfToolBar(const TAdvCustomToolBar* toolBar) const = 0;
    virtual void MoveToolBar(TAdvCustomToolBar* toolBar, int index) = 0;
    virtual void AutoPositionAdvToolBars() = 0;
    virtual void ShrinkAdvToolBars() = 0;
    virtual void GrowAdvToolBars() = 0;

    // ---- compact groups and the page's layout of them ----
    // Arranges every toolbar again: shrinks, grows, compacts or expands as the width asks.
    virtual void UpdateAllToolBars() {}
    // The pager's rounded tab edges (the compact button's corners under office tones).
    virtual bool PagerTabRoundEdges() const { return true; }
    // A compact window of a toolbar on the page closed; `compactButton` was its button.
    virtual void CompactWindowClosed(AdvGlowButton::TAdvGlowButton* compactButton) { (void)compactButton; }
    // The page shows in a floating ribbon window: it must not hide while a compact window
    // opens from it. Returns whether it would have hidden; Resume puts that back.
    virtual bool SuspendFloatingRibbonHide() { return false; }
    virtual void ResumeFloatingRibbonHide(bool hideOnDeactivate) { (void)hideOnDeactivate; }
    // Key tips: the page keeps the group key-tip mode and the characters typed in it, and
    // passes on what the keyboard asks of the pager. A host without key tips answers no.
    virtual bool ToolBarShortCutShowing() const { return false; }
    // Appends a typed character; the characters typed so far in this mode.
    virtual std::wstring AppendShortCutChar(wchar_t) { return {}; }
    // Asks the page's groups to match the characters; true when a button was pressed.
    virtual bool MatchToolBarShortCut(const std::wstring&) { return false; }
    virtual void ShowShortCutHintOfAdvToolBars() {}
    virtual void HideShortCutHintOfAdvToolBars() {}
    // The tab's own key tip shows.
    virtual bool TabShortCutHintShowing() const { return false; }
    // Back to the tab key tips of the pager.
    virtual void ShowPagerTabShortCutHint() {}
    // The focus goes back to the tab row, the page change counted as a key press.
    virtual void FocusPagerByKeyPress() {}
    // The focus goes back where it was before the keyboard work started.
    virtual void RestorePagerFocus() {}
    virtual bool PagerFloatingRibbonShowing() const { return false; }
    virtual void HidePagerFloatingRibbon() {}
    // The page is a copy shown in the collapsed ribbon's floating window.
    virtual bool InFloatingRibbon() const { return false; }
    // The page's toolbars ordered by their Left.
    virtual std::vector<TAdvCustomToolBar*> ToolBarsByLeft() const { return {}; }

protected:
    ~IToolBarPageHost() = default;
};

}  // namespace AdvToolBar
