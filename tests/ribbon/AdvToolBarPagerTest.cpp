#include <windows.h>
// The ribbon pager on real windows: its start, parents, styler, page list with the events
// it raises, page and tab geometry, tab groups, painting (probed pixel by pixel), the mouse
// and the page's toolbars.
#include "ribbon/AdvToolBarPager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIPStartup.h"
#include "graphics/GDIPicture.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarStylers.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvToolBar.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

// Every character 7 pixels wide.
class TFixedMeasure : public ITabTextMeasure {
public:
    int TextWidth(const std::wstring& text, const TFont*, bool) override { return 7 * int(text.size()); }
};

class PagerOnForm : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(50, 50, 820, 400);
        FForm->Show();
    }
    TAdvToolBarPager* NewPager(int pages = 3, TWinControl* parent = nullptr) {
        auto* pager = new TAdvToolBarPager(FForm.get());
        pager->SetName(L"Pager" + std::to_wstring(++FPagers));
        pager->SetTabTextMeasure(&FMeasure);
        pager->SetParent(parent ? parent : FForm.get());
        for (int i = 0; i < pages; ++i) pager->AddAdvPage(std::wstring(1, wchar_t(L'A' + i)) + L"page");
        pager->Update();  // a pager made in code loads its properties here
        return pager;
    }
    // The pager painted into a bitmap of its size.
    static std::unique_ptr<TBitmap> Painted(TWinControl* control) {
        auto bitmap = std::make_unique<TBitmap>(control->Width(), control->Height());
        bitmap->Canvas()->Brush()->SetColor(clFuchsia);
        bitmap->Canvas()->FillRect(TRect(0, 0, control->Width(), control->Height()));
        control->Perform(WM_PAINT, WPARAM(bitmap->Canvas()->Handle()), 0);
        return bitmap;
    }
    static TColor Pixel(TBitmap& bitmap, int x, int y) { return TColor(ColorToRGB(bitmap.Canvas()->Pixels(x, y))); }
    static void Click(TAdvToolBarPager* pager, TPoint p, TMouseButton button = mbLeft) {
        const LPARAM at = MAKELPARAM(p.X, p.Y);
        pager->Perform(button == mbLeft ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, button == mbLeft ? MK_LBUTTON : MK_RBUTTON,
                       at);
        pager->Perform(button == mbLeft ? WM_LBUTTONUP : WM_RBUTTONUP, 0, at);
    }
    static TPoint TabCentre(TAdvToolBarPager* pager, int index) {
        const TRect r = pager->GetTabRect(index);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    TFixedMeasure FMeasure;
    int FPagers = 0;
    std::unique_ptr<TForm> FForm;
};

// The events a pager raises, in order.
struct TEventLog {
    std::vector<std::string> Lines;
    bool Veto = false;
    void Attach(TAdvToolBarPager* pager) {
        pager->OnChanging = [this](TObject*, int from, int to, bool& allow) {
            Lines.push_back("changing " + std::to_string(from) + ">" + std::to_string(to));
            if (Veto) allow = false;
        };
        pager->OnChange = [this](TObject*) { Lines.push_back("change"); };
        pager->OnTabChanged = [this](TObject*) { Lines.push_back("tabchanged"); };
    }
};

}  // namespace

TEST_F(PagerOnForm, StartsWithItsDefaults) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(0);
    EXPECT_EQ(pager->Height(), 149);
    EXPECT_EQ(pager->Align(), alTop);
    EXPECT_EQ(pager->ActivePageIndex(), -1);
    EXPECT_EQ(pager->ActivePage(), nullptr);
    EXPECT_EQ(pager->Caption()->Height(), 26);
    EXPECT_EQ(pager->Caption()->Indent(), 100);
    EXPECT_TRUE(pager->Caption()->Visible());
    EXPECT_TRUE(pager->TabStop());
    EXPECT_TRUE(pager->CanMove());
    EXPECT_TRUE(pager->EnableWheel());
    EXPECT_TRUE(pager->HidePagesOnDblClick());
    EXPECT_FALSE(pager->ShowNonSelectedTabs());
    EXPECT_EQ(pager->UIStyle(), AdvStyleIF::tsCustom);
    EXPECT_EQ(pager->AntiAlias(), AdvGDIP::aaClearType);
    EXPECT_EQ(pager->DefTabHeight(), 26);
    EXPECT_EQ(pager->DefTabMargin(), 60);
    EXPECT_NE(pager->CurrentToolBarStyler(), nullptr);
    EXPECT_EQ(pager->OptionPicture()->Width(), 9);
    EXPECT_EQ(pager->OptionDisabledPicture()->Height(), 9);
    EXPECT_EQ(pager->Version(), L"6.8.3.3");
    pager->SetVersion(L"1.0");
    EXPECT_EQ(pager->Version(), L"6.8.3.3");
}

