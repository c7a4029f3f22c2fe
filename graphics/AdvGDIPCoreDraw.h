#pragma once
// Wrapper cores of the drawing objects: images, brushes, pens, paths, fonts, formats,
// image attributes, line caps and the graphics. Included by AdvGDIPCore.h only.
#include "graphics/AdvGDIPCore.h"

namespace AdvGDIPCore {

// ---------------------------------------------------------------------------------------
template <class R>
class TImageCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    TImageCore() = default;
    TImageCore(const wchar_t* filename, bool useEmbeddedColorManagement) {
        this->lastResult = useEmbeddedColorManagement ? C::GdipLoadImageFromFileICM(filename, &nativeImage)
                                                      : C::GdipLoadImageFromFile(filename, &nativeImage);
    }
    // The stream is used during the call only.
    TImageCore(IStream* stream, bool useEmbeddedColorManagement) {
        this->lastResult = useEmbeddedColorManagement ? C::GdipLoadImageFromStreamICM(stream, &nativeImage)
                                                      : C::GdipLoadImageFromStream(stream, &nativeImage);
    }
    TImageCore(Gdiplus::GpImage* native, TStatus status) : TStatusCore<R>(status), nativeImage(native) {}
    virtual ~TImageCore() { C::GdipDisposeImage(nativeImage); }
protected:

    typename R::TGPImage* Clone() {
        Gdiplus::GpImage* clone = nullptr;
        const TStatus status = this->Keep(C::GdipCloneImage(nativeImage, &clone));
        return Adopt(clone, status);
    }
    TStatus Save(const wchar_t* filename, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr) {
        return this->Keep(C::GdipSaveImageToFile(nativeImage, filename, &clsidEncoder, encoderParams));
    }
    TStatus Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr) {
        return this->Keep(C::GdipSaveImageToStream(nativeImage, stream, &clsidEncoder, encoderParams));
    }
    TStatus SaveAdd(const EncoderParameters* encoderParams) {
        return this->Keep(C::GdipSaveAdd(nativeImage, encoderParams));
    }
    TStatus SaveAdd(const TImageCore* newImage, const EncoderParameters* encoderParams) {
        if (!newImage) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipSaveAddImage(nativeImage, newImage->nativeImage, encoderParams));
    }
    Gdiplus::ImageType GetType() {
        Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
        this->Keep(C::GdipGetImageType(nativeImage, &type));
        return type;
    }
    TStatus GetPhysicalDimension(TGPSizeF& size) {
        return this->Keep(C::GdipGetImageDimension(nativeImage, &size.Width, &size.Height));
    }
    TStatus GetBounds(TGPRectF& srcRect, Unit_& srcUnit) {
        return this->Keep(C::GdipGetImageBounds(nativeImage, &srcRect, &srcUnit));
    }
    UINT GetWidth() {
        UINT width = 0;
        this->Keep(C::GdipGetImageWidth(nativeImage, &width));
        return width;
    }
    UINT GetHeight() {
        UINT height = 0;
        this->Keep(C::GdipGetImageHeight(nativeImage, &height));
        return height;
    }
    float GetHorizontalResolution() {
        float resolution = 0;
        this->Keep(C::GdipGetImageHorizontalResolution(nativeImage, &resolution));
        return resolution;
    }
    float GetVerticalResolution() {
        float resolution = 0;
        this->Keep(C::GdipGetImageVerticalResolution(nativeImage, &resolution));
        return resolution;
    }
    UINT GetFlags() {
        UINT flags = 0;
        this->Keep(C::GdipGetImageFlags(nativeImage, &flags));
        return flags;
    }
    TStatus GetRawFormat(GUID& format) { return this->Keep(C::GdipGetImageRawFormat(nativeImage, &format)); }
    int GetPixelFormat() {
        Gdiplus::PixelFormat format = 0;
        this->Keep(C::GdipGetImagePixelFormat(nativeImage, &format));
        return int(format);
    }
    int GetPaletteSize() {
        INT size = 0;
        this->Keep(C::GdipGetImagePaletteSize(nativeImage, &size));
        return size;
    }
    TStatus GetPalette(ColorPalette* palette, int size) {
        return this->Keep(C::GdipGetImagePalette(nativeImage, palette, size));
    }
    TStatus SetPalette(const ColorPalette* palette) { return this->Keep(C::GdipSetImagePalette(nativeImage, palette)); }
    typename R::TGPImage* GetThumbnailImage(UINT thumbWidth, UINT thumbHeight,
                                            TGetThumbnailImageAbort callback = nullptr, void* callbackData = nullptr) {
        Gdiplus::GpImage* thumb = nullptr;
        const TStatus status = this->Keep(
            C::GdipGetImageThumbnail(nativeImage, thumbWidth, thumbHeight, &thumb, callback, callbackData));
        return Adopt(thumb, status);
    }
    UINT GetFrameDimensionsCount() {
        UINT count = 0;
        this->Keep(C::GdipImageGetFrameDimensionsCount(nativeImage, &count));
        return count;
    }
    TStatus GetFrameDimensionsList(GUID* dimensionIDs, UINT count) {
        return this->Keep(C::GdipImageGetFrameDimensionsList(nativeImage, dimensionIDs, count));
    }
    UINT GetFrameCount(const GUID& dimensionID) {
        UINT count = 0;
        this->Keep(C::GdipImageGetFrameCount(nativeImage, &dimensionID, &count));
        return count;
    }
    TStatus SelectActiveFrame(const GUID& dimensionID, UINT frameIndex) {
        return this->Keep(C::GdipImageSelectActiveFrame(nativeImage, &dimensionID, frameIndex));
    }
    TStatus RotateFlip(Gdiplus::RotateFlipType rotateFlipType) {
        return this->Keep(C::GdipImageRotateFlip(nativeImage, rotateFlipType));
    }
    UINT GetPropertyCount() {
        UINT count = 0;
        this->Keep(C::GdipGetPropertyCount(nativeImage, &count));
        return count;
    }
    TStatus GetPropertyIdList(UINT numOfProperty, PROPID* list) {
        return this->Keep(C::GdipGetPropertyIdList(nativeImage, numOfProperty, list));
    }
    UINT GetPropertyItemSize(PROPID propId) {
        UINT size = 0;
        this->Keep(C::GdipGetPropertyItemSize(nativeImage, propId, &size));
        return size;
    }
    TStatus GetPropertyItem(PROPID propId, UINT propSize, PropertyItem* buffer) {
        return this->Keep(C::GdipGetPropertyItem(nativeImage, propId, propSize, buffer));
    }
    TStatus GetPropertySize(UINT& totalBufferSize, UINT& numProperties) {
        return this->Keep(C::GdipGetPropertySize(nativeImage, &totalBufferSize, &numProperties));
    }
    TStatus GetAllPropertyItems(UINT totalBufferSize, UINT numProperties, PropertyItem* allItems) {
        return this->Keep(C::GdipGetAllPropertyItems(nativeImage, totalBufferSize, numProperties, allItems));
    }
    TStatus RemovePropertyItem(PROPID propId) { return this->Keep(C::GdipRemovePropertyItem(nativeImage, propId)); }
    TStatus SetPropertyItem(const PropertyItem& item) { return this->Keep(C::GdipSetPropertyItem(nativeImage, &item)); }
    UINT GetEncoderParameterListSize(const CLSID& clsidEncoder) {
        UINT size = 0;
        this->Keep(C::GdipGetEncoderParameterListSize(nativeImage, &clsidEncoder, &size));
        return size;
    }
    TStatus GetEncoderParameterList(const CLSID& clsidEncoder, UINT size, EncoderParameters* buffer) {
        return this->Keep(C::GdipGetEncoderParameterList(nativeImage, &clsidEncoder, size, buffer));
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    // A native image handed to a new wrapper; disposed when no wrapper can be made.
    static typename R::TGPImage* Adopt(Gdiplus::GpImage* native, TStatus status) {
        try {
            return new typename R::TGPImage(native, status);
        } catch (const std::bad_alloc&) {
            C::GdipDisposeImage(native);
            throw;
        }
    }

    Gdiplus::GpImage* nativeImage = nullptr;
};

