// The memo's window: creation, the real font's measure, caret, the window's own scroll
// bars and the hooks the model calls when something must be shown again.
#include "editor/AdvMemo.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "classlib/Application.h"
#include "classlib/GdiScopes.h"

namespace AdvMemo {

namespace {

// Measures with GDI on a memory DC, so it works before the window exists.
class TGdiTextMeasure final : public ITextMeasure {
public:
    TGdiTextMeasure() : FDC(::CreateCompatibleDC(nullptr)) {}

    void SetFont(const std::wstring& name, int height, bool bold) override {
        if (!FDC) return;
        ClassLib::TOwnedFont font(::CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name.c_str()));
        if (!font) return;
        // The old selection ends first, so the DC's own font is the one put back at the end,
        // and the old font is freed only once it is no longer selected.
        FSelection.reset();
        FSelection.emplace(FDC.get(), font.get());
        FFont = std::move(font);
    }
    int TextWidth(const std::wstring& text) override { return Extent(text).cx; }
    int TextHeight(const std::wstring& text) override { return Extent(text).cy; }

private:
    SIZE Extent(const std::wstring& text) {
        SIZE size{0, 0};
        if (FDC) ::GetTextExtentPoint32W(FDC.get(), text.c_str(), int(text.size()), &size);
        return size;
    }
    ClassLib::TOwnedDC FDC;
    ClassLib::TOwnedFont FFont;
    std::optional<ClassLib::TSelection> FSelection;  // declared last: deselects before the font goes
};

bool WantsVertical(TScrollStyle style) { return style == ssVertical || style == ssBoth; }
bool WantsHorizontal(TScrollStyle style) { return style == ssHorizontal || style == ssBoth; }

void ApplyBar(HWND window, int bar, const TScrollBarModel& model) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = model.Min;
    info.nMax = model.Max;
    info.nPage = UINT(std::max(0, model.PageSize));
    info.nPos = model.Position;
    ::SetScrollInfo(window, bar, &info, TRUE);
}

}  // namespace

void TAdvCustomMemo::InitWindow() {
    FWidth = 100;
    FHeight = 40;
    SetParentFont(false);  // a form's proportional font would turn the grid into FixedSys
    SetTabStop(true);
    SetControlStyle(ControlStyle() | ClassLib::csOpaque);
    SyncFontObject();
    FGutter = std::make_unique<TAdvGutter>(this);
    FActiveLineSettings = std::make_unique<TAdvActiveLineSettings>(this);
    FUrlStyle = std::make_unique<TCharStyle>(ClassLib::clBlue, ClassLib::clWhite, ClassLib::TFontStyles{} + ClassLib::fsUnderline);
}

void TAdvCustomMemo::SyncFontObject() {
    FSyncingFont = true;
    Font()->SetName(FFontName);
    Font()->SetHeight(FFontHeight);
    FSyncingFont = false;
}

void TAdvCustomMemo::ChangeScale(int m, int d) {
    ClassLib::TCustomControl::ChangeScale(m, d);
    if (m <= 0 || d <= 0 || m == d) return;
    // Pixel sizes follow the bounds; a font given in points already suits the screen.
    ClassLib::TFont* gutterFont = FGutter->Font();
    if (!gutterFont->PointSized()) gutterFont->SetHeight(::MulDiv(gutterFont->Height(), m, d));
    const int margin = FGutter->GutterMargin();
    FGutter->SetGutterWidth(::MulDiv(FGutterWidth, m, d));
    FGutter->SetGutterMargin(::MulDiv(margin, m, d));
    FDPIScale = FDPIScale * float(m) / float(d);
    FScrollBarSize = int(std::lround(16 * FDPIScale));
    UpdateLayout();
}

void TAdvCustomMemo::FontChanged() {
    if (!FSyncingFont) {
        FFontName = Font()->Name();
        FFontHeight = Font()->Height();
        ApplyFont();
        if (FFontName != Font()->Name()) SyncFontObject();
        MeasureBoldWidth();
        if (FCaretCreated) {
            // The caret takes the new line height.
            ::DestroyCaret();
            FCaretCreated = false;
            FCaretShown = false;
            if (FCaretVisible) ShowCaret(true);
        }
        UpdateLayout();
    }
    ClassLib::TCustomControl::FontChanged();
}

void TAdvCustomMemo::EnsureMeasure() {
    if (FMeasure) return;
    FOwnMeasure = std::make_unique<TGdiTextMeasure>();
    SetTextMeasure(FOwnMeasure.get());
    SyncFontObject();
    MeasureBoldWidth();
}

void TAdvCustomMemo::MeasureBoldWidth() {
    if (!FMeasure) return;
    FMeasure->SetFont(FFontName, FFontHeight, true);
    const int bold = FMeasure->TextWidth(L"W");
    FMeasure->SetFont(FFontName, FFontHeight, false);
    FNoRealFixedWidth = bold > FMeasure->TextWidth(L"W");
}

