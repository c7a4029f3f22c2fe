// The toolbar on real windows: what it starts with, which styler it paints from, how it sizes
// itself to its items, how it batches changes, and what it paints (probed pixel by pixel on a
// toolbar painted into a bitmap). A fake ribbon page stands for the ribbon's page and pager.
#include "toolbars/AdvToolBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarStylers.h"
#include "menus/AdvToolBarSystem.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"
#include "toolbars/FakeToolBarPage.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

using ToolBarTestSupport::TFakeToolBarPage;

class ToolBarOnForm : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(100, 100, 500, 300);
        FForm->Show();
    }
    TAdvToolBar* NewToolBar(TWinControl* parent, const wchar_t* name = L"ToolBar1") {
        auto* bar = new TAdvToolBar(FForm.get());
        bar->SetName(name);
        bar->SetParent(parent);
        return bar;
    }
    TFakeToolBarPage* NewPage() {
        auto* page = new TFakeToolBarPage(FForm.get());
        page->SetParent(FForm.get());
        page->SetBounds(0, 100, 480, 120);
        return page;
    }
    // The toolbar painted into a bitmap of its size.
    static std::unique_ptr<TBitmap> Painted(TAdvCustomToolBar* bar) {
        auto bitmap = std::make_unique<TBitmap>(bar->Width(), bar->Height());
        bitmap->Canvas()->Brush()->SetColor(clFuchsia);
        bitmap->Canvas()->FillRect(TRect(0, 0, bar->Width(), bar->Height()));
        bar->Perform(WM_PAINT, WPARAM(bitmap->Canvas()->Handle()), 0);
        return bitmap;
    }
    static TColor Pixel(TBitmap& bitmap, int x, int y) { return TColor(ColorToRGB(bitmap.Canvas()->Pixels(x, y))); }
    // A styler whose background is a plain vertical gradient from black to white.
    TCustomAdvToolBarStyler* GradientStyler() {
        auto* styler = new TCustomAdvToolBarStyler(FForm.get());
        styler->SetName(L"Styler1");
        styler->Color()->SetColor(clBlack);
        styler->Color()->SetColorTo(clWhite);
        styler->Color()->SetDirection(gdVertical);
        styler->SetBorderColor(clNone);
        styler->SetRoundEdges(false);
        return styler;
    }
    std::unique_ptr<TForm> FForm;
};

}  // namespace

TEST_F(ToolBarOnForm, StartsWithItsDefaults) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    EXPECT_EQ(bar->Height(), 26);
    EXPECT_EQ(bar->Constraints()->MinWidth(), 60);
    EXPECT_EQ(bar->Constraints()->MaxWidth(), 60);
    EXPECT_EQ(bar->Persistence()->Section(), L"UnDockedAdvToolBars");
    EXPECT_EQ(bar->Version(), L"6.8.3.3");
    ASSERT_NE(bar->InternalToolBarStyler(), nullptr);
    EXPECT_EQ(bar->InternalToolBarStyler()->Name(), L"InternalStyler");
    EXPECT_EQ(bar->InternalToolBarStyler()->CaptionFont()->Height(), -11);
    EXPECT_EQ(bar->GetToolBarState(), tsFixed);  // on a form, not in a dock panel
}

TEST_F(ToolBarOnForm, StylerInUseFallsBackToItsOwn) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    auto* styler = new TCustomAdvToolBarStyler(FForm.get());
    bar->SetToolBarStyler(styler);
    EXPECT_EQ(bar->CurrentToolBarStyler(), styler);
    bar->SetToolBarStyler(nullptr);
    EXPECT_EQ(bar->CurrentToolBarStyler(), bar->InternalToolBarStyler());
    bar->SetToolBarStyler(styler);
    delete styler;
    EXPECT_EQ(bar->CurrentToolBarStyler(), bar->InternalToolBarStyler());
    EXPECT_EQ(bar->ToolBarStyler(), nullptr);
}

