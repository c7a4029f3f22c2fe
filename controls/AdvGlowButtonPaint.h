#pragma once
// The glow button's face painter: two gradient halves, the outline of its place in a
// group, the focus frame, caption with notes, glyph and drop-down arrow. It keeps no state;
// every input comes in a TGlowFace, so it draws on any canvas, a memory one included.
#include <string>

#include "classlib/Geometry.h"
#include "graphics/AdvGDIP.h"
#include "controls/AdvGlowButtonAppearance.h"

namespace ClassLib {
class TBitmap;
class TCanvas;
class TCustomImageList;
class TFont;
class TStrings;
}

namespace AdvGlowButton {

enum TButtonLayout {
    blGlyphLeft, blGlyphTop, blGlyphRight, blGlyphBottom, blGlyphLeftAdjusted, blGlyphRightAdjusted,
    blGlyphTopAdjusted, blGlyphBottomAdjusted
};
enum TButtonPosition { bpStandalone, bpLeft, bpMiddle, bpRight };
enum TDropDownPosition { dpRight, dpBottom };
enum TDropDownDirection { ddDown, ddRight, ddUp };
using AdvGDIP::TAntiAlias;
using AdvGDIP::aaNone;
using AdvGDIP::aaClearType;
using AdvGDIP::aaAntiAlias;
using TTrimming = AdvGDIP::StringTrimming;

// A picture the painter can draw without knowing its kind (the control's pictures).
class IGlowPicture {
public:
    virtual bool Empty() const = 0;
    virtual ClassLib::TSize Size() const = 0;
    // Draws at (x, y), the source clamped to maxWidth x maxHeight when those are above 0.
    virtual void DrawAt(ClassLib::TCanvas* canvas, int x, int y, int maxWidth, int maxHeight) const = 0;
    virtual void DrawStretched(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect) const = 0;
protected:
    ~IGlowPicture() = default;
};

// Everything one face needs. Colours are those of the state being shown.
struct TGlowFace {
    TColor Color = 0xFFFFFF, ColorTo = 0xFFFFFF, ColorMirror = 0xC0C0C0, ColorMirrorTo = 0xFFFFFF;
    TColor BorderColor = 0xC0C0C0, BorderColorFocused = 0xE4AD89;
    TGDIPGradient Gradient = ggVertical, GradientMirror = ggVertical;
    std::wstring Caption;
    std::wstring WideCaption;            // used when Caption is empty
    bool DefaultCaptionDrawing = true;
    const ClassLib::TFont* Font = nullptr;  // colour already chosen for the state
    ClassLib::TCustomImageList* Images = nullptr;
    ClassLib::TCustomImageList* DisabledImages = nullptr;
    int ImageIndex = -1;
    bool ImageEnabled = true;
    TButtonLayout Layout = blGlyphLeft;
    bool DropDownButton = false;
    bool HotOrDown = false;
    bool Enabled = true;
    bool FocusFrame = false;
    TDropDownPosition DropDownPosition = dpRight;
    const IGlowPicture* Picture = nullptr;
    ClassLib::TSize PictureSize{0, 0};   // both above 0: a fixed picture size
    TAntiAlias AntiAlias = aaClearType;
    bool DefaultPicDrawing = true;
    ClassLib::TBitmap* Glyph = nullptr;
    int DropDownHover = 0;               // 0 not over, 1 over the drop-down part, 2 over the button part
    bool NoBackground = false;
    bool MouseEnter = false;
    TButtonPosition Position = bpStandalone;
    bool DropDownSplit = true;
    bool HasBorder = true;
    bool OverlappedText = false;
    bool WordWrap = true;
    bool CalcOnly = false;
    bool Rounded = true;
    TDropDownDirection DropDownDirection = ddDown;
    int Spacing = 2;
    TTrimming Trimming = AdvGDIP::StringTrimmingNone;
    const ClassLib::TStrings* Notes = nullptr;
    const ClassLib::TFont* NotesFont = nullptr;
    bool Down = false;
    bool DroppedDown = false;
    bool OnGlassQAT = false;
    int MarginHorz = 1, MarginVert = 1;
    bool NoBorderDefault = false;
    bool AlwaysShowAccel = false;
    bool HidePrefix = false;             // the window asks to hide accelerator underlines
    bool IsRotated = false;
    bool ParentIsQuickAccessToolBar = false;
    float Scale = 1.0f;                  // the form's DPI scale (arrows, fixed picture sizes)
    // The drop-down part in pixels. The button's press zone is this wide too, so the
    // painted part and the part that drops down are the same pixels.
    int DropDownPartWidth = 14;
    int MaxWidth = 0, MaxHeight = 0;     // the button's constraints, for measuring
};

// The face takes a look's colours, border and gradients.
void Take(TGlowFace& face, const TGlowLook& look);

// Whether a drop-down part shows its split line at rest too: the value the last button
// wrote through its DrawSplitLineAlways property holds for every button.
extern bool DrawSplitLineAlways;

// Paints the face on `canvas` in `rect`, or in a CalcOnly call only measures; gives the
// size the content (glyph, caption, notes) needs.
ClassLib::TSize DrawGlowButton(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, const TGlowFace& face);

// One half of a face: the rectangle filled with `a` (upper) or `b`, then, when neither is
// clNone, the glow over it: radial from the middle of the top (upper) or bottom edge, or
// linear from a to b.
void FillGlowHalf(AdvGDIP::TGPGraphics& graphics, const ClassLib::TRect& rect, TColor a, TColor b, TGDIPGradient kind,
                  bool upper);
// The glow halves of a hot split face: the button part's lower and upper halves, then the
// drop-down part's upper and lower ones (partSize wide on the right); a drop-down part at the
// bottom is one piece, in DropUpper, and DropLower stays empty.
struct TSplitHalves {
    ClassLib::TRect ButtonLower, ButtonUpper, DropUpper, DropLower;
};
TSplitHalves SplitHalves(const ClassLib::TRect& rect, int partSize, TDropDownPosition position);
// The outline of a rectangle with quarter arcs of diameter 2 x radius at its corners, as one
// closed figure of the path.
void AddRoundRectPath(AdvGDIP::TGPGraphicsPath& path, int x, int y, int width, int height, int radius);

// Colour arithmetic of the face and its fades.
TColor ShadeColor(TColor color, int percent);
TColor ShadeColorRGB(TColor color, int percentR, int percentG, int percentB);
// percent of color1 blended over color2; clNone on either side gives the other.
TColor BlendColor(TColor color1, TColor color2, int percent);
// limit when 0 < limit < size, else size.
int ClampSize(int limit, int size);
// A GDI gradient in `steps` bands, for the key-tip window.
void DrawGradient(ClassLib::TCanvas* canvas, TColor fromColor, TColor toColor, int steps, const ClassLib::TRect& rect,
                  bool horizontal);

}  // namespace AdvGlowButton