void TAdvCustomMemo::CreateParams(ClassLib::TCreateParams& params) {
    ClassLib::TCustomControl::CreateParams(params);
    // The memo draws its own border and background; the system adds only the scroll bars.
    params.Style |= WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL;
    params.WindowClass.style |= CS_DBLCLKS;
    params.WindowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
}

void TAdvCustomMemo::CreateWnd() {
    EnsureMeasure();
    ClassLib::TCustomControl::CreateWnd();
    if (!FLoading) ApplyStyleColors(false);
    UpdateLayout();
    ScrollBarsChanged();
    FindBlockMatch();  // the visible range is known only now
}

void TAdvCustomMemo::DestroyWnd() {
    HideScrollHint();
    RevokeOleDropTarget();
    if (FCaretCreated) {
        ::DestroyCaret();
        FCaretCreated = false;
        FCaretShown = false;
    }
    ClassLib::TCustomControl::DestroyWnd();
}

void TAdvCustomMemo::BoundsChanged(bool sizeChanged) {
    if (sizeChanged) {
        UpdateLayout();
        FindBlockMatch();
    }
    ClassLib::TCustomControl::BoundsChanged(sizeChanged);
}

void TAdvCustomMemo::Invalidate() {
    ++FInvalidateCount;
    // EndUpdate repaints everything and places the caret once.
    if (!HandleAllocated() || FUpdateCount > 0) return;
    ClassLib::TCustomControl::Invalidate();
    PlaceCaret();
}

void TAdvCustomMemo::Refresh() {
    ++FRefreshCount;
    Invalidate();
}

void TAdvCustomMemo::InvalidateGutter() {
    if (!HandleAllocated()) {
        ++FInvalidateCount;
        return;
    }
    const RECT gutter{0, 0, TextArea().Left, FHeight};
    ++FInvalidateCount;
    ::InvalidateRect(FHandle, &gutter, FALSE);
}

void TAdvCustomMemo::InvalidateLine(int line) {
    if (!HandleAllocated() || FUpdateCount > 0) {
        ++FInvalidateCount;
        return;
    }
    const TMemoRect r = LineRect(line);
    // The gutter shows the line's number and marks, so it goes with the line.
    const RECT row{0, r.Top, FWidth, r.Bottom};
    ++FInvalidateCount;
    ::InvalidateRect(FHandle, &row, FALSE);
}

bool TAdvCustomMemo::Focused() const { return ClassLib::TCustomControl::Focused(); }

void TAdvCustomMemo::SetFocus() {
    // The model asks for the focus after undo and the like; without a window there is none to give.
    if (!HandleAllocated() || !CanFocus()) return;
    ClassLib::TCustomControl::SetFocus();
}

void TAdvCustomMemo::PlaceCaret() {
    if (!FCaretCreated || !HandleAllocated()) return;
    const TMemoRect area = TextArea();
    const TMemoRect row = LineRect(FCurY);
    const int x = area.Left + (FCurX - FLeftCol) * FCellSize.W;
    ::SetCaretPos(x, row.Top + 1);  // one pixel below the cell's top, as high as the cell less two
    const bool inside = x >= area.Left && x <= area.Right && row.Top >= area.Top && row.Top < area.Bottom;
    if (inside && FCaretVisible && !FCaretShown) {
        ::ShowCaret(FHandle);
        FCaretShown = true;
    } else if ((!inside || !FCaretVisible) && FCaretShown) {
        ::HideCaret(FHandle);
        FCaretShown = false;
    }
}

void TAdvCustomMemo::ShowCaret(bool show) {
    if (!HandleAllocated()) return;
    if (show && !FCaretCreated) {
        FCaretCreated = ::CreateCaret(FHandle, nullptr, 2, std::max(1, FCellSize.H - 2)) != 0;
        FCaretShown = false;
    }
    if (!FCaretCreated) return;
    if (!show) {
        if (FCaretShown) ::HideCaret(FHandle);
        FCaretShown = false;
        return;
    }
    FCaretVisible = true;  // PlaceCaret shows it only when the model has it visible
    PlaceCaret();
}

void TAdvCustomMemo::ScrollBarsChanged() {
    if (!HandleAllocated() || FApplyingBars) return;
    // Showing a bar resizes the client area, which reaches the layout again; once is enough.
    FApplyingBars = true;
    ::ShowScrollBar(FHandle, SB_VERT, WantsVertical(FScrollBars) && FVertBar.Visible);
    ::ShowScrollBar(FHandle, SB_HORZ, WantsHorizontal(FScrollBars) && FHorzBar.Visible);
    if (FVertBar.Visible) ApplyBar(FHandle, SB_VERT, FVertBar);
    if (FHorzBar.Visible) ApplyBar(FHandle, SB_HORZ, FHorzBar);
    FApplyingBars = false;
}

