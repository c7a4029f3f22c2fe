#pragma once
// The value types of the vector drawing layer: matrix, path, fill, stroke, font, saved
// state, the drawing enumerations and the named colours.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Collections.h"
#include "classlib/Colors.h"
#include "classlib/EnumNames.h"
#include "classlib/Events.h"
#include "classlib/GdiObjects.h"
#include "classlib/Object.h"
#include "graphics/AdvTypesGeometry.h"

namespace AdvTypes {
class TAdvBitmap;
}

namespace AdvGraphicsTypes {

using AdvTypes::TPointF;
using AdvTypes::TRectF;
using ClassLib::TColor;

enum TAdvGraphicsStrokeKind { gskNone, gskSolid, gskDash, gskDot, gskDashDot, gskDashDotDot };
enum TAdvGraphicsTextureMode { gtmOriginal, gtmFit, gtmStretch, gtmCenter, gtmTile };
enum TAdvGraphicsFillKind { gfkNone, gfkSolid, gfkGradient, gfkTexture };
enum TAdvGraphicsFillGradientMode { gfgmDefault, gfgmCollection };
enum TAdvGraphicsFillGradientType { gfgtLinear, gfgtRadial };
enum TAdvGraphicsFillOrientation { gfoHorizontal, gfoVertical, gfoCustom };
enum TAdvGraphicsTextAlign { gtaCenter, gtaLeading, gtaTrailing };
enum TAdvGraphicsTextTrimming { gttNone, gttCharacter, gttWord };
enum TAdvGraphicsSide { gsLeft, gsTop, gsRight, gsBottom };
using TAdvGraphicsSides = unsigned;  // bit 1 << side
constexpr TAdvGraphicsSides AllSides = 15;
enum TAdvGraphicsTextQuality { gtqDefault, gtqAntiAliasing, gtqClearType };
enum TAdvGraphicsPathPointKind { gppMoveTo, gppLineTo, gppCurveTo, gppClose };
enum TAdvGraphicsPathDrawMode { pdmPolygon, pdmPolyline, pdmPath };
enum TAdvGraphicsModifyRectMode {
    gcrmNone, gcrmExpandAll, gcrmShrinkAll, gcrmShiftRightAndExpandHeight, gcrmShiftDownAndExpandWidth,
    gcrmShiftRightAndShrinkHeight, gcrmShiftRightDown, gcrmShiftRightUp, gcrmShiftLeftUp, gcrmShiftLeftDown,
    gcrmShiftUpAndExpandWidth, gcrmShiftLeftAndExpandHeight
};
enum TAdvGraphicsModifyPointMode { gcpmNone, gcpmLeftUp, gcpmRightDown, gcpmLeftDown, gcpmRightUp };
enum TAdvGraphicsExpanderState { gesCollapsed, gesExpanded };
enum TAdvGraphicsCompactState { gcsCollapsed, gcsExpanded };
enum TAdvGraphicsCorner { gcTopLeft, gcTopRight, gcBottomLeft, gcBottomRight };
using TAdvGraphicsCorners = unsigned;  // bit 1 << corner
constexpr TAdvGraphicsCorners AllCorners = 15;

// ---- matrix: row vectors, x' = x*m11 + y*m21 + m31, y' = x*m12 + y*m22 + m32

struct TAdvGraphicsMatrix {
    float m11 = 0, m12 = 0, m13 = 0;
    float m21 = 0, m22 = 0, m23 = 0;
    float m31 = 0, m32 = 0, m33 = 0;

