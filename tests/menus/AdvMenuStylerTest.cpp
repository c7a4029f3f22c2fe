// The menu styler and its appearance objects: defaults, the two strengths of a change
// notice, index errors, glyph loading by scale, and Assign.
#include "menus/AdvMenuStyler.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "classlib/GdiObjects.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Screen.h"
#include "menus/AdvMenuUtil.h"
#include "support/PublishedDefaults.h"

using namespace ClassLib;
using namespace AdvMenus;

namespace {

// A styled menu that counts what the styler asks of it.
class TFakeMenu : public TMenu, public IAdvMenu {
public:
    TFakeMenu() : TMenu(nullptr) {}
    void UpdateItems() override { ++Refreshes; }
    TMenu* GetMenu() override { return this; }
    void MenuChangeNoticed() override { ++Notices; }
    bool IsMainMenuWithWindow() override { return MainWithWindow; }
    int Refreshes = 0;
    int Notices = 0;
    bool MainWithWindow = false;
};

// Replaces the glyph loader for one test and records the names it was asked for.
class TCountingGlyphLoader {
public:
    TCountingGlyphLoader() : FSaved(GlyphLoader()) {
        GlyphLoader() = [this](TBitmap& bitmap, const std::wstring& name) {
            Names.push_back(name);
            bitmap.SetSize(2, 2);
        };
    }
    ~TCountingGlyphLoader() { GlyphLoader() = FSaved; }
    std::vector<std::wstring> Names;
private:
    TGlyphLoader FSaved;
};

}  // namespace

