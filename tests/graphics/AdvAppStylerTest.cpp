#include "graphics/AdvAppStyler.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Form.h"
#include "classlib/Properties.h"
#include "classlib/StandardControls.h"
#include "classlib/StringList.h"
#include "graphics/AdvThemeNotifier.h"
#include "graphics/FakeStyleEnvironment.h"
#include "support/PublishedDefaults.h"
#include "support/WindowTestSupport.h"

using namespace AdvAppStyler;
using namespace AdvStyleIF;
using namespace ClassLib;

namespace {

// What the fakes were told, in order.
struct TCall {
    std::wstring Who;
    std::wstring What;   // "style", "styleEx" or "tones"
    TOVTStyle Style = tsCustom;
    TColor AppColor = 0;
    TColorTones Tones{};
};
std::vector<TCall>& Calls() {
    static std::vector<TCall> calls;
    return calls;
}
std::vector<std::wstring> Whos() {
    std::vector<std::wstring> names;
    for (const TCall& call : Calls()) names.push_back(call.Who + L":" + call.What);
    return names;
}

// A component offering the extended style interface and the tones.
class TFakeStyleEx : public TComponent, public IOVTStyleEx, public IOVTTones {
    CLASSLIB_CLASS(TFakeStyleEx, TComponent)
public:
    explicit TFakeStyleEx(TComponent* owner) : TComponent(owner) {}
    void SetComponentStyle(TOVTStyle style) override { Calls().push_back({Name(), L"style", style}); }
    void SetComponentStyleAndAppColor(TOVTStyle style, TColor appColor) override {
        Calls().push_back({Name(), L"styleEx", style, appColor});
    }
    void SetColorTones(TColorTones tones) override { Calls().push_back({Name(), L"tones", tsCustom, 0, tones}); }
};
CLASSLIB_IMPLEMENT(TFakeStyleEx, TComponent)

// Only the plain style interface.
class TFakeStyle : public TComponent, public IOVTStyle {
    CLASSLIB_CLASS(TFakeStyle, TComponent)
public:
    explicit TFakeStyle(TComponent* owner) : TComponent(owner) {}
    void SetComponentStyle(TOVTStyle style) override { Calls().push_back({Name(), L"style", style}); }
};
CLASSLIB_IMPLEMENT(TFakeStyle, TComponent)

// A form that is styled itself too.
class TFakeForm : public TForm, public IOVTStyle {
    CLASSLIB_CLASS(TFakeForm, TForm)
public:
    explicit TFakeForm(TComponent* owner) : TForm(owner) {}
    void SetComponentStyle(TOVTStyle style) override { Calls().push_back({L"form", L"style", style}); }
};
CLASSLIB_IMPLEMENT(TFakeForm, TForm)

template <class T>
T* Make(TComponent* owner, const wchar_t* name) {
    T* component = new T(owner);
    component->SetName(name);
    return component;
}

// A form holding a styler, an extended fake, a plain component, and a frame inside a
// frame with fakes of both kinds:
//   Form: Styler, A (ex), Plain, Outer [ B (plain style), Inner [ C (ex) ] ]
class FormStyler : public testing::Test {
protected:
    void SetUp() override {
        Calls().clear();
        Form = std::make_unique<TFakeForm>(nullptr);
        Styler = Make<TAdvFormStyler>(Form.get(), L"Styler");
        Make<TFakeStyleEx>(Form.get(), L"A");
        Make<TComponent>(Form.get(), L"Plain");
        Outer = Make<TFrame>(Form.get(), L"Outer");
        Outer->SetParent(Form.get());
        Make<TFakeStyle>(Outer, L"B");
        Inner = Make<TFrame>(Outer, L"Inner");
        Inner->SetParent(Outer);
        Make<TFakeStyleEx>(Inner, L"C");
    }
    void TearDown() override { Calls().clear(); }

    std::unique_ptr<TFakeForm> Form;
    TAdvFormStyler* Styler = nullptr;
    TFrame* Outer = nullptr;
    TFrame* Inner = nullptr;
};

}  // namespace