    static TAdvGraphicsMatrix Identity();
    // Radians; a positive angle turns clockwise on screen (y grows downwards).
    static TAdvGraphicsMatrix CreateRotation(float angle);
    static TAdvGraphicsMatrix CreateScaling(float scaleX, float scaleY);
    static TAdvGraphicsMatrix CreateTranslation(float deltaX, float deltaY);
    float Determinant() const;
    TAdvGraphicsMatrix Adjoint() const;
    // The identity for a singular matrix.
    TAdvGraphicsMatrix Inverse() const;
    float& At(int row, int column) { return (&m11)[row * 3 + column]; }
    float At(int row, int column) const { return (&m11)[row * 3 + column]; }
    friend bool operator==(const TAdvGraphicsMatrix&, const TAdvGraphicsMatrix&) = default;
};
// The product a x b: applies a first, then b.
TAdvGraphicsMatrix operator*(const TAdvGraphicsMatrix& a, const TAdvGraphicsMatrix& b);
TPointF operator*(const TPointF& point, const TAdvGraphicsMatrix& matrix);

TAdvGraphicsMatrix MatrixIdentity();
TAdvGraphicsMatrix MatrixEmpty();
bool IsMatrixEmpty(const TAdvGraphicsMatrix& matrix);
TAdvGraphicsMatrix MatrixCreateRotation(float angle);
TAdvGraphicsMatrix MatrixCreateScaling(float scaleX, float scaleY);
TAdvGraphicsMatrix MatrixCreateTranslation(float deltaX, float deltaY);
TPointF MatrixTransformPoint(const TPointF& point, const TAdvGraphicsMatrix& matrix);
TAdvGraphicsMatrix MatrixMultiply(const TAdvGraphicsMatrix& a, const TAdvGraphicsMatrix& b);

// ---- path

struct TAdvGraphicsPathPoint {
    TAdvGraphicsPathPointKind Kind = gppMoveTo;
    bool Dummy = false;
    TPointF Point;
    friend bool operator==(const TAdvGraphicsPathPoint&, const TAdvGraphicsPathPoint&) = default;
};
using TAdvGraphicsPathPoints = std::vector<TAdvGraphicsPathPoint>;
using TAdvGraphicsPathPolygon = std::vector<TPointF>;
using TAdvGraphicsPathCubicBezier = TPointF[4];

// One curve never flattens into more points than this, whatever its length: the point
// count grows with length over tolerance, so a huge curve would otherwise allocate
// without end.
constexpr int MaxFlattenPointsPerCurve = 4096;

// A figure starts with a move; a cubic curve is three curve entries (control 1, control 2,
// end) after its start entry; a close entry carries the figure's start point.
class TAdvGraphicsPath : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvGraphicsPath, ClassLib::TPersistent)
public:
    TAdvGraphicsPath() = default;
    // From another path; any other source raises EAssignError.
    void Assign(const ClassLib::TPersistent* source) override;
    // Keeps the start point and Clippable.
    void Clear() { FPoints.clear(); }

    void MoveTo(const TPointF& p);
    void LineTo(const TPointF& p);
    void CurveTo(const TPointF& controlPoint1, const TPointF& controlPoint2, const TPointF& endPoint);
    void QuadCurveTo(const TPointF& controlPoint, const TPointF& endPoint);
    void SmoothCurveTo(const TPointF& controlPoint2, const TPointF& endPoint);
    void ClosePath();
    void AddPath(const TAdvGraphicsPath& path);
    void AddPolygon(const TAdvGraphicsPathPolygon& polygon);
    void AddLine(const TPointF& startPoint, const TPointF& endPoint);
    void AddEllipse(const TRectF& rect);
    void AddRectangle(const TRectF& rect, float roundingX = 0, float roundingY = 0);
    // Degrees, 0 along +x, positive clockwise on screen.
    void AddArc(const TPointF& center, const TPointF& radius, float startAngle, float sweepAngle);
    // Close entries keep their stored coordinates.
    void ApplyMatrix(const TAdvGraphicsMatrix& matrix);

    // The box of every point but the close entries' (control points count); all zeros
    // for an empty path; a zero width or height becomes 0.001.
    TRectF GetBounds() const;
    // (0, 0) on an empty path.
    TPointF LastPoint() const;
    // EListError for an index outside the list.
    const TAdvGraphicsPathPoint& GetPoint(int index) const;
    int Count() const { return int(FPoints.size()); }
    const TAdvGraphicsPathPoints& PathData() const { return FPoints; }
    bool IsClippable() const { return FClippable; }
    bool Clippable() const { return FClippable; }
    void SetClippable(bool value) { FClippable = value; }

    bool IsPointVisible(const TPointF& p) const;
    bool IsRectVisible(const TRectF& r) const;
    // Replaces every curve by lines, in place.
    void Flatten(float flatness = 0.25f);
    void FlattenToPolygon(TAdvGraphicsPathPolygon& polygon, float flatness = 0.25f) const;

    // pointCount evenly spaced points along the curve; 0 leaves the result empty.
    static TAdvGraphicsPathPolygon CreateBezier(const TAdvGraphicsPathCubicBezier& bezier, int pointCount);
    static TPointF PointOnBezier(const TPointF& startPoint, double ax, double bx, double cx, double ay, double by,
                                 double cy, double t);
    // The points the curve from `start` flattens into: sampled ones (the first is the start)
    // or only the end point; at most MaxFlattenPointsPerCurve.
    static TAdvGraphicsPathPolygon FlattenCurve(const TPointF& start, const TPointF& control1, const TPointF& control2,
                                                const TPointF& end, float tolerance);
    // The same points appended to `out`.
    static void AppendFlattenedCurve(const TPointF& start, const TPointF& control1, const TPointF& control2,
                                     const TPointF& end, float tolerance, TAdvGraphicsPathPolygon& out);