TEST(MenuStyler, EveryObjectStartsAtItsDeclaredDefaults) {
    TAdvMenuStyler styler(nullptr);
    const TObject* objects[] = {&styler,
                                styler.Background(),
                                styler.IconBar(),
                                styler.SelectedItem(),
                                styler.RootItem(),
                                styler.Glyphs(),
                                styler.SideBar(),
                                styler.Separator(),
                                styler.ButtonAppearance(),
                                styler.SideBar()->Background()};
    int checked = 0;
    for (const TObject* object : objects) checked += TestSupport::ExpectPublishedDefaults(object);
    EXPECT_GT(checked, 80);
    EXPECT_EQ(styler.Font()->Height(), -12);
    EXPECT_EQ(styler.Font()->Name(), Screen->MenuFont()->Name());
    EXPECT_EQ(styler.NotesFont()->Size(), Screen->MenuFont()->Size() - 2);
    EXPECT_EQ(styler.NotesFont()->Color(), TColor(0x808080));
    EXPECT_EQ(styler.SelectedItem()->Font()->Color(), clWindowText);
    EXPECT_EQ(styler.SideBar()->Font()->Name(), L"Tahoma");
    EXPECT_EQ(styler.SideBar()->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(styler.Separator()->GradientDirection(), gdHorizontal);
    EXPECT_EQ(styler.ButtonAppearance()->CaptionFont()->Name(), AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma");
}

TEST(MenuStyler, TheIconColumnIsNeverNarrowerThanSixteen) {
    TIconBar bar;
    for (const auto& [value, stored] : std::vector<std::pair<int, int>>{{10, 16}, {16, 16}, {-3, 16}, {30, 30}}) {
        SCOPED_TRACE(value);
        bar.SetSize(value);
        EXPECT_EQ(bar.Size(), stored);
    }
}

TEST(MenuStyler, AnIndexAPropertyDoesNotHaveRaisesWithTheIndex) {
    TRootItem root;
    TIconBar icons;
    TSelectedItem selected;
    struct TCase {
        const char* Name;
        int Index;
        std::function<void()> Access;
    };
    const TCase cases[] = {
        {"root hover read", 4, [&] { root.GetHoverColor(4); }},
        {"root selected write", -1, [&] { root.SetSelectedColor(-1, clRed); }},
        {"bar colour read", 2, [&] { icons.GetColor(2); }},
        {"icon check write", 2, [&] { icons.SetCheckColor(2, clRed); }},
        {"selected radio read", 7, [&] { selected.GetRadioColor(7); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            c.Access();
            ADD_FAILURE() << "no error";
        } catch (const AdvMenuUtil::EInvalidPropertyIndex& e) {
            EXPECT_EQ(e.Message(), L"Invalid property index " + std::to_wstring(c.Index) + L".");
        }
    }
    root.SetHoverColor(3, clRed);   // the four hover colours are 0..3
    EXPECT_EQ(root.HoverColorMirrorTo(), clRed);
}

TEST(MenuGlyphs, LoadOnlyWhenTheScaleBracketChanges) {
    TCountingGlyphLoader loader;
    TMenuGlyphs glyphs;
    EXPECT_EQ(loader.Names, (std::vector<std::wstring>{L"ADVSUBMENUITEM", L"ADVCHECKITEM", L"ADVRADIOITEM"}));
    EXPECT_EQ(glyphs.ResType(), rtx1);
    struct TStep {
        float Scale;
        TResType Bracket;
        const wchar_t* Loaded;   // the sub-menu bitmap's name, or null for no load
    };
    const TStep steps[] = {
        {1.25f, rtx1, nullptr}, {1.4f, rtx1, nullptr}, {1.5f, rtx15, L"ADVSUBMENUITEMx15"},
        {1.75f, rtx15, nullptr}, {2.0f, rtx2, L"ADVSUBMENUITEMx20"}, {1.0f, rtx1, L"ADVSUBMENUITEM"},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.Scale);
        loader.Names.clear();
        glyphs.UpdateResources(step.Scale);
        EXPECT_EQ(glyphs.ResType(), step.Bracket);
        if (step.Loaded) {
            ASSERT_EQ(loader.Names.size(), 3u);
            EXPECT_EQ(loader.Names[0], step.Loaded);
        } else {
            EXPECT_TRUE(loader.Names.empty());
        }
    }
}

TEST(MenuGlyphs, TheProgramsBitmapsComeInThreeSizes) {
    TMenuGlyphs glyphs;
    struct TCase {
        float Scale;
        int Mark, ArrowWidth, ArrowHeight;
    } cases[] = {{1.0f, 16, 4, 7}, {1.5f, 24, 6, 10}, {2.0f, 32, 8, 14}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Scale);
        glyphs.UpdateResources(c.Scale);
        EXPECT_EQ(glyphs.Check()->Width(), c.Mark);
        EXPECT_EQ(glyphs.Radio()->Height(), c.Mark);
        EXPECT_EQ(glyphs.SubMenu()->Width(), c.ArrowWidth);
        EXPECT_EQ(glyphs.SubMenu()->Height(), c.ArrowHeight);
        EXPECT_TRUE(glyphs.Check()->Transparent());
    }
    // Black ink on white paper: the arrow's tip row is inked at its left edge.
    glyphs.UpdateResources(1.0f);
    EXPECT_EQ(ColorToRGB(glyphs.SubMenu()->Canvas()->Pixels(0, 3)), clBlack);
    EXPECT_EQ(ColorToRGB(glyphs.SubMenu()->Canvas()->Pixels(3, 0)), clWhite);
}

// What each kind of change asks of the styled menu: a refresh re-measures the items, a
// notice lets a main menu re-check its form, and some changes tell nothing at all.
TEST(MenuStyler, EachChangeTellsTheMenuInItsStrength) {
    TAdvMenuStyler styler(nullptr);
    TFakeMenu menu;
    TAdvMenuStyler other(nullptr);
    TFont font;
    font.SetName(L"Arial");
    TBitmap glyph(3, 3);
    enum TStrength { Nothing, Notice, Refresh };
    struct TCase {
        const char* Name;
        TStrength Strength;
        std::function<void()> Change;
    };
    const TCase cases[] = {
        {"selected colour", Nothing, [&] { styler.SelectedItem()->SetColor(clRed); }},
        {"selected font", Refresh, [&] { styler.SelectedItem()->SetFont(&font); }},
        {"selected check colour", Notice, [&] { styler.SelectedItem()->SetCheckColorTo(clRed); }},
        {"icon bar size", Refresh, [&] { styler.IconBar()->SetSize(30); }},
        {"icon bar radio colour", Notice, [&] { styler.IconBar()->SetRadioColor(clRed); }},
        {"icon bar border", Nothing, [&] { styler.IconBar()->SetCheckBorder(clRed); }},
        {"root hover colour", Refresh, [&] { styler.RootItem()->SetHoverColorTo(clRed); }},
        {"root system font", Refresh, [&] { styler.RootItem()->SetUseSystemFont(false); }},
        {"root text colour", Nothing, [&] { styler.RootItem()->SetHoverTextColor(clRed); }},
        {"background picture", Notice, [&] { styler.Background()->SetImage(nullptr); }},
        {"check glyph", Notice, [&] { styler.Glyphs()->SetCheck(&glyph); }},
        {"side bar shown", Nothing, [&] { styler.SideBar()->SetVisible(true); }},
        {"side bar font", Refresh, [&] { styler.SideBar()->SetFont(&font); }},
        {"styler separator", Notice, [&] { styler.SetSeparator(other.Separator()); }},
        {"styler side bar", Refresh, [&] { styler.SetSideBar(other.SideBar()); }},
        {"styler anti-alias", Refresh, [&] { styler.SetAntiAlias(AdvGDIP::aaAntiAlias); }},
        {"styler notes font", Refresh, [&] { styler.SetNotesFont(&font); }},
        {"styler border colour", Nothing, [&] { styler.SetMenuBorderColor(clRed); }},
        {"styler buttons", Nothing, [&] { styler.SetButtonAppearance(other.ButtonAppearance()); }},
    };
    for (const TCase& c : cases) c.Change();   // before a menu: nobody to tell
    EXPECT_EQ(menu.Notices + menu.Refreshes, 0);

    styler.SetMenu(&menu);
    EXPECT_EQ(menu.Notices, 1);
    EXPECT_EQ(menu.Refreshes, 0);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        menu.Notices = menu.Refreshes = 0;
        c.Change();
        EXPECT_EQ(menu.Refreshes, c.Strength == Refresh ? 1 : 0);
        EXPECT_EQ(menu.Notices, c.Strength == Nothing ? 0 : 1);
    }
    // A side bar shown on a main menu with a window repaints it.
    menu.MainWithWindow = true;
    menu.Notices = menu.Refreshes = 0;
    styler.SideBar()->SetVisible(false);
    EXPECT_EQ(menu.Refreshes, 1);
}

