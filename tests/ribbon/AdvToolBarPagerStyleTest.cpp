// The pager on a window following presets, tones and its styler, rescaling, switching glass,
// and keeping its state in the registry or an INI file.
#include "ribbon/AdvToolBarPager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Form.h"
#include "classlib/Screen.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarStylers.h"
#include "menus/AdvToolBarSystem.h"
#include "ribbon/AdvToolBarPagerScale.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvToolBar.h"

using namespace ClassLib;
using namespace AdvToolBar;
using AdvStyleIF::TColorTones;

namespace {

// Every character 7 pixels wide; counts how often tabs were measured.
class TCountingMeasure : public ITabTextMeasure {
public:
    int TextWidth(const std::wstring& text, const TFont*, bool) override {
        ++Calls;
        return 7 * int(text.size());
    }
    int Calls = 0;
};

TColorTones SampleTones() {
    return {{0xF0F0F0, 0xD0D0D0, 0x202020},
            {0xE0E0E0, 0xA0A0A0, 0x303030},
            {0xC0E0F0, 0x80B0D0, 0x101010},
            {0xD0F0FF, 0x90C0E0, 0x000080},
            {0xF8F8F8, 0xE8E8E8, 0x909090}};
}

class PagerStyle : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        ResetDPIScale();
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(50, 50, 820, 400);
        FForm->Show();
    }
    void TearDown() override {
        FForm.reset();
        ResetDPIScale();  // presets leave the scenic flag and the tone sets behind
    }
    // A pager made in code; `before` runs ahead of its Loaded (as a form description would).
    TAdvToolBarPager* NewPager(const std::function<void(TAdvToolBarPager*)>& before = {}) {
        auto* pager = new TAdvToolBarPager(FForm.get());
        pager->SetName(L"StylePager" + std::to_wstring(++FPagers));
        pager->SetTabTextMeasure(&FMeasure);
        pager->SetParent(FForm.get());
        for (const wchar_t* caption : {L"Home", L"Insert", L"View"}) pager->AddAdvPage(caption);
        if (before) before(pager);
        if (pager->HasState(csLoading))
            pager->Loaded();
        else
            pager->Update();  // a pager made in code loads its properties here
        pager->SetActivePageIndex(0);
        return pager;
    }
    TCountingMeasure FMeasure;
    int FPagers = 0;
    std::unique_ptr<TForm> FForm;
};

// A child that hears of the pager's style.
class TStyleListener : public TCustomControl, public IRibbonChildNotify {
public:
    explicit TStyleListener(TComponent* owner) : TCustomControl(owner) {}
    void NotifyStyle(bool scenic, int style) override { Heard.push_back({scenic, style}); }
    void NotifyReserved() override {}
    void NotifyFormMoved() override {}
    void NotifyPagerPressed() override {}
    std::vector<std::pair<bool, int>> Heard;
};

// A styler without presets: UpdateStyle can only ask it to apply what it has.
class TPlainStyler : public TCustomAdvToolBarStyler {
public:
    explicit TPlainStyler(TComponent* owner) : TCustomAdvToolBarStyler(owner) {}
    void ReapplyStyle() override { ++Reapplied; }
    int Reapplied = 0;
};

}  // namespace

