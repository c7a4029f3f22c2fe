#include "graphics/AdvGDIPlusClasses.h"

namespace AdvGDIPlusClasses {

namespace {

using Calls = AdvGDIPlusApi::TTableCalls;

std::unique_ptr<TGPFontFamily> GenericFamilies[3];
std::unique_ptr<TGPStringFormat> GenericFormats[2];

ULONG_PTR StartupToken = 0;
Gdiplus::GdiplusStartupInput StartupInput;
bool Started = false;

}  // namespace

TGPFontFamily* TGPFontFamily::GenericSansSerif() {
    return Generic(GenericFamilies[0], [](Gdiplus::GpFontFamily** out) {
        return Calls::GdipGetGenericFontFamilySansSerif(out);
    });
}

TGPFontFamily* TGPFontFamily::GenericSerif() {
    return Generic(GenericFamilies[1], [](Gdiplus::GpFontFamily** out) {
        return Calls::GdipGetGenericFontFamilySerif(out);
    });
}

TGPFontFamily* TGPFontFamily::GenericMonospace() {
    return Generic(GenericFamilies[2], [](Gdiplus::GpFontFamily** out) {
        return Calls::GdipGetGenericFontFamilyMonospace(out);
    });
}

TGPStringFormat* TGPStringFormat::GenericDefault() {
    return Generic(GenericFormats[0], [](Gdiplus::GpStringFormat** out) {
        return Calls::GdipStringFormatGetGenericDefault(out);
    });
}

TGPStringFormat* TGPStringFormat::GenericTypographic() {
    return Generic(GenericFormats[1], [](Gdiplus::GpStringFormat** out) {
        return Calls::GdipStringFormatGetGenericTypographic(out);
    });
}

TGPFont::TGPFont(const wchar_t* familyName, float emSize, int style, Unit_ unit,
                 const TGPFontCollection* fontCollection) {
    std::unique_ptr<TGPFontFamily> family(new TGPFontFamily(familyName, fontCollection));
    Gdiplus::GpFontFamily* chosen = NativeOf(family.get());
    lastResult = family->lastResult;
    TGPFontFamily* generic = nullptr;
    if (lastResult != Gdiplus::Ok) {
        generic = TGPFontFamily::GenericSansSerif();
        chosen = NativeOf(generic);
        lastResult = generic->lastResult;
        if (lastResult != Gdiplus::Ok) return;
    }
    lastResult = Calls::GdipCreateFont(chosen, emSize, style, unit, &nativeFont);
    if (lastResult != Gdiplus::Ok) {
        generic = TGPFontFamily::GenericSansSerif();
        if (generic->lastResult == Gdiplus::Ok)
            lastResult = Calls::GdipCreateFont(NativeOf(generic), emSize, style, unit, &nativeFont);
    }
}

void StartUp() {
    if (Started || !AdvGDIPlusApi::GdiplusModule || !AdvGDIPlusApi::GdiplusApi.GdiplusStartup) return;
    // An executable: GDI+'s background thread is allowed.
    StartupInput = Gdiplus::GdiplusStartupInput(nullptr, FALSE, FALSE);
    if (AdvGDIPlusApi::GdiplusApi.GdiplusStartup(&StartupToken, &StartupInput, nullptr) == Gdiplus::Ok) Started = true;
}

void ShutDown() {
    for (auto& family : GenericFamilies) family.reset();
    for (auto& format : GenericFormats) format.reset();
    if (!Started) return;
    if (AdvGDIPlusApi::GdiplusModule && AdvGDIPlusApi::GdiplusApi.GdiplusShutdown)
        AdvGDIPlusApi::GdiplusApi.GdiplusShutdown(StartupToken);
    StartupToken = 0;
    Started = false;
}

}  // namespace AdvGDIPlusClasses
