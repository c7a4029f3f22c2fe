// Toolbar buttons, separators, menu buttons and containers on real toolbars: the button's
// state model driven by mouse messages, its links to actions and menu items, automatic size,
// what it paints (probed pixel by pixel), and what the toolbar does with its items.
#include "toolbars/AdvToolBarButton.h"

#include <gtest/gtest.h>

#include <memory>

#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/EditControls.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Seams.h"
#include "controls/AdvGlowButton.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvMenus.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarSystem.h"
#include "support/WindowTestSupport.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarContainer.h"
#include "toolbars/AdvToolBarMenuButton.h"
#include "toolbars/AdvToolBarSeparator.h"

using namespace ClassLib;
using namespace AdvToolBar;

namespace {

bool menuEnded = false;
RECT menuRect{};
void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND popup = ::FindWindowW(L"#32768", nullptr)) ::GetWindowRect(popup, &menuRect);
    menuEnded = true;
    ::EndMenu();
}

// Opens what the painter reads so a probe can set up one case.
class TProbeButton : public TAdvToolBarButton {
public:
    using TAdvToolBarButton::TAdvToolBarButton;
    void SetMenuOpen(bool value) { FMenuSel = value; }
    void SetMouseInside(bool value) { FMouseInControl = value; }
};

class ToolBarItems : public testing::Test {
protected:
    void SetUp() override {
        if (!TestSupport::HasDisplay()) return;
        static const AdvGDIPStartup::TGdiplusSession gdiplus;
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(100, 100, 600, 300);
        FForm->Show();
    }
    TAdvToolBar* NewToolBar(const wchar_t* name = L"ToolBar1") {
        auto* bar = new TAdvToolBar(FForm.get());
        bar->SetName(name);
        bar->SetParent(FForm.get());
        bar->SetShowRightHandle(false);
        return bar;
    }
    template <class T = TAdvToolBarButton>
    T* NewButton(TWinControl* parent, const wchar_t* name, const wchar_t* caption = L"") {
        auto* button = new T(FForm.get());
        button->SetName(name);
        button->SetCaption(caption);
        button->SetParent(parent);
        return button;
    }
    // An image list of `count` solid squares of the size.
    TImageList* NewImages(int size, int count = 3) {
        auto* images = new TImageList(FForm.get());
        images->SetSize(size, size);
        for (int i = 0; i < count; ++i) {
            TBitmap square(size, size);
            square.Canvas()->Brush()->SetColor(TColor(0x2040C0 + i * 0x10));
            square.Canvas()->FillRect(TRect(0, 0, size, size));
            images->AddMasked(&square, clFuchsia);
        }
        return images;
    }
    // The control painted alone into a bitmap first filled with fuchsia.
    static std::unique_ptr<TBitmap> Painted(TControl* control) {
        auto bitmap = std::make_unique<TBitmap>(control->Width(), control->Height());
        bitmap->Canvas()->Brush()->SetColor(clFuchsia);
        bitmap->Canvas()->FillRect(TRect(0, 0, control->Width(), control->Height()));
        control->Perform(WM_PAINT, WPARAM(bitmap->Canvas()->Handle()), 0);
        return bitmap;
    }
    static TColor Pixel(TBitmap& bitmap, int x, int y) { return TColor(ColorToRGB(bitmap.Canvas()->Pixels(x, y))); }
    static void Press(TControl* button, int x, int y) {
        button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    static void Release(TControl* button, int x, int y) { button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    static void ClickAt(TControl* button, int x = 3, int y = 3) {
        Press(button, x, y);
        Release(button, x, y);
    }
    std::unique_ptr<TForm> FForm;
};

}  // namespace

// ---------------------------------------------------------------- state model

TEST_F(ToolBarItems, DownFollowsStyleAndGroup) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* plain = NewButton(bar, L"Plain", L"Plain");
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());  // a plain button never stays down

    auto* check = NewButton(bar, L"Check", L"Check");
    check->SetStyle(tasCheck);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    ClickAt(check);
    EXPECT_TRUE(check->Down());
    ClickAt(check);
    EXPECT_FALSE(check->Down());
    // Pressed, dragged out and released there: no toggle, no click.
    Press(check, 3, 3);
    check->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 3));
    Release(check, 200, 3);
    EXPECT_FALSE(check->Down());
    EXPECT_EQ(clicks, 2);
}

