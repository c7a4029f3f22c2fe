// The page's layout of its ribbon groups on fake toolbars: the choice rules of the three
// passes, placement and the toolbar scroller.
#include "ribbon/AdvPageAutoLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace AdvToolBar;
using namespace AdvGlowButton;

namespace {

// A group whose size steps are listed in advance: each step gives (shrink) or takes (grow)
// its width. Every call is logged so a test sees which group the pass chose.
struct TFakeBar : IPageToolBar {
    std::string Name;
    int FLeft = 0, FWidth = 100;
    bool FVisible = true, Compact = false, Auto = true, Loaded = true, Smallest = false;
    int Expanded = 0, CompactWidth = 45;
    struct TStep {
        int Width;
        TButtonSizeState State;
    };
    std::vector<TStep> Shrinks, Grows;  // next step first
    std::vector<std::string>* Log = nullptr;

    int Left() const override { return FLeft; }
    int Width() const override { return FWidth; }
    bool Visible() const override { return FVisible; }
    bool IsCompact() const override { return Compact; }
    bool IsAutoCompacted() const override { return Auto; }
    bool PropertiesLoaded() const override { return Loaded; }
    int GetExpandedWidth() override { return Expanded; }
    int GetCompactWidth() override { return CompactWidth; }
    int GetGrowWidth(TButtonSizeState& s) override { return GrowButtons(s, false); }
    int GetShrinkWidth(TButtonSizeState& s) override { return ShrinkButtons(s, false); }
    int GrowButtons(TButtonSizeState& s, bool apply) override { return Step(Grows, Shrinks, s, apply, +1, "grow "); }
    int ShrinkButtons(TButtonSizeState& s, bool apply) override {
        return Step(Shrinks, Grows, s, apply, -1, "shrink ");
    }
    int Step(std::vector<TStep>& from, std::vector<TStep>& back, TButtonSizeState& s, bool apply, int sign,
             const char* what) {
        if (from.empty()) return 0;
        const TStep step = from.front();
        s = step.State;
        if (!apply) return step.Width;
        from.erase(from.begin());
        back.insert(back.begin(), step);
        FWidth += sign * step.Width;
        Log->push_back(what + Name);
        return step.Width;
    }
    void ApplyCompact(bool value) override {
        if (value == Compact) return;
        Log->push_back((value ? "compact " : "expand ") + Name);
        Compact = value;
        if (value) {
            Expanded = FWidth;
            FWidth = CompactWidth;
        } else {
            FWidth = Expanded;
        }
    }
    void SetCompactSmallest(bool value) override { Smallest = value; }
};

struct TFakePage : IPageToolBarRow {
    int FWidth = 400, FPadding = 0;
    bool Designing_ = false, AutoCompact_ = true;
    std::vector<std::unique_ptr<TFakeBar>> Bars;
    std::vector<std::string> Log;
    int Arranges = 0;

    TFakeBar& Add(const std::string& name, int width) {
        Bars.push_back(std::make_unique<TFakeBar>());
        Bars.back()->Name = name;
        Bars.back()->FWidth = width;
        Bars.back()->Log = &Log;
        Arrange();
        --Arranges;
        return *Bars.back();
    }
    int PageWidth() const override { return FWidth; }
    int Padding() const override { return FPadding; }
    bool Designing() const override { return Designing_; }
    bool AutoCompact() const override { return AutoCompact_; }
    std::vector<IPageToolBar*> ToolBarsByLeft() const override {
        std::vector<IPageToolBar*> list;
        for (const auto& bar : Bars)
            if (bar->FVisible) list.push_back(bar.get());
        return list;
    }
    void Arrange() override {
        ++Arranges;
        int x = 3;
        for (auto& bar : Bars) {
            if (!bar->FVisible) continue;
            bar->FLeft = x;
            x += bar->FWidth + 3;
        }
    }
    int Right() const {
        const TFakeBar& last = *Bars.back();
        return last.FLeft + last.FWidth;
    }
};

using Log = std::vector<std::string>;

}  // namespace

