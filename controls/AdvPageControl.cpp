#include "controls/AdvPageControl.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cwctype>

#include "classlib/Application.h"
#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/IniFiles.h"
#include "classlib/Menus.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/RegistryIniFile.h"
#include "graphics/ATXPVS.h"
#include "graphics/AdvStyleIF.h"

namespace AdvPageControl {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TTabMargin, TPersistent)
CLASSLIB_IMPLEMENT(TPersistence, TPersistent)
CLASSLIB_IMPLEMENT(TAdvTabSheet, TCustomControl)
CLASSLIB_IMPLEMENT(TPCSpeedButton, TSpeedButton)
CLASSLIB_IMPLEMENT(TPCButton, TWinControl)
CLASSLIB_IMPLEMENT(TAdvPageControl, TCustomTabControl)

namespace {

using TOwnedRegion = std::unique_ptr<std::remove_pointer_t<HRGN>, TGdiDeleter>;

constexpr std::initializer_list<const wchar_t*> GradientNames = {L"gdVertical", L"gdHorizontal"};

// True when `inner` is `outer` or lies inside it.
bool Contains(TWinControl* outer, TControl* inner) {
    if (!outer) return false;
    for (TControl* c = inner; c; c = c->Parent())
        if (c == outer) return true;
    return false;
}

// Stores a value that differs from the field's; true when it did.
template <class T>
bool StoreChanged(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

int RoundScaled(float scale, int value) { return int(std::lround(double(value) * double(scale))); }

// ASCII letters only, as names and captions are compared.
std::wstring UpperAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
    return text;
}

// The pen and brush of a canvas for one scope, put back afterwards.
class TCanvasStateScope {
public:
    explicit TCanvasStateScope(TCanvas* canvas) : FCanvas(canvas), FPen(canvas->Pen()->Color()),
        FPenWidth(canvas->Pen()->Width()), FPenStyle(canvas->Pen()->Style()), FBrush(canvas->Brush()->Color()),
        FBrushStyle(canvas->Brush()->Style()) {}
    ~TCanvasStateScope() {
        FCanvas->Pen()->SetColor(FPen);
        FCanvas->Pen()->SetWidth(FPenWidth);
        FCanvas->Pen()->SetStyle(FPenStyle);
        FCanvas->Brush()->SetColor(FBrush);
        FCanvas->Brush()->SetStyle(FBrushStyle);
    }
    TCanvasStateScope(const TCanvasStateScope&) = delete;
    TCanvasStateScope& operator=(const TCanvasStateScope&) = delete;
private:
    TCanvas* FCanvas;
    TColor FPen;
    int FPenWidth;
    TPenStyle FPenStyle;
    TColor FBrush;
    TBrushStyle FBrushStyle;
};

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

void Poly(TCanvas* canvas, std::initializer_list<TPoint> points) {
    auto it = points.begin();
    canvas->MoveTo(it->X, it->Y);
    for (++it; it != points.end(); ++it) canvas->LineTo(it->X, it->Y);
}

}  // namespace

// ---- drawing routines ----

void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect, int steps) {
    if (steps <= 0) steps = 1;
    const COLORREF from = COLORREF(ColorToRGB(fromColor));
    const COLORREF to = COLORREF(ColorToRGB(toColor));
    const int dr = int(GetRValue(to)) - int(GetRValue(from));
    const int dg = int(GetGValue(to)) - int(GetGValue(from));
    const int db = int(GetBValue(to)) - int(GetBValue(from));
    const double size = double(horizontal ? rect.Width() : rect.Height()) / steps;
    const int band = int(std::lround(size));
    TCanvasStateScope keep(canvas);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < steps; ++i) {
        const int r = int(GetRValue(from)) + int(std::lround(double(i) * dr / steps));
        const int g = int(GetGValue(from)) + int(std::lround(double(i) * dg / steps));
        const int b = int(GetBValue(from)) + int(std::lround(double(i) * db / steps));
        const TColor colour = TColor(RGB(r, g, b));
        canvas->Pen()->SetColor(colour);
        canvas->Brush()->SetColor(colour);
        const int offset = int(std::uint16_t(std::lround(i * size)));
        if (horizontal)
            canvas->Rectangle(rect.Left + offset, rect.Top, rect.Left + offset + band + 1, rect.Bottom);
        else
            canvas->Rectangle(rect.Left, rect.Top + offset, rect.Right, rect.Top + offset + band + 1);
    }
}

namespace {
// The transparent copy from a DC that holds the source picture.
void StretchTransparentFrom(HDC destDC, HDC source, int destX, int destY, int destWidth, int destHeight,
                            COLORREF transparentColor, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
    TOwnedDC mask(::CreateCompatibleDC(destDC));
    TOwnedBitmap maskBitmap(::CreateBitmap(srcWidth, srcHeight, 1, 1, nullptr));
    if (!mask || !maskBitmap) return;
    TSelection maskSelected(mask.get(), maskBitmap.get());
    // The mask: set where the source has the transparent colour.
    const COLORREF oldBack = ::SetBkColor(source, transparentColor);
    ::BitBlt(mask.get(), 0, 0, srcWidth, srcHeight, source, srcX, srcY, SRCCOPY);
    ::SetBkColor(source, oldBack);
    // Keep the destination where the mask is set, take the source elsewhere.
    const COLORREF oldDestBack = ::SetBkColor(destDC, RGB(255, 255, 255));
    const COLORREF oldDestText = ::SetTextColor(destDC, RGB(0, 0, 0));
    const int oldMode = ::SetStretchBltMode(destDC, COLORONCOLOR);
    ::StretchBlt(destDC, destX, destY, destWidth, destHeight, source, srcX, srcY, srcWidth, srcHeight, SRCINVERT);
    ::StretchBlt(destDC, destX, destY, destWidth, destHeight, mask.get(), 0, 0, srcWidth, srcHeight, SRCAND);
    ::StretchBlt(destDC, destX, destY, destWidth, destHeight, source, srcX, srcY, srcWidth, srcHeight, SRCINVERT);
    ::SetStretchBltMode(destDC, oldMode);
    ::SetBkColor(destDC, oldDestBack);
    ::SetTextColor(destDC, oldDestText);
}

// A picture's own DC (a bitmap can be selected into one DC only) and its corner colour.
HDC PictureDC(TBitmap* bitmap) { return bitmap->Canvas()->Handle(); }
COLORREF CornerColour(TBitmap* bitmap, bool bottom) {
    return ::GetPixel(PictureDC(bitmap), 0, bottom ? bitmap->Height() - 1 : 0);
}
}  // namespace

void StretchTransparentBitmap(HDC destDC, HBITMAP bitmap, int destX, int destY, int destWidth, int destHeight,
                              COLORREF transparentColor, int srcX, int srcY, int srcWidth, int srcHeight) {
    if (!bitmap) return;
    TOwnedDC source(::CreateCompatibleDC(destDC));
    if (!source) return;
    ::SetMapMode(source.get(), ::GetMapMode(destDC));
    TSelection sourceSelected(source.get(), bitmap);
    StretchTransparentFrom(destDC, source.get(), destX, destY, destWidth, destHeight, transparentColor, srcX, srcY,
                           srcWidth, srcHeight);
}

void DrawTransparentBitmap(HDC destDC, HBITMAP bitmap, int destX, int destY, COLORREF transparentColor,
                           int srcX, int srcY, int width, int height) {
    StretchTransparentBitmap(destDC, bitmap, destX, destY, width, height, transparentColor, srcX, srcY, width, height);
}

namespace {
// Three slices along one axis: the first half, the two middle lines stretched, the rest.
void DrawSliced(TBitmap* bitmap, TCanvas* canvas, int x, int length, int y, bool horizontal) {
    if (!bitmap || bitmap->Empty()) return;
    const int bw = bitmap->Width(), bh = bitmap->Height();
    HDC source = PictureDC(bitmap);
    const COLORREF key = CornerColour(bitmap, true);
    HDC dc = canvas->Handle();
    if (horizontal) {
        const int half = bw / 2;
        StretchTransparentFrom(dc, source, x, y, half, bh, key, 0, 0, half, bh);
        StretchTransparentFrom(dc, source, x + half, y, length - bw, bh, key, std::max(half - 1, 0), 0, 2, bh);
        StretchTransparentFrom(dc, source, x + half + length - bw, y, bw - half, bh, key, half, 0, bw - half, bh);
    } else {
        const int half = bh / 2;
        StretchTransparentFrom(dc, source, x, y, bw, half, key, 0, 0, bw, half);
        StretchTransparentFrom(dc, source, x, y + half, bw, length - bh, key, 0, std::max(half - 1, 0), bw, 2);
        StretchTransparentFrom(dc, source, x, y + half + length - bh, bw, bh - half, key, 0, half, bw, bh - half);
    }
}
}  // namespace

void DrawSlicedH(TBitmap* bitmap, TCanvas* canvas, int x, int width, int y) {
    DrawSliced(bitmap, canvas, x, width, y, true);
}

void DrawSlicedV(TBitmap* bitmap, TCanvas* canvas, int x, int height, int y) {
    DrawSliced(bitmap, canvas, x, height, y, false);
}

bool IsVistaOrLaterOS() { return AdvStyleIF::IsVistaOrLater(); }

// ---- TTabMargin ----

const TPropertyList& TTabMargin::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"LeftMargin", &TTabMargin::LeftMargin, &TTabMargin::SetLeftMargin, 0)
        .Add(L"TopMargin", &TTabMargin::TopMargin, &TTabMargin::SetTopMargin, 0)
        .Add(L"RightMargin", &TTabMargin::RightMargin, &TTabMargin::SetRightMargin)
        .Stored(L"RightMargin", true);
    return list;
}

void TTabMargin::SetMargin(int index, TMarginSize value) {
    if (FMargins[index] == value) return;
    if (OnMarginChange) OnMarginChange(value, FMargins[index], index);
    FMargins[index] = value;
    FireEvent(OnChange, this);
}

void TTabMargin::Assign(const TPersistent* source) {
    if (auto margin = dynamic_cast<const TTabMargin*>(source)) {
        for (int i = 0; i < 3; ++i) FMargins[i] = margin->FMargins[i];
    }
}

// ---- TPersistence ----

const TPropertyList& TPersistence::Published() {
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Enum(L"Location", L"TPersistenceLocation", &TPersistence::Location, &TPersistence::SetLocation,
              {L"plRegistry", L"plIniFile"}, plRegistry)
        .Stored(L"Location", true)
        .Add(L"Key", &TPersistence::Key, &TPersistence::SetKey, L"")
        .Add(L"Section", &TPersistence::Section, &TPersistence::SetSection, L"")
        .Add(L"Enabled", &TPersistence::Enabled, &TPersistence::SetEnabled, false)
        .Stored(L"Enabled", true)
        .Event(L"OnChange", &TPersistence::OnChange);
    return list;
}

void TPersistence::Changed() { FireEvent(OnChange, this); }

void TPersistence::SetLocation(TPersistenceLocation value) {
    if (value == FLocation) return;
    FLocation = value;
    Changed();
}

void TPersistence::SetKey(const std::wstring& value) {
    if (value == FKey) return;
    FKey = value;
    Changed();
}

void TPersistence::SetSection(const std::wstring& value) {
    if (value == FSection) return;
    FSection = value;
    Changed();
}

void TPersistence::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    Changed();
}

void TPersistence::Assign(const TPersistent* source) {
    if (auto other = dynamic_cast<const TPersistence*>(source)) {
        FLocation = other->FLocation;
        FKey = other->FKey;
        FSection = other->FSection;
        FEnabled = other->FEnabled;
    }
}

// ---- TAdvTabSheet ----

const TPropertyList& TAdvTabSheet::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Colour(L"TextColor", &TAdvTabSheet::TextColor, &TAdvTabSheet::SetTextColor, clBlack)
        .Colour(L"TabColor", &TAdvTabSheet::TabColor, &TAdvTabSheet::SetTabColor, clNone)
        .Colour(L"TabColorTo", &TAdvTabSheet::TabColorTo, &TAdvTabSheet::SetTabColorTo, clNone)
        .Colour(L"ColorTo", &TAdvTabSheet::ColorTo, &TAdvTabSheet::SetColorTo, clNone)
        .Add(L"ShowClose", &TAdvTabSheet::ShowClose, &TAdvTabSheet::SetShowClose, false)
        .Enum(L"TabGradientDirection", L"TGradientDirection", &TAdvTabSheet::TabGradientDirection,
              &TAdvTabSheet::SetTabGradientDirection, GradientNames, gdVertical)
        .Enum(L"HoverGradientDirection", L"TGradientDirection", &TAdvTabSheet::HoverGradientDirection,
              &TAdvTabSheet::SetHoverGradientDirection, GradientNames, gdVertical)
        .Add(L"ImageIndex", &TAdvTabSheet::ImageIndex, &TAdvTabSheet::SetImageIndex, 0)
        .Add(L"TabVisible", &TAdvTabSheet::TabVisible, &TAdvTabSheet::SetTabVisible, true)
        .Add(L"TabEnable", &TAdvTabSheet::TabEnable, &TAdvTabSheet::SetTabEnable, true)
        .Add(L"Highlighted", &TAdvTabSheet::Highlighted, &TAdvTabSheet::SetHighlighted, false)
        .Enum(L"Align", &TAdvTabSheet::Align, &TAdvTabSheet::SetAlign, alClient)
        .Add(L"Visible", &TAdvTabSheet::Visible, &TAdvTabSheet::SetVisible, false)
        .Add(L"PageIndex", &TAdvTabSheet::PageIndex, &TAdvTabSheet::SetPageIndex)
        .Stored(L"PageIndex", false)
        .Event(L"OnShow", &TAdvTabSheet::OnShow)
        .Event(L"OnHide", &TAdvTabSheet::OnHide)
        .Event(L"OnClose", &TAdvTabSheet::OnClose)
        .Event(L"OnCanClose", &TAdvTabSheet::OnCanClose);
    return list;
}

