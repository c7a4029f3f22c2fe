#pragma once
// Lays out and paints mini-HTML markup on the vector drawing object: every line is
// measured first, then painted at its aligned place, and the same call reports which
// anchor or inline control lies under a test point.
#include <string>

#include "classlib/GdiObjects.h"
#include "graphics/AdvTypes.h"

namespace AdvGraphics {
class TAdvGraphics;
}
namespace ClassLib {
class TCustomImageList;
}
namespace PictureContainer {
class TPictureContainer;
}

namespace AdvGraphicsHTMLEngine {

using AdvTypes::TRectF;
using ClassLib::TColor;

// What the caller asks of one call.
struct THTMLOptions {
    int X = 0;  // test point
    int Y = 0;
    int HoverAnchor = -1;  // 1-based
    int ShadowOffset = 0;
    bool FindControl = false;  // hit testing only, nothing painted
    bool MeasureOnly = false;
    bool KeepColors = false;
    bool BlinkOn = false;
    bool HoverStyle = false;
    bool WordWrap = false;
    int LineSpacing = 0;
    TColor URLColor = ClassLib::clBlue;
    TColor HoverColor = -1;
    TColor HoverFontColor = -1;
    TColor ShadowColor = -1;
    bool URLUnderline = true;
    TColor HighlightColor = ClassLib::clBlue;
    TColor HighlightTextColor = ClassLib::clWhite;
    ClassLib::TFontStyles HighlightStyle;
    PictureContainer::TPictureContainer* PictureContainer = nullptr;  // named pictures; not owned
    ClassLib::TCustomImageList* Images = nullptr;                      // "IDX:" pictures; not owned
    bool NoImageListDraw = false;  // image-list pictures take their room but are not drawn
    double Scale = 1.0;            // of check-box and radio-button sizes
    bool HasFocusedControl = false;
    std::wstring FocusedControlID;
    std::wstring FindControlID;  // with FindControl: the inline control reported
};

// What one call found.
struct THTMLResult {
    std::wstring Anchor;  // href under the test point; kept as passed unless hit
    float Width = 0;      // widest line + 2
    float Height = 0;     // sum of the line heights
    int LineCount = 0;
    // The inline control under the test point (or the one found by FindControlID).
    std::wstring ControlID;
    std::wstring ControlValue;
    std::wstring ControlType;  // upper case
};

// True when the test point lies on an anchor's text, on a picture inside an anchor or on
// an inline control; Anchor is then the href, or "ctrl" for a control. Font, fill and stroke of the
// drawing object are what they were on entry when this returns.
bool DrawHTML(AdvGraphics::TAdvGraphics* graphics, const std::wstring& text, const TRectF& rect,
              const THTMLOptions& options, THTMLResult& result);

// The markup with every occurrence of `hilight` in its visible text wrapped in <tag>
// ... </tag>; the search resumes right after a match.
std::wstring HighlightHTML(const std::wstring& text, const std::wstring& hilight, const std::wstring& tag,
                           bool doCase);

// Integers read from markup: leading digits (or "$"/"0x" hex), saturated so that no
// value from markup overflows the layout arithmetic.
int MarkupInt(const std::wstring& value);

}  // namespace AdvGraphicsHTMLEngine