TEST_F(FormStyler, AStyleReachesTheFormAndEveryOwnedControlThroughBothFrameLevels) {
    Styler->SetAppColor(0x123456);  // Style is tsCustom: nothing applied
    EXPECT_TRUE(Calls().empty());
    int changes = 0;
    Styler->OnChange = [&](TObject*) { ++changes; };
    Styler->SetStyle(tsOffice2019Gray);
    EXPECT_EQ(Form->Color(), TColor(0x666666));
    const std::vector<std::wstring> expected = {L"form:style", L"A:styleEx", L"B:style", L"C:styleEx"};
    EXPECT_EQ(Whos(), expected);
    for (const TCall& call : Calls()) {
        SCOPED_TRACE(testing::PrintToString(call.Who));
        EXPECT_EQ(call.Style, tsOffice2019Gray);
        if (call.What == L"styleEx") {
            EXPECT_EQ(call.AppColor, TColor(0x123456));
        }
    }
    EXPECT_EQ(changes, 1);

    // tsCustom applies nothing and the form keeps its colour.
    Calls().clear();
    Styler->SetStyle(tsCustom);
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Form->Color(), TColor(0x666666));

    struct TCase { TOVTStyle Style; TColor FormColor; };
    const TCase cases[] = {
        {tsOffice2019White, clWhite}, {tsOffice2013LightGray, clSilver}, {tsOffice2016Gray, clGray},
        {tsOffice2019Black, clBlack}, {tsWindows10, clBtnFace}, {tsOffice2007Luna, clBtnFace},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Style));
        Styler->SetStyle(c.Style);
        EXPECT_EQ(Form->Color(), c.FormColor);
    }
}

TEST_F(FormStyler, AStylerOnAFrameStylesOnlyThatFrame) {
    auto* frameStyler = new TAdvFormStyler(Outer);
    frameStyler->SetStyle(tsOffice2013Gray);
    const std::vector<std::wstring> expected = {L"B:style", L"C:styleEx"};
    EXPECT_EQ(Whos(), expected);
    EXPECT_EQ(Form->Color(), clBtnFace);
}

TEST_F(FormStyler, AVetoSkipsOnlyItsOwnComponent) {
    std::vector<std::wstring> applied;
    Styler->OnApplyStyle = [&](TObject* sender, TComponent* component, bool& allow) {
        EXPECT_EQ(sender, Styler);
        EXPECT_TRUE(allow);
        allow = component->Name() != L"B";
    };
    Styler->OnAppliedStyle = [&](TObject*, TComponent* component) { applied.push_back(component->Name()); };
    Styler->SetStyle(tsWindows10);
    const std::vector<std::wstring> expected = {L"form:style", L"A:styleEx", L"C:styleEx"};
    EXPECT_EQ(Whos(), expected);
    EXPECT_EQ(applied, (std::vector<std::wstring>{L"", L"A", L"C"}));  // the form has no name

    // Tones have their own pair of events.
    Calls().clear();
    Styler->OnApplyColorTones = [](TObject*, TComponent* component, bool& allow) { allow = component->Name() != L"C"; };
    TColorTones tones;
    DefaultColorTones(tones);
    Styler->SetColorTones(tones);
    const std::vector<std::wstring> toned = {L"A:tones"};
    EXPECT_EQ(Whos(), toned);
    EXPECT_TRUE(Styler->Metro());
    EXPECT_EQ(Styler->Style(), tsCustom);
}

