#pragma once
// The library's picture types: the SVG importer's interface, the SVG picture format and
// the base of the raster-or-SVG pictures; geometry routines in AdvTypesGeometry.h.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "classlib/Collections.h"
#include "classlib/Colors.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvTypesGeometry.h"

namespace AdvGlobalStream {
class TDecodedImage;
}

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

// Makes the importer of an SVG picture; RegisterSVGFormat installs the SVG engine's. With
// none, SVG pictures keep and save their bytes but draw nothing and are empty.
using TSVGImportFactory = std::function<std::unique_ptr<TAdvSVGImport>()>;
void SetSVGImportFactory(TSVGImportFactory factory);
const TSVGImportFactory& SVGImportFactory();

// The picture registry's "svg" format ("Scalable Vector Graphics"), added at start-up and
// withdrawn at exit, with the SVG engine's importer installed for SVG pictures. Raster
// signatures are asked first; XML text is SVG.
void RegisterSVGFormat();
void UnregisterSVGFormat();

// True when the bytes look like XML text: after a byte-order mark and white space, "<".
// Only such data is taken as SVG; anything else that is no raster picture is refused.
bool LooksLikeSVG(const std::uint8_t* data, std::size_t size);
// True when the data is a raster picture the class library can tell by its signature.
bool IsRasterData(const std::uint8_t* data, std::size_t size);

// What picture bytes hold: raster data by its signature, SVG by its XML text.
// EInvalidGraphic "Cannot load the picture: unknown picture format" for anything else.
enum class TPictureData { Raster, SVG };
TPictureData ClassifyPictureData(const ClassLib::TBytes& bytes);
// The description data of a raster-or-SVG picture (the rest of the stream): raster bytes
// as they are, or a 32-bit count and the SVG text. The payload is the raster bytes or the
// text; nothing at all gives an empty payload. EInvalidGraphic for anything else.
TPictureData ReadPictureData(ClassLib::TStream* stream, ClassLib::TBytes& payload);

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

    // Bytes that are no XML text raise EInvalidGraphic, and the importer's errors pass on;
    // either way the picture stays as it was.
    void LoadFromStream(ClassLib::TStream* stream) override;
    void SaveToStream(ClassLib::TStream* stream) override;
    // Errors of the file and of the importer pass on.
    void LoadFromFile(const std::wstring& fileName) override;
    void SaveToFile(const std::wstring& fileName) override;
    // The description data is TGraphic's: a 32-bit byte count, then the SVG text.
    static bool CanLoadFromStream(ClassLib::TStream* stream);
    void Clear();

    // The bytes from the stream's start to its end.
    static ClassLib::TBytes ReadWholeStream(ClassLib::TStream* stream);
    static void WriteAll(ClassLib::TStream* stream, const ClassLib::TBytes& bytes);

    const std::wstring& FileName() const { return FFileName; }
    void SetFileName(const std::wstring& value);
protected:
    void AssignTo(ClassLib::TPersistent* dest) const override;
    // Forgets the SVG (bytes and elements) without a change notice.
    void ClearSVG();
    // Replaces the bytes and reloads the importer. The importer's errors are swallowed
    // (the bytes are kept), or, with `passErrors`, raised with bytes and importer as before.
    void SetSVGBytes(const ClassLib::TBytes& bytes, bool passErrors);
    const ClassLib::TBytes& SVGBytes() const { return FStream.Bytes(); }
    void StoreFileName(const std::wstring& value) { FFileName = value; }
private:
    std::unique_ptr<TAdvSVGImport> FImporter;  // made on the first SVG load
    ClassLib::TMemoryStream FStream;            // the SVG bytes exactly as loaded
    std::wstring FFileName;
};

// What the GDI+ picture and the HTML picture share: raster bytes kept exactly as loaded
// (drawn by the descendants through GDI+), or SVG held as the base holds it; SVG takes
// precedence wherever both are held.
class TRasterSVGPicture : public TAdvSVGBitmap {
    CLASSLIB_CLASS(TRasterSVGPicture, TAdvSVGBitmap)
public:
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromClipboardFormat(std::uint16_t, std::uintptr_t, HPALETTE) {}
    void SaveToClipboardFormat(std::uint16_t&, std::uintptr_t&, HPALETTE&) {}