TEST_F(PagerOnForm, RefusesParentsThatCannotHoldIt) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(1);
    auto* other = new TAdvToolBarPager(FForm.get());
    auto* toolBar = new TAdvToolBar(FForm.get());
    toolBar->SetParent(FForm.get());
    TWinControl* parents[] = {toolBar, other, pager->AdvPages(0)};
    for (TWinControl* parent : parents) {
        SCOPED_TRACE(testing::PrintToString(parent->ClassName()));
        auto* victim = new TAdvToolBarPager(FForm.get());
        victim->SetParent(FForm.get());
        try {
            victim->SetParent(parent);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), L"Invalid Parent");
        }
        EXPECT_EQ(victim->Parent(), FForm.get());
    }
}

TEST_F(PagerOnForm, GlassOnlyOnARibbonFormAndLostForGood) {
    REQUIRE_DISPLAY();
    const TGlassConditions real = QueryGlassConditions();
    RecordProperty("WineGlass", std::to_string(real.ComCtl6) + std::to_string(real.VistaOrLater) +
                                    std::to_string(real.Themed) + std::to_string(real.Composition));
    TGlassQueryScope glass([] { return TGlassConditions{true, true, true, true}; });
    auto ribbonForm = std::make_unique<TAdvToolBarForm>(nullptr);
    ribbonForm->SetBounds(60, 60, 700, 300);
    ribbonForm->Show();

    auto* pager = new TAdvToolBarPager(ribbonForm.get());
    pager->SetTabTextMeasure(&FMeasure);
    ASSERT_TRUE(pager->IsAeroVista());
    pager->SetParent(ribbonForm.get());
    pager->AddAdvPage(L"Home");
    pager->Update();
    EXPECT_TRUE(pager->IsAeroVista());
    // The caption layer covers the caption bar exactly.
    ASSERT_NE(pager->CaptionLayer(), nullptr);
    EXPECT_EQ(pager->CaptionLayer()->BoundsRect(), pager->GetCaptionRect());
    // Nothing erased on glass.
    EXPECT_EQ(pager->Perform(WM_ERASEBKGND, 0, 0), 1);
    // The region leaves the notch for the form's own caption buttons.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(pager->Handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 5, 5));
    EXPECT_FALSE(PtInRegion(region, pager->Width() - 5, 5));
    EXPECT_TRUE(PtInRegion(region, pager->Width() - 5, 40));
    DeleteObject(region);

    // On a plain form glass goes, and does not come back on a ribbon form.
    pager->SetParent(FForm.get());
    EXPECT_FALSE(pager->IsAeroVista());
    pager->SetParent(ribbonForm.get());
    EXPECT_FALSE(pager->IsAeroVista());
    pager->SetParent(FForm.get());
}

TEST_F(PagerOnForm, StylerAssignedClearedAndFreed) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(1);
    TAdvToolBar* toolBar = pager->AdvPages(0)->CreateAdvToolBar();
    auto* styler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(FForm.get());
    styler->SetName(L"Styler1");
    pager->SetToolBarStyler(styler);
    EXPECT_EQ(pager->CurrentToolBarStyler(), styler);
    EXPECT_GE(styler->ControlList()->IndexOf(static_cast<TCustomControl*>(pager)), 0);
    // The page's toolbars follow the pager's styler.
    EXPECT_EQ(toolBar->CurrentToolBarStyler(), styler);

    pager->SetToolBarStyler(nullptr);
    EXPECT_EQ(pager->ToolBarStyler(), nullptr);
    EXPECT_LT(styler->ControlList()->IndexOf(static_cast<TCustomControl*>(pager)), 0);
    EXPECT_NE(toolBar->CurrentToolBarStyler(), styler);

    pager->SetToolBarStyler(styler);
    delete styler;
    EXPECT_EQ(pager->ToolBarStyler(), nullptr);
    EXPECT_NE(pager->CurrentToolBarStyler(), nullptr);
    Painted(pager);  // paints with its own styler again
}