void TAdvCustomMemo::ScrollMessage(bool vertical, int code) {
    if (!Focused() && CanFocus()) SetFocus();
    const TScrollBarModel& bar = vertical ? FVertBar : FHorzBar;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    ::GetScrollInfo(FHandle, vertical ? SB_VERT : SB_HORZ, &info);
    const int page = std::max(1, bar.PageSize - (vertical ? 0 : 1));
    const int current = vertical ? LineIndexToVisIndex(FTopLine) : FLeftCol;
    int delta = 0;
    switch (code) {
    case SB_LINEUP: delta = -bar.SmallChange; break;
    case SB_LINEDOWN: delta = bar.SmallChange; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    case SB_THUMBTRACK:
        if (vertical && FScrollHint) ShowScrollHint(info.nTrackPos);
        delta = info.nTrackPos - current;
        break;
    case SB_THUMBPOSITION: delta = info.nTrackPos - current; break;
    case SB_ENDSCROLL: HideScrollHint(); return;
    case SB_TOP: delta = -current; break;
    case SB_BOTTOM: delta = bar.Max - current; break;
    default: return;
    }
    if (vertical) {
        const int limit = std::max(0, bar.Max - bar.PageSize + 1);
        delta = std::clamp(current + delta, 0, limit) - current;
    }
    if (delta == 0) return;
    ScrollBy(vertical, delta);
    if (!vertical) Invalidate();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
    ScrollBarsChanged();
    PlaceCaret();
}

void TAdvCustomMemo::ShowScrollHint(int position) {
    std::wstring hint = FUILanguage.ScrollHint + L": " + std::to_wstring(position + 1);
    if (OnScrollHint) OnScrollHint(this, position + 1, hint);
    if (!FScrollHintWindow) {
        FScrollHintWindow = std::make_unique<ClassLib::THintWindow>(nullptr);
        FScrollHintWindow->SetColor(ClassLib::clInfoBk);
    }
    POINT pointer{};
    ::GetCursorPos(&pointer);
    ClassLib::TRect rect = FScrollHintWindow->CalcHintRect(100, hint);
    const int width = rect.Width(), height = rect.Height();
    rect = ClassLib::Bounds(pointer.x + 10, pointer.y, width, height);
    FScrollHintWindow->ActivateHint(rect, hint);
}

void TAdvCustomMemo::HideScrollHint() {
    if (FScrollHintWindow) FScrollHintWindow->ReleaseHandle();
}

void TAdvCustomMemo::WndProc(ClassLib::TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;  // Paint covers every pixel; erasing first only flickers
        return;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (message.LParam == 0) {
            ScrollMessage(message.Msg == WM_VSCROLL, LOWORD(message.WParam));
            message.Result = 0;
            return;
        }
        break;
    case ClassLib::CM_HINTSHOW:
        message.Result = HintShow(*reinterpret_cast<ClassLib::THintInfo*>(message.LParam)) ? 0 : 1;
        return;
    case WM_THEMECHANGED:
        if (FAutoThemeAdapt) ThemeAdapt();
        break;
    case ClassLib::CM_STYLECHANGED:
        ApplyStyleColors(true);
        if (FAutoThemeAdapt) ThemeAdapt();
        break;
    case WM_SETFOCUS:
        ClassLib::TCustomControl::WndProc(message);
        UpdateCaret(true);
        if (FHideSelection) Invalidate();
        return;
    case WM_USER + 1:  // posted after a parameter-hint key
        ClassLib::CallGuarded(this, [this] { ShowParameterHint(); });
        message.Result = 0;
        return;
    case WM_KILLFOCUS:
        if (ParameterHintShowing() && !FHintShowing) HideHint();
        UpdateCaret(false);
        if (FCaretCreated) {
            ::DestroyCaret();
            FCaretCreated = false;
            FCaretShown = false;
        }
        if (FHideSelection) Invalidate();
        ClassLib::TCustomControl::WndProc(message);
        return;
    default:
        break;
    }
    ClassLib::TCustomControl::WndProc(message);
}

void TAdvCustomMemo::Paint() {
    if (FUpdateCount > 0) return;  // the last picture stays until EndUpdate repaints
    HDC target = Canvas()->Handle();
    const int width = std::max(1, FWidth);
    const int height = std::max(1, FHeight);
    // Drawn off screen first, then copied: a line repainted in place would flicker.
    ClassLib::TOffscreenBuffer buffer(target, width, height);
    if (!buffer) {
        PaintTo(target);
        return;
    }
    PaintTo(buffer.Handle());
    buffer.CopyTo(target);
    PlaceCaret();
}

}  // namespace AdvMemo