TAdvTabSheet::TAdvTabSheet(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = csAcceptsControls | csDoubleClicks | csOpaque;
    TControl::SetVisible(false);
    SetAlign(alClient);
    RebuildTabText();
}

TAdvTabSheet::~TAdvTabSheet() {
    // Whether the owner tears everything down: its mark is on this page before the page
    // marks itself (the owner detaches it before freeing it, so Owner() no longer tells).
    const bool teardown = HasState(csDestroying);
    Destroying();
    if (FClosedBy) FClosedBy->ClosedPageDestroying(this, teardown);
    if (FAdvPageControl) FAdvPageControl->RemovePage(this);
}

void TAdvTabSheet::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TAdvTabSheet::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(ClientRect());
    if (FColorTo != clNone) DrawGradient(canvas, Color(), FColorTo, false, ClientRect(), 64);
}

void TAdvTabSheet::ColorChanged() {
    TCustomControl::ColorChanged();
    if (FAdvPageControl) FAdvPageControl->Invalidate();
}

int TAdvTabSheet::PageIndex() const { return FAdvPageControl ? FAdvPageControl->IndexOfPage(this) : -1; }

int TAdvTabSheet::TabIndex() const {
    if (!FTabShowing || !FAdvPageControl) return -1;
    int index = 0;
    for (TAdvTabSheet* page : FAdvPageControl->FPages) {
        if (page == this) return index;
        if (page->FTabShowing) ++index;
    }
    return -1;
}

void TAdvTabSheet::SetPageIndex(int value) {
    if (!FAdvPageControl) return;
    const int last = FAdvPageControl->PageCount() - 1;
    if (value > last) {
        wchar_t text[160];
        std::swprintf(text, std::size(text), L"%d is an invalid PageIndex value.  PageIndex must be between 0 and %d",
                      value, last);
        throw EListError(text);
    }
    if (value < 0) RaiseListIndexError(value);
    const int oldTabIndex = TabIndex();
    auto& pages = FAdvPageControl->FPages;
    pages.erase(pages.begin() + PageIndex());
    pages.insert(pages.begin() + value, this);
    if (oldTabIndex >= 0) FAdvPageControl->MovePageTab(oldTabIndex, TabIndex());
}

void TAdvTabSheet::RebuildTabText() {
    const std::wstring caption = Caption();
    if (FShowClose) FTabText = caption + L" ";
    else FTabText = (caption.size() > 2 ? caption.substr(0, caption.size() - 2) : std::wstring()) + L"W";
}

void TAdvTabSheet::SetText(const std::wstring& value) {
    TCustomControl::SetText(value);
    RebuildTabText();
    if (FAdvPageControl) FAdvPageControl->UpdateTab(this);
}