TEST_F(ToolBarOnForm, ParentStylerIsOffOnAFormAndOnOnAPageInAPager) {
    REQUIRE_DISPLAY();
    EXPECT_FALSE(NewToolBar(FForm.get())->ParentStyler());
    TAdvToolBar* onPage = NewToolBar(NewPage(), L"Group1");
    EXPECT_TRUE(onPage->ParentStyler());
    EXPECT_TRUE(onPage->IsOnRibbonPage());
}

TEST_F(ToolBarOnForm, StylerChangeGivesTheToolBarTheStylersColour) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    bar->SetToolBarStyler(styler);
    styler->Color()->SetColor(TColor(0x123456));
    EXPECT_EQ(bar->Color(), TColor(0x123456));
}

TEST_F(ToolBarOnForm, ApplicationStyleKeepsOneOwnedPresetStyler) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    const auto ownedOfficeStylers = [bar] {
        int count = 0;
        for (int i = 0; i < bar->ComponentCount(); ++i)
            if (dynamic_cast<AdvToolBarStylers::TAdvToolBarOfficeStyler*>(bar->Components(i))) ++count;
        return count;
    };
    bar->SetComponentStyle(AdvStyleIF::tsCustom);  // only stored
    EXPECT_EQ(ownedOfficeStylers(), 0);
    EXPECT_EQ(bar->CurrentToolBarStyler(), bar->InternalToolBarStyler());
    for (int i = 0; i < 10; ++i) {
        bar->SetComponentStyle(i % 2 ? AdvStyleIF::tsOffice2019Black : AdvStyleIF::tsOffice2016White);
        bar->RecreateWnd();
    }
    EXPECT_EQ(ownedOfficeStylers(), 1);
    EXPECT_EQ(bar->UIStyle(), AdvStyleIF::tsOffice2019Black);
    // An assigned styler ignores styles.
    auto* external = new TCustomAdvToolBarStyler(FForm.get());
    bar->SetToolBarStyler(external);
    bar->SetComponentStyle(AdvStyleIF::tsOffice2016White);
    EXPECT_EQ(bar->CurrentToolBarStyler(), external);
}

TEST_F(ToolBarOnForm, APagersStyleWins) {
    REQUIRE_DISPLAY();
    TFakeToolBarPage* page = NewPage();
    page->HasStyle = true;
    page->Style = AdvStyleIF::tsOffice2019Gray;
    TAdvToolBar* bar = NewToolBar(page, L"Group1");
    bar->SetComponentStyle(AdvStyleIF::tsOffice2016White);
    EXPECT_EQ(bar->UIStyle(), AdvStyleIF::tsOffice2019Gray);
}

TEST_F(ToolBarOnForm, SizesItselfToItsItems) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    EXPECT_EQ(bar->Width(), 60);
    EXPECT_EQ(bar->Height(), 26);
    auto* tall = new TPanel(FForm.get());
    tall->SetParent(bar);
    tall->SetBounds(0, 0, 30, 40);
    EXPECT_EQ(bar->Height(), 44);
    EXPECT_EQ(bar->ToolBarControlCount(), 1);
    EXPECT_GE(bar->Width(), tall->Left() + tall->Width());
    // Hidden after layout, the item leaves the row at once: parked below the toolbar
    // (as high as it was when arranged), and back in the row when shown again.
    tall->SetVisible(false);
    EXPECT_GE(tall->Top(), bar->Height());
    EXPECT_EQ(bar->Height(), 26);
    tall->SetVisible(true);
    EXPECT_EQ(tall->Top(), 2);
    EXPECT_EQ(bar->Height(), 44);
}

TEST_F(ToolBarOnForm, BatchedChangesLayOutOnceAtTheEnd) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    bar->BeginUpdate();
    bar->BeginUpdate();
    auto* item = new TPanel(FForm.get());
    item->SetParent(bar);
    item->SetBounds(0, 0, 120, 20);
    bar->SetVisible(false);  // hidden in between: the count still comes back
    bar->EndUpdate();
    EXPECT_EQ(bar->UpdateCount(), 1);
    EXPECT_EQ(bar->Width(), 60);
    bar->SetVisible(true);
    bar->EndUpdate();
    EXPECT_EQ(bar->UpdateCount(), 0);
    EXPECT_GT(bar->Width(), 120);
    bar->EndUpdate();  // unbalanced: stays at 0
    EXPECT_EQ(bar->UpdateCount(), 0);
}

