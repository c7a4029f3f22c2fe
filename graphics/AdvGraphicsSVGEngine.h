#pragma once
// The SVG importer: SVG text becomes a tree of elements that draws on the vector drawing
// object. A small subset is read (shapes, paths, simple text, images, gradients, class
// rules); everything else is skipped without error.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/Object.h"
#include "graphics/AdvGraphicsSVGValues.h"
#include "graphics/AdvGraphicsTypes.h"
#include "graphics/AdvPersistence.h"
#include "graphics/AdvTypes.h"

namespace AdvGraphics {
class TAdvGraphics;
}

namespace AdvGraphicsSVGEngine {

using AdvGraphicsTypes::TAdvGraphicsMatrix;
using AdvTypes::TRectF;

// One node of a parsed XML document as the importer reads it; the seam between the
// importer and the document class.
class ISVGNode {
public:
    virtual ~ISVGNode() = default;
    // "#text" for character data.
    virtual std::wstring Name() const = 0;
    virtual bool IsText() const = 0;
    // The node's text; empty when it has none.
    virtual std::wstring Text() const = 0;
    virtual int ChildCount() const = 0;
    virtual std::unique_ptr<ISVGNode> Child(int index) const = 0;
    virtual int AttributeCount() const = 0;
    virtual std::wstring AttributeName(int index) const = 0;
    virtual std::wstring AttributeValue(int index) const = 0;
    // False when the node has no such attribute.
    virtual bool Attribute(const std::wstring& name, std::wstring& value) const = 0;
};

enum TAdvGraphicsSVGElementType {
    etContainer, etSwitch, etDefs, etUse, etRect, etLine, etPolyline, etPolygon, etCircle, etEllipse, etPath,
    etImage, etText, etTextSpan, etTextSpanChild, etTextPath, etClipPath, etLinearGradient, etRadialGradient,
    etStyle, etStop, etPattern, etUnknown
};
enum TAdvGraphicsSVGElementPreserveAspectRatio { parNone, parOther };

class TAdvGraphicsSVGElement;
using TAdvGraphicsSVGElementClassList = std::vector<TAdvGraphicsSVGElement*>;  // not owning

// An element's children, or an import's top-level or definition elements; owns them. Its
// class name marks it as a generic object list, so the JSON persistence writes it as an
// array of elements and reads such an array back into new children of the owner.
class TAdvGraphicsSVGElementList : public ClassLib::TObject,
                                   public AdvPersistence::IAdvGenericList,
                                   public AdvPersistence::IAdvPersistenceItemClass {
public:
    using TItems = std::vector<std::unique_ptr<TAdvGraphicsSVGElement>>;

    // `owner` becomes the parent of elements added from JSON; null for an import's lists.
    explicit TAdvGraphicsSVGElementList(TAdvGraphicsSVGElement* owner = nullptr);
    ~TAdvGraphicsSVGElementList() override;
    static const ClassLib::TClass& StaticClass();
    const ClassLib::TClass& ClassType() const override { return StaticClass(); }

    TItems::const_iterator begin() const { return FItems.begin(); }
    TItems::const_iterator end() const { return FItems.end(); }
    std::size_t size() const { return FItems.size(); }
    bool empty() const { return FItems.empty(); }
    const std::unique_ptr<TAdvGraphicsSVGElement>& operator[](std::size_t index) const { return FItems[index]; }
    const std::unique_ptr<TAdvGraphicsSVGElement>& back() const { return FItems.back(); }
    void push_back(std::unique_ptr<TAdvGraphicsSVGElement> element);
    void clear() { FItems.clear(); }

    int Count() const override { return int(FItems.size()); }
    AdvPersistence::TAdvListValue Item(int index) const override;
    void Clear() override { clear(); }
    // Takes the element read from JSON; anything else is refused.
    void Add(const AdvPersistence::TAdvListValue& value) override;
    const ClassLib::TClass* GetItemClass() override;
private:
    TAdvGraphicsSVGElement* FOwner;
    TItems FItems;
};

class TAdvGraphicsSVGImport;

// One element of an imported document. Its values are published, so that it is saved
// to JSON and read back through the object persistence (`JSON`, `SetJSON`); the paths,
// transforms and references to other elements are not: the importer derives them from
// the document.
class TAdvGraphicsSVGElement : public ClassLib::TPersistent, public AdvPersistence::IAdvPersistenceFilter {
    CLASSLIB_CLASS(TAdvGraphicsSVGElement, ClassLib::TPersistent)
public:
    TAdvGraphicsSVGElement();
    ~TAdvGraphicsSVGElement() override;
    static const ClassLib::TPropertyList& Published();

