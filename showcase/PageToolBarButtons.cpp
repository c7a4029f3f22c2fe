// Toolbar buttons on toolbars: image-list buttons with captions in the four positions, a hot,
// a disabled and a checked one, a check group, a split drop-down with a styled menu,
// separators, a menu button, a container holding an edit and a glow button, and a vertical
// toolbar whose buttons turn upright.
#include <cmath>
#include <string>

#include "classlib/EditControls.h"
#include "classlib/ImageList.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "controls/AdvGlowButton.h"
#include "menus/AdvMenus.h"
#include "menus/AdvToolBarSystem.h"
#include "showcase/ShowcasePages.h"
#include "toolbars/AdvToolBar.h"
#include "toolbars/AdvToolBarButton.h"
#include "toolbars/AdvToolBarContainer.h"
#include "toolbars/AdvToolBarMenuButton.h"
#include "toolbars/AdvToolBarSeparator.h"

namespace {

using namespace ClassLib;
using namespace AdvToolBar;

// Small drawn pictures: a coloured page with a darker band, on a fuchsia background.
TImageList* MakeImages(TForm* form, int size) {
    auto* images = new TImageList(form);
    images->SetSize(size, size);
    const TColor colours[] = {TColor(0x3070D0), TColor(0x30A040), TColor(0xC06020), TColor(0x9040A0),
                              TColor(0x2090C0), TColor(0x4040C0)};
    for (TColor colour : colours) {
        TBitmap bitmap(size, size);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(clFuchsia);
        canvas->FillRect(TRect(0, 0, size, size));
        canvas->Brush()->SetColor(colour);
        canvas->Pen()->SetColor(TColor(0x303030));
        canvas->Rectangle(size / 8, size / 16, size - size / 8, size - size / 16);
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(TRect(size / 4, size / 4, size - size / 4, size / 4 + size / 8));
        images->AddMasked(&bitmap, clFuchsia);
    }
    return images;
}

const Showcase::TPageRegistration page(L"toolbarbuttons", [](TForm* form) {
    AdvToolBar::FormIsScaled = form->Scaled();
    AdvToolBar::InitDPIScale(Screen->PixelsPerInch());
    const double scale = form->MonitorPixelsPerInch() / 96.0;
    const auto S = [scale](int value) { return int(std::lround(value * scale)); };
    form->SetBounds(0, 0, S(760), S(440));
    form->SetColor(TColor(0xF3F3F3));
    form->SetCaption(L"Toolbar buttons");
    TImageList* images = MakeImages(form, S(16));

    const auto toolBar = [&](const wchar_t* name, int left, int top) {
        auto* bar = new TAdvToolBar(form);
        bar->SetName(name);
        bar->SetParent(form);
        bar->SetLeft(S(left));
        bar->SetTop(S(top));
        bar->SetImages(images);
        bar->SetUIStyle(AdvStyleIF::tsOffice2019White);
        return bar;
    };
    const auto button = [&](TAdvToolBar* bar, const wchar_t* name, const wchar_t* caption, int image) {
        auto* b = new TAdvToolBarButton(form);
        b->SetName(name);
        b->SetCaption(caption);
        b->SetImageIndex(image);
        b->SetShowCaption(caption[0] != 0);
        b->SetParent(bar);
        return b;
    };
    const auto separator = [&](TAdvToolBar* bar, const wchar_t* name) {
        auto* s = new TAdvToolBarSeparator(form);
        s->SetName(name);
        s->SetParent(bar);
        return s;
    };
    const auto label = [&](const wchar_t* text, int left, int top) {
        auto* l = new TLabel(form);
        l->SetParent(form);
        l->SetBounds(S(left), S(top), S(520), S(16));
        l->SetCaption(text);
    };

    // Captions in the four places, and the states.
    label(L"Glyph positions and states: at rest, hot, down in a group, checked, disabled", 12, 8);
    TAdvToolBar* positions = toolBar(L"Positions", 12, 28);
    button(positions, L"LeftButton", L"Left", 0);
    button(positions, L"TopButton", L"Top", 1)->SetGlyphPosition(gpTop);
    button(positions, L"RightButton", L"Right", 2)->SetGlyphPosition(gpRight);
    button(positions, L"BottomButton", L"Bottom", 3)->SetGlyphPosition(gpBottom);
    separator(positions, L"PositionsSeparator");
    button(positions, L"HotButton", L"Hot", 4)->SetHot(true);
    TAdvToolBarButton* disabled = button(positions, L"DisabledButton", L"Disabled", 5);
    disabled->SetEnabled(false);

    // A check group, a check button and a split drop-down with a styled menu.
    label(L"Group (one down), check button, split drop-down with a menu, menu button", 12, 104);
    TAdvToolBar* groups = toolBar(L"Groups", 12, 124);
    for (int i = 0; i < 3; ++i) {
        const wchar_t* names[] = {L"AlignLeft", L"AlignCentre", L"AlignRight"};
        const wchar_t* captions[] = {L"Left", L"Centre", L"Right"};
        TAdvToolBarButton* member = button(groups, names[i], captions[i], i);
        member->SetGroupIndex(1);
        if (i == 1) member->SetDown(true);
    }
    separator(groups, L"GroupsSeparator");
    TAdvToolBarButton* bold = button(groups, L"Bold", L"&Bold", 3);
    bold->SetStyle(tasCheck);
    bold->SetDown(true);
    separator(groups, L"GroupsSeparator2");
    auto* menu = new AdvMenus::TAdvPopupMenu(form);
    menu->SetName(L"PasteMenu");
    for (const wchar_t* caption : {L"Paste", L"Paste special...", L"Paste as text"}) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    TAdvToolBarButton* paste = button(groups, L"Paste", L"&Paste", 4);
    paste->SetDropDownButton(true);
    paste->SetDropDownMenu(menu);
    TAdvToolBarButton* more = button(groups, L"More", L"More", -1);
    more->SetDropDownButton(true);
    more->SetDropDownSplit(false);
    more->SetDropDownMenu(menu);
    separator(groups, L"GroupsSeparator3");
    auto* fileMenu = new TAdvToolBarMenuButton(form);
    fileMenu->SetName(L"FileMenuButton");
    fileMenu->SetCaption(L"&File");
    fileMenu->SetShowCaption(true);
    fileMenu->SetDropDownMenu(menu);
    fileMenu->SetParent(groups);

    // A container with an edit and a glow button, under a caption.
    label(L"A container with controls", 12, 176);
    TAdvToolBar* holder = toolBar(L"Holder", 12, 196);
    button(holder, L"FindButton", L"", 5);
    auto* container = new TAdvToolBarContainer(form);
    container->SetName(L"FindContainer");
    container->SetCaption(L"Find");
    container->SetBounds(0, 0, S(220), S(44));
    container->SetParent(holder);
    auto* edit = new TEdit(form);
    edit->SetName(L"FindEdit");
    edit->SetParent(container);
    edit->SetBounds(S(8), S(16), S(120), S(22));
    edit->SetText(L"AT+LCD");
    auto* glow = new AdvGlowButton::TAdvGlowButton(form);
    glow->SetName(L"FindGlow");
    glow->SetParent(container);
    glow->SetBounds(S(134), S(16), S(76), S(22));
    glow->SetCaption(L"Search");
    holder->CurrentToolBarStyler()->ContainerAppearance()->SetLineColor(TColor(0xA0A0A0));

    // A vertical toolbar: the buttons turn upright, the caption reads downwards.
    label(L"Vertical", 600, 8);
    TAdvToolBar* side = toolBar(L"Side", 620, 28);
    side->SetPosition(daLeft);
    button(side, L"SideCut", L"Cut", 0);
    button(side, L"SideCopy", L"Copy", 1);
    separator(side, L"SideSeparator");
    TAdvToolBarButton* sidePaste = button(side, L"SidePaste", L"Paste", 2);
    sidePaste->SetDropDownButton(true);
    sidePaste->SetDropDownMenu(menu);
    button(side, L"SideUp", L"Upwards", 3)->SetRotateDirection(rdReverse);
});

}  // namespace