TEST_F(ToolBarOnForm, PaintsTheGradientTheGripAndTheBevel) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    styler->SetDragGripStyle(dsDots);
    bar->SetToolBarStyler(styler);
    bar->SetAutoSize(false);
    bar->SetShowRightHandle(false);
    bar->SetBounds(0, 0, 200, 26);
    {
        SCOPED_TRACE("gradient and grip dots");
        auto bitmap = Painted(bar);
        EXPECT_LT(GetRValue(ColorToRGB(Pixel(*bitmap, 100, 0))), 16);
        const TColor last = Pixel(*bitmap, 100, 25);
        EXPECT_GT(GetRValue(ColorToRGB(last)), 230);
        EXPECT_EQ(Pixel(*bitmap, 4, 5), TColor(ColorToRGB(clBtnShadow)));
        EXPECT_EQ(Pixel(*bitmap, 6, 7), clWhite);
        EXPECT_EQ(Pixel(*bitmap, 4, 17), TColor(ColorToRGB(clBtnShadow)));  // the fourth dot
        EXPECT_NE(Pixel(*bitmap, 4, 21), TColor(ColorToRGB(clBtnShadow)));  // no fifth
    }
    {
        SCOPED_TRACE("flat fill with outline");
        styler->Color()->SetColorTo(clNone);
        styler->Color()->SetColor(clRed);
        auto bitmap = Painted(bar);
        EXPECT_EQ(Pixel(*bitmap, 100, 13), clRed);
        EXPECT_EQ(Pixel(*bitmap, 100, 0), clRed);
    }
    {
        SCOPED_TRACE("lowered bevel");
        styler->SetUseBevel(true);
        styler->SetBevel(bvLowered);
        auto bitmap = Painted(bar);
        EXPECT_EQ(Pixel(*bitmap, 100, 1), TColor(ColorToRGB(clBtnShadow)));
        EXPECT_EQ(Pixel(*bitmap, 199, 13), clWhite);
        styler->SetBevel(bvRaised);
        bitmap = Painted(bar);
        EXPECT_EQ(Pixel(*bitmap, 100, 0), clWhite);
        EXPECT_EQ(Pixel(*bitmap, 199, 13), TColor(ColorToRGB(clBtnShadow)));
    }
    {
        // BackGroundTransparent (on by default) belongs to the background picture: the
        // toolbar still paints its background.
        SCOPED_TRACE("background with BackGroundTransparent");
        styler->SetUseBevel(false);
        styler->SetBackGroundTransparent(true);
        auto bitmap = Painted(bar);
        EXPECT_EQ(Pixel(*bitmap, 100, 13), clRed);
    }
}

TEST_F(ToolBarOnForm, RightHandleFillsByStateWithoutChevronWhileEverythingFits) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    styler->SetRightHandleColor(clGreen);
    styler->SetRightHandleColorTo(clNone);
    bar->SetToolBarStyler(styler);
    bar->SetShowOptionIndicator(false);
    auto bitmap = Painted(bar);
    const int x = bar->Width() - bar->RightHandleWidth() / 2;
    EXPECT_EQ(Pixel(*bitmap, x, 13), clGreen);
    EXPECT_EQ(bar->HiddenLength(), 0);
}

TEST_F(ToolBarOnForm, RibbonGroupFadesInStepsOfTwenty) {
    REQUIRE_DISPLAY();
    TAdvToolBar* group = NewToolBar(NewPage(), L"Group1");
    ASSERT_TRUE(group->IsRibbonGroup());
    group->CurrentToolBarStyler()->ColorHot()->SetColor(clYellow);
    AdvGlowButton::GlowAnimationInterval = 10;
    group->Perform(CM_MOUSEENTER);
    // Sampled between ticks (a busy machine may serve two at once): every step seen is a
    // multiple of 20 and none goes back.
    int previous = group->StepHover();
    bool stepsOfTwenty = true;
    ASSERT_TRUE(TestSupport::PumpUntil([&] {
        const int step = group->StepHover();
        if (step % 20 != 0 || step < previous) stepsOfTwenty = false;
        previous = step;
        return step >= 100;
    }));
    AdvGlowButton::GlowAnimationInterval = 20;
    EXPECT_TRUE(stepsOfTwenty);
    EXPECT_TRUE(group->Hot());
}

