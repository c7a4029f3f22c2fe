#include "classlib/HintWindow.h"

#include <algorithm>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/GdiScopes.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(THintWindow, TCustomControl)

const TPropertyList& THintWindow::Published() {
    static const TPropertyList list = TPropertyList::Extend(TCustomControl::Published())
        .Colour(L"Color", &THintWindow::Color, &THintWindow::SetColor, clInfoBk)
        .Add(L"ParentColor", &THintWindow::ParentColor, &THintWindow::SetParentColor, false)
        .Add(L"ParentFont", &THintWindow::ParentFont, &THintWindow::SetParentFont, false)
        .Add(L"Visible", &THintWindow::Visible, &THintWindow::SetVisible, false);
    return list;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    FColor = clInfoBk;
    SetParentColor(false);
    SetParentFont(false);
    Font()->Assign(Screen->HintFont());
    Font()->SetColor(clInfoText);
    TControl::SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::wstring& hint) {
    TWindowDC screen;
    TSelection font(screen.Handle(), Font()->Handle());
    RECT rect{0, 0, std::max(maxWidth, 1), 0};
    ::DrawTextW(screen.Handle(), hint.c_str(), int(hint.size()), &rect,
                DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return {0, 0, rect.right + 8, rect.bottom + 4};
}

void THintWindow::ActivateHint(const TRect& rect, const std::wstring& hint) {
    SetText(hint);
    TRect place = rect;
    // Kept on the monitor under the hint.
    const TRect area = Screen->MonitorFromPoint(rect.TopLeft()).WorkareaRect;
    if (place.Right > area.Right) place.Offset(area.Right - place.Right, 0);
    if (place.Bottom > area.Bottom) place.Offset(0, area.Bottom - place.Bottom);
    if (place.Left < area.Left) place.Offset(area.Left - place.Left, 0);
    if (place.Top < area.Top) place.Offset(0, area.Top - place.Top);
    HandleNeeded();
    SetBounds(place.Left, place.Top, place.Width(), place.Height());
    ::SetWindowPos(FHandle, HWND_TOPMOST, place.Left, place.Top, place.Width(), place.Height(),
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ::InvalidateRect(FHandle, nullptr, TRUE);
    FActive = true;
}

void THintWindow::ReleaseHandle() {
    FActive = false;
    if (HandleAllocated()) ::ShowWindow(FHandle, SW_HIDE);
}

void THintWindow::Paint() {
    TRect rect = ClientRect();
    rect.Inflate(-2, -1);
    Canvas()->Brush()->SetStyle(bsClear);
    std::wstring text = GetText();
    Canvas()->TextRect(rect, text, {tfLeft, tfWordBreak, tfNoPrefix});
}

}  // namespace ClassLib