TEST_F(PagerOnForm, PaintsNothingInsideBeginEndUpdate) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(2);
    pager->EndUpdate();  // without BeginUpdate: nothing
    EXPECT_EQ(pager->UpdateCount(), 0);
    pager->BeginUpdate();
    pager->BeginUpdate();
    EXPECT_EQ(Pixel(*Painted(pager), 10, 40), clFuchsia);
    pager->EndUpdate();
    EXPECT_EQ(Pixel(*Painted(pager), 10, 40), clFuchsia);
    pager->EndUpdate();
    EXPECT_NE(Pixel(*Painted(pager), 10, 40), clFuchsia);
}

TEST_F(PagerOnForm, ActivePageChangesWithTheirEvents) {
    REQUIRE_DISPLAY();
    struct TCase {
        const char* Name;
        int Pages;
        int Active;
        std::function<void(TAdvToolBarPager*, TEventLog&)> Act;
        int ExpectActive;
        std::wstring ExpectCaption;  // of the active page, "" for none
        std::vector<std::string> ExpectLog;
    };
    auto remove = [](int index) {
        return [index](TAdvToolBarPager* p, TEventLog&) { p->RemoveAdvPage(p->AdvPages(index)); };
    };
    const TCase cases[] = {
        {"remove before active", 3, 1, remove(0), 0, L"Bpage", {"changing 1>0", "change", "tabchanged"}},
        {"remove active", 3, 1, remove(1), 1, L"Cpage",
         {"changing 1>2", "change", "tabchanged", "changing 2>1", "change", "tabchanged"}},
        {"remove after active", 3, 1, remove(2), 1, L"Bpage", {}},
        {"remove active skipping a hidden page", 4, 1,
         [](TAdvToolBarPager* p, TEventLog& log) {
             p->AdvPages(2)->SetTabVisible(false);
             log.Lines.clear();
             p->RemoveAdvPage(p->AdvPages(1));
         },
         2, L"Dpage", {"changing 1>3", "change", "tabchanged", "changing 3>2", "change", "tabchanged"}},
        {"remove the last page", 1, 0, remove(0), -1, L"", {}},
        {"veto", 3, 0,
         [](TAdvToolBarPager* p, TEventLog& log) {
             log.Veto = true;
             p->SetActivePageIndex(2);
         },
         0, L"Apage", {"changing 0>2", "tabchanged"}},
        {"next without wrap", 3, 2, [](TAdvToolBarPager* p, TEventLog&) { p->NextActivePage(); }, 2, L"Cpage", {}},
        {"prev skips disabled", 3, 2,
         [](TAdvToolBarPager* p, TEventLog& log) {
             p->AdvPages(1)->SetTabEnabled(false);
             log.Lines.clear();
             p->PrevActivePage();
         },
         0, L"Apage", {"changing 2>0", "change", "tabchanged"}},
        {"select next wraps", 3, 2, [](TAdvToolBarPager* p, TEventLog&) { p->SelectNextPage(true); }, 0, L"Apage",
         {"changing 2>0", "change", "tabchanged"}},
        {"select next on a single page", 1, 0, [](TAdvToolBarPager* p, TEventLog&) { p->SelectNextPage(true); }, 0,
         L"Apage", {}},
        {"move keeps the active page", 3, 0, [](TAdvToolBarPager* p, TEventLog&) { p->MoveAdvPage(0, 2); }, 2,
         L"Apage", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvToolBarPager* pager = NewPager(c.Pages);
        pager->SetActivePageIndex(c.Active);
        TEventLog log;
        log.Attach(pager);
        c.Act(pager, log);
        EXPECT_EQ(pager->ActivePageIndex(), c.ExpectActive);
        TAdvPage* active = pager->ActivePage();
        EXPECT_EQ(active ? active->Caption() : std::wstring(), c.ExpectCaption);
        if (active) {
            EXPECT_TRUE(active->Visible());
        }
        // Only the active page shows.
        for (int i = 0; i < pager->AdvPageCount(); ++i)
            EXPECT_EQ(pager->AdvPages(i)->Visible(), pager->AdvPages(i) == active) << "page " << i;
        EXPECT_EQ(log.Lines, c.ExpectLog);
        delete pager;
    }
}

TEST_F(PagerOnForm, FindsNextPagesOfItsOwnOnly) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(3);
    TAdvToolBarPager* other = NewPager(1);
    EXPECT_EQ(pager->FindNextPage(nullptr, true, true), nullptr);
    EXPECT_EQ(pager->FindNextPage(other->AdvPages(0), true, true), nullptr);
    EXPECT_EQ(pager->FindNextPage(pager->AdvPages(2), true, false), pager->AdvPages(0));
    pager->AdvPages(1)->SetTabVisible(false);
    EXPECT_EQ(pager->FindNextPage(pager->AdvPages(0), true, true), pager->AdvPages(2));
    EXPECT_EQ(pager->ActivePageIndex(), -1);  // finding selects nothing
    try {
        pager->AdvPages(3);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Index out of bounds in list read access");
    }
}