void TAdvTabSheet::SetShowClose(bool value) {
    FShowClose = value;
    SetText(Caption());
    if (FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetImageIndex(int value) {
    FImageIndex = value < 0 ? -1 : value;
    SetText(Caption());
    if (FAdvPageControl) FAdvPageControl->UpdateTabImages();
}

void TAdvTabSheet::SetTabShowing(bool value) {
    if (value == FTabShowing) return;
    if (value) {
        FTabShowing = true;
        FAdvPageControl->InsertPageTab(this);
    } else {
        const int index = TabIndex();
        FTabShowing = false;
        FAdvPageControl->DeletePageTab(this, index);
    }
}

void TAdvTabSheet::UpdateTabShowing() { SetTabShowing(FAdvPageControl && FTabVisible); }

void TAdvTabSheet::SetTabVisible(bool value) {
    if (value == FTabVisible) return;
    FTabVisible = value;
    UpdateTabShowing();
    if (FAdvPageControl) FAdvPageControl->UpdateTab(this);
}

void TAdvTabSheet::SetTabEnable(bool value) {
    if (value == FTabEnable) return;
    if (FAdvPageControl && !HasState(csDesigning) && FAdvPageControl->ActivePage() == this)
        throw Exception(L"Can not disable active tab.");
    FTabEnable = value;
    if (FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetHighlighted(bool value) {
    if (!HasState(csReading) && FAdvPageControl && FAdvPageControl->HandleAllocated() && TabIndex() >= 0)
        ::SendMessageW(FAdvPageControl->Handle(), TCM_HIGHLIGHTITEM, WPARAM(TabIndex()), MAKELPARAM(value ? 1 : 0, 0));
    FHighlighted = value;
}

void TAdvTabSheet::SetTextColor(TColor value) {
    if (StoreChanged(FTextColor, value) && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetTabColor(TColor value) {
    if (StoreChanged(FTabColor, value) && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetTabColorTo(TColor value) {
    if (StoreChanged(FTabColorTo, value) && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetTabGradientDirection(TGradientDirection value) {
    if (StoreChanged(FTabGradientDirection, value) && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetColorTo(TColor value) {
    FColorTo = value;
    Invalidate();
    if (FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetEnabled(bool value) {
    const bool changed = value != Enabled();
    TCustomControl::SetEnabled(value);
    if (changed && FAdvPageControl) FAdvPageControl->Invalidate();
}

void TAdvTabSheet::SetVisible(bool value) {
    const bool changed = value != Visible();
    TCustomControl::SetVisible(value);
    if (!changed) return;
    // A handler's exception is reported; the page is shown or hidden all the same.
    CallGuarded(this, [this, value] { FireEvent(value ? OnShow : OnHide, this); });
}

void TAdvTabSheet::SelectFirstControl() {
    if (TWinControl* first = FindNextControl(nullptr, true, true)) first->SetFocus();
}

bool TAdvTabSheet::CanCloseTab() {
    bool canClose = true;
    if (OnCanClose) OnCanClose(this, canClose);
    return canClose;
}

void TAdvTabSheet::DoClose() { FireEvent(OnClose, this); }

void TAdvTabSheet::SetAdvPageControl(TAdvPageControl* value) {
    if (value == FAdvPageControl) return;
    if (FAdvPageControl) FAdvPageControl->RemovePage(this);
    SetParent(value);
    if (!value) return;
    value->InsertPage(this);
    if (FTextColor == clBlack) FTextColor = value->DefaultTextColor();
    if (FTabColor == clNone) FTabColor = value->DefaultTabColor();
    if (FTabColorTo == clNone) FTabColorTo = value->DefaultTabColorTo();
}

// ---- TPCSpeedButton ----

namespace {
using TOpenThemeData = HANDLE(WINAPI*)(HWND, LPCWSTR);
using TCloseThemeData = HRESULT(WINAPI*)(HANDLE);
using TDrawThemeBackground = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
using TIsThemeActive = BOOL(WINAPI*)();

template <class F>
F ThemeEntry(AdvThemeBinding::TThemeFunction function) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(ATXPVS::ThemeLibrary().Entry(function)));
}

// Draws one part of a theme class over a rectangle; false when the theme is not there.
bool DrawThemePart(HWND window, const wchar_t* themeClass, HDC dc, int part, int state, const RECT& rect) {
    auto open = ThemeEntry<TOpenThemeData>(AdvThemeBinding::tfOpenThemeData);
    auto close = ThemeEntry<TCloseThemeData>(AdvThemeBinding::tfCloseThemeData);
    auto draw = ThemeEntry<TDrawThemeBackground>(AdvThemeBinding::tfDrawThemeBackground);
    if (!open || !close || !draw) return false;
    HANDLE theme = open(window, themeClass);
    if (!theme) return false;
    draw(theme, dc, part, state, &rect, nullptr);
    close(theme);
    return true;
}
}  // namespace

const TPropertyList& TPCSpeedButton::Published() {
    static const TPropertyList list = TPropertyList::Extend(TSpeedButton::Published())
        .Enum(L"ButtonStyle", L"TButtonStyle", &TPCSpeedButton::ButtonStyle, &TPCSpeedButton::SetButtonStyle,
              {L"bsButton", L"bsDropDown"}, bsButton)
        .Stored(L"ButtonStyle", true)
        .Add(L"Etched", &TPCSpeedButton::Etched, &TPCSpeedButton::SetEtched, false)
        .Stored(L"Etched", true)
        .Add(L"Focused", &TPCSpeedButton::FocusedState, &TPCSpeedButton::SetFocusedState, false)
        .Stored(L"Focused", true);
    return list;
}

TPCSpeedButton::TPCSpeedButton(TComponent* owner) : TSpeedButton(owner), FCapable(AdvStyleIF::IsComCtl6OrLater()) {}

void TPCSpeedButton::SetEtched(bool value) {
    if (value == FEtched) return;
    FEtched = value;
    Invalidate();
}

void TPCSpeedButton::SetFocusedState(bool value) {
    if (value == FFocused) return;
    FFocused = value;
    Invalidate();
}

void TPCSpeedButton::SetButtonStyle(TButtonStyle value) {
    FButtonStyle = value;
    Invalidate();
}

bool TPCSpeedButton::Themed() const {
    if (!FCapable) return false;
    auto active = ThemeEntry<TIsThemeActive>(AdvThemeBinding::tfIsThemeActive);
    return active && active();
}

bool TPCSpeedButton::Pressed() const { return (FState == bsDown || FState == bsExclusive) && !FUp; }

void TPCSpeedButton::Dispatch(TMessage& message) {
    if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) {
        FHot = message.Msg == CM_MOUSEENTER;
        Invalidate();
    }
    TSpeedButton::Dispatch(message);
}

void TPCSpeedButton::Paint() {
    switch (FButtonStyle) {
        case bsDropDown: PaintDropDown(); break;
        case bsButton: PaintButton(); break;
    }
}

namespace {
// The state number the visual styles use for buttons and drop-down arrows.
int ThemeState(bool enabled, bool pressed, bool hot) {
    if (!enabled) return 4;
    if (pressed) return 3;
    if (hot) return 2;
    return 1;
}
}  // namespace

void TPCSpeedButton::PaintDropDown() {
    // The button follows the page control it belongs to.
    if (Owner() && Owner()->Owner())
        if (auto control = dynamic_cast<TControl*>(Owner()->Owner())) TControl::SetEnabled(control->Enabled());
    TCanvas* canvas = Canvas();
    if (Themed() && Parent()) {
        RECT r = ToRECT(ClientRect());
        if (IsVistaOrLaterOS()) {
            r.left += 1;
        } else {
            ::InflateRect(&r, 1, 1);
            r.left += 2;
        }
        DrawThemePart(Parent()->Handle(), L"combobox", canvas->Handle(), 1, ThemeState(Enabled(), Pressed(), FHot), r);
        return;
    }
    PaintBase();
    const int w = Width(), h = Height();
    if (Glyph()->Empty()) {
        // No arrow picture from the system: a small one of our own.
        canvas->Pen()->SetColor(Enabled() ? clBlack : clGrayText);
        canvas->Pen()->SetWidth(1);
        const int cx = w / 2 + (Pressed() ? 1 : 0), cy = h / 2 + (Pressed() ? 1 : 0);
        for (int row = 0; row < 3; ++row) Line(canvas, cx - 3 + row, cy - 1 + row, cx + 4 - row, cy - 1 + row);
    }
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clBtnFace);
    Poly(canvas, {{w - 2, 0}, {0, 0}, {0, h - 1}});
    canvas->Pen()->SetColor(clWhite);
    Poly(canvas, {{w - 3, 1}, {1, 1}, {1, h - 2}});
}

void TPCSpeedButton::PaintButton() {
    TCanvas* canvas = Canvas();
    if (Owner() && Owner()->Owner())
        if (auto control = dynamic_cast<TControl*>(Owner()->Owner())) canvas->Font()->Assign(control->Font());
    const bool down = Pressed();
    const int shift = down ? 1 : 0;
    const std::wstring caption = Caption();
    if (Themed() && Parent()) {
        canvas->FillRect(ClientRect());
        RECT whole{0, 0, Width() + 1, Height() + 1};
        DrawThemePart(Parent()->Handle(), L"button", canvas->Handle(), 1, ThemeState(Enabled(), down, FHot), whole);
        TRect r = ClientRect();
        const bool hasGlyph = !Glyph()->Empty();
        int glyphWidth = 0;
        if (hasGlyph) {
            r = TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
            glyphWidth = Glyph()->Width() / NumGlyphs();
            int x = r.Left, y = r.Top;
            if (!caption.empty()) x = r.Left + 2;
            else if (glyphWidth < r.Width()) x = r.Left + (r.Width() - glyphWidth) / 2;
            if (Glyph()->Height() < r.Height()) y = r.Top + (r.Height() - Glyph()->Height()) / 2;
            DrawGlyph(canvas, x + shift, y + shift);
        }
        if (!caption.empty()) {
            canvas->Brush()->SetStyle(bsClear);
            std::wstring text = caption;
            if (!hasGlyph) {
                TRect t{r.Left + 3 + shift, r.Top + 1 + shift, r.Right - 3 + shift, r.Bottom - 1 + shift};
                canvas->TextRect(t, text, TTextFormat{tfCenter, tfVerticalCenter, tfSingleLine});
            } else {
                TRect t{r.Left + glyphWidth + 2, r.Top - 1, r.Right, r.Bottom};
                canvas->TextRect(t, text, TTextFormat{tfLeft, tfVerticalCenter, tfSingleLine});
            }
        }
        return;
    }
    if (Flat()) {
        const TRect client = ClientRect();
        canvas->FillRect(client);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(client);
        RECT edge{0, 0, Width() + 1, Height() + 1};
        ::DrawEdge(canvas->Handle(), &edge, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (down ? BF_FLAT : 0));
        if (!Glyph()->Empty()) {
            const TRect r{3 + shift, 3 + shift, Width() - 3 + shift, Height() - 3 + shift};
            const int w = std::min(Glyph()->Width(), r.Width()), h = std::min(Glyph()->Height(), r.Height());
            StretchTransparentFrom(canvas->Handle(), PictureDC(Glyph()), r.Left, r.Top, w, h, CornerColour(Glyph(), false),
                                   0, 0, w, h);
        }
        if (!caption.empty()) {
            canvas->Brush()->SetStyle(bsClear);
            std::wstring text = caption;
            TRect t{3 + shift, 1 + shift, Width() - 3 + shift, Height() - 1 + shift};
            canvas->TextRect(t, text, TTextFormat{tfCenter, tfVerticalCenter, tfSingleLine});
        }
        return;
    }
    PaintBase();
}

void TPCSpeedButton::PaintBase() {
    // After SetUp the button is drawn unpressed whatever its state.
    const TButtonState saved = FState;
    if (FUp && FState == bsDown) FState = bsUp;
    TSpeedButton::Paint();
    FState = saved;
}

// ---- TPCButton ----

const TPropertyList& TPCButton::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"NumGlyphs", &TPCButton::NumGlyphs, &TPCButton::SetNumGlyphs, 1)
        .Add(L"ButtonCaption", &TPCButton::ButtonCaption, &TPCButton::SetButtonCaption, L"")
        .Reference(L"FocusControl", &TPCButton::FocusControl, &TPCButton::SetFocusControl)
        .Add(L"TabStop", &TPCButton::TabStop, &TPCButton::SetTabStop, false)
        .Event(L"OnClick", &TPCButton::OnClick);
    return list;
}

TPCButton::TPCButton(TComponent* owner) : TWinControl(owner) {
    FControlStyle = (FControlStyle & ~(csAcceptsControls | csSetCaption)) | csOpaque;
    FButton = new TPCSpeedButton(this);
    FButton->SetParent(this);
    FButton->OnClick = [](TObject*) {};
    FButton->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState, int x, int y) {
        ButtonMouseUp(sender, button, x, y);
    };
    FButton->SetVisible(true);
    FButton->SetEnabled(Enabled());
    FButton->SetCaption(L"");
    FButton->SetButtonStyle(bsDropDown);
    TWinControl::SetBounds(0, 0, FButtonWidth, 25);
    FButton->SetBounds(0, 0, FButtonWidth, 25);
}

TPCButton::~TPCButton() = default;

TBitmap* TPCButton::Glyph() const { return FButton->Glyph(); }
void TPCButton::SetGlyph(const TBitmap* value) { FButton->SetGlyph(value); }
int TPCButton::NumGlyphs() const { return FButton->NumGlyphs(); }
void TPCButton::SetNumGlyphs(int value) { FButton->SetNumGlyphs(value); }
std::wstring TPCButton::ButtonCaption() const { return FButton->Caption(); }
void TPCButton::SetButtonCaption(const std::wstring& value) { FButton->SetCaption(value); }

void TPCButton::SetFocusControl(TWinControl* value) {
    if (value == FFocusControl) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TPCButton::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TPCButton::SetBounds(int left, int top, int width, int height) {
    if (FButton && (!HasState(csLoading) || HasState(csDesigning))) {
        width = FButtonWidth;
        FButton->SetBounds(0, 0, FButtonWidth, height);
    }
    TWinControl::SetBounds(left, top, width, height);
}

void TPCButton::Loaded() {
    TWinControl::Loaded();
    SetBounds(Left(), Top(), Width(), Height());
}

void TPCButton::Dispatch(TMessage& message) {
    TWinControl::Dispatch(message);
    if (message.Msg == WM_SIZE && FButton && !HasState(csLoading) && Width() != FButtonWidth) {
        SetBounds(Left(), Top(), FButtonWidth, Height());
        message.Result = 0;
    }
}

void TPCButton::ButtonMouseUp(TObject* sender, TMouseButton button, int x, int y) {
    (void)x;
    (void)y;
    if (button == mbLeft && sender == FButton && OnClick) OnClick(this);
}

// ---- TAdvPageControl: creation, properties ----

const TPropertyList& TAdvPageControl::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomTabControl::Published())
        .Reference(L"ActivePage", &TAdvPageControl::ActivePage, &TAdvPageControl::SetActivePage)
        .SubObject(L"ActiveFont", &TAdvPageControl::ActiveFont)
        .SubObject(L"CloseGlyph", &TAdvPageControl::CloseGlyph)
        .Enum(L"ClosePosition", L"TClosePosition", &TAdvPageControl::ClosePosition, &TAdvPageControl::SetClosePosition,
              {L"cpLeft", L"cpRight", L"cpLeftActive", L"cpRightActive"}, cpLeft)
        .Add(L"FreeOnClose", &TAdvPageControl::FreeOnClose, &TAdvPageControl::SetFreeOnClose, false)
        .Add(L"ShowFocus", &TAdvPageControl::ShowFocus, &TAdvPageControl::SetShowFocus, false)
        .Colour(L"DefaultTextColor", &TAdvPageControl::DefaultTextColor, &TAdvPageControl::SetDefaultTextColor, clBlack)
        .Colour(L"DefaultTabColor", &TAdvPageControl::DefaultTabColor, &TAdvPageControl::SetDefaultTabColor, clBtnFace)
        .Colour(L"DefaultTabColorTo", &TAdvPageControl::DefaultTabColorTo, &TAdvPageControl::SetDefaultTabColorTo, clNone)
        .Colour(L"ActiveColor", &TAdvPageControl::ActiveColor, &TAdvPageControl::SetActiveColor, clBtnFace)
        .Colour(L"ActiveColorTo", &TAdvPageControl::ActiveColorTo, &TAdvPageControl::SetActiveColorTo, clNone)
        .Add(L"TabBorder3D", &TAdvPageControl::TabBorder3D, &TAdvPageControl::SetTabBorder3D, false)
        .Colour(L"TabBorderColor", &TAdvPageControl::TabBorderColor, &TAdvPageControl::SetTabBorderColor, clGray)
        .Add(L"TabSheet3D", &TAdvPageControl::TabSheet3D, &TAdvPageControl::SetTabSheet3D, false)
        .Colour(L"TabSheetBorderColor", &TAdvPageControl::TabSheetBorderColor, &TAdvPageControl::SetTabSheetBorderColor, clGray)
        .Colour(L"TabHoverColor", &TAdvPageControl::TabHoverColor, &TAdvPageControl::SetTabHoverColor, clNone)
        .Colour(L"TabHoverColorTo", &TAdvPageControl::TabHoverColorTo, &TAdvPageControl::SetTabHoverColorTo, clNone)
        .Colour(L"TabHoverBorder", &TAdvPageControl::TabHoverBorder, &TAdvPageControl::SetTabHoverBorder, clNone)
        .Colour(L"TabBackGroundColor", &TAdvPageControl::TabBackGroundColor, &TAdvPageControl::SetTabBackGroundColor, clBtnFace)
        .Stored(L"TabBackGroundColor", true)
        .SubObject(L"TabBackGround", &TAdvPageControl::TabBackGround)
        .SubObject(L"TabBackGroundActive", &TAdvPageControl::TabBackGroundActive)
        .SubObject(L"TabMargin", &TAdvPageControl::TabMargin)
        .Add(L"TabOverlap", &TAdvPageControl::TabOverlap, &TAdvPageControl::SetTabOverlap, 0)
        .Add(L"TabSplitLine", &TAdvPageControl::TabSplitLine, &TAdvPageControl::SetTabSplitLine, false)
        .Add(L"RoundEdges", &TAdvPageControl::RoundEdges, &TAdvPageControl::SetRoundEdges, false)
        .Enum(L"TabStyle", L"TTabStyle", &TAdvPageControl::TabStyle, &TAdvPageControl::SetTabStyle,
              {L"tsClassic", L"tsDotNet", L"tsVestra"}, tsClassic)
        .Add(L"LowerActive", &TAdvPageControl::LowerActive, &TAdvPageControl::SetLowerActive, 2)
        .Add(L"Version", &TAdvPageControl::Version, &TAdvPageControl::SetVersion, L"2.0.4.2")
        .Add(L"ShowClosedList", &TAdvPageControl::ShowClosedList, &TAdvPageControl::SetShowClosedList, false)
        .Reference(L"ClosedListMenu", &TAdvPageControl::ClosedListMenu, &TAdvPageControl::SetClosedListMenu)
        .Add(L"ClosedListButtonHint", &TAdvPageControl::ClosedListButtonHint, &TAdvPageControl::SetClosedListButtonHint, L"")
        .SubObject(L"PersistPagesState", &TAdvPageControl::PersistPagesState)
        .Reference(L"Images", &TAdvPageControl::Images, &TAdvPageControl::SetImages)
        .Add(L"DockSite", &TAdvPageControl::DockSite, &TAdvPageControl::SetDockSite, false)
        .Add(L"DoubleBuffered", &TAdvPageControl::DoubleBuffered, &TAdvPageControl::SetDoubleBuffered, true)
        .Event(L"OnCanChange", &TAdvPageControl::OnCanChange)
        .Event(L"OnDrawTab", &TAdvPageControl::OnDrawTab)
        .Event(L"OnClosedListClick", &TAdvPageControl::OnClosedListClick);
    return list;
}

TAdvPageControl::TAdvPageControl(TComponent* owner) : TCustomTabControl(owner) {
    FControlStyle = csOpaque | csDoubleClicks;
    FPlaceholder = std::make_unique<TImageList>(nullptr);
    FPlaceholder->SetSize(1, 1);
    FPersistPagesState = std::make_unique<TPersistence>(this);
    FTabBackGround = std::make_unique<TBitmap>();
    FTabBackGroundActive = std::make_unique<TBitmap>();
    FCloseGlyph = std::make_unique<TBitmap>();
    SetTabImages(FPlaceholder.get());
    SetOwnerDraw(true);
    FTabMargin = std::make_unique<TTabMargin>();
    FTabMargin->OnMarginChange = [this](TMarginSize newValue, TMarginSize oldValue, int index) {
        MarginChange(newValue, oldValue, index);
    };
    FTabMargin->OnChange = [this](TObject*) {
        UpdateTabImages();
        Invalidate();
    };
    FActiveFont = std::make_unique<TFont>();
    FActiveFont->SetName(L"Segoe UI");
    FActiveFont->SetHeight(-11);
    FActiveFont->SetOnChange([this](TObject*) {
        UpdateActiveTabText(FActivePage);
        Invalidate();
    });
    FCanvas = std::make_unique<TControlCanvas>(this);
    SetDoubleBuffered(true);
}

TAdvPageControl::~TAdvPageControl() {
    if (FPersistPagesState->Enabled() && !Designing() && !FStateSaved)
        CallGuarded(this, [this] { SavePagesState(); });
    Destroying();
    SetTabImages(nullptr);
    for (TAdvTabSheet* page : FPages) {
        page->FAdvPageControl = nullptr;
        page->FTabShowing = false;
    }
    FPages.clear();
    for (auto& entry : FClosedList) entry.second->FClosedBy = nullptr;
    FClosedList.clear();
    FActivePage = nullptr;
    if (FImages) FImages->RemoveFreeNotification(this);
    if (FClosedListMenu) FClosedListMenu->RemoveFreeNotification(this);
}

std::wstring TAdvPageControl::Version() const {
    const unsigned v = unsigned(VersionNr);
    return std::to_wstring(v >> 24) + L"." + std::to_wstring((v >> 16) & 0xFF) + L"." +
           std::to_wstring((v >> 8) & 0xFF) + L"." + std::to_wstring(v & 0xFF);
}

TCanvas* TAdvPageControl::OwnCanvas() {
    FCanvas->Font()->Assign(Font());
    return FCanvas.get();
}

int TAdvPageControl::CloseWidth() const { return RoundScaled(FDPIScale, 14); }
int TAdvPageControl::CloseHeight() const { return RoundScaled(FDPIScale, 13); }

void TAdvPageControl::Notification(TComponent* component, TOperation operation) {
    TCustomTabControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FImages) {
        FImages = nullptr;
        if (FTabBorder3D) SetTabImages(nullptr);
    }
    if (component == FClosedListMenu) FClosedListMenu = nullptr;
    if (component == FInternalMenu) FInternalMenu = nullptr;
    if (component == FClosedListButton) FClosedListButton = nullptr;
}

void TAdvPageControl::SetActiveFont(const TFont* value) {
    if (value && value != FActiveFont.get()) FActiveFont->Assign(value);
    Invalidate();
}

void TAdvPageControl::SetCloseGlyph(const TBitmap* value) {
    if (value && value != FCloseGlyph.get()) FCloseGlyph->Assign(value);
    Invalidate();
}

void TAdvPageControl::SetTabBackGround(const TBitmap* value) {
    if (value && value != FTabBackGround.get()) FTabBackGround->Assign(value);
    if (Designing() && !FTabBackGround->Empty()) {
        const bool side = TabPosition() == tpLeft || TabPosition() == tpRight;
        SetTabHeight((side ? FTabBackGround->Width() : FTabBackGround->Height()) - 3);
    }
    Invalidate();
}

void TAdvPageControl::SetTabBackGroundActive(const TBitmap* value) {
    if (value && value != FTabBackGroundActive.get()) FTabBackGroundActive->Assign(value);
    Invalidate();
}

void TAdvPageControl::SetClosePosition(TClosePosition value) { if (StoreChanged(FClosePosition, value)) Invalidate(); }
void TAdvPageControl::SetShowFocus(bool value) { if (StoreChanged(FShowFocus, value)) Invalidate(); }
void TAdvPageControl::SetActiveColor(TColor value) { if (StoreChanged(FActiveColor, value)) Invalidate(); }
void TAdvPageControl::SetActiveColorTo(TColor value) { if (StoreChanged(FActiveColorTo, value)) Invalidate(); }
void TAdvPageControl::SetTabBorderColor(TColor value) { if (StoreChanged(FTabBorderColor, value)) Invalidate(); }
void TAdvPageControl::SetTabSheet3D(bool value) { if (StoreChanged(FTabSheet3D, value)) Invalidate(); }
void TAdvPageControl::SetTabSheetBorderColor(TColor value) { if (StoreChanged(FTabSheetBorderColor, value)) Invalidate(); }
void TAdvPageControl::SetTabBackGroundColor(TColor value) { if (StoreChanged(FTabBackGroundColor, value)) Invalidate(); }
void TAdvPageControl::SetRoundEdges(bool value) { if (StoreChanged(FRoundEdges, value)) Invalidate(); }
void TAdvPageControl::SetTabStyle(TTabStyle value) { if (StoreChanged(FTabStyle, value)) Invalidate(); }
void TAdvPageControl::SetLowerActive(int value) { if (StoreChanged(FLowerActive, value)) Invalidate(); }
void TAdvPageControl::SetTabOverlap(int value) {
    if (StoreChanged(FTabOverlap, std::clamp(value, 0, 15))) Invalidate();
}

void TAdvPageControl::SetTabSplitLine(bool value) {
    if (value && (FTabStyle == tsDotNet || FTabStyle == tsVestra))
        throw Exception(L"TabSplitLine must be False while TabStyle is tsDotNet or tsVestra");
    FTabSplitLine = value;
    Invalidate();
}

namespace {
// A default colour: the pages still at the old default follow the new one, then it is stored.
template <class Get, class Set>
bool ChangeDefault(std::vector<TAdvTabSheet*>& pages, TColor& field, TColor value, Get get, Set set) {
    if (value == field) return false;
    for (TAdvTabSheet* page : pages)
        if ((page->*get)() == field) (page->*set)(value);
    field = value;
    return true;
}
}  // namespace

void TAdvPageControl::SetDefaultTextColor(TColor value) {
    if (ChangeDefault(FPages, FDefaultTextColor, value, &TAdvTabSheet::TextColor, &TAdvTabSheet::SetTextColor))
        Invalidate();
}

void TAdvPageControl::SetDefaultTabColor(TColor value) {
    if (ChangeDefault(FPages, FDefaultTabColor, value, &TAdvTabSheet::TabColor, &TAdvTabSheet::SetTabColor))
        Invalidate();
}

void TAdvPageControl::SetDefaultTabColorTo(TColor value) {
    if (ChangeDefault(FPages, FDefaultTabColorTo, value, &TAdvTabSheet::TabColorTo, &TAdvTabSheet::SetTabColorTo))
        Invalidate();
}

void TAdvPageControl::SetTabBorder3D(bool value) {
    FTabBorder3D = value;
    SetTabImages(value ? FImages : FPlaceholder.get());
    SetOwnerDraw(!value);
    for (int i = PageCount() - 1; i >= 0; --i) UpdateTab(FPages[size_t(i)]);
    if (!value) UpdateActiveTabText(FActivePage);
    Invalidate();
}

void TAdvPageControl::SetTabMargin(const TTabMargin* value) {
    if (value) FTabMargin->Assign(value);
}

void TAdvPageControl::SetImages(TCustomImageList* value) {
    if (value == FImages) return;
    const bool side = TabPosition() == tpLeft || TabPosition() == tpRight;
    const int oldSize = FImages ? (side ? FImages->Height() : FImages->Width()) : 0;
    const int newSize = value ? (side ? value->Height() : value->Width()) : 0;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    if (side) SetPlaceholderHeight(FPlaceholder->Height() - oldSize + newSize);
    else SetPlaceholderWidth(FPlaceholder->Width() - oldSize + newSize);
    if (FTabBorder3D) SetTabImages(FImages);
    Invalidate();
}

void TAdvPageControl::SetTabPosition(TTabPosition value) {
    if (value == TabPosition()) return;
    TCustomImageList* images = FImages;
    SetImages(nullptr);
    TCustomTabControl::SetTabPosition(value);
    SetImages(images);
    ComputePlaceholder();
}

void TAdvPageControl::SetPlaceholderWidth(int value) { FPlaceholder->SetSize(std::max(1, value), FPlaceholder->Height()); }
void TAdvPageControl::SetPlaceholderHeight(int value) { FPlaceholder->SetSize(FPlaceholder->Width(), std::max(1, value)); }

void TAdvPageControl::ComputePlaceholder() {
    const int w = FImages ? FImages->Width() : 0;
    const int h = FImages ? FImages->Height() : 0;
    if (TabPosition() == tpTop || TabPosition() == tpBottom)
        SetPlaceholderWidth(RoundScaled(FDPIScale, 4) + w + FTabMargin->RightMargin() + FTabMargin->LeftMargin());
    else
        SetPlaceholderHeight(h + FTabMargin->RightMargin() + FTabMargin->TopMargin());
}

void TAdvPageControl::MarginChange(TMarginSize newValue, TMarginSize oldValue, int index) {
    if (FPropertiesLoaded || Designing()) {
        const bool side = TabPosition() == tpLeft || TabPosition() == tpRight;
        const int w = FImages ? FImages->Width() : 0;
        const int h = FImages ? FImages->Height() : 0;
        switch (index) {
            case 0:
                if (!side) SetPlaceholderWidth(w + FTabMargin->RightMargin() + newValue);
                break;
            case 1:
                if (side) SetPlaceholderHeight(h + FTabMargin->RightMargin() + newValue);
                break;
            case 2:
                if (side) SetPlaceholderHeight(FPlaceholder->Height() - oldValue + newValue);
                else SetPlaceholderWidth(FPlaceholder->Width() - oldValue + newValue);
                break;
            default: break;
        }
    }
    Invalidate();
}

void TAdvPageControl::SetShowClosedList(bool value) {
    FShowClosedList = value;
    if (!value) {
        // Switched off: the button goes out of sight (it stays made for the next time).
        if (FClosedListButton) FClosedListButton->SetVisible(false);
        return;
    }
    if (Designing()) return;
    if (!FClosedListButton) {
        FClosedListButton = new TPCButton(this);
        FClosedListButton->SetParent(this);
        FClosedListButton->OnClick = [this](TObject*) { ShowClosedListMenu(); };
    }
    UpdateClosedListButton();
}

void TAdvPageControl::SetClosedListMenu(TPopupMenu* value) {
    if (value == FClosedListMenu) return;
    if (FClosedListMenu) FClosedListMenu->RemoveFreeNotification(this);
    FClosedListMenu = value;
    if (value) value->FreeNotification(this);
}

void TAdvPageControl::SetClosedListButtonHint(const std::wstring& value) {
    if (value == FClosedListButtonHint) return;
    FClosedListButtonHint = value;
    if (!Designing() && !HasState(csLoading) && FClosedListButton && FClosedListButton->Visible())
        FClosedListButton->SetHint(value);
}

void TAdvPageControl::SetPersistPagesState(const TPersistence* value) {
    if (value) FPersistPagesState->Assign(value);
}

void TAdvPageControl::Loaded() {
    TCustomTabControl::Loaded();
    for (TAdvTabSheet* page : FPages) page->SetHighlighted(page->Highlighted());
    ComputePlaceholder();
    FPropertiesLoaded = true;
    for (int i = PageCount() - 1; i >= 0; --i) UpdateTab(FPages[size_t(i)]);
    UpdateActiveTabText(FActivePage);
    if (FPersistPagesState->Enabled() && !Designing()) LoadPagesState();
}

bool TAdvPageControl::InsertDescribedChild(TComponent* child) {
    if (auto sheet = dynamic_cast<TAdvTabSheet*>(child)) {
        sheet->SetAdvPageControl(this);
        return true;
    }
    return TCustomTabControl::InsertDescribedChild(child);
}

void TAdvPageControl::ChangeScale(int m, int d) {
    TCustomTabControl::ChangeScale(m, d);
    FDPIScale = AdvStyleIF::GetDPIScale(this, OwnCanvas());
    FCanvas->ReleaseWindowDC();
    if (m == d) return;
    FActiveFont->SetHeight(::MulDiv(FActiveFont->Height(), m, d));
    // Fixed tab sizes are pixels of the description's screen, like the bounds: unscaled,
    // the scaled font's captions would not fit their tabs.
    if (TabHeight() > 0) SetTabHeight(::MulDiv(TabHeight(), m, d));
    if (TabWidth() > 0) SetTabWidth(::MulDiv(TabWidth(), m, d));
}

// ---- pages and tabs ----

int TAdvPageControl::IndexOfPage(const TAdvTabSheet* page) const {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    return it == FPages.end() ? -1 : int(it - FPages.begin());
}

void TAdvPageControl::InsertPage(TAdvTabSheet* page) {
    FPages.push_back(page);
    page->FAdvPageControl = this;
    page->UpdateTabShowing();
}

void TAdvPageControl::RemovePage(TAdvTabSheet* page) {
    TAdvTabSheet* next = FindNextPage(page, true, !Designing());
    page->SetTabShowing(false);
    page->FAdvPageControl = nullptr;
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    FHoverPage = -1;
    if (FActivePage == page) SetActivePage(next == page ? nullptr : next);
}

void TAdvPageControl::InsertPageTab(TAdvTabSheet* page) {
    TCustomTabControl::InsertTab(page->TabIndex(), page->TabText(), page);
    UpdateActivePage();
    if (FShowClosedList) UpdateClosedListButton();
}

void TAdvPageControl::CreateWindowHandleDone() {
    TCustomTabControl::CreateWindowHandleDone();
    // The overflow of the strip is known only once the window lays the tabs out.
    if (FShowClosedList) UpdateClosedListButton();
}

void TAdvPageControl::DeletePageTab(TAdvTabSheet* page, int index) {
    TAdvTabSheet* active = FActivePage;
    TCustomTabControl::DeleteTab(index);
    if (page == active) {
        if (index >= TabCount()) index = TabCount() - 1;
        SetTabIndex(index);
    }
    UpdateActivePage();
    if (FShowClosedList) UpdateClosedListButton();
}

void TAdvPageControl::MovePageTab(int from, int to) { TCustomTabControl::MoveTab(from, to); }

void TAdvPageControl::UpdateActivePage() {
    if (HasState(csDestroying)) return;
    const int index = TabIndex();
    SetActivePage(index < 0 ? nullptr : static_cast<TAdvTabSheet*>(TabObject(index)));
}

void TAdvPageControl::SetActivePage(TAdvTabSheet* page) {
    if (page && page->FAdvPageControl != this) return;
    ChangeActivePage(page);
    if (!page) {
        SetTabIndex(-1);
        // Nothing is active: the page shown before goes out of sight as well.
        TAdvTabSheet* old = FActivePage;
        FActivePage = nullptr;
        if (old) old->SetVisible(false);
    } else if (page == FActivePage) {
        SetTabIndex(page->TabIndex());
    }
}

int TAdvPageControl::ActivePageIndex() const { return FActivePage ? IndexOfPage(FActivePage) : -1; }

void TAdvPageControl::SetActivePageIndex(int value) {
    if (value >= 0 && value < PageCount()) SetActivePage(FPages[size_t(value)]);
    else SetActivePage(nullptr);
}


void TAdvPageControl::ChangeActivePage(TAdvTabSheet* page) {
    if (page == FActivePage || !page || (!Designing() && !page->TabEnable())) return;
    TCustomForm* form = ParentForm();
    if (form && FActivePage && form->ActiveControl() && Contains(FActivePage, form->ActiveControl())) {
        form->SetActiveControl(FActivePage);
        if (form->ActiveControl() != FActivePage) {
            SetTabIndex(FActivePage->TabIndex());
            return;
        }
    }
    page->BringToFront();
    page->SetVisible(true);
    page->SetEnabled(true);
    if (form && FActivePage && form->ActiveControl() == FActivePage) {
        if (page->CanFocus()) form->SetActiveControl(page);
        else form->SetActiveControl(this);
    }
    TAdvTabSheet* old = FActivePage;
    if (old) old->SetVisible(false);
    FActivePage = page;
    UpdateActiveTabText(old);
    UpdateActiveTabText(page);
}

TAdvTabSheet* TAdvPageControl::FindNextPage(TAdvTabSheet* curPage, bool goForward, bool checkTabVisible) const {
    const int count = PageCount();
    if (count == 0) return nullptr;
    int start = IndexOfPage(curPage);
    if (start < 0) start = goForward ? count - 1 : 0;
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TAdvTabSheet* page = FPages[size_t(i)];
        if (!checkTabVisible || page->TabVisible()) return page;
    }
    return nullptr;
}

void TAdvPageControl::SelectNextPage(bool goForward) {
    TAdvTabSheet* next = FindNextPage(FActivePage, goForward, true);
    if (!next) return;
    bool allow = true;
    if (OnCanChange) OnCanChange(this, ActivePageIndex(), IndexOfPage(next), allow);
    if (next != FActivePage && allow) {
        SetActivePageIndex(IndexOfPage(next));
        Change();
    }
}

int TAdvPageControl::IndexOfTabAtEx(int x, int y) {
    int i = IndexOfTabAt(x, y);
    for (int index = 0; index < PageCount(); ++index)
        if (index <= i && !FPages[size_t(index)]->TabVisible()) ++i;
    return i;
}

TRect TAdvPageControl::TabRectOfPage(int pageIndex) {
    int hidden = 0;
    for (int i = 0; i < pageIndex && i < PageCount(); ++i)
        if (!FPages[size_t(i)]->TabVisible()) ++hidden;
    return TabRect(pageIndex - hidden);
}

int TAdvPageControl::GetTabWidth(int index) { return FPages.at(size_t(index))->TabVisible() ? TabWidth() : 0; }

int TAdvPageControl::GetTotalTabWidth() {
    int total = 0;
    for (int i = 0; i < PageCount(); ++i) total += GetTabWidth(i);
    return total;
}

void TAdvPageControl::UpdateTabScroller() {
    if (!HandleAllocated()) return;
    HWND arrows = ::FindWindowExW(Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    if (arrows && ClientWidth() >= GetTotalTabWidth()) ::ShowWindow(arrows, SW_HIDE);
}

void TAdvPageControl::UpdateTab(TAdvTabSheet* page) {
    const int index = page->TabIndex();
    if (index < 0 || index >= TabCount()) return;
    const TFontStyles style = FActiveFont->Style();
    if (FTabBorder3D) SetTabText(index, page->Caption());
    else if (page == FActivePage && (style.Contains(fsBold) || style.Contains(fsItalic))) UpdateActiveTabText(page);
    else SetTabText(index, page->TabText());
}

void TAdvPageControl::UpdateActiveTabText(TAdvTabSheet* page) {
    if (FTabBorder3D || !page) return;
    const int index = page->TabIndex();
    if (index < 0 || index >= TabCount()) return;
    const TFontStyles style = FActiveFont->Style();
    if (page == FActivePage && (style.Contains(fsBold) || style.Contains(fsItalic))) {
        TCanvas* canvas = OwnCanvas();
        canvas->Font()->Assign(FActiveFont.get());
        const int w1 = canvas->TextWidth(page->TabText());
        canvas->Font()->Assign(Font());
        const int w2 = canvas->TextWidth(page->TabText());
        std::wstring blanks;
        while (canvas->TextWidth(blanks) < w1 - w2) blanks += L' ';
        FCanvas->ReleaseWindowDC();
        SetTabText(index, page->TabText() + blanks);
    } else {
        SetTabText(index, page->TabText());
    }
}

void TAdvPageControl::BeginTabUpdate() {
    if (!Visible() || HasState(csLoading) || !HandleAllocated()) return;
    ++FUpdateCount;
    ::SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
}

void TAdvPageControl::EndTabUpdate() {
    if (!Visible() || !HandleAllocated()) return;
    if (FUpdateCount > 0) --FUpdateCount;
    if (FUpdateCount == 0) {
        ::SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }
}

bool TAdvPageControl::CanShowTab(int tabIndex) {
    if (tabIndex < 0 || tabIndex >= TabCount()) return true;
    auto page = static_cast<TAdvTabSheet*>(TabObject(tabIndex));
    return page->Enabled() && page->TabEnable();
}

int TAdvPageControl::GetImageIndex(int tabIndex) {
    if (OnGetImageIndex) return TCustomTabControl::GetImageIndex(tabIndex);
    int shown = 0;
    for (TAdvTabSheet* page : FPages) {
        if (!page->TabVisible()) continue;
        if (shown++ == tabIndex) {
            if (FTabMargin && (FTabMargin->LeftMargin() != 0 || FTabMargin->RightMargin() != 0)) return 0;
            return page->ImageIndex();
        }
    }
    return 0;
}

bool TAdvPageControl::CanChange() {
    int toPage = -1;
    if (FSelectTargetKnown) {
        toPage = FSelectTarget;
    } else {
        POINT point{};
        ::GetCursorPos(&point);
        const TPoint local = ScreenToClient({point.x, point.y});
        toPage = IndexOfTabAtEx(local.X, local.Y);
        if (toPage < 0) {
            toPage = ActivePageIndex() + ((KeyboardShiftState() & ssShift) ? -1 : 1);
            if (toPage >= PageCount()) toPage = 0;
            if (toPage < 0) toPage = PageCount() - 1;
        }
    }
    bool allow = true;
    if (OnCanChange) OnCanChange(this, ActivePageIndex(), toPage, allow);
    if (MultiLine()) EndTabUpdate();
    if (!allow) return false;
    allow = TCustomTabControl::CanChange();
    if (allow && MultiLine()) BeginTabUpdate();
    return allow;
}

void TAdvPageControl::Change() {
    UpdateActivePage();
    TCustomTabControl::Change();
    Invalidate();
}

void TAdvPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    // The whole strip is painted by DrawAllTabs; the host's requests draw nothing.
    (void)tabIndex;
    (void)rect;
    (void)active;
}

void TAdvPageControl::InvalidatePageTab(int pageIndex) {
    if (pageIndex < 0 || pageIndex >= PageCount() || !HandleAllocated()) return;
    RECT r = ToRECT(TabRectOfPage(pageIndex));
    ::InflateRect(&r, 2, 2);
    ::InvalidateRect(Handle(), &r, TRUE);
}

// ---- messages, keys, mouse ----

void TAdvPageControl::CMDialogKey(TMessage& message) {
    HWND focus = ::GetFocus();
    const bool inside = HandleAllocated() && focus && (focus == FHandle || ::IsChild(FHandle, focus));
    if (inside && message.WParam == VK_TAB && (KeyboardShiftState() & ssCtrl)) {
        if (TCustomTabControl::CanChange()) SelectNextPage(!(KeyboardShiftState() & ssShift));
        message.Result = 1;
        return;
    }
    TCustomTabControl::Dispatch(message);
}

void TAdvPageControl::CMDialogChar(TMessage& message) {
    // The first page (in page order) whose caption marks the character takes it.
    for (size_t i = 0; i < FPages.size(); ++i) {
        TAdvTabSheet* page = FPages[i];
        if (!IsAccel(wchar_t(message.WParam), page->Caption()) || !page->Enabled() || !CanFocus() ||
            page->TabIndex() < 0)
            continue;
        message.Result = 1;
        bool allow = TCustomTabControl::CanChange();
        if (OnCanChange) OnCanChange(this, ActivePageIndex(), int(i), allow);
        if (allow) {
            SetTabIndex(page->TabIndex());
            Change();
        }
        return;
    }
    TCustomTabControl::Dispatch(message);
}

void TAdvPageControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_PAINT: PaintTabs(message); return;
        case WM_ERASEBKGND:
            if (!Designing() && !FTabBorder3D && !FFullRefresh && TabCount() > 0 && FUpdateCount == 0) {
                message.Result = 1;
                return;
            }
            break;
        case CM_DIALOGKEY: CMDialogKey(message); return;
        case CM_DIALOGCHAR: CMDialogChar(message); return;
        case CN_NOTIFY: {
            const UINT code = reinterpret_cast<const NMHDR*>(message.LParam)->code;
            if (code == UINT(TCN_SELCHANGING) && MultiLine()) BeginTabUpdate();
            TCustomTabControl::Dispatch(message);
            // A refused change leaves no suspended drawing behind.
            if (code == UINT(TCN_SELCHANGING) && message.Result != 0 && FUpdateCount > 0) EndTabUpdate();
            if (code == UINT(TCN_SELCHANGE) && MultiLine()) EndTabUpdate();
            return;
        }
        case CN_DRAWITEM:
            if (FUpdateCount > 0) {
                message.Result = 1;
                return;
            }
            break;
        case WM_LBUTTONDOWN:
            FSelectTarget = IndexOfTabAtEx(message.XPos(), message.YPos());
            FSelectTargetKnown = true;
            TCustomTabControl::Dispatch(message);
            FSelectTargetKnown = false;
            return;
        case WM_KEYDOWN: {
            const int step = (message.WParam == VK_LEFT || message.WParam == VK_UP) ? -1
                           : (message.WParam == VK_RIGHT || message.WParam == VK_DOWN) ? 1 : 0;
            const int tab = TabIndex() + step;
            FSelectTargetKnown = step != 0 && tab >= 0 && tab < TabCount();
            if (FSelectTargetKnown) FSelectTarget = IndexOfPage(static_cast<TAdvTabSheet*>(TabObject(tab)));
            TCustomTabControl::Dispatch(message);
            FSelectTargetKnown = false;
            return;
        }
        case CM_MOUSELEAVE:
            if (FTabBackGround->Empty()) InvalidatePageTab(FHoverPage);
            FHoverPage = -1;
            break;
        case WM_SIZE:
            TCustomTabControl::Dispatch(message);
            if (FShowClosedList) UpdateClosedListButton();
            return;
        default: break;
    }
    TCustomTabControl::Dispatch(message);
}

void TAdvPageControl::PaintTabs(TMessage& message) {
    const bool ownPaint = !Designing() && !FTabBorder3D && !FFullRefresh && TabCount() > 0 && FUpdateCount < 1;
    if (ownPaint && !message.WParam) {
        TPaintScope painting(FHandle);
        RECT client;
        ::GetClientRect(FHandle, &client);
        TOffscreenBuffer buffer(painting.Handle(), client.right, client.bottom);
        if (buffer) {
            TCanvas canvas;
            canvas.SetHandle(buffer.Handle());
            canvas.Brush()->SetColor(Color());
            canvas.FillRect(FromRECT(client));
            // The system's own picture of the tabs is left out: DrawAllTabs covers the
            // strip, the tabs and the sheet border, and the pages cover the rest. Under
            // Wine that picture (one owner-draw request per tab) costs most of the paint.
            canvas.Font()->Assign(Font());
            canvas.Pen()->SetWidth(1);
            canvas.Pen()->SetStyle(psSolid);
            DrawAllTabs(&canvas);
            canvas.SetHandle(nullptr);
            buffer.CopyTo(painting.Handle());
        } else {
            TMessage native{WM_PAINT, WPARAM(painting.Handle()), 0, 0};
            DefaultHandler(native);
        }
    } else {
        TCustomTabControl::Dispatch(message);
    }
    if (!FTabBorder3D && HandleAllocated()) {
        message.Result = 0;
        DrawAllTabs(OwnCanvas());
        FCanvas->ReleaseWindowDC();
    }
}

void TAdvPageControl::MouseMove(TShiftState shift, int x, int y) {
    TCustomTabControl::MouseMove(shift, x, y);
    if (FTabBorder3D || Designing() || FTabHoverColor == clNone) return;
    if (FTabBackGround->Empty()) {
        const int p = IndexOfTabAtEx(x, y);
        if (p != FHoverPage && (FTabHoverColor != clNone || FTabHoverColorTo != clNone)) {
            InvalidatePageTab(FHoverPage);
            FHoverPage = p;
            InvalidatePageTab(p);
        }
    }
    if (FActivePage && FActivePage->ShowClose()) {
        const bool over = IsOnCloseButton(ActivePageIndex(), x, y);
        if (FCloseButtonHot && !over) {
            DrawCloseButtonNow(csNormal);
            FCloseButtonHot = false;
        } else if (!FCloseButtonHot && over) {
            DrawCloseButtonNow(csHot);
            FCloseButtonHot = true;
        }
    }
}

void TAdvPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomTabControl::MouseDown(button, shift, x, y);
    // A dock site lets a docked control be dragged away by its tab, or floated by a double click.
    if (FDockSite && button == mbLeft && !Designing()) {
        const int p = IndexOfTabAtEx(x, y);
        TAdvTabSheet* sheet = p >= 0 && p < PageCount() ? FPages[size_t(p)] : nullptr;
        TControl* client = sheet && sheet->ControlCount() > 0 ? sheet->Controls(0) : nullptr;
        if (client && HostOf(client) == sheet) {
            if (shift & ssDouble) {
                UndockClient(client, nullptr);
                if (auto form = dynamic_cast<TCustomForm*>(client)) form->Show();
                return;
            }
            client->BeginDrag(false);
        }
    }
    if (Designing() || FTabBorder3D || !FActivePage || !FActivePage->ShowClose()) return;
    if (!IsOnCloseButton(ActivePageIndex(), x, y)) return;
    if (!FDockSite) DrawCloseButtonNow(csPressed);
    else ClosePage(FActivePage, FindNextPage(FActivePage, true, true), true);
}

void TAdvPageControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomTabControl::MouseUp(button, shift, x, y);
    if (Designing() || FTabBorder3D || button != mbLeft) return;
    const int p = IndexOfTabAtEx(x, y);
    if (p < 0 || p >= PageCount() || !FPages[size_t(p)]->ShowClose() || !IsOnCloseButton(p, x, y)) return;
    TAdvTabSheet* page = FPages[size_t(p)];
    ClosePage(page, FindNextPage(page, p != PageCount() - 1, true), false);
}

