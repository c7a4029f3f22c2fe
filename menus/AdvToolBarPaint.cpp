#include "menus/AdvToolBarPaint.h"

#include <vssym32.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "classlib/Canvas.h"
#include "classlib/Control.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Streams.h"
#include "graphics/AdvGlobalStream.h"
#include "graphics/AdvTBXPVS.h"
#include "graphics/AdvTypes.h"
#include "menus/AdvToolBarStyler.h"
#include "menus/AdvToolBarSystem.h"

namespace AdvToolBar {

using ClassLib::clNone;
using ClassLib::TCanvas;
using ClassLib::TPoint;
using ClassLib::TRect;
using namespace AdvGDIP;

namespace {

// Halves to even, as the unit's arithmetic is written.
int Round(double value) { return int(std::nearbyint(value)); }

// A vertical gradient from `top` to `bottom` filling the rectangle.
void FillVertical(TGPGraphics& g, float x, float y, float w, float h, ARGB top, ARGB bottom) {
    if (w <= 0 || h <= 0) return;
    TGPLinearGradientBrush brush(TGPRectF(x, y, w, h), top, bottom, LinearGradientModeVertical);
    g.FillRectangle(&brush, x, y, w, h);
}

// The device context of a GDI+ graphics for one scope.
class TGraphicsDC {
public:
    explicit TGraphicsDC(TGPGraphics& graphics) : FGraphics(graphics), FDC(graphics.GetHDC()) {}
    ~TGraphicsDC() {
        if (FDC) FGraphics.ReleaseHDC(FDC);
    }
    TGraphicsDC(const TGraphicsDC&) = delete;
    TGraphicsDC& operator=(const TGraphicsDC&) = delete;
    HDC Handle() const { return FDC; }
private:
    TGPGraphics& FGraphics;
    HDC FDC;
};

// Picture bytes opened as a GDI+ bitmap (which reads its pixels and format), with the stream
// it reads from. EImageMemoryError when the memory block cannot be had; empty when the
// stream cannot be made or filled, or GDI+ cannot read the bytes.
struct TOpenedBitmap {
    AdvGlobalStream::TOwnedStream Stream;
    std::unique_ptr<TGPBitmap> Bitmap;
};

TOpenedBitmap OpenBitmap(const ClassLib::TBytes& bytes) {
    TOpenedBitmap opened;
    AdvGlobalStream::TStreamResult result = AdvGlobalStream::TStreamResult::Ok;
    opened.Stream = AdvGlobalStream::CopyToGlobalStream(bytes.data(), bytes.size(), result);
    if (result == AdvGlobalStream::TStreamResult::NoMemory) throw AdvGlobalStream::EImageMemoryError();
    if (!opened.Stream) return opened;
    auto bitmap = std::make_unique<TGPBitmap>(opened.Stream.get(), false);
    if (bitmap->LastResult() == Gdiplus::Ok) opened.Bitmap = std::move(bitmap);
    return opened;
}

ClassLib::TBytes BytesOf(ClassLib::TGraphic* graphic) {
    ClassLib::TMemoryStream stream;
    graphic->SaveToStream(&stream);
    return stream.Bytes();
}

// Draws the bitmap's own size at p with the colour of pixel (keyX, keyY) transparent.
void DrawKeyed(TGPGraphics& g, TGPBitmap& bitmap, TPoint p, int keyX, int keyY) {
    const int w = int(bitmap.GetWidth()), h = int(bitmap.GetHeight());
    ARGB key = 0;
    bitmap.GetPixel(keyX, keyY, key);
    TGPImageAttributes attributes;
    attributes.SetColorKey(key, key);
    g.DrawImage(&bitmap, TGPRectF(float(p.X), float(p.Y), float(w), float(h)), 0, 0, float(w), float(h), UnitPixel,
                &attributes);
}

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
}

// The side of a caption glyph: the rectangle's smaller side less 6 pixels at scale 1.
int GlyphExtent(const TRect& r) { return std::min(r.Width(), r.Height()) - Round(6 * DPIScaleFactor); }
int CappedGlyphExtent(const TRect& r) { return std::min(GlyphExtent(r), Round(18 * DPIScaleFactor)); }

void PreparePen(TCanvas* canvas, TColor color, int width) {
    canvas->Pen()->SetColor(color);
    canvas->Pen()->SetWidth(width);
}

}  // namespace

// ---- colours ----