TEST_F(PagerOnForm, PagesLieBelowTheTabs) {
    {
        // Its sizes are the 96-dpi ones; the scaled sizes have their own table.
        HDC screen = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        if (dpi != 96) GTEST_SKIP() << "sizes pinned at 96 dpi";
    }
    REQUIRE_DISPLAY();
    struct TCase { const char* Name; bool Caption; int LeftMargin; TRect Expect; };
    const TCase cases[] = {
        {"caption", true, 0, Rect(4, 52, 800, 144)},
        {"no caption", false, 0, Rect(4, 26, 800, 144)},
        {"margin -1 ignored", true, -1, Rect(4, 52, 800, 144)},
        {"margin 10", true, 10, Rect(14, 52, 800, 144)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvToolBarPager* pager = NewPager(1);
        pager->SetActivePageIndex(0);
        pager->Caption()->SetVisible(c.Caption);
        pager->SetPageLeftMargin(c.LeftMargin);
        TRect expect = c.Expect;
        expect.Right = pager->ClientWidth() - 4;
        EXPECT_EQ(pager->GetPageRect(), expect);
        EXPECT_EQ(pager->AdvPages(0)->BoundsRect(), expect);
        delete pager;
    }
}

TEST_F(PagerOnForm, TabsAreMeasuredAndSqueezedToFit) {
    {
        // Its sizes are the 96-dpi ones; the scaled sizes have their own table.
        HDC screen = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        if (dpi != 96) GTEST_SKIP() << "sizes pinned at 96 dpi";
    }
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(3);
    // 5 characters of 7 pixels, a pixel each side and the font's size beyond 7 points.
    const int fontSize = pager->CurrentToolBarStyler()->TabAppearance()->Font()->Size();
    EXPECT_EQ(pager->AdvPages(0)->TabClientWidth(), 2 + std::max(0, fontSize - 7) + 35);
    const TRect tabs = pager->GetTabsRect();
    EXPECT_EQ(tabs.Left, 4 + 60);
    EXPECT_EQ(pager->GetTabRect(0).Left, tabs.Left);
    EXPECT_EQ(pager->GetTabRect(1).Left, pager->GetTabRect(0).Right + 4);
    EXPECT_EQ(pager->TabAtPos(TabCentre(pager, 1).X, TabCentre(pager, 1).Y), 1);
    pager->AdvPages(1)->SetTabVisible(false);
    EXPECT_EQ(pager->GetTabRect(1), Rect(-1, -1, -1, -1));

    // The MDI buttons take 59 pixels off the row.
    const int before = pager->GetTabsRect().Right;
    pager->SetAutoMDIButtons(true);
    EXPECT_EQ(pager->GetTabsRect().Right, before - 59);
    pager->SetAutoMDIButtons(false);

    // A narrow pager squeezes the tabs into the row, and scrolls when that is not enough.
    pager->AdvPages(1)->SetTabVisible(true);
    for (int i = 0; i < 7; ++i) pager->AddAdvPage(L"Another long page caption");
    FForm->SetWidth(330);  // the pager follows its form's width
    TestSupport::PumpMessages();
    EXPECT_EQ(pager->CurrentTabSpacing(), 3);
    EXPECT_TRUE(pager->TabRow().Scroll.CanGoForward());
    ASSERT_NE(pager->RightScrollButton(), nullptr);
    EXPECT_TRUE(pager->RightScrollButton()->Visible());
    EXPECT_EQ(pager->ScrollTabs(1), 1);
    EXPECT_GT(pager->StartTabIndex(), 0);
    ASSERT_NE(pager->LeftScrollButton(), nullptr);
    EXPECT_TRUE(pager->LeftScrollButton()->Visible());
    Painted(pager);
}

TEST_F(PagerOnForm, TabGroupsSpanTheirTabs) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(4);
    struct TCase { const char* Name; int Start, End; bool Has; };
    const TCase cases[] = {
        {"two tabs", 1, 2, true},
        {"end = page count", 2, 4, false},
        {"end before start", 2, 1, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        pager->TabGroups()->Clear();
        TTabGroupItem* item = pager->TabGroups()->Add();
        item->SetCaption(L"Tools");
        item->SetTabIndexStart(c.Start);
        item->SetTabIndexEnd(c.End);
        bool left = true, right = true;
        TRect r;
        EXPECT_EQ(pager->GetTabGroupRect(0, left, right, r), c.Has);
        if (!c.Has) {
            EXPECT_EQ(pager->TabGroupAtPos(TabCentre(pager, c.Start).X, 10), -1);
            continue;
        }
        EXPECT_EQ(r.Left, pager->GetTabRect(c.Start).Left - 2);
        EXPECT_EQ(r.Right, pager->GetTabRect(c.End).Right + 2);
        EXPECT_EQ(r.Top, 0);
        EXPECT_EQ(pager->GetTabGroupIndex(c.Start), 0);
        // A click on the header selects the group's first page.
        int clicked = -1;
        pager->OnTabGroupClick = [&](TObject*, int group) { clicked = group; };
        Click(pager, {(r.Left + r.Right) / 2, 10});
        EXPECT_EQ(clicked, 0);
        EXPECT_EQ(pager->ActivePageIndex(), c.Start);
    }
    // Overlapping groups: the first in the collection wins; all tabs hidden: no rectangle.
    pager->TabGroups()->Clear();
    for (int g = 0; g < 2; ++g) {
        TTabGroupItem* item = pager->TabGroups()->Add();
        item->SetTabIndexStart(1);
        item->SetTabIndexEnd(2 + g);
    }
    EXPECT_EQ(pager->GetTabGroupIndex(2), 0);
    EXPECT_EQ(pager->GetTabGroupIndex(3), 1);
    EXPECT_EQ(pager->GetTabGroupIndex(4), -1);
    pager->AdvPages(1)->SetTabVisible(false);
    pager->AdvPages(2)->SetTabVisible(false);
    bool left = true, right = true;
    TRect r;
    EXPECT_FALSE(pager->GetTabGroupRect(0, left, right, r));
}

TEST_F(PagerOnForm, PaintsBandLinesAndTabFaces) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(3);
    pager->SetActivePageIndex(1);
    TTabAppearance* tab = pager->CurrentToolBarStyler()->TabAppearance();
    tab->BackGround()->SetColor(0x00C000);
    tab->BackGround()->SetColorTo(clNone);
    tab->SetColorSelected(0x0000C0);
    tab->SetColorSelectedTo(0x0000C0);
    tab->SetColorMirrorSelected(0x0000C0);
    tab->SetColorMirrorSelectedTo(0x0000C0);
    auto bitmap = Painted(pager);
    const TRect first = pager->GetTabRect(0);
    const TRect selected = pager->GetTabRect(1);
    // The band beside the first tab.
    EXPECT_EQ(Pixel(*bitmap, first.Left - 10, first.Top + 10), TColor(0x00C000));
    // The line under the caption: 70 percent white over the band.
    EXPECT_EQ(Pixel(*bitmap, 20, pager->GetTabsArea().Top + 1), BlendColor(clWhite, 0x00C000, 70));
    // A selected face, and no face on a normal tab (only its text).
    EXPECT_EQ(Pixel(*bitmap, (selected.Left + selected.Right) / 2, selected.Bottom - 3), TColor(0x0000C0));
    EXPECT_EQ(Pixel(*bitmap, first.Left + 2, first.Bottom - 3), TColor(0x00C000));
}