void TAdvPageControl::ClosePage(TAdvTabSheet* page, TAdvTabSheet* next, bool changeBeforeStore) {
    if (!page->CanCloseTab()) return;
    page->DoClose();
    SetActivePage(next);
    if (changeBeforeStore) {
        FireEvent(OnChange, this);
        Invalidate();
    }
    if (FFreeOnClose) {
        delete page;
    } else {
        AddClosed(page);
    }
    if (!changeBeforeStore) {
        FireEvent(OnChange, this);
        Invalidate();
    }
    Invalidate();
}

// ---- docking ----

TAdvTabSheet* TAdvPageControl::HostOf(const TControl* client) const {
    for (const TDocked& docked : FDocked)
        if (docked.Client == client) return docked.Sheet;
    return nullptr;
}

void TAdvPageControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    auto client = dynamic_cast<TControl*>(source);
    if (FDockSite && client && client != this && !HostOf(client) && !Contains(dynamic_cast<TWinControl*>(client), this)) {
        accept = true;
        return;
    }
    TCustomTabControl::DragOver(source, x, y, state, accept);
}

void TAdvPageControl::DragDrop(TObject* source, int x, int y) {
    auto client = dynamic_cast<TControl*>(source);
    if (!FDockSite || !client || HostOf(client)) {
        TCustomTabControl::DragDrop(source, x, y);
        return;
    }
    // A control docked in another page control leaves it first.
    if (auto sheet = dynamic_cast<TAdvTabSheet*>(client->Parent()))
        if (TAdvPageControl* other = sheet->AdvPageControl()) other->UndockClient(client, nullptr);
    DockClient(client);
}