TEST_F(PagerStyle, PresetsReuseOneStylerAndSetTheGroupStyle) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager();
    TCustomAdvToolBarStyler* own = nullptr;
    int components = -1;
    struct TCase { AdvStyleIF::TOVTStyle Style; TGroupStyle Group; bool Tones; bool Metro; };
    const TCase cases[] = {
        {AdvStyleIF::tsOffice2019White, gsOffice2019, true, true},
        {AdvStyleIF::tsOffice2007Luna, gsClassic, false, false},
        {AdvStyleIF::tsOffice2013White, gsOffice2013, true, true},
        {AdvStyleIF::tsOffice2016Black, gsOffice2013, true, true},
        {AdvStyleIF::tsWindows10, gsWindows8, true, false},
        {AdvStyleIF::tsOffice2010Blue, gsClassic, false, false},
    };
    for (int round = 0; round < 4; ++round) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(int(c.Style));
            pager->SetUIStyle(c.Style);
            EXPECT_EQ(pager->UIStyle(), c.Style);
            EXPECT_EQ(pager->GroupStyle(), c.Group);
            EXPECT_EQ(pager->Itones(), c.Tones);
            EXPECT_EQ(pager->Metro(), c.Metro);
            if (!own) {
                own = pager->CurrentToolBarStyler();
                components = pager->ComponentCount();
            }
            // No styler piles up: the pager keeps the one it was made with.
            EXPECT_EQ(pager->CurrentToolBarStyler(), own);
            EXPECT_EQ(pager->ComponentCount(), components);
        }
    }
    // Flat mode left: round tabs, 3D and shadow are back.
    EXPECT_TRUE(pager->TabRoundEdges());
}

TEST_F(PagerStyle, CustomStyleOnlyStoresAndAnAssignedStylerIgnoresStyles) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager();
    pager->SetComponentStyle(AdvStyleIF::tsOffice2019Gray);
    TCustomAdvToolBarStyler* before = pager->CurrentToolBarStyler();
    pager->SetComponentStyle(AdvStyleIF::tsCustom);
    EXPECT_EQ(pager->UIStyle(), AdvStyleIF::tsCustom);
    EXPECT_EQ(pager->GroupStyle(), gsOffice2019);
    EXPECT_EQ(pager->CurrentToolBarStyler(), before);

    auto* styler = new AdvToolBarStylers::TAdvToolBarOfficeStyler(FForm.get());
    styler->SetName(L"Assigned");
    pager->SetToolBarStyler(styler);
    styler->SetStyle(AdvToolBarStylers::bsOffice2007Luna);
    pager->SetComponentStyle(AdvStyleIF::tsOffice2019White);
    EXPECT_EQ(pager->UIStyle(), AdvStyleIF::tsCustom);
    EXPECT_EQ(pager->GroupStyle(), gsClassic);
    EXPECT_EQ(pager->CurrentToolBarStyler(), styler);
}

TEST_F(PagerStyle, ColorTonesWaitForLoadingThenTurnThePagerFlat) {
    REQUIRE_DISPLAY();
    const TColorTones tones = SampleTones();
    TAdvToolBarPager* pager = NewPager([&](TAdvToolBarPager* p) {
        p->BeginLoading();
        p->SetColorTones(tones);  // a form description's order: ignored until loaded
        EXPECT_FALSE(p->Itones());
    });
    TAdvToolBar* toolBar = pager->AdvPages(0)->CreateAdvToolBar();
    EXPECT_FALSE(pager->Metro());
    pager->SetColorTones(tones);
    EXPECT_TRUE(pager->Metro());
    EXPECT_TRUE(pager->Itones());
    EXPECT_FALSE(pager->TabRoundEdges());
    EXPECT_FALSE(pager->GetShow3D());
    EXPECT_EQ(pager->Color(), tones.Background.BrushColor);
    EXPECT_EQ(pager->CurrentTabAppearance(), pager->TabAppearance());
    EXPECT_EQ(pager->CurrentTabAppearance()->ColorHot(), tones.Hover.BrushColor);
    EXPECT_EQ(RibbonColorTones, tones);
    // The page's toolbars read the pager's toolbar copy.
    ASSERT_NE(pager->ToolBarAppearance(), nullptr);
    EXPECT_EQ(pager->ToolBarAppearance()->Color()->Color(), tones.Background.BrushColor);
    EXPECT_EQ(pager->AdvPages(0)->PagerToolBarAppearance(), pager->ToolBarAppearance());
    EXPECT_EQ(pager->AdvPages(0)->PagerToolBarCaptionTextColor(), tones.Background.TextColor);
    (void)toolBar;

    // A caption button takes the flat glow looks.
    auto* button = new AdvGlowButton::TAdvGlowButton(FForm.get());
    button->SetRounded(true);
    pager->ApplyGlowButtonAppearance(button);
    EXPECT_FALSE(button->Rounded());
    EXPECT_EQ(button->Appearance()->ColorHot(), tones.Hover.BrushColor);
    EXPECT_EQ(button->Font()->Name(), AdvStyleIF::GetDefaultFontName());
}