TEST_F(ToolBarItems, GroupIsExclusiveAndSharesAllowAllUp) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    TAdvToolBarButton* members[3];
    const wchar_t* names[] = {L"Left", L"Centre", L"Right"};
    for (int i = 0; i < 3; ++i) {
        members[i] = NewButton(bar, names[i], names[i]);
        members[i]->SetGroupIndex(1);
    }
    ClickAt(members[0]);
    EXPECT_TRUE(members[0]->Down());
    EXPECT_EQ(members[0]->State(), absExclusive);
    ClickAt(members[1]);
    EXPECT_FALSE(members[0]->Down());
    EXPECT_TRUE(members[1]->Down());
    ClickAt(members[1]);  // AllowAllUp off: a second click leaves it down
    EXPECT_TRUE(members[1]->Down());

    members[2]->SetAllowAllUp(true);  // announced: every member takes it
    EXPECT_TRUE(members[0]->AllowAllUp());
    EXPECT_TRUE(members[1]->AllowAllUp());
    ClickAt(members[1]);
    EXPECT_FALSE(members[1]->Down());
}

TEST_F(ToolBarItems, DropDownZoneFiresTheEventAndPopsTheMenu) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* button = NewButton(bar, L"Paste", L"Paste");
    button->SetShowCaption(true);
    button->SetDropDownButton(true);
    int dropped = 0, clicked = 0;
    button->OnDropDown = [&](TObject*) { ++dropped; };
    button->OnClick = [&](TObject*) { ++clicked; };
    const int w = button->Width();
    ClickAt(button, w - 14, 5);  // just left of the zone: a click
    ClickAt(button, w - 13, 5);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(dropped, 1);
    button->SetDropDownSplit(false);  // the whole button drops down
    ClickAt(button, 2, 5);
    EXPECT_EQ(dropped, 2);
    EXPECT_EQ(clicked, 1);

    // A real styled menu pops up below the button; a timer ends it once it shows.
    auto* menu = new AdvMenus::TAdvPopupMenu(FForm.get());
    menu->SetName(L"PasteMenu");
    auto* item = new TMenuItem(menu);
    item->SetCaption(L"Paste special");
    menu->Items()->Add(item);
    button->SetDropDownMenu(menu);
    menuEnded = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, EndMenuSoon);
    ClickAt(button, 2, 5);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(menuEnded);
    const TPoint corner = bar->ClientToScreen({button->Left(), button->Top() + button->Height()});
    EXPECT_NEAR(menuRect.top, corner.Y, 3);  // below the button, at its left edge
    EXPECT_NEAR(menuRect.left, corner.X, 3);
    EXPECT_EQ(dropped, 3);
    EXPECT_FALSE(button->MenuSel());

    delete menu;  // a freed menu is forgotten
    EXPECT_EQ(button->DropDownMenu(), nullptr);
}

TEST_F(ToolBarItems, TurnedButtonDropsDownFromItsBottom) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* button = NewButton(bar, L"Turned", L"Turned");
    button->SetDropDownButton(true);
    button->SetPosition(daLeft);
    button->SetBounds(0, 0, 24, 60);
    int dropped = 0;
    button->OnDropDown = [&](TObject*) { ++dropped; };
    ClickAt(button, 20, 40);  // right edge, but above the bottom zone
    EXPECT_EQ(dropped, 0);
    ClickAt(button, 2, 50);
    EXPECT_EQ(dropped, 1);
}

TEST_F(ToolBarItems, UnHotTimerClearsHotWhenThePointerLeftUnseen) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* button = NewButton(bar, L"Hot", L"Hot");
    const TPoint inside = button->ClientToScreen({3, 3});
    ::SetCursorPos(inside.X, inside.Y);
    button->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(button->Hot());
    ::SetCursorPos(inside.X + 400, inside.Y + 200);  // no CM_MOUSELEAVE follows
    EXPECT_TRUE(TestSupport::PumpUntil([&] { return !button->Hot(); }));
    EXPECT_FALSE(button->MouseInControl());
}