TAdvTabSheet* TAdvPageControl::DockClient(TControl* client) {
    auto* sheet = new TAdvTabSheet(this);
    try {
        if (auto form = dynamic_cast<TCustomForm*>(client)) sheet->SetCaption(form->Caption());
        else sheet->SetCaption(client->Caption());
        sheet->SetAdvPageControl(this);
        client->SetParent(sheet);
    } catch (...) {
        delete sheet;
        throw;
    }
    FDocked.push_back(TDocked{client, sheet, client->WindowProc});
    client->WindowProc = [this, client](TMessage& message) { ClientMessage(client, message); };
    sheet->SetTabVisible(client->Visible());
    if (client->Visible()) SetActivePage(sheet);
    client->SetAlign(alClient);
    return sheet;
}

void TAdvPageControl::ClientMessage(TControl* client, TMessage& message) {
    auto it = std::find_if(FDocked.begin(), FDocked.end(), [client](const TDocked& d) { return d.Client == client; });
    if (it == FDocked.end()) return;
    TAdvTabSheet* sheet = it->Sheet;
    it->WindowProc(message);
    if (message.Msg == WM_SETTEXT || message.Msg == CM_TEXTCHANGED) {
        // The tab shows the first line of the client's text.
        std::wstring text = client->Caption();
        const size_t end = text.find_first_of(L"\r\n");
        if (end != std::wstring::npos) text.erase(end);
        sheet->SetCaption(text);
    } else if (message.Msg == CM_VISIBLECHANGED) {
        sheet->SetTabVisible(client->Visible());
    }
}

