#pragma once
// Pictures: the abstract graphic, the picture holder with its format registry, and
// the raster formats (device-independent bitmap, icon, PNG, JPEG).
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/Colors.h"
#include "classlib/Events.h"
#include "classlib/Exceptions.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "classlib/PictureCodecs.h"

namespace ClassLib {

class TStream;
class TGraphic;
class TBitmap;

class EInvalidGraphicOperation : public Exception { public: using Exception::Exception; };

// What the picture registry knows of a graphic class.
struct TGraphicClassData {
    std::wstring Name;  // the class name, as written into window descriptions
    std::unique_ptr<TGraphic> (*Create)();
    // True when the data at the stream's position is for this class; keeps the position.
    // Null: the class is found by file extension only.
    bool (*CanLoadFromStream)(TStream* stream);
    // Raster formats are told by a fixed signature and are asked before all others.
    bool Raster;
};
using TGraphicClass = const TGraphicClassData*;

class TGraphic : public TPersistent {
    CLASSLIB_CLASS(TGraphic, TPersistent)
public:
    virtual TGraphicClass GraphicClass() const = 0;

    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual void SetSize(int width, int height) { SetWidth(width); SetHeight(height); }

    virtual void LoadFromStream(TStream* stream) = 0;
    virtual void SaveToStream(TStream* stream) = 0;
    virtual void LoadFromFile(const std::wstring& fileName);
    virtual void SaveToFile(const std::wstring& fileName);
    // The picture's data in a window description: a 32-bit byte count, then the bytes
    // SaveToStream writes.
    virtual void ReadData(TStream* stream);
    virtual void WriteData(TStream* stream);

    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return FModified; }
    void SetModified(bool value);

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }
protected:
    virtual void Changed();
    bool FTransparent = false;
private:
    bool FModified = false;
    TNotifyEvent FOnChange;
};

// The bytes of a graphic's description data: a 32-bit count, then that many bytes.
// EInvalidGraphic when the count runs past the end of the stream.
TBytes ReadCountedData(TStream* stream);

struct TFileFormat {
    std::wstring Extension;  // without the dot, lower case
    std::wstring Description;
    TGraphicClass GraphicClass;
};

class TPicture : public TPersistent {
    CLASSLIB_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;
    void Assign(const TPersistent* source) override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // A copy of `graphic` (null clears the picture).
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap; any other graphic is replaced by an empty bitmap.
    TBitmap* Bitmap();
    int Width() const;
    int Height() const;

    // The format is told by the data: raster signatures first, then the other
    // registered formats in the order they were registered. Unknown data raises
    // EInvalidGraphic and leaves the picture as it was.
    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream);
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName);
    // Picture data kept as a raw-data resource of the module (null: the program). Without
    // that resource (a test program carries none) the picture is left empty.
    void LoadFromResourceName(THandle instance, const std::wstring& name);
    // Window-description data: the class name (a length byte and ASCII), then the graphic's data.
    void ReadData(TStream* stream);
    void WriteData(TStream* stream);

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

    static void RegisterFileFormat(const std::wstring& extension, const std::wstring& description,
                                   TGraphicClass graphicClass);
    static void UnregisterGraphicClass(TGraphicClass graphicClass);
    static std::vector<TFileFormat> FileFormats();
    // The registered class for the data at the stream's position, or null.
    static TGraphicClass FindGraphicClass(TStream* stream);
    static TGraphicClass FindGraphicClassByName(const std::wstring& className);
protected:
    virtual void Changed();
private:
    void TakeGraphic(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> FGraphic;
    TNotifyEvent FOnChange;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

// A device-independent bitmap (a DIB section) with a canvas of its own.
class TBitmap : public TGraphic {
    CLASSLIB_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf32bit);
    ~TBitmap() override;
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
    void Assign(const TPersistent* source) override;

    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int width) override { SetSize(width, FHeight); }
    void SetHeight(int height) override { SetSize(FWidth, height); }
    void SetSize(int width, int height) override;

    // BMP file data.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);
    // A bitmap resource (RT_BITMAP) of the module.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels to the new format.
    void SetPixelFormat(TPixelFormat format);
    // Bits per pixel of the stored pixels.
    int BitCount() const;
    // Row `row` (0 = top) of the pixel data; rows are padded to 4 bytes.
    void* ScanLine(int row);
    int BytesPerScanLine() const;

    TCanvas* Canvas();
    HBITMAP Handle();
    // Takes over a bitmap handle: its pixels are copied and the handle is deleted.
    void SetHandle(HBITMAP bitmap);

    TColor TransparentColor();
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode mode);
    // 32-bit pixels whose alpha is premultiplied; drawn with alpha blending.
    bool AlphaPremultiplied() const { return FAlphaPremultiplied; }
    void SetAlphaPremultiplied(bool value) { FAlphaPremultiplied = value; }
private:
    class TBitmapCanvas;
    friend class TBitmapCanvas;
    // `info`: the header, masks and colour table to use instead of the format's defaults.
    void Recreate(int width, int height, TPixelFormat format, bool keepPixels, const TBytes* info = nullptr);
    void FreeCanvasContext();
    HDC AcquireDC();

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    std::vector<std::uint8_t> FInfo;  // BITMAPINFOHEADER and colour table
    void* FBits = nullptr;
    TOwnedBitmap FHandle;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
    bool FAlphaPremultiplied = false;
};