TColor BlendColor(TColor color1, TColor color2, int percent) {
    if (percent >= 100) return color1;
    if (percent <= 0) return color2;
    // Only the bytes count here, so clNone mixes as the white it spells.
    const auto rgb = [](TColor color) { return TColor(ClassLib::ColorToRGB(color) & 0xFFFFFF); };
    return AdvGlowButton::BlendColor(rgb(color1), rgb(color2), percent);
}

void CenterRect(TRect& rect, int width, int height) {
    rect.Right = (rect.Left + rect.Right + width) / 2;
    rect.Bottom = (rect.Top + rect.Bottom + height) / 2;
    rect.Left = rect.Right - width;
    rect.Top = rect.Bottom - height;
}

int GetCornerRadius() { return GetScenicRibbonFlag() ? 0 : 3; }

// ---- alpha gradients and the glass caption ----

void FillTwoColorGradient(HDC dc, const TRect& r, TColor colorTop, TColor colorBottom, BYTE alphaTop,
                          BYTE alphaBottom) {
    TGPGraphics g(dc);
    FillVertical(g, float(r.Left), float(r.Top), float(r.Width()), float(r.Height() + 1),
                 ARGBFromColor(alphaTop, colorTop), ARGBFromColor(alphaBottom, colorBottom));
}

void FillAlphaGradient(HDC dc, const TRect& r, TColor color, BYTE alphaTop, BYTE alphaBottom) {
    FillTwoColorGradient(dc, r, color, color, alphaTop, alphaBottom);
}

void FillAlphaGradientFramed(HDC dc, const TRect& r, TColor color, TColor borderColor) {
    TGPGraphics g(dc);
    FillVertical(g, float(r.Left), float(r.Top), float(r.Width()), float(r.Height() + 1), ARGBFromColor(150, color),
                 ARGBFromColor(200, color));
    TGPPen pen(ARGBFromColor(255, borderColor), 1.0f);
    g.DrawRectangle(&pen, r.Left, r.Top - 1, r.Width(), r.Height() + 1);
}

void FillFadingGradient(HDC dc, const TRect& r, TColor color) {
    const auto channels = [color](BYTE alpha) {
        return ARGBFromChannels(alpha, BYTE(color), BYTE(color >> 8), BYTE(color >> 16));
    };
    TGPGraphics g(dc);
    FillVertical(g, float(r.Left), float(r.Top), float(r.Width()), float(r.Height()), channels(5), channels(130));
}

std::array<std::pair<BYTE, BYTE>, 18> FadeRightStripAlphas(BYTE alphaTop, BYTE alphaBottom) {
    std::array<std::pair<BYTE, BYTE>, 18> strips{};
    int top = alphaTop, bottom = alphaBottom;
    for (auto& strip : strips) {
        strip = {BYTE(top), BYTE(bottom)};
        top = top > 9 ? top - 10 : 0;
        bottom = bottom > 11 ? bottom - 12 : 0;
    }
    return strips;
}

void FillGradientFadeRight(HDC dc, const TRect& r, TColor color, BYTE alphaTop, BYTE alphaBottom) {
    TGPGraphics g(dc);
    const float top = float(r.Top), height = float(r.Height() + 1);
    FillVertical(g, float(r.Left), top, float(r.Width() - 40), height, ARGBFromColor(alphaTop, color),
                 ARGBFromColor(alphaBottom, color));
    const auto strips = FadeRightStripAlphas(alphaTop, alphaBottom);
    for (int i = 0; i < int(strips.size()); ++i) {
        // A rectangle narrower than the fade keeps it inside: the strips left of it are cut off.
        const int left = std::max(r.Right - 40 + 2 * i, r.Left);
        const int right = std::min(r.Right - 40 + 2 * i + 2, r.Right);
        FillVertical(g, float(left), top, float(right - left), height, ARGBFromColor(strips[i].first, color),
                     ARGBFromColor(strips[i].second, color));
    }
}

void FillGlowGradient(HDC dc, const TRect& r) {
    TGPGraphics g(dc);
    FillVertical(g, float(r.Left), float(r.Top), float(r.Width()), float(r.Height()),
                 ARGBFromChannels(8, 255, 255, 100), ARGBFromChannels(128, 255, 255, 100));
}

