// The menu painter without a shown menu: where items stand, shortcut texts, measuring,
// and items drawn on a memory surface with the popup's geometry given.
#include "menus/AdvMenuPaint.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "menus/AdvMenuStartup.h"
#include "menus/AdvMenuUtilDraw.h"
#include "menus/AdvMenus.h"
#include "support/MemorySurface.h"
#include "tests/menus/MenuItemsSupport.h"

using namespace ClassLib;
using namespace AdvMenus;
using MenuTestSupport::Add;

namespace {

// A styled popup menu of `captions` whose items the painter sees stacked 20 pixels high
// in a popup 200 pixels wide, at scale 1 unless a test says otherwise.
class TPaintFixture : public testing::Test {
protected:
    void SetUp() override {
        MenuPaintSeams().MenuItemRect = [this](HWND, HMENU menu, UINT position, RECT& rect) {
            if (int(position) >= ::GetMenuItemCount(menu)) return false;
            rect = {100, 100 + 20 * int(position), 300, 120 + 20 * int(position)};
            return true;
        };
        MenuPaintSeams().MenuScale = [this](const TMenu*) { return Scale; };
        Menu = std::make_unique<TAdvPopupMenu>(nullptr);
        Styler = Menu->CurrentStyler();
        // Colours the pixels tell apart.
        Styler->IconBar()->SetColor(TColor(0x000010));
        Styler->IconBar()->SetColorTo(clNone);
        Styler->Background()->SetColor(TColor(0x101000));
        Styler->Background()->SetColorTo(clNone);
    }
    TMenuItem* Item(const std::wstring& caption) { return Add(Menu->Items(), Menu.get(), caption); }
    // The rectangle the menu hands the painter for item `index`: the popup's, less the strip.
    TRect RectOf(int index) const { return {0, 20 * index, 200 - MenuExtraWidth, 20 * index + 20}; }
    void Draw(TestSupport::TMemorySurface& surface, TMenuItem* item, TOwnerDrawState state = 0) {
        TCanvas canvas;
        canvas.SetHandle(surface.DC());
        DrawMenuItem(item, &canvas, RectOf(item->MenuIndex()), SideBarApplies(item), state);
        canvas.SetHandle(nullptr);
    }
    // The smallest rectangle around the pixels of any colour but `ground` inside `area`.
    static TRect Ink(const TestSupport::TMemorySurface& surface, const TRect& area, COLORREF ground) {
        TRect box{area.Right, area.Bottom, area.Left, area.Top};
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (surface.At(x, y) != ground) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
    TMenuPaintSeamsScope Seams;
    float Scale = 1.0f;
    std::unique_ptr<TAdvPopupMenu> Menu;
    TCustomAdvMenuStyler* Styler = nullptr;
};

constexpr COLORREF IconGround = RGB(0x10, 0, 0), Ground = RGB(0, 0x10, 0x10);

}  // namespace

TEST(MenuPainter, ItemsKnowWhereTheyStand) {
    TAdvMainMenu bar(nullptr);
    TMenuItem* file = Add(bar.Items(), &bar, L"File");
    TMenuItem* hidden = Add(bar.Items(), &bar, L"Hidden");
    hidden->SetVisible(false);
    TMenuItem* edit = Add(bar.Items(), &bar, L"Edit");
    TMenuItem* open = Add(file, &bar, L"Open");
    TMenuItem* recent = Add(file, &bar, L"Recent");
    TMenuItem* first = Add(recent, &bar, L"a.c");
    TMenuItem* column = Add(file, &bar, L"Column");
    column->SetBreak(mbBreak);
    TMenuItem* cut = Add(edit, &bar, L"Cut");
    TAdvPopupMenu popup(nullptr);
    TMenuItem* copy = Add(popup.Items(), &popup, L"Copy");
    TMenuItem* more = Add(popup.Items(), &popup, L"More");
    TMenuItem* inner = Add(more, &popup, L"Inner");

    struct TCase {
        const char* Name;
        TMenuItem* Item;
        bool Bar, FirstLevel, FirstDropDown, Before, After;
        int Level, VisibleIndex;
    };
    const TCase cases[] = {
        {"bar item", file, true, false, false, false, false, 0, 0},
        {"hidden bar item", hidden, true, false, false, false, false, 0, -1},
        {"bar item after a hidden one", edit, true, false, false, false, false, 0, 1},
        {"first drop-down", open, false, true, true, false, true, 1, 0},
        {"before a column break", recent, false, true, true, false, true, 1, 1},
        {"the column break", column, false, true, true, true, true, 1, 2},
        {"sub-menu", first, false, false, false, false, false, 2, 0},
        {"second drop-down", cut, false, true, false, false, false, 1, 0},
        {"popup's own level", copy, false, true, true, false, false, 0, 0},
        {"popup's sub-menu", inner, false, false, false, false, false, 1, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(IsMenuBarItem(c.Item), c.Bar);
        EXPECT_EQ(IsFirstLevelItem(c.Item), c.FirstLevel);
        EXPECT_EQ(IsInFirstVisibleDropDown(c.Item), c.FirstDropDown);
        EXPECT_EQ(HasBreakAtOrBefore(c.Item), c.Before);
        EXPECT_EQ(HasBreakAtOrAfter(c.Item), c.After);
        EXPECT_EQ(ItemLevel(c.Item), c.Level);
        EXPECT_EQ(VisibleItemIndex(c.Item), c.VisibleIndex);
    }
    EXPECT_TRUE(IsFirstVisibleItem(edit) == false && IsFirstVisibleItem(open));

    // Where a side bar shows.
    TCustomAdvMenuStyler* styler = bar.CurrentStyler();
    styler->SideBar()->SetVisible(true);
    popup.CurrentStyler()->SideBar()->SetVisible(true);
    const std::pair<TSideBarVisibleIn, std::vector<TMenuItem*>> shown[] = {
        {viFirstVisible, {open, recent, copy}},
        {viFirstLevel, {open, recent, cut, copy}},
        {viAnyLevel, {open, recent, first, cut, copy, inner}},
    };
    for (const auto& [in, items] : shown) {
        SCOPED_TRACE(int(in));
        styler->SideBar()->SetVisibleIn(in);
        popup.CurrentStyler()->SideBar()->SetVisibleIn(in);
        for (TMenuItem* item : {file, open, recent, first, cut, copy, inner})
            EXPECT_EQ(SideBarApplies(item), std::find(items.begin(), items.end(), item) != items.end()) << item->Caption();
    }
    styler->SideBar()->SetVisible(false);
    EXPECT_FALSE(SideBarApplies(open));
}

TEST(MenuPainter, ShortCutTextsInTheLibrarysOrTheLayoutsWords) {
    struct TCase {
        TShortCut ShortCut;
        bool Intl;
        const wchar_t* Text;
    };
    const TCase cases[] = {
        {TShortCut(scCtrl | 'S'), false, L"Ctrl+S"},
        {TShortCut(0x200 | scCtrl | 'S'), false, L"Win+Ctrl+S"},
        {TShortCut(scCtrl | scShift | VK_F5), false, L"Shift+Ctrl+F5"},
        {VK_F12, true, L"F12"},
        {TShortCut(scCtrl | scShift | VK_F5), true, L"Control+Shift+F5"},
        {TShortCut(0x200 | scAlt | scCtrl | scShift | 'A'), true, L"Alt+Control+Shift+A"},
        {TShortCut(scCtrl | VK_BACK), true, L"Control+Backspace"},   // the layout's "BackSpace"
        {TShortCut(scAlt | VK_SPACE), true, L"Alt+space"},
        {VK_DELETE, true, L"Delete"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
        EXPECT_EQ(ShortCutToMenuText(c.ShortCut, c.Intl), c.Text);
    }
}

TEST_F(TPaintFixture, MeasuringFollowsTheItemsParts) {
    TMenuItem* plain = Item(L"Open");
    TMenuItem* hidden = Item(L"Hidden");
    hidden->SetVisible(false);
    TMenuItem* line = Item(L"-");
    TMenuItem* notes = Item(L"Open\\nA first note that is quite a bit longer\\nsecond");
    auto measure = [&](TMenuItem* item, bool sideBar = false) {
        TestSupport::TMemorySurface surface(10, 10);
        TCanvas canvas;
        canvas.SetHandle(surface.DC());
        int width = 10, height = 10;
        MeasureMenuItem(item, &canvas, width, height, sideBar);
        canvas.SetHandle(nullptr);
        return std::pair{width, height};
    };
    EXPECT_EQ(measure(hidden), std::pair(0, 0));
    EXPECT_EQ(measure(line), std::pair(-2, 3));
    Scale = 1.5f;
    EXPECT_EQ(measure(line).second, 2);   // Round(3 / 1.5)
    Scale = 1.0f;

    const auto [width, height] = measure(plain);
    // The strip the popup window cuts off is measured in.
    const int saved = MenuExtraWidth;
    MenuExtraWidth = saved + 13;
    EXPECT_EQ(measure(plain).first, width + 13);
    MenuExtraWidth = saved;
    // A side bar widens the item by its own width and splitter.
    Styler->SideBar()->SetSize(30);
    Styler->SideBar()->SetSplitterWidth(2);
    EXPECT_EQ(measure(plain, true).first, width + 32);

    // Notes add lines and are as wide as the longest; without ShowNotes they are caption text.
    const auto [notesWidth, notesHeight] = measure(notes);
    EXPECT_GT(notesHeight, height + 10);
    Menu->SetShowNotes(false);
    const auto oneLine = measure(notes);
    EXPECT_EQ(oneLine.second, height);
    EXPECT_GT(oneLine.first, notesWidth);  // the whole text, separators included, on one line
    Menu->SetShowNotes(true);

    // An image wider than the icon column widens the column.
    TImageList images(nullptr);
    images.SetSize(40, 50);
    Menu->SetImages(&images);
    plain->SetImageIndex(0);
    Styler->IconBar()->SetSize(24);
    Scale = 1.5f;
    EXPECT_EQ(measure(plain).second, 50 + 2);
    EXPECT_EQ(Styler->IconBar()->Size(), 40 + 6);
    Scale = 1.0f;
    // A popup item's own height is rounded up to an even number.
    images.SetSize(40, 51);
    EXPECT_EQ(measure(plain).second, 51 + 2 + 1);
    Menu->SetImages(nullptr);
}

TEST_F(TPaintFixture, TheSelectionBoxHasItsMirrorHalvesOverTheIconColumn) {
    Item(L"Open");
    TMenuItem* save = Item(L"Save");
    TSelectedItem* selected = Styler->SelectedItem();
    selected->SetColor(TColor(0x0000A0));
    selected->SetColorTo(TColor(0x0000A0));
    selected->SetColorMirror(TColor(0x00A000));
    selected->SetColorMirrorTo(TColor(0x00A000));
    selected->SetBorderColor(TColor(0xA00000));
    TestSupport::TMemorySurface surface(220, 80, RGB(0x50, 0x50, 0x50));
    Draw(surface, save, odSelected);
    const TRect r = RectOf(1);
    EXPECT_EQ(surface.At(r.Left, r.Top + 5), RGB(0, 0, 0xA0));           // border
    EXPECT_EQ(surface.At(r.Left + 2, r.Top + 4), RGB(0xA0, 0, 0));        // upper half, icon column
    EXPECT_EQ(surface.At(r.Right - 3, r.Top + 15), RGB(0, 0xA0, 0));      // lower half
    EXPECT_EQ(surface.At(r.Left + 2, r.Top + 15), RGB(0, 0xA0, 0));
    EXPECT_EQ(surface.At(r.Right - 1, r.Top + 10), RGB(0, 0, 0xA0));
}

TEST_F(TPaintFixture, ChecksAndRadiosGetTheirSquareAndGlyph) {
    TMenuItem* check = Item(L"Check");
    TMenuItem* radio = Item(L"Radio");
    check->SetChecked(true);
    radio->SetRadioItem(true);
    radio->SetChecked(true);
    TIconBar* icons = Styler->IconBar();
    icons->SetCheckColor(TColor(0x00C000));
    icons->SetCheckBorder(TColor(0xC00000));
    icons->SetRadioColor(TColor(0x0000C0));
    icons->SetRadioBorder(TColor(0xC0C000));
    TestSupport::TMemorySurface surface(220, 80);
    Draw(surface, check);
    Draw(surface, radio);
    const int side = std::min(icons->Size() - 1, 18);
    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        TRect square{0, RectOf(row).Top + 1, icons->Size() - 1, RectOf(row).Bottom - 1};
        AdvMenuUtil::CenterSizeInRect(square, side, side);
        const COLORREF fill = row == 0 ? RGB(0, 0xC0, 0) : RGB(0xC0, 0, 0);
        const COLORREF border = row == 0 ? RGB(0, 0, 0xC0) : RGB(0, 0xC0, 0xC0);
        EXPECT_EQ(surface.At(square.Left, square.Top), border);
        EXPECT_EQ(surface.At(square.Left + 1, square.Top + 1), fill);
        // The glyph prints in the button text colour inside the square.
        EXPECT_GT(surface.CountColour(ToRECT(square), clBtnText), 4);
    }
}

TEST_F(TPaintFixture, TheSubMenuArrowIsATextUntilAnExternalStylerBringsItsBitmap) {
    TMenuItem* more = Item(L"More");
    Add(more, Menu.get(), L"Inner");
    Styler->IconBar()->SetColor(TColor(0x101000));
    TestSupport::TMemorySurface surface(220, 40);
    const TRect r = RectOf(0);
    const TRect right{r.Right - 20, r.Top, r.Right, r.Bottom};
    Draw(surface, more);
    const TRect text = Ink(surface, right, Ground);
    EXPECT_FALSE(text.IsEmpty());

    TAdvMenuStyler external(nullptr);
    external.IconBar()->SetColor(TColor(0x101000));
    external.IconBar()->SetColorTo(clNone);
    external.Background()->SetColor(TColor(0x101000));
    external.Background()->SetColorTo(clNone);
    Menu->SetMenuStyler(&external);
    surface.Fill(Ground);
    Draw(surface, more);
    TBitmap* arrow = external.Glyphs()->SubMenu();
    ASSERT_FALSE(arrow->Empty());
    TRect place{r.Right - 8, r.Top, r.Right - 5, r.Bottom};
    AdvMenuUtil::CenterSizeInRect(place, arrow->Width(), arrow->Height());
    const TRect bitmap = Ink(surface, right, Ground);
    EXPECT_TRUE(bitmap.Left >= place.Left && bitmap.Right <= place.Right && bitmap.Top >= place.Top &&
                bitmap.Bottom <= place.Bottom)
        << bitmap.Left << "," << bitmap.Top << " " << bitmap.Right << "," << bitmap.Bottom;
    EXPECT_NE(bitmap, text);
    Menu->SetMenuStyler(nullptr);
}

TEST_F(TPaintFixture, TheShortCutEndsTenPixelsFromTheItemsEdge) {
    TMenuItem* save = Item(L"Save");
    save->SetShortCut(TShortCut(scCtrl | 'S'));
    TestSupport::TMemorySurface surface(220, 40);
    Draw(surface, save);
    const TRect r = RectOf(0);
    const TRect ink = Ink(surface, {r.Left + 80, r.Top, r.Right, r.Bottom}, Ground);
    EXPECT_LE(ink.Right, r.Right - 10);
    EXPECT_GE(ink.Right, r.Right - 13);
}

TEST_F(TPaintFixture, NotesPrintInTheNotesFontByGdiAndGdiPlus) {
    TMenuItem* open = Item(L"Open\\nread a C file");
    Styler->NotesFont()->SetColor(TColor(0x0000FF));
    Styler->NotesFont()->SetName(L"Arial");
    Styler->NotesFont()->SetHeight(-11);
    Styler->Font()->SetName(L"Arial");
    Styler->Font()->SetColor(TColor(0xFF0000));
    Styler->SetUseSystemFont(false);
    for (AdvGDIP::TAntiAlias antiAlias : {AdvGDIP::aaNone, AdvGDIP::aaAntiAlias}) {
        SCOPED_TRACE(int(antiAlias));
        Styler->SetAntiAlias(antiAlias);
        TestSupport::TMemorySurface surface(220, 60);
        TCanvas canvas;
        canvas.SetHandle(surface.DC());
        DrawMenuItem(open, &canvas, {0, 0, 200 - MenuExtraWidth, 44}, false, 0);
        canvas.SetHandle(nullptr);
        // Red-dominated pixels (the note) only below the caption's blue ones.
        int captionBottom = 0, noteTop = 1000, notes = 0;
        for (int y = 0; y < 44; ++y)
            for (int x = 30; x < 200 - MenuExtraWidth; ++x) {
                const COLORREF c = surface.At(x, y);
                if (GetBValue(c) > 0x80 && GetRValue(c) < 0x40) captionBottom = std::max(captionBottom, y);
                if (GetRValue(c) > 0x80 && GetBValue(c) < 0x40) {
                    noteTop = std::min(noteTop, y);
                    ++notes;
                }
            }
        EXPECT_GT(notes, 10);
        EXPECT_GT(noteTop, captionBottom - 2);
    }
    Styler->SetAntiAlias(AdvGDIP::aaNone);
}

TEST_F(TPaintFixture, TheSideBarCaptionPrintsHighlightShadowThenText) {
    Item(L"Open");
    Item(L"Save");
    TSideBar* bar = Styler->SideBar();
    bar->SetVisible(true);
    bar->SetVisibleIn(viFirstLevel);
    bar->SetSize(30);
    bar->SetCaption(L"MM");
    bar->Font()->SetName(L"Arial");
    bar->Font()->SetHeight(-20);
    bar->Font()->SetColor(TColor(0xFFFFFF));
    bar->SetShadowColor(TColor(0x00FF00));
    bar->SetHighlightColor(TColor(0xFF0000));
    bar->SetDepth(2);
    bar->SetAlignment(taCenter);
    bar->Background()->SetColor(TColor(0x000000));
    bar->Background()->SetColorTo(clNone);
    TestSupport::TMemorySurface surface(220, 80);
    Draw(surface, Menu->Items()->Items(0));
    // The centre of each colour's pixels: the highlight lies left and below the text, the
    // shadow right and above, and the text is drawn last, over both.
    auto centre = [&](COLORREF colour) {
        double x = 0, y = 0;
        int n = 0;
        for (int row = 0; row < 40; ++row)
            for (int col = 0; col < 31; ++col)
                if (surface.At(col, row) == colour) {
                    x += col;
                    y += row;
                    ++n;
                }
        EXPECT_GT(n, 5);
        return std::pair{x / std::max(n, 1), y / std::max(n, 1)};
    };
    const auto text = centre(RGB(0xFF, 0xFF, 0xFF));
    const auto shadow = centre(RGB(0, 0xFF, 0));
    const auto highlight = centre(RGB(0, 0, 0xFF));
    EXPECT_LT(highlight.first, text.first);
    EXPECT_GT(highlight.second, text.second);
    EXPECT_GT(shadow.first, text.first);
    EXPECT_LT(shadow.second, text.second);
    EXPECT_EQ(bar->PopupHeight(), 40);
}

TEST_F(TPaintFixture, ColumnsRunOverThePopupAndTheLastItemPaintsBelowItself) {
    Item(L"Open");
    TMenuItem* save = Item(L"Save");
    TMenuItem* last = Item(L"Close");
    // A vertical icon column gradient over the whole popup, 60 rows high.
    Styler->IconBar()->SetColor(TColor(0x000000));
    Styler->IconBar()->SetColorTo(TColor(0x0000F0));
    Styler->IconBar()->SetGradientDirection(gdVertical);
    TestSupport::TMemorySurface surface(220, 100, RGB(0x77, 0x77, 0x77));
    Draw(surface, save);
    for (int y = 20; y < 40; ++y) EXPECT_EQ(GetRValue(surface.At(3, y)), y * 0xF0 / 60) << y;
    EXPECT_EQ(surface.At(3, 45), RGB(0x77, 0x77, 0x77));
    EXPECT_EQ(surface.At(100, 45), RGB(0x77, 0x77, 0x77));  // a middle item paints only itself
    Draw(surface, last);
    EXPECT_EQ(surface.At(100, 70), Ground);   // the strip below the last item gets the background
}

TEST_F(TPaintFixture, RightToLeftMenusPutTheCaptionRightAndARightAlignedArrowLeft) {
    TMenuItem* more = Item(L"More");
    Add(more, Menu.get(), L"Inner");
    TAdvMenuStyler external(nullptr);
    for (TGradientBar* bar : std::initializer_list<TGradientBar*>{external.IconBar(), external.Background()}) {
        bar->SetColor(TColor(0x101000));
        bar->SetColorTo(clNone);
    }
    Menu->SetMenuStyler(&external);
    Menu->SetBiDiMode(bdRightToLeft);
    Menu->SetAlignment(paRight);
    TestSupport::TMemorySurface surface(220, 40);
    Draw(surface, more);
    const TRect r = RectOf(0);
    const TRect caption = Ink(surface, {r.Left + 40, r.Top, r.Right, r.Bottom}, Ground);
    EXPECT_GT(caption.Right, r.Right - 20);   // the caption ends at the right
    const TRect arrow = Ink(surface, {r.Left, r.Top, r.Left + 12, r.Bottom}, Ground);
    EXPECT_FALSE(arrow.IsEmpty());           // and the arrow points from the left
    Menu->SetMenuStyler(nullptr);
}