TEST_F(PagerStyle, OnlyASwitchInOrOutOf2019MeasuresTheTabs) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager();
    TAppColor app;
    TOfficeTones tones{SampleTones(), SampleTones(), SampleTones(), &app};
    pager->SetOfficeTones(tones, gsOffice2013);
    struct TStep { TGroupStyle To; bool Measures; };
    const TStep steps[] = {{gsOffice2016, false}, {gsOffice2013, false}, {gsOffice2019, true}, {gsOffice2019, false},
                           {gsOffice2013, true}};
    for (const TStep& step : steps) {
        SCOPED_TRACE(int(step.To));
        FMeasure.Calls = 0;
        pager->SetOfficeTones(tones, step.To);
        EXPECT_EQ(pager->GroupStyle(), step.To);
        EXPECT_EQ(FMeasure.Calls > 0, step.Measures);
    }
    // The 2013 look: hot tab text in the application colour.
    EXPECT_EQ(pager->TabAppearance()->TextColorHot(), app.AppButtonColor());
    EXPECT_EQ(AppButtonColorTones.Background.BrushColor, app.AppButtonColor());
}

TEST_F(PagerStyle, UpdateStyleReappliesTheAssignedStylerWhateverItsKind) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager();
    auto* office = new AdvToolBarStylers::TAdvToolBarOfficeStyler(FForm.get());
    office->SetName(L"Office");
    pager->SetToolBarStyler(office);
    office->SetStyle(AdvToolBarStylers::bsOffice2019White);
    pager->ClearOfficeTones();
    EXPECT_EQ(pager->GroupStyle(), gsClassic);
    pager->UpdateStyle();
    EXPECT_EQ(pager->GroupStyle(), gsOffice2019);

    // A plain styler has no preset: it re-applies what it has, and nothing is cast wrongly.
    auto* plain = new TPlainStyler(FForm.get());
    plain->SetName(L"Plain");
    pager->SetToolBarStyler(plain);
    EXPECT_NO_THROW(pager->UpdateStyle());
    EXPECT_EQ(plain->Reapplied, 1);

    // Without a styler the UIStyle is applied again.
    pager->SetToolBarStyler(nullptr);
    pager->SetUIStyle(AdvStyleIF::tsOffice2013White);
    pager->ClearOfficeTones();
    pager->UpdateStyle();
    EXPECT_EQ(pager->GroupStyle(), gsOffice2013);
}

TEST_F(PagerStyle, ScenicFlagIsOneForEveryPagerAndTellsTheChildren) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* first = NewPager();
    TAdvToolBarPager* second = NewPager();
    auto* listener = new TStyleListener(FForm.get());
    listener->SetParent(first);
    first->SetWin7ScenicRibbon(true);
    EXPECT_TRUE(second->Win7ScenicRibbon());
    first->SetUIStyle(AdvStyleIF::tsOffice2007Luna);
    listener->Heard.clear();
    first->SetWin7ScenicRibbon(false);
    EXPECT_FALSE(second->Win7ScenicRibbon());
    ASSERT_EQ(listener->Heard.size(), 1u);
    EXPECT_EQ(listener->Heard[0], std::make_pair(false, int(AdvStyleIF::tsOffice2007Luna)));
}

TEST_F(PagerStyle, EqualCaptionHeightStillPlacesThePages) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager();
    TAdvPage* page = pager->ActivePage();
    ASSERT_NE(page, nullptr);
    const TRect placed = page->BoundsRect();
    page->SetBounds(0, 0, 10, 10);
    const int scaled = pager->ScaledPagerCaptionHeight();
    pager->Caption()->SetHeight(pager->Caption()->Height());
    EXPECT_EQ(page->BoundsRect(), placed);
    EXPECT_EQ(pager->ScaledPagerCaptionHeight(), scaled);
    // A new height moves the pages down by the difference.
    pager->Caption()->SetHeight(pager->Caption()->Height() + 10);
    EXPECT_EQ(page->Top(), placed.Top + 10);
}