TEST_F(ToolBarItems, DisabledButtonHasNoHintAndComesBackChecked) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* button = NewButton(bar, L"Member", L"Member");
    button->SetGroupIndex(2);
    button->SetDown(true);
    button->SetHint(L"Group member");
    button->SetEnabled(false);
    THintInfo info;
    info.HintStr = L"Group member";
    button->Perform(CM_HINTSHOW, 0, LPARAM(&info));
    EXPECT_TRUE(info.HintStr.empty());
    Painted(button);
    EXPECT_EQ(button->State(), absDisabled);
    button->SetEnabled(true);
    Painted(button);
    EXPECT_EQ(button->State(), absExclusive);
}

// ---------------------------------------------------------------- links

TEST_F(ToolBarItems, ActionAndMenuItemLinksCopyTheirValues) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* button = NewButton(bar, L"Linked");
    auto* action = new TAction(FForm.get());
    action->SetCaption(L"Bold");
    action->SetGroupIndex(3);
    action->SetImageIndex(2);
    action->SetChecked(true);
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), L"Bold");
    EXPECT_EQ(button->GroupIndex(), 3);
    EXPECT_EQ(button->ImageIndex(), 2);
    EXPECT_TRUE(button->Down());
    auto* link = dynamic_cast<TActionLink*>(button->ActionLink());
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->IsGroupIndexLinked());
    button->SetGroupIndex(4);
    EXPECT_FALSE(link->IsGroupIndexLinked());  // the group alone decides

    auto* item = new TMenuItem(FForm.get());
    item->SetCaption(L"&Italic");
    item->SetChecked(false);
    item->SetEnabled(false);
    item->SetImageIndex(1);
    auto* other = NewButton(bar, L"FromItem");
    other->SetGroupIndex(5);
    other->SetMenuItem(item);
    EXPECT_EQ(other->Caption(), L"&Italic");
    EXPECT_FALSE(other->Enabled());
    EXPECT_EQ(other->ImageIndex(), 1);
    EXPECT_EQ(other->MenuItem(), item);
    delete item;  // a freed item unlinks itself
    EXPECT_EQ(other->MenuItem(), nullptr);
}

TEST_F(ToolBarItems, GlyphFillsAnEmptyDisabledGlyphOnce) {
    REQUIRE_DISPLAY();
    auto* button = NewButton(NewToolBar(), L"Glyph");
    TBitmap glyph(2, 1);
    glyph.Canvas()->SetPixels(0, 0, clBlack);
    glyph.Canvas()->SetPixels(1, 0, clWhite);
    button->SetGlyph(&glyph);
    EXPECT_EQ(Pixel(*button->GlyphDisabled(), 0, 0), TColor(0x606060));
    EXPECT_EQ(Pixel(*button->GlyphDisabled(), 1, 0), TColor(0xDFDFDF));
    TBitmap second(2, 1);
    second.Canvas()->SetPixels(0, 0, clWhite);
    button->SetGlyph(&second);
    EXPECT_EQ(Pixel(*button->GlyphDisabled(), 0, 0), TColor(0x606060));
}

// ---------------------------------------------------------------- size

TEST_F(ToolBarItems, AutoSizeFromImageListAndCaption) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    bar->SetImages(NewImages(16));
    auto* button = NewButton(bar, L"Sized", L"Copy");
    button->SetImageIndex(0);
    button->SetShowCaption(true);
    // The caption measured here as the button measures it.
    TBitmap measure(1, 1);
    measure.Canvas()->SetFont(bar->CurrentToolBarStyler()->ButtonAppearance()->CaptionFont());
    const float s = AdvStyleIF::GetDPIScale(button, button->Canvas());
    measure.Canvas()->Font()->SetHeight(RoundEven(measure.Canvas()->Font()->Height() * s));
    RECT box{0, 0, 1000, 100};
    ::DrawTextW(measure.Canvas()->Handle(), L"Copy", 4, &box, DT_CALCRECT | DT_SINGLELINE);
    const int off = RoundEven(4 * s), sps = RoundEven(4 * s);
    EXPECT_EQ(button->Width(), 16 + sps + int(box.right) + 2 * off);
    EXPECT_EQ(button->Height(), std::max(bar->Height() - 4, 16 + 2 * off));

    button->SetShowCaption(false);
    EXPECT_EQ(button->Width(), std::max(16 + 2 * off, RoundEven(15 * s)));
    button->SetDropDownButton(true);
    EXPECT_EQ(button->Width(), std::max(16 + 2 * off, RoundEven(15 * s)) + RoundEven(12 * DPIScaleFactor));
}