private:

    TPointF FStartPoint;
    bool FClippable = false;
    TAdvGraphicsPathPoints FPoints;
};

// ---- owned collection of one item class

template <class T>
class TAdvOwnedCollection : public ClassLib::TOwnedCollection {
public:
    TAdvOwnedCollection(ClassLib::TPersistent* owner)
        : ClassLib::TOwnedCollection(owner, &ClassLib::CreateCollectionItem<T>) {}
    T* GetItem(int index) const { return static_cast<T*>(ClassLib::TCollection::Items(index)); }

    class TEnumerator {
    public:
        TEnumerator(const TAdvOwnedCollection* collection, int index) : FCol(collection), FIndex(index) {}
        T* operator*() const { return FCol->GetItem(FIndex); }
        TEnumerator& operator++() { ++FIndex; return *this; }
        bool operator!=(const TEnumerator& other) const { return FIndex != other.FIndex; }
    private:
        const TAdvOwnedCollection* FCol;
        int FIndex;
    };
    TEnumerator begin() const { return TEnumerator(this, 0); }
    TEnumerator end() const { return TEnumerator(this, Count()); }
};

class TAdvCustomGraphicsFill;

class TAdvGraphicsFillGradientItem : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TAdvGraphicsFillGradientItem, ClassLib::TCollectionItem)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvGraphicsFillGradientItem(ClassLib::TCollection* collection);
    void Assign(const ClassLib::TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // 0..1 along the gradient.
    float Position() const { return FPosition; }
    void SetPosition(float value);
    float Opacity() const { return FOpacity; }
    void SetOpacity(float value);
private:
    void NotifyFill();

    TColor FColor = ClassLib::clWhite;
    float FPosition = 0;
    float FOpacity = 1;
};

class TAdvGraphicsFillGradientItems : public TAdvOwnedCollection<TAdvGraphicsFillGradientItem> {
    CLASSLIB_CLASS(TAdvGraphicsFillGradientItems, ClassLib::TOwnedCollection)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvGraphicsFillGradientItems(TAdvCustomGraphicsFill* owner = nullptr);
    TAdvGraphicsFillGradientItem* Add() { return static_cast<TAdvGraphicsFillGradientItem*>(TCollection::Add()); }
    TAdvGraphicsFillGradientItem* Insert(int index) {
        return static_cast<TAdvGraphicsFillGradientItem*>(TCollection::Insert(index));
    }
    TAdvGraphicsFillGradientItem* Items(int index) const { return GetItem(index); }
    TAdvCustomGraphicsFill* Fill() const { return FOwner; }
protected:
    void Update(ClassLib::TCollectionItem* item) override;
private:
    TAdvCustomGraphicsFill* FOwner;
};

// Shared by fill, stroke and font: OnChanged runs after every change outside an update.
class TChangeNotifier {
public:
    const ClassLib::TNotifyEvent& OnChanged() const { return FOnChanged; }
    void SetOnChanged(ClassLib::TNotifyEvent handler) { FOnChanged = std::move(handler); }
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate(ClassLib::TObject* sender) {
        if (FUpdateCount > 0) --FUpdateCount;
        Changed(sender);
    }
    // Ends an update without the notification (the caller sends one itself).
    void EndUpdateQuiet() {
        if (FUpdateCount > 0) --FUpdateCount;
    }
    void Changed(ClassLib::TObject* sender) const {
        if (FOnChanged && FUpdateCount == 0) FOnChanged(sender);
    }
    int UpdateCount() const { return FUpdateCount; }
private:
    ClassLib::TNotifyEvent FOnChanged;
    int FUpdateCount = 0;
};