template <class R, class B>
class TBitmapCore : public B {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
    Gdiplus::GpBitmap* Native() const { return static_cast<Gdiplus::GpBitmap*>(this->nativeImage); }
    TOut<Gdiplus::GpBitmap, Gdiplus::GpImage> Out() { return TOut<Gdiplus::GpBitmap, Gdiplus::GpImage>(this->nativeImage); }
public:
    TBitmapCore() = default;
    TBitmapCore(const wchar_t* filename, bool useEmbeddedColorManagement) {
        this->lastResult = useEmbeddedColorManagement ? C::GdipCreateBitmapFromFileICM(filename, Out())
                                                      : C::GdipCreateBitmapFromFile(filename, Out());
    }
    TBitmapCore(IStream* stream, bool useEmbeddedColorManagement) {
        this->lastResult = useEmbeddedColorManagement ? C::GdipCreateBitmapFromStreamICM(stream, Out())
                                                      : C::GdipCreateBitmapFromStream(stream, Out());
    }
    TBitmapCore(int width, int height, int stride, int format, BYTE* scan0) {
        this->lastResult = C::GdipCreateBitmapFromScan0(width, height, stride, Gdiplus::PixelFormat(format), scan0, Out());
    }
    TBitmapCore(int width, int height, int format) {
        this->lastResult = C::GdipCreateBitmapFromScan0(width, height, 0, Gdiplus::PixelFormat(format), nullptr, Out());
    }
    TBitmapCore(int width, int height, const TGraphicsCore<R>* target) {
        this->lastResult = C::GdipCreateBitmapFromGraphics(width, height, ADVGDIP_NATIVE(target, nativeGraphics), Out());
    }
    TBitmapCore(const BITMAPINFO* gdiBitmapInfo, void* gdiBitmapData) {
        this->lastResult = C::GdipCreateBitmapFromGdiDib(gdiBitmapInfo, gdiBitmapData, Out());
    }
    TBitmapCore(HBITMAP hbm, HPALETTE hpal) { this->lastResult = C::GdipCreateBitmapFromHBITMAP(hbm, hpal, Out()); }
    TBitmapCore(HICON hicon, int) { this->lastResult = C::GdipCreateBitmapFromHICON(hicon, Out()); }
    TBitmapCore(HINSTANCE hInstance, const wchar_t* bitmapName) {
        this->lastResult = C::GdipCreateBitmapFromResource(hInstance, bitmapName, Out());
    }
    explicit TBitmapCore(Gdiplus::GpBitmap* native) { this->nativeImage = native; }

protected:
    typename R::TGPBitmap* CloneArea(const TGPRect& rect, int format) {
        return CloneArea(rect.X, rect.Y, rect.Width, rect.Height, format);
    }
    typename R::TGPBitmap* CloneArea(int x, int y, int width, int height, int format) {
        Gdiplus::GpBitmap* clone = nullptr;
        if (this->Keep(C::GdipCloneBitmapAreaI(x, y, width, height, Gdiplus::PixelFormat(format), Native(), &clone)) != Gdiplus::Ok)
            return nullptr;
        return AdoptBitmap(clone);
    }
    typename R::TGPBitmap* CloneArea(const TGPRectF& rect, int format) {
        return CloneArea(rect.X, rect.Y, rect.Width, rect.Height, format);
    }
    typename R::TGPBitmap* CloneArea(float x, float y, float width, float height, int format) {
        Gdiplus::GpBitmap* clone = nullptr;
        if (this->Keep(C::GdipCloneBitmapArea(x, y, width, height, Gdiplus::PixelFormat(format), Native(), &clone)) != Gdiplus::Ok)
            return nullptr;
        return AdoptBitmap(clone);
    }
    TStatus LockBits(const TGPRect& rect, UINT flags, int format, BitmapData& lockedBitmapData) {
        return this->Keep(C::GdipBitmapLockBits(Native(), &rect, flags, Gdiplus::PixelFormat(format), &lockedBitmapData));
    }
    TStatus UnlockBits(BitmapData& lockedBitmapData) {
        return this->Keep(C::GdipBitmapUnlockBits(Native(), &lockedBitmapData));
    }
    TStatus GetPixel(int x, int y, ARGB& color) { return this->Keep(C::GdipBitmapGetPixel(Native(), x, y, &color)); }
    TStatus SetPixel(int x, int y, ARGB color) { return this->Keep(C::GdipBitmapSetPixel(Native(), x, y, color)); }
    TStatus SetResolution(float xdpi, float ydpi) { return this->Keep(C::GdipBitmapSetResolution(Native(), xdpi, ydpi)); }
    TStatus GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn) {
        return this->Keep(C::GdipCreateHBITMAPFromBitmap(Native(), &hbmReturn, colorBackground));
    }
    TStatus GetHICON(HICON& hicon) { return this->Keep(C::GdipCreateHICONFromBitmap(Native(), &hicon)); }

    static typename R::TGPBitmap* AdoptBitmap(Gdiplus::GpBitmap* native) {
        try {
            return new typename R::TGPBitmap(native);
        } catch (const std::bad_alloc&) {
            C::GdipDisposeImage(native);
            throw;
        }
    }
};

// ---------------------------------------------------------------------------------------
template <class R>
class TImageAttributesCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
    using A = Gdiplus::ColorAdjustType;
