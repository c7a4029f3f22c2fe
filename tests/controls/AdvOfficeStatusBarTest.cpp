#include "controls/AdvOfficeStatusBar.h"

#include <gtest/gtest.h>

#include "classlib/Canvas.h"
#include "classlib/GdiScopes.h"
#include "classlib/HintAction.h"
#include "classlib/Seams.h"
#include "classlib/Strings.h"
#include "controls/AdvOfficeStatusBarStylers.h"
#include "support/PublishedDefaults.h"

using namespace AdvOfficeStatusBar;
using namespace AdvOfficeStatusBarStylers;
using namespace ClassLib;

namespace {
TAdvOfficeStatusPanel* AddPanel(TAdvOfficeStatusBar& bar, int width) {
    TAdvOfficeStatusPanel* panel = bar.Panels()->Add();
    panel->SetWidth(width);
    return panel;
}
}  // namespace

TEST(AdvOfficeStatusBar, ConstructorsKeepTheirPublishedDefaults) {
    TAdvOfficeStatusBar bar(nullptr);
    TAdvOfficeStatusPanel* panel = bar.Panels()->Add();
    TAdvOfficeStatusBarOfficeStyler styler(nullptr);
    TVistaBackground appearance;
    TProgressStyle progress;
    for (const TObject* object : {static_cast<const TObject*>(&bar), static_cast<const TObject*>(panel),
                                  static_cast<const TObject*>(&appearance), static_cast<const TObject*>(&progress)})
        EXPECT_GT(TestSupport::ExpectPublishedDefaults(object), 0);
    // The office styler's BorderColor default is its first preset's colour.
    EXPECT_EQ(styler.BorderColor(), 0xE4AE88);
    EXPECT_EQ(styler.Style(), psOffice2003Blue);
}

TEST(AdvOfficeStatusBar, NewPanelsAndTheBarsFixedAnswers) {
    TAdvOfficeStatusBar bar(nullptr);
    TAdvOfficeStatusPanel* panel = bar.Panels()->Add();
    EXPECT_EQ(panel->Style(), psHTML);
    EXPECT_EQ(panel->Width(), 50);
    EXPECT_EQ(panel->MinWidth(), 20);
    EXPECT_EQ(panel->AppearanceStyle(), psLight);
    EXPECT_EQ(panel->VAlignment(), vpaCenter);
    EXPECT_EQ(panel->ImageIndex(), -1);
    EXPECT_EQ(panel->HTMLOffsetX(), 1);
    EXPECT_EQ(panel->HTMLOffsetY(), 1);
    EXPECT_EQ(panel->TimeFormat(), FormatSettings().LongTimeFormat);
    EXPECT_EQ(panel->DateFormat(), FormatSettings().ShortDateFormat);

    bar.SetVersion(L"9");
    EXPECT_EQ(bar.Version(), L"1.7.3.4");
    bar.SetStretchPanel(1);                  // = Count: ignored
    EXPECT_EQ(bar.StretchPanel(), -1);
    bar.SetStretchPanel(0);
    EXPECT_EQ(bar.StretchPanel(), 0);
    bar.SetStretchPanel(-1);
    EXPECT_EQ(bar.StretchPanel(), -1);

    panel->SetStyle(psTime);
    EXPECT_FALSE(panel->IsTextStored());
    panel->SetStyle(psText);
    EXPECT_TRUE(panel->IsTextStored());
    panel->SetAnimationDelay(-3);
    EXPECT_EQ(panel->AnimationDelay(), 0);
}