    // Swallows every error and leaves the picture empty.
    void LoadFromFile(const std::wstring& fileName) override;
    // Raster bytes by their signature, SVG by its XML text; anything else, or SVG the
    // importer cannot read, raises and keeps the picture as it was.
    void LoadFromStream(ClassLib::TStream* stream) override;
    void SaveToStream(ClassLib::TStream* stream) override;
    // Raster pictures store their bytes; SVG a 32-bit count and the text. Reading
    // measures at once: controls lay out by the size of a picture read from a description.
    void ReadData(ClassLib::TStream* stream) override;
    void WriteData(ClassLib::TStream* stream) override;
    // Nothing when the module has no such RCDATA resource.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& resName);
    // EResNotFound when the module has no such RCDATA resource.
    void LoadFromResourceID(HINSTANCE instance, int resID);
    // The raster bytes (empty while only SVG was ever loaded).
    const ClassLib::TBytes& Data() const { return FDatastream.Bytes(); }
protected:
    TRasterSVGPicture();
    ~TRasterSVGPicture() override;
    bool HoldsSVG() const { return HasSVGData(); }
    // The raster bytes decoded for drawing, kept until they change.
    AdvGlobalStream::TDecodedImage& Decoded() const { return *FDecoded; }
    void SetRaster(const ClassLib::TBytes& bytes);
    // Raster bytes replace the SVG; SVG text leaves the raster bytes behind it. The
    // importer's errors as SetSVGBytes.
    void TakeBytes(const ClassLib::TBytes& bytes, bool passErrors);
    // Forgets SVG and raster bytes, with no notice.
    void ClearAll();
    // The raster size into FWidth and FHeight; false when there is nothing GDI+ can read.
    // EImageMemoryError when the memory for the bytes cannot be had.
    bool MeasureRaster();
    // After every load: the base measures the raster size.
    virtual void Measure();
    // New raster bytes are in place.
    virtual void RasterChanged() {}
    // A file loaded without error, before it is measured.
    virtual void FileLoaded(const std::wstring& fileName) { (void)fileName; }
    // "RES://" and the like, in any case.
    static bool HasAddressPrefix(const std::wstring& url, const wchar_t* prefix);

    ClassLib::TMemoryStream FDatastream;   // raster bytes as loaded; changed only by SetRaster
    bool FIsEmpty = true;
    int FWidth = 0;
    int FHeight = 0;
private:
    std::unique_ptr<AdvGlobalStream::TDecodedImage> FDecoded;
};

// The library's picture holder: a TPicture that knows whether it holds SVG.
class TAdvBitmap : public ClassLib::TPicture {
    CLASSLIB_CLASS(TAdvBitmap, ClassLib::TPicture)
public:
    TAdvBitmap() = default;
    // A new picture from the module's RCDATA resource (0: the program); empty when the
    // module has no such resource.
    static std::unique_ptr<TAdvBitmap> CreateFromResource(const std::wstring& name, std::uintptr_t instance = 0);
    void LoadFromResource(const std::wstring& name, std::uintptr_t instance = 0);
    // True when the graphic is an SVG picture whose importer holds elements.
    virtual bool HasSVG() const;
    // The importer of the SVG graphic, or null.
    TAdvSVGImport* GetSVG() const;
};

// One bitmap for one screen scale.
class TAdvScaledBitmap : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TAdvScaledBitmap, ClassLib::TCollectionItem)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvScaledBitmap(ClassLib::TCollection* collection);
    ~TAdvScaledBitmap() override;
    void Assign(const ClassLib::TPersistent* source) override;

    TAdvBitmap* Bitmap() const { return FBitmap.get(); }
    // Copies the picture in; giving the item its own bitmap does nothing.
    void SetBitmap(const TAdvBitmap* value);
    const std::wstring& BitmapName() const { return FBitmapName; }
    void SetBitmapName(const std::wstring& value);
    float Scale() const { return FScale; }
    void SetScale(float value);
private:
    std::unique_ptr<TAdvBitmap> FBitmap;
    float FScale = 1;
    std::wstring FBitmapName;
};

class TAdvScaledBitmaps : public ClassLib::TOwnedCollection {
    CLASSLIB_CLASS(TAdvScaledBitmaps, ClassLib::TOwnedCollection)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvScaledBitmaps(ClassLib::TPersistent* owner);
    TAdvScaledBitmap* Add(float scale = 1);
    TAdvScaledBitmap* AddBitmap(const TAdvBitmap* bitmap, float scale = 1);
    TAdvScaledBitmap* AddDrawBitmap(const ClassLib::TGraphic* bitmap, float scale = 1);
    TAdvScaledBitmap* AddBitmapFromFile(const std::wstring& fileName, float scale = 1);
    TAdvScaledBitmap* AddBitmapFromResource(const std::wstring& resourceName, std::uintptr_t instance, float scale = 1);
    TAdvScaledBitmap* AddBitmapName(const std::wstring& bitmapName, float scale = 1);
    TAdvScaledBitmap* Insert(int index);
    TAdvScaledBitmap* Insert(int index, float scale);
    TAdvScaledBitmap* Items(int index) const;
    void SetItems(int index, const TAdvScaledBitmap* value);
    // The first item of exactly that scale; else the item of the largest scale (the one
    // that looks best scaled down); null when there are none.
    TAdvScaledBitmap* GetItemByScale(float scale) const;
    TAdvBitmap* GetBitmapByScale(float scale) const;
    TAdvBitmap* Bitmap(float scale) const { return GetBitmapByScale(scale); }
    // Copies into the bitmap GetItemByScale finds; adds an item only when there is none.
    void SetBitmap(float scale, const TAdvBitmap* value);

    const ClassLib::TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(ClassLib::TNotifyEvent handler) { FOnChange = std::move(handler); }
protected:
    void Update(ClassLib::TCollectionItem* item) override;
private:
    ClassLib::TNotifyEvent FOnChange;
};

// True for null, for no graphic, or for an empty graphic.
bool IsPictureEmpty(const ClassLib::TPicture* picture);

}  // namespace AdvTypes