void DrawGlassQATFrame(HDC dc, const TRect& r) {
    TGPGraphics g(dc);
    if (GetScenicRibbonFlag()) {
        const float x = float(r.Left + Round(DPIScaleFactor * 22));
        const float right = float(r.Right - 3), top = float(r.Top + 7);
        TGPPen light(ARGBFromColor(100, ClassLib::clWhite), 3.0f);
        g.DrawLine(&light, x, top, x, float(r.Bottom - 4));
        g.DrawLine(&light, right, top, right, float(r.Bottom - 4));
        TGPPen dark(ARGBFromColor(150, 0x706A63), 1.0f);
        g.DrawLine(&dark, x, top, x, float(r.Bottom - 6));
        g.DrawLine(&dark, right, top, right, float(r.Bottom - 6));
        return;
    }
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    TGPPen pen(ARGBFromChannels(200, 128, 128, 128), 1.5f);
    const float left = float(r.Left), top = float(r.Top), right = float(r.Right), bottom = float(r.Bottom);
    const float middle = float(r.Top + (r.Bottom - r.Top) / 2);
    TGPGraphicsPath path;
    path.AddLine(left, top, right - 10, top);
    const TGPPointF rightEnd[] = {{right - 15, top - 4}, {right, middle}, {right - 15, bottom + 4}};
    path.AddCurve(rightEnd, 3, 1.0f);
    path.AddLine(left + 12, bottom, right - 10, bottom);
    const TGPPointF leftEnd[] = {{left + 12, bottom}, {left + 10, middle - 2}, {left + 2, top}};
    path.AddCurve(leftEnd, 3, 1.0f);
    path.CloseFigure();
    g.DrawPath(&pen, &path);
}

void DrawThemeGlowText(HDC dc, const wchar_t* text, int length, const TRect& rect, HTHEME theme, DWORD flags) {
    DTTOPTS options{};
    options.dwSize = sizeof(options);
    options.dwFlags = DTT_TEXTCOLOR | DTT_GLOWSIZE | DTT_COMPOSITED;
    options.crText = 0;
    options.iGlowSize = 12;
    RECT r = ClassLib::ToRECT(rect);
    // The active caption of a themed window.
    AdvTBXPVS::DrawThemeTextEx(theme, dc, WP_CAPTION, CS_ACTIVE, text, length, flags, &r, &options);
}

void DrawGlassCaption(ClassLib::TWinControl* control, const std::wstring& caption, const TRect& captionRect,
                      bool showQATFrame, const TRect& qatRect, TColor glowColor, bool showBand) {
    if (!control) return;
    const AdvThemeBinding::TThemeLibrary& themes = AdvTBXPVS::ThemeLibrary();
    const auto openTheme = reinterpret_cast<decltype(&::OpenThemeData)>(
        reinterpret_cast<void*>(themes.Entry(AdvThemeBinding::tfOpenThemeData)));
    const auto closeTheme = reinterpret_cast<decltype(&::CloseThemeData)>(
        reinterpret_cast<void*>(themes.Entry(AdvThemeBinding::tfCloseThemeData)));
    const auto themeFont = reinterpret_cast<decltype(&::GetThemeSysFont)>(
        reinterpret_cast<void*>(themes.Entry(AdvThemeBinding::tfGetThemeSysFont)));
    if (!openTheme || !closeTheme) return;
    const HWND window = control->Handle();
    const HTHEME theme = openTheme(window, L"CompositedWindow::Window");
    if (!theme) return;
    struct TThemeCloser {
        decltype(&::CloseThemeData) Close;
        HTHEME Theme;
        ~TThemeCloser() { Close(Theme); }
    } closer{closeTheme, theme};

    const ClassLib::TWindowDC dc(window);
    if (!dc.Handle()) return;
    const ClassLib::TOwnedDC memory(::CreateCompatibleDC(dc.Handle()));
    if (!memory) return;
    const int w = captionRect.Width(), h = captionRect.Height();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const ClassLib::TOwnedBitmap dib(::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) return;
    const ClassLib::TSelection dibSelected(memory.get(), dib.get());
    ClassLib::TOwnedFont font;
    LOGFONTW logFont{};
    if (themeFont && SUCCEEDED(themeFont(theme, TMT_CAPTIONFONT, &logFont)))
        font.reset(::CreateFontIndirectW(&logFont));
    const ClassLib::TSelection fontSelected(memory.get(), font.get());

    // Drawn at the rectangles' coordinates as passed; the copy below starts at the image's origin.
    if (glowColor != clNone) FillGlowGradient(memory.get(), captionRect);
    if (showBand) FillAlphaGradient(memory.get(), captionRect, ClassLib::clWhite, 0, 20);
    if (showQATFrame) DrawGlassQATFrame(memory.get(), qatRect);
    DrawThemeGlowText(memory.get(), caption.c_str(), int(caption.size()), TRect{4, captionRect.Top + 6, w, h}, theme,
                      DT_VCENTER | DT_EXPANDTABS | DT_END_ELLIPSIS);
    ::BitBlt(dc.Handle(), captionRect.Left, captionRect.Top, w, h, memory.get(), 0, 0, SRCCOPY);
}