// An icon from .ico data (the first image of the file) or from a handle.
class TIcon : public TGraphic {
    CLASSLIB_CLASS(TIcon, TGraphic)
public:
    TIcon();
    ~TIcon() override;
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
    void Assign(const TPersistent* source) override;

    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool Empty() const override { return FHandle == nullptr; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int width) override;
    void SetHeight(int height) override;

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);

    HICON Handle() const { return FHandle; }
    // Takes ownership of the icon.
    void SetHandle(HICON icon);
private:
    void Clear();
    HICON FHandle = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    TBytes FData;  // the .ico bytes as loaded; made from the handle when empty
};

// A raster format held twice: as the bytes it was loaded from (saved unchanged) and
// as a decoded bitmap that draws. Pixels assigned from another graphic are encoded
// when the picture is saved.
class TEncodedRaster : public TGraphic {
    CLASSLIB_CLASS(TEncodedRaster, TGraphic)
public:
    void Assign(const TPersistent* source) override;

    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool Empty() const override { return !FBitmap || FBitmap->Empty(); }
    int Width() const override { return FBitmap ? FBitmap->Width() : 0; }
    int Height() const override { return FBitmap ? FBitmap->Height() : 0; }
    void SetWidth(int width) override { SetSize(width, Height()); }
    void SetHeight(int height) override { SetSize(Width(), height); }
    void SetSize(int width, int height) override;

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    // Raises EInvalidGraphic and keeps the current image when the data is not readable.
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);
    // The decoded pixels (premultiplied alpha when the image has transparency).
    TBitmap* Bitmap() const { return FBitmap.get(); }
    bool HasAlpha() const { return FBitmap && FBitmap->AlphaPremultiplied(); }
protected:
    virtual TRasterImage Decode(const std::uint8_t* data, std::size_t size) const = 0;
    virtual TBytes Encode(const TRasterImage& image) const = 0;
    // The format the decoded pixels are kept in when they have no alpha.
    virtual TPixelFormat OpaqueFormat() const { return pf32bit; }
    // Called with the pixels of an assigned graphic before they are kept.
    virtual void PrepareAssigned(std::unique_ptr<TBitmap>& bitmap) const { (void)bitmap; }

    std::unique_ptr<TBitmap> FBitmap;
    TBytes FData;  // empty while the pixels are newer than any encoded form
};

class TPngImage : public TEncodedRaster {
    CLASSLIB_CLASS(TPngImage, TEncodedRaster)
public:
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
protected:
    TRasterImage Decode(const std::uint8_t* data, std::size_t size) const override { return DecodePng(data, size); }
    TBytes Encode(const TRasterImage& image) const override { return EncodePng(image); }
};

class TJPEGImage : public TEncodedRaster {
    CLASSLIB_CLASS(TJPEGImage, TEncodedRaster)
public:
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
    void Assign(const TPersistent* source) override;

    // 1 to 100; used by the next compression.
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int quality);
    // Compresses the current pixels now (saving does it when needed).
    void Compress();
protected:
    TRasterImage Decode(const std::uint8_t* data, std::size_t size) const override { return DecodeJpeg(data, size); }
    TBytes Encode(const TRasterImage& image) const override;
    TPixelFormat OpaqueFormat() const override { return pf24bit; }
    void PrepareAssigned(std::unique_ptr<TBitmap>& bitmap) const override;
private:
    int FQuality = 90;
};

// The first frame of a GIF, decoded through GDI+; the bytes keep every frame.
class TGIFImage : public TEncodedRaster {
    CLASSLIB_CLASS(TGIFImage, TEncodedRaster)
public:
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
protected:
    TRasterImage Decode(const std::uint8_t* data, std::size_t size) const override;
    TBytes Encode(const TRasterImage& image) const override;
};

// Other raster formats the system's image library reads (TIFF and the like), through GDI+.
class TWICImage : public TEncodedRaster {
    CLASSLIB_CLASS(TWICImage, TEncodedRaster)
public:
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
protected:
    TRasterImage Decode(const std::uint8_t* data, std::size_t size) const override;
    TBytes Encode(const TRasterImage& image) const override;
};

// An enhanced metafile, or a placeable Windows metafile turned into one; drawn by
// playing its records into the target rectangle. The bytes it was loaded from are kept.
class TMetafile : public TGraphic {
    CLASSLIB_CLASS(TMetafile, TGraphic)
public:
    TMetafile();
    ~TMetafile() override;
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
    void Assign(const TPersistent* source) override;

    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool Empty() const override { return FHandle == nullptr; }
    // Pixels at the screen's resolution.
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int width) override;
    void SetHeight(int height) override;

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);

    HENHMETAFILE Handle() const { return FHandle; }
    // Takes ownership of the metafile.
    void SetHandle(HENHMETAFILE metafile);
private:
    void Clear();
    HENHMETAFILE FHandle = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    TBytes FData;
};

}  // namespace ClassLib