bool TAdvPageControl::UndockClient(TControl* client, TWinControl* newParent) {
    auto it = std::find_if(FDocked.begin(), FDocked.end(), [client](const TDocked& d) { return d.Client == client; });
    if (it == FDocked.end()) return false;
    TAdvTabSheet* sheet = it->Sheet;
    client->WindowProc = it->WindowProc;
    FDocked.erase(it);
    client->SetAlign(alNone);
    client->SetParent(newParent);
    if (FActivePage == sheet) SetActivePage(FindNextPage(sheet, true, true));
    if (!HasState(csDestroying)) delete sheet;
    return true;
}

// ---- closed pages ----

void TAdvPageControl::AddClosed(TAdvTabSheet* page) {
    FClosedList.emplace_back(page->Name(), page);
    page->FClosedBy = this;
    page->SetAdvPageControl(nullptr);
    UpdateClosedListButton();
}

void TAdvPageControl::ForgetClosed(TAdvTabSheet* page) {
    page->FClosedBy = nullptr;
    for (auto it = FClosedList.begin(); it != FClosedList.end(); ++it) {
        if (it->second == page) {
            FClosedList.erase(it);
            return;
        }
    }
}

void TAdvPageControl::ClosedPageDestroying(TAdvTabSheet* page, bool teardown) {
    // The owner frees its components one by one, the closed pages often before this
    // control: the state is saved while they all still exist.
    if (teardown && !FStateSaved && FPersistPagesState->Enabled() && !Designing()) {
        FStateSaved = true;
        CallGuarded(this, [this] { SavePagesState(); });
    }
    ForgetClosed(page);
    UpdateClosedListButton();
}

TAdvTabSheet* TAdvPageControl::FindPageByName(const std::wstring& name) const {
    const std::wstring wanted = UpperAscii(name);
    for (TAdvTabSheet* page : FPages)
        if (UpperAscii(page->Name()) == wanted) return page;
    return nullptr;
}

TAdvTabSheet* TAdvPageControl::FindPageByCaption(const std::wstring& caption) const {
    const std::wstring wanted = UpperAscii(caption);
    for (TAdvTabSheet* page : FPages)
        if (UpperAscii(page->Caption()) == wanted) return page;
    return nullptr;
}

bool TAdvPageControl::CloseOpenedTab(TAdvTabSheet* tab) {
    if (!tab || IndexOfPage(tab) < 0) return false;
    const std::wstring name = UpperAscii(tab->Name());
    for (const auto& entry : FClosedList) {
        // Pages without a name are told apart by themselves, not by the empty name.
        if (entry.second == tab || (!name.empty() && UpperAscii(entry.first) == name)) return false;
    }
    AddClosed(tab);
    return true;
}

bool TAdvPageControl::CloseOpenedTab(const std::wstring& tabName) { return CloseOpenedTab(FindPageByName(tabName)); }

bool TAdvPageControl::OpenClosedTab(const std::wstring& tabName) {
    const std::wstring wanted = UpperAscii(tabName);
    for (auto it = FClosedList.begin(); it != FClosedList.end(); ++it) {
        if (UpperAscii(it->first) != wanted) continue;
        TAdvTabSheet* page = it->second;
        FClosedList.erase(it);
        page->FClosedBy = nullptr;
        page->SetAdvPageControl(this);
        UpdateClosedListButton();
        return true;
    }
    return false;
}

void TAdvPageControl::OpenAllClosedTabs() {
    const auto closed = std::move(FClosedList);
    FClosedList.clear();
    for (const auto& entry : closed) {
        entry.second->FClosedBy = nullptr;
        entry.second->SetAdvPageControl(this);
    }
    UpdateClosedListButton();
}

TAdvTabSheet* TAdvPageControl::GetClosedTab(int index) const {
    if (index < 0 || index >= ClosedTabCount()) return nullptr;
    return FClosedList[size_t(index)].second;
}

bool TAdvPageControl::TabsOverflow() {
    if (MultiLine() || PageCount() == 0) return false;
    for (int i = 0; i < PageCount(); ++i)
        if (FPages[size_t(i)]->TabVisible() && TabRectOfPage(i).Left < 0) return true;
    for (int i = PageCount() - 1; i >= 0; --i)
        if (FPages[size_t(i)]->TabVisible() && TabRectOfPage(i).Right >= ClientWidth()) return true;
    return false;
}

void TAdvPageControl::UpdateClosedListButton() {
    if (!FClosedListButton) return;
    FClosedListButton->SetBounds(FClosedListButton->Left(), FClosedListButton->Top(), 18, 16);
    // Shown while there is something to reopen, and only while the list is wanted.
    const bool visible = !FClosedList.empty() && FShowClosedList;
    FClosedListButton->SetVisible(visible);
    if (!visible) return;
    if (!Designing()) FClosedListButton->SetFocusControl(this);
    FClosedListButton->SetHint(FClosedListButtonHint);
    TBitmap arrow;
    if (HBITMAP system = ::LoadBitmapW(nullptr, MAKEINTRESOURCEW(32738))) arrow.SetHandle(system);
    FClosedListButton->SetGlyph(&arrow);
    const int w = FClosedListButton->Width(), h = FClosedListButton->Height();
    int left = 0, top = 0;
    switch (TabPosition()) {
        case tpTop:
        case tpBottom:
            left = ClientWidth() - w - (TabsOverflow() ? 34 : 0);
            top = TabPosition() == tpTop ? 2 : ClientHeight() - h;
            break;
        case tpLeft:
        case tpRight:
            top = ClientHeight() - h - (!MultiLine() && TabsOverflow() ? 34 : 0);
            left = TabPosition() == tpLeft ? 1 : ClientWidth() - w;
            break;
    }
    FClosedListButton->SetBounds(left, top, w, h);
    FClosedListButton->BringToFront();
}

void TAdvPageControl::ShowClosedListMenu() {
    if (FClosedList.empty() || Designing()) return;
    TPopupMenu* menu = FClosedListMenu;
    if (!menu) {
        if (!FInternalMenu) {
            FInternalMenu = new TPopupMenu(this);
            FInternalMenu->FreeNotification(this);
        }
        menu = FInternalMenu;
    }
    menu->Items()->Clear();
    for (size_t i = 0; i < FClosedList.size(); ++i) {
        auto* item = new TMenuItem(this);
        item->SetCaption(FClosedList[i].second->Caption());
        item->SetTag(intptr_t(i));
        item->OnClick = [this](TObject* sender) { ClosedListItemClick(sender); };
        menu->Items()->Add(item);
    }
    TPoint point{FClosedListButton->Left() + Left(), FClosedListButton->Top() + FClosedListButton->Height() + Top()};
    if (Parent()) point = Parent()->ClientToScreen(point);
    if (OnClosedListClick) {
        OnClosedListClick(this, point.X, point.Y);
        return;
    }
    menu->Popup(point.X, point.Y);
}

void TAdvPageControl::ClosedListItemClick(TObject* sender) {
    auto item = dynamic_cast<TMenuItem*>(sender);
    if (!item || item->Tag() < 0 || item->Tag() >= ClosedTabCount()) return;
    OpenClosedTab(FClosedList[size_t(item->Tag())].first);
}

// ---- page state between runs ----

namespace {
// The two stores of the page state behind one set of calls.
class TStateStore {
public:
    TStateStore(TPersistenceLocation location, const std::wstring& key) {
        if (location == plRegistry) FRegistry = std::make_unique<TRegistryIniFile>(key);
        else FIni = std::make_unique<TIniFile>(key);
    }
    int ReadInteger(const std::wstring& section, const std::wstring& name, int fallback) {
        return FRegistry ? FRegistry->ReadInteger(section, name, fallback) : FIni->ReadInteger(section, name, fallback);
    }
    std::wstring ReadString(const std::wstring& section, const std::wstring& name, const std::wstring& fallback) {
        return FRegistry ? FRegistry->ReadString(section, name, fallback) : FIni->ReadString(section, name, fallback);
    }
    void WriteInteger(const std::wstring& section, const std::wstring& name, int value) {
        if (FRegistry) FRegistry->WriteInteger(section, name, value);
        else FIni->WriteInteger(section, name, value);
    }
    void WriteString(const std::wstring& section, const std::wstring& name, const std::wstring& value) {
        if (FRegistry) FRegistry->WriteString(section, name, value);
        else FIni->WriteString(section, name, value);
    }
private:
    std::unique_ptr<TRegistryIniFile> FRegistry;
    std::unique_ptr<TIniFile> FIni;
};
}  // namespace

void TAdvPageControl::SavePagesState() {
    const TPersistence& settings = *FPersistPagesState;
    if (settings.Key().empty() || settings.Section().empty() || Designing()) return;
    TStateStore store(settings.Location(), settings.Key());
    store.WriteInteger(settings.Section(), L"ClosedTabCount", ClosedTabCount());
    int n = 1;
    for (const auto& entry : FClosedList) {
        if (!entry.second) continue;
        const std::wstring name = entry.second->Name();
        store.WriteString(settings.Section(), L"Name" + std::to_wstring(n), name);
        store.WriteString(settings.Section(), name + L".Caption", entry.second->Caption());
        ++n;
    }
}

void TAdvPageControl::LoadPagesState() {
    const TPersistence& settings = *FPersistPagesState;
    if (settings.Key().empty() || settings.Section().empty() || Designing()) return;
    TStateStore store(settings.Location(), settings.Key());
    const int count = store.ReadInteger(settings.Section(), L"ClosedTabCount", 0);
    for (int i = 1; i <= count; ++i) {
        const std::wstring name = store.ReadString(settings.Section(), L"Name" + std::to_wstring(i), Name());
        const std::wstring caption = store.ReadString(settings.Section(), name + L".Caption", Name());
        TAdvTabSheet* page = FindPageByName(name);
        if (!page) page = FindPageByCaption(caption);
        if (page) CloseOpenedTab(page);
    }
}

// ---- close buttons ----

bool TAdvPageControl::IsOnCloseButton(int pageIndex, int x, int y) {
    if ((FClosePosition == cpLeftActive || FClosePosition == cpRightActive) && pageIndex != ActivePageIndex())
        return false;
    TRect r = TabRectOfPage(pageIndex);
    const int cw = CloseWidth(), ch = CloseHeight();
    const bool rightKind = FClosePosition == cpRight || FClosePosition == cpRightActive;
    TRect box;
    if (TabPosition() == tpLeft) {
        r.Left += FTabMargin->LeftMargin();
        if (rightKind) r.Bottom = r.Top + FTabMargin->RightMargin() + ch;
        else r.Bottom -= FTabMargin->TopMargin();
        if (!FTabBackGroundActive->Empty()) {
            r.Left += 2;
            r.Bottom += FTabOverlap;
        }
        box = TRect{r.Left + 2, r.Bottom - ch, r.Left + cw, r.Bottom - 2};
    } else if (rightKind) {
        int left, top;
        if (TabPosition() == tpRight) {
            left = r.Left + FTabMargin->LeftMargin();
            top = r.Bottom - FTabMargin->RightMargin() - ch;
        } else {
            left = r.Right - FTabMargin->RightMargin() - cw;
            top = r.Top + FTabMargin->TopMargin();
        }
        box = TRect{left, top, left + cw, top + ch};
    } else {
        const int left = r.Left + FTabMargin->LeftMargin(), top = r.Top + FTabMargin->TopMargin();
        box = TRect{left + 2, top + 2, left + cw, top + ch};
    }
    return x >= box.Left && x < box.Right && y >= box.Top && y < box.Bottom;
}

void TAdvPageControl::DrawCloseButton(TCanvas* canvas, const TRect& t, bool active, TCloseState state) {
    const int cw = CloseWidth(), ch = CloseHeight();
    const int e = active ? FLowerActive : 0;
    const bool rightKind = FClosePosition == cpRight || FClosePosition == cpRightActive;
    TRect box;
    TPoint picture;
    switch (TabPosition()) {
        case tpTop:
        case tpBottom: {
            const int x0 = rightKind ? t.Right - FTabMargin->RightMargin() - cw : t.Left + FTabMargin->LeftMargin();
            const int y0 = t.Top + FTabMargin->TopMargin() + e;
            box = TRect{x0 + 2, y0 + 2, x0 + cw, y0 + ch};
            picture = {x0 + 2, y0 + 2};
            break;
        }
        case tpLeft: {
            const int x0 = t.Left + FTabMargin->LeftMargin() + e;
            int yb = rightKind ? t.Top + FTabMargin->RightMargin() + ch : t.Bottom - FTabMargin->TopMargin();
            if (!FTabBackGroundActive->Empty()) yb += FTabOverlap;
            box = TRect{x0 + 2, yb - ch, x0 + cw, yb - 2};
            picture = {x0 + 2, yb - ch};
            break;
        }
        case tpRight: {
            const int x0 = t.Left + FTabMargin->LeftMargin() - e + 2;
            const int y0 = rightKind ? t.Bottom - FTabMargin->RightMargin() - ch : t.Top + FTabMargin->TopMargin();
            box = TRect{x0 + 2, y0 + 2, x0 + cw, y0 + ch};
            picture = {x0 + 2, y0 + 2};
            break;
        }
    }
    TCanvasStateScope keep(canvas);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    if (!FCloseGlyph->Empty()) {
        const int w = std::min(FCloseGlyph->Width(), cw - 2), h = std::min(FCloseGlyph->Height(), ch - 2);
        StretchTransparentFrom(canvas->Handle(), PictureDC(FCloseGlyph.get()), picture.X, picture.Y, w, h,
                               CornerColour(FCloseGlyph.get(), true), 0, 0, w, h);
        return;
    }
    const TColor brush = state == csPressed ? clSilver : clWhite;
    const TColor outline = state == csNormal ? clGray : clBlack;
    const TColor cross = state == csHot ? clGray : clBlack;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(brush);
    canvas->Pen()->SetColor(outline);
    canvas->Rectangle(box);
    const int pw = RoundScaled(FDPIScale, 2);
    canvas->Pen()->SetColor(cross);
    canvas->Pen()->SetWidth(pw);
    Line(canvas, box.Left + pw, box.Top + pw, box.Right - 2 * pw, box.Bottom - 2 * pw);
    Line(canvas, box.Right - 2 * pw, box.Top + pw, box.Left + pw, box.Bottom - 2 * pw);
}

