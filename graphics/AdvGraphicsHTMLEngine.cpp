#include "graphics/AdvGraphicsHTMLEngine.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cwctype>
#include <memory>
#include <string_view>
#include <vector>

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/ImageList.h"
#include "classlib/Streams.h"
#include "classlib/Strings.h"
#include "graphics/AdvGraphics.h"
#include "graphics/AdvUtils.h"
#include "graphics/HTMLTagScanner.h"
#include "graphics/PictureContainer.h"

namespace AdvGraphicsHTMLEngine {

using AdvGraphics::RoundToPixel;
using AdvGraphics::TAdvGraphics;
using AdvGraphicsTypes::TAdvGraphicsFont;
using ClassLib::TFontStyles;
using String = std::wstring;
namespace Scan = HTMLTagScanner;

namespace {

// Far beyond any screen, small enough that sums of a few values stay in range.
constexpr long long MarkupIntLimit = 1000000;

// A tiny background picture over a big layout would mean millions of tiles in one paint.
constexpr int MaxBackgroundTiles = 4096;

// Left to right, without overlaps, in one pass: replacing in place would shift the rest
// of the text once per match.
String ReplaceAll(const String& s, const String& from, const String& to) {
    return s.find(from) == String::npos ? s : ClassLib::StringReplace(s, from, to, ClassLib::rfReplaceAll);
}

// Every "&amp;" becomes "&", again and again until none is left: "&amp;amp;" is "&" too,
// as is any "&" followed by more "amp;". One pass.
String CollapseAmpersands(const String& text) {
    String result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        result += text[i];
        if (text[i++] != L'&') continue;
        while (text.compare(i, 4, L"amp;") == 0) i += 4;
    }
    return result;
}

// A picture named in markup: borrowed from the container, or loaded here and owned.
struct TMarkupPicture {
    std::unique_ptr<AdvTypes::TAdvBitmap> Owned;
    const ClassLib::TPicture* Picture = nullptr;  // null when missing or empty
};

// "FILE://path", "DATA:...BASE64,text" or a container name; anything else, a file that
// does not exist or cannot be read, and broken data give no picture.
TMarkupPicture FindMarkupPicture(const String& source, PictureContainer::TPictureContainer* container) {
    TMarkupPicture result;
    const String upper = Scan::UpperCase(source);
    try {
        if (upper.rfind(L"FILE://", 0) == 0) {
            const String path = source.substr(7);
            if (ClassLib::FileExists(path)) {
                result.Owned = std::make_unique<AdvTypes::TAdvBitmap>();
                result.Owned->LoadFromFile(path);
            }
        } else if (upper.rfind(L"DATA:", 0) == 0) {
            const std::size_t at = upper.find(L"BASE64,");
            if (at != String::npos) {
                result.Owned = std::make_unique<AdvTypes::TAdvBitmap>();
                AdvUtils::TAdvUtils::LoadBitmapFromBase64(source.substr(at + 7), result.Owned.get());
            }
        } else if (!source.empty() && source.find(L':') == String::npos && container) {
            result.Picture = container->FindBitmap(source);
        }
    } catch (const std::exception&) {
        // Laid out during a paint: a picture that cannot be read just shows nothing.
        result.Owned.reset();
    }
    if (result.Owned) result.Picture = result.Owned.get();
    if (AdvTypes::IsPictureEmpty(result.Picture) || result.Picture->Width() <= 0 || result.Picture->Height() <= 0)
        result.Picture = nullptr;
    return result;
}

// A picture for drawing many times: raster pictures that decode their bytes on every draw
// are decoded once here. Null when the picture already draws from decoded pixels.
std::unique_ptr<ClassLib::TPicture> DecodedOnce(const ClassLib::TPicture* picture) {
    const auto* raster = dynamic_cast<const AdvTypes::TRasterSVGPicture*>(picture->Graphic());
    if (!raster || raster->HasSVG() || raster->Data().empty()) return nullptr;
    auto decoded = std::make_unique<ClassLib::TPicture>();
    try {
        ClassLib::TMemoryStream stream;
        stream.WriteBuffer(raster->Data().data(), int(raster->Data().size()));
        stream.SetPosition(0);
        decoded->LoadFromStream(&stream);
    } catch (const std::exception&) {
        return nullptr;  // drawn from the original instead
    }
    if (AdvTypes::IsPictureEmpty(decoded.get())) return nullptr;
    return decoded;
}

// Strict readings, for the values that fall back to a default when they are no number.
bool ReadWholeInt(const String& text, int& value) {
    const String trimmed = ClassLib::Trim(text);
    if (trimmed.empty()) return false;
    std::size_t i = trimmed[0] == L'-' || trimmed[0] == L'+' ? 1 : 0;
    if (i == trimmed.size()) return false;
    for (std::size_t j = i; j < trimmed.size(); ++j)
        if (!std::iswdigit(trimmed[j])) return false;
    value = MarkupInt(trimmed[0] == L'+' ? trimmed.substr(1) : trimmed);
    return true;
}
bool ReadWholeFloat(const String& text, double& value) {
    const String trimmed = ClassLib::Trim(text);
    if (trimmed.empty()) return false;
    wchar_t* end = nullptr;
    const double v = std::wcstod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(v)) return false;
    value = std::clamp(v, -double(MarkupIntLimit), double(MarkupIntLimit));
    return true;
}