TEST_F(ToolBarOnForm, OnlyAPageHasAMirrorSplitAndNoPageMeansNoRibbon) {
    REQUIRE_DISPLAY();
    EXPECT_EQ(MirrorSplit(30), 0);
    EXPECT_EQ(MirrorSplit(10), 12);
    TAdvToolBar* bar = NewToolBar(FForm.get());
    EXPECT_FALSE(bar->IsRibbonGroup());
    EXPECT_EQ(bar->ToolBarIndex(), -1);
    bar->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(bar->Hot());
}

namespace {

// Pixels darker than mid-grey inside `area` (clipped to the bitmap): where text was drawn.
int InkIn(TBitmap& bitmap, TRect area) {
    area.Left = std::max(area.Left, 0);
    area.Top = std::max(area.Top, 0);
    area.Right = std::min(area.Right, bitmap.Width());
    area.Bottom = std::min(area.Bottom, bitmap.Height());
    int ink = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
        for (int x = area.Left; x < area.Right; ++x) {
            const COLORREF c = ColorToRGB(bitmap.Canvas()->Pixels(x, y));
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 100) ++ink;
        }
    return ink;
}

}  // namespace

TEST_F(ToolBarOnForm, PublishedPropertiesStartAtTheirDeclaredDefaults) {
    REQUIRE_DISPLAY();
    // As a window description finds it: made, not yet placed on a parent.
    auto* bar = new TAdvToolBar(FForm.get());
    bar->SetName(L"Fresh");
    EXPECT_GT(TestSupport::ExpectPublishedDefaults(bar), 20);
}

TEST_F(ToolBarOnForm, CaptionStripOnEachSideAddsItsThicknessAndKeepsTheGripOut) {
    REQUIRE_DISPLAY();
    struct TCase {
        const wchar_t* Name;
        TDockAlign Side;
        TCaptionPosition Position;
    };
    const TCase cases[] = {
        {L"TopCaption", daTop, cpTop},
        {L"BottomCaption", daTop, cpBottom},
        {L"LeftTopCaption", daLeft, cpTop},
        {L"LeftBottomCaption", daLeft, cpBottom},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Name)));
        TAdvToolBar* bar = NewToolBar(FForm.get(), c.Name);
        TCustomAdvToolBarStyler* styler = bar->CurrentToolBarStyler();
        styler->CaptionAppearance()->SetCaptionColor(clRed);
        styler->CaptionAppearance()->SetCaptionColorTo(clNone);
        styler->Color()->SetColor(clWhite);
        styler->Color()->SetColorTo(clNone);
        styler->SetDragGripStyle(dsDots);
        if (c.Side != daTop) bar->SetPosition(c.Side);
        bar->SetCaptionPosition(c.Position);
        const bool vertical = c.Side == daLeft;
        EXPECT_EQ(vertical ? bar->Width() : bar->Height(), 26);
        bar->SetShowCaption(true);
        const int cs = bar->CaptionSize();
        // Across the toolbar the caption strip comes on top of the items' 26 pixels.
        EXPECT_EQ(vertical ? bar->Width() : bar->Height(), 26 + (vertical ? bar->CaptionHeight() : cs));
        const int w = bar->Width(), h = bar->Height();
        const TRect expected = !vertical ? (c.Position == cpTop ? TRect{0, 0, w, cs} : TRect{0, h - cs, w, h})
                                         : (c.Position == cpTop ? TRect{0, 0, cs, h} : TRect{w - cs, 0, w, h});
        EXPECT_EQ(CaptionRect(bar->Frame()), expected);
        auto bitmap = Painted(bar);
        const TPoint middle{(expected.Left + expected.Right) / 2, (expected.Top + expected.Bottom) / 2};
        EXPECT_EQ(Pixel(*bitmap, middle.X, middle.Y), clRed);
        const TRect content = ContentRect(bar->Frame());
        EXPECT_EQ(Pixel(*bitmap, (content.Left + content.Right) / 2, (content.Top + content.Bottom) / 2), clWhite);
        // The grip's first dot sits 4 and 5 pixels into the row of items, not in the caption.
        const TPoint dot = vertical ? TPoint{content.Left + 5, 4} : TPoint{4, content.Top + 5};
        EXPECT_EQ(Pixel(*bitmap, dot.X, dot.Y), TColor(ColorToRGB(clBtnShadow)));
        if (c.Position == cpTop) {
            const TPoint inCaption = vertical ? TPoint{5, 4} : TPoint{4, 5};
            EXPECT_EQ(Pixel(*bitmap, inCaption.X, inCaption.Y), clRed);
        }
    }
}

