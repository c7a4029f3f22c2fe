#pragma once
// TShape: a window-less control that draws one figure with its own pen and brush.
#include <memory>

#include "classlib/Control.h"
#include "classlib/EnumNames.h"

namespace ClassLib {

class TBrush;
class TPen;

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
template <> struct TEnumNames<TShapeType> {
    static constexpr const wchar_t* TypeName = L"TShapeType";
    static constexpr const wchar_t* Names[] = {L"stRectangle", L"stSquare", L"stRoundRect",
                                               L"stRoundSquare", L"stEllipse", L"stCircle"};
};

class TShape : public TGraphicControl {
    CLASSLIB_CLASS(TShape, TGraphicControl)
public:
    static const TPropertyList& Published();
    explicit TShape(TComponent* owner);
    ~TShape() override;

    TPen* Pen() const { return FPen.get(); }
    void SetPen(const TPen* value);
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(const TBrush* value);
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType value);

protected:
    void Paint() override;

private:
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TShapeType FShape = stRectangle;
};

}  // namespace ClassLib
