#include "graphics/AdvGraphicsSVGEngine.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <type_traits>
#include <unordered_set>

#include "classlib/Canvas.h"
#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"
#include "classlib/Strings.h"
#include "classlib/XmlDocument.h"
#include "graphics/AdvGDIPlusClasses.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvGraphicsWin.h"
#include "graphics/AdvUtils.h"

namespace AdvGraphicsSVGEngine {

using AdvGraphics::TAdvGraphics;
using AdvGraphicsTypes::TAdvGraphicsPath;
using AdvGraphicsTypes::TAdvGraphicsSaveState;
using AdvTypes::PointF;
using AdvTypes::RectF;
using ClassLib::LowerCase;
using ClassLib::Trim;

CLASSLIB_IMPLEMENT(TAdvGraphicsSVGImport, AdvTypes::TAdvSVGImport)
CLASSLIB_IMPLEMENT(TAdvGraphicsSVGElement, ClassLib::TPersistent)

namespace {

// The empty start of a union of bounds: 2 to the 31st power and its negative.
constexpr float UnionStart = 2147483648.0f;

// Shapes reaching beyond this many device units are not drawn (a partial drawing); pens
// are never wider than AdvGraphicsTypes::MaxPenWidth. Wine: GDI+ took over ten seconds to
// stroke a rectangle 3.4e38 wide, and GDI as long for a pen 3e38 wide.
constexpr float MaxDeviceCoordinate = 4194304.0f;
using AdvGraphicsTypes::MaxPenWidth;

// Deeper documents are refused: parsing, resolving and drawing all recurse per level.
constexpr int MaxNesting = 256;

bool IsNoColorValue(const std::wstring& value) {
    return value == L"none" || value == L"transparent" || value == L"default";
}

bool IsGradient(TAdvGraphicsSVGElementType type) { return type == etLinearGradient || type == etRadialGradient; }

// The kinds whose transforms a descendant inherits.
bool PassesTransform(TAdvGraphicsSVGElementType type) {
    return type == etContainer || type == etText || type == etTextSpan || type == etTextPath;
}

TAdvGraphicsSVGElementType ElementTypeFromName(const std::wstring& name) {
    static const struct {
        const wchar_t* Name;
        TAdvGraphicsSVGElementType Type;
    } names[] = {
        {L"g", etContainer}, {L"switch", etSwitch}, {L"defs", etDefs}, {L"stop", etStop}, {L"style", etStyle},
        {L"pattern", etPattern}, {L"use", etUse}, {L"rect", etRect}, {L"line", etLine}, {L"polyline", etPolyline},
        {L"polygon", etPolygon}, {L"circle", etCircle}, {L"ellipse", etEllipse}, {L"path", etPath},
        {L"image", etImage}, {L"text", etText}, {L"tspan", etTextSpan}, {L"#text", etTextSpanChild},
        {L"textPath", etTextPath}, {L"clipPath", etClipPath}, {L"linearGradient", etLinearGradient},
        {L"radialGradient", etRadialGradient},
    };
    for (const auto& entry : names)
        if (name == entry.Name) return entry.Type;
    return etUnknown;
}

std::wstring_view TrimView(std::wstring_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && text[first] <= L' ') ++first;
    while (last > first && text[last - 1] <= L' ') --last;
    return text.substr(first, last - first);
}

// The attributes the importer reads by name.
enum TKnownAttribute {
    kaTransform, kaGradientTransform, kaX, kaY, kaWidth, kaHeight, kaRx, kaRy, kaCX, kaCY, kaR, kaX1, kaY1, kaX2,
    kaY2, kaPoints, kaD, kaXLinkHRef, kaHRef, kaStyle, kaCount
};

int KnownAttribute(const std::wstring& name) {
    static const wchar_t* const names[kaCount] = {
        L"transform", L"gradientTransform", L"x", L"y", L"width", L"height", L"rx", L"ry", L"cx", L"cy", L"r",
        L"x1", L"y1", L"x2", L"y2", L"points", L"d", L"xlink:href", L"href", L"style"};
    for (int i = 0; i < kaCount; ++i)
        if (name == names[i]) return i;
    return -1;
}

// One element's attributes, taken from the node in one pass: in document order for the
// style declarations, and by kind for the values read by name. One object serves the
// children of a node in turn, so its list is not made anew for each.
class TElementAttributes {
public:
    void Read(const ISVGNode& node) {
        const int count = node.AttributeCount();
        FItems.clear();
        FItems.reserve(std::size_t(count));
        std::fill(std::begin(FKnown), std::end(FKnown), -1);
        for (int i = 0; i < count; ++i) {
            FItems.emplace_back(node.AttributeName(i), node.AttributeValue(i));
            const int known = KnownAttribute(FItems.back().first);
            if (known >= 0 && FKnown[known] < 0) FKnown[known] = i;
        }
    }
    const std::vector<std::pair<std::wstring, std::wstring>>& Items() const { return FItems; }
    // Null when the element has no such attribute.
    const std::wstring* Find(TKnownAttribute attribute) const {
        const int index = FKnown[attribute];
        return index < 0 ? nullptr : &FItems[std::size_t(index)].second;
    }
    // An absent attribute reads as 0.
    float Length(TKnownAttribute attribute) const {
        const std::wstring* value = Find(attribute);
        return value ? ParseLength(*value) : 0;
    }
private:
    std::vector<std::pair<std::wstring, std::wstring>> FItems;
    int FKnown[kaCount];
};

TColor Tint(TColor color, TColor tint) {
    const unsigned c = unsigned(color), t = unsigned(tint);
    unsigned result = 0;
    for (int shift = 0; shift < 24; shift += 8)
        result |= ((((c >> shift) & 0xFF) * ((t >> shift) & 0xFF)) / 255) << shift;
    return TColor(result);
}

TColor Grey(TColor color) {
    const unsigned c = unsigned(color);
    const int level = int(ClassLib::Round(0.3 * (c & 0xFF) + 0.6 * ((c >> 8) & 0xFF) + 0.1 * ((c >> 16) & 0xFF)));
    return TColor(level | (level << 8) | (level << 16));
}

// The element's own transform, then those of its enclosing groups and texts, innermost
// first; the walk stops at the first ancestor of another kind.
TAdvGraphicsMatrix ElementMatrixChain(const TAdvGraphicsSVGElement& element, bool includeOwn) {
    TAdvGraphicsMatrix result = TAdvGraphicsMatrix::Identity();
    if (includeOwn && !AdvGraphicsTypes::IsMatrixEmpty(element.Matrix())) result = result * element.Matrix();
    for (const TAdvGraphicsSVGElement* p = element.Parent(); p && PassesTransform(p->Type()); p = p->Parent())
        if (!AdvGraphicsTypes::IsMatrixEmpty(p->Matrix())) result = result * p->Matrix();
    return result;
}

// The element's geometry as a path; false for kinds without one.
bool ShapePath(TAdvGraphicsSVGElement& e, TAdvGraphicsPath& path) {
    switch (e.Type()) {
    case etRect:
        path.AddRectangle(RectF(e.X(), e.Y(), e.X() + e.Width(), e.Y() + e.Height()), e.Rx(), e.Ry());
        path.ClosePath();
        return true;
    case etLine:
        path.MoveTo(PointF(e.X(), e.Y()));
        path.LineTo(PointF(e.Width(), e.Height()));
        return true;
    case etCircle:
    case etEllipse:
        path.AddEllipse(RectF(e.X() - e.Rx(), e.Y() - e.Ry(), e.X() + e.Rx(), e.Y() + e.Ry()));
        path.ClosePath();
        return true;
    case etPolyline:
    case etPolygon:
    case etPath:
        if (!e.HasPaths()) return false;
        path.AddPath(*e.CombinedPath());
        return true;
    default:
        return false;
    }
}

// Restores the drawing object's state when the element's drawing ends, also by an error.
class TStateScope {
public:
    explicit TStateScope(TAdvGraphics& graphics) : FGraphics(graphics), FState(graphics.SaveState(false)) {}
    ~TStateScope() {
        try {
            FGraphics.RestoreState(std::move(FState), false);
        } catch (...) {
            // The error already on its way is the one to report.
        }
    }
    TStateScope(const TStateScope&) = delete;
    TStateScope& operator=(const TStateScope&) = delete;
private:
    TAdvGraphics& FGraphics;
    std::unique_ptr<TAdvGraphicsSaveState> FState;
};

// Puts the drawing object's matrix back.
class TMatrixScope {
public:
    explicit TMatrixScope(TAdvGraphics& graphics) : FGraphics(graphics), FMatrix(graphics.GetMatrix()) {}
    ~TMatrixScope() {
        try {
            FGraphics.SetMatrix(FMatrix);
        } catch (...) {
        }
    }
    TMatrixScope(const TMatrixScope&) = delete;
    TMatrixScope& operator=(const TMatrixScope&) = delete;
private:
    TAdvGraphics& FGraphics;
    TAdvGraphicsMatrix FMatrix;
};

// Saves the device context of a canvas for one draw and restores it at the end.
class TDCScope {
public:
    explicit TDCScope(ClassLib::TCanvas* canvas) : FDC(canvas ? canvas->Handle() : nullptr) {
        if (FDC) FSaved = ::SaveDC(FDC);
    }
    ~TDCScope() {
        if (FDC && FSaved) ::RestoreDC(FDC, FSaved);
    }
    TDCScope(const TDCScope&) = delete;
    TDCScope& operator=(const TDCScope&) = delete;
private:
    HDC FDC;
    int FSaved = 0;
};

// True when the tree holds at least `count` elements; it stops counting there.
bool HasManyElements(const TAdvGraphicsSVGElementList& list, int count) {
    std::vector<const TAdvGraphicsSVGElementList*> pending{&list};
    while (!pending.empty() && count > 0) {
        const TAdvGraphicsSVGElementList* next = pending.back();
        pending.pop_back();
        for (const auto& e : *next) {
            if (--count <= 0) break;
            if (e->HasElements()) pending.push_back(&e->Elements());
        }
    }
    return count <= 0;
}

bool IsSafeRelativeFile(const std::wstring& name) {
    if (name.empty() || name.find(L':') != std::wstring::npos || name[0] == L'\\' || name[0] == L'/') return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = name.size();
        if (name.compare(start, end - start, L"..") == 0) return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

// ---- TAdvGraphicsSVGElementList

TAdvGraphicsSVGElementList::TAdvGraphicsSVGElementList(TAdvGraphicsSVGElement* owner) : FOwner(owner) {}
TAdvGraphicsSVGElementList::~TAdvGraphicsSVGElementList() = default;

const ClassLib::TClass& TAdvGraphicsSVGElementList::StaticClass() {
    static const ClassLib::TClass cls(L"TObjectList<TAdvGraphicsSVGElement>", &ClassLib::TObject::StaticClass(),
                                      &ClassLib::TObject::Published, nullptr);
    return cls;
}

void TAdvGraphicsSVGElementList::push_back(std::unique_ptr<TAdvGraphicsSVGElement> element) {
    FItems.push_back(std::move(element));
}

AdvPersistence::TAdvListValue TAdvGraphicsSVGElementList::Item(int index) const {
    return static_cast<ClassLib::TObject*>(FItems.at(std::size_t(index)).get());
}

void TAdvGraphicsSVGElementList::Add(const AdvPersistence::TAdvListValue& value) {
    ClassLib::TObject* const* object = std::get_if<ClassLib::TObject*>(&value);
    std::unique_ptr<ClassLib::TObject> owned(object ? *object : nullptr);
    auto* element = dynamic_cast<TAdvGraphicsSVGElement*>(owned.get());
    if (!element) throw AdvPersistence::EAdvReaderException(L"Only SVG elements can be children of an SVG element");
    owned.release();
    element->FParent = FOwner;
    FItems.emplace_back(element);
}

const ClassLib::TClass* TAdvGraphicsSVGElementList::GetItemClass() { return &TAdvGraphicsSVGElement::StaticClass(); }

// ---- TAdvGraphicsSVGElement

TAdvGraphicsSVGElement::TAdvGraphicsSVGElement() = default;
TAdvGraphicsSVGElement::~TAdvGraphicsSVGElement() = default;

const TAdvGraphicsSVGElement::TValues& TAdvGraphicsSVGElement::DefaultValues() noexcept {
    static const TValues defaults;
    return defaults;
}

TAdvGraphicsSVGElement::TValues& TAdvGraphicsSVGElement::Values() {
    if (!FValues) FValues = std::make_unique<TValues>();
    return *FValues;
}

// The persistence's way to a published value, in the element itself or in its block of
// seldom set values. Reading never makes the block; writing a default into an element
// without one makes none either, so a loaded tree is as small as an imported one.
class TAdvGraphicsSVGElementFields {
public:
    using TElement = TAdvGraphicsSVGElement;
    using TValues = TElement::TValues;

    template <class V>
    static const V& Get(const TElement& e, V TElement::*field) { return e.*field; }
    template <class V>
    static const V& Get(const TElement& e, V TValues::*field) { return e.ReadValues().*field; }
    template <class V>
    static void Set(TElement& e, V TElement::*field, const std::type_identity_t<V>& value) { e.*field = value; }
    template <class V>
    static void Set(TElement& e, V TValues::*field, const std::type_identity_t<V>& value) {
        if (!e.FValues && value == TElement::DefaultValues().*field) return;
        e.Values().*field = value;
    }
};

namespace {

using ClassLib::TPropInfo;
using ClassLib::TPropKind;
using TElement = TAdvGraphicsSVGElement;
using TFields = TAdvGraphicsSVGElementFields;

// The element's values are plain fields that only the importer sets; the persistence
// reaches them directly, so the public interface stays read-only.
const TElement* AsElement(const ClassLib::TObject* object) { return static_cast<const TElement*>(object); }
TElement* AsElement(ClassLib::TObject* object) { return static_cast<TElement*>(object); }

// `Field` is a pointer to a member of the element or of its value block.
template <class Field>
TPropInfo FloatField(const wchar_t* name, Field field, float defaultValue) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Float;
    info.TypeName = L"Single";
    info.GetFloat = [field](const ClassLib::TObject* o) { return double(TFields::Get(*AsElement(o), field)); };
    // As in a document, a number no float holds finitely is refused: drawing counts on
    // finite geometry.
    info.SetFloat = [field, name = std::wstring(name)](ClassLib::TObject* o, double value) {
        if (!std::isfinite(float(value)))
            throw ClassLib::EConvertError(L"Invalid value " + ClassLib::FloatToStr(value) + L" for property " + name +
                                          L" of an SVG element: it is beyond the range of a float");
        TFields::Set(*AsElement(o), field, float(value));
    };
    info.FloatDefault = defaultValue;
    return info;
}

template <class Field>
TPropInfo StringField(const wchar_t* name, Field field, const wchar_t* defaultValue) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::String;
    info.TypeName = L"String";
    info.GetString = [field](const ClassLib::TObject* o) { return TFields::Get(*AsElement(o), field); };
    info.SetString = [field](ClassLib::TObject* o, const std::wstring& value) { TFields::Set(*AsElement(o), field, value); };
    info.StringDefault = defaultValue;
    return info;
}

template <class Field>
TPropInfo ColourField(const wchar_t* name, Field field) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Colour;
    info.TypeName = L"TColor";
    info.GetOrd = [field](const ClassLib::TObject* o) { return int64_t(TFields::Get(*AsElement(o), field)); };
    info.SetOrd = [field](ClassLib::TObject* o, int64_t value) { TFields::Set(*AsElement(o), field, TColor(value)); };
    info.OrdDefault = 0;
    return info;
}