TEST_F(ToolBarItems, LargerImageListGrowsTheToolBarAndRebuildsShadows) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    bar->SetImages(NewImages(16));
    auto* button = NewButton(bar, L"Shadowed");
    button->SetImageIndex(1);
    EXPECT_EQ(button->GlyphShade()->Width(), 16);
    const int before = bar->Height();
    bar->SetImages(NewImages(24));
    EXPECT_EQ(bar->Height(), before + 8);
    EXPECT_EQ(button->GlyphShade()->Width(), 24);

    delete bar->Images();  // a freed list takes the image away
    EXPECT_EQ(button->ImageIndex(), -1);
}

// ---------------------------------------------------------------- painting

TEST_F(ToolBarItems, PaintsNothingAtRestAndTheStylerColoursWhenHot) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    TButtonAppearance* look = bar->CurrentToolBarStyler()->ButtonAppearance();
    look->SetColorHot(TColor(0x00C0FF));
    look->SetColorHotTo(TColor(0x00C0FF));
    look->SetBorderHotColor(TColor(0x004080));
    look->SetColorDown(TColor(0x0080FF));
    look->SetColorDownTo(TColor(0x0080FF));
    auto* button = NewButton<TProbeButton>(bar, L"Probe");
    button->SetBounds(button->Left(), button->Top(), 40, 22);

    auto rest = Painted(button);
    for (int x : {0, 10, 20, 39}) EXPECT_EQ(Pixel(*rest, x, 10), clFuchsia) << x;

    button->SetHot(true);
    auto hot = Painted(button);
    EXPECT_EQ(Pixel(*hot, 10, 10), TColor(0x00C0FF));
    EXPECT_EQ(Pixel(*hot, 0, 10), TColor(0x004080));  // the border

    // Split drop-down, pressed: the section in the hot colours, the rest in the down ones.
    button->SetHot(false);
    button->SetDropDownButton(true);
    button->SetBounds(button->Left(), button->Top(), 40, 22);
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    auto pressed = Painted(button);
    EXPECT_EQ(Pixel(*pressed, 10, 10), TColor(0x0080FF));
    EXPECT_EQ(Pixel(*pressed, 40 - 3, 3), TColor(0x00C0FF));
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));

    // While its menu is open the button is framed in navy, open at the bottom.
    button->SetMenuOpen(true);
    auto open = Painted(button);
    EXPECT_EQ(Pixel(*open, 0, 10), TColor(0x800000));
    EXPECT_EQ(Pixel(*open, 20, 0), TColor(0x800000));
    EXPECT_EQ(Pixel(*open, 39, 10), TColor(0x800000));
    EXPECT_NE(Pixel(*open, 20, 21), TColor(0x800000));
}

TEST_F(ToolBarItems, ShadowLiesTwoPixelsUnderTheHotImage) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    bar->CurrentToolBarStyler()->ButtonAppearance()->SetColorHot(clNone);
    bar->CurrentToolBarStyler()->ButtonAppearance()->SetBorderHotColor(clNone);
    TBitmap glyph(8, 8);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(TRect(0, 0, 8, 8));
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(TRect(0, 0, 4, 4));
    auto* button = NewButton<TProbeButton>(bar, L"Shade");
    button->SetGlyph(&glyph);
    button->GenerateShade();
    button->SetAutoSize(false);
    button->SetBounds(button->Left(), button->Top(), 20, 20);
    button->SetMouseInside(true);
    button->SetHot(true);
    auto shot = Painted(button);
    const int x = (20 - 8) / 2, y = (20 - 8) / 2;
    EXPECT_EQ(Pixel(*shot, x, y), clRed);
    EXPECT_EQ(Pixel(*shot, x + 5, y + 5), TColor(0x808080));  // shadow beyond the red corner
}

