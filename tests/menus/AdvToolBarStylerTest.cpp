// The toolbar styler base: which code each change sends, who hears it and when, the
// pagers' glass and scenic settings by style, detaching at the end, Assign and the menu
// styler it hands on.
#include "menus/AdvToolBarStyler.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "classlib/GdiObjects.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvMenuStyler.h"
#include "tests/menus/FakeStylerClients.h"

using namespace ClassLib;
using namespace AdvToolBar;
using namespace StylerTests;
using AdvStyleIF::TOVTStyle;

namespace {

class ToolBarStyler : public testing::Test {
protected:
    ToolBarStyler() : Panel(TStylerClientKind::DockPanel, L"Panel", &Log) { Panel.SetToolBarStyler(&Styler); }
    TCustomAdvToolBarStyler Styler{nullptr};
    TLog Log;
    TFakeClient Panel;
};

const std::wstring SystemFace = AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma";

}  // namespace

TEST_F(ToolBarStyler, StartsWithItsOwnValues) {
    EXPECT_EQ(Styler.RightHandleColor(), TColor(0x9E9E9E));   // not the clGray a form would assume
    EXPECT_EQ(Styler.RightHandleColorTo(), clBlack);
    EXPECT_EQ(Styler.RightHandleColorDownTo(), TColor(0x2DA0FF));
    EXPECT_EQ(Styler.FloatingWindowBorderColor(), TColor(0x6D6D6D));
    EXPECT_EQ(Styler.Color()->Color(), clWhite);
    EXPECT_EQ(Styler.Color()->ColorTo(), clBtnFace);
    EXPECT_EQ(Styler.Color()->Direction(), gdHorizontal);
    EXPECT_EQ(Styler.ColorHot()->Color(), clNone);
    EXPECT_EQ(Styler.ColorHot()->ColorTo(), clNone);
    EXPECT_EQ(Styler.Font()->Name(), SystemFace);
    EXPECT_EQ(Styler.Font()->Height(), AdvStyleIF::IsVistaOrLater() ? -12 : -11);
    EXPECT_EQ(Styler.CaptionFont()->Name(), SystemFace);
    EXPECT_EQ(Styler.FormBorderColor(), clGray);
    EXPECT_EQ(Styler.OVTStyle(), AdvStyleIF::tsOffice2003Blue);
    ASSERT_NE(Styler.InternalAdvMenuStyler(), nullptr);
    EXPECT_EQ(Styler.InternalAdvMenuStyler()->Name(), L"InternalMenuStyler");
    EXPECT_EQ(Styler.InternalAdvMenuStyler()->Owner(), &Styler);
    EXPECT_EQ(Styler.CurrentAdvMenuStyler(), Styler.InternalAdvMenuStyler());
    EXPECT_TRUE(Log.empty());
}