// ---- GDI gradient ----

void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, int steps, const TRect& rect, bool horizontal) {
    TRect bands = rect;
    if (horizontal) --bands.Right;
    else --bands.Bottom;
    AdvGlowButton::DrawGradient(canvas, fromColor, toColor, steps, bands, horizontal);
}

// ---- GDI+ lines and outlines ----

TGraphicsOrCanvas::TGraphicsOrCanvas(TGPGraphics* graphics, TCanvas* canvas) : FGraphics(graphics) {
    if (FGraphics || !canvas) return;
    FOwn = std::make_unique<TGPGraphics>(canvas->Handle());
    FOwn->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    FGraphics = FOwn.get();
}

TGraphicsOrCanvas::~TGraphicsOrCanvas() = default;

void DrawPathLine(TGPGraphics& graphics, const TGPPen& pen, float x, float y, float dx, float dy) {
    TGPGraphicsPath path;
    path.AddLine(x, y, x + dx, y + dy);
    path.CloseFigure();
    graphics.DrawPath(&pen, &path);
}

void DrawGDIPLine(HDC dc, TColor color, float x, float y, float dx, float dy) {
    TGPGraphics g(dc);
    TGPPen pen(ColorToARGB(color), 1.0f);
    g.DrawLine(&pen, x, y, x + dx, y + dy);
}

void DrawArcPath(TGPGraphics& graphics, const TGPPen& pen, float x, float y, float width, float height,
                 float startAngle, float sweepAngle, bool close) {
    TGPGraphicsPath path;
    path.AddArc(x, y, width, height, startAngle, sweepAngle);
    if (close) path.CloseFigure();
    graphics.DrawPath(&pen, &path);
}

void DrawRoundRectPath(TGPGraphics& graphics, const TGPPen& pen, int x, int y, int width, int height, int radius) {
    TGPGraphicsPath path;
    AdvGlowButton::AddRoundRectPath(path, x, y, width, height, radius);
    graphics.DrawPath(&pen, &path);
}

void DrawRectPath(TGPGraphics& graphics, const TGPPen& pen, int x, int y, int width, int height) {
    TGPGraphicsPath path;
    const TGPPoint corners[] = {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}};
    path.AddPolygon(corners, 4);
    graphics.DrawPath(&pen, &path);
}

void DrawRectGDIP(TGPGraphics* graphics, TCanvas* canvas, TColor color, const TRect& rect) {
    const TGraphicsOrCanvas target(graphics, canvas);
    if (!target.Get()) return;
    TGPPen pen(ColorToARGB(color), 1.0f);
    DrawRectPath(*target.Get(), pen, rect.Left, rect.Top, rect.Width(), rect.Height());
}

void DrawDropDownArrow(TGPGraphics* graphics, TCanvas* canvas, TColor color, TPoint p) {
    const TGraphicsOrCanvas target(graphics, canvas);
    if (!target.Get()) return;
    TGPPen pen(ColorToARGB(color), 1.0f);
    TGPGraphicsPath path;
    // Rows of 5, 3 and 1 pixels, each a figure of its own.
    const int ends[3][2] = {{0, 5}, {1, 4}, {2, 2}};
    for (int row = 0; row < 3; ++row) {
        path.AddLine(p.X + ends[row][0], p.Y + row, p.X + ends[row][1], p.Y + row);
        path.CloseFigure();
    }
    target.Get()->DrawPath(&pen, &path);
}