TEST(PageAutoLayout, FullPassChoosesStepsByItsRules) {
    struct TCase {
        const char* Name;
        std::function<void(TFakePage&)> Build;
        Log Expected;
    };
    const TCase cases[] = {
        {"F = 0 counts as full: one shrink, then the gained room is kept",
         [](TFakePage& p) {
             p.FWidth = 3 + 100 + 3 + 100 + 2 + 3 - 3;  // the last toolbar ends 2 pixels before the edge
             p.Add("a", 100).Shrinks = {{30, bsLabel}};
             p.Add("b", 100).Shrinks = {{20, bsLabel}};
         },
         {"shrink b"}},
        {"large-to-label beats label-to-glyph, the rightmost first among equals",
         [](TFakePage& p) {
             p.FWidth = 200;
             p.Add("a", 100).Shrinks = {{30, bsLabel}};
             p.Add("b", 100).Shrinks = {{60, bsGlyph}};
             p.Add("c", 100).Shrinks = {{30, bsLabel}};
         },
         // a replaces c: c's step alone does not cover the overflow.
         {"shrink a", "shrink c", "shrink b"}},
        {"no step left: the rightmost eligible group compacts",
         [](TFakePage& p) {
             p.FWidth = 160;
             p.Add("a", 100);
             p.Add("b", 100);
         },
         {"compact b"}},
        {"room again: only the first compact candidate may expand",
         [](TFakePage& p) {
             p.FWidth = 400;
             TFakeBar& a = p.Add("a", 45);
             a.Compact = true, a.Expanded = 500;  // does not fit: nothing else happens either
             TFakeBar& b = p.Add("b", 45);
             b.Compact = true, b.Expanded = 60;
             p.Add("c", 100).Grows = {{10, bsLabel}};
         },
         {}},
        {"an expanded group fits, then glyph-to-label beats label-to-large",
         [](TFakePage& p) {
             p.FWidth = 400;
             TFakeBar& a = p.Add("a", 45);
             a.Compact = true, a.Expanded = 100;
             p.Add("b", 100).Grows = {{20, bsLarge}};
             p.Add("c", 100).Grows = {{10, bsLabel}};
         },
         {"expand a", "grow c", "grow b"}},
        {"a group set compact by hand stays",
         [](TFakePage& p) {
             p.FWidth = 400;
             TFakeBar& a = p.Add("a", 45);
             a.Compact = true, a.Auto = false, a.Expanded = 100;
         },
         {}},
        {"a group not loaded is left alone",
         [](TFakePage& p) {
             p.FWidth = 150;
             p.Add("a", 100).Loaded = false;
             p.Add("b", 100).Loaded = false;
         },
         {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakePage page;
        c.Build(page);
        UpdateAllToolBars(page);
        EXPECT_EQ(page.Log, c.Expected);
    }
}

TEST(PageAutoLayout, OneWayPassesOnResize) {
    {
        SCOPED_TRACE("narrower: among equal states only a smaller step replaces");
        TFakePage page;
        page.FWidth = 180;
        page.Add("a", 100).Shrinks = {{20, bsLabel}};
        page.Add("b", 100).Shrinks = {{40, bsLabel}};
        ShrinkAdvToolBars(page);
        EXPECT_EQ(page.Log, (Log{"shrink a", "shrink b"}));
    }
    {
        SCOPED_TRACE("narrower without steps: compacted and marked at its smallest");
        TFakePage page;
        page.FWidth = 160;
        page.Add("a", 100);
        TFakeBar& b = page.Add("b", 100);
        ShrinkAdvToolBars(page);
        EXPECT_EQ(page.Log, (Log{"compact b"}));
        EXPECT_TRUE(b.Smallest);
    }
    {
        SCOPED_TRACE("wider: a step as wide as the room is not taken");
        TFakePage page;
        page.FWidth = 3 + 100 + 2 + 50;
        page.Add("a", 100).Grows = {{50, bsLabel}};
        GrowAdvToolBars(page);
        EXPECT_EQ(page.Log, Log{});
        page.FWidth += 1;
        GrowAdvToolBars(page);
        EXPECT_EQ(page.Log, (Log{"grow a"}));
    }
    {
        SCOPED_TRACE("a hidden group or one without width is no candidate");
        TFakePage page;
        page.FWidth = 100;
        page.Add("a", 100).Shrinks = {{30, bsLabel}};
        TFakeBar& b = page.Add("b", 0);
        b.Shrinks = {{10, bsLabel}};
        ShrinkAdvToolBars(page);
        EXPECT_EQ(page.Log, (Log{"shrink a"}));
    }
}

TEST(PageAutoLayout, NothingWithAutoCompactOffOrAtDesignTime) {
    for (bool designing : {false, true}) {
        TFakePage page;
        page.FWidth = 100;
        page.Designing_ = designing;
        page.AutoCompact_ = designing;
        page.Add("a", 100).Shrinks = {{30, bsLabel}};
        page.Add("b", 100);
        UpdateAllToolBars(page);
        ShrinkAdvToolBars(page);
        EXPECT_EQ(page.Log, Log{}) << designing;
    }
}

// Each shrink gives room that the next pass's grow takes back: the bound ends the chase.
TEST(PageAutoLayout, ChasingWidthsEnd) {
    struct TChaser : TFakeBar {
        int ShrinkButtons(TButtonSizeState& s, bool apply) override {
            s = bsLabel;
            if (apply) Log->push_back("shrink"), FWidth -= 30;
            return 30;
        }
        int GrowButtons(TButtonSizeState& s, bool apply) override {
            s = bsLabel;
            if (apply) Log->push_back("grow"), FWidth += 60;
            return 10;  // claims little, takes much
        }
    };
    TFakePage page;
    page.FWidth = 120;
    page.Bars.push_back(std::make_unique<TChaser>());
    page.Bars.back()->Log = &page.Log;
    page.Bars.back()->FWidth = 130;
    page.Arrange();
    UpdateAllToolBars(page);
    EXPECT_EQ(page.Log.size(), 5u);  // four passes for the one toolbar, plus one
}

TEST(PageAutoLayout, PlacesToolBarsLeftToRight) {
    const std::vector<int> widths{100, 70, 50};
    const std::vector<bool> shown{true, false, true};
    const std::vector<TToolBarPlace> places = PlaceToolBars(widths, shown, 92);
    EXPECT_EQ(places[0].Left, 3);
    EXPECT_EQ(places[1].Left, -1);  // hidden: takes no room
    EXPECT_EQ(places[2].Left, 106);
    EXPECT_EQ(places[0].Top, 3);
    EXPECT_EQ(places[2].Height, 86);
}

TEST(PageAutoLayout, ScrollerOnlyWhenAllCompactStillDoNotFit) {
    const std::vector<int> compact(8, 45);  // 3 + 8 x 48 = 387
    EXPECT_EQ(FittingToolBarCount(compact, 200, 0, true), 4);  // 3+45+3+45+3+45+3+45 = 192 < 200
    EXPECT_EQ(FittingToolBarCount(compact, 200, 7, false), 4);
    EXPECT_EQ(FittingToolBarCount(compact, 200, 8, true), 0);
    EXPECT_EQ(ToolBarScrollerMax(compact, 400, true), 0);   // all fit
    EXPECT_EQ(ToolBarScrollerMax(compact, 200, false), 0);  // not all compact: shrink first
    // 4 fit from 0, 3 from 5; the next start is 3 + 1 (the count, not the running total).
    EXPECT_EQ(ToolBarScrollerMax(compact, 200, true), 2);
    EXPECT_EQ(ToolBarScrollerMax(compact, 100, true), 3);

    // Forward to the fifth toolbar: the last one's right edge ends at width - 3.
    std::vector<int> lefts;
    for (int i = 0; i < 8; ++i) lefts.push_back(3 + 48 * i);
    int index = 4;
    const int shift = ToolBarScrollShift(lefts, compact, 200, 0, index);
    EXPECT_EQ(lefts[7] + 45 + shift, 200 - 3);
    // And back: the first toolbar lands at 3 again.
    std::vector<int> moved;
    for (int left : lefts) moved.push_back(left + shift);
    int back = 0;
    EXPECT_EQ(moved[0] + ToolBarScrollShift(moved, compact, 200, 4, back), 3);
}
