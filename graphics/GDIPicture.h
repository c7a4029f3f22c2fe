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

class TGDIPPicture : public AdvTypes::TRasterSVGPicture {
    CLASSLIB_CLASS(TGDIPPicture, AdvTypes::TRasterSVGPicture)
public:
    TGDIPPicture();
    ~TGDIPPicture() override;
    static const ClassLib::TGraphicClassData& ClassData();
    ClassLib::TGraphicClass GraphicClass() const override { return &ClassData(); }

    // Null empties the picture (OnChange, then OnClear); another TGDIPPicture is copied as
    // SVG or raster bytes; any other graphic or a TPicture is saved and its bytes kept.
    // A TPicture without a graphic empties the picture as null does.
    void Assign(const ClassLib::TPersistent* source) override;

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
    const ClassLib::TNotifyEvent& OnClear() const { return FOnClear; }
    void SetOnClear(ClassLib::TNotifyEvent handler) { FOnClear = std::move(handler); }
protected:
    void FileLoaded(const std::wstring& fileName) override;
private:
    void DrawRaster(AdvGDIP::TGPGraphics* graphics, int x, int y, int w, int h, bool ownSize);

    bool FDoubleBuffered = false;
    bool FTransparentBitmap = true;
    ClassLib::TNotifyEvent FOnClear;
    int FAngle = 0;
};

}  // namespace GDIPicture
