// Colour emoji for the HTML engine. GDI draws colour glyphs in one colour, so the layers
// of a colour glyph come from DirectWrite and are drawn through its GDI interop.
// Wine 8: a Direct2D render target bound to a DC fails without an X display with OpenGL
// and blackens its whole bound rectangle; DirectWrite's bitmap render target works
// headless and keeps what lay under the glyph, so the layers are drawn on one of those
// holding a copy of the area, which then goes back.
#include "rendering/AdvHTML.h"

#include <windows.h>
#include <dwrite_2.h>

#include <memory>

#include "classlib/Canvas.h"

namespace AdvHTML {

namespace {

struct TComRelease {
    void operator()(IUnknown* object) const noexcept {
        if (object) object->Release();
    }
};
template <class T>
using TCom = std::unique_ptr<T, TComRelease>;

// The process's DirectWrite factory, bound at run time (null where there is none).
IDWriteFactory2* Factory() {
    static IDWriteFactory2* const factory = []() -> IDWriteFactory2* {
        HMODULE dll = ::LoadLibraryW(L"dwrite.dll");
        if (!dll) return nullptr;
        using TCreate = HRESULT(WINAPI*)(DWRITE_FACTORY_TYPE, REFIID, IUnknown**);
        auto create = reinterpret_cast<TCreate>(reinterpret_cast<void*>(::GetProcAddress(dll, "DWriteCreateFactory")));
        IUnknown* unknown = nullptr;
        if (!create || FAILED(create(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory2), &unknown))) return nullptr;
        return static_cast<IDWriteFactory2*>(unknown);
    }();
    return factory;
}

// The colour emoji face: the system's emoji family, else the test font's.
TCom<IDWriteFontFace> EmojiFace(IDWriteFactory2* factory) {
    IDWriteFontCollection* collection = nullptr;
    if (FAILED(factory->GetSystemFontCollection(&collection, FALSE))) return nullptr;
    TCom<IDWriteFontCollection> owned(collection);
    for (const wchar_t* name : {L"Segoe UI Emoji", L"ATGen Emoji Test"}) {
        UINT32 index = 0;
        BOOL exists = FALSE;
        if (FAILED(collection->FindFamilyName(name, &index, &exists)) || !exists) continue;
        IDWriteFontFamily* family = nullptr;
        if (FAILED(collection->GetFontFamily(index, &family))) continue;
        TCom<IDWriteFontFamily> ownedFamily(family);
        IDWriteFont* font = nullptr;
        if (FAILED(family->GetFirstMatchingFont(DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STRETCH_NORMAL,
                                                DWRITE_FONT_STYLE_NORMAL, &font)))
            continue;
        TCom<IDWriteFont> ownedFont(font);
        IDWriteFontFace* face = nullptr;
        if (SUCCEEDED(font->CreateFontFace(&face))) return TCom<IDWriteFontFace>(face);
    }
    return nullptr;
}

UINT32 CodePoint(const std::wstring& text) {
    if (text.size() >= 2 && text[0] >= 0xD800 && text[0] <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF)
        return 0x10000 + ((UINT32(text[0]) - 0xD800) << 10) + (UINT32(text[1]) - 0xDC00);
    return text.empty() ? 0 : UINT32(text[0]);
}

void DrawColourGlyph(HDC dc, int x, int y, const std::wstring& text, int fontSize) {
    IDWriteFactory2* factory = Factory();
    if (!factory) return;
    // Looked up once: finding a family in the system's collection for every emoji made a
    // text of many emoji take seconds to paint.
    static const TCom<IDWriteFontFace> face = EmojiFace(factory);
    if (!face) return;
    const UINT32 codePoint = CodePoint(text);
    UINT16 glyph = 0;
    if (FAILED(face->GetGlyphIndices(&codePoint, 1, &glyph)) || glyph == 0) return;
    const float emSize = float(::MulDiv(fontSize, 96, 72));
    DWRITE_FONT_METRICS metrics{};
    face->GetMetrics(&metrics);
    const float ascent = metrics.designUnitsPerEm ? emSize * metrics.ascent / metrics.designUnitsPerEm : emSize;

    // The area the glyph may cover, from the layout rectangle's top (y - 2).
    const int width = int(emSize * 1.5f) + 2, height = int(emSize * 1.5f) + 2, top = y - 2;
    // One render target serves every emoji, made to the size each needs. Wine: a target
    // made and released for every emoji kept one GDI object each, and some tens of
    // thousands of emoji later the process had no GDI objects left.
    static const TCom<IDWriteBitmapRenderTarget> shared = [&]() -> TCom<IDWriteBitmapRenderTarget> {
        IDWriteGdiInterop* interop = nullptr;
        if (FAILED(factory->GetGdiInterop(&interop))) return nullptr;
        const TCom<IDWriteGdiInterop> ownedInterop(interop);
        IDWriteBitmapRenderTarget* made = nullptr;
        if (FAILED(interop->CreateBitmapRenderTarget(nullptr, 1, 1, &made))) return nullptr;
        made->SetPixelsPerDip(1.0f);
        return TCom<IDWriteBitmapRenderTarget>(made);
    }();
    IDWriteBitmapRenderTarget* target = shared.get();
    if (!target || FAILED(target->Resize(UINT32(width), UINT32(height)))) return;
    IDWriteRenderingParams* params = nullptr;
    if (FAILED(factory->CreateRenderingParams(&params))) return;
    TCom<IDWriteRenderingParams> ownedParams(params);
    HDC memory = target->GetMemoryDC();
    ::BitBlt(memory, 0, 0, width, height, dc, x, top, SRCCOPY);

    FLOAT advance = 0;
    DWRITE_GLYPH_OFFSET offset{};
    DWRITE_GLYPH_RUN run{face.get(), emSize, 1, &glyph, &advance, &offset, FALSE, 0};
    const float originX = 0, originY = ascent;
    IDWriteColorGlyphRunEnumerator* layers = nullptr;
    const HRESULT translated = factory->TranslateColorGlyphRun(originX, originY, &run, nullptr, DWRITE_MEASURING_MODE_NATURAL,
                                                               nullptr, 0, &layers);
    if (translated == DWRITE_E_NOCOLOR || FAILED(translated)) {
        target->DrawGlyphRun(originX, originY, DWRITE_MEASURING_MODE_NATURAL, &run, params, RGB(0, 0, 0), nullptr);
    } else {
        TCom<IDWriteColorGlyphRunEnumerator> ownedLayers(layers);
        BOOL more = FALSE;
        while (SUCCEEDED(layers->MoveNext(&more)) && more) {
            const DWRITE_COLOR_GLYPH_RUN* layer = nullptr;
            if (FAILED(layers->GetCurrentRun(&layer)) || !layer) break;
            const auto channel = [](float c) { return BYTE(c <= 0 ? 0 : c >= 1 ? 255 : int(c * 255 + 0.5f)); };
            const COLORREF colour = layer->paletteIndex == 0xFFFF
                                        ? RGB(0, 0, 0)
                                        : RGB(channel(layer->runColor.r), channel(layer->runColor.g), channel(layer->runColor.b));
            target->DrawGlyphRun(layer->baselineOriginX, layer->baselineOriginY, DWRITE_MEASURING_MODE_NATURAL,
                                 &layer->glyphRun, params, colour, nullptr);
        }
    }
    ::BitBlt(dc, x, top, width, height, memory, 0, 0, SRCCOPY);
}

}  // namespace

int DrawEmojiText(ClassLib::TCanvas* canvas, int x, int y, bool measureOnly, const std::wstring& text, int fontSize) {
    HDC dc = canvas->Handle();   // with the canvas font, whose height is the advance
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    if (!measureOnly) DrawColourGlyph(dc, x, y, text, fontSize);
    return metrics.tmHeight;
}

}  // namespace AdvHTML
