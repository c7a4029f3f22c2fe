#include "graphics/AdvGDIP.h"

#include <cmath>
#include <cstring>
#include <new>

#include "classlib/Colors.h"
#include "classlib/Control.h"
#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/Screen.h"

namespace AdvGDIP {

namespace {

bool ScenicRibbonFlag = false;
bool Win8Flag = false;
bool Win10Flag = false;
bool GlassFlag = false;
float DPITextScale = 1.0f;

// The generic families live until the process ends.
std::unique_ptr<TGPFontFamily>* GenericFamilySlots() {
    static auto* slots = new std::unique_ptr<TGPFontFamily>[3];
    return slots;
}

ULONG_PTR StartupToken = 0;
ULONG_PTR HookToken = 0;
Gdiplus::GdiplusStartupInput StartupInput;
Gdiplus::GdiplusStartupOutput StartupOutput;
bool Started = false;

bool BeforeVista() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
    return info.dwMajorVersion < 6;
}

int StyleBits(ClassLib::TFontStyles style) {
    return AdvGDIPCore::FontStyleBits(style.Contains(ClassLib::fsBold), style.Contains(ClassLib::fsItalic),
                                      style.Contains(ClassLib::fsUnderline), style.Contains(ClassLib::fsStrikeOut));
}

int StyleBits(const ClassLib::TFont* font) { return StyleBits(font->Style()); }

// Halves to the even neighbour, as the processor rounds by default.
int RoundEven(double value) { return int(std::nearbyint(value)); }

// Raw-format GUIDs of the published GDI+ image formats: b96b3cXX-0728-11d3-9d7b-0000f81ef32e.
GUID ImageFormatGuid(unsigned long first) {
    return GUID{first, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
}

}  // namespace

// ---------------------------------------------------------------------------------------
void* TGdiplusBase::operator new(std::size_t size) {
    void* block = Gdiplus::DllExports::GdipAlloc(size);
    if (!block) {
        // GDI+ gives no memory before it is started.
        Gdiplus::GdiplusStartup(&StartupToken, &StartupInput, &StartupOutput);
        block = Gdiplus::DllExports::GdipAlloc(size);
    }
    if (!block) throw std::bad_alloc();
    std::memset(block, 0, size);
    return block;
}

void TGdiplusBase::operator delete(void* object) noexcept {
    if (object) Gdiplus::DllExports::GdipFree(object);
}

// ---------------------------------------------------------------------------------------
TGPRegion::TGPRegion(const TGPGraphicsPath* path) : Base(path) {}

TStatus TGPRegion::Exclude(const TGPGraphicsPath* path) {
    return Base::Exclude(static_cast<const AdvGDIPCore::TPathCore<TStaticRules>*>(path));
}

TGPFontFamily* TGPFontFamily::GenericSansSerif() {
    return Generic(GenericFamilySlots()[0], [](Gdiplus::GpFontFamily** out) {
        return Gdiplus::DllExports::GdipGetGenericFontFamilySansSerif(out);
    });
}

TGPFontFamily* TGPFontFamily::GenericSerif() {
    return Generic(GenericFamilySlots()[1], [](Gdiplus::GpFontFamily** out) {
        return Gdiplus::DllExports::GdipGetGenericFontFamilySerif(out);
    });
}

TGPFontFamily* TGPFontFamily::GenericMonospace() {
    return Generic(GenericFamilySlots()[2], [](Gdiplus::GpFontFamily** out) {
        return Gdiplus::DllExports::GdipGetGenericFontFamilyMonospace(out);
    });
}

TGPFont::TGPFont(const std::wstring& familyName, float emSize, ClassLib::TFontStyles fontStyle, Unit_ unit,
                 const TGPFontCollection* fontCollection) {
    const int style = StyleBits(fontStyle);
    std::unique_ptr<TGPFontFamily> family(new TGPFontFamily(familyName, fontCollection));
    const TStatus first = Gdiplus::DllExports::GdipCreateFont(NativeOf(family.get()), emSize, style, unit, &nativeFont);
    if (first != Ok) {
        lastResult = Gdiplus::DllExports::GdipCreateFont(NativeOf(TGPFontFamily::GenericSansSerif()), emSize, style, unit, &nativeFont);
    }
}

// ---------------------------------------------------------------------------------------
TGPImageFormat TGPImage::GetFormat() {
    GUID format{};
    if (Gdiplus::DllExports::GdipGetImageRawFormat(nativeImage, &format) != Ok) return ifUndefined;
    struct TKnown { unsigned long First; TGPImageFormat Format; };
    static const TKnown known[] = {
        {0xb96b3caa, ifMemoryBMP}, {0xb96b3cab, ifBMP}, {0xb96b3cac, ifEMF}, {0xb96b3cad, ifWMF},
        {0xb96b3cae, ifJPEG},      {0xb96b3caf, ifPNG}, {0xb96b3cb0, ifGIF}, {0xb96b3cb1, ifTIFF},
        {0xb96b3cb2, ifEXIF},      {0xb96b3cb5, ifIcon},
    };
    for (const TKnown& k : known)
        if (::IsEqualGUID(format, ImageFormatGuid(k.First))) return k.Format;
    return ifUndefined;
}

// ---------------------------------------------------------------------------------------
TGPGraphics::~TGPGraphics() { delete FCachedFont; }

TStatus TGPGraphics::DrawImageRect(const TGPImage* image, const TGPRectF& rect) {
    return DrawImage(image, float(RoundEven(rect.X)), float(RoundEven(rect.Y)), float(RoundEven(rect.Width)),
                     float(RoundEven(rect.Height)));
}

TGPFont* TGPGraphics::MakeFont(const ClassLib::TFont* font) { return MakeFont(font, float(font->Size())); }

TGPFont* TGPGraphics::MakeFont(const ClassLib::TFont* font, float size) {
    std::unique_ptr<TGPFontFamily> family(new TGPFontFamily(font->Name(), nullptr));
    if (family->lastResult == FontFamilyNotFound || family->lastResult == FontStyleNotFound)
        family.reset(new TGPFontFamily(L"Arial", nullptr));
    return new TGPFont(family.get(), size, StyleBits(font), UnitPoint);
}

TGPFont* TGPGraphics::MakeFontEx(const ClassLib::TFont* font) { return MakeFontEx(font, float(font->Size())); }

TGPFont* TGPGraphics::MakeFontEx(const ClassLib::TFont* font, float size) {
    if (FCachedFont && FCachedFont->GetSize() == size && FCachedFont->GetStyle() == StyleBits(font)) {
        TGPFontFamily family;
        FCachedFont->GetFamily(&family);
        std::wstring name;
        family.GetFamilyName(name, 0);
        if (name == font->Name()) return FCachedFont;
    }
    delete FCachedFont;
    FCachedFont = nullptr;
    FCachedFont = MakeFont(font, size);
    return FCachedFont;
}

int TGPGraphics::TextWidth(const std::wstring& string_, const ClassLib::TFont* font) {
    TGPRectF box;
    MeasureString(string_.c_str(), int(string_.size()), MakeFontEx(font), TGPRectF(0, 0, 10000, 10000), box);
    return RoundEven(box.Width);
}

int TGPGraphics::TextHeight(const std::wstring& string_, const ClassLib::TFont* font) {
    TGPRectF box;
    MeasureString(string_.c_str(), int(string_.size()), MakeFontEx(font), TGPRectF(0, 0, 10000, 10000), box);
    return RoundEven(box.Height);
}

int TGPGraphics::DrawText(const std::wstring& string_, int len, RECT& rect, const ClassLib::TFont* font, UINT style,
                          int bkColor) {
    TGPFont* gpFont = MakeFontEx(font);
    const bool calcRect = (style & DT_CALCRECT) != 0;
    if (calcRect || bkColor != ClassLib::clNone) {
        // GDI+ measures a little wider than GDI places text; the margin grows with the size.
        const int points = font->Size();
        const int margin = points >= 9 ? RoundEven((points - 8) / 1.5) + 2 : 2;
        // A trailing space has no width of its own for GDI+; measure a letter in its place.
        std::wstring measured = string_;
        if (measured.size() > 1 && measured.back() == L' ') measured.back() = L'i';
        const TGPRectF layout(float(rect.left), float(rect.top), float(rect.right - rect.left + 1000),
                              float(rect.bottom - rect.top));
        TGPRectF box;
        MeasureString(measured.c_str(), len, gpFont, layout, box);
        rect.right = rect.left + RoundEven(box.Width - margin);
        rect.bottom = rect.top + RoundEven(box.Height);
        if (bkColor != ClassLib::clNone) {
            TGPSolidBrush background(ColorToOpaqueARGB(bkColor));
            FillRectangle(&background, TGPRectF(float(rect.left + 1), float(rect.top), box.Width - margin + 1, box.Height));
        }
    }
    if (!calcRect) {
        TGPSolidBrush text(ColorToOpaqueARGB(font->Color()));
        Base::DrawString(string_.c_str(), len, gpFont, TGPPointF(float(rect.left), float(rect.top)), &text);
    }
    return rect.bottom - rect.top;
}

// ---------------------------------------------------------------------------------------
void SetScenicRibbonFlag(bool value) { ScenicRibbonFlag = value; }
bool GetScenicRibbonFlag() { return ScenicRibbonFlag; }
void SetWin8Flag(bool value) { Win8Flag = value; }
bool GetWin8Flag() { return Win8Flag; }
void SetWin10Flag(bool value) { Win10Flag = value; }
void SetWin11Flag(bool value) { Win10Flag = value; }
void SetGlassFlag(bool value) { GlassFlag = value; }
bool GetGlassFlag() { return GlassFlag; }

float CalcDPITextScale(ClassLib::TControl* control) {
    int ppi = 96;
    ClassLib::TCustomForm* form = control ? control->ParentForm() : nullptr;
    if (form) {
        // Forms of this library are not scaled, so a TForm keeps 96; another kind of form
        // follows its monitor, which here is the screen's setting.
        if (!form->Is<ClassLib::TForm>() && ClassLib::Screen) ppi = ClassLib::Screen->PixelsPerInch();
    } else if (HDC screen = ::GetDC(nullptr)) {
        ppi = ::GetDeviceCaps(screen, LOGPIXELSX);
        ::ReleaseDC(nullptr, screen);
    }
    float scale = 1.0f;
    if (ppi != 96) {
        const int base = TextHeightAtDPI(96, 9);
        if (base > 0) scale = float(TextHeightAtDPI(ppi, 9)) / float(base);
    }
    DPITextScale = scale;
    return scale;
}

float GetDPITextScale() { return DPITextScale; }

ARGB ColorToOpaqueARGB(int color) { return ARGBFromColor(255, color); }

ARGB ARGBFromColor(BYTE a, int color) {
    const auto rgb = std::uint32_t(ClassLib::ColorToRGB(color));
    return ARGBFromChannels(a, BYTE(rgb), BYTE(rgb >> 8), BYTE(rgb >> 16));
}

// ---------------------------------------------------------------------------------------
void StartUp() {
    if (Started) return;
    StartupInput = Gdiplus::GdiplusStartupInput(nullptr, TRUE, FALSE);
    StartupOutput = Gdiplus::GdiplusStartupOutput();
    if (Gdiplus::GdiplusStartup(&StartupToken, &StartupInput, &StartupOutput) != Ok) return;
    Started = true;
    // With the background thread suppressed, Windows before 6 needs the notification hook.
    if (BeforeVista() && StartupOutput.NotificationHook) StartupOutput.NotificationHook(&HookToken);
}

void ShutDown() {
    if (!Started) return;
    if (BeforeVista() && StartupOutput.NotificationUnhook) StartupOutput.NotificationUnhook(HookToken);
    Gdiplus::GdiplusShutdown(StartupToken);
    StartupToken = 0;
    Started = false;
}

}  // namespace AdvGDIP
