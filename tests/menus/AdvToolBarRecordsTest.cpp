// The toolbar and ribbon colour and settings records: start values, how each setter
// reports, what Assign carries over, fonts, and the few behaviours of their own.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "classlib/GdiObjects.h"
#include "graphics/AdvGDIP.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarAppearance.h"
#include "menus/AdvToolBarPagerAppearance.h"
#include "menus/AdvToolBarPagerSettings.h"
#include "menus/AdvMenuStyler.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarStylers.h"
#include "support/PersistenceRoundTrip.h"
#include "support/PublishedDefaults.h"
#include "tests/menus/RecordTestSupport.h"

using namespace ClassLib;
using namespace AdvToolBar;
using namespace RecordTests;

namespace {

const std::wstring SystemFace = AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma";

template <class T>
std::map<std::wstring, TSetterKind> KindsOf() {
    T record;
    int changes = 0;
    record.OnChange = [&](TObject*) { ++changes; };
    return SetterKinds(&record, changes);
}

// What Assign from `source` does to a fresh record: nothing, a change, or an error.
template <class T>
std::string AssignOutcome(const TPersistent* source) {
    T target;
    T fresh;
    try {
        target.Assign(source);
    } catch (const EAssignError&) {
        return "raises";
    }
    return Differences(&target, &fresh).empty() ? "ignored" : "changes";
}

// Assign from a record whose every simple value differs: the values that stayed, and the
// changes the target told of on the way.
template <class T>
void ExpectAssign(const std::map<std::wstring, bool>& stays, int told) {
    T source, target;
    ChangeAll(&source);
    int changes = 0;
    target.OnChange = [&](TObject*) { ++changes; };
    target.Assign(&source);
    EXPECT_EQ(Differences(&source, &target), stays);
    EXPECT_EQ(changes, told);
}

}  // namespace

TEST(ToolBarRecords, EveryRecordStartsAtItsValuesAndSurvivesASaveAndLoad) {
    const std::unique_ptr<TPersistent> records[] = {
        std::make_unique<AdvToolBar::TButtonAppearance>(), std::make_unique<TGradientBackground>(),
        std::make_unique<TVistaGradientBackground>(),     std::make_unique<TMirrorGradient>(),
        std::make_unique<TContainerAppearance>(),         std::make_unique<TTabAppearance>(),
        std::make_unique<TVistaPageBackground>(),         std::make_unique<TVistaTextBackground>(),
        std::make_unique<TGroupAppearance>(),             std::make_unique<TCaptionAppearance>(),
        std::make_unique<TToolBarAppearance>(),           std::make_unique<TQATAppearance>(),
        std::make_unique<TAppColor>(),                    std::make_unique<TATBTabSettings>(),
        std::make_unique<TPagerHints>(),
    };
    for (const auto& record : records) {
        SCOPED_TRACE(testing::PrintToString(record->ClassName()));
        EXPECT_GT(TestSupport::ExpectPublishedDefaults(record.get()), 0);
        TestSupport::ExpectRoundTrip(record->ClassType());
    }
    TGroupAppearance group;
    EXPECT_EQ(group.Steps(), 64);
    EXPECT_EQ(group.TabAppearance()->ColorHot(), clYellow);
    TToolBarAppearance toolBar;
    EXPECT_EQ(toolBar.ColorHot()->Color(), clNone);
    EXPECT_EQ(toolBar.Color()->ColorTo(), clBtnFace);
    TATBTabSettings settings;
    EXPECT_EQ(settings.MinSpacing(), 3);
    EXPECT_EQ(settings.MinMargin(), 3);
    TVistaBackground plain;
    TVistaPageBackground page;
    page.Assign(&plain);
    EXPECT_EQ(page.ShadowColor(), TColor(0xC4AA96));   // the plain background's field, copied
}