template <class E, class Field>
TPropInfo OrdinalField(const wchar_t* name, TPropKind kind, const wchar_t* typeName, Field field,
                       std::initializer_list<const wchar_t*> names, int64_t defaultValue) {
    TPropInfo info;
    info.Name = name;
    info.Kind = kind;
    info.TypeName = typeName;
    for (const wchar_t* value : names) info.ValueNames.emplace_back(value);
    info.GetOrd = [field](const ClassLib::TObject* o) { return int64_t(TFields::Get(*AsElement(o), field)); };
    info.SetOrd = [field](ClassLib::TObject* o, int64_t value) { TFields::Set(*AsElement(o), field, E(value)); };
    info.OrdDefault = defaultValue;
    return info;
}

// The children and the image are objects the element makes on first access.
TPropInfo OwnedObject(const wchar_t* name, const ClassLib::TClass& cls,
                      ClassLib::TObject* (*get)(ClassLib::TObject* element)) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TPropKind::Class;
    info.ClassKind = ClassLib::TClassPropKind::SubObject;
    info.TypeName = cls.ClassName();
    info.PropClass = &cls;
    info.GetObjectValue = [get](const ClassLib::TObject* o) { return get(const_cast<ClassLib::TObject*>(o)); };
    return info;
}

bool IsExcludedByName(const std::wstring& propertyName) {
    return AdvUtils::TAdvUtils::IndexOfTextInArray(propertyName, AdvPersistence::GlobalExcludeProperties) >= 0;
}

}  // namespace

