// Text of the drawing object: plain text goes to the context, markup to the HTML engine.
#include <memory>
#include <vector>

#include "graphics/AdvGraphics.h"
#include "graphics/AdvGraphicsHTMLEngine.h"
#include "graphics/AdvUtils.h"
#include "graphics/HTMLTagScanner.h"

namespace AdvGraphics {

using AdvTypes::RectF;
using AdvUtils::TAdvUtils;
using namespace AdvGraphicsTypes;

namespace {

AdvGraphicsHTMLEngine::THTMLOptions OptionsOf(const TAdvGraphics& g, bool wordWrapping) {
    AdvGraphicsHTMLEngine::THTMLOptions o;
    o.WordWrap = wordWrapping;
    o.URLColor = g.URLColor();
    o.URLUnderline = g.URLUnderline();
    o.HighlightColor = g.HighlightColor();
    o.HighlightTextColor = g.HighlightTextColor();
    o.HighlightStyle = g.HighlightFontStyle();
    o.PictureContainer = g.PictureContainer();
    o.Images = g.ImageList();
    return o;
}

// The markup cut at its first break tag, spelled as it is written there; empty when it
// has none.
std::vector<std::wstring> SplitAtBreak(const std::wstring& text) {
    const std::wstring upper = HTMLTagScanner::UpperCase(text);
    std::size_t at = upper.find(L"<BR>");
    std::size_t length = 4;
    if (at == std::wstring::npos) {
        at = upper.find(L"<BR/>");
        length = 5;
    }
    if (at == std::wstring::npos) return {};
    const std::wstring tag = text.substr(at, length);
    std::vector<std::wstring> lines;
    std::size_t from = 0;
    for (std::size_t next = text.find(tag); next != std::wstring::npos; next = text.find(tag, from)) {
        lines.push_back(text.substr(from, next - from));
        from = next + tag.size();
    }
    lines.push_back(text.substr(from));
    return lines;
}

}  // namespace

TRectF TAdvGraphics::CalculateHTMLText(const std::wstring& text, const TRectF& rect, bool wordWrapping,
                                       bool supportHTML) {
    TRectF result = rect;
    if (RoundToPixel(rect.Right - rect.Left) <= 0) {
        result.Bottom = result.Top;
        return result;
    }
    if (text.empty()) return RectF(rect.Left, rect.Top, rect.Left, rect.Top);
    if (supportHTML && TAdvUtils::IsHTML(text)) {
        AdvGraphicsHTMLEngine::THTMLOptions o = OptionsOf(*this, wordWrapping);
        o.MeasureOnly = true;
        AdvGraphicsHTMLEngine::THTMLResult r;
        AdvGraphicsHTMLEngine::DrawHTML(this, text, rect, o, r);
        return RectF(rect.Left, rect.Top, rect.Left + r.Width, rect.Top + r.Height + 1);
    }
    result = FContext->CalculateText(text, rect, wordWrapping);
    result.Bottom += 1;
    return result;
}

TRectF TAdvGraphics::CalculateText(const std::wstring& text, const TRectF& rect, bool wordWrapping,
                                   bool supportHTML) {
    if (FOptimizedHTMLDrawing && TAdvUtils::IsHTML(text)) {
        const std::vector<std::wstring> lines = SplitAtBreak(text);
        if (!lines.empty()) {
            float height = 0;
            for (const std::wstring& line : lines) {
                const TRectF r = CalculateHTMLText(line, rect, wordWrapping, supportHTML);
                height += r.Bottom - r.Top;
            }
            return RectF(rect.Left, rect.Top, rect.Right, rect.Top + height);
        }
    }
    return CalculateHTMLText(text, rect, wordWrapping, supportHTML);
}

TRectF TAdvGraphics::CalculateText(const std::wstring& text) {
    return CalculateText(text, RectF(0, 0, 10000, 10000), false, true);
}

float TAdvGraphics::CalculateTextWidth(const std::wstring& text) {
    const TRectF r = CalculateText(text);
    return r.Right - r.Left;
}

float TAdvGraphics::CalculateTextHeight(const std::wstring& text) {
    const TRectF r = CalculateText(text);
    return r.Bottom - r.Top;
}

std::wstring TAdvGraphics::DrawHTMLText(const TRectF& rect, const std::wstring& text, std::wstring& controlID,
                                        std::wstring& controlValue, std::wstring& controlType, bool wordWrapping,
                                        TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                                        TAdvGraphicsTextTrimming trimming, float angle, float minWidth,
                                        float minHeight, bool supportHTML, bool testAnchor, float x, float y) {
    const TColor fill = FContext->GetFillColor();
    FContext->SetFillColor(FFont->Color());
    TRectF r = rect;
    if (minHeight > -1 && minHeight > r.Bottom - r.Top) r.Bottom = r.Top + minHeight;
    if (minWidth > -1 && minWidth > r.Right - r.Left) r.Right = r.Left + minWidth;
    r = FContext->SetTextAngle(r, angle);
    std::wstring result;
    if (supportHTML && TAdvUtils::IsHTML(text)) {
        AdvGraphicsHTMLEngine::THTMLOptions o = OptionsOf(*this, wordWrapping);
        o.MeasureOnly = true;
        AdvGraphicsHTMLEngine::THTMLResult measured;
        AdvGraphicsHTMLEngine::DrawHTML(this, text, r, o, measured);
        const float w = measured.Width + 1, h = measured.Height + 1;
        TRectF t = r;
        if (!wordWrapping || measured.LineCount < 2) {
            const auto place = [](TAdvGraphicsTextAlign align, float low, float high, float size) {
                if (align == gtaCenter) return low + (high - low - size) / 2;
                if (align == gtaTrailing) return high - size;
                return low;
            };
            const float left = place(horizontalAlign, r.Left, r.Right, w);
            const float top = place(verticalAlign, r.Top, r.Bottom, h);
            t = RectF(left, top, left + w, top + h);
        }
        std::unique_ptr<TAdvGraphicsSaveState> state = SaveState(true);
        ClipRect(r);
        o.MeasureOnly = false;
        o.FindControl = testAnchor;
        o.X = RoundToPixel(x);
        o.Y = RoundToPixel(y);
        o.FindControlID = controlID;
        AdvGraphicsHTMLEngine::THTMLResult painted;
        const bool hit = AdvGraphicsHTMLEngine::DrawHTML(this, text, t, o, painted);
        RestoreState(std::move(state), true);
        if (hit) {
            result = painted.Anchor;
            controlID = painted.ControlID;
            controlValue = painted.ControlValue;
            controlType = painted.ControlType;
        }
    } else if (!testAnchor) {
        FContext->DrawText(text, r, wordWrapping, horizontalAlign, verticalAlign, trimming, angle);
    }
    FContext->ResetTextAngle(angle);
    FContext->SetFillColor(fill);
    return result;
}

std::wstring TAdvGraphics::DrawText(const TRectF& rect, const std::wstring& text, std::wstring& controlID,
                                    std::wstring& controlValue, std::wstring& controlType, bool wordWrapping,
                                    TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                                    TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                                    bool supportHTML, bool testAnchor, float x, float y) {
    if (FOptimizedHTMLDrawing && !testAnchor && TAdvUtils::IsHTML(text)) {
        const std::vector<std::wstring> lines = SplitAtBreak(text);
        if (!lines.empty()) {
            TRectF cur = rect;
            for (const std::wstring& line : lines) {
                const TRectF r = CalculateText(line, cur, wordWrapping, supportHTML);
                DrawHTMLText(RectF(r.Left, r.Top, r.Right + 1, r.Bottom), line, controlID, controlValue,
                             controlType, wordWrapping, horizontalAlign, verticalAlign, trimming, angle, minWidth,
                             minHeight, supportHTML, testAnchor, x, y);
                cur.Top += r.Bottom - r.Top;
                cur.Bottom += r.Bottom - r.Top;
            }
            return std::wstring();
        }
    }
    return DrawHTMLText(rect, text, controlID, controlValue, controlType, wordWrapping, horizontalAlign,
                        verticalAlign, trimming, angle, minWidth, minHeight, supportHTML, testAnchor, x, y);
}

std::wstring TAdvGraphics::DrawText(const TRectF& rect, const std::wstring& text, bool wordWrapping,
                                    TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                                    TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                                    bool supportHTML, bool testAnchor, float x, float y) {
    std::wstring id, value, type;
    return DrawText(rect, text, id, value, type, wordWrapping, horizontalAlign, verticalAlign, trimming, angle,
                    minWidth, minHeight, supportHTML, testAnchor, x, y);
}

TPointF TAdvGraphics::CalculateTextSize(const std::wstring& text) {
    const TRectF r = CalculateText(text);
    return AdvTypes::PointF(r.Right - r.Left, r.Bottom - r.Top);
}

TPointF TAdvGraphics::CalculateTextSize(const std::wstring& text, const TRectF& rect, bool wordWrapping,
                                        bool supportHTML) {
    const TRectF r = CalculateText(text, rect, wordWrapping, supportHTML);
    return AdvTypes::PointF(r.Right - r.Left, r.Bottom - r.Top);
}

float TAdvGraphics::CalculateTextWidth(const std::wstring& text, const TRectF& rect, bool wordWrapping,
                                       bool supportHTML) {
    return CalculateTextSize(text, rect, wordWrapping, supportHTML).X;
}

float TAdvGraphics::CalculateTextHeight(const std::wstring& text, const TRectF& rect, bool wordWrapping,
                                        bool supportHTML) {
    return CalculateTextSize(text, rect, wordWrapping, supportHTML).Y;
}

ClassLib::TRect TAdvGraphics::CalculateText(const std::wstring& text, const ClassLib::TRect& rect, bool wordWrapping,
                                            bool supportHTML) {
    return AdvTypes::RectFToRect(CalculateText(text, AdvTypes::RectToRectF(rect), wordWrapping, supportHTML));
}

ClassLib::TSize TAdvGraphics::CalculateTextSize(const std::wstring& text, const ClassLib::TRect& rect,
                                                bool wordWrapping, bool supportHTML) {
    return AdvTypes::PointFToSize(CalculateTextSize(text, AdvTypes::RectToRectF(rect), wordWrapping, supportHTML));
}

int TAdvGraphics::CalculateTextWidth(const std::wstring& text, const ClassLib::TRect& rect, bool wordWrapping,
                                     bool supportHTML) {
    return RoundToPixel(CalculateTextWidth(text, AdvTypes::RectToRectF(rect), wordWrapping, supportHTML));
}

int TAdvGraphics::CalculateTextHeight(const std::wstring& text, const ClassLib::TRect& rect, bool wordWrapping,
                                      bool supportHTML) {
    return RoundToPixel(CalculateTextHeight(text, AdvTypes::RectToRectF(rect), wordWrapping, supportHTML));
}

ClassLib::TRect TAdvGraphics::CalculateTextInt(const std::wstring& text) {
    return AdvTypes::RectFToRect(CalculateText(text));
}

ClassLib::TSize TAdvGraphics::CalculateTextSizeInt(const std::wstring& text) {
    return AdvTypes::PointFToSize(CalculateTextSize(text));
}

int TAdvGraphics::CalculateTextWidthInt(const std::wstring& text) { return RoundToPixel(CalculateTextWidth(text)); }

int TAdvGraphics::CalculateTextHeightInt(const std::wstring& text) { return RoundToPixel(CalculateTextHeight(text)); }

std::wstring TAdvGraphics::DrawText(const TPointF& point, const std::wstring& text, float angle, bool supportHTML,
                                    bool testAnchor, float x, float y) {
    return DrawText(RectF(point.X, point.Y, point.X + 10000, point.Y + 10000), text, false, gtaLeading, gtaLeading,
                    gttNone, angle, -1, -1, supportHTML, testAnchor, x, y);
}

std::wstring TAdvGraphics::DrawText(const ClassLib::TRect& rect, const std::wstring& text, std::wstring& controlID,
                                    std::wstring& controlValue, std::wstring& controlType, bool wordWrapping,
                                    TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                                    TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                                    bool supportHTML, bool testAnchor, float x, float y) {
    return DrawText(AdvTypes::RectToRectF(rect), text, controlID, controlValue, controlType, wordWrapping,
                    horizontalAlign, verticalAlign, trimming, angle, minWidth, minHeight, supportHTML, testAnchor, x,
                    y);
}

std::wstring TAdvGraphics::DrawText(const ClassLib::TRect& rect, const std::wstring& text, bool wordWrapping,
                                    TAdvGraphicsTextAlign horizontalAlign, TAdvGraphicsTextAlign verticalAlign,
                                    TAdvGraphicsTextTrimming trimming, float angle, float minWidth, float minHeight,
                                    bool supportHTML, bool testAnchor, float x, float y) {
    return DrawText(AdvTypes::RectToRectF(rect), text, wordWrapping, horizontalAlign, verticalAlign, trimming, angle,
                    minWidth, minHeight, supportHTML, testAnchor, x, y);
}

std::wstring TAdvGraphics::DrawText(double left, double top, double right, double bottom, const std::wstring& text,
                                    std::wstring& controlID, std::wstring& controlValue, std::wstring& controlType,
                                    bool wordWrapping, TAdvGraphicsTextAlign horizontalAlign,
                                    TAdvGraphicsTextAlign verticalAlign, TAdvGraphicsTextTrimming trimming,
                                    float angle, float minWidth, float minHeight, bool supportHTML, bool testAnchor,
                                    float x, float y) {
    return DrawText(RectF(float(left), float(top), float(right), float(bottom)), text, controlID, controlValue,
                    controlType, wordWrapping, horizontalAlign, verticalAlign, trimming, angle, minWidth, minHeight,
                    supportHTML, testAnchor, x, y);
}

std::wstring TAdvGraphics::DrawText(double left, double top, double right, double bottom, const std::wstring& text,
                                    bool wordWrapping, TAdvGraphicsTextAlign horizontalAlign,
                                    TAdvGraphicsTextAlign verticalAlign, TAdvGraphicsTextTrimming trimming,
                                    float angle, float minWidth, float minHeight, bool supportHTML, bool testAnchor,
                                    float x, float y) {
    return DrawText(RectF(float(left), float(top), float(right), float(bottom)), text, wordWrapping, horizontalAlign,
                    verticalAlign, trimming, angle, minWidth, minHeight, supportHTML, testAnchor, x, y);
}

std::wstring TAdvGraphics::DrawText(int left, int top, int right, int bottom, const std::wstring& text,
                                    std::wstring& controlID, std::wstring& controlValue, std::wstring& controlType,
                                    bool wordWrapping, TAdvGraphicsTextAlign horizontalAlign,
                                    TAdvGraphicsTextAlign verticalAlign, TAdvGraphicsTextTrimming trimming,
                                    float angle, float minWidth, float minHeight, bool supportHTML, bool testAnchor,
                                    float x, float y) {
    return DrawText(ClassLib::TRect{left, top, right, bottom}, text, controlID, controlValue, controlType,
                    wordWrapping, horizontalAlign, verticalAlign, trimming, angle, minWidth, minHeight, supportHTML,
                    testAnchor, x, y);
}

std::wstring TAdvGraphics::DrawText(int left, int top, int right, int bottom, const std::wstring& text,
                                    bool wordWrapping, TAdvGraphicsTextAlign horizontalAlign,
                                    TAdvGraphicsTextAlign verticalAlign, TAdvGraphicsTextTrimming trimming,
                                    float angle, float minWidth, float minHeight, bool supportHTML, bool testAnchor,
                                    float x, float y) {
    return DrawText(ClassLib::TRect{left, top, right, bottom}, text, wordWrapping, horizontalAlign, verticalAlign,
                    trimming, angle, minWidth, minHeight, supportHTML, testAnchor, x, y);
}

std::wstring TAdvGraphics::ApplyHilight(const std::wstring& text, const std::wstring& hilight,
                                        const std::wstring& tag, bool doCase) {
    return AdvGraphicsHTMLEngine::HighlightHTML(text, hilight, tag, doCase);
}

}  // namespace AdvGraphics
