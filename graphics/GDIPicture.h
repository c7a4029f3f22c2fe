#pragma once
// The picture of buttons, toolbars, hints and status panels: raster bytes kept exactly
// as loaded and drawn through GDI+ on every paint, or SVG held as its base holds it.
#include <windows.h>

#include <cstdint>
#include <string>

#include "classlib/Events.h"
#include "graphics/AdvTypes.h"

namespace AdvGDIP {
class TGPGraphics;
}

namespace GDIPicture {

enum TPictureFormat { pfBMP, pfGIF, pfJPG, pfPNG, pfICO, pfTiff, pfMetaFile, pfNone };

// The format of picture bytes by their signature; 43 bytes or fewer are pfNone.
TPictureFormat PictureFormatOf(const std::uint8_t* data, std::size_t size);

class TGDIPPicture : public AdvTypes::TAdvSVGBitmap {
    CLASSLIB_CLASS(TGDIPPicture, AdvTypes::TAdvSVGBitmap)
public:
    TGDIPPicture();
    ~TGDIPPicture() override;
    static const ClassLib::TGraphicClassData& ClassData();
    ClassLib::TGraphicClass GraphicClass() const override { return &ClassData(); }

    // Null empties the picture (OnChange, then OnClear); another TGDIPPicture is copied as
    // SVG or raster bytes; any other graphic or a TPicture is saved and its bytes kept.
    // A TPicture without a graphic empties the picture as null does.
    void Assign(const ClassLib::TPersistent* source) override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromClipboardFormat(std::uint16_t, std::uintptr_t, HPALETTE) {}
    void SaveToClipboardFormat(std::uint16_t&, std::uintptr_t&, HPALETTE&) {}

    TPictureFormat GetPictureFormat() const;
    // Measures the raster image; true for SVG. Raises EImageMemoryError when the memory
    // for the bytes cannot be had.
    bool GetImageSizes();

    // Painting never raises: a picture whose bytes cannot be put in memory or decoded
    // draws nothing.
    void Draw(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect) override;
    void DrawImage(AdvGDIP::TGPGraphics* graphics, int x, int y);
    void DrawImageRect(AdvGDIP::TGPGraphics* graphics, int x, int y, int w, int h);
    virtual void DrawSVG(AdvGDIP::TGPGraphics* graphics, float x, float y, float w, float h);

    // Swallows every error and leaves the picture empty.
    void LoadFromFile(const std::wstring& fileName) override;
    // Raster bytes by their signature, SVG by its XML text; anything else raises
    // EInvalidGraphic and keeps the picture as it was.
    void LoadFromStream(ClassLib::TStream* stream) override;
    void SaveToStream(ClassLib::TStream* stream) override;
    // Raster pictures store their bytes; SVG a 32-bit count and the text.
    void ReadData(ClassLib::TStream* stream) override;
    void WriteData(ClassLib::TStream* stream) override;
    // Nothing when the module has no such RCDATA resource.
    void LoadFromResourceName(HINSTANCE instance, const std::wstring& resName);
    // EResNotFound when the module has no such RCDATA resource.
    void LoadFromResourceID(HINSTANCE instance, int resID);
    // "RES://name" (the program's resource) or "FILE://path", in any case; other
    // addresses do nothing.
    void LoadFromURL(const std::wstring& url);

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    bool TransparentBitmap() const { return FTransparentBitmap; }
    void SetTransparentBitmap(bool value) { FTransparentBitmap = value; }
    int Angle() const { return FAngle; }
    void SetAngle(int value) { FAngle = value; }
    // The picture itself, for code written against a TPicture holder.
    TGDIPPicture* Graphic() { return this; }
    const ClassLib::TBytes& Data() const { return FDatastream.Bytes(); }
    const ClassLib::TNotifyEvent& OnClear() const { return FOnClear; }
    void SetOnClear(ClassLib::TNotifyEvent handler) { FOnClear = std::move(handler); }
private:
    // SVG bytes take precedence wherever both they and raster bytes are held.
    bool HoldsSVG() const { return HasSVGData(); }
    void SetRaster(const ClassLib::TBytes& bytes);
    // Raster bytes by their signature, SVG by its text; EInvalidGraphic for anything else.
    void TakeBytes(const ClassLib::TBytes& bytes);
    void DrawRaster(AdvGDIP::TGPGraphics* graphics, int x, int y, int w, int h, bool ownSize);
    void Emptied();

    ClassLib::TMemoryStream FDatastream;   // raster bytes as loaded; empty while SVG is held
    bool FIsEmpty = true;
    int FWidth = 0;
    int FHeight = 0;
    bool FDoubleBuffered = false;
    bool FTransparentBitmap = true;
    ClassLib::TNotifyEvent FOnClear;
    int FAngle = 0;
};

}  // namespace GDIPicture