    // The published values and the child elements, as compact JSON.
    std::wstring JSON();
    // Reads values written by JSON(); members it lacks keep their values. Text that is
    // not such JSON raises and changes nothing. An element of an import is refused: other
    // elements of its document point into its children.
    void SetJSON(const std::wstring& value);

    // An element without children or image saves neither, so loading makes none; the
    // process-wide excluded names are left out as for other objects.
    bool CanSaveProperty(ClassLib::TObject* object, const std::wstring& propertyName,
                         AdvPersistence::TTypeKind kind) override;
    bool CanLoadProperty(ClassLib::TObject* object, const std::wstring& propertyName,
                         AdvPersistence::TTypeKind kind) override;

    bool HasFillColor() const;
    bool HasStrokeColor() const;
    bool HasStopColor() const;
    bool HasStrokeWidth() const { return StrokeWidthValue() != L"default"; }
    bool HasOpacity() const { return OpacityValue() != L"default"; }
    bool HasOffset() const { return OffsetValue() != L"default"; }
    bool HasStopOpacity() const { return StopOpacityValue() != L"default"; }
    bool HasPreserveAspectRatio() const { return PreserveAspectRatioValue() != L"default"; }
    bool HasFontSize() const { return FontSizeValue() != L"default"; }
    bool HasElements() const { return FElements != nullptr; }
    bool HasPaths() const { return FPaths != nullptr; }
    bool HasBitmap() const { return FBitmap != nullptr; }
    bool HasActivePath() const { return FPaths && !FPaths->empty(); }

    const std::wstring& ID() const { return FID; }
    const std::wstring& ClassRefID() const { return FClassRefID; }
    const std::wstring& URLRefID() const { return FURLRefID; }
    const std::wstring& HRefID() const { return FHRefID; }
    const std::wstring& ClipPathRefID() const { return ReadValues().FClipPathRefID; }
    // Every subpath joined; built on the first request and kept.
    AdvGraphicsTypes::TAdvGraphicsPath* CombinedPath();
    // The last subpath, or null.
    AdvGraphicsTypes::TAdvGraphicsPath* ActivePath() const;
    TAdvGraphicsSVGElementType Type() const { return FType; }
    void SetType(TAdvGraphicsSVGElementType value) { FType = value; }
    // Made on first access.
    TAdvGraphicsSVGElementList& Elements();
    TAdvGraphicsSVGElementPathList& Paths();
    AdvTypes::TAdvBitmap* Bitmap();
    float Opacity() const { return ReadValues().FOpacity; }
    float Offset() const { return ReadValues().FOffset; }
    TColor StopColor() const { return ReadValues().FStopColor; }
    float StopOpacity() const { return ReadValues().FStopOpacity; }
    float X() const { return FXV; }
    float Y() const { return FYV; }
    float Width() const { return FWidth; }
    float Height() const { return FHeight; }
    float Rx() const { return FRx; }
    float Ry() const { return FRy; }
    float CX() const { return ReadValues().FCX; }
    float CY() const { return ReadValues().FCY; }
    const TAdvGraphicsMatrix& Matrix() const { return FMatrix; }
    const TAdvGraphicsMatrix& GradientMatrix() const { return ReadValues().FGradientMatrix; }
    float StrokeWidth() const { return ReadValues().FStrokeWidth; }
    const std::wstring& DisplayValue() const { return ReadValues().FDisplayValue; }
    const std::wstring& FillColorValue() const { return FFillColorValue; }
    const std::wstring& StrokeColorValue() const { return FStrokeColorValue; }
    const std::wstring& StrokeWidthValue() const { return ReadValues().FStrokeWidthValue; }
    const std::wstring& OpacityValue() const { return ReadValues().FOpacityValue; }
    const std::wstring& OffsetValue() const { return ReadValues().FOffsetValue; }
    const std::wstring& StopColorValue() const { return ReadValues().FStopColorValue; }
    const std::wstring& StopOpacityValue() const { return ReadValues().FStopOpacityValue; }
    const std::wstring& FontSizeValue() const { return ReadValues().FFontSizeValue; }
    float FontSize() const { return ReadValues().FFontSize; }
    const std::wstring& FontFamily() const { return ReadValues().FFontFamily; }
    ClassLib::TFontStyles FontStyle() const { return ReadValues().FFontStyle; }
    const std::wstring& Text() const { return ReadValues().FText; }
    TColor FillColor() const { return FFillColor; }
    TColor StrokeColor() const { return FStrokeColor; }
    TAdvGraphicsSVGElement* Parent() const { return FParent; }
    TAdvGraphicsSVGElement* ClassRef() const { return FClassRef; }
    TAdvGraphicsSVGElement* ClipPathRef() const { return FClipPathRef; }
    TAdvGraphicsSVGElement* PatternRef() const { return FPatternRef; }
    TAdvGraphicsSVGElement* HRefRef() const { return FHRefRef; }
    const std::wstring& PreserveAspectRatioValue() const { return ReadValues().FPreserveAspectRatioValue; }
    TAdvGraphicsSVGElementPreserveAspectRatio PreserveAspectRatio() const { return ReadValues().FPreserveAspectRatio; }
    bool HasCX() const { return ReadValues().FHasCX; }
    bool HasCY() const { return ReadValues().FHasCY; }
private:
    friend class TAdvGraphicsSVGImport;
    friend class TAdvGraphicsSVGElementList;
    friend class TAdvGraphicsSVGElementFields;

