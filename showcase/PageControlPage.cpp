// The office page control: the four sides, the three tab styles, gradients, hover colours,
// close buttons, the closed list and a strip of tabs too long for its control.
#include "classlib/Screen.h"
#include "classlib/StandardControls.h"
#include "controls/AdvPageControl.h"
#include "showcase/ShowcasePages.h"

#include <string>

namespace {

using namespace ClassLib;
using namespace AdvPageControl;

// Made at 96 pixels per inch, then scaled as a form read from a description would be.
TAdvPageControl* MakeControl(TForm* form, const wchar_t* name, int left, int top, int width, int height,
                             TTabPosition position, TTabStyle style) {
    auto* control = new TAdvPageControl(form);
    control->SetName(name);
    control->BeginLoading();
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    control->SetTabPosition(position);
    control->SetTabStyle(style);
    return control;
}

TAdvTabSheet* AddPage(TForm* form, TAdvPageControl* control, const std::wstring& name, const std::wstring& caption,
                      TColor tab = clNone, TColor tabTo = clNone) {
    auto* page = new TAdvTabSheet(form);
    page->SetName(name);
    page->SetCaption(caption);
    page->SetAdvPageControl(control);
    if (tab != clNone) page->SetTabColor(tab);
    if (tabTo != clNone) page->SetTabColorTo(tabTo);
    auto* label = new TLabel(form);
    label->SetParent(page);
    label->SetBounds(12, 12, 240, 20);
    label->SetCaption(L"Page \"" + caption + L"\"");
    return page;
}

void Finish(TAdvPageControl* control) {
    const int ppi = Screen->PixelsPerInch();
    if (ppi != 96) control->ChangeScale(ppi, 96);
    control->Loaded();
    control->SetActivePageIndex(0);
}

const Showcase::TPageRegistration page(L"pagecontrol", [](TForm* form) {
    form->SetColor(clBtnFace);
    const int ppi = Screen->PixelsPerInch();
    form->SetClientSize(::MulDiv(800, ppi, 96), ::MulDiv(562, ppi, 96));

    // Top: classic tabs with gradients, hover colours, close buttons and the closed list.
    TAdvPageControl* top = MakeControl(form, L"TopTabs", 8, 8, 480, 180, tpTop, tsClassic);
    top->SetActiveColor(0xFFE8D0);
    top->SetActiveColorTo(clWhite);
    top->SetTabHoverColor(0xD0F0FF);
    top->SetTabHoverColorTo(0x90D8FF);
    top->SetTabHoverBorder(clNavy);
    top->SetShowClosedList(true);
    top->SetClosedListButtonHint(L"Closed pages");
    const wchar_t* captions[] = {L"atcmd.c", L"atcmd.h", L"Settings", L"Notes"};
    const TColor colours[] = {0xF0D8C0, 0xC0E8C0, 0xC0D8F0, 0xE0C0E0};
    for (int i = 0; i < 4; ++i) {
        TAdvTabSheet* sheet = AddPage(form, top, L"TopPage" + std::to_wstring(i), captions[i], colours[i], clWhite);
        sheet->SetShowClose(true);
    }
    Finish(top);
    top->CloseOpenedTab(L"TopPage3");

    // Bottom: the tab style of the development environments, a coloured page.
    TAdvTabSheet* coloured = nullptr;
    TAdvPageControl* bottom = MakeControl(form, L"BottomTabs", 500, 8, 290, 180, tpBottom, tsDotNet);
    bottom->SetActiveColor(clWhite);
    bottom->SetTabBackGroundColor(0xE0E0E0);
    for (int i = 0; i < 3; ++i) {
        TAdvTabSheet* sheet = AddPage(form, bottom, L"BottomPage" + std::to_wstring(i), L"Output " + std::to_wstring(i));
        if (i == 0) coloured = sheet;
    }
    coloured->SetColor(0xF0FFF0);
    coloured->SetColorTo(0xC0F0C0);
    Finish(bottom);

    // Left and right: rotated captions, the flat style and the classic one.
    TAdvPageControl* left = MakeControl(form, L"LeftTabs", 8, 200, 380, 200, tpLeft, tsVestra);
    left->SetActiveColor(0xD0F8FF);
    for (int i = 0; i < 3; ++i) AddPage(form, left, L"LeftPage" + std::to_wstring(i), L"Left " + std::to_wstring(i));
    Finish(left);
    TAdvPageControl* right = MakeControl(form, L"RightTabs", 400, 200, 390, 200, tpRight, tsClassic);
    right->SetRoundEdges(true);
    right->SetDefaultTabColor(0xF0F0F0);
    right->SetDefaultTabColorTo(0xC8C8C8);
    for (int i = 0; i < 3; ++i) AddPage(form, right, L"RightPage" + std::to_wstring(i), L"Right " + std::to_wstring(i));
    Finish(right);

    // More tabs than fit: the system's scroll arrows and the list button moved inward.
    TAdvPageControl* many = MakeControl(form, L"ManyTabs", 8, 412, 782, 140, tpTop, tsClassic);
    many->SetShowClosedList(true);
    many->SetActiveColor(0xFFF0E0);
    for (int i = 0; i < 16; ++i) {
        TAdvTabSheet* sheet = AddPage(form, many, L"ManyPage" + std::to_wstring(i), L"Handler " + std::to_wstring(i));
        sheet->SetShowClose(i % 3 == 0);
    }
    Finish(many);
    many->CloseOpenedTab(L"ManyPage5");
});

}  // namespace