TEST_F(ToolBarItems, DisabledCaptionIsEmbossed) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* button = NewButton(bar, L"Embossed", L"IIII");
    button->SetShowCaption(true);
    button->SetEnabled(false);
    auto shot = Painted(button);
    // The caption is drawn twice, offset, in the highlight and the shadow colour. Smoothed text
    // blends both with what lies below, so a pixel counts by the channel only that colour moves:
    // nothing but the grey shadow takes red below the face's, nothing but the white highlight
    // lifts green above the shadow's.
    const TColor face = Pixel(*shot, 0, 0);
    const TColor shadowColour = TColor(ColorToRGB(clBtnShadow));
    bool shadow = false, highlight = false;
    for (int y = 0; y < shot->Height(); ++y)
        for (int x = 0; x < shot->Width(); ++x) {
            const TColor c = Pixel(*shot, x, y);
            shadow = shadow || GetRValue(c) < (GetRValue(face) + GetRValue(shadowColour)) / 2 + 8;
            highlight = highlight || (GetRValue(c) == 0xFF && GetGValue(c) > GetGValue(shadowColour) + 0x20);
        }
    EXPECT_TRUE(shadow);
    EXPECT_TRUE(highlight);
}

// ---------------------------------------------------------------- separators

TEST_F(ToolBarItems, SeparatorSizesAcrossTheRowAndPaintsTwoLines) {
    REQUIRE_DISPLAY();
    auto* loose = new TAdvToolBarSeparator(FForm.get());
    EXPECT_EQ(loose->Width(), 10);
    EXPECT_EQ(loose->Height(), 22);
    delete loose;

    TAdvToolBar* bar = NewToolBar();
    NewButton(bar, L"Before", L"Before");
    auto* separator = new TAdvToolBarSeparator(FForm.get());
    separator->SetName(L"Separator1");
    separator->SetParent(bar);
    EXPECT_EQ(separator->Width(), 10);
    EXPECT_EQ(separator->Height(), bar->Height() - 4);
    separator->SetLineColor(clNavy);
    auto shot = Painted(separator);
    EXPECT_EQ(Pixel(*shot, 5, 3), clNavy);
    EXPECT_EQ(Pixel(*shot, 5, separator->Height() - 4), clNavy);
    EXPECT_EQ(Pixel(*shot, 5, separator->Height() - 3), clFuchsia);  // the end is not painted
    EXPECT_EQ(Pixel(*shot, 6, 4), clWhite);
    EXPECT_EQ(Pixel(*shot, 6, 3), clFuchsia);
    separator->SetSeparatorStyle(ssBlank);
    auto blank = Painted(separator);
    EXPECT_EQ(Pixel(*blank, 5, 10), clFuchsia);

    bar->SetPosition(daLeft);  // every item turns with the toolbar
    EXPECT_EQ(separator->Height(), 10);
    EXPECT_EQ(separator->Width(), bar->Width() - 4);

    TAdvToolBarSeparator copy(nullptr);
    copy.Assign(separator);
    EXPECT_EQ(copy.LineColor(), clNavy);
    EXPECT_EQ(copy.SeparatorStyle(), ssBlank);
    TAdvToolBarButton button(nullptr);
    EXPECT_THROW(copy.Assign(&button), EAssignError);
}

