#pragma once
// A ribbon page inside a pager, as far as a toolbar asks: the toolbar tests and the toolbar
// benchmark put ribbon groups on it. Each answer is a plain field a test may change; the
// page keeps its toolbars in a list and counts the layout requests it gets.
#include <algorithm>
#include <vector>

#include "classlib/Control.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarPageHost.h"

namespace ToolBarTestSupport {

class TFakeToolBarPage : public ClassLib::TCustomControl, public AdvToolBar::IToolBarPageHost {
public:
    using TCustomControl::TCustomControl;

    bool InPager = true;
    AdvToolBar::TCustomAdvToolBarStyler* Styler = nullptr;  // the pager's external styler
    bool HasStyle = false;
    AdvStyleIF::TOVTStyle Style = AdvStyleIF::tsOffice2019White;
    bool DisabledHints = false;
    std::vector<AdvToolBar::TAdvCustomToolBar*> ToolBars;
    int AutoPositions = 0, Shrinks = 0, Grows = 0;

    bool PageInPager() const override { return InPager; }
    AdvToolBar::TCustomAdvToolBarStyler* PagerToolBarStyler() const override { return Styler; }
    bool PagerUIStyle(AdvStyleIF::TOVTStyle& style) const override {
        if (HasStyle) style = Style;
        return HasStyle;
    }
    bool PagerUsesTones() const override { return false; }
    const AdvToolBar::TToolBarAppearance* PagerToolBarAppearance() const override { return nullptr; }
    ClassLib::TColor PagerToolBarCaptionTextColor() const override { return ClassLib::clBlack; }
    const AdvGlowButton::TGlowButtonAppearance* PagerGlowButtonAppearance() const override { return nullptr; }
    GDIPicture::TGDIPPicture* PagerOptionPicture() const override { return nullptr; }
    GDIPicture::TGDIPPicture* PagerOptionDisabledPicture() const override { return nullptr; }
    bool PagerIsGlass() const override { return false; }
    bool PagerOffice2013() const override { return false; }
    const AdvToolBar::TGroupAppearance* TabGroupAppearance() const override { return nullptr; }
    bool ShowDisabledControlsHint() const override { return DisabledHints; }

    int ToolBarCount() const override { return int(ToolBars.size()); }
    int IndexOfToolBar(const AdvToolBar::TAdvCustomToolBar* toolBar) const override {
        const auto found = std::find(ToolBars.begin(), ToolBars.end(), toolBar);
        return found == ToolBars.end() ? -1 : int(found - ToolBars.begin());
    }
    void MoveToolBar(AdvToolBar::TAdvCustomToolBar* toolBar, int index) override {
        const int from = IndexOfToolBar(toolBar);
        if (from < 0) return;
        ToolBars.erase(ToolBars.begin() + from);
        ToolBars.insert(ToolBars.begin() + index, toolBar);
    }
    void AutoPositionAdvToolBars() override { ++AutoPositions; }
    void ShrinkAdvToolBars() override { ++Shrinks; }
    void GrowAdvToolBars() override { ++Grows; }
};

}  // namespace ToolBarTestSupport