// Puts the drawing object's font, fill and stroke back on every way out.
class TStateGuard {
public:
    explicit TStateGuard(TAdvGraphics* g)
        : FGraphics(g), FFillKind(g->Fill()->Kind()), FFillColor(g->Fill()->Color()),
          FStrokeKind(g->Stroke()->Kind()), FStrokeColor(g->Stroke()->Color()) {
        FFont.Assign(g->Font());
    }
    ~TStateGuard() {
        FGraphics->SetStrokeKind(FStrokeKind);
        FGraphics->SetStrokeColor(FStrokeColor);
        FGraphics->SetFillKind(FFillKind);
        FGraphics->SetFillColor(FFillColor);
        FGraphics->SetFont(&FFont);
    }
    TStateGuard(const TStateGuard&) = delete;
    TStateGuard& operator=(const TStateGuard&) = delete;
    const TAdvGraphicsFont& Font() const { return FFont; }
    TColor FillColor() const { return FFillColor; }

private:
    TAdvGraphics* FGraphics;
    TAdvGraphicsFont FFont;
    AdvGraphicsTypes::TAdvGraphicsFillKind FFillKind;
    TColor FFillColor;
    AdvGraphicsTypes::TAdvGraphicsStrokeKind FStrokeKind;
    TColor FStrokeColor;
};

// The state one pass starts from and hands on to the next pass of its kind.
struct TPassState {
    TColor TextColor = 0;
    TColor PrevColor = 0;
};

class TEngine {
public:
    TEngine(TAdvGraphics* g, const THTMLOptions& o, THTMLResult& r, const TStateGuard& entry, const TRectF& layout)
        : G(g), O(o), R(r), Entry(entry), Layout(layout) {}

    bool Run(String text);

private:
    struct TLine {
        float Width = 0, Height = 0, SubExtra = 0, SupExtra = 0;
        float TextBand = 0;    // how far a picture lifts the text band from the line bottom
        bool HitX = false;     // anchor text under the test point, horizontally
        bool HitBox = false;   // an anchor picture or an inline control under the test point
        bool Floated = false;  // a floating picture set the line height
    };

    // The extent of a text in the current font. A text of many lines has only a few fonts
    // and short runs repeat (list bullets, single words, the line height's "gh"): those are
    // measured once per font, not once per line and pass.
    TRectF Extent(const String& s) {
        const ClassLib::TFont* font = G->Font();
        const bool remember = s.size() <= 16;
        if (remember)
            for (const TKnownExtent& known : KnownExtents)
                if (known.Text == s && known.Height == font->Height() && known.Style == font->Style() &&
                    known.Name == font->Name())
                    return known.Value;
        const TRectF value = G->CalculateText(s, AdvTypes::RectF(0, 0, 10000, 10000), false, false);
        if (remember && KnownExtents.size() < 64)
            KnownExtents.push_back({s, font->Name(), font->Height(), font->Style(), value});
        return value;
    }
    float LineHeight() {
        const TRectF r = Extent(L"gh");
        return r.Bottom - r.Top;
    }
    struct TKnownExtent {
        String Text, Name;
        int Height;
        ClassLib::TFontStyles Style;
        TRectF Value;
    };
    std::vector<TKnownExtent> KnownExtents;
    // A colour value from markup; a malformed "#" value leaves the colour as it was.
    static bool ReadColor(const String& value, TColor& color) {
        if (value.empty()) return false;
        if (value[0] == L'#') {
            try {
                color = TAdvGraphics::HTMLToColor(value);
            } catch (const std::exception&) {
                return false;
            }
            return true;
        }
        color = TAdvGraphics::TextToColor(value);
        return true;
    }
    void SetStyle(ClassLib::TFontStyle style, bool on) {
        TFontStyles s = G->Font()->Style();
        G->SetFontStyles(on ? s + style : s - style);
    }

    // One pass over a line. Measuring consumes `src` and collects the line's markup in
    // `lineText`; painting walks a view of that markup inside `rect`. The source is a view
    // that moves on: nothing is erased from its front, so many tags or lines cost time in
    // proportion to the text.
    void Pass(bool paint, std::wstring_view& src, String& lineText, const TRectF& rect, TLine& line);
    void Tag(bool paint, const String& tag, const TRectF& rect, TLine& line, float& pen, bool& lineEnd,
             bool& keep);
    void Picture(bool paint, const String& tag, const String& upper, const TRectF& rect, TLine& line, float& pen,
                 bool& keep);
    void Control(bool paint, const String& tag, const TRectF& rect, TLine& line, float& pen, bool& keep);
    void BodyBackground(const String& upper);
    // Room for a box of `width` on the line: it fits beside what is there, or it is wider
    // than the whole line anyway and overflows where it comes up.
    static bool BoxFits(const TRectF& rect, const TLine& line, float width) {
        const float available = rect.Right - rect.Left;
        return available >= line.Width + width || available <= width;
    }
    // The test point strictly inside a box that starts at the line's current width.
    bool PointInBox(const TRectF& rect, const TLine& line, float width, float height) const {
        const float x = float(O.X) - rect.Left;
        return line.Width < x && x < line.Width + width && rect.Top < float(O.Y) && float(O.Y) < rect.Top + height;
    }

    TAdvGraphics* G;
    const THTMLOptions& O;
    THTMLResult& R;
    const TStateGuard& Entry;
    TRectF Layout;

    // Carried from line to line.
    bool InAnchor = false;
    String Href;
    int AnchorCount = 0;
    int ListLevel = 0;
    bool Hidden = false, ErrorLine = false, Shadow = false, Sub = false, Sup = false;
    int Align = 0, Indent = 0, Offset = 0;
    TColor RunBackground = -1;
    TColor SavedHiColor = -1, SavedHiBackground = -1;
    TFontStyles SavedHiStyle;
    bool ParagraphBackground = false;
    TColor ParagraphFill = -1, BodyFill = -1;
    bool ListItemSeen = false;
    TPassState MeasureState, PaintState, *Cur = nullptr;
    String HitHref;
    int PictureCount = 0;
    int HotPicture = -1;  // the picture under the test point, by count
    // Room kept free beside floating pictures, until a line starts below FloatBottom.
    int FloatLeft = 0, FloatRight = 0, FloatBottom = 0;
    int ParagraphFloat = 0;  // 1 LEFT, 2 RIGHT: the next line starts at FloatPoint
    bool ParagraphFloatChanged = false;
    int FloatPointX = 0, FloatPointY = 0;
};