// Each change and the code it sends: "always" sends also for the value already held.
TEST_F(ToolBarStyler, EachChangeSendsItsCode) {
    TBitmap empty, picture(2, 2);
    TFont sameFont, otherFont;
    otherFont.SetName(L"Arial");
    const auto asIs = [](TFont& font, const TFont* from) {
        font.Assign(from);
        return &font;
    };
    TVistaGradientBackground wholeGradient;
    wholeGradient.SetColor(clRed);
    TContainerAppearance container;   // differs in both values once the row above turned the 3-D line off
    container.SetLineColor(clRed);
    struct TCase {
        const char* Name;
        int Code;       // 0: none
        bool Always;
        std::function<void()> Same, Other;
    };
    TCustomAdvToolBarStyler& s = Styler;
    const TCase cases[] = {
        {"BackGround", 1, true, [&] { s.SetBackGround(&empty); }, [&] { s.SetBackGround(&picture); }},
        {"BackGroundTransparent", 1, false, [&] { s.SetBackGroundTransparent(true); }, [&] { s.SetBackGroundTransparent(false); }},
        {"BackGroundDisplay", 1, false, [&] { s.SetBackGroundDisplay(bdTile); }, [&] { s.SetBackGroundDisplay(bdStretch); }},
        {"Font", 1, true, [&] { s.SetFont(asIs(sameFont, s.Font())); }, [&] { s.SetFont(&otherFont); }},
        {"BorderColor", 2, false, [&] { s.SetBorderColor(clNone); }, [&] { s.SetBorderColor(clRed); }},
        {"BorderColorHot", 2, false, [&] { s.SetBorderColorHot(clNone); }, [&] { s.SetBorderColorHot(clRed); }},
        {"RightHandleColor", 2, false, [&] { s.SetRightHandleColor(0x9E9E9E); }, [&] { s.SetRightHandleColor(clRed); }},
        {"RightHandleColorHotTo", 2, false, [&] { s.SetRightHandleColorHotTo(clBlack); }, [&] { s.SetRightHandleColorHotTo(clRed); }},
        {"RightHandleColorDownTo", 2, false, [&] { s.SetRightHandleColorDownTo(0x2DA0FF); }, [&] { s.SetRightHandleColorDownTo(clRed); }},
        {"FloatingWindowBorderColor", 2, false, [&] { s.SetFloatingWindowBorderColor(0x6D6D6D); },
         [&] { s.SetFloatingWindowBorderColor(clRed); }},
        {"FloatingWindowBorderWidth", 2, false, [&] { s.SetFloatingWindowBorderWidth(2); }, [&] { s.SetFloatingWindowBorderWidth(3); }},
        {"UseBevel", 2, false, [&] { s.SetUseBevel(false); }, [&] { s.SetUseBevel(true); }},
        {"Bevel", 2, false, [&] { s.SetBevel(bvNone); }, [&] { s.SetBevel(bvRaised); }},
        {"Show3D", 2, false, [&] { s.SetShow3D(true); }, [&] { s.SetShow3D(false); }},
        {"ShowShadow", 2, false, [&] { s.SetShowShadow(true); }, [&] { s.SetShowShadow(false); }},
        {"RoundEdges", 2, true, [&] { s.SetRoundEdges(true); }, [&] { s.SetRoundEdges(false); }},
        {"RightHandleImage", 2, true, [&] { s.SetRightHandleImage(&empty); }, [&] { s.SetRightHandleImage(&picture); }},
        {"CaptionFont", 2, true, [&] { s.SetCaptionFont(asIs(sameFont, s.CaptionFont())); }, [&] { s.SetCaptionFont(&otherFont); }},
        {"Color.Color", 2, true, [&] { s.Color()->SetColor(clWhite); }, [&] { s.Color()->SetColor(clRed); }},
        {"DockColor.Steps", 2, true, [&] { s.DockColor()->SetSteps(64); }, [&] { s.DockColor()->SetSteps(8); }},
        {"CaptionAppearance", 2, false, [&] { s.CaptionAppearance()->SetCaptionColor(clGray); },
         [&] { s.CaptionAppearance()->SetCaptionColor(clRed); }},
        {"ContainerAppearance", 4, false, [&] { s.ContainerAppearance()->SetLine3D(true); },
         [&] { s.ContainerAppearance()->SetLine3D(false); }},
        {"DragGripStyle", 5, false, [&] { s.SetDragGripStyle(dsDots); }, [&] { s.SetDragGripStyle(dsNone); }},
        {"AdvMenuStyler", 6, true, [&] { s.SetAdvMenuStyler(nullptr); }, [&] { s.SetAdvMenuStyler(nullptr); }},
        {"GlowButtonAppearance", 7, false, [&] { s.GlowButtonAppearance()->SetColorHot(0xF5F0E1); },
         [&] { s.GlowButtonAppearance()->SetColorHot(clRed); }},
        {"CompactGlowButtonAppearance", 7, false, [&] { s.CompactGlowButtonAppearance()->SetColor(clWhite); },
         [&] { s.CompactGlowButtonAppearance()->SetColor(clRed); }},
        {"TabAppearance", 10, false, [&] { s.TabAppearance()->SetColorHot(clYellow); }, [&] { s.TabAppearance()->SetColorHot(clRed); }},
        {"PageAppearance", 10, false, [&] { s.PageAppearance()->SetSteps(64); }, [&] { s.PageAppearance()->SetSteps(9); }},
        {"GroupAppearance", 10, false, [&] { s.GroupAppearance()->SetTextColor(clBlue); },
         [&] { s.GroupAppearance()->SetTextColor(clRed); }},
        {"PagerCaption", 11, false, [&] { s.PagerCaption()->SetTextColor(clBlue); }, [&] { s.PagerCaption()->SetTextColor(clRed); }},
        {"SysButtonColor", 11, false, [&] { s.SetSysButtonColor(clBlack); }, [&] { s.SetSysButtonColor(clRed); }},
        {"QATAppearance", 12, false, [&] { s.QATAppearance()->SetColor(clWhite); }, [&] { s.QATAppearance()->SetColor(clRed); }},
        // Changes that reach no control.
        {"AppColor", 0, false, [&] { s.AppColor()->SetTextColor(clWhite); }, [&] { s.AppColor()->SetTextColor(clRed); }},
        {"AutoThemeAdapt", 0, false, [&] { s.SetAutoThemeAdapt(false); }, [&] { s.SetAutoThemeAdapt(true); }},
        {"ButtonAppearance", 0, false, [&] { s.ButtonAppearance()->SetColor(clNone); }, [&] { s.ButtonAppearance()->SetColor(clRed); }},
        {"ColorHot", 0, false, [&] { s.ColorHot()->SetColor(clNone); }, [&] { s.ColorHot()->SetColor(clRed); }},
        {"Color.Mirror", 0, false, [&] { s.Color()->Mirror()->SetColor(clWhite); }, [&] { s.Color()->Mirror()->SetColor(clRed); }},
        {"DragGripImage", 0, false, [&] { s.SetDragGripImage(&empty); }, [&] { s.SetDragGripImage(&picture); }},
        {"FormBorderColor", 0, false, [&] { s.SetFormBorderColor(clGray); }, [&] { s.SetFormBorderColor(clRed); }},
        {"SystemFont", 0, false, [&] { s.SetSystemFont(true); }, [&] { s.SetSystemFont(false); }},
        {"Color as a whole", 0, false, [&] { s.SetColor(s.Color()); }, [&] { s.SetColor(&wholeGradient); }},
        // Copied through its setters: one code per value that differs.
        {"ContainerAppearance as a whole", 4, false, [&] { s.SetContainerAppearance(s.ContainerAppearance()); },
         [&] { s.SetContainerAppearance(&container); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TLog told = c.Code ? TLog{L"Panel:" + std::to_wstring(c.Code)} : TLog{};
        Log.clear();
        c.Same();
        EXPECT_EQ(Log, c.Always ? told : TLog{});
        Log.clear();
        c.Other();
        if (std::string(c.Name) == "ContainerAppearance as a whole")
            EXPECT_EQ(Log, (TLog{L"Panel:4", L"Panel:4"}));
        else
            EXPECT_EQ(Log, told);
    }
}

TEST_F(ToolBarStyler, BatchesAndLoadingTellNothingAndTheirEndSendsNothingEither) {
    Styler.BeginUpdate();
    Styler.BeginUpdate();
    Styler.SetBorderColor(clRed);
    Styler.EndUpdate();
    Styler.SetBorderColor(clBlue);
    Styler.EndUpdate();
    Styler.EndUpdate();   // not below 0
    EXPECT_EQ(Styler.UpdateCount(), 0);
    EXPECT_TRUE(Log.empty());
    Styler.BeginLoading();
    Styler.SetRoundEdges(true);
    Styler.Loaded();
    EXPECT_TRUE(Log.empty());
    Styler.UpdateStyle();
    EXPECT_EQ(Log, TLog{L"Panel:2"});
}

TEST_F(ToolBarStyler, OnlyNamedControlsHearInListOrderAndOneFailureStopsNoOne) {
    TFakeClient thrower(TStylerClientKind::Pager, L"Thrower", &Log);
    TFakeClient unnamed(TStylerClientKind::DockPanel, L"", &Log);
    TFakeClient toolBar(TStylerClientKind::ToolBar, L"ToolBar", &Log);
    TFakeClient copy(TStylerClientKind::ToolBar, L"Copy", &Log);   // the copy in the compact window
    TFakeClient plain(TStylerClientKind::ToolBar, L"Plain", &Log);
    thrower.OnStylerChanged = [](int) { throw std::runtime_error("repaint failed"); };
    toolBar.Compact = &copy;
    for (TFakeClient* client : {&thrower, &unnamed, &toolBar, &plain}) client->SetToolBarStyler(&Styler);
    Styler.NotifyChange(7);
    EXPECT_EQ(Log, (TLog{L"Panel:7", L"Thrower:7", L"Copy:7", L"ToolBar:7", L"Plain:7"}));
}

TEST_F(ToolBarStyler, AControlLeavingOrJoiningDuringTheWalk) {
    TFakeClient first(TStylerClientKind::DockPanel, L"First", &Log);
    TFakeClient second(TStylerClientKind::DockPanel, L"Second", &Log);
    TFakeClient joiner(TStylerClientKind::DockPanel, L"Joiner", &Log);
    first.SetToolBarStyler(&Styler);
    second.SetToolBarStyler(&Styler);
    // The panel leaves when told: First moves into its place, which was passed already.
    Panel.OnStylerChanged = [&](int) { Panel.SetToolBarStyler(nullptr); };
    Styler.NotifyChange(2);
    EXPECT_EQ(Log, (TLog{L"Panel:2", L"Second:2"}));
    // One that joins while the walk runs is told from the next change on.
    Log.clear();
    first.OnStylerChanged = [&](int) { joiner.SetToolBarStyler(&Styler); };
    Styler.NotifyChange(2);
    EXPECT_EQ(Log, (TLog{L"First:2", L"Second:2"}));
}

TEST_F(ToolBarStyler, PagersGetGlassAndScenicModeByStyleEachOnce) {
    const bool savedGlass = AdvGDIP::GetGlassFlag();
    TFakePager first(L"First", &Log), second(L"Second", &Log);
    first.SetToolBarStyler(&Styler);
    second.SetToolBarStyler(&Styler);
    Styler.AddControl(&first);   // listed twice
    struct TCase {
        TOVTStyle Style;
        bool Glass, Scenic;
    } cases[] = {{AdvStyleIF::tsWindows7, false, true},
                 {AdvStyleIF::tsOffice2010Black, true, true},
                 {AdvStyleIF::tsOffice2019White, false, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Style));
        first.HelpButtonUpdates = second.HelpButtonUpdates = 0;
        Styler.ApplyStyleToPagers(c.Style);
        EXPECT_EQ(Styler.NewOVTStyle(), c.Style);
        for (TFakePager* pager : {&first, &second}) {
            EXPECT_EQ(pager->TabSettings()->Glass(), c.Glass);
            EXPECT_EQ(pager->Scenic, c.Scenic);
            EXPECT_EQ(pager->TabBackGroundShaded, c.Glass);
            EXPECT_EQ(pager->IsAeroVista, c.Glass);
            EXPECT_TRUE(pager->UpdateHelpButtonRes);
            EXPECT_EQ(pager->HelpButtonUpdates, 1);
        }
    }
    EXPECT_EQ(Styler.GetFirstPager(), static_cast<IToolBarStylerPager*>(&first));
    AdvGDIP::SetGlassFlag(savedGlass);
}

TEST(ToolBarStylerEnd, DetachesDockPanelsAndPagersOnlyAndToolBarsHearOfIt) {
    TLog log;
    TFakeClient panel(TStylerClientKind::DockPanel, L"Panel", &log);
    TFakeClient toolBar(TStylerClientKind::ToolBar, L"ToolBar", &log);
    TFakePager pager(L"Pager", &log);
    TFakeClient elsewhere(TStylerClientKind::DockPanel, L"Elsewhere", &log);
    TCustomAdvToolBarStyler other(nullptr);
    elsewhere.SetToolBarStyler(&other);
    auto* styler = new TCustomAdvToolBarStyler(nullptr);
    for (TFakeClient* client : {&panel, &toolBar, static_cast<TFakeClient*>(&pager)}) client->SetToolBarStyler(styler);
    styler->AddControl(&elsewhere);   // listed here but styled by another: left alone
    delete styler;
    EXPECT_EQ(panel.Detached, 1);
    EXPECT_EQ(pager.Detached, 1);
    EXPECT_EQ(panel.ToolBarStyler(), nullptr);
    EXPECT_EQ(pager.ToolBarStyler(), nullptr);
    EXPECT_EQ(toolBar.Detached, 0);
    EXPECT_EQ(toolBar.ToolBarStyler(), nullptr);   // through its removal notice
    EXPECT_EQ(elsewhere.Detached, 0);
    EXPECT_EQ(elsewhere.ToolBarStyler(), &other);
    EXPECT_TRUE(log.empty());                       // nothing is sent while it goes
}

TEST_F(ToolBarStyler, AssignCopiesItsChosenSetAndTellsThroughTheSetters) {
    TCustomAdvToolBarStyler source(nullptr);
    source.Color()->SetColor(clRed);
    source.ColorHot()->SetColor(clRed);
    source.DockColor()->SetSteps(3);
    source.SetFloatingWindowBorderColor(clRed);
    source.SetDragGripStyle(dsFlatDots);
    source.SetBorderColor(clRed);
    source.SetRoundEdges(false);
    source.SetFormBorderColor(clRed);
    source.ButtonAppearance()->SetColorHot(clRed);
    source.CaptionAppearance()->SetCaptionColorHotTo(clRed);
    source.GlowButtonAppearance()->SetColor(clRed);
    source.SetShow3D(false);
    Styler.Assign(&source);
    EXPECT_EQ(Styler.Color()->Color(), clRed);
    EXPECT_EQ(Styler.DockColor()->Steps(), 3);
    EXPECT_EQ(Styler.FloatingWindowBorderColor(), clRed);
    EXPECT_EQ(Styler.DragGripStyle(), dsFlatDots);
    EXPECT_EQ(Styler.FormBorderColor(), clRed);
    EXPECT_EQ(Styler.ButtonAppearance()->ColorHot(), clRed);
    EXPECT_EQ(Styler.CaptionAppearance()->CaptionColorHotTo(), clRed);
    EXPECT_FALSE(Styler.Show3D());
    // Left behind: the hot gradient, borders, edges and the glow looks.
    EXPECT_EQ(Styler.ColorHot()->Color(), clNone);
    EXPECT_EQ(Styler.BorderColor(), clNone);
    EXPECT_TRUE(Styler.RoundEdges());
    EXPECT_EQ(Styler.GlowButtonAppearance()->Color(), clWhite);
    // The setters' codes: the grip, the floating border, the caption's hot colour, Show3D.
    EXPECT_EQ(Log, (TLog{L"Panel:5", L"Panel:2", L"Panel:2", L"Panel:2"}));

    TFont font;
    EXPECT_THROW(Styler.Assign(&font), EAssignError);
}

TEST_F(ToolBarStyler, TheMenuStylerLinkFallsBackToTheInternalOne) {
    auto* external = new AdvMenus::TAdvMenuStyler(nullptr);
    external->RootItem()->Font()->SetName(L"Courier New");
    Styler.SetAdvMenuStyler(external);
    EXPECT_EQ(Styler.CurrentAdvMenuStyler(), external);
    EXPECT_NE(external->RootItem()->Font()->Name(), L"Courier New");   // the system's menu font again
    EXPECT_EQ(Log, TLog{L"Panel:6"});
    Log.clear();
    delete external;
    EXPECT_EQ(Styler.AdvMenuStyler(), nullptr);
    EXPECT_EQ(Styler.CurrentAdvMenuStyler(), Styler.InternalAdvMenuStyler());
    EXPECT_EQ(Log, TLog{L"Panel:6"});
}

TEST_F(ToolBarStyler, AFreedControlLeavesTheList) {
    {
        TFakeClient passing(TStylerClientKind::ToolBar, L"Passing", &Log);
        Styler.AddControl(&passing);   // not through its own setter: only the removal notice takes it off
        EXPECT_EQ(Styler.ControlList()->Count(), 2);
    }
    EXPECT_EQ(Styler.ControlList()->Count(), 1);
    Styler.AddControl(nullptr);
    Styler.RemoveControl(nullptr);
    EXPECT_EQ(Styler.ControlList()->Count(), 1);
}