// The colour setters' mapping: clNone is kept as -1, clDefault as clBtnFace.
TColor StoredGraphicsColor(TColor value);

class TAdvCustomGraphicsFill : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvCustomGraphicsFill, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvCustomGraphicsFill(TAdvGraphicsFillKind kind = gfkSolid, TColor color = ClassLib::clWhite);
    ~TAdvCustomGraphicsFill() override;
    // From a fill (all but GradientMatrix) or a stroke (its colour, solid); anything else
    // changes nothing. One notification at the end in every case.
    void Assign(const ClassLib::TPersistent* source) override;
    void BeginUpdate() { FNotifier.BeginUpdate(); }
    void EndUpdate() { FNotifier.EndUpdate(this); }
    void Changed() { FNotifier.Changed(this); }
    const ClassLib::TNotifyEvent& OnChanged() const { return FNotifier.OnChanged(); }
    void SetOnChanged(ClassLib::TNotifyEvent handler) { FNotifier.SetOnChanged(std::move(handler)); }

    void ClearGradientItems();
    TAdvGraphicsFillGradientItem* AddGradientItem(TColor color, float position, float opacity = 1);

    TAdvGraphicsFillKind Kind() const { return FKind; }
    void SetKind(TAdvGraphicsFillKind value);
    TAdvGraphicsFillOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TAdvGraphicsFillOrientation value);
    TAdvGraphicsFillOrientation GradientOrientation() const { return FOrientation; }
    void SetGradientOrientation(TAdvGraphicsFillOrientation value) { SetOrientation(value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { SetColorField(FColor, value); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value) { SetColorField(FColorTo, value); }
    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor value) { SetColorField(FColorMirror, value); }
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor value) { SetColorField(FColorMirrorTo, value); }
    float Opacity() const { return FOpacity; }
    void SetOpacity(float value);
    AdvTypes::TAdvBitmap* Texture() const { return FTexture.get(); }
    void SetTexture(const AdvTypes::TAdvBitmap* value);
    TAdvGraphicsTextureMode TextureMode() const { return FTextureMode; }
    void SetTextureMode(TAdvGraphicsTextureMode value);
    TAdvGraphicsFillGradientMode GradientMode() const { return FGradientMode; }
    void SetGradientMode(TAdvGraphicsFillGradientMode value);
    TAdvGraphicsFillGradientItems* GradientItems() const { return FGradientItems.get(); }
    void SetGradientItems(const TAdvGraphicsFillGradientItems* value);
    TAdvGraphicsFillGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TAdvGraphicsFillGradientType value);
    // Degrees.
    float GradientAngle() const { return FGradientAngle; }
    void SetGradientAngle(float value);
    TPointF GradientCenterPoint() const { return FGradientCenterPoint; }
    void SetGradientCenterPoint(const TPointF& value);
    TColor GradientCenterColor() const { return FGradientCenterColor; }
    void SetGradientCenterColor(TColor value) { SetColorField(FGradientCenterColor, value); }
    const TAdvGraphicsMatrix& GradientMatrix() const { return FGradientMatrix; }
    void SetGradientMatrix(const TAdvGraphicsMatrix& value) { FGradientMatrix = value; }
private:
    template <class V>
    void SetValue(V& field, V value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    void SetColorField(TColor& field, TColor value);

    TChangeNotifier FNotifier;
    TAdvGraphicsFillOrientation FOrientation = gfoVertical;
    TAdvGraphicsFillKind FKind;
    TColor FColor;
    TColor FColorTo = ClassLib::clGray;
    TColor FColorMirror = -1;
    TColor FColorMirrorTo = -1;
    float FOpacity = 1;  // 0..1
    std::unique_ptr<AdvTypes::TAdvBitmap> FTexture;
    TAdvGraphicsTextureMode FTextureMode = gtmStretch;
    TAdvGraphicsFillGradientMode FGradientMode = gfgmDefault;
    std::unique_ptr<TAdvGraphicsFillGradientItems> FGradientItems;
    TAdvGraphicsFillGradientType FGradientType = gfgtLinear;
    float FGradientAngle = 0;
    TPointF FGradientCenterPoint;
    TColor FGradientCenterColor = -1;
    TAdvGraphicsMatrix FGradientMatrix = TAdvGraphicsMatrix::Identity();
};