TEST_F(FormStyler, DarkMetroPushesTonesWithABlackBackgroundAndADarkenedHover) {
    Styler->SetMetroStyle(msDark);
    Styler->SetMetroColor(0xFF8000);
    EXPECT_TRUE(Calls().empty());  // metro is off
    Styler->SetMetro(true);
    ASSERT_FALSE(Calls().empty());
    const TCall& last = Calls().back();
    EXPECT_EQ(last.Who, L"C");
    EXPECT_EQ(last.Tones.Background.BrushColor, clBlack);
    EXPECT_EQ(last.Tones.Selected.BrushColor, TColor(0xFF8000));
    EXPECT_EQ(last.Tones.Hover.BrushColor, TColor(0xCC6600));
    EXPECT_EQ(Whos(), (std::vector<std::wstring>{L"A:tones", L"C:tones"}));

    // A disabled styler pushes nothing, and pushes its style again once enabled.
    Calls().clear();
    Styler->SetEnabled(false);
    Styler->SetMetroColor(0x00FF00);
    Styler->SetStyle(tsOffice2016Black);
    EXPECT_TRUE(Calls().empty());
    Styler->SetEnabled(true);
    EXPECT_EQ(Calls().size(), 4u);
    EXPECT_EQ(Calls().front().Style, tsOffice2016Black);
}

TEST_F(FormStyler, AnAppStylerPushesToItsFormStylersInRegistrationOrder) {
    Calls().clear();
    auto second = std::make_unique<TForm>(nullptr);
    auto* otherStyler = Make<TAdvFormStyler>(second.get(), L"Styler2");
    Make<TFakeStyleEx>(second.get(), L"Z");
    TAdvAppStyler app(nullptr);
    app.SetStyle(tsOffice2010Blue);  // nobody registered yet
    otherStyler->SetAppStyle(&app);  // registers and takes the style
    Styler->SetAppStyle(&app);
    otherStyler->SetAppStyle(&app);  // once only
    ASSERT_EQ(app.FormStylerCount(), 2);
    EXPECT_EQ(app.FormStylers(0), otherStyler);
    EXPECT_EQ(Styler->Style(), tsOffice2010Blue);
    app.SetAppColor(0x0000FF);
    EXPECT_EQ(Styler->AppColor(), TColor(0x0000FF));

    Calls().clear();
    app.SetStyle(tsOffice2019Black);
    const std::vector<std::wstring> expected = {L"Z:styleEx", L"form:style", L"A:styleEx", L"B:style", L"C:styleEx"};
    EXPECT_EQ(Whos(), expected);
    EXPECT_EQ(Calls().front().AppColor, TColor(0x0000FF));

    // Tones go to every form styler; the app styler takes its metro settings from them.
    Calls().clear();
    TColorTones tones;
    CreateMetroTones(false, 0x00AA00, clWhite, tones);
    app.SetColorTones(tones);
    EXPECT_EQ(app.MetroStyle(), msDark);
    EXPECT_EQ(app.MetroColor(), TColor(0x00AA00));
    EXPECT_EQ(Whos(), (std::vector<std::wstring>{L"Z:tones", L"A:tones", L"C:tones"}));

    // A freed form styler leaves the list; a freed app styler leaves its form stylers.
    delete otherStyler;
    EXPECT_EQ(app.FormStylerCount(), 1);
    {
        TAdvAppStyler shortLived(nullptr);
        Styler->SetAppStyle(&shortLived);
        EXPECT_EQ(app.FormStylerCount(), 0);
    }
    EXPECT_EQ(Styler->AppStyle(), nullptr);
}

