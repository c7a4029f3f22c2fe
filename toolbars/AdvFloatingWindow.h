#pragma once
// The small borderless window a torn-off toolbar floats in. It draws a border round the
// toolbar, takes its size from it, and turns a drag on one of its edges into one more or
// one less row of the toolbar's items rather than a free size.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "classlib/Form.h"

namespace AdvToolBar {

class TAdvCustomToolBar;

enum TResizingClip : std::uint8_t { rcLeft, rcTop, rcRight, rcBottom };

// One mouse move of an edge drag, without a window: what the row count becomes.
struct TEdgeStepInput {
    TResizingClip Clip = rcRight;
    int X = 0, Y = 0;            // the pointer in the window
    int MouseX = 0, MouseY = 0;  // the drag's reference point
    int Width = 0, Height = 0;   // the window's
    int Border = 2;
    int Rows = 1;
    int Direction = 0;           // 0 before the first change, then 1 or 2
    // The toolbar's thickness and length for a row count; false when it cannot have it.
    std::function<bool(int rows, int& height, int& length)> SizeForRows;
};
struct TEdgeStepResult {
    int Rows;          // the row count asked for (may be refused by the toolbar)
    int Direction;
    bool Changed;      // a step or reversal asked for another count
    bool Reversal;
};
TEdgeStepResult EdgeStep(const TEdgeStepInput& in);

class TFloatingWindow : public ClassLib::TCustomForm {
    CLASSLIB_CLASS(TFloatingWindow, ClassLib::TCustomForm)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TFloatingWindow(ClassLib::TComponent* owner);
    ~TFloatingWindow() override;

    TAdvCustomToolBar* AdvCustomToolBar() const { return FAdvCustomToolBar; }
    void SetAdvCustomToolBar(TAdvCustomToolBar* value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    ClassLib::TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(ClassLib::TColor value) { FBorderColor = value; }
    // Round the toolbar: it sits at the inset (border width + the scale), the window is
    // twice the inset larger.
    void SetWindowSize();
    int Inset() const;
    bool SizeInit() const { return FSizeInit; }
    void SetSizeInit(bool value) { FSizeInit = value; }
    bool Resizing() const { return FResizing; }
    TResizingClip ResizingClip() const { return FResizingClip; }
    void Loaded() override;

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    void Paint() override;
    void Dispatch(ClassLib::TMessage& message) override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseMove(ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;

private:
    friend class TAdvCustomToolBar;
    TAdvCustomToolBar* FAdvCustomToolBar = nullptr;  // not owned; it frees this window
    int FBorderWidth = 2;
    ClassLib::TColor FBorderColor = ClassLib::TColor(0x6D6D6D);
    ClassLib::TCursor FOldCursor = ClassLib::crDefault;
    bool FResizing = false;
    int FMouseX = 0, FMouseY = 0;
    int FResizingDir = 0;
    TResizingClip FResizingClip = rcLeft;
    bool FSizeInit = false;
};

}  // namespace AdvToolBar