class TAdvGraphicsFill : public TAdvCustomGraphicsFill {
    CLASSLIB_CLASS(TAdvGraphicsFill, TAdvCustomGraphicsFill)
public:
    using TAdvCustomGraphicsFill::TAdvCustomGraphicsFill;
};

class TAdvCustomGraphicsStroke : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvCustomGraphicsStroke, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvCustomGraphicsStroke(TAdvGraphicsStrokeKind kind = gskSolid, TColor color = ClassLib::clSilver)
        : FKind(kind), FColor(color) {}
    // From a stroke, or a fill (its colour, solid, width 1); one notification at the end.
    void Assign(const ClassLib::TPersistent* source) override;
    void BeginUpdate() { FNotifier.BeginUpdate(); }
    void EndUpdate() { FNotifier.EndUpdate(this); }
    void Changed() { FNotifier.Changed(this); }
    const ClassLib::TNotifyEvent& OnChanged() const { return FNotifier.OnChanged(); }
    void SetOnChanged(ClassLib::TNotifyEvent handler) { FNotifier.SetOnChanged(std::move(handler)); }

    TAdvGraphicsStrokeKind Kind() const { return FKind; }
    void SetKind(TAdvGraphicsStrokeKind value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    float Width() const { return FWidth; }
    void SetWidth(float value);
    float Opacity() const { return FOpacity; }
    void SetOpacity(float value);
private:
    TChangeNotifier FNotifier;
    TAdvGraphicsStrokeKind FKind;
    TColor FColor;
    float FWidth = 1;
    float FOpacity = 1;
};

class TAdvGraphicsStroke : public TAdvCustomGraphicsStroke {
    CLASSLIB_CLASS(TAdvGraphicsStroke, TAdvCustomGraphicsStroke)
public:
    using TAdvCustomGraphicsStroke::TAdvCustomGraphicsStroke;
};

// A canvas font whose every change (outside an update) runs OnChanged; height -11.
class TAdvGraphicsFont : public ClassLib::TFont {
    CLASSLIB_CLASS(TAdvGraphicsFont, ClassLib::TFont)
public:
    static const ClassLib::TPropertyList& Published();
    TAdvGraphicsFont();
    virtual void AssignSource(const ClassLib::TPersistent* source) { Assign(source); }
    void BeginUpdate() { FNotifier.BeginUpdate(); }
    void EndUpdate() { FNotifier.EndUpdate(this); }
    const ClassLib::TNotifyEvent& OnChanged() const { return FNotifier.OnChanged(); }
    void SetOnChanged(ClassLib::TNotifyEvent handler) { FNotifier.SetOnChanged(std::move(handler)); }
private:
    TChangeNotifier FNotifier;
};

// What TAdvGraphics saves and restores: its fill, stroke and font, and the context's
// state number (SaveDC on the canvas, a graphics state in GDI+).
class TAdvGraphicsSaveState : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvGraphicsSaveState, ClassLib::TPersistent)
public:
    TAdvGraphicsSaveState();
    ~TAdvGraphicsSaveState() override;
    int SaveDC() const { return FSaveDC; }
    void SetSaveDC(int value) { FSaveDC = value; }
    int CustomSaveDC() const { return FCustomSaveDC; }
    void SetCustomSaveDC(int value) { FCustomSaveDC = value; }
    TAdvGraphicsFill* Fill() const { return FFill.get(); }
    void SetFill(const TAdvGraphicsFill* value) { FFill->Assign(value); }
    TAdvGraphicsStroke* Stroke() const { return FStroke.get(); }
    void SetStroke(const TAdvGraphicsStroke* value) { FStroke->Assign(value); }
    TAdvGraphicsFont* Font() const { return FFont.get(); }
    void SetFont(const TAdvGraphicsFont* value) { FFont->Assign(value); }
private:
    int FSaveDC = 0;
    std::unique_ptr<TAdvGraphicsFont> FFont;
    std::unique_ptr<TAdvGraphicsStroke> FStroke;
    std::unique_ptr<TAdvGraphicsFill> FFill;
    int FCustomSaveDC = 0;
};