    // The values most elements leave as they are: strokes, opacities, stops, text and the
    // radial centre. An element holds them only once one is set (a style sheet's rule or
    // a shape of a large document seldom sets any); until then they read as these
    // defaults. Keeping them apart makes the element less than half its size, and a large
    // document loads in fewer fresh pages of memory.
    struct TValues {
        float FStrokeWidth = 1;
        float FOpacity = 1;
        float FOffset = 0;
        float FStopOpacity = 1;
        float FFontSize = 0;
        TColor FStopColor = 0;
        ClassLib::TFontStyles FFontStyle;
        TAdvGraphicsSVGElementPreserveAspectRatio FPreserveAspectRatio = parOther;
        float FFR = 0, FCX = 0, FCY = 0, FFX = 0, FFY = 0;
        bool FHasCX = false, FHasCY = false;
        TAdvGraphicsMatrix FGradientMatrix;
        std::wstring FStrokeWidthValue = L"default", FOpacityValue = L"default", FOffsetValue = L"default";
        std::wstring FStopColorValue = L"default", FStopOpacityValue = L"default";
        std::wstring FPreserveAspectRatioValue = L"default";
        std::wstring FClipPathRefID, FFontFamily, FFontSizeValue, FText, FDisplayValue;
    };
    static const TValues& DefaultValues() noexcept;
    const TValues& ReadValues() const noexcept { return FValues ? *FValues : DefaultValues(); }
    // Made on the first write.
    TValues& Values();

    bool FImported = false;  // made by an import, whose lists and references point into it
    TAdvGraphicsSVGElementType FType = etContainer;
    std::unique_ptr<TValues> FValues;
    std::unique_ptr<AdvTypes::TAdvBitmap> FBitmap;
    std::unique_ptr<AdvGraphicsTypes::TAdvGraphicsPath> FCombinedPath;
    std::unique_ptr<TAdvGraphicsSVGElementPathList> FPaths;
    std::unique_ptr<TAdvGraphicsSVGElementList> FElements;
    float FWidth = 0;   // x2 for lines and linear gradients
    float FXV = 0;      // cx for circles and ellipses; x1 for lines and linear gradients
    float FYV = 0;      // cy for circles and ellipses; y1 for lines and linear gradients
    float FHeight = 0;  // y2 for lines and linear gradients
    float FRx = 0, FRy = 0;
    TAdvGraphicsMatrix FMatrix;  // all zero: no transform of its own
    TColor FFillColor = 0, FStrokeColor = 0;
    std::wstring FFillColorValue = L"default", FStrokeColorValue = L"default";
    std::wstring FID, FClassRefID, FHRefID, FURLRefID;
    TAdvGraphicsSVGElement* FParent = nullptr;
    TAdvGraphicsSVGElement* FClassRef = nullptr;
    TAdvGraphicsSVGElement* FHRefRef = nullptr;
    TAdvGraphicsSVGElement* FPatternRef = nullptr;
    TAdvGraphicsSVGElement* FClipPathRef = nullptr;
};

// Reads a parsed document (text, file or stream) into elements and draws them.
class TAdvGraphicsSVGImport : public AdvTypes::TAdvSVGImport {
    CLASSLIB_CLASS(TAdvGraphicsSVGImport, AdvTypes::TAdvSVGImport)
public:
    TAdvGraphicsSVGImport();
    ~TAdvGraphicsSVGImport() override;