TEST(AdvOfficeStatusBar, ImageIndexesGrowWithMinusOnesAndReadBadEntriesAsMinusOne) {
    TAdvOfficeStatusBar bar(nullptr);
    TAdvOfficeStatusPanel* panel = bar.Panels()->Add();
    panel->SetImageIndexes(3, 7);
    ASSERT_EQ(panel->ImageCount(), 4);
    struct TCase { int Index; int Value; };
    for (const TCase& c : {TCase{0, -1}, TCase{1, -1}, TCase{2, -1}, TCase{3, 7}, TCase{5, -1}, TCase{-2, -1}}) {
        SCOPED_TRACE(c.Index);
        EXPECT_EQ(panel->ImageIndexes(c.Index), c.Value);
    }
    panel->SetImageIndexes(0, -5);
    EXPECT_EQ(panel->ImageIndexes(0), -5);
}

TEST(AdvOfficeStatusBar, PanelRectanglesWithAStretchPanel) {
    TAdvOfficeStatusBar bar(nullptr);
    bar.SetBounds(0, 0, 600, 19);
    AddPanel(bar, 100);
    AddPanel(bar, 50);
    AddPanel(bar, 120);
    bar.SetStretchPanel(1);
    EXPECT_EQ(bar.GetPanelRect(0), TRect(0, 1, 100, 18));
    EXPECT_EQ(bar.GetPanelRect(1), TRect(100, 1, 480, 18));
    EXPECT_EQ(bar.GetPanelRect(2), TRect(480, 1, 599, 18));
    EXPECT_EQ(bar.GetPanelRect(3), TRect(-1, -1, -1, -1));
    EXPECT_EQ(bar.GetPanel(100), 0);   // a shared edge belongs to the left panel
    EXPECT_EQ(bar.GetPanel(101), 1);
    EXPECT_EQ(bar.GetPanel(-1), -1);
    EXPECT_EQ(bar.GetPanelEdgeAt(101), 0);

    bar.SetBounds(0, 0, 200, 19);      // fixed widths exceed the bar: the stretch panel collapses
    EXPECT_EQ(bar.GetPanelRect(1).Width(), 0);
}

TEST(AdvOfficeStatusBar, Office2010BluePresetExactly) {
    TAdvOfficeStatusBarOfficeStyler styler(nullptr);
    styler.SetStyle(psOffice2010Blue);
    EXPECT_EQ(styler.BorderColor(), 0xA78F79);
    for (bool dark : {false, true}) {
        SCOPED_TRACE(dark ? "dark" : "light");
        const TVistaBackground* a = dark ? styler.PanelAppearanceDark() : styler.PanelAppearanceLight();
        struct TCase { const char* Name; TColor Actual, Expected; };
        const TCase cases[] = {
            {"BorderColor", a->BorderColor(), clNone},
            {"Color", a->Color(), dark ? 0xF6E8DC : 0xFDF6EF}, {"ColorTo", a->ColorTo(), dark ? 0xA78F79 : 0xF0DAC7},
            {"ColorMirror", a->ColorMirror(), clNone}, {"ColorMirrorTo", a->ColorMirrorTo(), clNone},
            {"TextColor", a->TextColor(), 0x73391F}, {"TextColorHot", a->TextColorHot(), 0x73391F},
            {"TextColorDown", a->TextColorDown(), 0x73391F},
            {"ColorHot", a->ColorHot(), 0xD9F9FD}, {"ColorHotTo", a->ColorHotTo(), 0x8AE3FD},
            {"ColorMirrorHot", a->ColorMirrorHot(), 0x8AE3FD}, {"ColorMirrorHotTo", a->ColorMirrorHotTo(), 0xD9F9FD},
            {"BorderColorHot", a->BorderColorHot(), 0x58CAF1},
            {"ColorDown", a->ColorDown(), 0x7BEEFF}, {"ColorDownTo", a->ColorDownTo(), 0x6CD0FF},
            {"ColorMirrorDown", a->ColorMirrorDown(), 0x6CD0FF}, {"ColorMirrorDownTo", a->ColorMirrorDownTo(), 0x7BEEFF},
            {"BorderColorDown", a->BorderColorDown(), 0x308AC2},
        };
        for (const TCase& c : cases) {
            SCOPED_TRACE(c.Name);
            EXPECT_EQ(c.Actual, c.Expected);
        }
    }
}