void TEngine::Picture(bool paint, const String& tag, const String& upper, const TRectF& rect, TLine& line,
                      float& pen, bool& keep) {
    ++PictureCount;
    String src, value;
    Scan::AttributeValue(tag, upper, L"SRC", src);
    // ALT names the picture shown while the test point is over it.
    if (PictureCount == HotPicture && Scan::AttributeValue(upper, upper, L"ALT", value)) src = value;
    const int width = Scan::AttributeValue(tag, upper, L"WIDTH", value) ? std::max(0, MarkupInt(value)) : 0;
    const int height = Scan::AttributeValue(tag, upper, L"HEIGHT", value) ? std::max(0, MarkupInt(value)) : 0;
    String align, floating;
    Scan::AttributeValue(upper, upper, L"ALIGN", align);
    Scan::AttributeValue(upper, upper, L"FLOAT", floating);
    const float gh = LineHeight();

    float boxWidth = 0, boxHeight = 0, listOffset = 0;
    int listIndex = -1;
    TMarkupPicture picture;
    const String upperSrc = Scan::UpperCase(src);
    if (upperSrc.compare(0, 4, L"IDX:") == 0) {
        const int index = MarkupInt(src.substr(4));
        if (O.Images && index >= 0 && index < O.Images->Count()) {
            listIndex = index;
            int dpiX = 96, dpiY = 96;
            if (ClassLib::TCanvas* canvas = G->Canvas()) {
                dpiX = ::GetDeviceCaps(canvas->Handle(), LOGPIXELSX);
                dpiY = ::GetDeviceCaps(canvas->Handle(), LOGPIXELSY);
            }
            boxWidth = float(::MulDiv(O.Images->Width(), dpiX, 96));
            boxHeight = float(::MulDiv(O.Images->Height(), dpiY, 96));
            if (boxHeight < gh) {
                if (align == L"TOP") listOffset = 0;
                else if (align == L"MIDDLE") listOffset = std::trunc((gh - boxHeight) / 2);
                else listOffset = gh - boxHeight;
            }
        }
    } else {
        picture = FindMarkupPicture(src, O.PictureContainer);
        if (picture.Picture) {
            const double w = picture.Picture->Width(), h = picture.Picture->Height();
            if (width > 0 && height > 0) {
                boxWidth = float(width);
                boxHeight = float(height);
            } else if (width > 0) {
                boxWidth = float(width);
                boxHeight = float(RoundToPixel(float(h * width / w)));
            } else if (height > 0) {
                boxWidth = float(RoundToPixel(float(w * height / h)));
                boxHeight = float(height);
            } else {
                boxWidth = float(w);
                boxHeight = float(h);
            }
        }
    }

    if (!paint && !BoxFits(rect, line, boxWidth)) {
        --PictureCount;  // the next line meets this picture again
        keep = false;
        return;
    }
    if (InAnchor && PointInBox(rect, line, boxWidth, boxHeight)) {
        R.Anchor = Href;
        HotPicture = PictureCount;
        line.HitBox = line.HitBox || paint;
    }
    float left = pen;
    if (floating == L"LEFT") left = Layout.Left;
    else if (floating == L"RIGHT") left = rect.Right - boxWidth;
    if (paint && !O.FindControl && !Hidden) {
        const float x = float(RoundToPixel(left)), y = float(RoundToPixel(rect.Top));
        if (listIndex >= 0 && !O.NoImageListDraw && G->Canvas())
            O.Images->Draw(G->Canvas(), int(x), int(y + listOffset), listIndex, true);
        else if (picture.Picture)
            G->DrawBitmap(AdvTypes::RectF(x, y, x + boxWidth, y + boxHeight), picture.Picture, true, false, true,
                          false);
    }
    line.Width += boxWidth + 2;
    pen += boxWidth + 2;
    line.Height = std::max(line.Height, boxHeight);
    if (upper.find(L"ALIGN") != String::npos) {
        if (upper.find(L"\"TOP") != String::npos) line.TextBand = line.Height - gh;
        else if (upper.find(L"\"MIDDLE") != String::npos) line.TextBand = (line.Height - gh) / 2;
    }
    if (upper.find(L"WRAP") != String::npos) {
        line.Height = gh;
        line.TextBand = 0;
    }
    if (floating == L"LEFT" || floating == L"RIGHT") {
        line.TextBand = line.Height - gh;
        (floating == L"LEFT" ? FloatLeft : FloatRight) = RoundToPixel(boxWidth);
        // Kept as a place on the page, so a layout that does not start at 0 still flows
        // its text beside the picture.
        FloatBottom = RoundToPixel(rect.Top + boxHeight);
        if (floating == L"RIGHT") line.Width = Layout.Right;
        if (paint) {
            line.Height = gh;
            line.Floated = true;
        }
    }
    line.TextBand = std::max(0.0f, line.TextBand);
}