TEST_F(PagerOnForm, CaptionTextSplitsAtTheDash) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(1);
    TVistaTextBackground* caption = pager->CurrentToolBarStyler()->PagerCaption();
    caption->SetTextColor(0x0000FF);
    caption->SetTextColorExtended(0xFF0000);
    pager->SetAntiAlias(AdvGDIP::aaNone);
    pager->Caption()->SetCaption(L"MMMMMMMM - WWWWWWWW");
    auto bitmap = Painted(pager);
    bool seenExtended = false, seenText = false;
    int lastExtended = -1, firstText = 10000;
    for (int x = 0; x < pager->Width(); ++x)
        for (int y = 2; y < 24; ++y) {
            const TColor c = Pixel(*bitmap, x, y);
            if (c == TColor(0xFF0000)) seenExtended = true, lastExtended = std::max(lastExtended, x);
            if (c == TColor(0x0000FF)) seenText = true, firstText = std::min(firstText, x);
        }
    EXPECT_TRUE(seenExtended);
    EXPECT_TRUE(seenText);
    EXPECT_LT(lastExtended, firstText + 4);  // the document name comes first
}

// The scenic presets ask for glass; off a ribbon form (or without glass on the system) the
// pager keeps painting its own caption and cuts no notch out of its window.
TEST_F(PagerOnForm, ScenicPresetOnAPlainFormKeepsItsCaption) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(1);
    auto* styler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(FForm.get());
    styler->SetName(L"ScenicStyler");
    pager->SetToolBarStyler(styler);
    pager->SetAntiAlias(AdvGDIP::aaNone);
    pager->Caption()->SetCaption(L"MMMMMMMM - WWWWWWWW");
    for (AdvToolBarStylers::TToolBarStyle style :
         {AdvToolBarStylers::bsOffice2010Black, AdvToolBarStylers::bsOffice2010Blue}) {
        styler->SetStyle(style);
        EXPECT_FALSE(pager->IsAeroVista());
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetWindowRgn(pager->Handle(), region), ERROR);  // no notch
        DeleteObject(region);
        auto bitmap = Painted(pager);
        int extended = 0;
        for (int x = 0; x < pager->Width(); ++x)
            for (int y = 2; y < 24; ++y) extended += Pixel(*bitmap, x, y) == TColor(0xFF0000);
        EXPECT_GT(extended, 0) << "no document name on the caption bar, style " << int(style);
    }
}