TEST_F(ToolBarOnForm, CaptionTextSitsAtItsAlignedEnd) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    styler->CaptionAppearance()->SetCaptionColor(clWhite);
    styler->CaptionAppearance()->SetCaptionTextColor(clBlack);
    bar->SetToolBarStyler(styler);
    bar->SetCaption(L"Commands");
    bar->SetShowCaption(true);
    bar->SetAutoSize(false);
    bar->SetBounds(0, 0, 300, 26 + bar->CaptionSize());
    TBitmap measure(10, 10);
    measure.Canvas()->SetFont(styler->CaptionFont());
    const int textWidth = measure.Canvas()->TextWidth(L"Commands");
    const int cs = bar->CaptionSize();
    // The text runs from past the grip to before the right handle.
    const int start = 7 + 3, end = 300 - bar->RightHandleWidth() - 2;
    {
        SCOPED_TRACE("left");
        auto bitmap = Painted(bar);
        EXPECT_GT(InkIn(*bitmap, {start, 0, start + textWidth + 1, cs}), 0);
        EXPECT_EQ(InkIn(*bitmap, {start + textWidth + 2, 0, end, cs}), 0);
    }
    {
        SCOPED_TRACE("right");
        bar->SetCaptionAlignment(taRightJustify);
        auto bitmap = Painted(bar);
        EXPECT_GT(InkIn(*bitmap, {end - textWidth - 1, 0, end, cs}), 0);
        EXPECT_EQ(InkIn(*bitmap, {0, 0, end - textWidth - 2, cs}), 0);
    }
    // On a vertical toolbar the caption turns: on the left it reads upwards from the strip's
    // end, on the right downwards from its start.
    const int upright = measure.Canvas()->TextWidth(L"Edit");
    for (const TDockAlign side : {daLeft, daRight}) {
        SCOPED_TRACE(side == daLeft ? "left" : "right");
        TAdvToolBar* bar2 = NewToolBar(FForm.get(), side == daLeft ? L"LeftBar" : L"RightBar");
        bar2->SetToolBarStyler(styler);
        bar2->SetCaption(L"Edit");
        bar2->SetPosition(side);
        bar2->SetShowCaption(true);
        bar2->SetAutoSize(false);
        bar2->SetBounds(0, 0, 26 + bar2->CaptionHeight(), 200);
        auto bitmap = Painted(bar2);
        const int top = 7 + 3, bottom = 200 - bar2->RightHandleWidth() - 2;
        if (side == daLeft) {
            EXPECT_GT(InkIn(*bitmap, {0, bottom - upright - 4, cs, bottom}), 0);
            EXPECT_EQ(InkIn(*bitmap, {0, 0, cs, bottom - upright - 5}), 0);
        } else {
            EXPECT_GT(InkIn(*bitmap, {0, top, cs, top + upright + 4}), 0);
            EXPECT_EQ(InkIn(*bitmap, {0, top + upright + 5, cs, bottom}), 0);
        }
    }
}