void TEngine::Control(bool paint, const String& tag, const TRectF& rect, TLine& line, float& pen, bool& keep) {
    const String attrs = tag.size() > 8 ? tag.substr(8) : String();
    const String upper = Scan::UpperCase(attrs);
    String type, widthText, heightText, id, value;
    Scan::AttributeValue(attrs, upper, L"TYPE=", type);
    type = Scan::UpperCase(type);
    const bool hasWidth = Scan::AttributeValue(attrs, upper, L"WIDTH=", widthText);
    Scan::AttributeValue(attrs, upper, L"HEIGHT=", heightText);
    Scan::AttributeValue(attrs, upper, L"ID=", id);
    if (Scan::AttributeValue(attrs, upper, L"VALUE=", value)) value = AdvUtils::TAdvUtils::UnFixMarkup(value);
    double controlHeight = 25.0;
    ReadWholeFloat(heightText, controlHeight);
    const bool small = type == L"CHECK" || type == L"RADIO";
    if (!hasWidth && !small) return;
    int width = 0;
    float boxWidth = 0, boxHeight = 0;
    if (hasWidth && ReadWholeInt(widthText, width)) {
        width = std::max(0, width);
        boxWidth = float(width);
        boxHeight = float(RoundToPixel(G->CalculateTextHeight(L"gh")) + 10);
    }
    const float size = float(RoundToPixel(float(16 * O.Scale)) + 2);
    if (type == L"BUTTON") boxHeight = 22;
    else if (type == L"COMBO") boxHeight = 25;
    else if (small) boxWidth = boxHeight = size;
    if (!paint && !BoxFits(rect, line, boxWidth)) {
        keep = false;
        return;
    }
    // Raised, never lowered: taller text or pictures before the control keep their room.
    const float height = controlHeight > 25 ? float(controlHeight - 2) : small ? 16.0f : 23.0f;
    line.Height = std::max(line.Height, height);

    const bool focused = O.HasFocusedControl && id == O.FocusedControlID;
    if (paint && !O.FindControl) {
        if (small) {
            const float top = rect.Top + (rect.Bottom - rect.Top - (size - 2)) / 2;
            const TRectF box = AdvTypes::RectF(float(RoundToPixel(pen + 1)), float(RoundToPixel(top)),
                                               float(RoundToPixel(pen + size - 1)), float(RoundToPixel(top + size - 2)));
            const bool checked = Scan::UpperCase(value) == L"TRUE";
            if (type == L"CHECK") G->DrawCheckBox(box, checked, focused, true, 1.0f);
            else G->DrawRadioButton(box, checked, focused, true, 1.0f);
        } else if (type == L"BUTTON") {
            const float top = rect.Top + (line.Height - 22) / 2;
            TRectF box = AdvTypes::RectF(float(RoundToPixel(pen + 2)), float(RoundToPixel(top)),
                                         float(RoundToPixel(pen + float(width) - 2)), float(RoundToPixel(top + 22)));
            const bool pointIn = float(O.X) >= box.Left && float(O.X) < box.Right && float(O.Y) >= box.Top &&
                                 float(O.Y) < box.Bottom;
            G->DrawButton(box, focused, pointIn, true, true, 1.0f);
            box = AdvTypes::RectF(box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2);
            G->SetFontColor(Cur->TextColor);
            // The caption is markup itself; VALUE was decoded completely, so it holds no
            // further escaped captions and this nests once at most.
            G->DrawText(box, value, false, AdvGraphicsTypes::gtaCenter, AdvGraphicsTypes::gtaCenter,
                        AdvGraphicsTypes::gttNone, 0, -1, -1, true);
        }
    }
    // A control without an ID is never the one asked for.
    if (PointInBox(rect, line, boxWidth, boxHeight) || (O.FindControl && !id.empty() && id == O.FindControlID)) {
        R.Anchor = L"ctrl";
        R.ControlID = id;
        R.ControlValue = value;
        R.ControlType = type;
        line.HitBox = line.HitBox || paint;
    }
    line.Width += boxWidth;
    pen += boxWidth;
    line.Height = std::max(line.Height, boxHeight);
}

void TEngine::BodyBackground(const String& upper) {
    String value;
    if (Scan::AttributeValue(upper, upper, L"BACKGROUND", value)) {
        if (value.rfind(L"IDX:", 0) == 0) value.erase(0, 4);
        const TMarkupPicture picture = FindMarkupPicture(value, O.PictureContainer);
        if (picture.Picture) {
            const std::unique_ptr<ClassLib::TPicture> decoded = DecodedOnce(picture.Picture);
            const ClassLib::TPicture* tile = decoded ? decoded.get() : picture.Picture;
            const float w = float(picture.Picture->Width()), h = float(picture.Picture->Height());
            const float width = Layout.Right - Layout.Left, height = Layout.Bottom - Layout.Top;
            int tiles = 0;
            for (float y = 0; y < height && tiles < MaxBackgroundTiles; y += h)
                for (float x = 0; x < width && tiles < MaxBackgroundTiles; x += w, ++tiles) {
                    const float left = float(RoundToPixel(Layout.Left + x)), top = float(RoundToPixel(Layout.Top + y));
                    G->DrawBitmap(AdvTypes::RectF(left, top, left + w, top + h), tile, true, false, true, false);
                }
        }
    }
    for (const bool right : {false, true}) {
        if (!Scan::AttributeValue(upper, upper, right ? L"BGTOPRIGHT" : L"BGTOPLEFT", value)) continue;
        if (value.empty() || value.find(L':') != String::npos || !O.PictureContainer) continue;
        const TMarkupPicture picture = FindMarkupPicture(value, O.PictureContainer);
        if (!picture.Picture) continue;
        const float w = float(picture.Picture->Width()), h = float(picture.Picture->Height());
        const float left = right ? float(RoundToPixel(Layout.Right)) - w : float(RoundToPixel(Layout.Left));
        const float top = float(RoundToPixel(Layout.Top));
        G->DrawBitmap(AdvTypes::RectF(left, top, left + w, top + h), picture.Picture, true, false, true, false);
    }
}