public:
    TImageAttributesCore() { this->lastResult = C::GdipCreateImageAttributes(&nativeImageAttr); }
    TImageAttributesCore(Gdiplus::GpImageAttributes* native, TStatus status) : TStatusCore<R>(status), nativeImageAttr(native) {}
    ~TImageAttributesCore() { C::GdipDisposeImageAttributes(nativeImageAttr); }
    // Both families offer every operation of image attributes.

    typename R::TGPImageAttributes* Clone() {
        Gdiplus::GpImageAttributes* clone = nullptr;
        const TStatus status = this->Keep(C::GdipCloneImageAttributes(nativeImageAttr, &clone));
        return new typename R::TGPImageAttributes(clone, status);
    }
    TStatus SetToIdentity(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesToIdentity(nativeImageAttr, type));
    }
    TStatus Reset(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipResetImageAttributes(nativeImageAttr, type));
    }
    TStatus SetColorMatrix(const ColorMatrix& colorMatrix, Gdiplus::ColorMatrixFlags mode = Gdiplus::ColorMatrixFlagsDefault,
                           A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesColorMatrix(nativeImageAttr, type, TRUE, &colorMatrix, nullptr, mode));
    }
    TStatus ClearColorMatrix(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesColorMatrix(nativeImageAttr, type, FALSE, nullptr, nullptr,
                                                               Gdiplus::ColorMatrixFlagsDefault));
    }
    TStatus SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                             Gdiplus::ColorMatrixFlags mode = Gdiplus::ColorMatrixFlagsDefault,
                             A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesColorMatrix(nativeImageAttr, type, TRUE, &colorMatrix, &grayMatrix, mode));
    }
    TStatus ClearColorMatrices(A type = Gdiplus::ColorAdjustTypeDefault) { return ClearColorMatrix(type); }
    TStatus SetThreshold(float threshold, A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesThreshold(nativeImageAttr, type, TRUE, threshold));
    }
    TStatus ClearThreshold(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesThreshold(nativeImageAttr, type, FALSE, 0.0f));
    }
    TStatus SetGamma(float gamma, A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesGamma(nativeImageAttr, type, TRUE, gamma));
    }
    TStatus ClearGamma(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesGamma(nativeImageAttr, type, FALSE, 0.0f));
    }
    TStatus SetNoOp(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesNoOp(nativeImageAttr, type, TRUE));
    }
    TStatus ClearNoOp(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesNoOp(nativeImageAttr, type, FALSE));
    }
    TStatus SetColorKey(ARGB colorLow, ARGB colorHigh, A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesColorKeys(nativeImageAttr, type, TRUE, colorLow, colorHigh));
    }
    TStatus ClearColorKey(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesColorKeys(nativeImageAttr, type, FALSE, ARGB(0), ARGB(0)));
    }
    TStatus SetOutputChannel(Gdiplus::ColorChannelFlags channelFlags, A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesOutputChannel(nativeImageAttr, type, TRUE, channelFlags));
    }
    TStatus ClearOutputChannel(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesOutputChannel(nativeImageAttr, type, FALSE, Gdiplus::ColorChannelFlagsLast));
    }
    TStatus SetOutputChannelColorProfile(const wchar_t* colorProfileFilename, A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, TRUE, colorProfileFilename));
    }
    TStatus ClearOutputChannelColorProfile(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, FALSE, nullptr));
    }
    TStatus SetRemapTable(UINT mapSize, const ColorMap* map, A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesRemapTable(nativeImageAttr, type, TRUE, mapSize, map));
    }
    TStatus ClearRemapTable(A type = Gdiplus::ColorAdjustTypeDefault) {
        return this->Keep(C::GdipSetImageAttributesRemapTable(nativeImageAttr, type, FALSE, 0, nullptr));
    }
    TStatus SetBrushRemapTable(UINT mapSize, const ColorMap* map) {
        return SetRemapTable(mapSize, map, Gdiplus::ColorAdjustTypeBrush);
    }
    TStatus ClearBrushRemapTable() { return ClearRemapTable(Gdiplus::ColorAdjustTypeBrush); }
    TStatus SetWrapMode(Gdiplus::WrapMode wrap, ARGB color = 0xFF000000, BOOL clamp = FALSE) {
        return this->Keep(C::GdipSetImageAttributesWrapMode(nativeImageAttr, wrap, color, clamp));
    }
    TStatus GetAdjustedPalette(ColorPalette* colorPalette, A colorAdjustType) {
        return this->Keep(C::GdipGetImageAttributesAdjustedPalette(nativeImageAttr, colorPalette, colorAdjustType));
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }
protected:
    Gdiplus::GpImageAttributes* nativeImageAttr = nullptr;
};

// ---------------------------------------------------------------------------------------
template <class R>
class TBrushCore : public TStatusCore<R> {
    ADVGDIP_CORE_FRIENDS
    using C = typename R::Calls;
public:
    // A plain brush made without a native one cannot do anything.
    TBrushCore() : TStatusCore<R>(Gdiplus::NotImplemented) {}
    struct TEmpty {};
    // A kind of brush waiting for its native handle (GetBrush of a pen fills it).
    explicit TBrushCore(TEmpty) {}
    TBrushCore(Gdiplus::GpBrush* native, TStatus status) : TStatusCore<R>(status), nativeBrush(native) {}
    virtual ~TBrushCore() { C::GdipDeleteBrush(nativeBrush); }
protected:

    // Always a plain brush, whatever kind this one is.
    typename R::TGPBrush* CloneBrush() {
        Gdiplus::GpBrush* clone = nullptr;
        const TStatus status = this->Keep(C::GdipCloneBrush(nativeBrush, &clone));
        return new typename R::TGPBrush(clone, status);
    }
    Gdiplus::BrushType GetType() {
        Gdiplus::BrushType type = Gdiplus::BrushType(-1);
        this->Keep(C::GdipGetBrushType(nativeBrush, &type));
        return type;
    }
    TStatus GetLastStatus() { return this->TakeStatus(); }

    Gdiplus::GpBrush* nativeBrush = nullptr;
};

// The brush kinds: mixins over the family's own TGPBrush, which holds the handle.
#define ADVGDIP_BRUSH_MIXIN_BASICS(Class, NativeType) \
    ADVGDIP_CORE_FRIENDS \
    using C = typename R::Calls; \
    NativeType* Native() const { return static_cast<NativeType*>(this->nativeBrush); } \
    TOut<NativeType, Gdiplus::GpBrush> Out() { return TOut<NativeType, Gdiplus::GpBrush>(this->nativeBrush); }

template <class R, class B>
class TSolidBrushCore : public B {
    ADVGDIP_BRUSH_MIXIN_BASICS(TSolidBrushCore, Gdiplus::GpSolidFill)
public:
    TSolidBrushCore() : B(typename B::TEmpty{}) {}
    explicit TSolidBrushCore(ARGB color) : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateSolidFill(color, Out());
    }
protected:
    TStatus GetColor(ARGB& color) { return this->Keep(C::GdipGetSolidFillColor(Native(), &color)); }
    TStatus SetColor(ARGB color) { return this->Keep(C::GdipSetSolidFillColor(Native(), color)); }
};

template <class R, class B>
class THatchBrushCore : public B {
    ADVGDIP_BRUSH_MIXIN_BASICS(THatchBrushCore, Gdiplus::GpHatch)
public:
    THatchBrushCore() : B(typename B::TEmpty{}) {}
    THatchBrushCore(Gdiplus::HatchStyle hatchStyle, ARGB foreColor, ARGB backColor = 0xFF000000)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateHatchBrush(hatchStyle, foreColor, backColor, Out());
    }
protected:
    Gdiplus::HatchStyle GetHatchStyle() {
        Gdiplus::HatchStyle style = Gdiplus::HatchStyle(0);
        this->Keep(C::GdipGetHatchStyle(Native(), &style));
        return style;
    }
    TStatus GetForegroundColor(ARGB& color) { return this->Keep(C::GdipGetHatchForegroundColor(Native(), &color)); }
    TStatus GetBackgroundColor(ARGB& color) { return this->Keep(C::GdipGetHatchBackgroundColor(Native(), &color)); }
};