void DrawGripLine(TCanvas* canvas, TPoint p1, TPoint p2, bool vertical, bool raised) {
    const TColor first = raised ? ClassLib::clWhite : ClassLib::clBtnShadow;
    const TColor second = raised ? ClassLib::clBtnShadow : ClassLib::clWhite;
    canvas->Pen()->SetColor(first);
    if (vertical) {
        canvas->MoveTo(p1.X - 1, p1.Y - 1);
        canvas->LineTo(p2.X - 1, p2.Y);
        canvas->LineTo(p2.X + 1, p2.Y);
        canvas->Pen()->SetColor(second);
        canvas->MoveTo(p2.X + 1, p2.Y);
        canvas->LineTo(p2.X + 1, p1.Y);
        canvas->LineTo(p2.X - 1, p1.Y);
    } else {
        canvas->MoveTo(p1.X - 1, p1.Y + 1);
        canvas->LineTo(p1.X - 1, p1.Y - 1);
        canvas->LineTo(p2.X + 1, p2.Y - 1);
        canvas->Pen()->SetColor(second);
        canvas->MoveTo(p2.X + 1, p2.Y - 1);
        canvas->LineTo(p2.X + 1, p2.Y + 1);
        canvas->LineTo(p1.X, p1.Y + 1);
    }
}

// ---- images through GDI+ ----

void DrawImageListGDIP(TGPGraphics* graphics, TCanvas* canvas, TPoint p, ClassLib::TCustomImageList* images, int index,
                       bool enabled) {
    if (!images || index < 0) return;
    const TGraphicsOrCanvas target(graphics, canvas);
    if (!target.Get()) return;
    // 24 bits: what the list leaves transparent stays the bitmap's black, the key colour.
    ClassLib::TBitmap bitmap(images->Width(), images->Height(), ClassLib::pf24bit);
    images->Draw(bitmap.Canvas(), 0, 0, index, enabled);
    const TOpenedBitmap opened = OpenBitmap(BytesOf(&bitmap));
    if (!opened.Bitmap) return;
    DrawKeyed(*target.Get(), *opened.Bitmap, p, 0, int(opened.Bitmap->GetHeight()) - 1);
}

void DrawGraphicGDIP(TGPGraphics* graphics, TCanvas* canvas, TPoint p, ClassLib::TGraphic* graphic, bool colorKey) {
    if (!graphic) return;
    const TGraphicsOrCanvas target(graphics, canvas);
    if (!target.Get()) return;
    if (const auto* svg = dynamic_cast<const AdvTypes::TAdvSVGBitmap*>(graphic); svg && svg->HasSVG()) {
        const TGraphicsDC dc(*target.Get());
        if (!dc.Handle()) return;
        TCanvas svgCanvas;
        svgCanvas.SetHandle(dc.Handle());
        graphic->Draw(&svgCanvas, TRect{p.X, p.Y, p.X + graphic->Width(), p.Y + graphic->Height()});
        svgCanvas.SetHandle(nullptr);
        return;
    }
    const TOpenedBitmap opened = OpenBitmap(BytesOf(graphic));
    if (!opened.Bitmap) return;
    if (colorKey && opened.Bitmap->GetFormat() != ifPNG) {
        DrawKeyed(*target.Get(), *opened.Bitmap, p, 0, 0);
        return;
    }
    // In pixels: GDI+'s own size of an image follows its resolution against the screen's.
    target.Get()->DrawImage(opened.Bitmap.get(), p.X, p.Y, int(opened.Bitmap->GetWidth()),
                            int(opened.Bitmap->GetHeight()));
}

// ---- caption-button glyphs ----

void DrawCloseGlyph(TCanvas* canvas, const TRect& r, TColor color, TGroupStyle groupStyle, int penWidth) {
    const int w = r.Width(), h = r.Height();
    const int e = CappedGlyphExtent(r);
    if (groupStyle == gsOffice2019) {
        PreparePen(canvas, color, 1);
        const int f = e / 2 + (e / 2) % 2;
        const int x = r.Left + (w - f) / 2, y = r.Top + (h - f) / 2;
        Line(canvas, x, y, x + f + 1, y + f + 1);
        Line(canvas, x + f, y, x - 1, y + f + 1);
        return;
    }
    PreparePen(canvas, color, penWidth);
    const int dx = (w - e) / 3, dy = (h - e) / 3;
    Line(canvas, r.Left + dx, r.Top + e + dy, r.Left + e + dx, r.Top + dy);
    Line(canvas, r.Left + dx, r.Top + dy, r.Left + e + dx, r.Top + e + dy);
}