// On a ribbon form with glass the styler's wish is granted and taken back with the notch.
TEST_F(PagerOnForm, ScenicPresetTurnsGlassOnAndOffOnARibbonForm) {
    REQUIRE_DISPLAY();
    TGlassQueryScope glass([] { return TGlassConditions{true, true, true, true}; });
    auto ribbonForm = std::make_unique<TAdvToolBarForm>(nullptr);
    ribbonForm->SetBounds(60, 60, 700, 300);
    ribbonForm->Show();
    auto* pager = new TAdvToolBarPager(ribbonForm.get());
    pager->SetName(L"GlassPager");
    pager->SetTabTextMeasure(&FMeasure);
    pager->SetParent(ribbonForm.get());
    pager->AddAdvPage(L"Home");
    pager->Update();
    auto* styler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(ribbonForm.get());
    styler->SetName(L"GlassStyler");
    pager->SetToolBarStyler(styler);
    styler->SetStyle(AdvToolBarStylers::bsOffice2007Luna);
    EXPECT_FALSE(pager->IsAeroVista());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(pager->Handle(), region), ERROR);
    styler->SetStyle(AdvToolBarStylers::bsOffice2010Black);
    EXPECT_TRUE(pager->IsAeroVista());
    ASSERT_NE(GetWindowRgn(pager->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, pager->Width() - 5, 5));
    DeleteObject(region);
}