TEST(AdvOfficeStatusBar, PresetsLeaveWhatTheyDoNotSet) {
    TAdvOfficeStatusBarOfficeStyler styler(nullptr);
    styler.SetStyle(psOffice2019Gray);
    styler.SetStyle(psOffice2010Blue);
    EXPECT_EQ(styler.PanelAppearanceLight()->SeperatorColor(), 0x666666);
    styler.PanelAppearanceLight()->SetColor(0x123456);
    styler.SetStyle(psCustom);
    EXPECT_EQ(styler.PanelAppearanceLight()->Color(), 0x123456);
    EXPECT_EQ(styler.Style(), psCustom);

    styler.PanelAppearanceLight()->SetTextColorHot(0x010203);
    styler.SetStyle(psOffice2003Silver);    // does not set the light hot and down texts
    EXPECT_EQ(styler.PanelAppearanceLight()->TextColorHot(), 0x010203);
}

TEST(AdvOfficeStatusBar, OnlyNonHotColoursRepaint) {
    TVistaBackground appearance;
    int changes = 0;
    appearance.OnChange = [&](TObject*) { ++changes; };
    appearance.SetColorHot(clRed);
    appearance.SetTextColorHot(clRed);
    appearance.SetBorderColorHot(clRed);
    EXPECT_EQ(changes, 0);
    appearance.SetColor(clRed);
    appearance.SetColor(clRed);   // unchanged: no second notice
    EXPECT_EQ(changes, 1);
    appearance.SetTextStyle(TFontStyles());   // always notifies
    EXPECT_EQ(changes, 2);
}

TEST(AdvOfficeStatusBar, StylingThroughTheBar) {
    TAdvOfficeStatusBar bar(nullptr);
    bar.SetComponentStyle(AdvStyleIF::tsOffice2010Blue);
    EXPECT_EQ(bar.UIStyle(), AdvStyleIF::tsOffice2010Blue);
    EXPECT_EQ(bar.CurrentStyler()->PanelAppearanceLight()->Color(), 0xFDF6EF);

    TAdvOfficeStatusBarOfficeStyler external(nullptr);
    bar.SetStyler(&external);
    bar.SetComponentStyle(AdvStyleIF::tsOffice2019Black);   // an external styler decides
    EXPECT_EQ(bar.UIStyle(), AdvStyleIF::tsOffice2010Blue);
    EXPECT_EQ(bar.CurrentStyler(), &external);
    bar.SetStyler(nullptr);

    const TColor before = bar.CurrentStyler()->PanelAppearanceLight()->Color();
    AdvStyleIF::TColorTones tones{};
    AdvStyleIF::EmptyColorTones(tones);
    bar.SetColorTones(tones);
    EXPECT_FALSE(bar.Metro());
    EXPECT_EQ(bar.CurrentStyler()->PanelAppearanceLight()->Color(), before);
    AdvStyleIF::DefaultColorTones(tones);
    bar.SetColorTones(tones);
    EXPECT_TRUE(bar.Metro());
    EXPECT_EQ(bar.CurrentStyler()->PanelAppearanceDark()->Color(), tones.Foreground.BrushColor);
    bar.SetColorTones(AdvStyleIF::TColorTones{{clNone, clNone, clNone}, {}, {}, {}, {}});
    EXPECT_FALSE(bar.Metro());
}

