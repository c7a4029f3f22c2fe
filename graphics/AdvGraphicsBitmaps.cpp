// Pictures on the vector drawing object: layout in a box, parts of a picture, pictures by
// name from a picture container and per-scale pictures.
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/Pictures.h"
#include "classlib/Strings.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvTypes.h"
#include "graphics/AdvUtils.h"
#include "graphics/PictureContainer.h"

namespace AdvGraphics {

using namespace ClassLib;
using AdvTypes::RectF;
using AdvTypes::TAdvBitmap;
using AdvTypes::TAdvScaledBitmap;
using AdvTypes::TAdvScaledBitmaps;

namespace {

TRect RoundRect(const TRectF& r) {
    return TRect{RoundToPixel(r.Left), RoundToPixel(r.Top), RoundToPixel(r.Right), RoundToPixel(r.Bottom)};
}

TRectF ToRectF(const TRect& r) {
    return RectF(float(r.Left), float(r.Top), float(r.Right), float(r.Bottom));
}

bool Finite(const TRectF& r) {
    return std::isfinite(r.Left) && std::isfinite(r.Top) && std::isfinite(r.Right) && std::isfinite(r.Bottom);
}

// The importer of a picture that holds SVG elements, or null.
AdvTypes::TAdvSVGImport* SVGOf(const TPicture* bitmap) {
    const auto* adv = dynamic_cast<const TAdvBitmap*>(bitmap);
    if (!adv || !adv->HasSVG()) return nullptr;
    return adv->GetSVG();
}

float ScaleOrScreen(float scale) {
    return scale > 0 ? scale : AdvUtils::TAdvUtils::GetDPIScale();
}

}  // namespace

void TAdvGraphics::GetAspectSize(float& width, float& height, float originalWidth, float originalHeight,
                                 float newWidth, float newHeight, bool aspectRatio, bool stretch, bool cropping) {
    (void)cropping;  // cropping only moves the picture, it keeps the size
    if (aspectRatio) {
        if (originalWidth <= 0 || originalHeight <= 0 || newWidth <= 0 || newHeight <= 0) {
            width = 0;
            height = 0;
            return;
        }
        if (originalWidth >= newWidth || originalHeight >= newHeight || stretch) {
            if (originalWidth / originalHeight < newWidth / newHeight) {
                height = newHeight;
                width = newHeight * originalWidth / originalHeight;
            } else {
                width = newWidth;
                height = newWidth * originalHeight / originalWidth;
            }
        } else {
            width = originalWidth;
            height = originalHeight;
        }
    } else if (stretch) {
        width = newWidth;
        height = newHeight;
    } else {
        width = originalWidth;
        height = originalHeight;
    }
}

TRectF TAdvGraphics::GetBitmapDrawRectangle(const TRectF& rect, const TPicture* bitmap, bool aspectRatio,
                                            bool stretch, bool center, bool cropping) {
    if (!bitmap) return TRectF{};
    float w = 0, h = 0;
    GetAspectSize(w, h, float(bitmap->Width()), float(bitmap->Height()), rect.Right - rect.Left,
                  rect.Bottom - rect.Top, aspectRatio, stretch, cropping);
    float dx = 0, dy = 0;
    if (center || cropping) {
        dx = float(RoundToPixel((rect.Right - rect.Left - w) / 2));
        dy = float(RoundToPixel((rect.Bottom - rect.Top - h) / 2));
    }
    return RectF(rect.Left + dx, rect.Top + dy, rect.Left + dx + w, rect.Top + dy + h);
}

TRectF TAdvGraphics::GetBitmapDrawRectangle(double left, double top, double right, double bottom,
                                            const TPicture* bitmap, bool aspectRatio, bool stretch, bool center,
                                            bool cropping) {
    return GetBitmapDrawRectangle(RectF(float(left), float(top), float(right), float(bottom)), bitmap, aspectRatio,
                                  stretch, center, cropping);
}

TRect TAdvGraphics::GetBitmapDrawRectangle(const TRect& rect, const TPicture* bitmap, bool aspectRatio, bool stretch,
                                           bool center, bool cropping) {
    return RoundRect(GetBitmapDrawRectangle(ToRectF(rect), bitmap, aspectRatio, stretch, center, cropping));
}

TRect TAdvGraphics::GetBitmapDrawRectangle(int left, int top, int right, int bottom, const TPicture* bitmap,
                                           bool aspectRatio, bool stretch, bool center, bool cropping) {
    return GetBitmapDrawRectangle(TRect{left, top, right, bottom}, bitmap, aspectRatio, stretch, center, cropping);
}

bool TAdvGraphics::DrawSVG(const TPicture* bitmap, const TRectF& rect) {
    AdvTypes::TAdvSVGImport* svg = SVGOf(bitmap);
    if (!svg) return false;
    svg->Draw(FActiveCanvas, rect, true);
    return true;
}

void TAdvGraphics::DrawBitmap(const TRectF& rect, const TPicture* bitmap, bool aspectRatio, bool stretch,
                              bool center, bool cropping) {
    if (!bitmap || !Finite(rect)) return;
    const TRectF target = GetBitmapDrawRectangle(rect, bitmap, aspectRatio, stretch, center, cropping);
    if (DrawSVG(bitmap, target)) return;
    if (target.Right <= target.Left || target.Bottom <= target.Top) return;
    DrawBitmap(target, bitmap->Graphic());
}

void TAdvGraphics::DrawBitmap(double left, double top, double right, double bottom, const TPicture* bitmap,
                              bool aspectRatio, bool stretch, bool center, bool cropping) {
    DrawBitmap(RectF(float(left), float(top), float(right), float(bottom)), bitmap, aspectRatio, stretch, center,
               cropping);
}

void TAdvGraphics::DrawBitmap(const TRect& rect, const TPicture* bitmap, bool aspectRatio, bool stretch, bool center,
                              bool cropping) {
    DrawBitmap(ToRectF(rect), bitmap, aspectRatio, stretch, center, cropping);
}

void TAdvGraphics::DrawBitmap(int left, int top, int right, int bottom, const TPicture* bitmap, bool aspectRatio,
                              bool stretch, bool center, bool cropping) {
    DrawBitmap(TRect{left, top, right, bottom}, bitmap, aspectRatio, stretch, center, cropping);
}

void TAdvGraphics::DrawBitmap(int left, int top, const TPicture* bitmap) {
    DrawBitmap(float(left), float(top), bitmap);
}

void TAdvGraphics::DrawBitmap(float left, float top, const TPicture* bitmap) {
    if (!bitmap) return;
    DrawBitmap(RectF(left, top, left + float(bitmap->Width()), top + float(bitmap->Height())), bitmap, true, false,
               true, false);
}

std::unique_ptr<TAdvBitmap> TAdvGraphics::DrawBitmapPartSync(const TRectF& source, const TRectF& destination,
                                                             const TPicture* bitmap) {
    if (!bitmap || AdvTypes::IsPictureEmpty(bitmap) || SVGOf(bitmap)) return nullptr;
    if (!Finite(source) || !Finite(destination)) return nullptr;
    if (AdvTypes::IsRectEmptyF(source) || AdvTypes::IsRectEmptyF(destination)) return nullptr;
    const int w = RoundToPixel(source.Right - source.Left);
    const int h = RoundToPixel(source.Bottom - source.Top);
    if (w <= 0 || h <= 0) return nullptr;
    std::unique_ptr<TAdvGraphics> cut = CreateBitmapCanvas(w, h, FNative);
    cut->BeginScene();
    // The source part lands at the cut's origin.
    cut->DrawBitmap(RectF(-source.Left, -source.Top, -source.Left + float(bitmap->Width()),
                          -source.Top + float(bitmap->Height())),
                    bitmap->Graphic());
    cut->EndScene();
    auto result = std::make_unique<TAdvBitmap>();
    result->Assign(cut->Bitmap());
    return result;
}

std::unique_ptr<TAdvBitmap> TAdvGraphics::DrawBitmapPartSync(const TRect& source, const TRect& destination,
                                                             const TPicture* bitmap) {
    return DrawBitmapPartSync(ToRectF(source), ToRectF(destination), bitmap);
}

void TAdvGraphics::DrawBitmapPart(const TRectF& source, const TRectF& destination, const TPicture* bitmap,
                                  bool aspectRatio, bool stretch, bool center, bool cropping) {
    if (!bitmap || !Finite(source) || !Finite(destination)) return;
    if (AdvTypes::IsRectEmptyF(source) || AdvTypes::IsRectEmptyF(destination)) return;
    // An SVG picture has no pixels to cut: it is drawn whole.
    if (DrawSVG(bitmap, destination)) return;
    std::unique_ptr<TAdvBitmap> part = DrawBitmapPartSync(source, destination, bitmap);
    if (part) DrawBitmap(destination, part.get(), aspectRatio, stretch, center, cropping);
}

void TAdvGraphics::DrawBitmapPart(double sourceLeft, double sourceTop, double sourceRight, double sourceBottom,
                                  double destLeft, double destTop, double destRight, double destBottom,
                                  const TPicture* bitmap, bool aspectRatio, bool stretch, bool center, bool cropping) {
    DrawBitmapPart(RectF(float(sourceLeft), float(sourceTop), float(sourceRight), float(sourceBottom)),
                   RectF(float(destLeft), float(destTop), float(destRight), float(destBottom)), bitmap, aspectRatio,
                   stretch, center, cropping);
}

void TAdvGraphics::DrawBitmapPart(const TRect& source, const TRect& destination, const TPicture* bitmap,
                                  bool aspectRatio, bool stretch, bool center, bool cropping) {
    DrawBitmapPart(ToRectF(source), ToRectF(destination), bitmap, aspectRatio, stretch, center, cropping);
}

void TAdvGraphics::DrawBitmapPart(int sourceLeft, int sourceTop, int sourceRight, int sourceBottom, int destLeft,
                                  int destTop, int destRight, int destBottom, const TPicture* bitmap,
                                  bool aspectRatio, bool stretch, bool center, bool cropping) {
    DrawBitmapPart(TRect{sourceLeft, sourceTop, sourceRight, sourceBottom},
                   TRect{destLeft, destTop, destRight, destBottom}, bitmap, aspectRatio, stretch, center, cropping);
}

TPicture* TAdvGraphics::GetBitmapFromPictureContainer(PictureContainer::TPictureContainer* container,
                                                      const std::wstring& name, bool applyScale, float scale) {
    if (!container || name.empty()) return nullptr;
    if (applyScale) {
        if (TPicture* scaled = container->FindBitmap(name + L"_" + FloatToStr(ScaleOrScreen(scale))))
            return scaled;
    }
    return container->FindBitmap(name);
}

TPicture* TAdvGraphics::GetScaledBitmap(const TAdvScaledBitmaps* bitmaps, float scale,
                                        PictureContainer::TPictureContainer* container) {
    if (!bitmaps) return nullptr;
    TAdvScaledBitmap* item = bitmaps->GetItemByScale(ScaleOrScreen(scale));
    if (!item) return nullptr;
    if (!AdvTypes::IsPictureEmpty(item->Bitmap())) return item->Bitmap();
    TPicture* found = GetBitmapFromPictureContainer(container, item->BitmapName(), true, scale);
    if (!AdvTypes::IsPictureEmpty(found)) return found;
    found = GetBitmapFromPictureContainer(container, item->BitmapName(), false, scale);
    return AdvTypes::IsPictureEmpty(found) ? nullptr : found;
}

void TAdvGraphics::DrawBitmapWithName(const TRectF& rect, const std::wstring& bitmapName, bool applyScale,
                                      float scale, bool aspectRatio, bool stretch, bool center, bool cropping) {
    if (TPicture* bitmap = GetBitmapFromPictureContainer(FPictureContainer, bitmapName, applyScale, scale))
        DrawBitmap(rect, bitmap, aspectRatio, stretch, center, cropping);
}

void TAdvGraphics::DrawBitmapWithName(const TRect& rect, const std::wstring& bitmapName, bool applyScale,
                                      float scale, bool aspectRatio, bool stretch, bool center, bool cropping) {
    DrawBitmapWithName(ToRectF(rect), bitmapName, applyScale, scale, aspectRatio, stretch, center, cropping);
}

void TAdvGraphics::DrawScaledBitmap(const TRectF& rect, const TAdvScaledBitmaps* bitmaps, float scale,
                                    bool aspectRatio, bool stretch, bool center, bool cropping) {
    if (!bitmaps) return;
    TAdvScaledBitmap* item = bitmaps->GetItemByScale(ScaleOrScreen(scale));
    if (!item) return;
    TPicture* bitmap = item->Bitmap();
    if (AdvTypes::IsPictureEmpty(bitmap)) {
        bitmap = GetBitmapFromPictureContainer(FPictureContainer, item->BitmapName(), true, scale);
        if (AdvTypes::IsPictureEmpty(bitmap)) {
            DrawBitmapWithName(rect, item->BitmapName(), false, item->Scale(), aspectRatio, stretch, center,
                               cropping);
            return;
        }
    }
    DrawBitmap(rect, bitmap, aspectRatio, stretch, center, cropping);
}

void TAdvGraphics::DrawScaledBitmap(const TRect& rect, const TAdvScaledBitmaps* bitmaps, float scale,
                                    bool aspectRatio, bool stretch, bool center, bool cropping) {
    DrawScaledBitmap(ToRectF(rect), bitmaps, scale, aspectRatio, stretch, center, cropping);
}

}  // namespace AdvGraphics