class TAdvGraphicsColorObject {
public:
    explicit TAdvGraphicsColorObject(TColor color = 0) : FColor(color) {}
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
private:
    TColor FColor;
};

struct TNamedColor {
    std::wstring Name;  // lower case
    TAdvGraphicsColorObject Object;
};
// The CSS colour words, not sorted: lookups go in order and the first match wins.
const std::vector<TNamedColor>& NamedColors();
// Lower-case name; false when there is no such colour.
bool FindNamedColor(const std::wstring& name, TColor& color);

// Each channel moves the percentage of its way to 255.
TColor LightenColor(TColor color, int percent);
// Even-odd rule; false for an empty polygon.
bool PointInPolygon(const TPointF& p, const TAdvGraphicsPathPolygon& polygon);
// True when some vertex lies in R (right and bottom edges outside).
bool PolygonInRect(const TAdvGraphicsPathPolygon& polygon, const TRectF& r);
// Every mode leaves the rectangle as it is.
TRectF ModifyRect(const TRectF& rect, TAdvGraphicsModifyRectMode mode);
// False when a coordinate is infinite or not a number: such shapes draw nothing.
bool IsFinitePoint(const TPointF& p);
bool IsFiniteRect(const TRectF& r);
bool IsFiniteArc(const TPointF& center, const TPointF& radius, float startAngle, float sweepAngle);
bool IsFinitePolygon(const TAdvGraphicsPathPolygon& polygon);
bool IsFinitePath(const TAdvGraphicsPath& path);

// ---- the range geometry keeps on its way to the platform
// Device coordinates beyond this are clipped away: every device area lies well inside it.
// Wine: GDI spent over a minute on an ellipse 1e6 units across and GDI+ ended the process
// stroking one of radius 65536, while shapes within this range draw in milliseconds.
constexpr float MaxDrawingCoordinate = 32768.0f;
// Pens are never wider (the SVG importer keeps to it too). Wine: GDI took 20 s per line
// with a pen 1e30 wide.
constexpr float MaxPenWidth = 65536.0f;
// The width a pen is made with: huge widths clamped, a width that is no number as 1 (a
// shape stroked with it draws nothing anyway).
float PenWidth(float width);

// The path cut to the rectangle into `result` (emptied first), curves flattened: closed figures (all figures, for a
// fill, which closes them anyway) as polygons whose edges outside run along the
// rectangle; open figures as the pieces of their lines inside it.
void ClipPathToRect(const TAdvGraphicsPath& path, const TRectF& rect, bool asFill, TAdvGraphicsPath& result,
                    float flatness = 0.25f);
// The segment cut to the rectangle; false when none of it lies inside.
bool ClipLineToRect(TPointF& from, TPointF& to, const TRectF& rect);

}  // namespace AdvGraphicsTypes

namespace ClassLib {
template <> struct TEnumNames<AdvGraphicsTypes::TAdvGraphicsFillKind> {
    static constexpr const wchar_t* TypeName = L"TAdvGraphicsFillKind";
    static constexpr const wchar_t* Names[] = {L"gfkNone", L"gfkSolid", L"gfkGradient", L"gfkTexture"};
};
template <> struct TEnumNames<AdvGraphicsTypes::TAdvGraphicsFillOrientation> {
    static constexpr const wchar_t* TypeName = L"TAdvGraphicsFillOrientation";
    static constexpr const wchar_t* Names[] = {L"gfoHorizontal", L"gfoVertical", L"gfoCustom"};
};
template <> struct TEnumNames<AdvGraphicsTypes::TAdvGraphicsTextureMode> {
    static constexpr const wchar_t* TypeName = L"TAdvGraphicsTextureMode";
    static constexpr const wchar_t* Names[] = {L"gtmOriginal", L"gtmFit", L"gtmStretch", L"gtmCenter", L"gtmTile"};
};
template <> struct TEnumNames<AdvGraphicsTypes::TAdvGraphicsStrokeKind> {
    static constexpr const wchar_t* TypeName = L"TAdvGraphicsStrokeKind";
    static constexpr const wchar_t* Names[] = {L"gskNone", L"gskSolid", L"gskDash", L"gskDot", L"gskDashDot",
                                               L"gskDashDotDot"};
};
}  // namespace ClassLib