// ---------------------------------------------------------------- scaling and glass

TEST_F(PagerStyle, RescalesToItsFormsResolutionExpandedFirst) {
    REQUIRE_DISPLAY();
    TAdvToolBarPager* pager = NewPager();
    TAdvToolBar* toolBar = pager->AdvPages(0)->CreateAdvToolBar();
    pager->Collaps();
    const int ppi = Screen->PixelsPerInch();
    // A form described at 96 pixels per inch, shown on this screen.
    pager->ChangeScale(ppi == 96 ? 120 : ppi, 96);
    EXPECT_TRUE(pager->Expanded());
    const TPagerScaledSizes expected = ScalePagerSizes(DPIScaleFactor, 26, 60, 26);
    EXPECT_EQ(pager->TabSettings()->Height(), expected.TabHeight);
    EXPECT_EQ(pager->DefTabHeight(), expected.TabHeight);
    EXPECT_EQ(pager->Caption()->Height(), expected.CaptionHeight);
    EXPECT_EQ(pager->ScaledPagerCaptionHeight(), expected.CaptionHeight);
    EXPECT_EQ(PagerCaptionHeight, expected.CaptionHeight);
    EXPECT_EQ(ToolBarCaptionHeight, expected.ToolBarCaptionHeight);
    EXPECT_EQ(toolBar->CaptionHeight(), expected.ToolBarCaptionHeight);
    EXPECT_EQ(pager->DefTabMargin(), expected.StartMargin);
    if (ppi == 144) {
        EXPECT_EQ(pager->TabSettings()->Height(), 40);
        EXPECT_EQ(pager->Caption()->Height(), 39);
        EXPECT_EQ(ToolBarCaptionHeight, 24);
        EXPECT_EQ(pager->DefTabMargin(), 90);
        // The tab row follows, below the caption.
        const TRect row = pager->GetTabsArea();
        EXPECT_EQ(row.Top, 39);
        EXPECT_EQ(row.Height(), 40);
    }
    // Scaling again by the same factor keeps the sizes (they are recomputed from the designed ones).
    pager->ChangeScale(ppi, ppi);
    EXPECT_EQ(pager->TabSettings()->Height(), expected.TabHeight);
}

TEST_F(PagerStyle, GlassOffRemovesRegionAndCaptionLayer) {
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
    pager->SetAeroVista(false);
    EXPECT_FALSE(pager->IsAeroVista());
    ASSERT_NE(pager->CaptionLayer(), nullptr);
    EXPECT_FALSE(pager->CaptionLayer()->Visible());
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(pager->Handle(), region), ERROR);
    pager->SetAeroVista(true);
    EXPECT_TRUE(pager->CaptionLayer()->Visible());
    EXPECT_NE(GetWindowRgn(pager->Handle(), region), ERROR);
    // Flat mode suspends glass and gives it back when it ends.
    pager->SetMetro();
    EXPECT_FALSE(pager->IsAeroVista());
    EXPECT_EQ(GetWindowRgn(pager->Handle(), region), ERROR);
    pager->RevertMetro();
    EXPECT_TRUE(pager->IsAeroVista());
    DeleteObject(region);
}

// ---------------------------------------------------------------- saved state

namespace {

const wchar_t* const TestKey = L"Software\\AtGenTests\\RibbonState";

// An INI file in a folder of its own, removed with it.
class TTempFolder {
public:
    TTempFolder() {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        FPath = std::wstring(base) + L"ribbonstate" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(FPath.c_str(), nullptr);
    }
    ~TTempFolder() {
        ::DeleteFileW(File().c_str());
        ::RemoveDirectoryW(FPath.c_str());
    }
    std::wstring File() const { return FPath + L"\\ribbon.ini"; }
private:
    std::wstring FPath;
};

void Persist(TAdvToolBarPager* pager, TPersistenceLocation location, const std::wstring& key,
             const std::wstring& section = L"Ribbon") {
    pager->Persistence()->SetLocation(location);
    pager->Persistence()->SetKey(key);
    pager->Persistence()->SetSection(section);
    pager->Persistence()->SetEnabled(true);
}

}  // namespace

