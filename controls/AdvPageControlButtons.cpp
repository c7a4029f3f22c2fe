// The page control's small buttons: the push or drop-down speed button and its windowed
// holder, which serves as the closed-list button.
#include "controls/AdvPageControl.h"

#include <algorithm>

#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "controls/AdvPageControlShared.h"
#include "graphics/ATXPVS.h"
#include "graphics/AdvStyleIF.h"

namespace AdvPageControl {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TPCSpeedButton, TSpeedButton)
CLASSLIB_IMPLEMENT(TPCButton, TWinControl)

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
    // The classic look draws an arrow of its own rather than the system's combo arrow
    // picture: a glyph's transparent colour is taken from its bottom-left pixel, and under
    // Wine that picture has a black bottom row, so its black arrow vanished with it.
    const TRect client = ClientRect();
    const bool down = Pressed();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(client);
    RECT edge = ToRECT(client);
    if (!Flat()) ::DrawEdge(canvas->Handle(), &edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    else if (down || (FHot && Enabled())) ::DrawEdge(canvas->Handle(), &edge, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const int w = Width(), h = Height();
    const TPixelRuns arrow = DropDownArrow(w, h, down);
    canvas->Pen()->SetColor(Enabled() ? clBtnText : clGrayText);
    canvas->Pen()->SetWidth(1);
    for (const TPixelRun& row : arrow) Line(canvas, row.Left, row.Y, row.Right, row.Y);
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

}  // namespace AdvPageControl