TEST(MenuStyler, AFreedMenuIsDroppedByTheStylerAndItsObjects) {
    TAdvMenuStyler styler(nullptr);
    auto* menu = new TFakeMenu;
    styler.SetMenu(menu);
    EXPECT_EQ(styler.IconBar()->Menu(), menu);
    delete menu;
    EXPECT_EQ(styler.Menu(), nullptr);
    EXPECT_EQ(styler.IconBar()->Menu(), nullptr);
    styler.IconBar()->SetSize(40);   // tells nobody, harms nothing
}

TEST(MenuStyler, AssignCopiesTheLooksButKeepsAntiAliasBorderAndButtons) {
    TAdvMenuStyler source(nullptr), target(nullptr);
    source.SetAntiAlias(AdvGDIP::aaClearType);
    source.SetMenuBorderColor(clRed);
    source.ButtonAppearance()->SetHoverColor(clRed);
    source.IconBar()->SetColor(0x112233);
    source.IconBar()->SetGradientDirection(gdVertical);
    source.IconBar()->SetCheckBorder(0x223344);
    source.IconBar()->SetSize(28);
    source.SelectedItem()->SetCheckBorder(0x334455);
    source.SelectedItem()->NotesFont()->SetName(L"Courier New");
    source.RootItem()->SetHoverColorMirror(0x445566);
    source.RootItem()->SetSelectedColorMirrorTo(0x556677);
    source.Background()->SetMarginX(3);
    source.Background()->SetPosition(bpTiled);
    source.Separator()->SetMargin(5);
    source.SideBar()->SetCaption(L"Tools");
    source.SideBar()->SetSize(30);
    source.Font()->SetName(L"Arial");
    source.SetUseSystemFont(false);

    target.Assign(&source);
    EXPECT_EQ(target.AntiAlias(), AdvGDIP::aaNone);
    EXPECT_EQ(target.MenuBorderColor(), TColor(0x7C7C94));
    EXPECT_EQ(target.ButtonAppearance()->HoverColor(), TColor(0xD2BDB6));
    EXPECT_EQ(target.IconBar()->Color(), TColor(0x112233));
    EXPECT_EQ(target.IconBar()->GradientDirection(), gdVertical);
    EXPECT_EQ(target.IconBar()->CheckBorder(), TColor(0x223344));
    EXPECT_EQ(target.IconBar()->Size(), 28);
    EXPECT_EQ(target.SelectedItem()->CheckBorder(), TColor(0x334455));
    EXPECT_EQ(target.SelectedItem()->NotesFont()->Name(), L"Courier New");
    EXPECT_EQ(target.RootItem()->HoverColorMirror(), TColor(0x445566));
    EXPECT_EQ(target.RootItem()->SelectedColorMirrorTo(), TColor(0x556677));
    EXPECT_EQ(target.Background()->MarginX(), 3);
    EXPECT_EQ(target.Background()->Position(), bpTiled);
    EXPECT_EQ(target.Separator()->Margin(), 5);
    EXPECT_EQ(target.SideBar()->Caption(), L"Tools");
    EXPECT_EQ(target.SideBar()->Size(), 30);
    EXPECT_EQ(target.Font()->Name(), L"Arial");
    EXPECT_FALSE(target.UseSystemFont());

    TFont font;   // not a styler: ignored
    target.Assign(&font);
    EXPECT_EQ(target.Font()->Name(), L"Arial");
}