TEST_F(FormStyler, TheComboBoxListsTheStylesAndASelectionRestylesUntilTheStylerIsGone) {
    REQUIRE_DISPLAY();
    Form->Show();
    auto* combo = Make<TComboBox>(Form.get(), L"Styles");
    combo->SetParent(Form.get());
    Styler->SetStyle(tsOffice2013White);
    Styler->SetComboBox(combo);
    ASSERT_EQ(combo->Items()->Count(), 26);
    EXPECT_EQ(combo->Items()->Strings(0), L"Office 2003 Blue");
    EXPECT_EQ(combo->Items()->Strings(25), L"Custom");
    EXPECT_EQ(combo->Items()->IndexOf(L"Whidbey"), -1);
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->GetText(), L"Office 2013 White");

    // As a user's pick arrives: the list's selection, then its notification.
    auto choose = [&](TComboBox* box, const wchar_t* name) {
        box->SetItemIndex(box->Items()->IndexOf(name));
        box->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box->Handle()));
    };
    Calls().clear();
    choose(combo, L"Office 2019 Black");
    EXPECT_EQ(Styler->Style(), tsOffice2019Black);
    EXPECT_EQ(Form->Color(), clBlack);
    EXPECT_EQ(Calls().size(), 4u);

    // Replaced: the old combo box no longer reaches the styler.
    auto* other = Make<TComboBox>(Form.get(), L"Other");
    other->SetParent(Form.get());
    Styler->SetComboBox(other);
    choose(combo, L"Windows 8");
    EXPECT_EQ(Styler->Style(), tsOffice2019Black);
    choose(other, L"Windows 8");
    EXPECT_EQ(Styler->Style(), tsWindows8);

    // Freed: a late selection does nothing.
    delete Styler;
    Calls().clear();
    choose(other, L"Office 2016 Gray");
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Form->Color(), clBtnFace);
    Form->Hide();
}

TEST_F(FormStyler, AFreedComboBoxIsForgotten) {
    auto* combo = Make<TComboBox>(Form.get(), L"Styles");
    Styler->SetComboBox(combo);
    delete combo;
    EXPECT_EQ(Styler->ComboBox(), nullptr);
}

TEST_F(FormStyler, AutoThemeAdaptFollowsTheSystemOnAThemeChange) {
    REQUIRE_DISPLAY();
    TestSupport::TFakeEnvironment environment;
    environment.VersionKind = 3;  // Windows 10, light apps, no Office
    Form->HandleNeeded();
    ASSERT_NE(Styler->ThemeWindow(), nullptr);
    EXPECT_EQ(Styler->ThemeWindow()->Parent(), Form.get());
    const HWND themeWindow = Styler->ThemeWindow()->Handle();
    EXPECT_EQ(::GetParent(themeWindow), Form->Handle());
    Styler->SetAutoThemeAdapt(true);
    EXPECT_EQ(Styler->Style(), tsWindows10);

    environment.AddString(L"Software\\Microsoft\\Office\\16.0\\Common", L"UI Theme", L"4");
    Calls().clear();
    ::SendMessageW(themeWindow, WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(Styler->Style(), tsOffice2019Black);
    EXPECT_EQ(Form->Color(), clBlack);
    EXPECT_EQ(Calls().size(), 4u);

    // Off: a theme change leaves the style alone.
    Styler->SetAutoThemeAdapt(false);
    environment.Strings.clear();
    ::SendMessageW(themeWindow, WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(Styler->Style(), tsOffice2019Black);
}

TEST(AppStyler, AutoThemeAdaptAndAssign) {
    TestSupport::TFakeEnvironment environment;
    environment.AddNumber(L"Software\\Microsoft\\Office\\16.0\\Common", L"UI Theme", 3);
    TAdvAppStyler app(nullptr);
    EXPECT_EQ(app.ThemeWindow()->Parent(), nullptr);  // no main form
    app.SetAutoThemeAdapt(true);
    EXPECT_EQ(app.Style(), tsOffice2019Gray);
    environment.AddNumber(L"Software\\Microsoft\\Office\\16.0\\Common", L"UI Theme", 4);
    app.ThemeWindow()->Perform(WM_THEMECHANGED);
    EXPECT_EQ(app.Style(), tsOffice2019Black);

    TAdvAppStyler copy(nullptr);
    copy.Assign(&app);
    EXPECT_EQ(copy.Style(), tsOffice2019Black);
    EXPECT_TRUE(copy.AutoThemeAdapt());
    TAdvFormStyler form(nullptr);
    EXPECT_THROW(copy.Assign(&form), EConvertError);
    TAdvFormStyler formCopy(nullptr);
    form.SetStyle(tsTerminal);
    formCopy.Assign(&form);
    EXPECT_EQ(formCopy.Style(), tsTerminal);
}

TEST(FormStylerLoading, ADescribedFormAppliesItsLoadedStyleOnceAtTheEnd) {
    Calls().clear();
    TForm form(nullptr);
    form.InitFromDescriptionText(
        L"object Described: TForm\n"
        L"  object Styler: TAdvFormStyler\n    AppColor = 255\n    Style = tsOffice2019Gray\n  end\n"
        L"  object Fake: TFakeStyleEx\n  end\n"
        L"end");
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].Who, L"Fake");
    EXPECT_EQ(Calls()[0].Style, tsOffice2019Gray);
    EXPECT_EQ(Calls()[0].AppColor, TColor(255));
    EXPECT_EQ(form.Color(), TColor(0x666666));
    // What controls read of their form's styler.
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    EXPECT_EQ(GetFormStylerStyle(panel, tsOffice2019White), tsOffice2019Gray);
    dynamic_cast<TAdvFormStyler*>(form.FindComponent(L"Styler"))->SetEnabled(false);
    EXPECT_EQ(GetFormStylerStyle(panel, tsOffice2019White), tsOffice2019White);
    Calls().clear();
}