    bool HasElements() const override { return ElementCount() > 0; }
    int ElementCount() const override { return int(FElementList.size()); }
    // A bitmap of the given size, or of the view rect's right and bottom for -1, -1; null
    // when there are no elements. The import keeps it until the next call.
    AdvTypes::TAdvBitmap* GenerateBitmap(float width, float height) override;
    void Clear() override;
    void Draw(ClassLib::TCanvas* canvas, const TRectF& rect, bool native) override;
    // On the caller's drawing object, or on a new one over its canvas.
    void Draw(AdvGraphics::TAdvGraphics* graphics, const TRectF& rect, bool native, bool recreateGraphics);
    void LoadFromText(const std::wstring& text) override;
    // Images may then name files beside the SVG file.
    void LoadFromFile(const std::wstring& fileName) override;
    void LoadFromStream(ClassLib::TStream* stream) override;
    void SaveToStream(ClassLib::TStream* stream) override;
    void SaveToFile(const std::wstring& fileName) override;

    // The document's root element as the seam gives it. Errors of the value syntaxes pass
    // on; what was read before stays.
    void LoadFromNode(const ISVGNode& root);

    const TAdvGraphicsSVGElementList& Elements() const { return FElementList; }
    const TAdvGraphicsSVGElementList& DefsList() const { return FDefsList; }
    // The view transform of the last draw.
    const TAdvGraphicsMatrix& ViewMatrix() const { return FMatrix; }
    // True when every element the lists of classed elements, patterns and clip paths hold,
    // and every element a reference points to, is one of this import's own.
    bool CheckInvariants() const;

    // Where images named by a relative file name are looked for; empty: no file images.
    const std::wstring& BaseFolder() const { return FBaseFolder; }
    void SetBaseFolder(const std::wstring& value) { FBaseFolder = value; }
private:
    struct TXMLHolder;

    void ParseElements(TAdvGraphicsSVGElementList& list, const ISVGNode& node, TAdvGraphicsSVGElement* parent,
                       bool collectBounds, int depth);
    // Declarations "name:value" separated by ";".
    void ParseStyle(TAdvGraphicsSVGElement& element, std::wstring_view text);
    void ApplyDeclaration(TAdvGraphicsSVGElement& element, std::wstring_view name, std::wstring_view value);
    void ParseClassRules(const std::wstring& text);
    void LoadImage(TAdvGraphicsSVGElement& element, const std::wstring& reference);
    void UnionViewRect(const TAdvGraphicsSVGElement& element, const AdvGraphicsTypes::TAdvGraphicsPath& path);
    // The same for a path of the caller's that may be transformed where it stands, which
    // spares two copies per shape.
    void UnionViewRectInPlace(const TAdvGraphicsSVGElement& element, AdvGraphicsTypes::TAdvGraphicsPath& path);
    // The definitions by the names references find them by, so that resolving takes one
    // look-up per reference rather than a walk through every definition.
    struct TDefinitionIndex;
    void ResolveClassReferences(const TAdvGraphicsSVGElementClassList& list, const TDefinitionIndex& index, int depth);
    void ResolvePatternReferences(TAdvGraphicsSVGElementList& elements, const TDefinitionIndex& index);
    void ResolveHRefs(const TDefinitionIndex& index);
    void DrawElements(TAdvGraphicsSVGElementList& list, AdvGraphics::TAdvGraphics& graphics, float sx, float sy);
    void DrawScene(AdvGraphics::TAdvGraphics& graphics, const TRectF& rect, bool native);
    bool SetViewMatrix(const TRectF& rect, float& sx, float& sy);

    std::unique_ptr<TXMLHolder> FXML;
    TAdvGraphicsSVGElementClassList FElementClassList;
    TAdvGraphicsSVGElementClassList FElementPatternList;
    TAdvGraphicsSVGElementClassList FElementClipPathList;
    TAdvGraphicsSVGElementList FElementList;
    TAdvGraphicsSVGElementList FDefsList;
    std::unique_ptr<AdvTypes::TAdvBitmap> FCachedBitmap;
    TAdvGraphicsMatrix FMatrix = TAdvGraphicsMatrix::Identity();
    TAdvGraphicsMatrix FTextMatrix = TAdvGraphicsMatrix::Identity();
    std::wstring FBaseFolder;
};

// Installs the importer as the one SVG pictures use.
void InstallSVGImporter();

}  // namespace AdvGraphicsSVGEngine
