#include "toolbars/AdvFloatingWindow.h"

#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Properties.h"
#include "classlib/Screen.h"
#include "toolbars/AdvToolBar.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TFloatingWindow, ClassLib::TCustomForm)

// ---------------------------------------------------------------- the edge-step table

TEdgeStepResult EdgeStep(const TEdgeStepInput& in) {
    const int n = in.Rows;
    const int dx = in.X - in.MouseX, dy = in.Y - in.MouseY;
    const bool first = in.Direction == 0;
    const bool dir1 = in.Direction == 1, dir2 = in.Direction == 2;
    const int b2 = 2 * in.Border;
    // Step 1 and step 2 of each edge: the first needs more than 5 px, a further one in the
    // same direction 3.
    bool step1 = false, step2 = false;
    int rows1 = n, rows2 = n;
    switch (in.Clip) {
        case rcLeft:
            step1 = first ? dx < -5 : dir1 && dx <= -3, rows1 = n - 1;
            step2 = first ? dx > 5 : dir2 && dx > 2, rows2 = n + 1;
            break;
        case rcTop:
            step1 = first ? dy < -5 : dir1 && dy <= -3, rows1 = n + 1;
            step2 = first ? dy > 5 : dir2 && dy > 2, rows2 = n - 1;
            break;
        case rcRight:
            step1 = first ? dx > 5 : dir1 && dx > 2, rows1 = n - 1;
            step2 = first ? dx < -5 : dir2 && dx <= -3, rows2 = n + 1;
            break;
        case rcBottom:
            step1 = first ? dy > 5 : dir1 && dy > 2, rows1 = n + 1;
            step2 = first ? dy < -5 : dir2 && dy <= -3, rows2 = n - 1;
            break;
    }
    if (step1) return {rows1, 1, true, false};
    if (step2) return {rows2, 2, true, false};
    const TEdgeStepResult none{n, in.Direction, false, false};
    if (first) return none;
    // The opposite movement after a step: back to the count whose size the pointer reached.
    int h = 0, w = 0;
    auto size = [&](int rows) { return rows >= 1 && in.SizeForRows && in.SizeForRows(rows, h, w); };
    auto back = [&](int rows) { return TEdgeStepResult{rows, in.Direction, true, true}; };
    switch (in.Clip) {
        case rcLeft:
            if (dir1 && size(n + 1) && in.X >= in.Width - b2 - w) return back(n + 1);
            if (dir2 && size(n - 1) && in.Width - b2 - w >= in.X) return back(n - 1);
            break;
        case rcTop:
            if (dir1 && size(n - 1) && in.Y >= in.Height - b2 - h - 2) return back(n - 1);
            if (dir2 && size(n + 1) && in.Height - b2 - h >= in.Y) return back(n + 1);
            break;
        case rcRight:
            if (dir1 && size(n + 1) && b2 + w >= in.X) return back(n + 1);
            if (dir2 && size(n - 1) && in.X >= b2 + w) return back(n - 1);
            break;
        case rcBottom:
            if (dir1 && size(n - 1) && b2 + h + 2 >= in.Y) return back(n - 1);
            if (dir2 && size(n + 1) && in.Y >= b2 + h) return back(n + 1);
            break;
    }
    return none;
}

// ---------------------------------------------------------------- the window

TFloatingWindow::TFloatingWindow(TComponent* owner) : TCustomForm(owner) {
    FBorderWidth = 2;
    FBorderColor = TColor(0x6D6D6D);
}

TFloatingWindow::~TFloatingWindow() {
    if (FAdvCustomToolBar) {
        if (FAdvCustomToolBar->FFloatingWindow == this) FAdvCustomToolBar->FFloatingWindow = nullptr;
        FAdvCustomToolBar->RemoveFreeNotification(this);
        FAdvCustomToolBar = nullptr;
    }
}

const TPropertyList& TFloatingWindow::Published() {
    using T = TFloatingWindow;
    static const TPropertyList list = TPropertyList::Extend(TCustomForm::Published())
                                          .Add(L"BorderWidth", &T::BorderWidth, &T::SetBorderWidth, 2)
                                          .Add(L"BorderColor", &T::BorderColor, &T::SetBorderColor, TColor(0x808080));
    return list;
}

void TFloatingWindow::SetAdvCustomToolBar(TAdvCustomToolBar* value) {
    if (value == FAdvCustomToolBar) return;
    if (FAdvCustomToolBar) FAdvCustomToolBar->RemoveFreeNotification(this);
    FAdvCustomToolBar = value;
    if (value) value->FreeNotification(this);
}

void TFloatingWindow::Notification(TComponent* component, TOperation operation) {
    TCustomForm::Notification(component, operation);
    if (operation == opRemove && component && component == FAdvCustomToolBar) FAdvCustomToolBar = nullptr;
}

