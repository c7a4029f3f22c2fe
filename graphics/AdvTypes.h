#pragma once
// The library's picture types: the SVG importer's interface, the SVG picture format and
// the base of the raster-or-SVG pictures; geometry routines in AdvTypesGeometry.h.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "classlib/Colors.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvTypesGeometry.h"

namespace AdvTypes {

class TAdvBitmap;

// What an SVG importer offers; the importer itself comes with the SVG drawing code.
class TAdvSVGImport : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAdvSVGImport, ClassLib::TPersistent)
public:
    TAdvSVGImport() = default;
    virtual bool HasElements() const = 0;
    virtual int ElementCount() const = 0;
    // The importer keeps the bitmap until the next call.
    virtual TAdvBitmap* GenerateBitmap(float width, float height) = 0;
    virtual void Clear() = 0;
    virtual void Draw(ClassLib::TCanvas* canvas, const TRectF& rect, bool native) = 0;
    virtual void LoadFromText(const std::wstring& text) = 0;
    virtual void LoadFromFile(const std::wstring& fileName) = 0;
    virtual void LoadFromStream(ClassLib::TStream* stream) = 0;
    virtual void SaveToStream(ClassLib::TStream* stream) = 0;
    virtual void SaveToFile(const std::wstring& fileName) = 0;

    float RotationAngle() const { return FRotationAngle; }
    void SetRotationAngle(float value) { FRotationAngle = value; }
    // The SVG's view box.
    const TRectF& ViewRect() const { return FViewRect; }
    void SetViewRect(const TRectF& value) { FViewRect = value; }
    bool GrayScale() const { return FGrayScale; }
    void SetGrayScale(bool value) { FGrayScale = value; }
    // -1: not set.
    ClassLib::TColor CustomFillColor() const { return FCustomFillColor; }
    void SetCustomFillColor(ClassLib::TColor value) { FCustomFillColor = value; }
    ClassLib::TColor CustomStrokeColor() const { return FCustomStrokeColor; }
    void SetCustomStrokeColor(ClassLib::TColor value) { FCustomStrokeColor = value; }
    ClassLib::TColor TintColor() const { return FTintColor; }
    void SetTintColor(ClassLib::TColor value) { FTintColor = value; }
    // -1: not set.
    float CustomOpacity() const { return FCustomOpacity; }
    void SetCustomOpacity(float value) { FCustomOpacity = value; }
protected:
    float FRotationAngle = 0;
    TRectF FViewRect;
    bool FGrayScale = false;
    ClassLib::TColor FCustomFillColor = ClassLib::TColor(-1);
    ClassLib::TColor FCustomStrokeColor = ClassLib::TColor(-1);
    ClassLib::TColor FTintColor = ClassLib::TColor(-1);
    float FCustomOpacity = -1;
};

// Makes the importer of an SVG picture. Until the SVG drawing code installs one there is
// none: SVG pictures then keep and save their bytes but draw nothing and are empty.
using TSVGImportFactory = std::function<std::unique_ptr<TAdvSVGImport>()>;
void SetSVGImportFactory(TSVGImportFactory factory);
const TSVGImportFactory& SVGImportFactory();

// The picture registry's "SVG" format, added at start-up and withdrawn at exit; both are
// empty until the SVG importer exists, since without it a TPicture could only hold bytes.
void RegisterSVGFormat();
void UnregisterSVGFormat();

// True when the bytes look like XML text: after a byte-order mark and white space, "<".
// Only such data is taken as SVG; anything else that is no raster picture is refused.
bool LooksLikeSVG(const std::uint8_t* data, std::size_t size);
// True when the data is a raster picture the class library can tell by its signature.
bool IsRasterData(const std::uint8_t* data, std::size_t size);

// SVG text as a picture: the bytes are kept exactly as loaded (they are what is saved)
// and the importer is reloaded from them after every change.
class TAdvSVGBitmap : public ClassLib::TGraphic {
    CLASSLIB_CLASS(TAdvSVGBitmap, ClassLib::TGraphic)
public:
    TAdvSVGBitmap();
    ~TAdvSVGBitmap() override;
    static const ClassLib::TGraphicClassData& ClassData();
    ClassLib::TGraphicClass GraphicClass() const override { return &ClassData(); }

    // Only from another SVG picture; any other source leaves this one as it is.
    void Assign(const ClassLib::TPersistent* source) override;
    // True when an importer holds elements.
    virtual bool HasSVG() const;
    // True when SVG bytes are held, whether or not an importer could read them.
    bool HasSVGData() const { return !FStream.Bytes().empty(); }
    TAdvSVGImport* Importer() const { return FImporter.get(); }

    void Draw(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect) override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // The size is the view box's; setting it does nothing.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // The importer's errors are swallowed: the picture keeps the bytes.
    void LoadFromStream(ClassLib::TStream* stream) override;
    void SaveToStream(ClassLib::TStream* stream) override;
    // Errors of the file and of the importer pass on.
    void LoadFromFile(const std::wstring& fileName) override;
    void SaveToFile(const std::wstring& fileName) override;
    // A 32-bit byte count, then the SVG text.
    void ReadData(ClassLib::TStream* stream) override;
    void WriteData(ClassLib::TStream* stream) override;
    static bool CanLoadFromStream(ClassLib::TStream* stream);
    void Clear();

    const std::wstring& FileName() const { return FFileName; }
    void SetFileName(const std::wstring& value);
protected:
    void AssignTo(ClassLib::TPersistent* dest) const override;
    // Forgets the SVG (bytes and elements) without a change notice.
    void ClearSVG();
    // Replaces the bytes and reloads the importer; the importer's errors are swallowed
    // unless `passErrors`.
    void SetSVGBytes(const ClassLib::TBytes& bytes, bool passErrors);
    const ClassLib::TBytes& SVGBytes() const { return FStream.Bytes(); }
    // Reads the 32-bit count and the text of description data.
    static ClassLib::TBytes ReadSVGData(ClassLib::TStream* stream);
    // The bytes from the stream's start to its end.
    static ClassLib::TBytes ReadWholeStream(ClassLib::TStream* stream);
    static void WriteAll(ClassLib::TStream* stream, const ClassLib::TBytes& bytes);
    void StoreFileName(const std::wstring& value) { FFileName = value; }
private:
    std::unique_ptr<TAdvSVGImport> FImporter;  // made on the first SVG load
    ClassLib::TMemoryStream FStream;            // the SVG bytes exactly as loaded
    std::wstring FFileName;
};

}  // namespace AdvTypes