TEST_F(PagerOnForm, ClicksSelectTabsAndTwoOnTheActiveOneCollapse) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(3);
    pager->SetActivePageIndex(0);
    int collapses = 0;
    pager->OnCollaps = [&](TObject*) { ++collapses; };
    // Two clicks on another tab: it is selected, and nothing collapses.
    Click(pager, TabCentre(pager, 1));
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    EXPECT_EQ(pager->ClickCount(), -1);
    Click(pager, TabCentre(pager, 1));
    EXPECT_EQ(pager->ClickCount(), 0);
    EXPECT_EQ(collapses, 0);
    // A third within the window collapses; the double-click window then ran out.
    Click(pager, TabCentre(pager, 1));
    EXPECT_EQ(collapses, 0);
    Click(pager, TabCentre(pager, 1));
    EXPECT_EQ(collapses, 1);
    EXPECT_FALSE(pager->Expanded());
    pager->Expand();
    Click(pager, TabCentre(pager, 1));
    pager->DblClickTimerTick();  // the 600 ms window ends
    Click(pager, TabCentre(pager, 1));
    EXPECT_EQ(collapses, 1);

    // A press on a disabled tab marks it pressed without selecting it.
    pager->AdvPages(2)->SetTabEnabled(false);
    const TPoint disabled = TabCentre(pager, 2);
    pager->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(disabled.X, disabled.Y));
    EXPECT_EQ(pager->DownPageIndex(), 2);
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    pager->Perform(WM_LBUTTONUP, 0, MAKELPARAM(disabled.X, disabled.Y));
    EXPECT_EQ(pager->DownPageIndex(), -1);
}

TEST_F(PagerOnForm, CaptionDragMovesTheFormUnlessCanMoveIsOff) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(2);
    int moves = 0;
    auto original = FForm->WindowProc;
    FForm->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_SYSCOMMAND && message.WParam == 0xF011) {
            ++moves;  // recorded, not run: the move loop would wait for the mouse
            return;
        }
        original(message);
    };
    pager->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 10));
    pager->Perform(WM_LBUTTONUP, 0, MAKELPARAM(300, 10));
    EXPECT_EQ(moves, 1);
    pager->SetCanMove(false);
    pager->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 10));
    pager->Perform(WM_LBUTTONUP, 0, MAKELPARAM(300, 10));
    EXPECT_EQ(moves, 1);
    FForm->WindowProc = original;
}

TEST_F(PagerOnForm, WheelStepsTabsUnlessTheFocusIsInside) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(3);
    pager->SetActivePageIndex(1);
    const TPoint inside = pager->ClientToScreen({300, 40});
    EXPECT_TRUE(pager->HandleMouseWheel(-120, inside));
    EXPECT_EQ(pager->ActivePageIndex(), 2);
    EXPECT_TRUE(pager->HandleMouseWheel(120, inside));
    EXPECT_EQ(pager->ActivePageIndex(), 1);
    EXPECT_FALSE(pager->HandleMouseWheel(120, pager->ClientToScreen({300, 300})));

    // The pager itself focused: steps unless NonActiveMouseWheelOnFocus.
    pager->SetFocus();
    if (GetFocus() == pager->Handle()) {
        EXPECT_TRUE(pager->HandleMouseWheel(-120, inside));
        pager->NonActiveMouseWheelOnFocus = true;
        EXPECT_FALSE(pager->HandleMouseWheel(-120, inside));
        pager->NonActiveMouseWheelOnFocus = false;
    }
    // A control on a page has the focus: the wheel leaves the tabs alone.
    auto* inner = new TCustomControl(FForm.get());
    inner->SetParent(pager->ActivePage());
    inner->SetBounds(10, 10, 40, 20);
    inner->SetTabStop(true);
    inner->SetFocus();
    if (GetFocus() == inner->Handle()) {
        const int before = pager->ActivePageIndex();
        EXPECT_FALSE(pager->HandleMouseWheel(-120, inside));
        EXPECT_EQ(pager->ActivePageIndex(), before);
    }
}

