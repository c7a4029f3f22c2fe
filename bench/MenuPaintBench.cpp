// Milliseconds per item draw of a 30-item styled popup with a gradient icon column and a
// gradient background, without and with a 300 x 600 background picture: the first draw
// of the popup (glyphs loaded, picture composed) and redraws with everything cached.
// Goal: at most 1 ms per cached item at 96 dpi.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "graphics/AdvGDIPStartup.h"
#include "menus/AdvMenuPaint.h"
#include "menus/AdvMenuStartup.h"
#include "menus/AdvMenus.h"

namespace {

using namespace ClassLib;
using namespace AdvMenus;
using TClock = std::chrono::steady_clock;

constexpr int ItemCount = 30, ItemHeight = 20, PopupWidth = 300;

// Draws every item of the popup once on the canvas; the time per item in milliseconds.
double DrawAll(TAdvPopupMenu& menu, TCanvas& canvas) {
    const auto start = TClock::now();
    for (int i = 0; i < ItemCount; ++i) {
        TMenuItem* item = menu.Items()->Items(i);
        const TRect rect{0, i * ItemHeight, PopupWidth - MenuExtraWidth, (i + 1) * ItemHeight};
        DrawMenuItem(item, &canvas, rect, SideBarApplies(item), i == 7 ? TOwnerDrawState(odSelected) : TOwnerDrawState(0));
    }
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count() / ItemCount;
}

void Measure(const wchar_t* name, bool picture) {
    TAdvPopupMenu menu(nullptr);
    TImageList images(nullptr);
    TBitmap glyph(16, 16, pf24bit);
    glyph.Canvas()->Brush()->SetColor(TColor(0x2080E0));
    glyph.Canvas()->FillRect({2, 2, 14, 14});
    images.AddMasked(&glyph, clBlack);
    menu.SetImages(&images);
    for (int i = 0; i < ItemCount; ++i) {
        auto* item = new TMenuItem(&menu);
        item->SetCaption(i % 10 == 5 ? L"-" : L"Menu item " + std::to_wstring(i + 1));
        item->SetShortCut(i % 3 == 0 ? TShortCut(scCtrl | ('A' + i % 26)) : 0);
        item->SetImageIndex(i % 4 == 0 ? 0 : -1);
        item->SetChecked(i % 5 == 1);
        menu.Items()->Add(item);
    }
    TCustomAdvMenuStyler* styler = menu.CurrentStyler();
    styler->IconBar()->SetColor(TColor(0xFFF9F9));
    styler->IconBar()->SetColorTo(TColor(0xBBA0A1));
    styler->IconBar()->SetGradientDirection(gdHorizontal);
    styler->Background()->SetColor(TColor(0xFFFFFF));
    styler->Background()->SetColorTo(TColor(0xE0D0C0));
    styler->Background()->SetGradientDirection(gdVertical);
    TPicture backdrop;
    if (picture) {
        TBitmap big(300, 600, pf24bit);
        for (int band = 0; band < 600; band += 20) {
            big.Canvas()->Brush()->SetColor(TColor(0x00F0F0 - band * 0x100));
            big.Canvas()->FillRect({0, band, 300, band + 20});
        }
        backdrop.SetGraphic(&big);
        styler->Background()->SetImage(&backdrop);
        styler->Background()->SetPosition(bpStretched);
    }

    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP surface = ::CreateCompatibleBitmap(screen, PopupWidth, ItemCount * ItemHeight);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, surface);
    TCanvas canvas;
    canvas.SetHandle(dc);
    const double first = DrawAll(menu, canvas);
    double cached = 1e300;
    for (int run = 0; run < 20; ++run) cached = std::min(cached, DrawAll(menu, canvas));
    canvas.SetHandle(nullptr);
    ::SelectObject(dc, old);
    ::DeleteObject(surface);
    ::DeleteDC(dc);
    std::printf("%-28ls first draw %7.3f ms/item   cached %7.3f ms/item\n", name, first, cached);
}

}  // namespace

int main() {
    const AdvGDIPStartup::TGdiplusSession gdiplus;
    // The popup's geometry as the menu system would report it: items stacked in a column.
    MenuPaintSeams().MenuItemRect = [](HWND, HMENU menu, UINT position, RECT& rect) {
        if (int(position) >= ::GetMenuItemCount(menu)) return false;
        rect = {100, 100 + int(position) * ItemHeight, 100 + PopupWidth, 100 + int(position + 1) * ItemHeight};
        return true;
    };
    std::printf("30-item styled popup, %d dpi, menu margin %d\n", int(GetMenuDPIScale() * 96 + 0.5), MenuExtraWidth);
    Measure(L"gradients", false);
    Measure(L"gradients and 300x600 picture", true);
    return 0;
}