void TFloatingWindow::Loaded() {
    TCustomForm::Loaded();
    FOldCursor = Cursor();
}

void TFloatingWindow::SetBorderWidth(int value) {
    if (value == FBorderWidth) return;
    FBorderWidth = value;
    SetWindowSize();
}

int TFloatingWindow::Inset() const {
    const double scale = (Screen ? Screen->PixelsPerInch() : 96) / 96.0;
    // The scale is added to the border, not multiplied: 3 at 96 dpi, round(3.5) = 4 at 144.
    return int(std::nearbyint(FBorderWidth + scale));
}

void TFloatingWindow::SetWindowSize() {
    if (!FAdvCustomToolBar) return;
    const int inset = Inset();
    TAdvCustomToolBar* bar = FAdvCustomToolBar;
    SetBounds(Left(), Top(), 2 * inset + bar->Width(), 2 * inset + bar->Height());
    bar->SetBounds(inset, inset, bar->Width(), bar->Height());
    Invalidate();
}

void TFloatingWindow::Paint() {
    TCustomForm::Paint();
    if (FBorderColor == clNone) return;
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(FBorderColor);
    canvas->Pen()->SetWidth(FBorderWidth);
    canvas->Brush()->SetColor(Color());
    canvas->Rectangle(1, 1, Width(), Height());
    const int b = FBorderWidth, w = Width(), h = Height();
    canvas->SetPixels(b, b, FBorderColor);
    canvas->SetPixels(w - b - 1, b, FBorderColor);
    canvas->SetPixels(b, h - b - 1, FBorderColor);
    canvas->SetPixels(w - b - 1, h - b - 1, FBorderColor);
}

void TFloatingWindow::Dispatch(TMessage& message) {
    TCustomForm::Dispatch(message);
    if (message.Msg == WM_CLOSE && FAdvCustomToolBar) FAdvCustomToolBar->SetVisible(false);
}

void TFloatingWindow::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomForm::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    const int w = Width(), h = Height();
    if (x >= w - 5 && x <= w) FResizingClip = rcRight, FMouseX = w, FMouseY = y;
    else if (y >= h - 5 && y <= h) FResizingClip = rcBottom, FMouseY = h, FMouseX = x;
    else if (x >= 0 && x <= 5) FResizingClip = rcLeft, FMouseX = 0, FMouseY = y;
    else if (y >= 0 && y <= 5) FResizingClip = rcTop, FMouseY = 0, FMouseX = x;
    else return;
    FResizing = true;
    FResizingDir = 0;
}

void TFloatingWindow::MouseMove(TShiftState shift, int x, int y) {
    TCustomForm::MouseMove(shift, x, y);
    const int w = Width(), h = Height();
    TCursor cursor = FOldCursor;
    if ((x >= 0 && x <= 5) || (x >= w - 5 && x <= w)) cursor = crSizeWE;
    else if ((y >= 0 && y <= 5) || (y >= h - 5 && y <= h)) cursor = crSizeNS;
    if (Cursor() != cursor) SetCursor(cursor);
    if (!FResizing || !(shift & ssLeft) || !FAdvCustomToolBar) return;
    TAdvCustomToolBar* bar = FAdvCustomToolBar;
    TEdgeStepInput in;
    in.Clip = FResizingClip;
    in.X = x, in.Y = y, in.MouseX = FMouseX, in.MouseY = FMouseY;
    in.Width = w, in.Height = h, in.Border = FBorderWidth;
    in.Rows = bar->FloatingRows();
    in.Direction = FResizingDir;
    in.SizeForRows = [bar](int rows, int& height, int& length) { return bar->CalcSizeForRows(rows, height, length); };
    const TEdgeStepResult step = EdgeStep(in);
    if (!step.Changed) return;
    const int right = Left() + Width(), bottom = Top() + Height();
    const int before = bar->FloatingRows();
    bar->SetFloatingRows(step.Rows);  // refused at 0 rows or past the most; the window follows
    if (!step.Reversal) FResizingDir = step.Direction;
    switch (FResizingClip) {
        case rcLeft:
            SetLeft(right - Width());
            FMouseX = 0;
            break;
        case rcTop:
            SetTop(bottom - Height());
            FMouseY = 0;
            break;
        case rcRight: FMouseX = Width(); break;
        case rcBottom: FMouseY = Height(); break;
    }
    const bool sideways = FResizingClip == rcLeft || FResizingClip == rcRight;
    if (bar->FloatingRows() != before || (step.Reversal && sideways)) Invalidate();
}

void TFloatingWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomForm::MouseUp(button, shift, x, y);
    if (!FResizing) return;
    FResizing = false;
    FResizingDir = 0;
    FMouseX = FMouseY = 0;
}

}  // namespace AdvToolBar
