#include "classlib/Shape.h"

#include <algorithm>

#include "classlib/Canvas.h"
#include "classlib/GdiObjects.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TShape, TGraphicControl)

const TPropertyList& TShape::Published() {
    static const TPropertyList list = TPropertyList::Extend(TGraphicControl::Published())
        .SubObject(L"Pen", &TShape::Pen)
        .SubObject(L"Brush", &TShape::Brush)
        .Enum(L"Shape", &TShape::Shape, &TShape::SetShape, stRectangle);
    return list;
}

TShape::TShape(TComponent* owner)
    : TGraphicControl(owner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
    TControl::SetBounds(0, 0, 65, 65);
    FPen->SetOnChange([this](TObject*) { Invalidate(); });
    FBrush->SetOnChange([this](TObject*) { Invalidate(); });
}

TShape::~TShape() {
    FPen->SetOnChange(nullptr);
    FBrush->SetOnChange(nullptr);
}

void TShape::SetPen(const TPen* value) { FPen->Assign(value); }
void TShape::SetBrush(const TBrush* value) { FBrush->Assign(value); }

void TShape::SetShape(TShapeType value) {
    if (value == FShape) return;
    FShape = value;
    Invalidate();
}

void TShape::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.SetPen(FPen.get());
    canvas.SetBrush(FBrush.get());
    // The pen's width stays inside the bounds: half of it on each side.
    const int pen = FPen->Width();
    int x = pen / 2, y = pen / 2;
    int w = Width() - pen + 1, h = Height() - pen + 1;
    if (pen == 0) {
        --w;
        --h;
    }
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        const int side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    switch (FShape) {
        case stRectangle:
        case stSquare: canvas.Rectangle(x, y, x + w, y + h); break;
        case stRoundRect:
        case stRoundSquare: {
            const int corner = std::min(w, h) / 4;
            canvas.RoundRect(x, y, x + w, y + h, corner, corner);
            break;
        }
        case stEllipse:
        case stCircle: canvas.Ellipse(x, y, x + w, y + h); break;
    }
}

}  // namespace ClassLib
