#pragma once
// A toolbar button's window-free arithmetic: its automatic size, where its image and caption
// go for each glyph position (upright, or turned on a vertical toolbar), its drop-down zone
// and section, the chevron, the visual case it paints in, the grey of its disabled glyph,
// and the lines of a separator and of a container's frame. Numbers in, places out.
#include <array>
#include <cstdint>
#include <vector>

#include "classlib/Colors.h"
#include "classlib/EnumNames.h"
#include "classlib/Geometry.h"
#include "toolbars/AdvToolBarLayout.h"

namespace AdvToolBar {

enum TAdvButtonState : std::uint8_t { absUp, absDisabled, absDown, absDropDown, absExclusive };
enum TAdvToolButtonStyle : std::uint8_t { tasButton, tasCheck };
enum TRotateDirection : std::uint8_t { rdNormal, rdReverse };
enum TGlyphPosition : std::uint8_t { gpLeft, gpTop, gpRight, gpBottom };
enum TAdvSeparatorStyle : std::uint8_t { ssOffice2003, ssBlank };

}  // namespace AdvToolBar

template <> struct ClassLib::TEnumNames<AdvToolBar::TAdvButtonState> {
    static constexpr const wchar_t* TypeName = L"TAdvButtonState";
    static constexpr const wchar_t* Names[] = {L"absUp", L"absDisabled", L"absDown", L"absDropDown", L"absExclusive"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TAdvToolButtonStyle> {
    static constexpr const wchar_t* TypeName = L"TAdvToolButtonStyle";
    static constexpr const wchar_t* Names[] = {L"tasButton", L"tasCheck"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TRotateDirection> {
    static constexpr const wchar_t* TypeName = L"TRotateDirection";
    static constexpr const wchar_t* Names[] = {L"rdNormal", L"rdReverse"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TGlyphPosition> {
    static constexpr const wchar_t* TypeName = L"TGlyphPosition";
    static constexpr const wchar_t* Names[] = {L"gpLeft", L"gpTop", L"gpRight", L"gpBottom"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TAdvSeparatorStyle> {
    static constexpr const wchar_t* TypeName = L"TAdvSeparatorStyle";
    static constexpr const wchar_t* Names[] = {L"ssOffice2003", L"ssBlank"};
};

namespace AdvToolBar {

// Rounds to the nearest integer, halves to even (the rounding every scaled size uses).
int RoundEven(double value);

// ---- automatic size ----

struct TButtonSizeInput {
    int ImageWidth = 0, ImageHeight = 0;  // 0 x 0 without an image
    int TextWidth = 0;                    // the caption's width; 0 when no caption is shown
    int TextHeight = 0;                   // the height of "gh" in the measuring font
    TGlyphPosition GlyphPosition = gpLeft;
    bool Rotated = false;                 // upright on a vertical toolbar (CanRotate)
    int Offset = 4, Spacing = 4;          // before scaling
    float Scale = 1;                      // the button's own DPI scale
    float UnitScale = 1;                  // the toolbar unit's scale factor
    bool DropDownButton = false;
    int DropDownSectWidth = 12;
    bool OnQuickAccess = false;           // twice the margin along the length
};

// Upright: Width x Height of the button. Rotated: Width is the thickness across the
// toolbar, Height the length along it.
struct TButtonExtent {
    int Width = 0;
    int Height = 0;
};

TButtonExtent ButtonExtent(const TButtonSizeInput& input);

// What the toolbar under an upright (or rotating) button asks of its height.
struct TButtonToolBarFit {
    bool Floating = false;
    int SizeAtDock = 26;
    int ToolBarHeight = 26;
    int CaptionHeight = 0;           // the caption strip when the toolbar shows one
    bool CaptionCounts = false;      // shows its caption in a dock panel, or elsewhere with a captioned button
    bool CanRotate = true;
    bool Horizontal = true;
};

// The height raised to fill the toolbar's row (less its 2-pixel margins).
int FitButtonHeight(int height, const TButtonToolBarFit& fit);

// ---- image and caption ----

enum TCaptionFormatFlag : unsigned {
    cfSingleLine = 1u << 0,
    cfCenter = 1u << 1,
    cfVCenter = 1u << 2,
    cfRight = 1u << 3,
    cfBottom = 1u << 4,
    cfEndEllipsis = 1u << 5,
};

struct TGlyphCaptionInput {
    ClassLib::TRect Rect;            // the content rectangle (the button less its drop-down section)
    int ButtonHeight = 0;
    bool HasImage = false;
    int ImageWidth = 0, ImageHeight = 0;
    bool HasText = false;            // a caption is shown
    int TextWidth = 0, TextHeight = 0;
    int Spacing = 4;
    TGlyphPosition GlyphPosition = gpLeft;
    bool Rotated = false;
    bool AutoSize = true;            // off: what does not fit is cut with an ellipsis
    bool FixedPosition = false;      // the button's DrawPosition is enabled
    int FixedImageX = 0, FixedImageY = 0, FixedTextX = 0, FixedTextY = 0;
    int ButtonWidth = 0;             // for the fixed caption rectangle
};

struct TGlyphCaptionPlace {
    ClassLib::TPoint Image;          // top-left of the image
    ClassLib::TRect TextRect;        // upright: where DrawText lays the caption out
    ClassLib::TPoint TextOrigin;     // rotated: where the turned caption starts (rdNormal)
    unsigned Format = cfSingleLine;  // TCaptionFormatFlag bits
};

TGlyphCaptionPlace PlaceGlyphAndCaption(const TGlyphCaptionInput& input);

// The start of a turned caption that reads bottom to top instead.
ClassLib::TPoint ReverseTextOrigin(const TGlyphCaptionPlace& place, int textWidth, int textHeight);

// ---- drop-down ----

// A press at (x, y) falls in the drop-down zone: the right 14 pixels (scaled), or the bottom
// ones on a rotated button.
bool InDropDownZone(int x, int y, int width, int height, bool rotated, float unitScale);

// The drop-down section of the full rectangle: the right strip, or the bottom strip.
ClassLib::TRect DropDownSection(const ClassLib::TRect& full, int sectionWidth, bool bottomStrip);
// The full rectangle less the section, for a drop-down button.
ClassLib::TRect ContentRect(const ClassLib::TRect& full, const ClassLib::TRect& section, bool dropDown,
                            bool bottomStrip);

// The chevron's three points around (cx, cy) at the unit scale.
std::array<ClassLib::TPoint, 3> ChevronPoints(int cx, int cy, float unitScale);

// ---- visual case ----

enum class TButtonCase { DropDown, Pressed, Checked, Hot, Normal, Disabled };

TButtonCase ButtonCase(TAdvButtonState state, bool enabled, bool hot, bool mouseDown, TAdvToolButtonStyle style);

// The grey of a disabled glyph's pixel (an RGB colour): half the channels' mean plus 96.
ClassLib::TColor DisabledGrey(ClassLib::TColor rgb);

// ---- separator and container lines ----

struct TLineSegment {
    ClassLib::TPoint From, To;  // the end point is not painted (MoveTo/LineTo)
    bool White = false;         // the highlight; otherwise the line colour
};

// The dark line and its white twin in the middle of the separator's rectangle.
std::array<TLineSegment, 2> SeparatorLines(const ClassLib::TRect& rect, bool vertical);

// The container's frame: the top line with a gap for the caption (captionRight < 0: no
// caption), the flat frame, and with line3D the white twins one pixel further in.
std::vector<TLineSegment> ContainerFrameLines(const ClassLib::TRect& rect, int margin, int captionRight, bool line3D);

}  // namespace AdvToolBar