void TEngine::Tag(bool paint, const String& tag, const TRectF& rect, TLine& line, float& pen, bool& lineEnd,
                  bool& keep) {
    const String upper = Scan::UpperCase(tag);
    const bool closing = Scan::IsClosingTag(tag);
    const std::size_t first = closing ? 2 : 1;
    const wchar_t c0 = first < upper.size() ? upper[first] : 0;
    const wchar_t c1 = first + 1 < upper.size() ? upper[first + 1] : 0;
    const bool single = c1 == L'>';
    String value;
    TColor color = 0;
    if (closing) {
        switch (c0) {
        case L'A':
            if (paint && (!O.HoverStyle || AnchorCount == O.HoverAnchor)) SetStyle(ClassLib::fsUnderline, false);
            if (!O.KeepColors) Cur->TextColor = Cur->PrevColor;
            InAnchor = false;
            break;
        case L'B':
            if (single) SetStyle(ClassLib::fsBold, false);
            else Cur->TextColor = Cur->PrevColor;
            break;
        case L'E': ErrorLine = false; break;
        case L'F':
            G->SetFontName(Entry.Font().Name());
            G->SetFontSize(Entry.Font().Size());
            if (paint && !O.KeepColors) {
                Cur->TextColor = Cur->PrevColor;
                G->SetFillColor(BodyFill);
            }
            break;
        case L'H':
            if (paint) {
                Cur->TextColor = SavedHiColor;
                RunBackground = SavedHiBackground;
                G->SetFontStyles(SavedHiStyle);
            }
            break;
        case L'I': SetStyle(ClassLib::fsItalic, false); break;
        case L'L': lineEnd = true; break;
        case L'O': Offset = 0; break;
        case L'P':
            lineEnd = true;
            if (paint) {
                G->SetFillColor(ParagraphFill);
                ParagraphBackground = false;
            }
            break;
        case L'S':
            if (c1 == L'U') Sub = Sup = false;
            else if (c1 == L'H') Shadow = false;
            else SetStyle(ClassLib::fsStrikeOut, false);
            break;
        case L'U':
            if (single || ListLevel == 0) SetStyle(ClassLib::fsUnderline, false);
            else --ListLevel;
            break;
        case L'Z': Hidden = false; break;
        default: break;
        }
        return;
    }
    switch (c0) {
    case L'A':
        ++AnchorCount;
        if (paint && (!O.HoverStyle || AnchorCount == O.HoverAnchor)) {
            if (O.URLUnderline) SetStyle(ClassLib::fsUnderline, true);
            if (O.HoverColor != -1) RunBackground = O.HoverColor;
            if (O.HoverFontColor != -1) Cur->TextColor = O.HoverFontColor;
        }
        if (!O.KeepColors && !(O.HoverStyle && AnchorCount == O.HoverAnchor && O.HoverFontColor != -1)) {
            Cur->PrevColor = Cur->TextColor;
            Cur->TextColor = O.URLColor;
        }
        {
            const std::size_t q1 = tag.find(L'"');
            const std::size_t q2 = q1 == String::npos ? q1 : tag.find(L'"', q1 + 1);
            Href = q2 == String::npos ? String() : tag.substr(q1 + 1, q2 - q1 - 1);
        }
        InAnchor = true;
        break;
    case L'B':
        if (single) SetStyle(ClassLib::fsBold, true);
        else if (c1 == L'R') lineEnd = true;
        else if (c1 == L'L') {
            if (!O.BlinkOn) Cur->TextColor = Entry.FillColor();
        } else if (c1 == L'O' && paint && !O.KeepColors && !O.FindControl) {
            // The colour first, so that background pictures show on top of it.
            if (Scan::AttributeValue(tag, upper, L"BGCOLOR", value) && ReadColor(value, color) &&
                upper.find(L"BGCOLORTO") == String::npos) {
                BodyFill = G->Fill()->Color();
                const TColor stroke = G->Stroke()->Color();
                G->SetFillKind(AdvGraphicsTypes::gfkSolid);
                G->SetFillColor(color);
                G->SetStrokeColor(color);
                G->DrawRectangle(AdvTypes::RectF(Layout.Left - 2, Layout.Top, Layout.Right, Layout.Bottom));
                G->SetStrokeColor(stroke);
            }
            BodyBackground(upper);
        }
        break;
    case L'C': Control(paint, tag, rect, line, pen, keep); break;
    case L'E': ErrorLine = true; break;
    case L'F': {
        const String attrs = upper.size() > 5 ? upper.substr(5) : String();
        if (Scan::AttributeValue(attrs, attrs, L"FACE", value) && !value.empty()) G->SetFontName(value);
        if (!O.KeepColors && Scan::AttributeValue(attrs, attrs, L" COLOR", value) && ReadColor(value, color)) {
            Cur->PrevColor = Cur->TextColor;
            Cur->TextColor = color;
        }
        if (paint && !O.KeepColors && Scan::AttributeValue(attrs, attrs, L"BGCOLOR", value) &&
            ReadColor(value, color))
            RunBackground = color;
        if (Scan::AttributeValue(attrs, attrs, L"STYLE", value)) {
            const std::size_t at = value.find(L"FONT-SIZE:");
            const std::size_t pt = value.find(L"PT");
            if (at != String::npos && pt != String::npos && pt > at + 10) {
                const int size = MarkupInt(value.substr(at + 10, pt - at - 10));
                if (size > 0) AdvUtils::TAdvUtils::SetFontSize(G->Font(), float(std::min(size, 1000)));
                G->SetFont(G->Font());
            }
        } else if (Scan::LooseAttributeValue(attrs, attrs, L"SIZE", value)) {
            static const int sizes[] = {8, 10, 12, 14, 16};
            int size = MarkupInt(value);
            if (size >= 1 && size <= 5) size = sizes[size - 1];
            if (size > 0) {
                TAdvGraphicsFont font;
                font.Assign(G->Font());
                AdvUtils::TAdvUtils::SetFontSize(&font, float(std::min(size, 1000)));
                G->SetFont(&font);
            }
        }
        break;
    }
    case L'H':
        if (c1 == L'I') {
            if (paint) {
                SavedHiColor = Cur->TextColor;
                SavedHiBackground = RunBackground;
                SavedHiStyle = G->Font()->Style();
                RunBackground = O.HighlightColor;
                Cur->TextColor = O.HighlightTextColor;
            }
            G->SetFontStyles(O.HighlightStyle);
        } else if (c1 == L'R') {
            lineEnd = true;
            if (paint && !O.FindControl) {
                TColor lineColor = 0;
                if (Scan::AttributeValue(tag, upper, L"COLOR", value)) ReadColor(value, lineColor);
                G->SetStrokeKind(AdvGraphicsTypes::gskSolid);
                G->SetStrokeColor(lineColor);
                const float y = rect.Bottom + 1;
                G->DrawLine(AdvTypes::PointF(rect.Left, y), AdvTypes::PointF(rect.Right, y));
            }
        }
        break;
    case L'I':
        if (single) SetStyle(ClassLib::fsItalic, true);
        else if (c1 == L'N') {
            // A tab stop: the pen jumps there when the line has not reached it yet.
            if (Scan::AttributeValue(tag, upper, L"X", value)) {
                const int x = MarkupInt(value);
                if (line.Width < float(x)) {
                    line.Width = float(x);
                    pen = rect.Left + float(x);
                }
            }
        } else if (c1 == L'M') {
            Picture(paint, tag, upper, rect, line, pen, keep);
        }
        break;
    case L'L': {
        if (ListItemSeen) {  // a second item opens the next line
            keep = false;
            lineEnd = true;
            return;
        }
        ListItemSeen = true;
        const float step = 12;
        line.Width += float(ListLevel) * step;
        pen += float(ListLevel) * step - step;
        String type;
        const bool hasType = Scan::AttributeValue(tag, upper, L"TYPE", type);
        type = Scan::UpperCase(type);
        TColor bullet = Cur->TextColor;
        const bool hasColor = Scan::AttributeValue(tag, upper, L"COLOR", value) && ReadColor(value, bullet);
        if (paint && !Hidden && !O.FindControl) {
            const TRectF box = AdvTypes::RectF(pen, rect.Top + 2, pen + 8, rect.Top + 10);
            if (hasType && (type == L"SQUARE" || type == L"CIRCLE")) {
                const TColor fill = G->Fill()->Color();
                G->SetFillKind(AdvGraphicsTypes::gfkSolid);
                G->SetFillColor(bullet);
                G->SetStrokeColor(bullet);
                if (type == L"SQUARE") G->DrawRectangle(box);
                else G->DrawEllipse(box);
                G->SetFillColor(fill);
            } else if (!hasType) {
                const TFontStyles style = G->Font()->Style();
                G->SetFontStyles(TFontStyles());
                G->SetFontColor(hasColor ? bullet : Cur->TextColor);
                G->DrawText(AdvTypes::RectF(pen, rect.Top, rect.Right, rect.Bottom), ListLevel % 2 ? L"\u2022" : L"o");
                G->SetFontStyles(style);
                G->SetFontColor(Cur->TextColor);
            }
        }
        pen += step;
        break;
    }
    case L'O':
        if (c1 == L'F' && Scan::AttributeValue(tag, upper, L"X", value)) {
            Offset = std::max(0, MarkupInt(value));
            pen = rect.Left + float(Offset);
            line.Width = float(Offset);
        }
        break;
    case L'P':
        if (Scan::AttributeValue(tag, upper, L"ALIGN", value)) {
            if (value.find(L"RIGHT") != String::npos) Align = 1;
            if (value.find(L"LEFT") != String::npos) Align = 0;
            if (value.find(L"CENTER") != String::npos) Align = 2;
        }
        if (Scan::AttributeValue(tag, upper, L"INDENT", value)) Indent = std::max(0, MarkupInt(value));
        if (Scan::AttributeValue(upper, upper, L"FLOAT", value) && (value == L"LEFT" || value == L"RIGHT")) {
            ParagraphFloat = value == L"LEFT" ? 1 : 2;
            ParagraphFloatChanged = true;
            FloatPointX = RoundToPixel(rect.Left);
            FloatPointY = RoundToPixel(rect.Top);
        }
        if (paint && Scan::AttributeValue(tag, upper, L"BGCOLOR", value) && ReadColor(value, color)) {
            ParagraphBackground = true;
            if (upper.find(L"BGCOLORTO") == String::npos) {
                ParagraphFill = G->Fill()->Color();
                G->SetFillKind(AdvGraphicsTypes::gfkSolid);
                G->SetFillColor(color);
                G->SetStrokeKind(AdvGraphicsTypes::gskSolid);
                G->SetStrokeColor(color);
                if (!O.FindControl)
                    G->DrawRectangle(AdvTypes::RectF(Layout.Left, rect.Top, Layout.Right, rect.Bottom));
            } else {
                G->SetStrokeColor(color);
            }
        }
        break;
    case L'S':
        if (single) SetStyle(ClassLib::fsStrikeOut, true);
        else if (c1 == L'H') Shadow = true;
        else if (upper.rfind(L"<SUB>", 0) == 0) Sub = true;
        else if (upper.rfind(L"<SUP>", 0) == 0) Sup = true;
        break;
    case L'U':
        if (single) SetStyle(ClassLib::fsUnderline, true);
        else {
            ++ListLevel;
            lineEnd = true;
        }
        break;
    case L'Z': Hidden = true; break;
    default: break;
    }
}