// The transform operations shared by texture, linear and path-gradient brushes.
#define ADVGDIP_BRUSH_TRANSFORMS(Kind) \
    TStatus SetTransform(const TMatrixCore<R>* matrix) { \
        return this->Keep(C::GdipSet##Kind##Transform(Native(), ADVGDIP_NATIVE(matrix, nativeMatrix))); \
    } \
    TStatus GetTransform(TMatrixCore<R>* matrix) { \
        return this->Keep(C::GdipGet##Kind##Transform(Native(), ADVGDIP_NATIVE(matrix, nativeMatrix))); \
    } \
    TStatus ResetTransform() { return this->Keep(C::GdipReset##Kind##Transform(Native())); } \
    TStatus MultiplyTransform(const TMatrixCore<R>* matrix, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) { \
        return this->Keep(C::GdipMultiply##Kind##Transform(Native(), ADVGDIP_NATIVE(matrix, nativeMatrix), order)); \
    } \
    TStatus TranslateTransform(float dx, float dy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) { \
        return this->Keep(C::GdipTranslate##Kind##Transform(Native(), dx, dy, order)); \
    } \
    TStatus ScaleTransform(float sx, float sy, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) { \
        return this->Keep(C::GdipScale##Kind##Transform(Native(), sx, sy, order)); \
    } \
    TStatus RotateTransform(float angle, Gdiplus::MatrixOrder order = Gdiplus::MatrixOrderPrepend) { \
        return this->Keep(C::GdipRotate##Kind##Transform(Native(), angle, order)); \
    }

template <class R, class B>
class TTextureBrushCore : public B {
    ADVGDIP_BRUSH_MIXIN_BASICS(TTextureBrushCore, Gdiplus::GpTexture)
    using I = TImageCore<R>;
public:
    TTextureBrushCore() : B(typename B::TEmpty{}) {}
    TTextureBrushCore(const I* image, Gdiplus::WrapMode wrapMode = Gdiplus::WrapModeTile) : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateTexture(ADVGDIP_NATIVE(image, nativeImage), wrapMode, Out());
    }
    TTextureBrushCore(const I* image, Gdiplus::WrapMode wrapMode, const TGPRectF& dstRect)
        : TTextureBrushCore(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height) {}
    TTextureBrushCore(const I* image, Gdiplus::WrapMode wrapMode, float dstX, float dstY, float dstWidth, float dstHeight)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateTexture2(ADVGDIP_NATIVE(image, nativeImage), wrapMode, dstX, dstY, dstWidth,
                                                 dstHeight, Out());
    }
    TTextureBrushCore(const I* image, Gdiplus::WrapMode wrapMode, const TGPRect& dstRect)
        : TTextureBrushCore(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height) {}
    TTextureBrushCore(const I* image, Gdiplus::WrapMode wrapMode, int dstX, int dstY, int dstWidth, int dstHeight)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateTexture2I(ADVGDIP_NATIVE(image, nativeImage), wrapMode, dstX, dstY, dstWidth,
                                                  dstHeight, Out());
    }
    TTextureBrushCore(const I* image, const TGPRectF& dstRect, const TImageAttributesCore<R>* imageAttributes)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateTextureIA(ADVGDIP_NATIVE(image, nativeImage),
                                                  ADVGDIP_NATIVE(imageAttributes, nativeImageAttr), dstRect.X,
                                                  dstRect.Y, dstRect.Width, dstRect.Height, Out());
    }
    TTextureBrushCore(const I* image, const TGPRect& dstRect, const TImageAttributesCore<R>* imageAttributes)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateTextureIAI(ADVGDIP_NATIVE(image, nativeImage),
                                                   ADVGDIP_NATIVE(imageAttributes, nativeImageAttr), dstRect.X,
                                                   dstRect.Y, dstRect.Width, dstRect.Height, Out());
    }
protected:
    ADVGDIP_BRUSH_TRANSFORMS(Texture)
    TStatus SetWrapMode(Gdiplus::WrapMode wrapMode) { return this->Keep(C::GdipSetTextureWrapMode(Native(), wrapMode)); }
    Gdiplus::WrapMode GetWrapMode() {
        Gdiplus::WrapMode mode = Gdiplus::WrapModeTile;
        this->Keep(C::GdipGetTextureWrapMode(Native(), &mode));
        return mode;
    }
    // A new image carrying this brush's last status; the native image is disposed
    // when no wrapper can be made.
    typename R::TGPImage* GetImage() {
        Gdiplus::GpImage* image = nullptr;
        this->Keep(C::GdipGetTextureImage(Native(), &image));
        return TImageCore<R>::Adopt(image, this->lastResult);
    }
};

template <class R, class B>
class TLinearBrushCore : public B {
    ADVGDIP_BRUSH_MIXIN_BASICS(TLinearBrushCore, Gdiplus::GpLineGradient)
public:
    // The static family makes this one through the plain brush's constructor.
    TLinearBrushCore() : B(nullptr, R::LinearPenBrushIsOk ? Gdiplus::Ok : Gdiplus::NotImplemented) {}
    TLinearBrushCore(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateLineBrush(&point1, &point2, color1, color2, Gdiplus::WrapModeTile, Out());
    }
    TLinearBrushCore(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateLineBrushI(&point1, &point2, color1, color2, Gdiplus::WrapModeTile, Out());
    }
    TLinearBrushCore(const TGPRectF& rect, ARGB color1, ARGB color2, Gdiplus::LinearGradientMode mode)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateLineBrushFromRect(&rect, color1, color2, mode, Gdiplus::WrapModeTile, Out());
    }
    TLinearBrushCore(const TGPRect& rect, ARGB color1, ARGB color2, Gdiplus::LinearGradientMode mode)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, Gdiplus::WrapModeTile, Out());
    }
    TLinearBrushCore(const TGPRectF& rect, ARGB color1, ARGB color2, float angle, BOOL isAngleScalable = FALSE)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateLineBrushFromRectWithAngle(&rect, color1, color2, angle, isAngleScalable,
                                                                   Gdiplus::WrapModeTile, Out());
    }
    TLinearBrushCore(const TGPRect& rect, ARGB color1, ARGB color2, float angle, BOOL isAngleScalable = FALSE)
        : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreateLineBrushFromRectWithAngleI(&rect, color1, color2, angle, isAngleScalable,
                                                                    Gdiplus::WrapModeTile, Out());
    }