TEST_F(ToolBarOnForm, RoundOrPlainBorder) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    styler->SetBorderColor(clRed);
    bar->SetToolBarStyler(styler);
    bar->SetShowRightHandle(false);
    bar->SetAutoSize(false);
    bar->SetBounds(0, 0, 200, 26);
    {
        SCOPED_TRACE("plain");
        auto bitmap = Painted(bar);
        EXPECT_EQ(Pixel(*bitmap, 0, 0), clRed);
        EXPECT_EQ(Pixel(*bitmap, 100, 25), clRed);
        EXPECT_EQ(Pixel(*bitmap, 198, 13), clRed);
    }
    {
        SCOPED_TRACE("round");
        styler->SetRoundEdges(true);
        auto bitmap = Painted(bar);
        EXPECT_NE(Pixel(*bitmap, 0, 0), clRed);
        EXPECT_EQ(Pixel(*bitmap, 0, 13), clRed);
        EXPECT_EQ(Pixel(*bitmap, 100, 0), clRed);
        EXPECT_EQ(Pixel(*bitmap, 199, 13), clRed);
    }
}

TEST_F(ToolBarOnForm, RightHandleFillFollowsHoverAndPress) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TCustomAdvToolBarStyler* styler = GradientStyler();
    styler->SetRightHandleColor(clGreen);
    styler->SetRightHandleColorTo(clNone);
    styler->SetRightHandleColorHot(clYellow);
    styler->SetRightHandleColorHotTo(clNone);
    styler->SetRightHandleColorDown(clBlue);
    styler->SetRightHandleColorDownTo(clNone);
    bar->SetToolBarStyler(styler);
    bar->SetShowOptionIndicator(false);
    const int x = bar->Width() - bar->RightHandleWidth() / 2;
    EXPECT_EQ(Pixel(*Painted(bar), x, 13), clGreen);
    bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, 13));
    EXPECT_EQ(Pixel(*Painted(bar), x, 13), clYellow);
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 13));
    EXPECT_EQ(Pixel(*Painted(bar), x, 13), clBlue);
    bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, 13));
    bar->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(Pixel(*Painted(bar), x, 13), clGreen);
}

TEST_F(ToolBarOnForm, ItemsJoinByPositionAndTheRecentlyUsedListInOrderOfArrival) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    const auto item = [&](int left) {
        auto* panel = new TPanel(FForm.get());
        panel->SetBounds(left, 2, 30, 20);
        panel->SetParent(bar);
        return panel;
    };
    TPanel* first = item(0);   // Left 0 goes last
    TPanel* second = item(0);
    TPanel* third = item(second->Left());  // takes the second's place
    ASSERT_EQ(bar->ToolBarControlCount(), 3);
    EXPECT_EQ(bar->ToolBarControls(0), first);
    EXPECT_EQ(bar->ToolBarControls(1), third);
    EXPECT_EQ(bar->ToolBarControls(2), second);
    EXPECT_LT(third->Left(), second->Left());
    EXPECT_EQ(bar->ToolBarControls(3), nullptr);
    const TDbgList* recent = bar->RecentlyUsedControls();
    ASSERT_EQ(recent->Count(), 3);
    const TControl* arrival[] = {first, second, third};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(static_cast<TControl*>(static_cast<TObject*>(recent->GetItemsEx(i))), arrival[i]);
    EXPECT_EQ(bar->IndexByPosition(-1, 0, 2), 3);
    EXPECT_EQ(bar->IndexByPosition(-1, first->Left() + 1, 2), 1);
    EXPECT_EQ(bar->IndexByPosition(-1, 1000, 2), 3);
    third->SetParent(nullptr);
    EXPECT_EQ(bar->ToolBarControlCount(), 2);
    EXPECT_EQ(recent->Count(), 2);
    delete third;
}