void DrawRestoreGlyph(TCanvas* canvas, const TRect& r, TColor color, TGroupStyle groupStyle, bool scaled) {
    PreparePen(canvas, color, 1);
    const int w = r.Width(), h = r.Height();
    const int e = GlyphExtent(r);
    if (groupStyle == gsOffice2019) {
        const int l = Round(e / 2.0), k = Round(2 * DPIScaleFactor);
        const int x = r.Left + (w - l) / 2, y = r.Top + (h - l) / 2;
        // The front square whole, of the back one only what lies outside it.
        const TPoint front[] = {{x - k, y + k}, {x - k + l, y + k}, {x - k + l, y + k + l}, {x - k, y + k + l},
                                {x - k, y + k}};
        canvas->Polyline(front);
        const TPoint back[] = {{x, y + k}, {x, y}, {x + l, y}, {x + l, y + l}, {x + l - k, y + l}};
        canvas->Polyline(back);
        return;
    }
    if (scaled) {
        const int x0 = r.Left + (w - e) / 2, y0 = r.Top + (h - e) / 2;
        Line(canvas, x0 + 2, y0 + 1, x0 + e, y0 + 1);
        const TPoint back[] = {{x0 + 2, y0}, {x0 + e, y0}, {x0 + e, y0 + e - 2}};
        canvas->Polyline(back);
        Line(canvas, x0, y0 + 4, x0 + e - 1, y0 + 4);
        const TPoint front[] = {{x0, y0 + 3}, {x0 + e - 2, y0 + 3}, {x0 + e - 2, y0 + e}, {x0, y0 + e}, {x0, y0 + 3}};
        canvas->Polyline(front);
        return;
    }
    // The fixed 13 x 9 figure: a back box behind and right of a front one, top edges doubled.
    const int x = r.Right - 13, y = r.Top;
    Line(canvas, x + 4, y, x + 13, y);
    Line(canvas, x + 4, y + 1, x + 13, y + 1);
    Line(canvas, x + 12, y + 2, x + 12, y + 6);
    Line(canvas, x + 10, y + 5, x + 12, y + 5);
    Line(canvas, x + 4, y + 2, x + 4, y + 3);
    Line(canvas, x, y + 3, x + 9, y + 3);
    Line(canvas, x, y + 4, x + 9, y + 4);
    const TPoint front[] = {{x, y + 5}, {x, y + 8}, {x + 9, y + 8}, {x + 9, y + 4}};
    canvas->Polyline(front);
}

void DrawMaximizeGlyph(TCanvas* canvas, const TRect& r, TColor color, TGroupStyle groupStyle, bool scaled) {
    PreparePen(canvas, color, 1);
    const int w = r.Width(), h = r.Height();
    const int e = CappedGlyphExtent(r);
    if (groupStyle == gsOffice2019) {
        const int side = e / 2;
        const int x = r.Left + (w - side) / 2, y = r.Top + (h - side) / 2;
        const TPoint box[] = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}};
        canvas->Polyline(box);
        return;
    }
    // Scaled: a box of side e centred; else the fixed 10 x 9 one at the top right.
    const int side = scaled ? e : 9;
    const int x = scaled ? r.Left + (w - e) / 2 : r.Right - 10, y = scaled ? r.Top + (h - e) / 2 : r.Top;
    const int width = scaled ? side : 9, height = scaled ? side : 8;
    const TPoint box[] = {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}, {x, y}};
    canvas->Polyline(box);
    Line(canvas, x, y + 1, x + width, y + 1);
    if (scaled) Line(canvas, x, y + 2, x + width, y + 2);
}

void DrawMinimizeGlyph(TCanvas* canvas, const TRect& r, TColor color, TGroupStyle groupStyle, bool scaled) {
    PreparePen(canvas, color, 1);
    const int w = r.Width(), h = r.Height();
    const int e = CappedGlyphExtent(r);
    if (groupStyle == gsOffice2019) {
        const int length = Round(e / 2.0);
        const int x = r.Left + (w - length) / 2, y = r.Top + h / 2;
        Line(canvas, x, y, x + length, y);
        return;
    }
    if (scaled) {
        const int x = r.Left + (w - e) / 2, y = r.Top + (h - e) / 2 + e - 2;
        Line(canvas, x, y - 1, x + e, y - 1);
        Line(canvas, x, y, x + e, y);
        return;
    }
    Line(canvas, r.Left, r.Top, r.Left, r.Top + 6);
    Line(canvas, r.Left + 1, r.Top, r.Left + 1, r.Top + 6);
}

}  // namespace AdvToolBar
