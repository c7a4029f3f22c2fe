#pragma once
// The canvas HTML engine: lays a short mini-HTML text (a caption, a panel text, a hint)
// out in a rectangle of a canvas, draws it, and answers how large it is, which anchor
// lies under a point and what it reads without its tags. One engine serves the shared
// unit and the status bar; the few rules where they differ are an option set.
#include <string>

#include "classlib/Colors.h"
#include "classlib/GdiObjects.h"
#include "classlib/Geometry.h"
#include "rendering/AdvHTMLPrepare.h"

namespace ClassLib {
class TCanvas;
class TCustomImageList;
}  // namespace ClassLib

// Named pictures and the picture cache of IMG sources; they belong to the picture unit.
namespace PictureContainer {
class THTMLPictureCache;
class TPictureContainer;
}  // namespace PictureContainer

namespace AdvHTML {

// Reading order of the text.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Where the shared engine and the status bar's engine differ.
struct THTMLOptions {
    bool EmojiTags;                 // references from U+1F004 on become emoji tags
    int EntityCount;                // rows of the named-entity table read
    bool ParagraphEndResetsAlign;   // "</P>" returns the next line to left alignment
    bool LineHeightPerLine;         // the LINE-HEIGHT factor returns to 1.0 after each line
};
constexpr THTMLOptions CanvasEngine{true, CanvasEntityCount, true, true};
constexpr THTMLOptions StatusBarEngine{false, StatusBarEntityCount, false, false};

// Bounds on numbers read from markup: beyond them GDI draws nothing useful.
constexpr int MaxFontPixels = 400;         // |font height| of FONT SIZE and STYLE (larger ones take GDI ages)
constexpr int MaxMarkupPixels = 32000;     // INDENT, tab and offset positions, image sizes
constexpr double MaxLineHeightFactor = 50.0;

// The call's inputs, in the order the engine has always taken them.
struct THTMLParams {
    ClassLib::TCanvas* Canvas = nullptr;     // its Font starts the text, its Brush colour is the background
    std::wstring S;
    ClassLib::TRect R;
    ClassLib::TCustomImageList* Images = nullptr;   // "IDX:n" sources
    int X = 0, Y = 0;                        // the test point
    int FocusLink = -1;                      // 0-based anchor drawn with a focus rectangle
    int HoverLink = -1;                      // 1-based anchor drawn hovered
    int ShadowOffset = 1;
    bool CheckOnly = false;                  // second pass finds hits and draws nothing
    // With CheckOnly: the layout ends at the first line below the test point; the hit is the
    // same, but the sizes and the anchor count cover only the lines laid out.
    bool StopBelowPoint = false;
    bool MeasureOnly = false;                // only the measuring pass runs
    bool Print = false;
    bool KeepColors = false;                 // colour markup is ignored
    bool BlinkOn = true;                     // <BLINK> text shows
    bool Hover = false;                      // only HoverLink's anchor is underlined
    bool WordWrap = true;
    bool FormScaled = false;
    double ResFactor = 1.0;
    ClassLib::TColor URLColor = ClassLib::clBlue;
    ClassLib::TColor HoverColor = ClassLib::clNone;
    ClassLib::TColor HoverFontColor = ClassLib::clNone;
    ClassLib::TColor ShadowColor = ClassLib::clGray;
    PictureContainer::THTMLPictureCache* ImageCache = nullptr;
    PictureContainer::TPictureContainer* Container = nullptr;
    int LineSpacing = 0;
    TBiDiMode BiDiMode = bdLeftToRight;
    ClassLib::TColor HiBkColor = ClassLib::clHighlight;
    ClassLib::TColor HiTextColor = ClassLib::clHighlightText;
    ClassLib::TFontStyles HiStyle;
    float DPIScale = -1;                     // -1: the canvas's resolution
};

struct THTMLResults {
    bool Hit = false;                        // the test point is on anchor text or an anchor's image
    std::wstring AnchorVal;                  // HREF at the test point (read it only with Hit)
    std::wstring StripVal;                   // the visible text without tags
    std::wstring FocusAnchor;                // TITLE at the test point; HREF of the focused anchor
    int XSize = 0;
    int YSize = 0;
    int HyperLinks = 0;
    int MouseLink = -1;                      // 1-based anchor at the test point, -1 none
    ClassLib::TRect HoverRect;
};

// Lays out and (unless MeasureOnly or CheckOnly) draws. The canvas's font, pen and brush
// are as they were when it returns; its background mode is left transparent.
bool DrawHTML(const THTMLParams& params, THTMLResults& results, const THTMLOptions& options = CanvasEngine);

// Fills `rect` with `steps` bands from one colour to the other; a frame follows unless
// frameColor is clNone.
void GradientFill(ClassLib::TCanvas* canvas, ClassLib::TColor fromColor, ClassLib::TColor toColor,
                  bool horizontal, const ClassLib::TRect& rect, int steps, ClassLib::TColor frameColor);

// Draws a colour emoji (a surrogate pair) at (x, y) unless measuring; gives the height of
// the canvas font, which is how far the pen moves.
int DrawEmojiText(ClassLib::TCanvas* canvas, int x, int y, bool measureOnly, const std::wstring& text, int fontSize);

// `s` with every match of `hiText` in its visible text (outside tags) wrapped in "<tag>" and
// "</tag>"; without `doCase` both sides are compared in the locale's upper case. Adjacent
// matches give "<tag>a</tag><tag>a</tag>". Unbalanced brackets never raise: positions stay
// inside the string.
std::wstring HighlightHTML(const std::wstring& s, const std::wstring& hiText, const std::wstring& tag, bool doCase);
// `s` without any "<tag>" or "</tag>", whatever their letter case.
std::wstring UnhighlightHTML(const std::wstring& s, const std::wstring& tag);

}  // namespace AdvHTML