void TEngine::Pass(bool paint, std::wstring_view& src, String& lineText, const TRectF& rect, TLine& line) {
    const float available = rect.Right - rect.Left - float(Offset);
    float pen = rect.Left + (paint ? float(Offset) : 0);
    float trailingBlank = 0;
    bool lineEnd = false;
    ListItemSeen = false;
    const float gh = LineHeight();
    while (!src.empty() && !lineEnd) {
        if (src[0] != L'<') {
            // Up to the next tag, or with wrapping through the first blank: one search for
            // whichever comes first, so a long text is not scanned again per word.
            const std::size_t stop = O.WordWrap ? src.find_first_of(L"< ") : src.find(L'<');
            const std::size_t end = stop == std::wstring_view::npos ? src.size() : src[stop] == L' ' ? stop + 1 : stop;
            const String markup(src.substr(0, end));
            String shown = ReplaceAll(markup, L"&nbsp;", L" ");
            shown = ReplaceAll(ReplaceAll(shown, L"&lt;", L"<"), L"&gt;", L">");
            // One measure for both: a long run costs as much for its height as for its width.
            const TRectF extent = Extent(shown);
            const float h = extent.Bottom - extent.Top;
            line.Height = std::max(line.Height, h);
            if (Hidden) {
                src.remove_prefix(end);
                continue;
            }
            if (Sub) line.SubExtra = std::max(line.SubExtra, h / 4);
            if (Sup) line.SupExtra = std::max(line.SupExtra, h / 4);
            const float w = extent.Right - extent.Left;
            line.Width += w;
            const bool fits = !O.WordWrap || paint || line.Width < available + 1 || w >= available;
            if (!fits) {
                line.Width -= w;
                break;
            }
            if (!shown.empty() && shown.back() == L' ') {
                const TRectF blank = Extent(L" ");
                trailingBlank = blank.Right - blank.Left;
            } else {
                trailingBlank = 0;
            }
            if (!paint) lineText += markup;
            src.remove_prefix(end);
            if (!paint) continue;
            if (InAnchor && pen <= float(O.X) && float(O.X) <= pen + w) {
                line.HitX = true;
                HitHref = Href;
            }
            if (!O.FindControl) {
                TRectF run = AdvTypes::RectF(pen, rect.Top, rect.Right, rect.Bottom - line.SubExtra);
                if (Sup) run.Bottom -= line.SupExtra;
                if (Sub) run.Bottom += line.SubExtra;
                run.Bottom -= line.TextBand;
                if (RunBackground != -1) {
                    G->SetFillKind(AdvGraphicsTypes::gfkSolid);
                    G->SetFillColor(RunBackground);
                    G->SetStrokeKind(AdvGraphicsTypes::gskSolid);
                    G->SetStrokeColor(RunBackground);
                    G->DrawRectangle(AdvTypes::RectF(pen, rect.Top, pen + w, rect.Top + gh));
                    RunBackground = -1;
                }
                if (Shadow && O.ShadowColor != -1) {
                    TRectF shadow = run;
                    shadow.Left += float(O.ShadowOffset);
                    shadow.Right += float(O.ShadowOffset);
                    shadow.Top += float(O.ShadowOffset);
                    shadow.Bottom += float(O.ShadowOffset);
                    G->SetFontColor(O.ShadowColor);
                    G->DrawText(shadow, shown);
                }
                G->SetFontColor(Cur->TextColor);
                G->DrawText(run, shown);
                if (ErrorLine) {
                    G->SetStrokeKind(AdvGraphicsTypes::gskSolid);
                    G->SetStrokeColor(255);
                    G->SetStrokeWidth(1);
                    const float y = run.Bottom - 1;
                    int x = AdvGraphics::RoundToPixel(pen);
                    int phase = x % 4 == 0 ? 2 : 0;
                    for (; float(x) < pen + w; x += 2) {
                        const int next = 2 - phase;
                        G->DrawLine(AdvTypes::PointF(float(x), y + float(phase)),
                                    AdvTypes::PointF(float(x + 2), y + float(next)));
                        phase = next;
                    }
                }
            }
            pen += w;
            continue;
        }
        const std::size_t close = src.find(L'>');
        if (close == std::wstring_view::npos) {  // an unfinished tag ends the text
            src = {};
            break;
        }
        const String tag(src.substr(0, close + 1));
        bool keep = true;
        Tag(paint, tag, rect, line, pen, lineEnd, keep);
        if (!keep) break;
        if (!paint) lineText += tag;
        src.remove_prefix(close + 1);
        trailingBlank = 0;
    }
    line.Width -= trailingBlank;
}