TEST(FormStylerLoading, AFormStylerTakesItsAppStylersSettingsWhenLoaded) {
    Calls().clear();
    TAdvAppStyler app(nullptr);
    app.SetName(L"App");
    app.SetStyle(tsOffice2016White);
    app.SetMetroColor(0x00AA00);
    TForm form(nullptr);
    auto* styler = new TAdvFormStyler(&form);
    styler->BeginLoading();
    styler->SetStyle(tsTerminal);
    styler->SetAppStyle(&app);
    EXPECT_EQ(styler->Style(), tsTerminal);  // not while loading
    EXPECT_EQ(app.FormStylerCount(), 1);
    styler->Loaded();
    EXPECT_EQ(styler->Style(), tsOffice2016White);
    EXPECT_EQ(styler->MetroColor(), TColor(0x00AA00));
    EXPECT_EQ(form.Color(), clWhite);
}

TEST(StylerPublishing, DefaultsVersionAndStyleNames) {
    TAdvFormStyler form(nullptr);
    TAdvAppStyler app(nullptr);
    AdvAppStyler::TThemeNotifierWindow window(nullptr);
    AdvStyleIF::TThemeNotifierWindow officeWindow(nullptr);
    for (const TObject* object : std::initializer_list<const TObject*>{&form, &app, &window, &officeWindow}) {
        SCOPED_TRACE(testing::PrintToString(object->ClassName()));
        EXPECT_GT(TestSupport::ExpectPublishedDefaults(object), 0);
    }
    EXPECT_EQ(GetPropText(&form, *TAdvFormStyler::StaticClass().Published().Find(L"Version")), L"2.4.0.1");
    EXPECT_EQ(app.Version(), L"2.4.0.1");
    EXPECT_EQ(form.GetVersionNr(), 0x02040001u);
    EXPECT_EQ(form.Tones().Background, (TColorTone{clWindow, clHighlight, clWindowText}));
    EXPECT_EQ(app.Tones().Background, (TColorTone{0, 0, 0}));

    const std::unique_ptr<TStringList> styles = TAdvFormStyler::GetStyles();
    ASSERT_EQ(styles->Count(), 26);
    struct TCase { int Index; const wchar_t* Name; TOVTStyle Style; };
    const TCase cases[] = {
        {4, L"Office 2007 Blue", tsOffice2007Luna}, {6, L"Office 2007 Black", tsOffice2007Obsidian},
        {8, L"Windows Vista", tsWindowsVista}, {12, L"Terminal", tsTerminal},
        {17, L"Office 2013 Light gray", tsOffice2013LightGray}, {24, L"Office 2019 Black", tsOffice2019Black},
        {25, L"Custom", tsCustom},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Index);
        EXPECT_EQ(styles->Strings(c.Index), c.Name);
        EXPECT_EQ(reinterpret_cast<intptr_t>(styles->Objects(c.Index)), intptr_t(c.Style));
    }
}