const ClassLib::TPropertyList& TAdvGraphicsSVGElement::Published() {
    using T = TAdvGraphicsSVGElement;
    static const ClassLib::TPropertyList list = [] {
        ClassLib::TPropertyList l = ClassLib::TPropertyList::Extend(ClassLib::TPersistent::Published());
        l.Add(OwnedObject(L"Bitmap", AdvTypes::TAdvBitmap::StaticClass(),
                          [](ClassLib::TObject* o) -> ClassLib::TObject* { return AsElement(o)->Bitmap(); }));
        l.Add(OwnedObject(L"Elements", TAdvGraphicsSVGElementList::StaticClass(),
                          [](ClassLib::TObject* o) -> ClassLib::TObject* { return &AsElement(o)->Elements(); }));
        using V = T::TValues;
        l.Add(OrdinalField<TAdvGraphicsSVGElementType>(
            L"Type", TPropKind::Enumeration, L"TAdvGraphicsSVGElementType", &T::FType,
            {L"etContainer", L"etSwitch", L"etDefs", L"etUse", L"etRect", L"etLine", L"etPolyline", L"etPolygon",
             L"etCircle", L"etEllipse", L"etPath", L"etImage", L"etText", L"etTextSpan", L"etTextSpanChild",
             L"etTextPath", L"etClipPath", L"etLinearGradient", L"etRadialGradient", L"etStyle", L"etStop",
             L"etPattern", L"etUnknown"},
            etContainer));
        l.Add(OrdinalField<TAdvGraphicsSVGElementPreserveAspectRatio>(
            L"PreserveAspectRatio", TPropKind::Enumeration, L"TAdvGraphicsSVGElementPreserveAspectRatio",
            &V::FPreserveAspectRatio, {L"parNone", L"parOther"}, parOther));
        l.Add(OrdinalField<ClassLib::TFontStyles>(L"FontStyle", TPropKind::Set,
                                                  ClassLib::TEnumNames<ClassLib::TFontStyle>::SetTypeName, &V::FFontStyle,
                                                  {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"}, 0));
        // The order of these lists is the order values are written in.
        l.Add(FloatField(L"X", &T::FXV, 0.0f)).Add(FloatField(L"Y", &T::FYV, 0.0f));
        l.Add(FloatField(L"Width", &T::FWidth, 0.0f)).Add(FloatField(L"Height", &T::FHeight, 0.0f));
        l.Add(FloatField(L"Rx", &T::FRx, 0.0f)).Add(FloatField(L"Ry", &T::FRy, 0.0f));
        l.Add(FloatField(L"CX", &V::FCX, 0.0f)).Add(FloatField(L"CY", &V::FCY, 0.0f));
        l.Add(FloatField(L"Opacity", &V::FOpacity, 1.0f)).Add(FloatField(L"Offset", &V::FOffset, 0.0f));
        l.Add(FloatField(L"StopOpacity", &V::FStopOpacity, 1.0f));
        l.Add(FloatField(L"StrokeWidth", &V::FStrokeWidth, 1.0f));
        l.Add(FloatField(L"FontSize", &V::FFontSize, 0.0f));
        l.Add(ColourField(L"FillColor", &T::FFillColor)).Add(ColourField(L"StrokeColor", &T::FStrokeColor));
        l.Add(ColourField(L"StopColor", &V::FStopColor));
        l.Add(StringField(L"ID", &T::FID, L"")).Add(StringField(L"ClassRefID", &T::FClassRefID, L""));
        l.Add(StringField(L"URLRefID", &T::FURLRefID, L"")).Add(StringField(L"HRefID", &T::FHRefID, L""));
        l.Add(StringField(L"ClipPathRefID", &V::FClipPathRefID, L""));
        l.Add(StringField(L"DisplayValue", &V::FDisplayValue, L""));
        l.Add(StringField(L"FillColorValue", &T::FFillColorValue, L"default"));
        l.Add(StringField(L"StrokeColorValue", &T::FStrokeColorValue, L"default"));
        l.Add(StringField(L"StrokeWidthValue", &V::FStrokeWidthValue, L"default"));
        l.Add(StringField(L"OpacityValue", &V::FOpacityValue, L"default"));
        l.Add(StringField(L"OffsetValue", &V::FOffsetValue, L"default"));
        l.Add(StringField(L"StopColorValue", &V::FStopColorValue, L"default"));
        l.Add(StringField(L"StopOpacityValue", &V::FStopOpacityValue, L"default"));
        l.Add(StringField(L"FontSizeValue", &V::FFontSizeValue, L""));
        l.Add(StringField(L"FontFamily", &V::FFontFamily, L"")).Add(StringField(L"Text", &V::FText, L""));
        l.Add(StringField(L"PreserveAspectRatioValue", &V::FPreserveAspectRatioValue, L"default"));
        return l;
    }();
    return list;
}

std::wstring TAdvGraphicsSVGElement::JSON() { return AdvPersistence::ToJSON(this); }

void TAdvGraphicsSVGElement::SetJSON(const std::wstring& value) {
    if (FImported)
        throw ClassLib::EInvalidOperation(
            L"Cannot load JSON into an element of an imported SVG document: other elements of the document refer to it");
    // Read into a scratch element first: a value of the wrong kind halfway through the
    // text would otherwise leave this element half changed.
    {
        TAdvGraphicsSVGElement scratch;
        AdvPersistence::FromJSON(&scratch, value);
    }
    AdvPersistence::FromJSON(this, value);
}

bool TAdvGraphicsSVGElement::CanSaveProperty(ClassLib::TObject*, const std::wstring& propertyName,
                                             AdvPersistence::TTypeKind) {
    if (IsExcludedByName(propertyName)) return false;
    if (ClassLib::SameText(propertyName, L"Elements")) return HasElements();
    if (ClassLib::SameText(propertyName, L"Bitmap")) return HasBitmap();
    return true;
}

bool TAdvGraphicsSVGElement::CanLoadProperty(ClassLib::TObject*, const std::wstring& propertyName,
                                             AdvPersistence::TTypeKind) {
    return !IsExcludedByName(propertyName);
}

bool TAdvGraphicsSVGElement::HasFillColor() const { return !IsNoColorValue(FFillColorValue); }
bool TAdvGraphicsSVGElement::HasStrokeColor() const { return !IsNoColorValue(FStrokeColorValue); }
bool TAdvGraphicsSVGElement::HasStopColor() const { return !IsNoColorValue(StopColorValue()); }

TAdvGraphicsPath* TAdvGraphicsSVGElement::CombinedPath() {
    if (!FCombinedPath) {
        FCombinedPath = std::make_unique<TAdvGraphicsPath>();
        for (const auto& path : Paths()) FCombinedPath->AddPath(*path);
    }
    return FCombinedPath.get();
}

TAdvGraphicsPath* TAdvGraphicsSVGElement::ActivePath() const { return HasActivePath() ? FPaths->back().get() : nullptr; }

TAdvGraphicsSVGElementList& TAdvGraphicsSVGElement::Elements() {
    if (!FElements) FElements = std::make_unique<TAdvGraphicsSVGElementList>(this);
    return *FElements;
}

TAdvGraphicsSVGElementPathList& TAdvGraphicsSVGElement::Paths() {
    if (!FPaths) FPaths = std::make_unique<TAdvGraphicsSVGElementPathList>();
    return *FPaths;
}

AdvTypes::TAdvBitmap* TAdvGraphicsSVGElement::Bitmap() {
    if (!FBitmap) FBitmap = std::make_unique<AdvTypes::TAdvBitmap>();
    return FBitmap.get();
}

// ---- TAdvGraphicsSVGImport: loading

// The parsed document, kept so that it can be written back.
struct TAdvGraphicsSVGImport::TXMLHolder {
    ClassLib::TXmlDocument Document;
};

namespace {

// The document class's nodes as the importer reads them.
class TXmlNodeAdapter : public ISVGNode {
public:
    explicit TXmlNodeAdapter(ClassLib::TXmlNode node) : FNode(std::move(node)) {}
    std::wstring Name() const override { return FNode.Name(); }
    bool IsText() const override { return FNode.Kind() == ClassLib::TXmlNodeKind::Text; }
    std::wstring Text() const override { return IsText() ? FNode.Value() : FNode.Text(); }
    int ChildCount() const override { return FNode.ChildCount(); }
    std::unique_ptr<ISVGNode> Child(int index) const override {
        return std::make_unique<TXmlNodeAdapter>(FNode.Child(index));
    }
    int AttributeCount() const override { return FNode.AttributeCount(); }
    std::wstring AttributeName(int index) const override { return FNode.Attribute(index).Name; }
    std::wstring AttributeValue(int index) const override { return FNode.Attribute(index).Value; }
    bool Attribute(const std::wstring& name, std::wstring& value) const override {
        if (!FNode.HasAttribute(name)) return false;
        value = FNode.Attribute(name);
        return true;
    }
private:
    ClassLib::TXmlNode FNode;
};

}  // namespace

namespace {

// Names to values, and every value of a name in the order added. Filled once, then only
// looked up: one sorted array rather than a node and a list per name, each a block of
// Wine's heap. The names are views of the elements' own strings.
template <class T>
class TNameIndex {
public:
    void Reserve(std::size_t count) { FItems.reserve(count); }
    void Add(const std::wstring& name, T value) {
        if (!name.empty()) FItems.push_back({name, value});
    }
    // Sorts by name; a name's values stay in the order added.
    void Finish() {
        std::stable_sort(FItems.begin(), FItems.end(), [](const TItem& a, const TItem& b) { return a.Name < b.Name; });
    }
    // The values of the name in the order added; none for an empty name.
    template <class F>
    void ForEach(const std::wstring& name, F&& visit) const {
        for (auto item = Lower(name); item != FItems.end() && item->Name == name; ++item) visit(item->Value);
    }
    // The first value added for the name, or `none`.
    T First(const std::wstring& name, T none) const {
        const auto item = Lower(name);
        return item != FItems.end() && item->Name == name && !name.empty() ? item->Value : none;
    }
    // The last value added for the name that is not `skip`, or `none`.
    T LastOther(const std::wstring& name, T skip, T none) const {
        T found = none;
        ForEach(name, [&](T value) {
            if (value != skip) found = value;
        });
        return found;
    }

private:
    struct TItem {
        std::wstring_view Name;
        T Value;
    };
    typename std::vector<TItem>::const_iterator Lower(const std::wstring& name) const {
        return std::lower_bound(FItems.begin(), FItems.end(), std::wstring_view(name),
                                [](const TItem& item, std::wstring_view key) { return item.Name < key; });
    }
    std::vector<TItem> FItems;
};

}  // namespace

struct TAdvGraphicsSVGImport::TDefinitionIndex {
    static constexpr std::size_t None = std::size_t(-1);

    TDefinitionIndex(const TAdvGraphicsSVGElementList& definitions, const TAdvGraphicsSVGElementClassList& patterns)
        : Definitions(definitions) {
        FirstByClass.Reserve(definitions.size());
        DefinitionsByID.Reserve(definitions.size());
        for (std::size_t i = 0; i < definitions.size(); ++i) {
            const TAdvGraphicsSVGElement& d = *definitions[i];
            FirstByClass.Add(d.FClassRefID, i);
            FirstReferring.Add(d.FURLRefID, i);
            FirstReferring.Add(d.ClipPathRefID(), i);
            DefinitionsByID.Add(d.FID, definitions[i].get());
        }
        PatternsByID.Reserve(patterns.size());
        for (TAdvGraphicsSVGElement* pattern : patterns) PatternsByID.Add(pattern->FID, pattern);
        FirstByClass.Finish();
        FirstReferring.Finish();
        DefinitionsByID.Finish();
        PatternsByID.Finish();
    }

    const TAdvGraphicsSVGElementList& Definitions;
    TNameIndex<std::size_t> FirstByClass;                // definition with that class
    TNameIndex<std::size_t> FirstReferring;              // definition whose url or clip path names it
    TNameIndex<TAdvGraphicsSVGElement*> DefinitionsByID;  // in document order
    TNameIndex<TAdvGraphicsSVGElement*> PatternsByID;     // in document order
};

TAdvGraphicsSVGImport::TAdvGraphicsSVGImport() { Clear(); }
TAdvGraphicsSVGImport::~TAdvGraphicsSVGImport() = default;

void TAdvGraphicsSVGImport::Clear() {
    FElementClassList.clear();
    FElementPatternList.clear();
    FElementClipPathList.clear();
    FElementList.clear();
    FDefsList.clear();
    FXML.reset();
    FMatrix = TAdvGraphicsMatrix::Identity();
    FTextMatrix = TAdvGraphicsMatrix::Identity();
    SetViewRect(TRectF{UnionStart, UnionStart, -UnionStart, -UnionStart});
}

void TAdvGraphicsSVGImport::LoadFromNode(const ISVGNode& root) {
    ClassLib::TFormatSettingsScope dotDecimal;  // numbers below are read with "."
    TRectF candidate{UnionStart, UnionStart, -UnionStart, -UnionStart};
    std::wstring value;
    if (root.Attribute(L"viewBox", value)) {
        std::vector<std::wstring> items;
        std::wstring rest = Trim(value);
        std::size_t start = 0;
        while (start <= rest.size()) {
            std::size_t end = rest.find(L' ', start);
            if (end == std::wstring::npos) end = rest.size();
            if (end > start) items.push_back(rest.substr(start, end - start));
            start = end + 1;
        }
        float box[4] = {};
        if (items.size() == 4 && TryParseNumber(items[0], box[0]) && TryParseNumber(items[1], box[1]) &&
            TryParseNumber(items[2], box[2]) && TryParseNumber(items[3], box[3]))
            candidate = TRectF{box[0], box[1], box[0] + box[2], box[1] + box[3]};
    } else {
        std::wstring width, height;
        if (root.Attribute(L"width", width) && root.Attribute(L"height", height))
            candidate = TRectF{0, 0, ParseLength(width), ParseLength(height)};
    }

    // Whatever the elements' reading raises, the view rect found so far is set.
    struct TFinish {
        TAdvGraphicsSVGImport& Self;
        const TRectF& Candidate;
        ~TFinish() {
            const bool found = Candidate.Left != UnionStart && Candidate.Top != UnionStart &&
                               Candidate.Right != -UnionStart && Candidate.Bottom != -UnionStart;
            if (found) Self.SetViewRect(Candidate);
            else if (Self.ViewRect().Left == UnionStart) Self.SetViewRect(TRectF{});
        }
    } finish{*this, candidate};

    ParseElements(FElementList, root, nullptr, true, 0);
    const TDefinitionIndex index(FDefsList, FElementPatternList);
    ResolveClassReferences(FElementPatternList, index, 0);
    ResolveClassReferences(FElementClipPathList, index, 0);
    ResolveClassReferences(FElementClassList, index, 0);
    ResolvePatternReferences(FElementList, index);
    ResolvePatternReferences(FDefsList, index);
    ResolveHRefs(index);
}

void TAdvGraphicsSVGImport::ParseElements(TAdvGraphicsSVGElementList& list, const ISVGNode& node,
                                          TAdvGraphicsSVGElement* parent, bool collectBounds, int depth) {
    if (depth > MaxNesting)
        throw ClassLib::EConvertError(L"Cannot read the SVG picture: its elements are nested more than " +
                                      std::to_wstring(MaxNesting) + L" levels deep");
    const int count = node.ChildCount();
    std::wstring declaration;  // one buffer for every attribute of every child
    TElementAttributes attributes;
    for (int i = 0; i < count; ++i) {
        const std::unique_ptr<ISVGNode> child = node.Child(i);
        const std::wstring name = child->Name();
        const TAdvGraphicsSVGElementType type = ElementTypeFromName(name);
        if (type == etUnknown) continue;
        if (type == etTextSpanChild && Trim(child->Text()).empty()) continue;

        if (type == etDefs) {
            ParseElements(FDefsList, *child, nullptr, false, depth + 1);
            continue;
        }
        if (type == etStyle) {
            ParseClassRules(child->Text());
            continue;
        }
        if (type == etSwitch || type == etUse) continue;  // neither draws anything

        list.push_back(std::make_unique<TAdvGraphicsSVGElement>());
        TAdvGraphicsSVGElement& e = *list.back();
        e.FImported = true;
        e.FType = type;
        e.FParent = parent;
        attributes.Read(*child);
        const std::wstring* transform = attributes.Find(kaTransform);
        e.FMatrix = transform ? ParseTransform(*transform) : AdvGraphicsTypes::MatrixEmpty();
        const std::wstring* gradientTransform = attributes.Find(kaGradientTransform);
        if (gradientTransform) e.Values().FGradientMatrix = ParseTransform(*gradientTransform);
        if (type == etCircle) {
            e.FXV = attributes.Length(kaCX);
            e.FYV = attributes.Length(kaCY);
            e.FRx = e.FRy = attributes.Length(kaR);
        } else if (type == etEllipse) {
            e.FXV = attributes.Length(kaCX);
            e.FYV = attributes.Length(kaCY);
            e.FRx = attributes.Length(kaRx);
            e.FRy = attributes.Length(kaRy);
        } else if (type == etLine || type == etLinearGradient) {
            e.FXV = attributes.Length(kaX1);
            e.FYV = attributes.Length(kaY1);
            e.FWidth = attributes.Length(kaX2);
            e.FHeight = attributes.Length(kaY2);
        } else if (type == etRadialGradient) {
            if (const std::wstring* cx = attributes.Find(kaCX)) {
                e.Values().FHasCX = true;
                e.Values().FCX = ParseLength(*cx);
            }
            if (const std::wstring* cy = attributes.Find(kaCY)) {
                e.Values().FHasCY = true;
                e.Values().FCY = ParseLength(*cy);
            }
        } else {
            e.FXV = attributes.Length(kaX);
            e.FYV = attributes.Length(kaY);
            e.FWidth = attributes.Length(kaWidth);
            e.FHeight = attributes.Length(kaHeight);
            e.FRx = attributes.Length(kaRx);
            e.FRy = attributes.Length(kaRy);
        }

        // Presentation attributes first, each as the declaration "name:value", then the
        // style attribute's declarations.
        for (const auto& [attribute, value] : attributes.Items()) {
            if (attribute == L"style") continue;
            declaration.assign(attribute).append(1, L':').append(value);
            ParseStyle(e, declaration);
        }
        if (const std::wstring* style = attributes.Find(kaStyle)) ParseStyle(e, *style);

        switch (type) {
        case etContainer:
        case etClipPath:
        case etLinearGradient:
        case etRadialGradient:
        case etPattern:
            if (type == etClipPath) FElementClipPathList.push_back(&e);
            else if (type != etContainer) FElementPatternList.push_back(&e);
            ParseElements(e.Elements(), *child, &e, collectBounds && type == etContainer, depth + 1);
            break;
        case etRect:
        case etLine:
        case etCircle:
        case etEllipse:
            if (collectBounds) {
                TAdvGraphicsPath bounds;
                if (type == etRect) bounds.AddRectangle(RectF(e.FXV, e.FYV, e.FXV + e.FWidth, e.FYV + e.FHeight));
                else if (type == etLine) bounds.AddRectangle(RectF(e.FXV, e.FYV, e.FWidth, e.FHeight));
                else bounds.AddRectangle(RectF(e.FXV - e.FRx, e.FYV - e.FRy, e.FXV + e.FRx, e.FYV + e.FRy));
                UnionViewRectInPlace(e, bounds);
            }
            break;
        case etPolyline:
        case etPolygon:
            ParsePoints(attributes.Find(kaPoints) ? *attributes.Find(kaPoints) : std::wstring(), type == etPolygon,
                        e.Paths());
            if (collectBounds && e.HasActivePath()) UnionViewRect(e, *e.ActivePath());
            break;
        case etPath:
            if (const std::wstring* data = attributes.Find(kaD)) {
                // The paths read before an error stay, and so do their bounds.
                struct TBounds {
                    TAdvGraphicsSVGImport& Self;
                    TAdvGraphicsSVGElement& E;
                    bool Collect;
                    ~TBounds() {
                        if (!Collect || !E.HasPaths()) return;
                        for (const auto& path : E.Paths())
                            if (path->Count() > 0) Self.UnionViewRect(E, *path);
                    }
                } bounds{*this, e, collectBounds};
                ParsePathData(*data, e.Paths());
            }
            break;
        case etImage: {
            const std::wstring* reference = attributes.Find(kaXLinkHRef);
            if (!reference) reference = attributes.Find(kaHRef);
            if (reference) LoadImage(e, *reference);
            if (collectBounds) {
                TAdvGraphicsPath bounds;
                bounds.AddRectangle(RectF(e.FXV, e.FYV, e.FXV + e.FWidth, e.FYV + e.FHeight));
                UnionViewRectInPlace(e, bounds);
            }
            break;
        }
        case etText:
        case etTextSpan:
        case etTextSpanChild:
        case etTextPath:
            if (child->IsText()) {
                e.Values().FText = child->Text();
            } else if (name == L"text" && child->ChildCount() == 1 && child->Child(0)->IsText()) {
                e.Values().FText = child->Child(0)->Text();
            } else {
                ParseElements(e.Elements(), *child, &e, true, depth + 1);
            }
            break;
        default:
            break;
        }
    }
}

void TAdvGraphicsSVGImport::ParseStyle(TAdvGraphicsSVGElement& e, std::wstring_view text) {
    std::wstring_view rest = TrimView(text);
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(L';');
        const std::wstring_view part = rest.substr(0, semicolon);
        rest = semicolon == std::wstring_view::npos ? std::wstring_view() : TrimView(rest.substr(semicolon + 1));
        std::size_t colon = part.find(L':');
        const std::size_t href = part.find(L"xlink:href");
        if (href != std::wstring_view::npos) colon = part.find(L':', href + 10);
        if (colon == std::wstring_view::npos) continue;
        ApplyDeclaration(e, TrimView(part.substr(0, colon)), TrimView(part.substr(colon + 1)));
    }
}

void TAdvGraphicsSVGImport::ApplyDeclaration(TAdvGraphicsSVGElement& e, std::wstring_view name,
                                             std::wstring_view valueView) {
    auto colour = [&](std::wstring& valueField, TColor& colorField, bool allowURL, auto has) {
        valueField = valueView;
        if (!(e.*has)()) {
            colorField = -1;
            return;
        }
        std::wstring url;
        const TSVGColorKind kind = ParseColorValue(valueField, allowURL, colorField, url);
        if (kind == TSVGColorKind::URL) e.FURLRefID = url;
        else if (kind == TSVGColorKind::Transparent) valueField = L"none";
    };
    if (name == L"display") {
        e.Values().FDisplayValue = LowerCase(std::wstring(valueView));
    } else if (name == L"fill") {
        colour(e.FFillColorValue, e.FFillColor, true, &TAdvGraphicsSVGElement::HasFillColor);
    } else if (name == L"stroke") {
        colour(e.FStrokeColorValue, e.FStrokeColor, true, &TAdvGraphicsSVGElement::HasStrokeColor);
    } else if (name == L"stop-color") {
        TAdvGraphicsSVGElement::TValues& v = e.Values();
        colour(v.FStopColorValue, v.FStopColor, false, &TAdvGraphicsSVGElement::HasStopColor);
    } else if (name == L"stroke-width") {
        TAdvGraphicsSVGElement::TValues& v = e.Values();
        v.FStrokeWidthValue = valueView;
        if (e.HasStrokeWidth()) TryParseNumber(v.FStrokeWidthValue, v.FStrokeWidth);
    } else if (name == L"font-family") {
        const TSVGFontFamily family = ParseFontFamily(std::wstring(valueView));
        TAdvGraphicsSVGElement::TValues& v = e.Values();
        v.FFontFamily = family.Name;
        if (v.FFontStyle.Empty()) v.FFontStyle = family.Style;
    } else if (name == L"font-style") {
        if (valueView == L"italic" && e.FontStyle().Empty()) e.Values().FFontStyle += ClassLib::fsItalic;
    } else if (name == L"font-size") {
        TAdvGraphicsSVGElement::TValues& v = e.Values();
        v.FFontSizeValue = valueView;
        if (e.HasFontSize()) v.FFontSize = ParseLength(v.FFontSizeValue);
    } else if (name == L"preserveAspectRatio") {
        TAdvGraphicsSVGElement::TValues& v = e.Values();
        v.FPreserveAspectRatioValue = valueView;
        v.FPreserveAspectRatio = valueView == L"none" ? parNone : parOther;
    } else if (name == L"offset") {
        TAdvGraphicsSVGElement::TValues& v = e.Values();
        v.FOffsetValue = valueView;
        bool percent = false;
        v.FOffset = ParseLength(v.FOffsetValue, &percent);
        if (percent) v.FOffset /= 100;
    } else if (name == L"stop-opacity") {
        TAdvGraphicsSVGElement::TValues& v = e.Values();
        v.FStopOpacityValue = valueView;
        v.FStopOpacity = ParseLength(v.FStopOpacityValue);
    } else if (name == L"opacity") {
        TAdvGraphicsSVGElement::TValues& v = e.Values();
        v.FOpacityValue = valueView;
        TryParseNumber(v.FOpacityValue, v.FOpacity);
    } else if (name == L"xlink:href" || name == L"href") {
        const std::size_t hash = valueView.find(L'#');
        e.FHRefID = hash == std::wstring_view::npos ? valueView : valueView.substr(hash + 1);
    } else if (name == L"id") {
        e.FID = valueView;
    } else if (name == L"clip-path") {
        const std::size_t hash = valueView.find(L'#');
        const std::size_t close = valueView.find(L')');
        if (hash != std::wstring_view::npos)
            e.Values().FClipPathRefID = valueView.substr(hash + 1, close == std::wstring_view::npos || close < hash
                                                              ? std::wstring_view::npos : close - hash - 1);
    } else if (name == L"class") {
        e.FClassRefID = valueView;
        const TAdvGraphicsSVGElement* p = e.FParent;
        const bool inPaint = p && (IsGradient(p->FType) || p->FType == etPattern);
        // All of an element's declarations are applied before any other element's, so
        // when it is listed already it is the last one: no search through the list,
        // which made documents with many classed elements quadratic.
        if (!inPaint && (FElementClassList.empty() || FElementClassList.back() != &e)) FElementClassList.push_back(&e);
    }
}

void TAdvGraphicsSVGImport::ParseClassRules(const std::wstring& text) {
    // The rules are read straight from the text, without a list of them first.
    ForEachClassRule(text, [this](std::wstring_view className, bool hasDeclarations, std::wstring_view declarations) {
        auto rule = std::make_unique<TAdvGraphicsSVGElement>();
        rule->FType = etStyle;
        rule->FImported = true;
        rule->FClassRefID = className;
        if (hasDeclarations) ParseStyle(*rule, declarations);
        if (!rule->FClassRefID.empty()) {
            FDefsList.push_back(std::move(rule));
        } else if (!FElementClassList.empty() && FElementClassList.back() == rule.get()) {
            // A "class:" declaration listed the rule among the classed elements; it goes,
            // and must not stay listed.
            FElementClassList.pop_back();
        }
    });
}

void TAdvGraphicsSVGImport::LoadImage(TAdvGraphicsSVGElement& e, const std::wstring& reference) {
    // A picture that cannot be had draws nothing; it does not fail the document.
    try {
        const std::size_t data = reference.find(L"data:");
        if (data != std::wstring::npos) {
            const std::wstring address = reference.substr(data + 5);
            const std::size_t semicolon = address.find(L';');
            if (semicolon != std::wstring::npos && address.compare(semicolon, 8, L";base64,") == 0) {
                ClassLib::TMemoryStream bytes;
                AdvUtils::TAdvUtils::LoadStreamFromBase64(address.substr(semicolon + 8), &bytes);
                bytes.SetPosition(0);
                e.Bitmap()->LoadFromStream(&bytes);
            }
            return;
        }
        if (FBaseFolder.empty() || !IsSafeRelativeFile(reference)) return;
        std::wstring folder = FBaseFolder;
        if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
        e.Bitmap()->LoadFromFile(folder + reference);
    } catch (const std::exception&) {
        e.FBitmap.reset();
    }
}

void TAdvGraphicsSVGImport::UnionViewRect(const TAdvGraphicsSVGElement& e, const TAdvGraphicsPath& source) {
    TAdvGraphicsPath path;
    path.AddPath(source);
    UnionViewRectInPlace(e, path);
}

void TAdvGraphicsSVGImport::UnionViewRectInPlace(const TAdvGraphicsSVGElement& e, TAdvGraphicsPath& path) {
    path.ApplyMatrix(ElementMatrixChain(e, true));
    const TRectF b = path.GetBounds();
    if (!AdvGraphicsTypes::IsFiniteRect(b)) return;
    TRectF v = ViewRect();
    if (v.Left == UnionStart) {
        v = b;
    } else {
        v.Left = std::min(v.Left, b.Left);
        v.Top = std::min(v.Top, b.Top);
        v.Right = std::max(v.Right, b.Right);
        v.Bottom = std::max(v.Bottom, b.Bottom);
    }
    SetViewRect(v);
}

void TAdvGraphicsSVGImport::ResolveClassReferences(const TAdvGraphicsSVGElementClassList& list,
                                                   const TDefinitionIndex& index, int depth) {
    if (depth > MaxNesting) return;
    for (TAdvGraphicsSVGElement* p : list) {
        // The first definition that decides, in document order: one of the element's class,
        // or one referring to the element when it has children to resolve in its place.
        const std::size_t byClass = index.FirstByClass.First(p->FClassRefID, TDefinitionIndex::None);
        const bool hasChildren = p->HasElements() && !p->Elements().empty();
        const std::size_t referring = hasChildren ? index.FirstReferring.First(p->FID, TDefinitionIndex::None)
                                                  : TDefinitionIndex::None;
        if (byClass == TDefinitionIndex::None && referring == TDefinitionIndex::None) continue;
        if (byClass <= referring) {
            TAdvGraphicsSVGElement* q = index.Definitions[byClass].get();
            if (!q->ClipPathRefID().empty()) {
                index.DefinitionsByID.ForEach(q->ClipPathRefID(), [p](TAdvGraphicsSVGElement* r) {
                    if (r->HasElements() && !r->Elements().empty()) {
                        p->FClipPathRef = r->Elements().back().get();
                        p->FClassRef = p->FClipPathRef->FClassRef;
                    }
                });
            } else if (!q->FURLRefID.empty()) {
                index.DefinitionsByID.ForEach(q->FURLRefID, [p](TAdvGraphicsSVGElement* r) {
                    if (IsGradient(r->FType)) p->FPatternRef = r;
                    else if (r->HasElements() && !r->Elements().empty())
                        p->FClassRef = r->Elements().back()->FClassRef;
                });
            } else {
                p->FClassRef = q;
            }
            continue;
        }
        TAdvGraphicsSVGElementClassList children;
        for (const auto& child : p->Elements()) children.push_back(child.get());
        ResolveClassReferences(children, index, depth + 1);
    }
}

void TAdvGraphicsSVGImport::ResolvePatternReferences(TAdvGraphicsSVGElementList& elements,
                                                     const TDefinitionIndex& index) {
    // An explicit stack: a deep tree must not deepen the call stack.
    std::vector<TAdvGraphicsSVGElementList*> pending{&elements};
    while (!pending.empty()) {
        TAdvGraphicsSVGElementList* list = pending.back();
        pending.pop_back();
        for (const auto& e : *list) {
            if (!e->FURLRefID.empty()) {
                // The last pattern of that id wins.
                if (TAdvGraphicsSVGElement* pattern = index.PatternsByID.LastOther(e->FURLRefID, nullptr, nullptr))
                    e->FPatternRef = pattern;
            }
            if (e->HasElements()) pending.push_back(e->FElements.get());
        }
    }
}

void TAdvGraphicsSVGImport::ResolveHRefs(const TDefinitionIndex& index) {
    for (TAdvGraphicsSVGElement* a : FElementPatternList) {
        if (a->FHRefID.empty()) continue;
        // The last other gradient of that id.
        if (TAdvGraphicsSVGElement* b = index.PatternsByID.LastOther(a->FHRefID, a, nullptr)) a->FHRefRef = b;
    }
}

bool TAdvGraphicsSVGImport::CheckInvariants() const {
    std::unordered_set<const TAdvGraphicsSVGElement*> owned;
    std::vector<const TAdvGraphicsSVGElementList*> pending{&FElementList, &FDefsList};
    while (!pending.empty()) {
        const TAdvGraphicsSVGElementList* list = pending.back();
        pending.pop_back();
        for (const auto& e : *list) {
            owned.insert(e.get());
            if (e->HasElements()) pending.push_back(e->FElements.get());
        }
    }
    const auto ours = [&owned](const TAdvGraphicsSVGElement* e) { return !e || owned.contains(e); };
    for (const TAdvGraphicsSVGElementClassList* list : {&FElementClassList, &FElementPatternList, &FElementClipPathList})
        if (!std::all_of(list->begin(), list->end(), ours)) return false;
    return std::all_of(owned.begin(), owned.end(), [&ours](const TAdvGraphicsSVGElement* e) {
        return ours(e->FClassRef) && ours(e->FPatternRef) && ours(e->FHRefRef) && ours(e->FClipPathRef) &&
               ours(e->FParent);
    });
}

void TAdvGraphicsSVGImport::LoadFromText(const std::wstring& text) {
    Clear();
    auto xml = std::make_unique<TXMLHolder>();
    xml->Document.LoadFromText(text);  // a parse error leaves the import cleared
    FXML = std::move(xml);
    const ClassLib::TXmlNode root = FXML->Document.DocumentElement();
    if (!root || root.Name() != L"svg") return;
    LoadFromNode(TXmlNodeAdapter(root));
}

void TAdvGraphicsSVGImport::LoadFromFile(const std::wstring& fileName) {
    ClassLib::TMemoryStream file;
    file.LoadFromFile(fileName);
    const std::size_t slash = fileName.find_last_of(L"\\/");
    FBaseFolder = slash == std::wstring::npos ? std::wstring(L".") : fileName.substr(0, slash);
    LoadFromStream(&file);
}

void TAdvGraphicsSVGImport::LoadFromStream(ClassLib::TStream* stream) {
    if (!stream) return;
    stream->SetPosition(0);
    const ClassLib::TBytes bytes = AdvTypes::TAdvSVGBitmap::ReadWholeStream(stream);
    std::size_t start = 0;
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) start = 3;
    const ClassLib::AnsiString utf8(reinterpret_cast<const char*>(bytes.data()) + start, bytes.size() - start);
    LoadFromText(ClassLib::UTF8Decode(utf8));
}

void TAdvGraphicsSVGImport::SaveToStream(ClassLib::TStream* stream) {
    if (FXML && stream) FXML->Document.SaveToStream(stream);
}

void TAdvGraphicsSVGImport::SaveToFile(const std::wstring& fileName) {
    ClassLib::TMemoryStream data;
    SaveToStream(&data);
    data.SaveToFile(fileName);
}

// ---- drawing

bool TAdvGraphicsSVGImport::SetViewMatrix(const TRectF& rect, float& sx, float& sy) {
    if (!HasElements()) return false;
    const TRectF view = ViewRect();
    const float w = view.Right - view.Left, h = view.Bottom - view.Top;
    if (!(w > 0) || !(h > 0)) return false;
    sx = (rect.Right - rect.Left) / w;
    sy = (rect.Bottom - rect.Top) / h;
    if (sx == 0 || sy == 0 || !std::isfinite(sx) || !std::isfinite(sy)) return false;
    const float angle = float(RotationAngle() * std::numbers::pi / 180);
    using M = TAdvGraphicsMatrix;
    FMatrix = M::CreateTranslation(-w / 2, -h / 2) * M::CreateRotation(angle) * M::CreateTranslation(w / 2, h / 2) *
              M::CreateTranslation(-view.Left, -view.Top) *
              M::CreateTranslation(float(ClassLib::Round(rect.Left / sx)), float(ClassLib::Round(rect.Top / sy))) *
              M::CreateScaling(sx, sy);
    return true;
}

void TAdvGraphicsSVGImport::Draw(ClassLib::TCanvas* canvas, const TRectF& rect, bool native) {
    if (!canvas) return;
    float sx = 0, sy = 0;
    if (!SetViewMatrix(rect, sx, sy)) return;
    TDCScope dc(canvas);
    TAdvGraphics graphics(canvas, native);
    DrawScene(graphics, rect, native);
}

void TAdvGraphicsSVGImport::Draw(AdvGraphics::TAdvGraphics* graphics, const TRectF& rect, bool native,
                                 bool recreateGraphics) {
    if (!graphics) return;
    float sx = 0, sy = 0;
    if (!SetViewMatrix(rect, sx, sy)) return;
    if (native && recreateGraphics) FMatrix = FMatrix * graphics->GetMatrix();
    if (!recreateGraphics) {
        DrawElements(FElementList, *graphics, sx, sy);
        return;
    }
    TDCScope dc(graphics->Canvas());
    TAdvGraphics own(graphics->Canvas(), native);
    DrawScene(own, rect, native);
}

void TAdvGraphicsSVGImport::DrawScene(AdvGraphics::TAdvGraphics& graphics, const TRectF& rect, bool native) {
    const float sx = (rect.Right - rect.Left) / (ViewRect().Right - ViewRect().Left);
    const float sy = (rect.Bottom - rect.Top) / (ViewRect().Bottom - ViewRect().Top);
    if (!native) {
        DrawElements(FElementList, graphics, sx, sy);
        return;
    }
    AdvGraphics::TAdvGraphicsContext* context = graphics.Context();
    context->SetSize(rect.Right - rect.Left, rect.Bottom - rect.Top);
    // A bitmap of its own pays off from a few dozen shapes on (see DrawOffscreen).
    if (auto* gdiPlus = dynamic_cast<AdvGraphics::Win::TAdvGraphicsContextWin*>(context);
        gdiPlus && HasManyElements(FElementList, 64))
        gdiPlus->DrawOffscreen();
    context->SetAntiAliasing(true);
    if (auto* gp = static_cast<AdvGDIPlusClasses::TGPGraphics*>(context->NativeCanvas())) {
        gp->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        gp->SetCompositingQuality(Gdiplus::CompositingQualityHighQuality);
    }
    graphics.BeginScene();
    DrawElements(FElementList, graphics, sx, sy);
    graphics.EndScene();
    context->Render();
}

void TAdvGraphicsSVGImport::DrawElements(TAdvGraphicsSVGElementList& list, AdvGraphics::TAdvGraphics& graphics,
                                         float sx, float sy) {
    for (const auto& owned : list) {
        TAdvGraphicsSVGElement& e = *owned;
        TStateScope state(graphics);
        const TAdvGraphicsMatrix m = ElementMatrixChain(e, true) * FMatrix;
        TAdvGraphicsSVGElement& r = e.ClassRef() ? *e.ClassRef() : e;
        if (r.DisplayValue() == L"none") continue;

        // The inheritance walk: up while the value is "default" and a parent exists.
        auto walk = [&r](const std::wstring& (TAdvGraphicsSVGElement::*value)() const) {
            TAdvGraphicsSVGElement* f = &r;
            while ((f->*value)() == L"default" && f->Parent()) f = f->Parent();
            return f;
        };
        auto paint = [this](TColor color, TColor custom) {
            if (GrayScale()) return Grey(color);
            if (TintColor() == -1) return custom != -1 ? custom : color;
            return Tint(color, TintColor());
        };

        // Fill.
        if (TAdvGraphicsSVGElement* p = e.PatternRef()) {
            if (p->HRefRef()) p = p->HRefRef();
            AdvGraphicsTypes::TAdvGraphicsFill* fill = graphics.Fill();
            fill->BeginUpdate();
            fill->SetKind(AdvGraphicsTypes::gfkGradient);
            fill->SetGradientMode(AdvGraphicsTypes::gfgmCollection);
            fill->ClearGradientItems();
            if (p->Type() == etLinearGradient) {
                fill->SetGradientType(AdvGraphicsTypes::gfgtLinear);
                fill->SetOrientation(AdvGraphicsTypes::gfoCustom);
                float angle = float(std::atan2(double(p->Height()) - p->Y(), double(p->Width()) - p->X()) * 180 /
                                    std::numbers::pi);
                if (angle < 0) angle += 360;
                fill->SetGradientAngle(angle);
            } else if (p->Type() == etRadialGradient) {
                fill->SetGradientType(AdvGraphicsTypes::gfgtRadial);
                TAdvGraphicsPath shape;
                ShapePath(e, shape);
                shape.ApplyMatrix(m);
                const TRectF b = shape.GetBounds();
                const float cx = p->HasCX() ? p->CX() : 50, cy = p->HasCY() ? p->CY() : 50;
                fill->SetGradientCenterPoint(PointF(b.Left + (b.Right - b.Left) * cx / 100,
                                                    b.Top + (b.Bottom - b.Top) * cy / 100));
            }
            if (p->HasElements()) {
                for (const auto& stop : p->Elements())
                    if (stop->Type() == etStop) fill->AddGradientItem(stop->StopColor(), stop->Offset(), stop->StopOpacity());
            }
            fill->EndUpdate();
        } else {
            TAdvGraphicsSVGElement* f = walk(&TAdvGraphicsSVGElement::FillColorValue);
            if (f->HasFillColor()) {
                graphics.Fill()->SetKind(AdvGraphicsTypes::gfkSolid);
                graphics.Fill()->SetColor(paint(f->FillColor(), CustomFillColor()));
            } else if (f->FillColorValue() != L"default") {
                graphics.Fill()->SetKind(AdvGraphicsTypes::gfkNone);
            } else {
                graphics.Fill()->SetKind(AdvGraphicsTypes::gfkSolid);
                graphics.Fill()->SetColor(GrayScale()              ? TColor(0x808080)
                                          : TintColor() != -1      ? TintColor()
                                          : CustomFillColor() != -1 ? CustomFillColor()
                                                                    : TColor(0));
            }
        }
        // Stroke.
        {
            TAdvGraphicsSVGElement* f = walk(&TAdvGraphicsSVGElement::StrokeColorValue);
            if (!f->HasStrokeColor()) {
                graphics.Stroke()->SetKind(AdvGraphicsTypes::gskNone);
            } else {
                graphics.Stroke()->SetKind(AdvGraphicsTypes::gskSolid);
                graphics.Stroke()->SetColor(paint(f->StrokeColor(), CustomStrokeColor()));
            }
        }
        // Stroke width, in device units by the horizontal scale.
        {
            TAdvGraphicsSVGElement* f = walk(&TAdvGraphicsSVGElement::StrokeWidthValue);
            float width = f->HasStrokeWidth() ? std::max(1.0f, f->StrokeWidth() * sx) : 1.0f;
            width = std::isfinite(width) ? std::min(width, MaxPenWidth) : 1.0f;
            graphics.Stroke()->SetWidth(width);
        }
        // Opacity; ancestors' opacities are not multiplied in.
        {
            TAdvGraphicsSVGElement* f = walk(&TAdvGraphicsSVGElement::OpacityValue);
            const float opacity = CustomOpacity() != -1 ? CustomOpacity() : f->HasOpacity() ? f->Opacity() : 1.0f;
            graphics.Fill()->SetOpacity(opacity);
            graphics.Stroke()->SetOpacity(opacity);
        }

        if (TAdvGraphicsSVGElement* c = e.ClipPathRef()) {
            TAdvGraphicsPath clip;
            if (ShapePath(*c, clip)) {
                clip.ApplyMatrix(m);
                if (AdvGraphicsTypes::IsFinitePath(clip)) graphics.Context()->ClipPath(&clip);
            }
        }

        switch (e.Type()) {
        case etContainer:
            DrawElements(e.Elements(), graphics, sx, sy);
            break;
        case etRect:
        case etLine:
        case etCircle:
        case etEllipse:
        case etPolyline:
        case etPolygon:
        case etPath: {
            TAdvGraphicsPath path;
            if (!ShapePath(e, path)) break;
            path.ApplyMatrix(m);
            const TRectF b = path.GetBounds();
            if (!AdvGraphicsTypes::IsFiniteRect(b) || std::max({-b.Left, -b.Top, b.Right, b.Bottom}) > MaxDeviceCoordinate)
                break;
            graphics.DrawPath(&path, AdvGraphicsTypes::pdmPath);
            break;
        }
        case etImage:
            if (e.HasBitmap()) {
                TMatrixScope matrix(graphics);
                graphics.SetMatrix(m);
                const bool none = e.PreserveAspectRatio() == parNone;
                graphics.DrawBitmap(RectF(e.X(), e.Y(), e.X() + e.Width(), e.Y() + e.Height()), e.Bitmap(), !none,
                                    none, true, false);
            }
            break;
        case etText:
        case etTextSpan:
        case etTextSpanChild:
        case etTextPath: {
            if (e.Type() == etText) {
                graphics.SetFontName(e.FontFamily().empty() ? std::wstring(L"Arial") : e.FontFamily());
                const float size = e.FontSize() != 0 && e.HasFontSize() ? e.FontSize() : 12;
                AdvUtils::TAdvUtils::SetFontSize(graphics.Font(), size);
                graphics.SetFontStyles(e.FontStyle());
                graphics.SetFontColor(e.FillColor());
            }
            if (!e.Text().empty()) {
                TMatrixScope matrix(graphics);
                graphics.SetMatrix(m * FTextMatrix);
                const TAdvGraphicsSVGElement* at =
                    e.Type() == etTextSpanChild && e.Parent() && e.Parent()->Type() == etTextSpan ? e.Parent() : &e;
                const float top = at->Y() - graphics.CalculateTextHeight(e.Text());
                graphics.DrawText(RectF(at->X(), top, at->X() + 100000, top + 100000), e.Text(), false,
                                  AdvGraphicsTypes::gtaLeading, AdvGraphicsTypes::gtaLeading,
                                  AdvGraphicsTypes::gttNone, 0, -1, -1, true);
            }
            if (e.HasElements()) DrawElements(e.Elements(), graphics, sx, sy);
            break;
        }
        default:
            break;
        }
    }
}

AdvTypes::TAdvBitmap* TAdvGraphicsSVGImport::GenerateBitmap(float width, float height) {
    if (!HasElements()) return nullptr;
    FCachedBitmap = std::make_unique<AdvTypes::TAdvBitmap>();
    TRectF rect = ViewRect();
    const bool drawable = rect.Right - rect.Left > 0 && rect.Bottom - rect.Top > 0 && rect.Left != UnionStart &&
                          rect.Top != UnionStart && rect.Right != -UnionStart && rect.Bottom != -UnionStart;
    if (!drawable) return FCachedBitmap.get();
    if (width > -1 && height > -1) rect = TRectF{0, 0, width, height};
    const double w = std::round(double(rect.Right)), h = std::round(double(rect.Bottom));
    // A bitmap beyond this would not be had anyway; refuse it with a clear error.
    if (!(w >= 1 && h >= 1 && w * h <= 64.0 * 1024 * 1024))
        throw ClassLib::EInvalidGraphicOperation(L"Cannot render the SVG picture at " + std::to_wstring(int64_t(w)) +
                                                 L" by " + std::to_wstring(int64_t(h)) + L" pixels");
    std::unique_ptr<TAdvGraphics> canvas = TAdvGraphics::CreateBitmapCanvas(int(w), int(h), false, true);
    canvas->BeginScene();
    Draw(canvas.get(), rect, false, true);
    canvas->EndScene();
    FCachedBitmap->Assign(canvas->Bitmap());
    return FCachedBitmap.get();
}

void InstallSVGImporter() {
    AdvTypes::SetSVGImportFactory([]() -> std::unique_ptr<AdvTypes::TAdvSVGImport> {
        return std::make_unique<TAdvGraphicsSVGImport>();
    });
}

}  // namespace AdvGraphicsSVGEngine