protected:
    TStatus SetLinearColors(ARGB color1, ARGB color2) { return this->Keep(C::GdipSetLineColors(Native(), color1, color2)); }
    TStatus GetLinearColors(ARGB& color1, ARGB& color2) {
        ARGB colors[2] = {};
        const TStatus status = this->Keep(C::GdipGetLineColors(Native(), colors));
        if (status == Gdiplus::Ok) { color1 = colors[0]; color2 = colors[1]; }
        return status;
    }
    TStatus GetRectangle(TGPRectF& rect) { return this->Keep(C::GdipGetLineRect(Native(), &rect)); }
    TStatus GetRectangle(TGPRect& rect) { return this->Keep(C::GdipGetLineRectI(Native(), &rect)); }
    TStatus SetGammaCorrection(BOOL useGammaCorrection) {
        return this->Keep(C::GdipSetLineGammaCorrection(Native(), useGammaCorrection));
    }
    BOOL GetGammaCorrection() {
        BOOL result = FALSE;
        this->Keep(C::GdipGetLineGammaCorrection(Native(), &result));
        return result;
    }
    int GetBlendCount() {
        INT count = 0;
        this->Keep(C::GdipGetLineBlendCount(Native(), &count));
        return count;
    }
    TStatus SetBlend(const float* blendFactors, const float* blendPositions, int count) {
        return this->Keep(C::GdipSetLineBlend(Native(), blendFactors, blendPositions, count));
    }
    TStatus GetBlend(float* blendFactors, float* blendPositions, int count) {
        if (count <= 0 || !blendFactors || !blendPositions) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipGetLineBlend(Native(), blendFactors, blendPositions, count));
    }
    int GetInterpolationColorCount() {
        INT count = 0;
        this->Keep(C::GdipGetLinePresetBlendCount(Native(), &count));
        return count;
    }
    TStatus SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count) {
        if (count <= 0) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipSetLinePresetBlend(Native(), presetColors, blendPositions, count));
    }
    TStatus GetInterpolationColors(ARGB* presetColors, float* blendPositions, int count) {
        if (count <= 0 || !presetColors) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipGetLinePresetBlend(Native(), presetColors, blendPositions, count));
    }
    TStatus SetBlendBellShape(float focus, float scale = 1.0f) {
        return this->Keep(C::GdipSetLineSigmaBlend(Native(), focus, scale));
    }
    TStatus SetBlendTriangularShape(float focus, float scale = 1.0f) {
        return this->Keep(C::GdipSetLineLinearBlend(Native(), focus, scale));
    }
    ADVGDIP_BRUSH_TRANSFORMS(Line)
    TStatus SetWrapMode(Gdiplus::WrapMode wrapMode) { return this->Keep(C::GdipSetLineWrapMode(Native(), wrapMode)); }
    Gdiplus::WrapMode GetWrapMode() {
        Gdiplus::WrapMode mode = Gdiplus::WrapModeTile;
        this->Keep(C::GdipGetLineWrapMode(Native(), &mode));
        return mode;
    }
};

