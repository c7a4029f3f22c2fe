#include "rendering/AdvHTML.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>
#include <vector>

#include "classlib/Canvas.h"
#include "classlib/GdiScopes.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "graphics/HTMLTagScanner.h"
#include "graphics/PictureContainer.h"

namespace AdvHTML {

using namespace ClassLib;
using HTMLTagScanner::AttributeValue;
using HTMLTagScanner::TagLetter;

namespace {

constexpr int BulletSize = 8;
constexpr int BulletTop = 2;
constexpr int ImageGap = 2;
constexpr int GradientSteps = 64;

int Bounded(long long value, int low, int high) { return int(std::clamp<long long>(value, low, high)); }

TTextFormat ToTextFormat(UINT flags) {
    static const std::pair<UINT, TTextFormats> map[] = {
        {DT_BOTTOM, tfBottom}, {DT_CALCRECT, tfCalcRect}, {DT_CENTER, tfCenter}, {DT_END_ELLIPSIS, tfEndEllipsis},
        {DT_EXPANDTABS, tfExpandTabs}, {DT_EXTERNALLEADING, tfExternalLeading}, {DT_NOPREFIX, tfNoPrefix},
        {DT_RIGHT, tfRight}, {DT_RTLREADING, tfRtlReading}, {DT_SINGLELINE, tfSingleLine},
        {DT_VCENTER, tfVerticalCenter}, {DT_NOCLIP, tfNoClip}, {DT_PATH_ELLIPSIS, tfPathEllipsis}};
    TTextFormat format;
    for (const auto& [bit, value] : map)
        if (flags & bit) format += value;
    return format;
}

// The state a pass carries from one line to its next line.
struct TPassState {
    int Level = 0;
    bool Ordered = false;
    int Counter = 1;
    int HyperLinks = 0;
    int AnchorIndex = 0;
};

// A system image-list icon named by "SSYS:rest" (small) or "LSYS:rest" (large): rest is
// an index, or a path whose icon is asked for (by its extension when it does not exist).
struct TSystemIcon {
    HIMAGELIST List = nullptr;
    int Index = -1;
    int Width = 0, Height = 0;
};

TSystemIcon FindSystemIcon(const std::wstring& source) {
    TSystemIcon icon;
    const std::wstring upper = HTMLTagScanner::UpperCase(source.substr(0, 5));
    const bool small = upper == L"SSYS:", large = upper == L"LSYS:";
    if (!small && !large) return icon;
    const std::wstring rest = source.substr(5);
    SHFILEINFOW info{};
    const UINT size = small ? SHGFI_SMALLICON : SHGFI_LARGEICON;
    const bool number = !rest.empty() && rest.find_first_not_of(L"0123456789") == std::wstring::npos;
    const std::wstring path = number ? L"C:\\" : rest;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    UINT flags = SHGFI_SYSICONINDEX | size;
    if (attributes == INVALID_FILE_ATTRIBUTES) flags |= SHGFI_USEFILEATTRIBUTES;
    icon.List = reinterpret_cast<HIMAGELIST>(::SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags));
    if (!icon.List) return icon;
    icon.Index = number ? IntValue(rest) : info.iIcon;
    if (icon.Index < 0 || icon.Index >= ::ImageList_GetImageCount(icon.List)) {
        icon.Index = -1;
        return icon;
    }
    ::ImageList_GetIconSize(icon.List, &icon.Width, &icon.Height);
    return icon;
}

// Printing: the image is drawn on a white bitmap of its own size and that bitmap is
// stretched by the factor onto the target, so it keeps its size on paper. A factor that
// is not a finite positive number, or a size past what GDI draws, draws nothing.
void PrintListImage(HDC target, HIMAGELIST list, int index, int width, int height, int x, int y, double factor) {
    if (!list || width <= 0 || height <= 0 || !std::isfinite(factor) || factor <= 0) return;
    const double w = std::round(width * factor), h = std::round(height * factor);
    if (w < 1 || h < 1 || w > MaxMarkupPixels || h > MaxMarkupPixels) return;
    const TOwnedDC memory(::CreateCompatibleDC(target));
    if (!memory) return;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const TOwnedBitmap bitmap(::CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return;
    {
        const TSelection selected(memory.get(), bitmap.get());
        RECT all{0, 0, width, height};
        ::FillRect(memory.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::ImageList_Draw(list, index, memory.get(), 0, 0, ILD_TRANSPARENT);
        ::GdiFlush();
    }
    ::StretchDIBits(target, x, y, int(w), int(h), 0, 0, width, height, bits, &info, DIB_RGB_COLORS, SRCCOPY);
}

// A picture's own size: an animation's logical screen, else the graphic's size.
TSize NaturalSize(TGraphic* picture) {
    if (auto* html = dynamic_cast<PictureContainer::THTMLPicture*>(picture)) return {html->MaxWidth(), html->MaxHeight()};
    return {picture->Width(), picture->Height()};
}

// One call of DrawHTML: the state its lines and both passes share.
class THTMLEngine {
public:
    THTMLEngine(const THTMLParams& params, THTMLResults& results, const THTMLOptions& options)
        : P(params), Out(results), Opt(options), Canvas(params.Canvas) {}
    bool Run();

private:
    // The line routine: takes one line's markup from the front of `text` and returns it,
    // tags included, so the drawing pass can lay out exactly the same line again. The
    // text is a view that moves on: nothing is ever erased from its front, so a text of
    // many tags or lines costs time in proportion to its length.
    std::wstring RenderHTML(std::wstring_view& text, const TRect& lineR, bool measuring, bool firstPass);
    void HandleTag(const std::wstring& tag, const TRect& lineR, bool measuring, bool firstPass);
    void HandleOpening(const std::wstring& tag, const std::wstring& upper, const TRect& lineR, bool drawing, bool firstPass);
    void HandleClosing(const std::wstring& tag, const TRect& lineR, bool drawing);
    void AnchorOpen(const std::wstring& tag, const std::wstring& upper, const TRect& lineR, bool drawing);
    void AnchorClose(const TRect& lineR, bool drawing);
    void FontOpen(const std::wstring& tag, const std::wstring& upper, bool drawing);
    void ParagraphOpen(const std::wstring& tag, const std::wstring& upper, const TRect& lineR, bool drawing);
    void ListItem(const std::wstring& tag, const std::wstring& upper, bool drawing);
    void Image(const std::wstring& tag, const std::wstring& upper, const TRect& lineR, bool drawing, bool firstPass);
    void Body(const std::wstring& tag, const std::wstring& upper);
    TGraphic* FindPicture(const std::wstring& source);
    bool DrawListOrIcon(const std::wstring& source, int x, int y, bool rightAligned);
    void DrawPicture(TGraphic* picture, int x, int y);
    void TilePicture(TGraphic* picture, bool across);

    TRect CalcText(const std::wstring& text, const TRect& at, UINT flags);
    void DrawText(const std::wstring& text, TRect at, UINT flags);
    int TextHeight(const std::wstring& text) { return Canvas->TextHeight(text); }
    int GH() { return Canvas->TextHeight(L"gh"); }
    bool Hovered() const { return !P.Hover || P.HoverLink == Pass->AnchorIndex; }
    TColor BrushColorOrNone() const {
        return Canvas->Brush()->Style() == bsClear ? clNone : Canvas->Brush()->Color();
    }
    void SetBrushOrClear(TColor color) {
        if (color == clNone) Canvas->Brush()->SetStyle(bsClear);
        else Canvas->Brush()->SetColor(color);
    }

    const THTMLParams& P;
    THTMLResults& Out;
    const THTMLOptions& Opt;
    TCanvas* Canvas;

    TFont BaseFont, MeasureCanvasFont, MeasureBaseFont, DrawCanvasFont, DrawBaseFont;
    TPassState MeasurePass, DrawPass;
    TPassState* Pass = &MeasurePass;
    TColor Background = clNone;
    UINT Flags = 0;
    bool RightToLeft = false;
    double DPIFactor = 1;
    int IndentUnit = 12;

    // Layout across lines.
    TRect LineRect;
    int FloatLeftWidth = 0, FloatRightWidth = 0, FloatBottom = 0;
    bool FloatFlag = false;
    int FloatLeft = 0, FloatTop = 0;
    int Align = 0;                   // 0 left, 1 right, 2 centre
    bool ParagraphEnded = false;
    int ParaIndent = 0;
    int OfOffset = 0;                // carried into this line
    int NewOfOffset = 0;             // found in this line, carried into the next
    double LineHeightFactor = 1.0;
    bool ParaBackground = false;
    TColor SavedPenColor = clBlack;
    TColor FontBrush = clNone, SpanBrush = clNone, ParaBrush = clNone, AnchorBrush = clNone;
    TColor AnchorFontColor = clNone;
    std::vector<int> Rotations;      // orientations put aside by open <R> tags

    // Text state.
    bool Sub = false, Sup = false, Shadow = false, ErrorMark = false, Hidden = false, Hi = false;
    TColor HiSavedFont = clNone, HiSavedBrush = clNone;
    TFontStyles HiSavedStyle;
    std::wstring LiType, LiName;
    TColor LiColor = clNone;

    // Anchors.
    bool InAnchor = false, AnchorColorMode = false, MouseOnAnchor = false;
    std::wstring Href, Title;
    int AnchorStartX = 0, AnchorStartTop = 0, AnchorLine = -1;
    int LineNumber = 0;
    bool FocusOpen = false, FocusContinues = false;
    TRect FocusRect;

    // The current line.
    TRect Pen;
    int LineWidth = 0, LineHeight = 0, SubExtra = 0, SupExtra = 0, DescentShift = 0, TrailingBlank = 0;
    int IncomingHeight = 0;
    bool LineEnded = false, LineFull = false, LiSeen = false;
    bool TextHit = false, ImageHit = false;
};

TRect THTMLEngine::CalcText(const std::wstring& text, const TRect& at, UINT flags) {
    TRect r = at;
    std::wstring copy = text;
    Canvas->TextRect(r, copy, ToTextFormat((flags | DT_CALCRECT) & ~DT_END_ELLIPSIS));
    return r;
}

void THTMLEngine::DrawText(const std::wstring& text, TRect at, UINT flags) {
    // Wine: for fonts with bitmap strikes (its Tahoma at 8 pt) ExtTextOut advances the glyphs
    // less than every measuring call reports, so a run drawn as a whole ends short of where
    // the next run is put and the gaps between words grow. Placing each glyph at its measured
    // advance keeps the drawing where the layout measured it. Text the system must rework
    // (prefixes, tabs, ellipses, right-to-left reading, surrogates) keeps the system's drawing.
    const bool reworked = (flags & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS | DT_RTLREADING)) ||
                          std::any_of(text.begin(), text.end(), [&](wchar_t ch) {
                              return ch == L'\t' || (ch == L'&' && !(flags & DT_NOPREFIX)) || (ch >= 0xD800 && ch <= 0xDFFF);
                          });
    if (reworked || text.empty() || !(flags & DT_SINGLELINE)) {
        std::wstring copy = text;
        Canvas->TextRect(at, copy, ToTextFormat(flags));
        return;
    }
    HDC dc = Canvas->Handle();
    std::vector<int> ends(text.size());
    SIZE size{};
    int fit = 0;
    ::GetTextExtentExPointW(dc, text.c_str(), int(text.size()), INT_MAX, &fit, ends.data(), &size);
    std::vector<int> advances(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    int x = at.Left, y = at.Top;
    if (flags & DT_RIGHT) x = at.Right - size.cx;
    else if (flags & DT_CENTER) x = at.Left + (at.Width() - size.cx) / 2;
    if (flags & DT_BOTTOM) y = at.Bottom - metrics.tmHeight;
    else if (flags & DT_VCENTER) y = at.Top + at.Height() / 2 - metrics.tmHeight / 2;
    const RECT clip = ToRECT(at);
    ::ExtTextOutW(dc, x, y, (flags & DT_NOCLIP) ? 0 : ETO_CLIPPED, &clip, text.c_str(), UINT(text.size()), advances.data());
}

bool THTMLEngine::Run() {
    Out = THTMLResults{};
    if (!Canvas) return false;
    HDC dc = Canvas->Handle();

    TFont entryFont;
    entryFont.Assign(Canvas->Font());
    TPen entryPen;
    entryPen.Assign(Canvas->Pen());
    TBrush entryBrush;
    entryBrush.Assign(Canvas->Brush());

    BaseFont.Assign(Canvas->Font());
    for (TFont* f : {&MeasureCanvasFont, &MeasureBaseFont, &DrawCanvasFont, &DrawBaseFont}) f->Assign(Canvas->Font());
    Background = Canvas->Brush()->Color();
    Canvas->Brush()->SetStyle(bsClear);
    ::SetBkMode(dc, TRANSPARENT);

    DPIFactor = P.DPIScale > 0 ? P.DPIScale : ::GetDeviceCaps(dc, LOGPIXELSY) / 96.0;
    IndentUnit = ::MulDiv(12, ::GetDeviceCaps(dc, LOGPIXELSX), 96);
    Flags = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (P.S.find(L" & ") != std::wstring::npos) Flags |= DT_NOPREFIX;
    if (!P.WordWrap) Flags |= DT_END_ELLIPSIS;
    if (::GetSystemMetrics(SM_MIDEASTENABLED)) {
        if (P.BiDiMode != bdLeftToRight) {
            Flags |= DT_RTLREADING;
            RightToLeft = true;
        }
    }

    const std::wstring prepared = PrepareHTML(P.S, Opt.EntityCount, Opt.EmojiTags);
    std::wstring_view s = prepared;
    LineRect = P.R;
    bool hit = false;
    const auto trim = [](std::wstring_view& text) {
        while (!text.empty() && text.front() <= L' ') text.remove_prefix(1);
        while (!text.empty() && text.back() <= L' ') text.remove_suffix(1);
    };

    while (!s.empty()) {
        Canvas->UseFont(&MeasureCanvasFont);
        BaseFont.Assign(&MeasureBaseFont);
        Pass = &MeasurePass;
        const bool savedInAnchor = InAnchor, savedShadow = Shadow;
        const std::wstring savedHref = Href;

        Sub = Sup = false;
        SubExtra = SupExtra = 0;
        LineHeight = GH();
        const int plainLineHeight = LineHeight;
        trim(s);
        if (Opt.LineHeightPerLine) LineHeightFactor = 1.0;
        if (ParagraphEnded) {
            Align = 0;
            ParagraphEnded = false;
        }
        if (s.empty()) break;

        const std::size_t before = s.size();
        std::wstring line = RenderHTML(s, LineRect, true, true);
        // A line that took nothing would come round again for ever: drop its first tag.
        if (line.empty() && s.size() == before) {
            const std::size_t close = s.find(L'>');
            s.remove_prefix(close == std::wstring_view::npos ? s.size() : close + 1);
        }

        InAnchor = savedInAnchor;
        Href = savedHref;
        Shadow = savedShadow;
        MeasureCanvasFont.Assign(Canvas->Font());
        MeasureBaseFont.Assign(&BaseFont);

        LineHeight = RoundHalfEven((LineHeight + P.LineSpacing) * LineHeightFactor);
        if (Opt.LineHeightPerLine) LineHeightFactor = 1.0;

        TRect drawRect = LineRect;
        if (Align == 1 && drawRect.Right - LineWidth > drawRect.Left) drawRect.Left = drawRect.Right - LineWidth;
        if (Align == 2 && (drawRect.Right - drawRect.Left - LineWidth) / 2 > 0)
            drawRect.Left += (drawRect.Right - drawRect.Left - LineWidth) / 2;
        drawRect.Left += ParaIndent;
        drawRect.Bottom = drawRect.Top + LineHeight + SubExtra + SupExtra;

        if (!P.MeasureOnly) {
            Canvas->UseFont(&DrawCanvasFont);
            BaseFont.Assign(&DrawBaseFont);
            Pass = &DrawPass;
            std::wstring_view again = line;
            RenderHTML(again, drawRect, P.CheckOnly, false);
            DrawCanvasFont.Assign(Canvas->Font());
            DrawBaseFont.Assign(&BaseFont);
            const int gh = GH();
            if (ImageHit || (TextHit && P.Y > drawRect.Bottom - DescentShift - gh && P.Y < drawRect.Bottom - DescentShift))
                hit = true;
        }
        LineRect.Left = P.R.Left + FloatLeftWidth;
        LineRect.Right = P.R.Right - FloatRightWidth;
        if (drawRect.Top > FloatBottom) {
            FloatLeftWidth = FloatRightWidth = 0;
            LineRect.Left = P.R.Left;
        }
        OfOffset = NewOfOffset;
        if (FloatFlag) {
            LineRect.Left = FloatLeft;
            LineRect.Top = FloatTop;
            FloatFlag = false;
        } else {
            DescentShift = 0;
            const int advance = LineHeight + SubExtra + SupExtra;
            LineRect.Top += advance;
            Out.YSize = Bounded((long long)Out.YSize + advance, 0, 0x7FFFFFFF);
        }
        ++LineNumber;
        if (!P.MeasureOnly && LineRect.Top + plainLineHeight > P.R.Bottom) break;
        // Lines never start above the one before (a float restarts at its own line's top), so
        // none further on can hold the point.
        if (P.CheckOnly && P.StopBelowPoint && !P.MeasureOnly && LineRect.Top > P.Y) break;
    }

    if (Out.YSize == 0) Out.YSize = GH();
    Out.HyperLinks = std::max(MeasurePass.HyperLinks, DrawPass.HyperLinks);
    Out.Hit = hit;
    Canvas->Font()->Assign(&entryFont);
    Canvas->Pen()->Assign(&entryPen);
    Canvas->Brush()->Assign(&entryBrush);
    return hit;
}

std::wstring THTMLEngine::RenderHTML(std::wstring_view& s, const TRect& lineR, bool measuring, bool firstPass) {
    const bool drawing = !measuring;
    Pen = lineR;
    Pen.Bottom -= SubExtra;
    LineWidth = 0;
    IncomingHeight = LineHeight;
    LineHeight = 0;
    Title.clear();
    TrailingBlank = 0;
    LineEnded = LineFull = LiSeen = false;
    TextHit = ImageHit = false;
    if (drawing) {
        Pen.Left += OfOffset;
        if (ParaBackground) {
            SavedPenColor = Canvas->Pen()->Color();
            Canvas->Pen()->SetColor(Canvas->Brush()->Color());
            Canvas->Rectangle(P.R.Left, lineR.Top, P.R.Right, lineR.Top + IncomingHeight);
        }
        if (FocusContinues) {
            FocusRect.Left = lineR.Left + 1;
            FocusRect.Top = lineR.Top;
            FocusContinues = false;
        }
    }
    const int available = lineR.Right - lineR.Left - OfOffset;
    std::wstring raw;

    while (!s.empty() && !LineEnded && !LineFull) {
        // A run ends before the next tag, or with wrapping after the first blank; one
        // search for whichever comes first, so a long text is not scanned again per word.
        const std::size_t stop = P.WordWrap ? s.find_first_of(L"< ") : s.find(L'<');
        const std::size_t runLength = stop == std::wstring_view::npos ? s.size() : s[stop] == L' ' ? stop + 1 : stop;
        if (runLength > 0) {
            const std::wstring rawRun(s.substr(0, runLength));
            const std::wstring run = ReplaceRunEntities(rawRun);
            if (LineHeight == 0) LineHeight = IncomingHeight;
            const int h = TextHeight(run);
            if (Sub) SubExtra = std::max(SubExtra, h / 4);
            if (Sup) SupExtra = std::max(SupExtra, h / 4);
            LineHeight = std::max(LineHeight, h);
            if (firstPass) Out.StripVal += run;
            if (Hidden) {
                s.remove_prefix(runLength);
                continue;
            }
            int width;
            if (measuring) {
                width = CalcText(run, lineR, Flags).Width();
                LineWidth += width;
                const int x = P.X - lineR.Left;
                if (InAnchor && x >= LineWidth - width && x <= LineWidth) {
                    TextHit = true;
                    if (Pen.Top < P.Y) {
                        Out.AnchorVal = Href;
                        Out.FocusAnchor = Title;
                        MouseOnAnchor = true;
                    }
                }
            } else {
                TRect r = Pen;
                if (Sup) r.Bottom -= SupExtra;
                if (Sub) r.Bottom += SubExtra;
                r.Bottom -= DescentShift;
                const UINT drawFlags = (Flags & ~DT_EXTERNALLEADING) | (RightToLeft ? DT_RIGHT : 0);
                if (Shadow) {
                    const TColor colour = Canvas->Font()->Color();
                    Canvas->Font()->SetColor(P.ShadowColor);
                    TRect shadow = r;
                    shadow.Offset(P.ShadowOffset, P.ShadowOffset);
                    DrawText(run, shadow, drawFlags);
                    Canvas->Font()->SetColor(colour);
                }
                TRect place(r.Left, r.Top, lineR.Right, r.Bottom);
                if (Canvas->Font()->Style().Contains(fsItalic)) place.Right += 2;
                width = CalcText(run, place, Flags).Width();
                if (P.WordWrap || r.Left < lineR.Right - Canvas->TextWidth(L"l")) DrawText(run, place, drawFlags);
                LineWidth += width;
                if (InAnchor && Pass->AnchorIndex - 1 == P.FocusLink) Out.FocusAnchor = Href;
                if (ErrorMark) {
                    const TColor penColour = Canvas->Pen()->Color();
                    Canvas->Pen()->SetColor(clRed);
                    Canvas->Pen()->SetWidth(1);
                    std::vector<TPoint> zigzag;
                    for (int x = r.Left & ~1; x <= r.Left + width; x += 2)
                        zigzag.push_back({x, (x % 4 == 0) ? r.Bottom - 1 : r.Bottom + 1});
                    if (zigzag.size() > 1) Canvas->Polyline(zigzag);
                    Canvas->Pen()->SetColor(penColour);
                }
                if (RightToLeft) Pen.Right -= width;
                else {
                    Pen.Left += width;
                    Pen.Right = lineR.Right;
                }
            }
            const bool fits = LineWidth < available || width >= available;
            if (fits || !P.WordWrap || !firstPass) {
                raw += rawRun;
                s.remove_prefix(runLength);
                TrailingBlank = (run.size() == rawRun.size() && !run.empty() && run.back() == L' ')
                                    ? Canvas->TextWidth(L" ") : 0;
            } else {
                LineWidth -= width;
                LineEnded = true;
                break;
            }
            continue;
        }
        // Here the text starts with "<".
        if (s.size() < 3) {
            s = {};
            break;
        }
        const std::size_t close = s.find(L'>');
        if (close == std::wstring_view::npos) {
            s = {};   // a tag that never ends ends the text
            break;
        }
        const std::wstring tag(s.substr(0, close + 1));
        HandleTag(tag, lineR, measuring, firstPass);
        if (LineFull) break;   // the tag starts the next line
        raw += tag;
        s.remove_prefix(close + 1);
    }

    LineWidth -= TrailingBlank;
    if (Out.XSize < LineWidth) Out.XSize = Bounded((long long)LineWidth + 2, 0, 0x7FFFFFFF);
    if (drawing && FocusOpen) {
        TRect r(FocusRect.Left - 1, FocusRect.Top, Pen.Left + 1, lineR.Bottom);
        Canvas->DrawFocusRect(r);
        FocusContinues = true;
    }
    return raw;
}

void THTMLEngine::HandleTag(const std::wstring& tag, const TRect& lineR, bool measuring, bool firstPass) {
    const std::wstring upper = HTMLTagScanner::UpperCase(tag);
    if (HTMLTagScanner::IsClosingTag(tag)) HandleClosing(tag, lineR, !measuring);
    else HandleOpening(tag, upper, lineR, !measuring, firstPass);
}

void THTMLEngine::HandleOpening(const std::wstring& tag, const std::wstring& upper, const TRect& lineR, bool drawing,
                                bool firstPass) {
    TFont* font = Canvas->Font();
    const wchar_t c0 = TagLetter(tag, 0), c1 = TagLetter(tag, 1);
    std::wstring value;
    switch (c0) {
    case L'A':
        AnchorOpen(tag, upper, lineR, drawing);
        break;
    case L'B':
        if (c1 == 0) font->SetStyle(font->Style() + fsBold);
        else if (c1 == L'L') {
            if (!P.BlinkOn) font->SetColor(Background);
        } else if (c1 == L'O') {
            if (drawing && !P.KeepColors) Body(tag, upper);
        } else if (c1 == L'R') {
            LineEnded = true;
            if (LineHeight == 0) LineHeight = IncomingHeight;
            if (firstPass) Out.StripVal += L'\r';
        }
        break;
    case L'E':
        if (drawing) ErrorMark = true;
        break;
    case L'F':
        FontOpen(tag, upper, drawing);
        break;
    case L'H':
        if (c1 == L'I' && drawing) {
            Hi = true;
            HiSavedFont = font->Color();
            HiSavedBrush = BrushColorOrNone();
            HiSavedStyle = font->Style();
            SetBrushOrClear(P.HiBkColor);
            font->SetColor(P.HiTextColor);
            font->SetStyle(P.HiStyle);
        } else if (c1 == L'R') {
            LineEnded = true;
            if (drawing) {
                const TColor penColour = Canvas->Pen()->Color();
                Canvas->Pen()->SetColor(AttributeValue(tag, upper, L"COLOR", value) ? HTMLColor(value) : clBlack);
                Canvas->Pen()->SetWidth(1);
                Canvas->MoveTo(P.R.Left, Pen.Bottom + 1);
                Canvas->LineTo(P.R.Right, Pen.Bottom + 1);
                Canvas->Pen()->SetColor(penColour);
            }
        }
        break;
    case L'I':
        if (c1 == 0) font->SetStyle(font->Style() + fsItalic);
        else if (c1 == L'N') {
            if (AttributeValue(tag, upper, L"X", value)) {
                const int tab = Bounded(RoundHalfEven(IntValue(value) * DPIFactor), 0, MaxMarkupPixels);
                if (LineWidth < tab) {
                    LineWidth = tab;
                    Pen.Left = P.R.Left + tab;
                }
            }
        } else if (c1 == L'M') Image(tag, upper, lineR, drawing, firstPass);
        break;
    case L'J':
        if (!Hidden && tag.size() >= 5) {
            const int advance = DrawEmojiText(Canvas, Pen.Left, Pen.Top, !drawing, tag.substr(3, 2), font->Size());
            Pen.Left += advance;
        }
        break;
    case L'L':
        ListItem(tag, upper, drawing);
        break;
    case L'O':
        if (c1 == L'L') {
            ++Pass->Level;
            if (LineWidth > 0) LineEnded = true;
            Pass->Ordered = true;
            Pass->Counter = 1;
        } else if (c1 == L'F') {
            if (AttributeValue(tag, upper, L"X", value)) {
                const int offset = Bounded(IntValue(value), 0, MaxMarkupPixels);
                NewOfOffset = offset;
                Pen.Left = P.R.Left + offset;
                LineWidth = offset;
            }
        }
        break;
    case L'P':
        ParagraphOpen(tag, upper, lineR, drawing);
        break;
    case L'R':
        if (AttributeValue(tag, upper, L"A", value)) {
            Rotations.push_back(font->Orientation());
            font->SetOrientation(Bounded((long long)IntValue(value) * 10, -3600, 3600));
        }
        break;
    case L'S':
        if (c1 == 0) font->SetStyle(font->Style() + fsStrikeOut);
        else if (c1 == L'H') Shadow = true;
        else if (c1 == L'P') {
            if (AttributeValue(tag, upper, L"STYLE", value)) {
                const std::wstring style = HTMLTagScanner::UpperCase(value);
                const std::size_t at = style.find(L"BACKGROUND-COLOR:");
                if (at != std::wstring::npos) {
                    std::wstring rest = style.substr(at + 17);
                    rest.erase(0, rest.find_first_not_of(L' ') == std::wstring::npos ? rest.size() : rest.find_first_not_of(L' '));
                    if (!rest.empty() && rest[0] == L'#') {
                        SpanBrush = BrushColorOrNone();
                        Canvas->Brush()->SetColor(HexColor(rest));
                    }
                }
            }
        } else if (c1 == L'T') {
            if (TagLetter(tag, 3) == L'O') font->SetStyle(font->Style() + fsBold);
            else font->SetStyle(font->Style() + fsStrikeOut);
        } else if (c1 == L'U') {
            if (TagLetter(tag, 2) == L'B') Sub = true;
            else if (TagLetter(tag, 2) == L'P') Sup = true;
        }
        break;
    case L'U':
        if (c1 == 0) font->SetStyle(font->Style() + fsUnderline);
        else {
            ++Pass->Level;
            if (LineWidth > 0) LineEnded = true;
            Pass->Ordered = false;
        }
        break;
    case L'Z':
        Hidden = true;
        break;
    default:
        break;
    }
}

void THTMLEngine::HandleClosing(const std::wstring& tag, const TRect& lineR, bool drawing) {
    TFont* font = Canvas->Font();
    const wchar_t c0 = TagLetter(tag, 0), c1 = TagLetter(tag, 1);
    switch (c0) {
    case L'A':
        AnchorClose(lineR, drawing);
        break;
    case L'B':
        if (c1 == 0) font->SetStyle(font->Style() - fsBold);
        else font->SetColor(BaseFont.Color());
        break;
    case L'E':
        if (drawing) ErrorMark = false;
        break;
    case L'F':
        font->SetName(BaseFont.Name());
        font->SetHeight(BaseFont.Height());
        if (drawing && !P.KeepColors) {
            font->SetColor(BaseFont.Color());
            SetBrushOrClear(FontBrush);
        }
        break;
    case L'H':
        if (c1 == L'I' && drawing && Hi) {
            Hi = false;
            font->SetColor(HiSavedFont);
            SetBrushOrClear(HiSavedBrush);
            font->SetStyle(HiSavedStyle);
        }
        break;
    case L'I':
        font->SetStyle(font->Style() - fsItalic);
        break;
    case L'L':
        LineEnded = true;
        break;
    case L'O':
        if (c1 == 0 || Pass->Level == 0) NewOfOffset = 0;
        else {
            --Pass->Level;
            if (drawing) Pass->Ordered = false;
        }
        break;
    case L'P':
        LineEnded = true;
        if (Opt.ParagraphEndResetsAlign) ParagraphEnded = true;
        if (drawing) {
            LineHeightFactor = 1.0;
            ParaBackground = false;
            if (Opt.ParagraphEndResetsAlign) Align = 0;
            if (!P.KeepColors) SetBrushOrClear(ParaBrush);
        }
        break;
    case L'R':
        if (!Rotations.empty()) {
            font->SetOrientation(Rotations.back());
            Rotations.pop_back();
        }
        break;
    case L'S':
        if (c1 == 0) font->SetStyle(font->Style() - fsStrikeOut);
        else if (c1 == L'H') Shadow = false;
        else if (c1 == L'P') {
            Canvas->Brush()->SetColor(SpanBrush == clNone ? Background : SpanBrush);
            Canvas->Brush()->SetStyle(bsClear);
        } else if (c1 == L'T') {
            if (TagLetter(tag, 3) == L'O') font->SetStyle(font->Style() - fsBold);
            else font->SetStyle(font->Style() - fsStrikeOut);
        } else if (c1 == L'U') Sub = Sup = false;
        break;
    case L'U':
        if (c1 == 0 || Pass->Level == 0) font->SetStyle(font->Style() - fsUnderline);
        else --Pass->Level;
        break;
    case L'Z':
        Hidden = false;
        break;
    default:
        break;
    }
}

void THTMLEngine::AnchorOpen(const std::wstring& tag, const std::wstring& upper, const TRect& lineR, bool drawing) {
    TFont* font = Canvas->Font();
    BaseFont.SetColor(font->Color());
    AnchorColorMode = true;
    if (drawing && Pass->HyperLinks == P.FocusLink) {
        FocusRect = TRect(Pen.Left, Pen.Top, Pen.Left, Pen.Bottom);
        FocusOpen = true;
    }
    ++Pass->HyperLinks;
    Pass->AnchorIndex = Pass->HyperLinks;
    const bool hovered = Hovered();
    if (drawing && hovered) {
        font->SetStyle(font->Style() + fsUnderline);
        if (P.HoverColor != clNone) {
            AnchorBrush = BrushColorOrNone();
            Canvas->Brush()->SetColor(P.HoverColor);
        }
        if (P.HoverFontColor != clNone) {
            AnchorFontColor = font->Color();
            font->SetColor(P.HoverFontColor);
        }
    }
    if (!P.KeepColors && !(P.Hover && P.HoverLink == Pass->AnchorIndex && P.HoverFontColor != clNone))
        font->SetColor(P.URLColor);
    std::wstring value;
    if (AttributeValue(tag, upper, L"HREF", value)) {
        Href = value;
        InAnchor = true;
    }
    if (AttributeValue(tag, upper, L"TITLE", value)) Title = value;
    else Title.clear();
    AnchorStartX = lineR.Left + LineWidth;
    AnchorStartTop = lineR.Top;
    AnchorLine = LineNumber;
}

void THTMLEngine::AnchorClose(const TRect& lineR, bool drawing) {
    TFont* font = Canvas->Font();
    AnchorColorMode = false;
    if (drawing && Hovered() && Pass->AnchorIndex > 0) {
        font->SetStyle(font->Style() - fsUnderline);
        if (P.HoverColor != clNone) SetBrushOrClear(AnchorBrush);
        if (P.HoverFontColor != clNone) font->SetColor(AnchorFontColor);
    }
    if (!P.KeepColors) font->SetColor(BaseFont.Color());
    InAnchor = false;
    if (MouseOnAnchor) {
        const bool sameLine = AnchorLine == LineNumber;
        Out.HoverRect = TRect(sameLine ? AnchorStartX : lineR.Left, sameLine ? AnchorStartTop : lineR.Top,
                              lineR.Left + LineWidth, lineR.Bottom);
        Out.MouseLink = Pass->AnchorIndex;
        MouseOnAnchor = false;
    }
    if (FocusOpen && Pass->AnchorIndex - 1 == P.FocusLink) {
        FocusRect.Right = Pen.Left;
        FocusRect.Bottom = Pen.Bottom - DescentShift;
        FocusRect.Top = FocusRect.Bottom - GH();
        FocusRect.Left -= 1;
        FocusRect.Right += 1;
        if (drawing) Canvas->DrawFocusRect(FocusRect);
        FocusOpen = false;
    }
}

void THTMLEngine::FontOpen(const std::wstring& tag, const std::wstring& upper, bool drawing) {
    TFont* font = Canvas->Font();
    FontBrush = BrushColorOrNone();
    std::wstring value;
    if (AttributeValue(tag, upper, L"FACE", value)) font->SetName(value);
    if (!P.KeepColors && AttributeValue(tag, upper, L" COLOR", value)) {
        if (drawing && !AnchorColorMode) BaseFont.SetColor(font->Color());
        if (!value.empty()) font->SetColor(HTMLColor(value));
    }
    if (drawing && !P.KeepColors && AttributeValue(tag, upper, L"BGCOLOR", value))
        Canvas->Brush()->SetColor(HTMLColor(value));
    if (AttributeValue(tag, upper, L"STYLE", value)) {
        const std::wstring style = HTMLTagScanner::UpperCase(value);
        const std::size_t at = style.find(L"FONT-SIZE:");
        if (at != std::wstring::npos) {
            const std::wstring rest = style.substr(at + 10);
            const std::size_t pt = rest.find(L"PT");
            if (pt != std::wstring::npos) {
                const int points = Bounded(IntValue(rest.substr(0, pt)), 1, MaxFontPixels * 72 / 96);
                font->SetSize(points);
            }
        }
    } else if (HTMLTagScanner::LooseAttributeValue(tag, upper, L"SIZE", value)) {
        static const int steps[] = {1, 2, 4, 6, 8};
        const int n = IntValue(value);
        if (n >= 1 && n <= 5) font->SetSize(BaseFont.Size() + steps[n - 1]);
        else {
            double pixels = n * 96.0 / 72.0;
            if (P.FormScaled) {
                if (P.DPIScale != -1) pixels = n * double(P.DPIScale) * 96.0 / 72.0;
                else pixels = n * ::GetDeviceCaps(Canvas->Handle(), LOGPIXELSX) / 72.0;
            }
            font->SetHeight(-Bounded(RoundHalfEven(pixels), 1, MaxFontPixels));
        }
    }
}

void THTMLEngine::ParagraphOpen(const std::wstring& tag, const std::wstring& upper, const TRect& lineR, bool drawing) {
    std::wstring value;
    if (AttributeValue(tag, upper, L"ALIGN", value)) {
        const std::wstring a = HTMLTagScanner::UpperCase(value);
        if (a.find(L"RIGHT") != std::wstring::npos) Align = 1;
        if (a.find(L"LEFT") != std::wstring::npos) Align = 0;
        if (a.find(L"CENTER") != std::wstring::npos) Align = 2;
    }
    if (AttributeValue(tag, upper, L"INDENT", value)) ParaIndent = Bounded(IntValue(value), 0, MaxMarkupPixels);
    if (AttributeValue(tag, upper, L"LINE-HEIGHT", value)) {
        const double factor = DecimalValue(value);
        LineHeightFactor = factor <= 0 ? 1.0 : std::min(factor, MaxLineHeightFactor);
    }
    if (AttributeValue(tag, upper, L"FLOAT", value)) {
        const std::wstring f = HTMLTagScanner::UpperCase(value);
        if (f == L"LEFT" || f == L"RIGHT") {
            FloatFlag = true;
            FloatLeft = lineR.Left;
            FloatTop = lineR.Top;
        }
    }
    if (!P.KeepColors && AttributeValue(tag, upper, L"BGCOLOR", value)) {
        const TColor colour = HTMLColor(value);
        std::wstring to;
        if (!AttributeValue(tag, upper, L"BGCOLORTO", to)) {
            if (drawing) {
                ParaBackground = true;
                ParaBrush = BrushColorOrNone();
                Canvas->Brush()->SetColor(colour);
                SavedPenColor = Canvas->Pen()->Color();
                Canvas->Pen()->SetColor(colour);
                Canvas->Rectangle(P.R.Left, lineR.Top, P.R.Right, lineR.Bottom);
            }
        } else if (drawing) {
            ParaBackground = true;
            Canvas->Pen()->SetColor(colour);
            GradientFill(Canvas, colour, HTMLColor(to), true, TRect(P.R.Left, lineR.Top, P.R.Right, lineR.Bottom + 2),
                         GradientSteps, clNone);
            Canvas->Brush()->SetStyle(bsClear);
        }
    }
}

void THTMLEngine::ListItem(const std::wstring& tag, const std::wstring& upper, bool drawing) {
    if (LiSeen) {
        LineFull = true;
        return;
    }
    LiSeen = true;
    std::wstring value;
    LiType = AttributeValue(tag, upper, L"TYPE", value) ? HTMLTagScanner::UpperCase(value) : L"";
    LiName = AttributeValue(tag, upper, L"NAME", value) ? value : L"";
    LiColor = AttributeValue(tag, upper, L"COLOR", value) ? HTMLColor(value) : clNone;
    const int level = std::min(Pass->Level, 1000);
    LineWidth += IndentUnit * level;
    Pen.Left += IndentUnit * std::max(level - 1, 0);
    if (drawing && !Hidden) {
        TFont* font = Canvas->Font();
        if (LiType == L"SQUARE" || LiType == L"CIRCLE") {
            const TColor brush = BrushColorOrNone();
            Canvas->Pen()->SetColor(LiColor);
            Canvas->Brush()->SetColor(LiColor);
            const TRect box(Pen.Left, Pen.Top + BulletTop, Pen.Left + BulletSize, Pen.Top + BulletTop + BulletSize);
            if (LiType == L"SQUARE") Canvas->Rectangle(box);
            else Canvas->Ellipse(box);
            SetBrushOrClear(brush);
            Canvas->Brush()->SetStyle(bsClear);
        } else if (LiType.empty()) {
            const std::wstring name = font->Name();
            const TColor colour = font->Color();
            if (LiColor != clNone) font->SetColor(LiColor);
            font->SetName(L"Symbol");
            if (Pass->Ordered) {
                const std::wstring number = std::to_wstring(Pass->Counter++) + L". ";
                Canvas->TextOut(Pen.Left, Pen.Top, number);
                Pen.Left += Canvas->TextWidth(number) - 12;
            } else {
                Canvas->TextOut(Pen.Left, Pen.Top, level % 2 == 1 ? L"\u00B7" : L"o");
            }
            font->SetName(name);
            font->SetColor(colour);
        }
    }
    Pen.Left += IndentUnit;
}

void THTMLEngine::Image(const std::wstring& tag, const std::wstring& upper, const TRect& lineR, bool drawing, bool firstPass) {
    std::wstring src, value;
    AttributeValue(tag, upper, L"SRC", src);
    int valign = 0, floatMode = 0;
    if (AttributeValue(tag, upper, L"ALIGN", value)) {
        const std::wstring a = HTMLTagScanner::UpperCase(value);
        if (a == L"MIDDLE") valign = 1;
        else if (a == L"TOP") valign = 2;
    }
    TPoint at{Pen.Left, Pen.Top};
    if (AttributeValue(tag, upper, L"FLOAT", value)) {
        const std::wstring f = HTMLTagScanner::UpperCase(value);
        if (f == L"LEFT") {
            floatMode = 1;
            at.X = P.R.Left;
        } else if (f == L"RIGHT") floatMode = 2;
    }
    const int gh = GH();
    int width = 0, height = 0, index = -1;
    const std::wstring upperSrc = HTMLTagScanner::UpperCase(src);
    if (upperSrc.rfind(L"IDX:", 0) == 0 && P.Images) {
        // "IDX:n" needs 0 <= n < Count; a bad or negative index draws nothing.
        const int n = IntValue(upperSrc.substr(4));
        if (n >= 0 && n < P.Images->Count()) {
            index = n;
            width = P.Images->Width();
            height = P.Images->Height();
        }
    }
    TSystemIcon systemIcon;
    if (index < 0) {
        systemIcon = FindSystemIcon(src);
        if (systemIcon.Index >= 0) {
            width = systemIcon.Width;
            height = systemIcon.Height;
        }
    }
    TGraphic* picture = index < 0 && systemIcon.Index < 0 ? FindPicture(src) : nullptr;
    bool stretched = false;
    if (picture) {
        const TSize natural = NaturalSize(picture);
        const auto bound = [](long long v) { return Bounded(v, 0, MaxMarkupPixels); };
        int w = AttributeValue(tag, upper, L"WIDTH", value) ? bound(IntValue(value)) : 0;
        int h = AttributeValue(tag, upper, L"HEIGHT", value) ? bound(IntValue(value)) : 0;
        stretched = w > 0 || h > 0;
        if (w > 0 && h <= 0) h = natural.cy > 0 && natural.cx > 0 ? bound(std::llround(double(w) * natural.cy / natural.cx)) : 0;
        else if (h > 0 && w <= 0) w = natural.cx > 0 && natural.cy > 0 ? bound(std::llround(double(h) * natural.cx / natural.cy)) : 0;
        if (stretched) {
            // A size from markup is in 96-dpi pixels.
            if (P.DPIScale > 0) {
                width = bound(std::llround(w * double(P.DPIScale)));
                height = bound(std::llround(h * double(P.DPIScale)));
            } else {
                width = ::MulDiv(w, ::GetDeviceCaps(Canvas->Handle(), LOGPIXELSX), 96);
                height = ::MulDiv(h, ::GetDeviceCaps(Canvas->Handle(), LOGPIXELSY), 96);
            }
        } else {
            width = natural.cx;
            height = natural.cy;
        }
    }
    int voffset = 0;
    if (height < gh && !P.Print && !stretched) voffset = valign == 0 ? gh - height : valign == 1 ? (gh - height) / 2 : 0;
    if (floatMode == 2) at.X = lineR.Right - width;

    if (InAnchor) {
        const int x = P.X - lineR.Left;
        if (x > LineWidth && x < LineWidth + width && P.Y > Pen.Top && P.Y < Pen.Top + height) {
            ImageHit = true;
            Out.AnchorVal = Href;
            if (!Title.empty()) Out.FocusAnchor = Title;
        }
    }
    const int lineWidthAvailable = lineR.Right - lineR.Left;
    if (firstPass && LineWidth + width > lineWidthAvailable && width < lineWidthAvailable) {
        LineFull = true;
        return;
    }
    if (drawing && !Hidden) {
        if (index >= 0 && P.Print)
            PrintListImage(Canvas->Handle(), P.Images->Handle(), index, width, height, at.X, at.Y, P.ResFactor);
        else if (index >= 0) P.Images->Draw(Canvas, at.X, at.Y + voffset, index, true);
        else if (systemIcon.Index >= 0 && P.Print)
            PrintListImage(Canvas->Handle(), systemIcon.List, systemIcon.Index, width, height, at.X, at.Y + voffset,
                           P.ResFactor);
        else if (systemIcon.Index >= 0)
            ::ImageList_Draw(systemIcon.List, systemIcon.Index, Canvas->Handle(), at.X, at.Y + voffset, ILD_TRANSPARENT);
        else if (picture && stretched) {
            // Drawn at the size it takes, so the text after it does not overlap or leave a gap.
            if (auto* html = dynamic_cast<PictureContainer::THTMLPicture*>(picture)) html->SetStretch(true);
            Canvas->StretchDraw(TRect(at.X, at.Y, at.X + width, at.Y + height), picture);
        } else if (picture) DrawPicture(picture, at.X, at.Y + voffset);
    }
    if (floatMode == 0) {
        LineWidth += width + ImageGap;
        Pen.Left += width + ImageGap;
    }
    LineHeight = std::max(LineHeight, height);
    const int L = LineHeight;
    if (upper.find(L"ALIGN") != std::wstring::npos) {
        if (upper.find(L"\"TOP") != std::wstring::npos) DescentShift = gh < L ? L - gh : 0;
        else if (upper.find(L"\"MIDDLE") != std::wstring::npos) DescentShift = gh < L ? (L - gh) / 2 : 0;
    }
    if (upper.find(L"WRAP") != std::wstring::npos) {
        LineHeight = gh;
        DescentShift = 0;
    }
    if (floatMode == 1) {
        DescentShift = L - gh;
        FloatLeftWidth = width + ImageGap;
        FloatBottom = height;
        if (drawing) LineHeight = gh;
    } else if (floatMode == 2) {
        DescentShift = gh < L ? L - gh : 0;
        FloatRightWidth = width + ImageGap;
        FloatBottom = height;
        if (drawing) {
            LineHeight = gh;
            LineWidth = P.R.Right;
        }
    }
}

void THTMLEngine::Body(const std::wstring& tag, const std::wstring& upper) {
    std::wstring value;
    // Attributes come from the upper-cased tag: container names ignore case anyway.
    if (AttributeValue(tag, upper, L"BACKGROUND", value) || AttributeValue(tag, upper, L"BGTOPLEFT", value)) {
        const std::wstring src = HTMLTagScanner::UpperCase(value);
        if (!DrawListOrIcon(src, Pen.Left, Pen.Top, false)) TilePicture(FindPicture(src), true);
    }
    if (AttributeValue(tag, upper, L"BGTOPRIGHT", value)) {
        const std::wstring src = HTMLTagScanner::UpperCase(value);
        if (!DrawListOrIcon(src, Pen.Right, Pen.Top, true)) TilePicture(FindPicture(src), false);
    }
    if (AttributeValue(tag, upper, L"BGCOLOR", value)) {
        const TColor colour = value.empty() ? clNone : HTMLColor(value);
        std::wstring to;
        if (!AttributeValue(tag, upper, L"BGCOLORTO", to)) {
            FontBrush = BrushColorOrNone();
            SetBrushOrClear(colour);
            const TColor pen = Canvas->Pen()->Color();
            if (colour != clNone) {
                Canvas->Pen()->SetColor(colour);
                Canvas->Rectangle(P.R.Left - 2, P.R.Top, P.R.Right, P.R.Bottom);
            }
            Canvas->Pen()->SetColor(pen);
        } else {
            std::wstring dir = L"H";
            AttributeValue(tag, upper, L"DIR", dir);
            Canvas->Pen()->SetColor(colour);
            GradientFill(Canvas, colour, HTMLColor(to), HTMLTagScanner::UpperCase(dir) == L"H", P.R, GradientSteps, clNone);
            Canvas->Brush()->SetStyle(bsClear);
        }
    }
}

// Picture sources after a prefix ("IDX:", "SSYS:", "LSYS:"): a plain name is a container
// picture, an address holding "://" a cache picture, loaded into the cache on first use.
TGraphic* THTMLEngine::FindPicture(const std::wstring& source) {
    std::wstring rest = source;
    const std::wstring head = HTMLTagScanner::UpperCase(source.substr(0, 5));
    if (head.rfind(L"IDX:", 0) == 0) rest = source.substr(4);
    else if (head == L"SSYS:" || head == L"LSYS:") rest = source.substr(5);
    if (rest.empty()) return nullptr;
    TGraphic* picture = nullptr;
    if (rest.find(L':') == std::wstring::npos && P.Container) {
        picture = P.Container->FindPicture(rest);
    } else if (rest.find(L"://") != std::wstring::npos && P.ImageCache) {
        picture = P.ImageCache->FindPicture(rest);
        if (!picture) {
            PictureContainer::THTMLPicture* loaded = P.ImageCache->AddPicture();
            loaded->SetID(rest);   // a picture that cannot load stays, empty, so it is tried once
            loaded->SetAsynch(false);
            try {
                loaded->LoadFromURL(rest);
            } catch (const std::exception&) {
                // Laid out and drawn during a paint: a missing or broken file just shows nothing.
            }
            picture = loaded;
        }
    }
    if (!picture || picture->Empty()) return nullptr;
    return picture;
}

// An image-list image or a system icon at (x, y), or with its right edge at x; false when
// the source names neither.
bool THTMLEngine::DrawListOrIcon(const std::wstring& source, int x, int y, bool rightAligned) {
    if (source.rfind(L"IDX:", 0) == 0 && P.Images) {
        const int n = IntValue(source.substr(4));
        if (n < 0 || n >= P.Images->Count()) return false;
        const int left = rightAligned ? x - P.Images->Width() : x;
        if (P.Print)
            PrintListImage(Canvas->Handle(), P.Images->Handle(), n, P.Images->Width(), P.Images->Height(), left, y,
                           P.ResFactor);
        else P.Images->Draw(Canvas, left, y, n, true);
        return true;
    }
    const TSystemIcon icon = FindSystemIcon(source);
    if (icon.Index < 0) return false;
    // Placed by the icon's own width: the image list, if any, has nothing to do with it.
    const int left = rightAligned ? x - icon.Width : x;
    if (P.Print) PrintListImage(Canvas->Handle(), icon.List, icon.Index, icon.Width, icon.Height, left, y, P.ResFactor);
    else ::ImageList_Draw(icon.List, icon.Index, Canvas->Handle(), left, y, ILD_TRANSPARENT);
    return true;
}

// At its own size; an animation clears its whole area first, since a frame may cover only part of it.
void THTMLEngine::DrawPicture(TGraphic* picture, int x, int y) {
    auto* html = dynamic_cast<PictureContainer::THTMLPicture*>(picture);
    if (html && html->FrameCount() > 1) {
        if (Canvas->Brush()->Style() != bsClear) {
            const TColor pen = Canvas->Pen()->Color();
            Canvas->Pen()->SetColor(Canvas->Brush()->Color());
            Canvas->Rectangle(x, y, x + html->MaxWidth(), y + html->MaxHeight());
            Canvas->Pen()->SetColor(pen);
        }
        Canvas->Draw(x + html->FrameXPos(), y + html->FrameYPos(), picture);
    } else {
        Canvas->Draw(x, y, picture);
    }
}

// Rows from R's top, one picture high each; across R (`across`) or one copy at its right edge.
void THTMLEngine::TilePicture(TGraphic* picture, bool across) {
    if (!picture) return;
    const TSize size = NaturalSize(picture);
    if (size.cx <= 0 || size.cy <= 0) return;   // would never advance
    // Not SaveDC: restoring would select the canvas's pen and brush of before, which it may
    // have deleted meanwhile.
    HDC dc = Canvas->Handle();
    HRGN saved = ::CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = saved && ::GetClipRgn(dc, saved) == 1;
    ::IntersectClipRect(dc, P.R.Left, P.R.Top, P.R.Right, P.R.Bottom);
    for (int y = P.R.Top; y < P.R.Bottom; y += size.cy) {
        if (across)
            for (int x = P.R.Left; x < P.R.Right; x += size.cx) DrawPicture(picture, x, y);
        else
            DrawPicture(picture, P.R.Right - size.cx, y);
    }
    ::SelectClipRgn(dc, hadClip ? saved : nullptr);
    if (saved) ::DeleteObject(saved);
}

}  // namespace

bool DrawHTML(const THTMLParams& params, THTMLResults& results, const THTMLOptions& options) {
    THTMLEngine engine(params, results, options);
    return engine.Run();
}

void GradientFill(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect, int steps,
                  TColor frameColor) {
    if (steps <= 0) steps = 1;
    const TColor from = ColorToRGB(fromColor == clNone ? clWhite : fromColor);
    const TColor to = ColorToRGB(toColor == clNone ? clWhite : toColor);
    const double band = double(horizontal ? rect.Width() : rect.Height()) / steps;
    for (int i = 0; i < steps; ++i) {
        const auto channel = [&](int a, int b) { return RoundHalfEven(a + i * double(b - a) / steps); };
        const TColor colour = RGBToColor(channel(ColorRed(from), ColorRed(to)), channel(ColorGreen(from), ColorGreen(to)),
                                         channel(ColorBlue(from), ColorBlue(to)));
        canvas->Pen()->SetColor(colour);
        canvas->Brush()->SetColor(colour);
        const int offset = RoundHalfEven(i * band);
        if (horizontal)
            canvas->Rectangle(rect.Left + offset, rect.Top,
                              std::min(rect.Right, rect.Left + offset + int(band) + 1), rect.Bottom);
        else
            canvas->Rectangle(rect.Left, rect.Top + offset, rect.Right,
                              std::min(rect.Bottom, rect.Top + offset + int(band) + 1));
    }
    if (frameColor != clNone) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(frameColor);
        canvas->Rectangle(rect);
    }
}

}  // namespace AdvHTML
