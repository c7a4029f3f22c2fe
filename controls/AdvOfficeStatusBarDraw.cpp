// The status bar's drawing routines: gradients, the panel box, blended colours, the text
// of non-HTML panels and the progress gauge. They keep no state between calls.
#include "controls/AdvOfficeStatusBar.h"

#include <algorithm>
#include <cmath>

#include "classlib/Canvas.h"
#include "classlib/GdiScopes.h"
#include "classlib/Pictures.h"
#include "classlib/Screen.h"

namespace AdvOfficeStatusBar {

using namespace ClassLib;


void FillRectColor(TCanvas* canvas, const TRect& rect, TColor color) {
    canvas->Brush()->SetColor(color);
    canvas->FillRect(rect);
}

void FillGradientSteps(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect, int steps) {
    if (steps <= 0) steps = 1;
    const TColor from = ColorToRGB(fromColor), to = ColorToRGB(toColor);
    const double s = double(horizontal ? rect.Width() : rect.Height()) / steps;
    for (int i = 0; i < steps; ++i) {
        const auto channel = [&](int a, int b) { return a + AdvHTML::RoundHalfEven(i * double(b - a) / steps); };
        const TColor colour = RGBToColor(channel(ColorRed(from), ColorRed(to)), channel(ColorGreen(from), ColorGreen(to)),
                                         channel(ColorBlue(from), ColorBlue(to)));
        canvas->Pen()->SetColor(colour);
        canvas->Brush()->SetColor(colour);
        const int o = AdvHTML::RoundHalfEven(i * s);
        if (horizontal) canvas->Rectangle(rect.Left + o, rect.Top, rect.Left + o + AdvHTML::RoundHalfEven(s) + 1, rect.Bottom);
        else if (rect.Width() == 1) {
            canvas->MoveTo(rect.Left, rect.Top + o);
            canvas->LineTo(rect.Right, rect.Top + o + AdvHTML::RoundHalfEven(s) + 1);
        } else canvas->Rectangle(rect.Left, rect.Top + o, rect.Right, rect.Top + o + AdvHTML::RoundHalfEven(s) + 1);
    }
}

void DrawGradientBox(TCanvas* canvas, const TRect& rect, TColor color, TColor colorTo, TColor colorMirror,
                     TColor colorMirrorTo, TColor borderColor) {
    if (color != clNone) {
        if (colorMirror == clNone) FillGradientSteps(canvas, color, colorTo, false, rect, 128);
        else {
            const int middle = rect.Top + rect.Height() / 2;
            FillGradientSteps(canvas, color, colorTo, false, TRect(rect.Left, rect.Top, rect.Right, middle), 128);
            FillGradientSteps(canvas, colorMirror, colorMirrorTo, false, TRect(rect.Left, middle, rect.Right, rect.Bottom), 128);
        }
    }
    if (borderColor != clNone) {
        canvas->Brush()->SetColor(borderColor);
        canvas->FrameRect(rect);
    }
}

TColor BlendColor(TColor color1, TColor color2, int percent) {
    if (percent >= 100) return color1;
    if (percent <= 0) return color2;
    const TColor c1 = ColorToRGB(color1), c2 = ColorToRGB(color2);
    const double p = percent / 100.0;
    const auto mix = [p](int a, int b) { return AdvHTML::RoundHalfEven(p * a + (1 - p) * b); };
    return RGBToColor(mix(ColorRed(c1), ColorRed(c2)), mix(ColorGreen(c1), ColorGreen(c2)), mix(ColorBlue(c1), ColorBlue(c2)));
}

unsigned ToOpaqueARGB(TColor color) { return AdvGDIP::ColorToOpaqueARGB(color); }

bool IsOutlineFont(TCanvas* canvas) {
    if (!canvas) return false;
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(canvas->Handle(), &metrics);
    if (!(metrics.tmPitchAndFamily & TMPF_VECTOR) || (metrics.tmPitchAndFamily & TMPF_DEVICE)) return false;
    if (!Screen) return true;
    const auto& fonts = Screen->Fonts();
    const std::wstring& name = canvas->Font()->Name();
    return std::any_of(fonts.begin(), fonts.end(), [&](const std::wstring& f) { return _wcsicmp(f.c_str(), name.c_str()) == 0; });
}

void CutFirstDirectory(String& s) {
    if (s.empty()) return;
    if (s == L"\\") {
        s.clear();
        return;
    }
    const bool root = s[0] == L'\\';
    if (root) s.erase(0, 1);
    if (!s.empty() && s[0] == L'.') s.erase(0, std::min<std::size_t>(4, s.size()));
    const std::size_t slash = s.find(L'\\');
    if (slash != String::npos) s = L"...\\" + s.substr(slash + 1);
    else s.clear();
    if (root) s = L"\\" + s;
}

String ShortenPath(const String& fileName, TCanvas* canvas, int maxWidth) {
    String result = fileName;
    const std::size_t slash = fileName.find_last_of(L"\\/:");
    String dir = slash == String::npos ? L"" : fileName.substr(0, slash + 1);
    const String name = slash == String::npos ? fileName : fileName.substr(slash + 1);
    String drive;
    if (dir.size() >= 2 && dir[1] == L':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    while ((!dir.empty() || !drive.empty()) && canvas->TextWidth(result) > maxWidth) {
        if (dir == L"\\...\\") {
            drive.clear();
            dir = L"...\\";
        } else if (dir.empty()) drive.clear();
        else CutFirstDirectory(dir);
        result = drive + dir + name;
    }
    return result;
}

void DrawStatusText(TCanvas* canvas, int alignment, unsigned flags, TRect& bounds, bool endEllipsis, TAntiAlias antiAlias,
                    bool draw, bool enabled, TFont* font, const String& text, const TRect& rect) {
    bounds = TRect(0, 0, 0, 0);
    if (text.empty()) return;
    canvas->Font()->SetName(font->Name());
    if (antiAlias != aaNone && IsOutlineFont(canvas)) {
        using namespace AdvGDIP;
        String s = text;
        if (flags & DT_PATH_ELLIPSIS) s = ShortenPath(s, canvas, rect.Width());
        TGPGraphics graphics(canvas->Handle());
        TGPFontFamily family(font->Name(), nullptr);
        TGPFont gpFont(&family, float(font->Size()), 0, Gdiplus::UnitPoint);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        TGPStringFormat format;
        format.SetAlignment(alignment == 0 ? Gdiplus::StringAlignmentNear : alignment == 1 ? Gdiplus::StringAlignmentFar : Gdiplus::StringAlignmentCenter);
        format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        format.SetHotkeyPrefix(Gdiplus::HotkeyPrefixNone);
        graphics.SetTextRenderingHint(antiAlias == aaClearType ? Gdiplus::TextRenderingHintClearTypeGridFit : Gdiplus::TextRenderingHintAntiAlias);
        TGPSolidBrush brush(enabled ? ToOpaqueARGB(font->Color()) : ARGB(0xFF808080));
        const auto measure = [&](const String& t, float width) {
            TGPRectF box;
            graphics.MeasureString(t.c_str(), int(t.size()), &gpFont, TGPRectF(float(rect.Left), float(rect.Top), width, float(rect.Height())),
                                   &format, box);
            return box;
        };
        const TGPRectF box = measure(s, draw ? 1000.0f : float(rect.Width()));
        const double limit = 1073741823.0;
        if (box.X >= limit || box.Y >= limit || box.Width >= limit || box.Height >= limit || box.X < 0 || box.Y < 0 ||
            box.Width < 0 || box.Height < 0)
            bounds = TRect(0, 0, 200, 20);
        else
            bounds = TRect(AdvHTML::RoundHalfEven(box.X), AdvHTML::RoundHalfEven(box.Y), AdvHTML::RoundHalfEven(box.X + box.Width), AdvHTML::RoundHalfEven(box.Y + box.Height));
        if (!draw) return;
        if (box.Width > rect.Width()) {
            const String suffix = endEllipsis ? L"..." : L"";
            for (std::size_t n = s.size() + 1; n > 0 && !s.empty(); --n) {
                if (measure(s + suffix, 1000.0f).Width <= rect.Width()) break;
                s.pop_back();
            }
            s += suffix;
        }
        graphics.DrawString(s, &gpFont,
                            TGPRectF(float(rect.Left), float(rect.Top), float(rect.Width()), float(rect.Height())), &format, &brush);
        return;
    }
    bounds = TRect(0, 0, 1000, 100);
    String copy = text;
    TTextFormat measureFormat;
    measureFormat += tfNoPrefix;
    measureFormat += tfCalcRect;
    measureFormat += tfSingleLine;
    canvas->TextRect(bounds, copy, measureFormat);
    if (!draw) return;
    canvas->Font()->SetColor(enabled ? font->Color() : TColor(clGray));
    canvas->Brush()->SetStyle(bsClear);
    RECT r = ToRECT(rect);
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.resize(text.size() + 5, L'\0');
    ::DrawTextW(canvas->Handle(), buffer.data(), int(text.size()), &r, flags);
}

namespace {

void MirroredGradient(TCanvas* canvas, TColor color, TColor colorTo, const TRect& fill, int steps) {
    const int middle = fill.Top + fill.Height() / 2;
    FillGradientSteps(canvas, colorTo, color, false, TRect(fill.Left, fill.Top, fill.Right, middle), steps);
    FillGradientSteps(canvas, color, colorTo, false, TRect(fill.Left, middle, fill.Right, fill.Bottom), steps);
}

void FillSegment(TCanvas* canvas, const TRect& fill, TColor color, TColor colorTo, const TGaugeSettings& s) {
    if (fill.Width() <= 0) return;
    if (s.ShowGradient) MirroredGradient(canvas, color, colorTo, fill, s.Steps);
    else FillRectColor(canvas, fill, color);
}

// Cuts 2-pixel gaps into a fill: blocks of 8 pixels, then 7, apart by 2.
void CutGaugeBlocks(TCanvas* canvas, const TRect& fill, const TGaugeSettings& s, const TRect& gauge, HDC under) {
    int left = fill.Left + 8;
    const int rounds = fill.Right / 9 + 1;
    for (int i = 0; i < rounds; ++i, left += 9) {
        const TRect gap(left, fill.Top, left + 2, fill.Bottom + 1);
        if (gap.Right >= fill.Right) break;
        if (s.BackgroundColor == clNone) {
            ::BitBlt(canvas->Handle(), gap.Left, gap.Top, gap.Width(), gap.Height(), under, gap.Left - gauge.Left,
                     gap.Top - gauge.Top, SRCCOPY);
        } else {
            canvas->Brush()->SetColor(s.BackgroundColor);
            canvas->FillRect(gap);
        }
    }
}

}  // namespace

void DrawProgressGauge(TCanvas* canvas, const TRect& rectIn, int percent, const TGaugeSettings& s) {
    if (rectIn.Width() <= 0 || rectIn.Height() <= 0) return;
    HDC dc = canvas->Handle();
    // The area under the gauge, for the gaps of a gauge without a background.
    TOwnedDC under(::CreateCompatibleDC(dc));
    TOwnedBitmap underBitmap(::CreateCompatibleBitmap(dc, rectIn.Width(), rectIn.Height()));
    TSelection underSelection(under.get(), underBitmap.get());
    ::BitBlt(under.get(), 0, 0, rectIn.Width(), rectIn.Height(), dc, rectIn.Left, rectIn.Top, SRCCOPY);

    TRect rect = rectIn;
    const int w = rect.Width();
    canvas->Brush()->SetColor(s.BackgroundColor == clNone ? clWhite : s.BackgroundColor);
    if (s.ShowBorder) {
        canvas->Pen()->SetColor(s.BorderColor);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetStyle(psSolid);
        rect.Inflate(-1, -1);
    } else canvas->Pen()->SetColor(s.BackgroundColor == clNone ? clWhite : s.BackgroundColor);
    if (s.BackgroundColor != clNone) canvas->Rectangle(rect);
    else if (s.ShowBorder) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(rect);
    }
    const int usable = s.ShowBorder ? w - 4 : w - 2;
    const TRect gauge = rectIn;
    if (percent > 0) {
        if (s.Stacked) {
            const TColor colours[3][2] = {{s.Level0Color, s.Level0ColorTo}, {s.Level1Color, s.Level1ColorTo},
                                          {s.Level2Color, s.Level2ColorTo}};
            int widths[3] = {AdvHTML::RoundHalfEven(std::min(percent, s.Level1Perc) / 100.0 * usable), 0, 0};
            int segments = 1;
            if (percent >= s.Level1Perc) {
                widths[1] = AdvHTML::RoundHalfEven((std::min(percent, s.Level2Perc) - s.Level1Perc) / 100.0 * usable);
                segments = 2;
                if (percent >= s.Level2Perc) {
                    widths[2] = percent == 100 ? usable - (widths[0] + widths[1])
                                               : AdvHTML::RoundHalfEven((percent - s.Level2Perc) / 100.0 * usable);
                    segments = 3;
                }
            }
            int left = rect.Left + 1;
            for (int i = 0; i < segments; ++i) {
                TRect fill(left, rect.Top + 1, left + widths[i], rect.Bottom - 2);
                FillSegment(canvas, fill, colours[i][0], colours[i][1], s);
                if (!s.CompletionSmooth) {
                    fill.Top += 1;
                    fill.Bottom -= 1;
                    CutGaugeBlocks(canvas, fill, s, gauge, under.get());
                }
                left += widths[i];
            }
        } else {
            TColor colour = s.Level2Color, colourTo = s.Level2ColorTo;
            if (percent < s.Level1Perc) colour = s.Level0Color, colourTo = s.Level0ColorTo;
            else if (percent < s.Level2Perc) colour = s.Level1Color, colourTo = s.Level1ColorTo;
            else if (percent > 99) colour = s.Level3Color, colourTo = s.Level3ColorTo;
            if (s.CompletionSmooth) {
                FillSegment(canvas, TRect(rect.Left + 1, rect.Top + 1, rect.Left + 1 + AdvHTML::RoundHalfEven(percent / 100.0 * usable), rect.Bottom - 2),
                            colour, colourTo, s);
            } else {
                const TRect fill(rect.Left + 2, rect.Top + 2, rect.Left + AdvHTML::RoundHalfEven(double(percent) * usable / 100), rect.Bottom - 3);
                FillSegment(canvas, fill, colour, colourTo, s);
                CutGaugeBlocks(canvas, fill, s, gauge, under.get());
            }
        }
    }
    String text;
    if (s.ShowPercentage) text = s.Prefix + (s.IsPercent ? std::to_wstring(percent) + L"%" : std::to_wstring(s.Position)) + s.Suffix;
    else text = s.Text;
    if (!text.empty()) {
        canvas->Brush()->SetStyle(bsClear);
        if (s.Font) {
            canvas->Font()->SetName(s.Font->Name());
            canvas->Font()->SetHeight(s.Font->Height());
            canvas->Font()->SetColor(s.Font->Color());
            canvas->Font()->SetStyle(s.Font->Style());
        }
        const TSize size = canvas->TextExtent(text);
        canvas->TextOut(rect.Left + rect.Width() / 2 - size.cx / 2, rect.Top + rect.Height() / 2 - size.cy / 2, text);
    }
}

bool DrawHTML(const AdvHTML::THTMLParams& params, AdvHTML::THTMLResults& results) {
    return AdvHTML::DrawHTML(params, results, AdvHTML::StatusBarEngine);
}

}  // namespace AdvOfficeStatusBar