bool TEngine::Run(String text) {
    if (text.find(L'&') != String::npos) text = CollapseAmpersands(AdvUtils::TAdvUtils::UnFixMarkup(text, true, true));
    const std::size_t hash = text.find(L"<#");
    if (hash != String::npos) {
        text.erase(hash, 1);
        const std::size_t gt = text.find(L'>', hash);
        if (gt != String::npos) text.erase(gt, 1);
    }
    text = ReplaceAll(text, L"\r", L"<BR>");
    text.erase(std::remove(text.begin(), text.end(), L'\n'), text.end());

    MeasureState.TextColor = PaintState.TextColor = G->Font()->Color();
    TAdvGraphicsFont measureFont, paintFont;
    measureFont.Assign(G->Font());
    paintFont.Assign(G->Font());
    TRectF cur = Layout;
    bool hit = false;
    const auto trimmable = [](wchar_t c) { return c <= L' '; };
    std::wstring_view rest = text;
    while (!rest.empty()) {
        while (!rest.empty() && trimmable(rest.front())) rest.remove_prefix(1);
        while (!rest.empty() && trimmable(rest.back())) rest.remove_suffix(1);
        if (rest.empty()) break;
        G->SetFont(&measureFont);
        const float gh = LineHeight();
        TLine line;
        line.Height = gh;
        // Both passes of a line number anchors alike.
        const bool inAnchor = InAnchor;
        const String href = Href;
        const int anchors = AnchorCount, level = ListLevel, pictures = PictureCount;
        Sub = Sup = false;
        ParagraphFloatChanged = false;
        Cur = &MeasureState;
        String lineText;
        const std::size_t before = rest.size();
        Pass(false, rest, lineText, cur, line);
        if (rest.size() == before) {  // nothing fit: take one character so layout moves on
            lineText += rest.front();
            rest.remove_prefix(1);
        }
        measureFont.Assign(G->Font());
        ++R.LineCount;
        line.Height += float(O.LineSpacing);
        TRectF draw = cur;
        if (Align == 1 && cur.Right - line.Width > draw.Left) draw.Left = cur.Right - line.Width;
        if (Align == 2 && cur.Right - cur.Left - line.Width > 0) draw.Left += (cur.Right - cur.Left - line.Width) / 2;
        draw.Left += float(Indent);
        draw.Right += float(Indent);
        draw.Bottom = draw.Top + line.Height + line.SubExtra + line.SupExtra;
        if (line.Width + 2 > R.Width) R.Width = line.Width + 2;
        if (!O.MeasureOnly) {
            InAnchor = inAnchor;
            Href = href;
            AnchorCount = anchors;
            ListLevel = level;
            PictureCount = pictures;
            Sub = Sup = false;
            G->SetFont(&paintFont);
            Cur = &PaintState;
            if (ParagraphBackground && !O.FindControl) {
                G->SetFillKind(AdvGraphicsTypes::gfkNone);
                G->SetStrokeKind(AdvGraphicsTypes::gskSolid);
                G->SetStrokeColor(G->Fill()->Color());
                G->DrawRectangle(AdvTypes::RectF(Layout.Left, draw.Top, Layout.Right, draw.Top + line.Height));
                G->SetFillKind(AdvGraphicsTypes::gfkSolid);
            }
            TLine painted = line;
            painted.Width = 0;
            std::wstring_view again = lineText;
            String unused;
            Pass(true, again, unused, draw, painted);
            paintFont.Assign(G->Font());
            const float band = draw.Bottom - painted.TextBand;
            if (painted.HitX && float(O.Y) > band - gh && float(O.Y) < band) {
                hit = true;
                R.Anchor = HitHref;
            }
            if (painted.HitBox) hit = true;
            // A floating picture leaves its line only the text's height.
            if (painted.Floated) line.Height = painted.Height;
            // Lines beside a floating picture keep clear of it until one starts below it.
            cur.Left = Layout.Left + float(FloatLeft);
            cur.Right = Layout.Right - float(FloatRight);
            if (draw.Top > float(FloatBottom)) {
                FloatLeft = FloatRight = 0;
                cur.Left = Layout.Left;
                cur.Right = Layout.Right;
            }
        }
        if (ParagraphFloatChanged && ParagraphFloat != 0) {
            cur.Top = float(FloatPointY);
            cur.Left = std::max(cur.Left, float(FloatPointX));
            ParagraphFloat = 0;
            continue;
        }
        cur.Top += line.Height + line.SubExtra + line.SupExtra;
        R.Height += line.Height + line.SubExtra + line.SupExtra;
        if (!O.MeasureOnly && cur.Top + gh > cur.Bottom + 1) break;
    }
    if (R.Height == 0) R.Height = LineHeight();
    return hit;
}

}  // namespace

