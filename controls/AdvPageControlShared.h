#pragma once
// Helpers the page control's own files share: storing a changed value, scaling by the
// DPI factor, a pen-and-brush scope, lines, and the transparent copy of a picture held in
// its own DC. Not for users of the unit.
#include <windows.h>

#include <cmath>
#include <initializer_list>

#include "classlib/Canvas.h"

namespace ClassLib {
class TBitmap;
}

namespace AdvPageControl {

// Stores a value that differs from the field's; true when it did.
template <class T>
bool StoreChanged(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

inline int RoundScaled(float scale, int value) { return int(std::lround(double(value) * double(scale))); }

// The pen and brush of a canvas for one scope, put back afterwards.
class TCanvasStateScope {
public:
    explicit TCanvasStateScope(ClassLib::TCanvas* canvas) : FCanvas(canvas), FPen(canvas->Pen()->Color()),
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
    ClassLib::TCanvas* FCanvas;
    TColor FPen;
    int FPenWidth;
    ClassLib::TPenStyle FPenStyle;
    TColor FBrush;
    ClassLib::TBrushStyle FBrushStyle;
};

void Line(ClassLib::TCanvas* canvas, int x1, int y1, int x2, int y2);
// Through the points in turn.
void Poly(ClassLib::TCanvas* canvas, std::initializer_list<ClassLib::TPoint> points);

// The transparent copy from a DC that holds the source picture.
void StretchTransparentFrom(HDC destDC, HDC source, int destX, int destY, int destWidth, int destHeight,
                            COLORREF transparentColor, int srcX, int srcY, int srcWidth, int srcHeight);
// A picture's own DC (a bitmap can be selected into one DC only) and its corner colour.
HDC PictureDC(ClassLib::TBitmap* bitmap);
COLORREF CornerColour(ClassLib::TBitmap* bitmap, bool bottom);

}  // namespace AdvPageControl