TEST(ToolBarRecords, EachSetterReportsInItsOwnWay) {
    struct TCase {
        const char* Name;
        std::map<std::wstring, TSetterKind> Seen;
        TSetterKind Usual;
        std::map<std::wstring, TSetterKind> Exceptions;
    };
    const TCase cases[] = {
        {"button appearance", KindsOf<AdvToolBar::TButtonAppearance>(), Told,
         {{L"GradientDirectionHot", Silent}, {L"GradientDirectionDown", Silent}, {L"GradientDirectionChecked", Silent},
          {L"BorderDownColor", Silent}, {L"BorderHotColor", Silent}, {L"SystemFont", Silent}}},
        {"gradient background", KindsOf<TGradientBackground>(), Always, {}},
        {"mirror gradient", KindsOf<TMirrorGradient>(), Told, {}},
        {"container appearance", KindsOf<TContainerAppearance>(), Told, {}},
        {"tab appearance", KindsOf<TTabAppearance>(), Told,
         {{L"BorderColorHot", Silent}, {L"ShadowColor", Silent}, {L"HighLightColor", Silent},
          {L"HighLightColorHot", Silent}, {L"HighLightColorSelected", Silent}, {L"HighLightColorSelectedHot", Silent},
          {L"HighLightColorDown", Silent}, {L"SystemFont", Silent}}},
        {"page background", KindsOf<TVistaPageBackground>(), Told,
         {{L"ShadowColor", Silent}, {L"HighLightColor", Silent}}},
        {"caption background", KindsOf<TVistaTextBackground>(), Told, {{L"SystemFont", Silent}}},
        {"group appearance", KindsOf<TGroupAppearance>(), Told, {{L"SystemFont", Silent}}},
        {"caption appearance", KindsOf<TCaptionAppearance>(), Told, {}},
        {"toolbar appearance", KindsOf<TToolBarAppearance>(), Told, {}},
        {"quick access toolbar", KindsOf<TQATAppearance>(), Told, {}},
        {"application colour", KindsOf<TAppColor>(), Told, {}},
        {"tab settings", KindsOf<TATBTabSettings>(), Told, {}},
        {"pager hints", KindsOf<TPagerHints>(), Told, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_FALSE(c.Seen.empty());
        ExpectSetterKinds(c.Seen, c.Usual, c.Exceptions);
    }
}

TEST(ToolBarRecords, AssignCarriesOverWhatEachRecordCopies) {
    const std::map<std::wstring, bool> systemFont = {{L"SystemFont", true}};
    struct TCase {
        const char* Name;
        std::function<void()> Check;
    };
    const TCase cases[] = {
        // The state directions and the font flag stay; the copy is told to nobody.
        {"button appearance", [] {
             ExpectAssign<AdvToolBar::TButtonAppearance>({{L"GradientDirectionHot", true}, {L"GradientDirectionDown", true},
                                                          {L"GradientDirectionChecked", true}, {L"SystemFont", true}}, 0);
         }},
        {"gradient background", [] { ExpectAssign<TGradientBackground>({}, 0); }},
        {"mirror gradient", [] { ExpectAssign<TMirrorGradient>({}, 0); }},
        {"container appearance", [] { ExpectAssign<TContainerAppearance>({}, 2); }},
        {"tab appearance", [&] { ExpectAssign<TTabAppearance>(systemFont, 2); }},   // the two text colours by setter
        {"page background", [] { ExpectAssign<TVistaPageBackground>({}, 2); }},     // the two gradients by setter
        {"caption background", [&] { ExpectAssign<TVistaTextBackground>(systemFont, 4); }},
        // Each inner record's setter-copied values are told through the group.
        {"group appearance", [&] { ExpectAssign<TGroupAppearance>(systemFont, 2); }},
        {"caption appearance", [] { ExpectAssign<TCaptionAppearance>({}, 2); }},
        {"toolbar appearance", [] { ExpectAssign<TToolBarAppearance>({}, 0); }},
        {"quick access toolbar", [] { ExpectAssign<TQATAppearance>({{L"Steps", true}}, 1); }},
        {"application colour", [] { ExpectAssign<TAppColor>({}, 0); }},
        {"tab settings", [] { ExpectAssign<TATBTabSettings>({{L"Spacing", true}}, 5); }},
        {"pager hints", [] { ExpectAssign<TPagerHints>({}, 0); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Check();
    }
}

TEST(ToolBarRecords, AssignFromNothingOrAnotherClass) {
    TFont other;
    struct TCase {
        const char* Name;
        std::string Nil, Other;
    };
    const TCase cases[] = {
        {"button appearance", AssignOutcome<AdvToolBar::TButtonAppearance>(nullptr),
         AssignOutcome<AdvToolBar::TButtonAppearance>(&other)},
        {"gradient background", AssignOutcome<TGradientBackground>(nullptr), AssignOutcome<TGradientBackground>(&other)},
        {"mirror gradient", AssignOutcome<TMirrorGradient>(nullptr), AssignOutcome<TMirrorGradient>(&other)},
        {"container appearance", AssignOutcome<TContainerAppearance>(nullptr), AssignOutcome<TContainerAppearance>(&other)},
        {"tab appearance", AssignOutcome<TTabAppearance>(nullptr), AssignOutcome<TTabAppearance>(&other)},
        {"vista background", AssignOutcome<TVistaBackground>(nullptr), AssignOutcome<TVistaBackground>(&other)},
        {"caption background", AssignOutcome<TVistaTextBackground>(nullptr), AssignOutcome<TVistaTextBackground>(&other)},
        {"group appearance", AssignOutcome<TGroupAppearance>(nullptr), AssignOutcome<TGroupAppearance>(&other)},
        {"caption appearance", AssignOutcome<TCaptionAppearance>(nullptr), AssignOutcome<TCaptionAppearance>(&other)},
        {"toolbar appearance", AssignOutcome<TToolBarAppearance>(nullptr), AssignOutcome<TToolBarAppearance>(&other)},
        {"quick access toolbar", AssignOutcome<TQATAppearance>(nullptr), AssignOutcome<TQATAppearance>(&other)},
        {"application colour", AssignOutcome<TAppColor>(nullptr), AssignOutcome<TAppColor>(&other)},
        {"tab settings", AssignOutcome<TATBTabSettings>(nullptr), AssignOutcome<TATBTabSettings>(&other)},
        {"pager hints", AssignOutcome<TPagerHints>(nullptr), AssignOutcome<TPagerHints>(&other)},
    };
    const std::map<std::string, std::pair<std::string, std::string>> expected = {
        {"button appearance", {"ignored", "ignored"}},   {"gradient background", {"ignored", "ignored"}},
        {"mirror gradient", {"raises", "raises"}},       {"container appearance", {"ignored", "raises"}},
        {"tab appearance", {"ignored", "ignored"}},      {"vista background", {"ignored", "raises"}},
        {"caption background", {"ignored", "raises"}},   {"group appearance", {"ignored", "raises"}},
        {"caption appearance", {"ignored", "raises"}},   {"toolbar appearance", {"raises", "raises"}},
        {"quick access toolbar", {"ignored", "raises"}}, {"application colour", {"ignored", "ignored"}},
        {"tab settings", {"raises", "raises"}},          {"pager hints", {"ignored", "ignored"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(std::make_pair(c.Nil, c.Other), expected.at(c.Name));
    }
}

TEST(ToolBarRecords, AGradientWithoutMirrorLeavesTheTargetsMirror) {
    TGradientBackground plain;
    plain.SetColor(clRed);
    TVistaGradientBackground vista;
    vista.Mirror()->SetColorMirror(clLime);
    vista.Assign(&plain);
    EXPECT_EQ(vista.Color(), clRed);
    EXPECT_EQ(vista.Mirror()->ColorMirror(), clLime);
    int told = 0;
    vista.OnChange = [&](TObject*) { ++told; };
    vista.Mirror()->SetColor(clBlue);   // the mirror is not bound to its owner
    EXPECT_EQ(told, 0);
}

TEST(ToolBarRecords, FontsFollowTheSystemFontRule) {
    AdvToolBar::TButtonAppearance button;
    EXPECT_EQ(button.CaptionFont()->Name(), SystemFace);
    EXPECT_EQ(button.CaptionFont()->Height(), AdvStyleIF::IsVistaOrLater() ? -12 : -11);
    button.CaptionFont()->SetName(L"Arial");
    button.SetSystemFont(false);   // off alone leaves the font
    EXPECT_EQ(button.CaptionFont()->Name(), L"Arial");
    button.SetSystemFont(true);
    EXPECT_EQ(button.CaptionFont()->Name(), SystemFace);

    // The pager records start at -11, plain, whatever the rule would give.
    TTabAppearance tab;
    TVistaTextBackground caption;
    TGroupAppearance group;
    for (TFont* font : {tab.Font(), caption.Font(), group.Font()}) {
        EXPECT_EQ(font->Name(), SystemFace);
        EXPECT_EQ(font->Height(), -11);
        EXPECT_TRUE(font->Style().Empty());
    }
    int told = 0;
    tab.OnChange = [&](TObject*) { ++told; };
    tab.SetSystemFont(false);
    tab.SetSystemFont(true);
    EXPECT_EQ(tab.Font()->Height(), AdvStyleIF::IsVistaOrLater() ? -12 : -11);
    tab.Font()->SetColor(clRed);   // the font object is not bound either
    EXPECT_EQ(told, 0);
}

TEST(ToolBarRecords, ATabKeepsItsFontHeightWhereACaptionBackgroundTakesTheSources) {
    TTabAppearance sourceTab, tab;
    sourceTab.Font()->SetSize(12);
    sourceTab.Font()->SetName(L"Arial");
    const int height = tab.Font()->Height();
    tab.Assign(&sourceTab);
    EXPECT_EQ(tab.Font()->Name(), L"Arial");
    EXPECT_EQ(tab.Font()->Height(), height);

    TVistaTextBackground sourceCaption, caption;
    sourceCaption.Font()->SetSize(12);
    caption.Assign(&sourceCaption);
    EXPECT_EQ(caption.Font()->Height(), sourceCaption.Font()->Height());
}

TEST(ToolBarRecords, ATabsBackgroundReportsThroughItWhileAToolBarsGradientsDoNot) {
    TTabAppearance tab;
    int tabChanges = 0;
    tab.OnChange = [&](TObject*) { ++tabChanges; };
    tab.BackGround()->SetColor(clRed);
    EXPECT_EQ(tabChanges, 1);

    TToolBarAppearance toolBar;
    int toolBarChanges = 0;
    toolBar.OnChange = [&](TObject*) { ++toolBarChanges; };
    toolBar.ColorHot()->SetColor(clRed);
    EXPECT_EQ(toolBarChanges, 0);

    TGroupAppearance group;   // a change anywhere inside is the group's
    int groupChanges = 0;
    group.OnChange = [&](TObject*) { ++groupChanges; };
    group.TabAppearance()->SetColorHot(clRed);
    group.CaptionAppearance()->SetCaptionColor(clRed);
    group.PageAppearance()->SetBorderColor(clRed);
    group.ToolBarAppearance()->SetBorderColor(clRed);
    EXPECT_EQ(groupChanges, 4);
}

TEST(ToolBarRecords, ClearValuesEmptiesEveryColourAndNothingElse) {
    TTabAppearance tab;
    tab.SetGradientHot(AdvGlowButton::ggRadial);
    int told = 0;
    tab.OnChange = [&](TObject*) { ++told; };
    tab.ClearValues();
    int colours = 0;
    for (const TPropInfo& info : tab.ClassType().Published()) {
        if (info.Kind != TPropKind::Colour) continue;
        ++colours;
        EXPECT_EQ(info.GetOrd(&tab), clNone) << testing::PrintToString(info.Name);
    }
    EXPECT_EQ(colours, 32);
    EXPECT_EQ(tab.GradientHot(), AdvGlowButton::ggRadial);
    EXPECT_EQ(tab.BackGround()->Color(), clWhite);
    EXPECT_EQ(told, 0);
}

TEST(PagerSettings, GlassIsOneFlagForEveryPagersSettings) {
    const bool saved = AdvGDIP::GetGlassFlag();
    AdvGDIP::SetGlassFlag(false);
    TATBTabSettings first, second;
    int glassChanges = 0, changes = 0;
    first.OnGlassChange = [&](TObject*) { ++glassChanges; };
    first.OnChange = [&](TObject*) { ++changes; };
    first.SetGlass(false);
    EXPECT_EQ(glassChanges, 0);
    first.SetGlass(true);
    EXPECT_EQ(glassChanges, 1);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(second.Glass());
    AdvGDIP::SetGlassFlag(saved);
}

TEST(PagerSettings, AScrollerKeepsMinAtMostMaxButLeavesPositionFree) {
    TATBTabScroller scroller;
    scroller.SetMax(5);
    scroller.SetMin(6);   // above Max: refused
    EXPECT_EQ(scroller.Min(), 0);
    scroller.SetMin(2);
    scroller.SetMax(1);   // below Min: refused
    EXPECT_EQ(scroller.Max(), 5);
    struct TCase {
        int Position;
        bool Back, Forward;
    } cases[] = {{2, false, true}, {3, true, true}, {5, true, false}, {10, true, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Position);
        scroller.SetPosition(c.Position);
        EXPECT_EQ(scroller.Position(), c.Position);
        EXPECT_EQ(scroller.CanGoBack(), c.Back);
        EXPECT_EQ(scroller.CanGoForward(), c.Forward);
    }
}

TEST(PagerSettings, TabGroupItemsTellTheirCollectionOfEveryChange) {
    TTabGroups groups;
    int changes = 0;
    groups.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &groups);
        ++changes;
    };
    TTabGroupItem* item = groups.Add();
    EXPECT_GT(changes, 0);   // its start values went through the setters
    EXPECT_EQ(item->TabIndexStart(), -1);
    EXPECT_EQ(item->TabIndexEnd(), -1);
    EXPECT_EQ(item->ImageIndex(), -1);
    EXPECT_TRUE(item->DefaultAppearance());
    const std::map<std::wstring, TSetterKind> kinds = SetterKinds(item, changes);
    ExpectSetterKinds(kinds, Told, {{L"Tag", Silent}});
    changes = 0;
    item->GroupAppearance()->SetColor(clRed);   // its own look reports through it
    EXPECT_EQ(changes, 1);
    changes = 0;
    groups.Delete(0);
    EXPECT_GE(changes, 1);
}

namespace {
// A pager as the tab groups know it: the styler it paints with.
class TStylerHolder : public TComponent, public IToolBarStylerPager {
public:
    TStylerHolder() : TComponent(nullptr), FStyler(std::make_unique<TCustomAdvToolBarStyler>(nullptr)) {}
    TCustomAdvToolBarStyler* Styler() const { return FStyler.get(); }
    TATBTabSettings* TabSettings() const override { return nullptr; }
    bool Win7ScenicRibbon() const override { return false; }
    void SetWin7ScenicRibbon(bool) override {}
    void SetTabBackGroundShaded(bool) override {}
    void SetIsAeroVista(bool) override {}
    void SetUpdateHelpButtonRes(bool) override {}
    void UpdateHelpButton() override {}
    void ClearOfficeTones() override {}
    void SetOfficeTones(const TOfficeTones&, TGroupStyle) override {}
    void UpdateQAT() override {}
    TCustomAdvToolBarStyler* CurrentToolBarStyler() const override { return FStyler.get(); }
    TVistaPageBackground* PageAppearance() const override { return nullptr; }
    TTabAppearance* TabAppearance() const override { return nullptr; }
    TGroupAppearance* GroupAppearance() const override { return nullptr; }
    TCaptionAppearance* CaptionAppearance() const override { return nullptr; }
    AdvGlowButton::TGlowButtonAppearance* GlowButtonAppearance() const override { return nullptr; }
    TVistaTextBackground* PagerCaption() const override { return nullptr; }
    TContainerAppearance* ContainerAppearance() const override { return nullptr; }
private:
    std::unique_ptr<TCustomAdvToolBarStyler> FStyler;
};
}  // namespace

TEST(PagerSettings, ACustomColourStartsFromThePagersGroupLookAndFollowsTheScenicFlag) {
    const bool savedScenic = AdvGDIP::GetScenicRibbonFlag();
    const TColor red = clRed;
    for (bool scenic : {false, true}) {
        SCOPED_TRACE(scenic);
        AdvGDIP::SetScenicRibbonFlag(scenic);
        TStylerHolder pager;
        pager.Styler()->GroupAppearance()->SetTextColor(0x123456);
        TTabGroups withPager(&pager), alone;
        for (TTabGroups* groups : {&withPager, &alone}) {
            TTabGroupItem* item = groups->Add();
            int changes = 0;
            groups->OnChange = [&](TObject*) { ++changes; };
            item->SetCustomColor(red);
            EXPECT_FALSE(item->DefaultAppearance());
            const TGroupAppearance& look = *item->GroupAppearance();
            EXPECT_EQ(look.TextColor(), groups == &withPager ? TColor(0x123456) : clBlue);
            EXPECT_EQ(look.BorderColor(), red);
            EXPECT_EQ(look.ColorMirrorTo(), red);
            EXPECT_EQ(look.Color(), scenic ? red : clWhite);
            EXPECT_EQ(look.TabAppearance()->BorderColorSelected(), red);
            EXPECT_EQ(look.TabAppearance()->BorderColorHot(), red);
            EXPECT_GT(changes, 0);
        }
    }
    AdvGDIP::SetScenicRibbonFlag(savedScenic);
}

TEST(PagerSettings, HintsStartWithTheButtonsNamesAndTakeOnlyHints) {
    TPagerHints hints;
    EXPECT_EQ(hints.MDICloseBtnHint(), L"Close");
    EXPECT_EQ(hints.MDIMinimizeBtnHint(), L"Minimize");
    EXPECT_EQ(hints.MDIMaximizeBtnHint(), L"Maximize");
    EXPECT_EQ(hints.HelpBtnHint(), L"Help");
}

// Every class of the looks that can be made by class alone starts at the defaults its list
// declares (the stylers registered for window descriptions among them).
TEST(ToolBarRecords, EveryClassOfTheLooksStartsAtItsDeclaredDefaults) {
    std::vector<const TClass*> classes = AdvToolBarStylers::RegisterToolBarStylerClasses();
    for (const TClass* cls :
         {&TTabGroupItem::StaticClass(), &TPersistence::StaticClass(), &AdvMenus::TIconBar::StaticClass(),
          &AdvMenus::TSelectedItem::StaticClass(), &AdvMenus::TRootItem::StaticClass(), &AdvMenus::TSeparator::StaticClass(),
          &AdvMenus::TBackground::StaticClass(), &AdvMenus::TSideBar::StaticClass(), &AdvMenus::TMenuGlyphs::StaticClass(),
          &AdvMenus::TButtonAppearance::StaticClass(), &AdvToolBarStylers::TNotifierWindow::StaticClass()})
        classes.push_back(cls);
    for (const TClass* cls : classes) {
        SCOPED_TRACE(testing::PrintToString(cls->ClassName()));
        ASSERT_TRUE(cls->CanCreateObject());
        std::unique_ptr<TObject> object(cls->CreateObject());
        TestSupport::ExpectPublishedDefaults(object.get());
    }
}