int MarkupInt(const String& value) {
    std::size_t i = 0;
    while (i < value.size() && value[i] == L' ') ++i;
    int base = 10;
    if (i < value.size() && value[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < value.size() && value[i] == L'0' && (value[i + 1] == L'x' || value[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    bool negative = false;
    if (base == 10 && i < value.size() && value[i] == L'-') {
        // A minus counts only when the whole value is a number.
        std::size_t j = i + 1;
        while (j < value.size() && std::iswdigit(value[j])) ++j;
        negative = j == value.size() && j > i + 1;
        if (negative) ++i;
    }
    long long result = 0;
    for (; i < value.size(); ++i) {
        const wchar_t c = value[i];
        int digit;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f') digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F') digit = c - L'A' + 10;
        else break;
        result = std::min(result * base + digit, MarkupIntLimit);
    }
    return int(negative ? -result : result);
}

bool DrawHTML(TAdvGraphics* graphics, const String& text, const TRectF& rect, const THTMLOptions& options,
              THTMLResult& result) {
    result.Width = result.Height = 0;
    result.LineCount = 0;
    const TStateGuard guard(graphics);
    TEngine engine(graphics, options, result, guard, rect);
    return engine.Run(text);
}

String HighlightHTML(const String& text, const String& hilight, const String& tag, bool doCase) {
    if (hilight.empty()) return text;
    // Characters outside tags, and where each sits in the markup.
    const auto visibleOf = [](const String& markup, std::vector<std::size_t>* at) {
        String visible;
        bool inTag = false;
        for (std::size_t i = 0; i < markup.size(); ++i) {
            if (inTag) {
                if (markup[i] == L'>') inTag = false;
            } else if (markup[i] == L'<') {
                inTag = true;
            } else {
                visible += markup[i];
                if (at) at->push_back(i);
            }
        }
        return visible;
    };
    String markup = text;
    String search = hilight;
    String visible = visibleOf(markup, nullptr);
    if (markup.find(hilight) != String::npos &&
        (visible.find(L'<') != String::npos || visible.find(L'>') != String::npos)) {
        visible = ReplaceAll(ReplaceAll(visible, L"<", L"&lt;"), L">", L"&gt;");
        search = ReplaceAll(ReplaceAll(search, L"<", L"&lt;"), L">", L"&gt;");
        markup = visible;
    }
    // The marks are tags, so they leave the visible text as it is: one search over it
    // finds every match, and the markup is copied once with the marks put in.
    std::vector<std::size_t> at;
    visible = visibleOf(markup, &at);
    const String hay = doCase ? visible : Scan::UpperCase(visible);
    const String needle = doCase ? search : Scan::UpperCase(search);
    const String open = L"<" + tag + L">", close = L"</" + tag + L">";
    String result;
    std::size_t copied = 0;  // a new mark never opens inside the previous one
    for (std::size_t p = hay.find(needle); p != String::npos; p = hay.find(needle, p + needle.size())) {
        // The opening marker before any tags right in front of the first character, the
        // closing one directly after the last.
        const std::size_t start = std::max(p == 0 ? 0 : at[p - 1] + 1, copied);
        const std::size_t end = at[p + needle.size() - 1] + 1;
        result.append(markup, copied, start - copied).append(open);
        result.append(markup, start, end - start).append(close);
        copied = end;
    }
    return result.append(markup, copied, String::npos);
}

}  // namespace AdvGraphicsHTMLEngine