template <class R, class B>
class TPathBrushCore : public B {
    ADVGDIP_BRUSH_MIXIN_BASICS(TPathBrushCore, Gdiplus::GpPathGradient)
public:
    explicit TPathBrushCore(const TPathCore<R>* path) : B(typename B::TEmpty{}) {
        this->lastResult = C::GdipCreatePathGradientFromPath(ADVGDIP_NATIVE(path, nativePath), Out());
    }
protected:
    TStatus GetCenterColor(ARGB& color) {
        this->Keep(C::GdipGetPathGradientCenterColor(Native(), &color));
        return this->lastResult;
    }
    TStatus SetCenterColor(ARGB color) { return this->Keep(C::GdipSetPathGradientCenterColor(Native(), color)); }
    int GetPointCount() {
        INT count = 0;
        this->Keep(C::GdipGetPathGradientPointCount(Native(), &count));
        return count;
    }
    int GetSurroundColorCount() {
        INT count = 0;
        this->Keep(C::GdipGetPathGradientSurroundColorCount(Native(), &count));
        return count;
    }
    // As GDI+'s own class: at most one colour per point of the path.
    TStatus SetSurroundColors(const ARGB* colors, int& count) {
        if (!colors) return this->Keep(Gdiplus::InvalidParameter);
        const int points = GetPointCount();
        if (count > points || points <= 0) return this->Keep(Gdiplus::InvalidParameter);
        INT used = count;
        const TStatus status = this->Keep(C::GdipSetPathGradientSurroundColorsWithCount(Native(), colors, &used));
        if (status == Gdiplus::Ok) count = used;
        return status;
    }
    TStatus GetSurroundColors(ARGB* colors, int& count) {
        if (!colors) return this->Keep(Gdiplus::InvalidParameter);
        INT have = 0;
        this->Keep(C::GdipGetPathGradientSurroundColorCount(Native(), &have));
        if (this->lastResult != Gdiplus::Ok) return this->lastResult;
        if (count < have || have <= 0) return this->Keep(Gdiplus::InsufficientBuffer);
        INT got = have;
        const TStatus status = this->Keep(C::GdipGetPathGradientSurroundColorsWithCount(Native(), colors, &got));
        if (status == Gdiplus::Ok) count = got;
        return status;
    }
    TStatus GetGraphicsPath(TPathCore<R>* path) {
        if (!path) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipGetPathGradientPath(Native(), path->nativePath));
    }
    TStatus SetGraphicsPath(const TPathCore<R>* path) {
        if (!path) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipSetPathGradientPath(Native(), path->nativePath));
    }
    TStatus GetCenterPoint(TGPPointF& point) { return this->Keep(C::GdipGetPathGradientCenterPoint(Native(), &point)); }
    TStatus GetCenterPoint(TGPPoint& point) { return this->Keep(C::GdipGetPathGradientCenterPointI(Native(), &point)); }
    TStatus SetCenterPoint(const TGPPointF& point) { return this->Keep(C::GdipSetPathGradientCenterPoint(Native(), &point)); }
    TStatus SetCenterPoint(const TGPPoint& point) { return this->Keep(C::GdipSetPathGradientCenterPointI(Native(), &point)); }
    TStatus GetRectangle(TGPRectF& rect) { return this->Keep(C::GdipGetPathGradientRect(Native(), &rect)); }
    TStatus GetRectangle(TGPRect& rect) { return this->Keep(C::GdipGetPathGradientRectI(Native(), &rect)); }
    TStatus SetGammaCorrection(BOOL useGammaCorrection) {
        return this->Keep(C::GdipSetPathGradientGammaCorrection(Native(), useGammaCorrection));
    }
    BOOL GetGammaCorrection() {
        BOOL result = FALSE;
        this->Keep(C::GdipGetPathGradientGammaCorrection(Native(), &result));
        return result;
    }
    int GetBlendCount() {
        INT count = 0;
        this->Keep(C::GdipGetPathGradientBlendCount(Native(), &count));
        return count;
    }
    TStatus GetBlend(float* blendFactors, float* blendPositions, int count) {
        return this->Keep(C::GdipGetPathGradientBlend(Native(), blendFactors, blendPositions, count));
    }
    TStatus SetBlend(const float* blendFactors, const float* blendPositions, int count) {
        return this->Keep(C::GdipSetPathGradientBlend(Native(), blendFactors, blendPositions, count));
    }
    int GetInterpolationColorCount() {
        INT count = 0;
        this->Keep(C::GdipGetPathGradientPresetBlendCount(Native(), &count));
        return count;
    }
    TStatus SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count) {
        if (count <= 0 || !presetColors) return this->Keep(Gdiplus::InvalidParameter);
        return this->Keep(C::GdipSetPathGradientPresetBlend(Native(), presetColors, blendPositions, count));
    }
    TStatus GetInterpolationColors(ARGB* presetColors, float* blendPositions, int count) {
        if (count <= 0 || !presetColors) return this->Keep(Gdiplus::InvalidParameter);
        std::vector<ARGB> colors;
        try {
            colors.resize(std::size_t(count));
        } catch (const std::bad_alloc&) {
            return this->Keep(Gdiplus::OutOfMemory);
        }
        const TStatus status =
            this->Keep(C::GdipGetPathGradientPresetBlend(Native(), colors.data(), blendPositions, count));
        if (status == Gdiplus::Ok) std::copy(colors.begin(), colors.end(), presetColors);
        return status;
    }
    TStatus SetBlendBellShape(float focus, float scale = 1.0f) {
        return this->Keep(C::GdipSetPathGradientSigmaBlend(Native(), focus, scale));
    }
    TStatus SetBlendTriangularShape(float focus, float scale = 1.0f) {
        return this->Keep(C::GdipSetPathGradientLinearBlend(Native(), focus, scale));
    }
    ADVGDIP_BRUSH_TRANSFORMS(PathGradient)
    TStatus GetFocusScales(float& xScale, float& yScale) {
        return this->Keep(C::GdipGetPathGradientFocusScales(Native(), &xScale, &yScale));
    }
    TStatus SetFocusScales(float xScale, float yScale) {
        return this->Keep(C::GdipSetPathGradientFocusScales(Native(), xScale, yScale));
    }
    Gdiplus::WrapMode GetWrapMode() {
        Gdiplus::WrapMode mode = Gdiplus::WrapModeTile;
        this->Keep(C::GdipGetPathGradientWrapMode(Native(), &mode));
        return mode;
    }
    TStatus SetWrapMode(Gdiplus::WrapMode wrapMode) {
        return this->Keep(C::GdipSetPathGradientWrapMode(Native(), wrapMode));
    }
};

}  // namespace AdvGDIPCore

#include "graphics/AdvGDIPCoreText.h"
