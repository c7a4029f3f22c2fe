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

    // The colour of one pixel, read from the pixel data (no canvas needed).
    TColor PixelColor(int x, int y);
protected:
    void Changed() override;
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

// A PNG image: decoded into a 32-bit bitmap; the bytes it was loaded from are kept
// and saved unchanged.
class TPngImage : public TGraphic {
    CLASSLIB_CLASS(TPngImage, TGraphic)
public:
    TPngImage();
    ~TPngImage() override;
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
    void Assign(const TPersistent* source) override;

    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void SetSize(int width, int height) override;

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);
    // The decoded pixels (premultiplied alpha when the image has transparency).
    TBitmap* Bitmap() const { return FBitmap.get(); }
    bool HasAlpha() const { return FHasAlpha; }
private:
    std::unique_ptr<TBitmap> FBitmap;
    TBytes FData;
    bool FHasAlpha = false;
};

// A JPEG image: decoded with its bytes kept; a bitmap assigned to it is compressed
// with CompressionQuality when it is saved.
class TJPEGImage : public TGraphic {
    CLASSLIB_CLASS(TJPEGImage, TGraphic)
public:
    TJPEGImage();
    ~TJPEGImage() override;
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
    void Assign(const TPersistent* source) override;

    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void SetSize(int width, int height) override;

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);

    // 1 to 100.
    int CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int quality);
    // Compresses the current pixels now (done by saving when needed).
    void Compress();
    TBitmap* Bitmap() const { return FBitmap.get(); }
private:
    std::unique_ptr<TBitmap> FBitmap;
    TBytes FData;  // empty while the pixels are newer than any compressed form
    int FQuality = 90;
};

// A GIF image: the first frame, decoded through GDI+; the bytes it was loaded from
// are kept (with every frame) and saved unchanged.
class TGIFImage : public TGraphic {
    CLASSLIB_CLASS(TGIFImage, TGraphic)
public:
    TGIFImage();
    ~TGIFImage() override;
    static const TGraphicClassData& ClassData();
    TGraphicClass GraphicClass() const override { return &ClassData(); }
    void Assign(const TPersistent* source) override;

    void Draw(TCanvas* canvas, const TRect& rect) override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    void SetSize(int width, int height) override;

    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    void LoadFromBytes(const std::uint8_t* data, std::size_t size);
    TBitmap* Bitmap() const { return FBitmap.get(); }
private:
    std::unique_ptr<TBitmap> FBitmap;
    TBytes FData;
};

}  // namespace ClassLib