TEST_F(PagerStyle, StateRoundTripsThroughRegistryAndIniFile) {
    REQUIRE_DISPLAY();
    TTempFolder folder;
    for (TPersistenceLocation location : {plRegistry, plIniFile}) {
        const std::wstring key = location == plRegistry ? std::wstring(TestKey) : folder.File();
        for (bool collapsed : {false, true})
            for (bool below : {false, true}) {
                SCOPED_TRACE(std::to_string(location) + " collapsed " + std::to_string(collapsed) + " below " +
                             std::to_string(below));
                ::RegDeleteTreeW(HKEY_CURRENT_USER, TestKey);
                ::DeleteFileW(folder.File().c_str());
                TAdvToolBarPager* before = NewPager([&](TAdvToolBarPager* p) { Persist(p, location, key); });
                if (collapsed) before->Collaps();
                before->SetShowQATBelow(below);
                delete before;  // saves
                TAdvToolBarPager* after = NewPager([&](TAdvToolBarPager* p) { Persist(p, location, key); });
                EXPECT_EQ(after->Expanded(), !collapsed);
                EXPECT_EQ(after->ShowQATBelow(), below);
                after->Persistence()->SetEnabled(false);
                delete after;
            }
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\AtGenTests");
}

TEST_F(PagerStyle, LoadingNeverExpandsAndMissingStoresDoNothing) {
    REQUIRE_DISPLAY();
    TTempFolder folder;
    // "Minimized" 0 in the store: a pager designed collapsed stays collapsed.
    TAdvToolBarPager* expanded = NewPager([&](TAdvToolBarPager* p) { Persist(p, plIniFile, folder.File()); });
    expanded->SetShowQATBelow(false);
    expanded->SaveState();
    expanded->Persistence()->SetEnabled(false);
    TAdvToolBarPager* designedCollapsed = NewPager([&](TAdvToolBarPager* p) {
        Persist(p, plIniFile, folder.File());
        p->Collaps();
        p->SetShowQATBelow(true);
    });
    EXPECT_FALSE(designedCollapsed->Expanded());
    EXPECT_TRUE(designedCollapsed->ShowQATBelow());
    designedCollapsed->Persistence()->SetEnabled(false);

    // No section, no key, a section never written, or persistence off: nothing read or written.
    struct TCase { const char* Name; std::wstring Key, Section; bool Enabled; };
    const TCase cases[] = {
        {"no section", folder.File(), L"", true},
        {"no key", L"", L"Ribbon", true},
        {"new section", folder.File(), L"Other", true},
        {"disabled", folder.File(), L"Ribbon", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAdvToolBarPager* pager = NewPager([&](TAdvToolBarPager* p) {
            Persist(p, plIniFile, c.Key, c.Section);
            p->Persistence()->SetEnabled(c.Enabled);
            p->Collaps();
        });
        EXPECT_FALSE(pager->Expanded());
        EXPECT_FALSE(pager->ShowQATBelow());
        pager->Expand();
        pager->Persistence()->SetEnabled(false);
    }
}

TEST_F(PagerStyle, AStoreThatFailsRaisesButNotInTheDestructor) {
    REQUIRE_DISPLAY();
    const std::wstring nowhere = L"C:\\no\\such\\folder\\ribbon.ini";
    TAdvToolBarPager* pager = NewPager([&](TAdvToolBarPager* p) { Persist(p, plIniFile, nowhere); });
    pager->Collaps();
    EXPECT_ANY_THROW(pager->SaveState());
    EXPECT_NO_THROW(delete pager);
}