TEST_F(ToolBarItems, LeadingSeparatorHidesAndComesBack) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* first = NewButton(bar, L"First", L"First");
    first->SetShowCaption(true);
    auto* separator = new TAdvToolBarSeparator(FForm.get());
    separator->SetName(L"Separator1");
    separator->SetParent(bar);
    auto* second = NewButton(bar, L"Second", L"Second");
    second->SetShowCaption(true);
    auto* userHidden = new TAdvToolBarSeparator(FForm.get());
    userHidden->SetName(L"Separator2");
    userHidden->SetParent(bar);
    NewButton(bar, L"Third", L"Third");
    userHidden->SetVisible(false);
    EXPECT_TRUE(separator->Visible());

    first->SetVisible(false);
    bar->Realign();
    EXPECT_FALSE(separator->Visible());  // leads the row now
    first->SetVisible(true);
    bar->Realign();
    EXPECT_TRUE(separator->Visible());   // a group boundary again
    EXPECT_FALSE(userHidden->Visible()); // hidden by its user: stays so
}

// ---------------------------------------------------------------- keys

TEST_F(ToolBarItems, AltAcceleratorAndActionShortcutReachButtons) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* paste = NewButton(bar, L"PasteButton", L"&Paste");
    int pasted = 0;
    paste->OnClick = [&](TObject*) { ++pasted; };
    {
        TSeamsScope seams;
        Seams().KeyState = [](int key) -> short { return key == VK_MENU ? short(0x8000) : short(0); };
        EXPECT_EQ(bar->Perform(CM_DIALOGCHAR, 'p'), 1);
    }
    EXPECT_EQ(pasted, 1);

    // An action's shortcut, found inside a container too; never when buttons are not asked.
    auto* container = new TAdvToolBarContainer(FForm.get());
    container->SetName(L"Container1");
    container->SetParent(bar);
    auto* inner = NewButton(container, L"Inner", L"Inner");
    auto* action = new TAction(FForm.get());
    action->SetShortCut(TShortCut(scCtrl | 'K'));
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    inner->SetAction(action);
    EXPECT_FALSE(bar->IsShortCut('K', ssCtrl, false));
    EXPECT_TRUE(bar->IsShortCut('K', ssCtrl, true));
    EXPECT_EQ(executed, 1);
    EXPECT_FALSE(bar->IsShortCut('J', ssCtrl, true));
}

// ---------------------------------------------------------------- menu button

TEST_F(ToolBarItems, MenuButtonTakesTheStylerColoursAndKeepsA12PixelSection) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    TButtonAppearance* look = bar->CurrentToolBarStyler()->ButtonAppearance();
    look->SetColorHot(TColor(0x40E0A0));
    look->SetColorHotTo(TColor(0x40E0A0));
    auto* button = NewButton<TAdvToolBarMenuButton>(bar, L"FileMenu", L"File");
    button->Appearance()->SetColorHot(clRed);  // overwritten at the next paint
    button->SetDropDownButton(true);
    button->SetAutoSize(false);
    button->SetBounds(button->Left(), button->Top(), 50, 22);
    button->SetHot(true);
    auto shot = Painted(button);
    EXPECT_EQ(Pixel(*shot, 5, 10), TColor(0x40E0A0));
    EXPECT_EQ(button->Appearance()->ColorHot(), TColor(0x40E0A0));
    // The arrow's top row, 5 pixels, sits in a 12-pixel section at every DPI.
    const int x = 50 - 12 + (12 - 5) / 2, y = (22 - 3) / 2 + 1;
    EXPECT_EQ(Pixel(*shot, x, y), clBlack);
    EXPECT_EQ(Pixel(*shot, x + 4, y), clBlack);
    EXPECT_NE(Pixel(*shot, x + 5, y), clBlack);
    EXPECT_TRUE(button->IsMenuButton());
}

// ---------------------------------------------------------------- container

TEST_F(ToolBarItems, ContainerMarginsKeepChildrenInside) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* container = new TAdvToolBarContainer(FForm.get());
    container->SetName(L"Container1");
    container->SetParent(bar);
    container->SetBounds(container->Left(), container->Top(), 120, 40);
    auto* edit = new TEdit(FForm.get());
    edit->SetName(L"Edit1");
    edit->SetParent(container);
    edit->SetBounds(2, 3, 60, 20);
    container->SetContainerMargins(15);
    EXPECT_EQ(container->ContainerMargins(), 0);
    container->SetContainerMargins(14);
    EXPECT_EQ(edit->Left(), 14);
    EXPECT_EQ(edit->Top(), 14);
}

