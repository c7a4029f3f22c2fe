#include "classlib/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TProgressBar, TWinControl)

const TPropertyList& TProgressBar::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"Min", &TProgressBar::Min, &TProgressBar::SetMin, 0)
        .Add(L"Max", &TProgressBar::Max, &TProgressBar::SetMax, 100)
        .Add(L"Position", &TProgressBar::Position, &TProgressBar::SetPosition, 0);
    return list;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    TControl::SetBounds(0, 0, 150, 17);
}

void TProgressBar::SetRange(int min, int max) {
    FMin = min;
    FMax = std::max(min, max);
    FPosition = std::clamp(FPosition, FMin, FMax);
    UpdateWindow();
}

void TProgressBar::SetPosition(int value) {
    FPosition = std::clamp(value, FMin, FMax);
    if (FHandle) ::SendMessageW(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}

void TProgressBar::UpdateWindow() {
    if (!FHandle) return;
    ::SendMessageW(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
    ::SendMessageW(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}

void TProgressBar::CreateParams(TCreateParams& params) {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
        return ::InitCommonControlsEx(&init) != FALSE;
    }();
    (void)registered;
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSW);
}

void TProgressBar::CreateWindowHandleDone() { UpdateWindow(); }

}  // namespace ClassLib