TEST(AdvOfficeStatusBar, ListAndGaugeEdges) {
    TDbgList list;
    list.Add(nullptr);
    EXPECT_NO_THROW(list.GetItemsEx(0));
    try {
        list.GetItemsEx(1);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Index out of bounds in list read access");
    }
    try {
        list.SetItemsEx(3, nullptr);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Index out of bounds in list write access");
    }

    TProgressStyle p;
    struct TCase { int Min, Max, Position, Percentage; };
    const TCase cases[] = {{0, 100, 50, 50}, {5, 5, 7, 0}, {0, 100, 150, 100}, {0, 100, -20, 0},
                           {100, 0, 25, 75}, {0, 200, 1, 0}, {0, 200, 3, 2}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Min << ".." << c.Max << " at " << c.Position);
        p.SetMin(c.Min);
        p.SetMax(c.Max);
        p.SetPosition(c.Position);
        EXPECT_EQ(p.Percentage(), c.Percentage);
    }
    EXPECT_EQ(BlendColor(0x123456, 0xABCDEF, 100), 0x123456);
    EXPECT_EQ(BlendColor(0x123456, 0xABCDEF, 0), 0xABCDEF);
    EXPECT_EQ(BlendColor(0x000000, 0x0000C8, 50), 0x000064);
}

TEST(AdvOfficeStatusBar, PathsShortenDirectoryByDirectory) {
    TOwnedDC dc(::CreateCompatibleDC(nullptr));
    TCanvas canvas;
    canvas.SetHandle(dc.get());
    canvas.Font()->SetName(L"Tahoma");
    const std::wstring name = L"C:\\Program Files\\Vendor\\Tool\\data.bin";
    const wchar_t* steps[] = {L"C:\\...\\Vendor\\Tool\\data.bin", L"C:\\...\\Tool\\data.bin", L"C:\\...\\data.bin",
                              L"...\\data.bin", L"data.bin"};
    EXPECT_EQ(ShortenPath(name, &canvas, canvas.TextWidth(name)), name);
    for (const wchar_t* step : steps) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(step)));
        EXPECT_EQ(ShortenPath(name, &canvas, canvas.TextWidth(step)), step);
    }
    EXPECT_EQ(ShortenPath(name, &canvas, 1), L"data.bin");
    TRect bounds(1, 2, 3, 4);
    DrawStatusText(&canvas, 0, DT_SINGLELINE, bounds, true, aaClearType, false, true, canvas.Font(), L"", TRect(0, 0, 50, 20));
    EXPECT_EQ(bounds, TRect(0, 0, 0, 0));
    canvas.SetHandle(nullptr);
}

TEST(AdvOfficeStatusBar, TickWorkGoesThroughTheSeams) {
    TSeamsScope scope;
    bool numLock = true;
    Seams().KeyState = [&](int key) -> short { return key == VK_NUMLOCK && numLock ? 1 : 0; };
    Seams().Now = [] { return 46000.5; };   // noon
    TAdvOfficeStatusBar bar(nullptr);
    TAdvOfficeStatusPanel* num = bar.Panels()->Add();
    num->SetStyle(psNumLock);
    TAdvOfficeStatusPanel* caps = bar.Panels()->Add();
    caps->SetStyle(psCapsLock);
    TAdvOfficeStatusPanel* time = bar.Panels()->Add();
    time->SetStyle(psTime);
    time->SetTimeFormat(L"hh:nn");
    bar.UpdateStatus();
    EXPECT_EQ(num->Text(), L"NUM");
    EXPECT_EQ(caps->Text(), L"");
    EXPECT_EQ(time->Text(), L"12:00");
    numLock = false;
    bar.UpdateStatus();
    EXPECT_EQ(num->Text(), L"");
}

TEST(AdvOfficeStatusBar, AutoHintPutsTheHintIntoPanelZero) {
    TAdvOfficeStatusBar bar(nullptr);
    THintAction action(nullptr);
    action.SetHint(L"a hint");
    EXPECT_FALSE(bar.ExecuteAction(&action));   // AutoHint off
    bar.SetAutoHint(true);
    EXPECT_TRUE(bar.ExecuteAction(&action));
    EXPECT_EQ(bar.SimpleText(), L"a hint");    // no panels: the simple text
    bar.Panels()->Add();
    action.SetHint(L"second");
    EXPECT_TRUE(bar.ExecuteAction(&action));
    EXPECT_EQ(bar.Panels()->Items(0)->Text(), L"second");
}
