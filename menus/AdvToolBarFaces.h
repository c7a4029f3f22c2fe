#pragma once
// The glow faces of the toolbars' own surfaces (tabs, groups, pages, captions, buttons, the
// pager's scroll and customize buttons): the two-part glow face with caption and image, the
// half-face glow, the GDI two-part gradient, the pager's complete button face with its
// outlines and arrow, and the clearing of a glow-button appearance. Every size is in device
// pixels as written; nothing here is scaled. Positions count from the face rectangle's top
// left, wherever the rectangle lies on the canvas.
#include <windows.h>

#include <string>

#include "classlib/Geometry.h"
#include "controls/AdvGlowButtonAppearance.h"
#include "controls/AdvGlowButtonPaint.h"
#include "graphics/AdvGDIP.h"

namespace ClassLib {
class TBitmap;
class TCanvas;
class TCustomImageList;
class TFont;
}

namespace GDIPicture {
class TGDIPPicture;
}

namespace AdvToolBar {

using AdvGlowButton::TButtonLayout;
using AdvGlowButton::TButtonPosition;
using AdvGlowButton::TDropDownPosition;
using AdvGlowButton::TGDIPGradient;
using AdvGlowButton::TGlowButtonAppearance;
using AdvGlowButton::TGlowLook;
using ClassLib::TColor;

// What DrawGlowButtonFace paints: colours of the state shown, caption, image and drop-down part.
struct TGlowButtonFace {
    TGlowLook Look{0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF, 0xC0C0C0, AdvGlowButton::ggVertical,
                   AdvGlowButton::ggVertical};
    std::wstring Caption;
    const ClassLib::TFont* Font = nullptr;  // needed with a caption
    ClassLib::TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    bool ImageEnabled = true;
    int GlyphPosition = 0;  // 0 left, 1 top, 2 right, 3 bottom of the caption
    bool DropDownButton = false;
    bool DropDownSplit = false;
    bool Enabled = true;
    bool Focused = false;
    TDropDownPosition DropDownPosition = AdvGlowButton::dpRight;
    GDIPicture::TGDIPPicture* Picture = nullptr;
    AdvGDIP::TAntiAlias AntiAlias = AdvGDIP::aaClearType;
    bool Rounded = true;
};

// Two glow halves split at half the height (the lower runs ColorMirror at its top to
// ColorMirrorTo), outline, focus frame, caption with image and a 14-pixel drop-down part. With
// ColorTo and ColorMirror both clNone only a flat face one pixel left of the rectangle and its
// outline are painted.
void DrawGlowButtonFace(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, const TGlowButtonFace& face);
// The face without image or drop-down part.
void DrawGlowRect(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, const TGlowLook& look,
                  const std::wstring& caption, const ClassLib::TFont* font, bool enabled, bool focused,
                  AdvGDIP::TAntiAlias antiAlias, bool rounded);

// One glow half: the rectangle filled with a (upper) or b, then, unless either is clNone, the
// glow of `kind` from a to b.
inline void FillGlow(AdvGDIP::TGPGraphics& graphics, const ClassLib::TRect& rect, TColor a, TColor b,
                     TGDIPGradient kind, bool upper) {
    AdvGlowButton::FillGlowHalf(graphics, rect, a, b, kind, upper);
}
// The upper glow half from colorFrom to colorTo, top to bottom, on the graphics or, without
// one, on an anti-aliased graphics of the canvas.
void DrawButtonGlow(AdvGDIP::TGPGraphics* graphics, ClassLib::TCanvas* canvas, TColor colorFrom, TColor colorTo,
                    const ClassLib::TRect& rect);
// GDI gradients of 40 bands: Color to ColorTo over the top upperHeight + 1 rows, ColorMirror to
// ColorMirrorTo below; a half whose second colour is clNone is flat, and without mirror colours
// the upper half is the whole rectangle. An anti-aliased outline unless borderColor is clNone,
// rounded when radius > 0.
void DrawVistaGradient(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, int upperHeight, TColor color,
                       TColor colorTo, TColor colorMirror, TColor colorMirrorTo, TColor borderColor, int radius);

// What DrawVistaButton paints or measures.
struct TVistaButtonFace {
    TGlowLook Look{0xFFFFFF, 0xFFFFFF, 0xC0C0C0, 0xFFFFFF, 0xC0C0C0, AdvGlowButton::ggVertical,
                   AdvGlowButton::ggVertical};
    std::wstring Caption;
    std::wstring WideCaption;  // used when Caption is empty
    bool DefaultCaptionDrawing = true;
    const ClassLib::TFont* Font = nullptr;  // needed with a caption or when measuring
    ClassLib::TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    bool ImageEnabled = true;
    TButtonLayout Layout = AdvGlowButton::blGlyphLeft;
    bool DropDownButton = false;
    bool DropDownSplit = false;
    bool Enabled = true;
    bool FocusFrame = false;
    TDropDownPosition DropDownPosition = AdvGlowButton::dpRight;
    GDIPicture::TGDIPPicture* Picture = nullptr;
    AdvGDIP::TAntiAlias AntiAlias = AdvGDIP::aaClearType;
    bool DefaultPicDrawing = true;
    ClassLib::TBitmap* Glyph = nullptr;
    int DropDownHover = 0;  // 0 not over, 1 over the drop-down part, 2 over the button part
    bool NoBackground = false;
    bool Hot = false;       // the mouse is over the button or it is down: a grouped button's left line
    TButtonPosition Position = AdvGlowButton::bpStandalone;
    bool HotOrDown = false;  // the colours are a hot or down set
    bool HasBorder = true;
    bool OverlappedText = false;
    bool WordWrap = true;
    bool CalcOnly = false;  // measure only: no caption, image or arrow
    bool Rounded = true;
    bool ArrowDown = true;
    int Spacing = 2;
    AdvGDIP::StringTrimming Trimming = AdvGDIP::StringTrimmingNone;
};

// The pager's complete button face: glow halves (split into a button and a 12-pixel drop-down
// part while hot), outline by position, focus frame, caption, glyph, picture or image and the
// drop-down arrow in a 14-pixel part. Gives the size the content needs.
ClassLib::TSize DrawVistaButton(ClassLib::TCanvas* canvas, const ClassLib::TRect& rect, const TVistaButtonFace& face);

// Outlines of the pager's buttons, radius 0 included, always as paths; the grouped ones
// draw the separators at full length.
void DrawRoundRect(AdvGDIP::TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius);
void DrawFocusRect(AdvGDIP::TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius);
void DrawLeftBorder(AdvGDIP::TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius);
void DrawMiddleBorder(AdvGDIP::TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius,
                      bool hot);
void DrawRightBorder(AdvGDIP::TGPGraphics& graphics, TColor color, int x, int y, int width, int height, int radius,
                     bool hot);
// A 5-pixel arrow at p pointing down (or right) in `color`, with five shadow pixels below (or
// right of) its edges.
void DrawVistaArrow(ClassLib::TCanvas* canvas, ClassLib::TPoint p, TColor color, bool down, TColor shadowColor);

// Sets the 17 fill and border colours of the normal, hot, down, mirror and disabled looks to
// clNone through the setters; checked, the disabled mirror, the other borders and the text
// colours stay. Null is ignored.
void ClearGlowButtonAppearance(TGlowButtonAppearance* appearance);

}  // namespace AdvToolBar