TEST_F(ToolBarOnForm, HintsOfTheOptionHandleAndOfDisabledItems) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    bar->SetHintOptionButton(L"More buttons");
    const auto hintAt = [](TAdvCustomToolBar* toolBar, int x, int y) {
        THintInfo info;
        info.CursorPos = {x, y};
        toolBar->Perform(CM_HINTSHOW, 0, LPARAM(&info));
        return info;
    };
    const int handleX = bar->Width() - bar->RightHandleWidth() / 2;
    EXPECT_EQ(hintAt(bar, handleX, 13).HintStr, L"More buttons");
    EXPECT_EQ(hintAt(bar, 20, 13).HintStr, L"");
    bar->SetShowOptionIndicator(false);
    EXPECT_EQ(hintAt(bar, handleX, 13).HintStr, L"");

    // On a page of a pager that shows disabled controls' hints, a disabled item's hint.
    TFakeToolBarPage* page = NewPage();
    TAdvToolBar* group = NewToolBar(page, L"Group1");
    auto* item = new TPanel(FForm.get());
    item->SetBounds(0, 0, 40, 20);
    item->SetParent(group);
    item->SetHint(L"Open a file first");
    item->SetShowHint(true);
    item->SetEnabled(false);
    const int x = item->Left() + 5, y = item->Top() + 5;
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "pager shows them" : "pager does not");
        page->DisabledHints = shown;
        group->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(20, 100));  // away first: the item is new again
        group->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        const THintInfo info = hintAt(group, x, y);
        EXPECT_EQ(info.HintStr, shown ? L"Open a file first" : L"");
        EXPECT_EQ(info.HintControl, shown ? item : nullptr);
    }
}

TEST_F(ToolBarOnForm, RibbonGroupStacksSmallButtonsInColumns) {
    REQUIRE_DISPLAY();
    TAdvToolBar* group = NewToolBar(NewPage(), L"Group1");
    std::vector<AdvGlowButton::TAdvGlowButton*> labels;
    for (int i = 0; i < 3; ++i) {
        auto* button = new AdvGlowButton::TAdvGlowButton(FForm.get());
        button->SetName(L"Label" + std::to_wstring(i));
        button->SetButtonSizeState(AdvGlowButton::bsLabel);
        button->SetBounds(0, 0, 60, 22);
        button->SetParent(group);
        labels.push_back(button);
    }
    auto* large = new AdvGlowButton::TAdvGlowButton(FForm.get());
    large->SetName(L"Large");
    large->SetButtonSizeState(AdvGlowButton::bsLarge);
    large->SetBounds(0, 0, 40, 60);
    large->SetParent(group);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(labels[size_t(i)]->Left(), 2);
        EXPECT_EQ(labels[size_t(i)]->Top(), 2 + 22 * i);
    }
    EXPECT_EQ(large->Left(), 2 + 60);
    EXPECT_EQ(large->Top(), 2);
    // The group ends at the large button and the right handle.
    EXPECT_EQ(group->Width(), large->Left() + large->Width() + group->RightHandleWidth());
}

TEST_F(ToolBarOnForm, RibbonGroupInRowsWrapsBesideTallerItems) {
    REQUIRE_DISPLAY();
    TAdvToolBar* group = NewToolBar(NewPage(), L"Group1");
    group->SetAutoSize(false);
    group->SetAutoPositionMultiRow(true);
    group->SetBounds(0, 0, 100, 60);
    const auto item = [&](int height) {
        auto* panel = new TPanel(FForm.get());
        panel->SetBounds(0, 0, 40, height);
        panel->SetParent(group);
        return panel;
    };
    TPanel* tall = item(40);
    TPanel* second = item(20);
    TPanel* third = item(20);
    EXPECT_EQ(tall->BoundsRect(), (TRect{2, 0, 42, 40}));
    EXPECT_EQ(second->BoundsRect(), (TRect{42, 0, 82, 20}));
    // No room left in the first row: the next row starts right of the taller item.
    EXPECT_EQ(third->BoundsRect(), (TRect{42, 20, 82, 40}));
    EXPECT_EQ(group->Width(), 100);
}

TEST_F(ToolBarOnForm, EmptyRibbonGroupHidesOnlyWithHideOnEmpty) {
    REQUIRE_DISPLAY();
    for (const bool hide : {false, true}) {
        SCOPED_TRACE(hide ? "HideOnEmpty" : "without");
        TAdvToolBar* group = NewToolBar(NewPage(), hide ? L"Hiding" : L"Showing");
        group->SetHideOnEmpty(hide);
        auto* item = new TPanel(FForm.get());
        item->SetVisible(false);
        item->SetParent(group);
        EXPECT_EQ(group->Width(), hide ? 0 : 15 + group->RightHandleWidth());
        EXPECT_EQ(group->Constraints()->MinWidth(), hide ? 0 : 15 + group->RightHandleWidth());
        EXPECT_EQ(group->Constraints()->MaxWidth(), hide ? 0 : 15 + group->RightHandleWidth());
    }
}