void TAdvPageControl::DrawCloseButtonNow(TCloseState state) {
    if (!FActivePage || !HandleAllocated()) return;
    TCanvas* canvas = OwnCanvas();
    DrawCloseButton(canvas, TabRectOfPage(ActivePageIndex()), true, state);
    FCanvas->ReleaseWindowDC();
}

// ---- painting ----

void TAdvPageControl::DrawTabFocus(TCanvas* canvas, const TRect& r, bool active, int shift) {
    if (Designing() || !FShowFocus || !active || !Focused()) return;
    TCanvasStateScope keep(canvas);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetStyle(psDot);
    if (TabPosition() == tpTop || TabPosition() == tpBottom)
        canvas->Rectangle(r.Left + 5, r.Top + 3, r.Right - 5 - shift, r.Bottom - 3);
    else
        canvas->Rectangle(r.Left + 5, r.Top + 3, r.Right - 5, r.Bottom - 3 - shift);
}

namespace {
// Gives the canvas a font (turned by `orientation`), making a new GDI font only when more
// than the colour changes: a paint switches fonts for every tab.
void UseFont(TCanvas* canvas, const TFont* font, int orientation = 0) {
    TFont* current = canvas->Font();
    if (current->Name() != font->Name() || current->Height() != font->Height() ||
        !(current->Style() == font->Style()) || current->Charset() != font->Charset() ||
        current->Pitch() != font->Pitch() || current->Quality() != font->Quality() ||
        current->Orientation() != orientation) {
        current->Assign(font);
        current->SetOrientation(orientation);
    }
    current->SetColor(font->Color());
}

// A font turned for side tabs: upwards on left tabs, downwards on right tabs.
void RotateFont(TCanvas* canvas, const TFont* font, TTabPosition position) {
    UseFont(canvas, font, position == tpLeft ? -2700 : -900);
}
}  // namespace

void TAdvPageControl::DrawTabContent(TCanvas* canvas, TAdvTabSheet* page, const TRect& t, int x0, int y0, bool active,
                                     bool deferred) {
    const TTabPosition position = TabPosition();
    const bool side = position == tpLeft || position == tpRight;
    const bool custom = static_cast<bool>(OnDrawTab);
    if (page->ShowClose() && (deferred || FClosePosition == cpLeft || FClosePosition == cpRight || active))
        DrawCloseButton(canvas, t, active, csNormal);
    if (!custom && FImages && page->ImageIndex() >= 0) {
        const int iw = FImages->Width(), ih = FImages->Height();
        switch (position) {
            case tpTop:
            case tpBottom: {
                int iy = y0;
                if (!deferred && TabHeight() > 0 && ih < TabHeight()) iy = y0 + (TabHeight() - ih) / 2;
                FImages->Draw(canvas, x0 - 2, iy, page->ImageIndex(), page->Enabled());
                x0 += iw;
                break;
            }
            case tpLeft:
                FImages->Draw(canvas, deferred ? x0 : x0 + 1, y0 - 14, page->ImageIndex(), page->Enabled());
                y0 -= ih;
                break;
            case tpRight:
                FImages->Draw(canvas, deferred ? x0 - 14 : x0 - 18, y0, page->ImageIndex(), page->Enabled());
                y0 += ih;
                break;
        }
    }
    if (side) RotateFont(canvas, active ? FActiveFont.get() : Font(), position);
    else UseFont(canvas, active ? FActiveFont.get() : Font());
    if (!active) canvas->Font()->SetColor(page->TextColor());
    if (!page->TabEnable()) canvas->Font()->SetColor(clGray);
    if (!page->Enabled()) canvas->Font()->SetColor(clGrayText);
    if (!custom) {
        canvas->Brush()->SetStyle(bsClear);
        std::wstring caption = page->Caption();
        if (side) {
            canvas->TextOut(x0, y0, caption);
        } else {
            TRect r = t;
            r.Left = x0;
            r.Top = deferred && position == tpBottom ? y0 - 2 : y0;
            if (caption.find(L'\r') != std::wstring::npos && TabHeight() >= 1) {
                TRect measured = r;
                std::wstring text = caption;
                canvas->TextRect(measured, text, TTextFormat{tfWordBreak, tfVerticalCenter, tfCalcRect, tfNoClip});
                r.Top += (TabHeight() - measured.Height()) / 2;
                r.Bottom = r.Top + TabHeight();
                canvas->TextRect(r, caption, TTextFormat{tfWordBreak, tfVerticalCenter, tfNoClip});
            } else {
                canvas->TextRect(r, caption, TTextFormat{tfSingleLine, tfVerticalCenter, tfNoClip});
            }
        }
    }
    if (active) UseFont(canvas, Font());
}

void TAdvPageControl::DrawTabOnCanvas(TCanvas* canvas, int i, int& e, int maxBottom, int minTop, int minLeft,
                                      int maxRight, TBitmap* work, int& deferredPage, TRect& deferredRect) {
    (void)minLeft;
    TAdvTabSheet* page = FPages[size_t(i)];
    const TTabPosition position = TabPosition();
    const int W = Width(), H = Height();
    const TRect t = TabRectOfPage(i);
    TRect r = t;
    const bool active = i == ActivePageIndex();
    const bool custom = static_cast<bool>(OnDrawTab);
    if (custom) OnDrawTab(this, i, t, active);
    if (!FTabBackGround->Empty()) work->SetSize(FTabBackGround->Width(), FTabBackGround->Height());

    // Colours of the body.
    TColor from, to;
    TGradientDirection direction;
    if (active && FActiveColor != clNone) {
        from = FActiveColor, to = FActiveColorTo, direction = page->TabGradientDirection();
    } else if (i == FHoverPage && (FTabHoverColor != clNone || FTabHoverColorTo != clNone)) {
        from = FTabHoverColor, to = FTabHoverColorTo, direction = page->HoverGradientDirection();
    } else {
        from = page->TabColor(), to = page->TabColorTo(), direction = page->TabGradientDirection();
    }
    const bool horizontal = direction == gdHorizontal;

    // Text origin, after the room of a close button at the start.
    const bool closeFirst = page->ShowClose() && (FClosePosition == cpLeft || (FClosePosition == cpLeftActive && active));
    const int cw = closeFirst ? CloseWidth() : 0, ch = closeFirst ? CloseHeight() : 0;
    int x0 = 0, y0 = 0;
    switch (position) {
        case tpTop: x0 = r.Left + 4 + cw; y0 = r.Top + 1 + (active ? FLowerActive : 0); break;
        case tpBottom: r.Bottom += 1; x0 = r.Left + 4 + cw; y0 = r.Top + (active ? FLowerActive + 1 : 0); break;
        case tpLeft: y0 = r.Bottom - 4 - ch; x0 = r.Left + 1 + (active ? FLowerActive : 0); break;
        case tpRight: y0 = r.Top + 4 + ch; x0 = r.Right - 1 - (active ? FLowerActive : 0); break;
    }

    auto body = [&](TRect area, bool shortenRight, bool shortenBottom) {
        if (from == clNone) return;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(from);
        if (to != clNone) {
            if (shortenRight) area.Right -= 1;
            if (shortenBottom) area.Bottom -= 1;
            DrawGradient(canvas, from, to, horizontal, area, 16);
        } else {
            canvas->FillRect(area);
        }
    };
    if (FTabBackGround->Empty()) {
        if (!custom) {
            switch (position) {
                case tpTop: r.Top -= 1; body(r, horizontal, true); break;
                case tpBottom: body(r, horizontal, !horizontal); break;
                case tpLeft: r.Left -= 1; body(r, true, !horizontal); break;
                case tpRight: body(r, false, !active && !horizontal); break;
            }
        }
        if (position == tpRight) r.Right += 1;
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(FTabBorderColor);
        canvas->Pen()->SetWidth(1);
        const int L = r.Left, Tp = r.Top, Rt = r.Right, B = r.Bottom;
        bool last = false, nextActive = false;
        if (!active) {
            last = (position == tpTop || position == tpBottom) ? Rt > maxRight - 3 : B > maxBottom - 3;
            nextActive = FindNextPage(page, true, true) == FActivePage && FActivePage;
        }
        const bool separator = !nextActive || last;
        // The edge toward the sheet of an inactive tab in the two flat styles.
        auto inactiveEdge = [&] {
            switch (position) {
                case tpTop: Line(canvas, L, B, Rt, B); break;
                case tpBottom: Line(canvas, L, Tp - 1, Rt, Tp - 1); break;
                case tpLeft: Line(canvas, Rt, Tp, Rt, B); break;
                case tpRight: Line(canvas, L - 1, Tp, L - 1, B); break;
            }
        };
        switch (FTabStyle) {
            case tsClassic:
                if (active) {
                    switch (position) {
                        case tpTop: Poly(canvas, {{L, B - 1}, {L, Tp}, {Rt, Tp}, {Rt, B}}); break;
                        case tpBottom: Poly(canvas, {{L, Tp}, {L, B}, {Rt, B}, {Rt, Tp - 1}}); break;
                        case tpLeft: Poly(canvas, {{Rt - 1, Tp}, {L, Tp}, {L, B}, {Rt, B}}); break;
                        case tpRight: Poly(canvas, {{L, Tp}, {Rt - 1, Tp}, {Rt - 1, B}, {L - 1, B}}); break;
                    }
                } else {
                    // A tab in a row away from the sheet does not reach into its border.
                    if ((position == tpTop && B < maxBottom) || (position == tpBottom && Tp > minTop) ||
                        (position == tpLeft && Rt < maxRight) || (position == tpRight && L > minLeft))
                        e = 0;
                    const int farH = Rt > W - 5 ? 0 : 1;
                    const int farV = B > H - 5 ? 0 : 1;
                    switch (position) {
                        case tpTop: canvas->Rectangle(L, Tp, Rt + farH, B + e); break;
                        case tpBottom: canvas->Rectangle(L, Tp - e, Rt + farH, B); y0 += 2; break;
                        case tpLeft: canvas->Rectangle(L, Tp, Rt + e, B + farV); break;
                        case tpRight: canvas->Rectangle(L - e, Tp, Rt, B + farV); break;
                    }
                    if (!FTabSheet3D && !FTabSplitLine) e = 1;
                }
                break;
            case tsDotNet:
                if (active) {
                    switch (position) {
                        case tpTop: Poly(canvas, {{L, B}, {L, Tp}, {Rt, Tp}, {Rt, B}}); break;
                        case tpBottom: Poly(canvas, {{L, Tp - 1}, {L, B}, {Rt, B}, {Rt, Tp - 1}}); break;
                        case tpLeft: Poly(canvas, {{Rt, Tp}, {L, Tp}, {L, B}, {Rt, B}}); break;
                        case tpRight: Poly(canvas, {{L - 1, Tp}, {Rt - 1, Tp}, {Rt - 1, B}, {L - 1, B}}); break;
                    }
                } else {
                    inactiveEdge();
                    if (separator) {
                        canvas->Pen()->SetColor(FActiveColor);
                        if (position == tpTop || position == tpBottom) {
                            Line(canvas, Rt - 2, B - 3, Rt - 2, Tp + 2);
                            Line(canvas, Rt - 3, B - 3, Rt - 3, Tp + 2);
                        } else {
                            Line(canvas, L + 2, B - 2, Rt - 2, B - 2);
                            Line(canvas, L + 2, B - 3, Rt - 2, B - 3);
                        }
                    }
                }
                break;
            case tsVestra:
                if (active) {
                    switch (position) {
                        case tpTop: Line(canvas, L, B, L, Tp); Line(canvas, Rt, Tp, Rt, B); break;
                        case tpBottom: Line(canvas, L, Tp - 1, L, B); Line(canvas, Rt, B - 1, Rt, Tp - 1); break;
                        case tpLeft: Line(canvas, Rt, Tp, L, Tp); Line(canvas, L, B, Rt, B); break;
                        case tpRight: Line(canvas, L - 1, Tp, Rt - 1, Tp); Line(canvas, Rt - 1, B, L - 1, B); break;
                    }
                } else {
                    inactiveEdge();
                    if (separator) {
                        switch (position) {
                            case tpTop: {
                                const int x = i == 0 ? Rt - 2 : Rt;
                                Line(canvas, x, B, x, Tp);
                                break;
                            }
                            case tpBottom: Line(canvas, Rt - 2, B - 1, Rt - 2, Tp - 1); break;
                            case tpLeft:
                            case tpRight: Line(canvas, L, B - 2, Rt, B - 2); break;
                        }
                    }
                }
                break;
        }
    } else {
        switch (position) {
            case tpTop: break;
            case tpBottom: y0 += 3; break;
            case tpLeft: x0 -= 2; y0 -= 3; break;
            case tpRight: x0 -= TabHeight() / 3; y0 -= 3; break;
        }
        if (!custom) {
            if (active && !FTabBackGroundActive->Empty()) {
                work->Assign(FTabBackGroundActive.get());
                deferredPage = i;
                deferredRect = r;
            } else {
                work->Assign(FTabBackGround.get());
                const int L = r.Left, Tp = r.Top, Rt = r.Right, B = r.Bottom;
                switch (position) {
                    case tpTop: DrawSlicedH(work, canvas, L - 1, Rt - L + 2 + FTabOverlap, Tp - 2); break;
                    case tpBottom: DrawSlicedH(work, canvas, L - 2, Rt - L + 2 + FTabOverlap, Tp - 1); break;
                    case tpLeft: DrawSlicedV(work, canvas, L, B - Tp + 3 + FTabOverlap, Tp); break;
                    case tpRight: DrawSlicedV(work, canvas, L - 1, B - Tp + 3 + FTabOverlap, Tp - 2); break;
                }
            }
        }
    }

    // Content: margins first.
    if (position == tpLeft) {
        x0 += FTabMargin->LeftMargin();
        y0 -= FTabMargin->TopMargin();
        if (!FTabBackGroundActive->Empty()) y0 += FTabOverlap + 3;
    } else {
        x0 += FTabMargin->LeftMargin();
        y0 += FTabMargin->TopMargin();
    }
    if (deferredPage == i) {
        deferredRect = r;
        FDeferredOrigin = {x0, y0};
        return;
    }
    DrawTabContent(canvas, page, t, x0, y0, active, false);
    DrawTabFocus(canvas, r, active, 0);
}