TEST(MenuStyler, AGradientBarTakesAnotherBarsColoursAndRejectsOtherKinds) {
    TSeparator separator;
    TRootItem root;
    root.SetColor(0x123456);
    separator.Assign(&root);   // any gradient bar gives its two colours and direction
    EXPECT_EQ(separator.Color(), TColor(0x123456));
    EXPECT_EQ(separator.GradientDirection(), gdHorizontal);
    TFont font;
    EXPECT_THROW(separator.Assign(&font), EAssignError);
}

TEST(MenuStyler, TheButtonLookTellsRealChangesOfItsColours) {
    AdvMenus::TButtonAppearance look;
    int changes = 0;
    look.OnChange = [&](TObject*) { ++changes; };
    look.SetHoverColor(0xD2BDB6);   // unchanged
    look.SetHoverColor(clRed);
    look.SetGradientDirection(gdHorizontal);
    look.SetHoverBorderColor(clBlue);   // a plain field
    look.SetUseSystemFont(false);
    EXPECT_EQ(changes, 2);
    look.CaptionFont()->SetName(L"Arial");
    look.SetUseSystemFont(true);   // back on: the system's font name again
    EXPECT_EQ(look.CaptionFont()->Name(), AdvStyleIF::IsVistaOrLater() ? L"Segoe UI" : L"Tahoma");
}

TEST(MenuBackground, ThePicturePositionFollowsPositionAndOffsets) {
    TBackground background;
    TPicture picture;
    TBitmap bitmap(16, 16);
    picture.SetGraphic(&bitmap);
    background.SetImage(&picture);
    const TRect area(0, 0, 100, 50);
    struct TCase {
        TBackgroundPosition Position;
        int X, Y;
    } cases[] = {
        {bpTopLeft, 2, 3},     {bpTopRight, 86, 3},    {bpBottomLeft, 2, 37},  {bpBottomRight, 86, 37},
        {bpTopCenter, 44, 3},  {bpBottomCenter, 44, 37}, {bpCenter, 44, 20}, {bpTiled, 0, 0},
        {bpStretched, 0, 0},   {bpXY, 0, 0},
    };
    background.SetOffsetX(2);
    background.SetOffsetY(3);
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.Position));
        background.SetPosition(c.Position);
        int x = -1, y = -1;
        background.CalcPicturePosition(area, x, y);
        EXPECT_EQ(x, c.X);
        EXPECT_EQ(y, c.Y);
    }
    background.SetImage(nullptr);   // no picture: the rectangle's top-left
    background.SetPosition(bpBottomRight);
    int x = -1, y = -1;
    background.CalcPicturePosition(TRect(5, 6, 100, 50), x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
}