TEST_F(PagerOnForm, EdgesLetTheMouseThroughToTheForm) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(1);
    struct TCase { int X, Y; bool Transparent; };
    const TCase cases[] = {{100, 2, true}, {2, 50, true}, {pager->Width() - 5, 50, true}, {100, 50, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << "," << c.Y);
        const TPoint screen = pager->ClientToScreen({c.X, c.Y});
        const LRESULT hit = pager->Perform(WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y));
        EXPECT_EQ(hit == HTTRANSPARENT, c.Transparent);
    }
}

TEST_F(PagerOnForm, PageCaptionSettingsTellTheirChanges) {
    TAdvPageCaption caption;
    int changes = 0;
    bool heightUpdate = false;
    caption.OnChange = [&](TObject*) {
        ++changes;
        heightUpdate = caption.HeightUpdate();
    };
    struct TCase { const char* Name; std::function<void()> Act; int Changes; bool HeightUpdate; };
    const TCase cases[] = {
        {"caption", [&] { caption.SetCaption(L"Doc"); }, 1, false},
        {"same caption", [&] { caption.SetCaption(L"Doc"); }, 0, false},
        {"height", [&] { caption.SetHeight(30); }, 1, true},
        {"equal height still tells", [&] { caption.SetHeight(30); }, 1, false},
        {"visible", [&] { caption.SetVisible(false); }, 1, true},
        {"indent", [&] { caption.SetIndent(50); }, 1, false},
        {"same min width", [&] { caption.SetMinWidth(100); }, 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        changes = 0;
        heightUpdate = false;
        c.Act();
        EXPECT_EQ(changes, c.Changes);
        EXPECT_EQ(heightUpdate, c.HeightUpdate);
        EXPECT_FALSE(caption.HeightUpdate());
    }
}

TEST_F(PagerOnForm, PageKeepsItsToolBarsInStep) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(3);
    pager->SetActivePageIndex(0);
    TAdvPage* page = pager->AdvPages(0);
    TAdvToolBar* made = page->CreateAdvToolBar();
    EXPECT_EQ(made->Caption(), L"Untitled");
    EXPECT_EQ(made->Width(), 120);
    EXPECT_TRUE(made->ShowCaption());
    EXPECT_EQ(made->CaptionPosition(), cpBottom);
    EXPECT_FALSE(made->ShowRightHandle());
    EXPECT_EQ(page->AdvToolBarCount(), 1);
    EXPECT_EQ(page->AdvToolBars(5), nullptr);

    // Parenting a toolbar on the page lists it; taking it off drops it.
    auto* second = new TAdvToolBar(FForm.get());
    second->SetParent(page);
    EXPECT_EQ(page->IndexOfAdvToolBar(second), 1);
    EXPECT_GT(second->Left(), made->Left());
    second->SetParent(FForm.get());
    EXPECT_EQ(page->IndexOfAdvToolBar(second), -1);
    EXPECT_EQ(page->AddAdvToolBar(nullptr), -1);
    EXPECT_EQ(page->AddAdvToolBar(made), -1);

    // Dropping page 0 on page 2 moves it there; the pager stays its parent.
    page->SetParent(pager->AdvPages(2));
    EXPECT_EQ(pager->IndexOfPage(page), 2);
    EXPECT_EQ(page->Parent(), pager);
    EXPECT_EQ(pager->ActivePage(), page);

    // Nor a toolbar holds a page.
    try {
        page->SetParent(made);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Invalid Parent");
    }
}

TEST_F(PagerOnForm, MeasuresTabTextsWithItsFont) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager(0);
    pager->SetTabTextMeasure(nullptr);
    pager->AddAdvPage(L"Ho");
    pager->AddAdvPage(L"Home Home");
    const int shortTab = pager->AdvPages(0)->TabClientWidth();
    const int longTab = pager->AdvPages(1)->TabClientWidth();
    EXPECT_GT(shortTab, 10);
    EXPECT_GT(longTab, shortTab + 20);
}