void TAdvPageControl::DrawDeferredTab(TCanvas* canvas, int i, TRect r, TBitmap* work) {
    TAdvTabSheet* page = FPages[size_t(i)];
    work->Assign(FTabBackGroundActive.get());
    const int L = r.Left, Tp = r.Top, Rt = r.Right, B = r.Bottom;
    const bool lowered = FLowerActive >= 1;
    switch (TabPosition()) {
        case tpTop: DrawSlicedH(work, canvas, L - 2, Rt - L + 2 + FTabOverlap, lowered ? Tp - 1 : Tp - 2); break;
        case tpBottom: DrawSlicedH(work, canvas, L - 2, Rt - L + 2 + FTabOverlap, lowered ? Tp - 3 : Tp - 1); break;
        case tpLeft: DrawSlicedV(work, canvas, lowered ? L + 1 : L, B - Tp + 3 + FTabOverlap, Tp); break;
        case tpRight: DrawSlicedV(work, canvas, lowered ? L - 3 : L - 1, B - Tp + 3 + FTabOverlap, Tp - 2); break;
    }
    DrawTabContent(canvas, page, TabRectOfPage(i), FDeferredOrigin.X, FDeferredOrigin.Y, true, true);
    DrawTabFocus(canvas, r, true, FTabOverlap);
}

void TAdvPageControl::DrawAllTabs(TCanvas* canvas) {
    if (FUpdateCount > 0 || !HandleAllocated()) return;
    TCanvasStateScope keep(canvas);
    const TTabPosition position = TabPosition();
    const int W = Width(), H = Height();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Parent() ? Parent()->Color() : clBtnFace);
    UseFont(canvas, Font());

    // Extents of the strip, clearing behind every tab on the way.
    int maxBottom = 0, minTop = TabRect(0).Top, minLeft = W, maxRight = 0;
    bool anyVisible = false;
    for (int i = PageCount() - 1; i >= 0; --i) {
        if (!FPages[size_t(i)]->TabVisible()) continue;
        anyVisible = true;
        TRect r = TabRectOfPage(i);
        maxBottom = std::max(maxBottom, r.Bottom);
        minTop = std::min(minTop, r.Top);
        minLeft = std::min(minLeft, r.Left);
        maxRight = std::max(maxRight, r.Right);
        r.Right += 2;
        switch (position) {
            case tpTop: r.Left -= 2; r.Top -= 2; break;
            case tpBottom: r.Left -= 2; r.Bottom += 2; break;
            case tpLeft: r.Left -= 2; r.Top -= 2; r.Right -= 2; r.Bottom += 2; break;
            case tpRight: r.Top -= 2; r.Bottom += 2; break;
        }
        canvas->FillRect(r);
    }
    if (!anyVisible) {
        switch (position) {
            case tpTop: maxBottom = 2; break;
            case tpBottom: minTop = H - 2; break;
            case tpLeft: maxRight = 2; break;
            case tpRight: minLeft = W - 2; break;
        }
    }
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    if (!MultiLine()) {
        if (position == tpTop) {
            canvas->Brush()->SetColor(Color());
            canvas->FillRect(TRect{W - 35, 0, W, maxBottom});
            canvas->Pen()->SetColor(clWhite);
            Line(canvas, std::max(W - 35, maxRight), maxBottom, W, maxBottom);
        } else if (position == tpBottom) {
            canvas->Brush()->SetColor(Color());
            canvas->FillRect(TRect{W - 35, minTop, W, H});
            canvas->Pen()->SetColor(cl3DDkShadow);
            Line(canvas, std::max(W - 35, maxRight), minTop - 1, W, minTop - 1);
        }
    }
    canvas->Brush()->SetColor(FTabBackGroundColor);
    const int sideBottom = FFullRefresh ? H - 1 : H;
    switch (position) {
        case tpTop: canvas->FillRect(TRect{0, 0, W, maxBottom}); break;
        case tpBottom: canvas->FillRect(TRect{0, minTop, W, H}); break;
        case tpLeft: canvas->FillRect(TRect{0, 0, maxRight, sideBottom}); break;
        case tpRight: canvas->FillRect(TRect{minLeft, 0, W, sideBottom}); break;
    }

    // The frame of a coloured page, drawn in a ring just inside the sheet border.
    const int k = FTabSheet3D ? 1 : 0;
    const bool coloured = FActivePage && (FActivePage->Color() != clNone || FActivePage->ColorTo() != clNone);
    if (coloured) {
        TRect outer, inner, band;
        switch (position) {
            case tpTop:
                outer = {1, maxBottom + k, W - 1, H - 1}; inner = {4, maxBottom + 4, W - 4, H - 4};
                band = {1, maxBottom + 1, W - 1, maxBottom + 4};
                break;
            case tpBottom:
                outer = {1, 1, W - 1, minTop - k}; inner = {4, 4, W - 4, minTop - 4}; band = {1, 1, W - 1, 4};
                break;
            case tpLeft:
                outer = {maxRight + k, 1, W - 1, H - 1}; inner = {maxRight + 4, 4, W - 4, H - 4};
                band = {maxRight + k, 1, W - 1, 4};
                break;
            case tpRight:
                outer = {1, 1, minLeft - k, H - 1}; inner = {4, 4, minLeft - 4, H - 4}; band = {1, 1, minLeft - k, 4};
                break;
        }
        HDC dc = canvas->Handle();
        TOwnedRegion ring(::CreateRectRgn(outer.Left, outer.Top, outer.Right, outer.Bottom));
        TOwnedRegion hole(::CreateRectRgn(inner.Left, inner.Top, inner.Right, inner.Bottom));
        if (ring && hole) {
            ::CombineRgn(ring.get(), ring.get(), hole.get(), RGN_DIFF);
            ::SelectClipRgn(dc, ring.get());
            canvas->Pen()->SetColor(FActivePage->Color());
            canvas->Brush()->SetColor(FActivePage->Color());
            if (FActivePage->ColorTo() != clNone) {
                DrawGradient(canvas, FActivePage->Color(), FActivePage->ColorTo(), false, TRect{0, 0, W, H}, 16);
                canvas->Pen()->SetColor(FActivePage->Color());
                canvas->Brush()->SetColor(FActivePage->Color());
                canvas->Rectangle(band);
            } else {
                canvas->Rectangle(0, 0, W, H);
            }
            ::SelectClipRgn(dc, nullptr);
        }
    }

    if (!FTabSheet3D) {
        canvas->Pen()->SetColor(FTabSheetBorderColor);
        switch (position) {
            case tpTop:
                Line(canvas, 0, maxBottom, 0, H); Line(canvas, 0, H - 1, W, H - 1);
                Line(canvas, W - 1, H - 2, W - 1, maxBottom); Line(canvas, 0, maxBottom, W, maxBottom);
                if (!coloured) {
                    canvas->Pen()->SetColor(Color());
                    Line(canvas, 1, H - 2, W - 1, H - 2); Line(canvas, W - 2, H - 2, W - 2, maxBottom);
                }
                break;
            case tpBottom:
                Line(canvas, 0, 0, 0, minTop); Line(canvas, 0, minTop - 1, W, minTop - 1);
                Line(canvas, W - 1, minTop - 1, W - 1, 0); Line(canvas, 0, 0, W, 0);
                if (!coloured) {
                    canvas->Pen()->SetColor(Color());
                    Line(canvas, 1, minTop - 2, W - 1, minTop - 2); Line(canvas, W - 2, minTop - 2, W - 2, 0);
                }
                break;
            case tpLeft:
                Line(canvas, maxRight, 0, maxRight, H); Line(canvas, maxRight, H - 2, W - 2, H - 2);
                Line(canvas, W - 2, H, W - 2, 0); Line(canvas, W - 2, 0, maxRight, 0);
                canvas->Pen()->SetColor(Color());
                Line(canvas, maxRight, H - 1, W - 1, H - 1); Line(canvas, W - 1, H - 1, W - 1, -1);
                break;
            case tpRight:
                Line(canvas, 0, 0, 0, H); Line(canvas, 0, H - 2, minLeft, H - 2);
                Line(canvas, minLeft - 1, H, minLeft - 1, 0); Line(canvas, minLeft - 1, 0, 0, 0);
                canvas->Pen()->SetColor(Color());
                Line(canvas, 0, H - 1, minLeft, H - 1);
                if (!coloured) Line(canvas, minLeft - 2, H - 3, minLeft - 2, 0);
                break;
        }
        if (FRoundEdges) {
            // The corners away from the strip, given as (along, depth from the far edge);
            // a negative "along" counts from the end.
            const bool sideStrip = position == tpLeft || position == tpRight;
            const int length = sideStrip ? H : W;
            auto at = [&](int along, int depth) -> TPoint {
                const int a = along < 0 ? length + along : along;
                switch (position) {
                    case tpTop: return {a, H - 1 - depth};
                    case tpBottom: return {a, depth};
                    case tpLeft: return {W - 1 - depth, a};
                    case tpRight: return {depth, a};
                }
                return {a, depth};
            };
            auto poly = [&](std::initializer_list<std::pair<int, int>> points) {
                auto it = points.begin();
                const TPoint first = at(it->first, it->second);
                canvas->MoveTo(first.X, first.Y);
                for (++it; it != points.end(); ++it) {
                    const TPoint p = at(it->first, it->second);
                    canvas->LineTo(p.X, p.Y);
                }
            };
            canvas->Pen()->SetColor(Color());
            poly({{0, 3}, {0, 0}, {4, 0}});
            poly({{-4, 0}, {-1, 0}, {-1, 4}});
            canvas->Pen()->SetColor(FTabSheetBorderColor);
            poly({{1, 3}, {1, 1}});
            poly({{2, 1}, {4, 1}});
            poly({{-4, 1}, {-2, 1}});
            poly({{-2, 2}, {-2, 4}});
        }
    }

    int e = 0;
    if (!FTabSheet3D && !FTabSplitLine && PageCount() > 0 && anyVisible) {
        e = 1;
        TColor pen = Color();
        if (coloured) {
            pen = FActivePage->Color();
            if (position == tpBottom && FActivePage->ColorTo() != clNone) pen = FActivePage->ColorTo();
        }
        canvas->Pen()->SetColor(pen);
        switch (position) {
            case tpTop: Line(canvas, 3, maxBottom, maxRight + FTabOverlap, maxBottom); break;
            case tpBottom: Line(canvas, 2, minTop - 1, maxRight + FTabOverlap, minTop - 1); break;
            case tpLeft: {
                const int extra = FTabStyle == tsClassic && !FTabBackGround->Empty() ? 2 : 0;
                Line(canvas, maxRight, 2, maxRight, maxBottom + FTabOverlap + extra);
                break;
            }
            case tpRight: Line(canvas, minLeft - 1, maxBottom + FTabOverlap - 1, minLeft - 1, 2); break;
        }
    }

    TBitmap work;
    int deferredPage = -1;
    TRect deferredRect;
    for (int i = PageCount() - 1; i >= 0; --i) {
        if (!FPages[size_t(i)]->TabVisible()) continue;
        DrawTabOnCanvas(canvas, i, e, maxBottom, minTop, minLeft, maxRight, &work, deferredPage, deferredRect);
    }
    if (deferredPage >= 0 && !OnDrawTab) DrawDeferredTab(canvas, deferredPage, deferredRect, &work);

    if (FHoverPage >= 0 && FHoverPage < PageCount() && FTabHoverBorder != clNone && FHoverPage != ActivePageIndex()) {
        TRect r = TabRectOfPage(FHoverPage);
        canvas->Pen()->SetColor(FTabHoverBorder);
        canvas->Pen()->SetWidth(1);
        switch (position) {
            case tpTop:
                r.Top -= 1;
                if (r.Right > W - 5) r.Right -= 1;
                Poly(canvas, {{r.Left, r.Bottom - 2}, {r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom - 1}});
                break;
            case tpBottom:
                if (r.Right > W - 5) r.Right -= 1;
                Poly(canvas, {{r.Left, r.Top + 1}, {r.Left, r.Bottom}, {r.Right, r.Bottom}, {r.Right, r.Top}});
                break;
            case tpLeft:
                r.Left -= 1;
                r.Top -= 2;
                if (r.Bottom > H - 5) r.Bottom -= 1;
                Poly(canvas, {{r.Right - 1, r.Top + 2}, {r.Left, r.Top + 2}, {r.Left, r.Bottom}, {r.Right, r.Bottom}});
                break;
            case tpRight:
                r.Left += 1;
                if (r.Bottom > H - 5) r.Bottom -= 1;
                Poly(canvas, {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}});
                break;
        }
    }
}

}  // namespace AdvPageControl