TEST_F(ToolBarItems, ContainerShowsTheToolBarThroughItAndFramesItsCaption) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    TCustomAdvToolBarStyler* styler = bar->CurrentToolBarStyler();
    styler->Color()->SetColor(clBlack);
    styler->Color()->SetColorTo(clWhite);
    styler->Color()->SetDirection(gdVertical);
    styler->SetBackGroundTransparent(false);
    bar->SetHeight(60);
    auto* container = new TAdvToolBarContainer(FForm.get());
    container->SetName(L"Container1");
    container->SetParent(bar);
    container->SetBounds(container->Left(), 4, 120, 50);
    container->SetCaption(L"Find");
    styler->ContainerAppearance()->SetLineColor(clNavy);
    styler->ContainerAppearance()->SetLine3D(false);
    container->SetLineColor(clRed);  // the styler's line wins with ParentStyler

    auto toolBarShot = std::make_unique<TBitmap>(bar->Width(), bar->Height());
    bar->Perform(WM_PAINT, WPARAM(toolBarShot->Canvas()->Handle()), 0);
    auto shot = Painted(container);
    const int px = 60, py = 30;
    const TColor under = Pixel(*toolBarShot, container->Left() + px, container->Top() + py);
    EXPECT_NE(under, clBlack);  // the gradient's middle
    EXPECT_NE(under, clWhite);
    EXPECT_EQ(Pixel(*shot, px, py), under);
    const int y0 = 2 + 2;
    EXPECT_EQ(Pixel(*shot, 3, y0), clNavy);               // the top line before the caption
    EXPECT_NE(Pixel(*shot, 14, y0), clNavy);              // the gap under the caption
    EXPECT_EQ(Pixel(*shot, 118 - 2 - 1, y0), clNavy);     // after it
    EXPECT_EQ(Pixel(*shot, 0, 30), clNavy);              // flat frame
    EXPECT_NE(Pixel(*shot, 1, 30), clWhite);
    styler->ContainerAppearance()->SetLine3D(true);
    auto embossed = Painted(container);
    EXPECT_EQ(Pixel(*embossed, 1, 30), clWhite);

    container->SetShowBorder(false);
    auto bare = Painted(container);
    EXPECT_EQ(Pixel(*bare, 0, 30), Pixel(*toolBarShot, container->Left(), container->Top() + 30));

    // The styler's picture transparency does not switch the toolbar's background off: the
    // container still shows the toolbar's gradient, not the form.
    styler->SetBackGroundTransparent(true);
    FForm->SetColor(clTeal);
    auto through = Painted(container);
    EXPECT_EQ(Pixel(*through, px, py), under);
}

TEST_F(ToolBarItems, GlowButtonInAContainerGetsTheKeyHook) {
    REQUIRE_DISPLAY();
    TAdvToolBar* bar = NewToolBar();
    auto* container = new TAdvToolBarContainer(FForm.get());
    container->SetName(L"Container1");
    container->SetParent(bar);
    container->SetBounds(container->Left(), container->Top(), 120, 40);
    auto* glow = new AdvGlowButton::TAdvGlowButton(FForm.get());
    glow->SetName(L"Glow1");
    glow->SetParent(container);
    EXPECT_TRUE(bool(glow->ToolBarFields().OnInternalKeyDown));
    EXPECT_EQ(container->AdvToolBar(), bar);

    // The access class paints a windowed control's graphic children into a DC.
    auto* label = NewButton(container, L"InContainer", L"In");
    label->SetShowCaption(true);
    TBitmap target(container->Width(), container->Height());
    target.Canvas()->Brush()->SetColor(clFuchsia);
    target.Canvas()->FillRect(TRect(0, 0, target.Width(), target.Height()));
    bar->CurrentToolBarStyler()->ButtonAppearance()->SetColorChecked(clLime);
    label->SetStyle(tasCheck);
    label->SetDown(true);
    TWinCtrl::PaintCtrls(container, target.Canvas()->Handle(), nullptr);
    EXPECT_EQ(Pixel(target, label->Left() + 2, label->Top() + 2), clLime);
}