TEST_F(ToolBarOnForm, RibbonGroupMirrorSplitsBelowThePagesTop) {
    REQUIRE_DISPLAY();
    TAdvToolBar* group = NewToolBar(NewPage(), L"Group1");
    TMirrorGradient* mirror = group->CurrentToolBarStyler()->Color()->Mirror();
    mirror->SetColor(clRed);
    mirror->SetColorTo(clRed);
    mirror->SetColorMirror(clBlue);
    mirror->SetColorMirrorTo(clBlue);
    group->SetCaptionPosition(cpBottom);
    group->SetAutoSize(false);
    struct TCase {
        const char* Name;
        int Top;
        TCaptionPosition Position;
        TColor At5, At20;
    };
    const TCase cases[] = {
        {"top 10: upper part 12", 10, cpBottom, clRed, clBlue},
        {"top 30: no upper part", 30, cpBottom, clBlue, clBlue},
        {"caption on top: no upper part", 10, cpTop, clBlue, clBlue},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        group->SetCaptionPosition(c.Position);
        group->SetBounds(0, c.Top, 200, 60);
        auto bitmap = Painted(group);
        EXPECT_EQ(Pixel(*bitmap, 100, 5), c.At5);
        EXPECT_EQ(Pixel(*bitmap, 100, 20), c.At20);
    }
}

TEST_F(ToolBarOnForm, ChangeScaleScalesTheOwnCaptionFontOnly) {
    REQUIRE_DISPLAY();
    const float savedScale = DPIScaleFactor;  // an uninitialised unit scale is taken from the toolbar
    TAdvToolBar* bar = NewToolBar(FForm.get());
    TFont* own = bar->InternalToolBarStyler()->CaptionFont();
    ASSERT_EQ(own->Height(), -11);
    bar->ChangeScale(3, 2);
    EXPECT_EQ(own->Height(), ::MulDiv(-11, 3, 2));
    bar->SetToolBarStyler(GradientStyler());
    bar->ChangeScale(2, 3);
    EXPECT_EQ(own->Height(), ::MulDiv(-11, 3, 2));
    DPIScaleFactor = savedScale;
}

TEST_F(ToolBarOnForm, HostFormIsTheFirstFormUpTheParents) {
    REQUIRE_DISPLAY();
    auto* panel = new TPanel(FForm.get());
    panel->SetParent(FForm.get());
    TAdvToolBar* bar = NewToolBar(panel);
    EXPECT_EQ(bar->GetHostForm(), FForm.get());
    bar->SetParent(nullptr);
    EXPECT_EQ(bar->GetHostForm(), nullptr);
}

TEST_F(ToolBarOnForm, ItemsMakeRoomForAGripThatComesWithAStyleOrStyler) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar(FForm.get());
    auto* item = new TPanel(FForm.get());
    item->SetBounds(0, 0, 30, 20);
    item->SetParent(bar);
    const auto expectedLeft = [bar] { return GripOffset(bar->DragGripStyle() != dsNone, 7); };
    bar->SetUIStyle(AdvStyleIF::tsOffice2019White);
    const TDragGripStyle modern = bar->DragGripStyle();
    EXPECT_EQ(item->Left(), expectedLeft());
    bar->SetUIStyle(AdvStyleIF::tsOffice2003Blue);
    ASSERT_NE((modern == dsNone), (bar->DragGripStyle() == dsNone));  // the two presets differ
    EXPECT_EQ(item->Left(), expectedLeft());
    // An assigned styler without a grip, then one with.
    TCustomAdvToolBarStyler* styler = GradientStyler();
    styler->SetDragGripStyle(dsNone);
    bar->SetToolBarStyler(styler);
    EXPECT_EQ(item->Left(), 2);
    styler->SetDragGripStyle(dsFlatDots);
    EXPECT_EQ(item->Left(), 9);
}
