// The office styler's presets: one table with a row per preset. A classic preset sets
// every look from its row; a tone-based one sets a few values, hands a set of colour
// tones to the first attached pager and copies back the looks the pager made of them.
//
// Where the rows come from: the toolbar and dock gradients and the drag grip are each
// preset's telling values, and bsOffice2019White is complete. The glow faces (normal,
// hot, down, checked) are the glow button's presets of the same look; the outline is
// the status bar preset's border of the same look, its text colour the status bar's
// text. Every other value is made from those in ApplyClassic and ApplyTones below.
#include "menus/AdvToolBarStylers.h"

#include "classlib/GdiObjects.h"
#include "classlib/UpdateScope.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvToolBarPagerSettings.h"

namespace AdvToolBarStylers {

using namespace ClassLib;
using namespace AdvStyleIF;
using namespace AdvToolBar;
using AdvGlowButton::TGlowButtonAppearance;
using AdvGlowButton::ggVertical;

namespace {

constexpr TColor Keep = 0x7FFFFFFF;   // a value the row does not set
constexpr int KeepGrip = -1;

// One face of a glow button or a hot, down or checked look: upper gradient, mirrored
// lower gradient, border.
struct TLook {
    TColor Color, ColorTo, Mirror, MirrorTo, Border;
};
constexpr TLook Flat(TColor colour, TColor border) { return {colour, colour, colour, colour, border}; }
constexpr TLook Flat(TColor colour) { return Flat(colour, colour); }
constexpr TLook FlatNone(TColor colour, TColor border) { return {colour, clNone, colour, clNone, border}; }

// The orange states of the Office 2003 looks (and the glow button's Office 2007 ones).
constexpr TLook Orange2003Hot{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB};
constexpr TLook Orange2003Down{0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B};
constexpr TLook Orange2003Checked{0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE, 0x45667B};
constexpr TLook Office2010Hot{0xDCFFFF, 0x5BC0F7, 0x5BC0F7, 0xDCFFFF, 0x6CCDFA};
constexpr TLook Office2010Down = Flat(0x5FC0FF, 0x308AC2);
constexpr TLook Office2010Checked{0x9BE8FF, 0x59C9FE, 0x59C9FE, 0x9BE8FF, 0x308AC2};
constexpr TLook Office2013Hot = FlatNone(0xFCF0E4, 0xEAB47E);
constexpr TLook Office2013Down = FlatNone(0xFCE1CA, 0xE59D56);
constexpr TLook Office2016Hot = FlatNone(0xF2E1D5, 0xF2E1D5);
constexpr TLook Office2016Down = FlatNone(0xE3BDA3, 0xE3BDA3);
constexpr TLook Office2016Checked = FlatNone(0xF2D5C2, 0xF2D5C2);
constexpr TLook Windows8Hot = FlatNone(0xF7EFE8, 0xF9CEA4);
constexpr TLook Windows8Down = FlatNone(0xF7E0C9, 0xE4A262);
constexpr TLook Windows8Checked = FlatNone(0xF9CEA4, 0xE4A262);

enum class TFamily { Classic, Windows8, Office2013, Office2016, Office2019 };

struct TPreset {
    TToolBarStyle Style;
    TFamily Family;
    // Telling values: the toolbar gradient (vertical), the dock gradient (horizontal) and
    // the drag grip (KeepGrip: left as it is).
    TColor Toolbar, ToolbarTo, Dock, DockTo;
    int Grip;
    // The glow button's faces of the same look. The Office 2003 presets take the orange
    // states in the common part, and the Office 2013 ones take theirs from AppColor.
    TLook Glow, Hot, Down, Checked;
    // The status bar's outline and text of the same look.
    TColor Edge, Text;

    // Classic presets only.
    bool OrangeStates = false;    // hot, down and checked are set in the common part
    bool UpdatesQat = false;
    bool KeepHandleDown = false;  // the down handle colours stay
    bool System = false;          // system colours, square edges, a raised bevel
    TColor FlatToolbar = Keep;    // the flat variant's toolbar colour
    TColor SysButton = Keep;
    bool SharpQatCurve = false;

    // Tone-based presets only.
    int DockSteps = 1, ToolbarSteps = 64;
    TColor NoPager = Keep;        // the toolbar and dock colour when no pager makes one
    TColor TabHover = Keep;       // the hot tab's brush in the tab tones
    TColor AppText = Keep;        // AppColor's text colour once the tones are made
    TColor CaptionText = Keep, CaptionTextHot = Keep;   // after the copy-back
    TColor GlowTextChecked = Keep;
    TColor TabTextHot = Keep, TabTextSelected = Keep;
    TColor PagerCaptionExtended = Keep;
    bool DefaultAppColor = false; // a white or empty application colour takes the default blue
};

using enum TFamily;

const TPreset Presets[] = {
    {.Style = bsOffice2003Blue, .Family = Classic, .Toolbar = 0xFDEADA, .ToolbarTo = 0xE4AE88, .Dock = 0xF5BFA0,
     .DockTo = 0xFADAC4, .Grip = dsDots, .Glow = {0xFCE1CB, 0xE0A57D, 0xE0A57D, 0xFCE1CB, 0xC9662A},
     .Hot = Orange2003Hot, .Down = Orange2003Down, .Checked = Orange2003Checked, .Edge = 0xE4AE88, .Text = clBlack,
     .OrangeStates = true, .UpdatesQat = true},
    {.Style = bsOffice2003Silver, .Family = Classic, .Toolbar = 0xECE2E1, .ToolbarTo = 0xB39698, .Dock = 0xE6D8D8,
     .DockTo = 0xF7F3F3, .Grip = dsDots, .Glow = {0xECE2E1, 0xB39698, 0xB39698, 0xECE2E1, 0x947C7C},
     .Hot = Orange2003Hot, .Down = Orange2003Down, .Checked = Orange2003Checked, .Edge = 0x947C7C, .Text = clBlack,
     .OrangeStates = true, .UpdatesQat = true, .KeepHandleDown = true},
    {.Style = bsOffice2003Olive, .Family = Classic, .Toolbar = 0xCFF0EA, .ToolbarTo = 0x8CC0B1, .Dock = 0xAADADA,
     .DockTo = 0xE4F1F2, .Grip = dsDots, .Glow = {0xCFF0EA, 0x8CC0B1, 0x8CC0B1, 0xCFF0EA, 0x588060},
     .Hot = Orange2003Hot, .Down = Orange2003Down, .Checked = Orange2003Checked, .Edge = 0x588060, .Text = clBlack,
     .OrangeStates = true, .UpdatesQat = true, .KeepHandleDown = true},
    {.Style = bsOffice2003Classic, .Family = Classic, .Toolbar = 0xFFFFFF, .ToolbarTo = 0xC9D1D5, .Dock = 0xD2BDB6,
     .DockTo = 0xD2BDB6, .Grip = dsDots, .Glow = {0xFFFFFF, 0xC9D1D5, 0xC9D1D5, 0xFFFFFF, 0x808080},
     .Hot = Flat(0xD2BDB6, 0x808080), .Down = Flat(0xB59285, 0x733800), .Checked = Flat(0xD8D5D4, 0x808080),
     .Edge = 0x808080, .Text = clBlack},
    {.Style = bsOffice2007Luna, .Family = Classic, .Toolbar = 0xEDD8C7, .ToolbarTo = 0xF6E9D9, .Dock = 0xEDD8C7,
     .DockTo = 0xFAF1E9, .Grip = dsNone, .Glow = {0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B},
     .Hot = Orange2003Hot, .Down = Orange2003Down, .Checked = Orange2003Checked, .Edge = 0xD1A688, .Text = 0x8B4215,
     .UpdatesQat = true, .SysButton = 0xB99A82},
    {.Style = bsOffice2007Obsidian, .Family = Classic, .Toolbar = 0xC5BBB4, .ToolbarTo = 0xECECE5, .Dock = 0xCFC6C1,
     .DockTo = 0xC5BBB4, .Grip = dsNone, .Glow = {0xDFDED6, 0xE4E2DB, 0xD7D5CE, 0xE7E5E0, 0xC0BCB2},
     .Hot = Orange2003Hot, .Down = Orange2003Down, .Checked = Orange2003Checked, .Edge = 0x5C534C, .Text = clBlack,
     .UpdatesQat = true, .SysButton = 0xB3A69C, .SharpQatCurve = true},
    {.Style = bsWindowsXP, .Family = Classic, .Toolbar = clBtnFace, .ToolbarTo = clBtnFace, .Dock = clBtnFace,
     .DockTo = clBtnFace, .Grip = dsSingleLine, .Glow = {0xF9F9F9, 0xE4E4E4, 0xE4E4E4, 0xF9F9F9, 0xA0A0A0},
     .Hot = {0xF2E3DA, 0xE8C8B6, 0xE8C8B6, 0xF2E3DA, clHighlight}, .Down = Flat(0xE0B89F, clHighlight),
     .Checked = Flat(0xE6CDBE, 0x808080), .Edge = clBtnShadow, .Text = clBtnText, .UpdatesQat = true, .System = true},
    {.Style = bsWhidbeyStyle, .Family = Classic, .Toolbar = 0xF5F9FA, .ToolbarTo = 0xA8C0C0, .Dock = 0xD7E5E5,
     .DockTo = 0xE7F2F3, .Grip = dsDots, .Glow = {0xF5F9FA, 0xA8C0C0, 0xA8C0C0, 0xF5F9FA, 0x962D00},
     .Hot = Orange2003Hot, .Down = Orange2003Down, .Checked = Orange2003Checked, .Edge = 0x99A8AC, .Text = clBlack,
     .OrangeStates = true, .UpdatesQat = true},
    {.Style = bsOffice2007Silver, .Family = Classic, .Toolbar = 0xE7DCD5, .ToolbarTo = 0xF4F4EE, .Dock = 0xE5D7D7,
     .DockTo = 0xF7F3F3, .Grip = dsNone, .Glow = {0xF3F3F1, 0xF5F5F3, 0xEEEAE7, 0xF8F7F6, 0xCCCAC9},
     .Hot = Orange2003Hot, .Down = Orange2003Down, .Checked = Orange2003Checked, .Edge = 0x74706F, .Text = clBlack,
     .UpdatesQat = true, .SysButton = 0xA59180},
    {.Style = bsOfficeXP, .Family = Classic, .Toolbar = clBtnFace, .ToolbarTo = clBtnFace, .Dock = clBtnFace,
     .DockTo = clBtnFace, .Grip = dsSingleLine, .Glow = {0xF9F9F9, 0xE4E4E4, 0xE4E4E4, 0xF9F9F9, 0xA0A0A0},
     .Hot = {0xF2E3DA, 0xE8C8B6, 0xE8C8B6, 0xF2E3DA, clHighlight}, .Down = Flat(0xE0B89F, clHighlight),
     .Checked = Flat(0xE6CDBE, 0x808080), .Edge = clBtnShadow, .Text = clBtnText, .UpdatesQat = true, .System = true},
    {.Style = bsWindowsVista, .Family = Classic, .Toolbar = 0xFDF8F1, .ToolbarTo = 0xFCEFD5, .Dock = 0xFCEFD5,
     .DockTo = 0xFCEFD5, .Grip = dsDots, .Glow = {0xFDF8F1, 0xFCEFD5, 0xFDEADA, 0xFDF8F1, 0xFDDE99},
     .Hot = {0xFFFDF9, 0xFFFAF0, 0xFEF0D0, 0xFFF7E6, 0xFCCA6A}, .Down = {0xFEF4E4, 0xFEE2B6, 0xFEDB9B, 0xFEF1DB, 0xCEA05C},
     .Checked = {0xFEF4E4, 0xFEE2B6, 0xFEDB9B, 0xFEF1DB, 0xCEA05C}, .Edge = 0xD9C4B1, .Text = clBlack,
     .UpdatesQat = true},
    {.Style = bsWindows7, .Family = Classic, .Toolbar = 0xFCEBDC, .ToolbarTo = 0xFCDBC1, .Dock = 0xFDFBFA,
     .DockTo = 0xF0E5DC, .Grip = dsDots, .Glow = {0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCEBDC, 0xCEA27D},
     .Hot = {0xFDFBFA, 0xFDF3EB, 0xFBEADB, 0xFDF1E7, 0xE8B385}, .Down = {0xFCE6D4, 0xF7D7BA, 0xF1C9A6, 0xF9E1CB, 0xC28F5B},
     .Checked = {0xFCE6D4, 0xF7D7BA, 0xF1C9A6, 0xF9E1CB, 0xC28F5B}, .Edge = 0xD8C8BA, .Text = clBlack,
     .FlatToolbar = 0xDBC9BA},
    {.Style = bsTerminal, .Family = Classic, .Toolbar = clBtnFace, .ToolbarTo = clBtnFace, .Dock = clBtnFace,
     .DockTo = clBtnFace, .Grip = dsDots, .Glow = Flat(clBtnFace, 0x808080), .Hot = Flat(0xC0C0C0, clGray),
     .Down = Flat(clHighlight, clGray), .Checked = Flat(0x808080, clGray), .Edge = 0x808080, .Text = clBlack},
    {.Style = bsOffice2010Blue, .Family = Classic, .Toolbar = 0xFDF6EF, .ToolbarTo = 0xF0DAC7, .Dock = 0xF0DAC7,
     .DockTo = 0xFDF6EF, .Grip = dsDots, .Glow = {0xFDF6EF, 0xF0DAC7, 0xF0DAC7, 0xFDF6EF, 0xC7B29F},
     .Hot = Office2010Hot, .Down = Office2010Down, .Checked = Office2010Checked, .Edge = 0xA78F79, .Text = 0x73391F},
    {.Style = bsOffice2010Silver, .Family = Classic, .Toolbar = 0xFFFFFF, .ToolbarTo = 0xEDE5E0, .Dock = 0xEDE5E0,
     .DockTo = 0xFFFFFF, .Grip = dsDots, .Glow = {0xFFFFFF, 0xEDE5E0, 0xEDE5E0, 0xFFFFFF, 0xD2CDC8},
     .Hot = Office2010Hot, .Down = Office2010Down, .Checked = Office2010Checked, .Edge = 0xA39A93, .Text = clBlack},
    {.Style = bsOffice2010Black, .Family = Classic, .Toolbar = 0xBFBFBF, .ToolbarTo = 0x919191, .Dock = 0x919191,
     .DockTo = 0xBFBFBF, .Grip = dsDots, .Glow = {0xBFBFBF, 0x919191, 0x919191, 0xBFBFBF, 0x6D6D6D},
     .Hot = Office2010Hot, .Down = Office2010Down, .Checked = Office2010Checked, .Edge = 0x2C2C2C, .Text = clBlack},

    {.Style = bsWindows8, .Family = Windows8, .Toolbar = 0xF7F6F5, .ToolbarTo = 0xF7F6F5, .Dock = 0xF7F6F5,
     .DockTo = 0xF7F6F5, .Grip = KeepGrip, .Glow = FlatNone(0xF7F6F5, 0xE4E3E2), .Hot = Windows8Hot,
     .Down = Windows8Down, .Checked = Windows8Checked, .Edge = 0xDCDBDA, .Text = clBlack, .TabHover = 0xF7EFE8,
     .CaptionText = clBlack, .CaptionTextHot = clBlack},
    {.Style = bsWindows10, .Family = Windows8, .Toolbar = 0xF7F6F5, .ToolbarTo = 0xF7F6F5, .Dock = 0xF7F6F5,
     .DockTo = 0xF7F6F5, .Grip = KeepGrip, .Glow = FlatNone(0xF7F6F5, 0xE4E3E2), .Hot = Windows8Hot,
     .Down = Windows8Down, .Checked = Windows8Checked, .Edge = 0xDCDBDA, .Text = clBlack, .TabHover = 0xF7EFE8,
     .CaptionText = clBlack, .CaptionTextHot = clBlack},
    {.Style = bsOffice2013White, .Family = Office2013, .Toolbar = 0xFFFFFF, .ToolbarTo = 0xFFFFFF, .Dock = 0xFFFFFF,
     .DockTo = 0xFFFFFF, .Grip = KeepGrip, .Glow = FlatNone(0xFFFFFF, 0xD4D4D4), .Hot = Office2013Hot,
     .Down = Office2013Down, .Checked = Office2013Down, .Edge = 0xDCDBDA, .Text = 0x444444, .NoPager = 0xFFFFFF,
     .TabHover = 0xFCF0E4, .CaptionText = 0x444444, .CaptionTextHot = 0x444444},
    {.Style = bsOffice2013LightGray, .Family = Office2013, .Toolbar = 0xFAFAFA, .ToolbarTo = 0xFAFAFA,
     .Dock = 0xFAFAFA, .DockTo = 0xFAFAFA, .Grip = KeepGrip, .Glow = FlatNone(0xFAFAFA, 0xC6C6C6),
     .Hot = Office2013Hot, .Down = Office2013Down, .Checked = Office2013Down, .Edge = 0xC6C6C6, .Text = 0x444444,
     .NoPager = 0xFAFAFA, .TabHover = 0xFCF0E4, .CaptionText = 0x444444, .CaptionTextHot = 0x444444},
    {.Style = bsOffice2013Gray, .Family = Office2013, .Toolbar = 0xF3F3F3, .ToolbarTo = 0xF3F3F3, .Dock = 0xF3F3F3,
     .DockTo = 0xF3F3F3, .Grip = KeepGrip, .Glow = FlatNone(0xF3F3F3, 0xABABAB), .Hot = Office2013Hot,
     .Down = Office2013Down, .Checked = Office2013Down, .Edge = 0xABABAB, .Text = 0x444444, .NoPager = 0xC0C0C0,
     .TabHover = 0xFCF0E4, .CaptionText = 0x444444, .CaptionTextHot = 0x444444},
    {.Style = bsOffice2016White, .Family = Office2016, .Toolbar = 0xFFFFFF, .ToolbarTo = 0xFFFFFF, .Dock = 0xFFFFFF,
     .DockTo = 0xFFFFFF, .Grip = KeepGrip, .Glow = FlatNone(0xFFFFFF, 0xD4D4D4), .Hot = Office2016Hot,
     .Down = Office2016Down, .Checked = Office2016Checked, .Edge = 0xD4D4D4, .Text = 0x262626, .NoPager = 0xFFFFFF,
     .TabHover = 0xF2E1D5, .CaptionText = 0x262626, .CaptionTextHot = 0x262626},
    {.Style = bsOffice2016Gray, .Family = Office2016, .Toolbar = 0xB2B2B2, .ToolbarTo = 0xB2B2B2, .Dock = 0xB2B2B2,
     .DockTo = 0xB2B2B2, .Grip = KeepGrip, .Glow = FlatNone(0xB2B2B2, 0x444444), .Hot = Office2016Hot,
     .Down = Office2016Down, .Checked = Office2016Checked, .Edge = 0x444444, .Text = 0x262626, .NoPager = 0xB2B2B2,
     .TabHover = 0xC4C4C4, .CaptionText = 0x262626, .CaptionTextHot = 0x262626},
    {.Style = bsOffice2016Black, .Family = Office2016, .Toolbar = 0x363636, .ToolbarTo = 0x363636, .Dock = 0x363636,
     .DockTo = 0x363636, .Grip = KeepGrip, .Glow = Flat(0x363636, 0x444444), .Hot = Flat(0x6A6A6A),
     .Down = Flat(0x444444), .Checked = Flat(0x575757), .Edge = 0x444444, .Text = clWhite, .NoPager = 0x363636,
     .TabHover = 0x505050, .CaptionText = clWhite, .CaptionTextHot = clWhite, .TabTextHot = 0x0000FF,
     .TabTextSelected = 0x00FFFF},
    {.Style = bsOffice2019White, .Family = Office2019, .Toolbar = 0xFFFFFF, .ToolbarTo = 0xFFFFFF, .Dock = 0xFFFFFF,
     .DockTo = 0xFFFFFF, .Grip = dsNone, .Glow = Flat(0xFFFFFF), .Hot = Flat(0xF2E1D5), .Down = Flat(0xE3BDA3),
     .Checked = Flat(0xF2E1D5), .Edge = 0xC4C6C8, .Text = 0x444648, .TabHover = 0xF8F9FA, .AppText = 0x262626,
     .CaptionText = 0x232425, .CaptionTextHot = clBlack, .GlowTextChecked = 0x3B3B3B, .DefaultAppColor = true},
    {.Style = bsOffice2019Gray, .Family = Office2019, .Toolbar = 0xB8BBBE, .ToolbarTo = 0xB8BBBE, .Dock = 0xB8BBBE,
     .DockTo = 0xB8BBBE, .Grip = dsNone, .Glow = Flat(0xB8BBBE), .Hot = Flat(0xCFCFCF), .Down = Flat(0xB8B8B8),
     .Checked = Flat(0xC4C4C4), .Edge = 0x666666, .Text = 0x262626, .TabHover = 0xCFCFCF, .CaptionText = 0x262626,
     .CaptionTextHot = 0x262626, .PagerCaptionExtended = 0xFFFFFF},
    {.Style = bsOffice2019Black, .Family = Office2019, .Toolbar = 0x3B3B3B, .ToolbarTo = 0x3B3B3B, .Dock = 0x3B3B3B,
     .DockTo = 0x3B3B3B, .Grip = dsNone, .Glow = Flat(0x3B3B3B), .Hot = Flat(0x4A4B4C), .Down = Flat(0x626364),
     .Checked = Flat(0x555657), .Edge = 0x5A5B5C, .Text = clWhite, .TabHover = 0x4A4B4C, .CaptionText = clWhite,
     .CaptionTextHot = clWhite, .TabTextHot = 0x0000FF, .TabTextSelected = 0x00FFFF},
};

const TPreset* RowOf(TToolBarStyle style) {
    for (const TPreset& preset : Presets)
        if (preset.Style == style) return &preset;
    return nullptr;
}

// Text that reads on a fill: black on light, white on dark.
TColor TextOn(TColor fill) { return IsDarkColor(fill) ? clWhite : clBlack; }

// The setters of one state of a glow appearance, so one routine fills every state.
using A = TGlowButtonAppearance;
struct TStateSetters {
    void (A::*Color)(TColor);
    void (A::*ColorTo)(TColor);
    void (A::*Mirror)(TColor);
    void (A::*MirrorTo)(TColor);
    void (A::*Border)(TColor);
    void (A::*Gradient)(AdvGlowButton::TGDIPGradient);
    void (A::*GradientMirror)(AdvGlowButton::TGDIPGradient);
};
constexpr TStateSetters NormalState{&A::SetColor, &A::SetColorTo, &A::SetColorMirror, &A::SetColorMirrorTo,
                                    &A::SetBorderColor, &A::SetGradient, &A::SetGradientMirror};
constexpr TStateSetters HotState{&A::SetColorHot, &A::SetColorHotTo, &A::SetColorMirrorHot, &A::SetColorMirrorHotTo,
                                 &A::SetBorderColorHot, &A::SetGradientHot, &A::SetGradientMirrorHot};
constexpr TStateSetters DownState{&A::SetColorDown, &A::SetColorDownTo, &A::SetColorMirrorDown,
                                  &A::SetColorMirrorDownTo, &A::SetBorderColorDown, &A::SetGradientDown,
                                  &A::SetGradientMirrorDown};
constexpr TStateSetters CheckedState{&A::SetColorChecked, &A::SetColorCheckedTo, &A::SetColorMirrorChecked,
                                     &A::SetColorMirrorCheckedTo, &A::SetBorderColorChecked, &A::SetGradientChecked,
                                     &A::SetGradientMirrorChecked};

// One state's look, its two halves running top to bottom.
void SetState(A& a, const TStateSetters& state, const TLook& look) {
    (a.*state.Color)(look.Color);
    (a.*state.ColorTo)(look.ColorTo);
    (a.*state.Mirror)(look.Mirror);
    (a.*state.MirrorTo)(look.MirrorTo);
    (a.*state.Border)(look.Border);
    (a.*state.Gradient)(ggVertical);
    (a.*state.GradientMirror)(ggVertical);
}
void SetFace(A& a, const TLook& look) { SetState(a, NormalState, look); }
void SetHot(A& a, const TLook& look) { SetState(a, HotState, look); }
void SetDown(A& a, const TLook& look) { SetState(a, DownState, look); }
void SetChecked(A& a, const TLook& look) { SetState(a, CheckedState, look); }

void SetGradient(TGradientBackground& g, TColor color, TColor colorTo, TGradientDirection direction, int steps) {
    g.SetColor(color);
    g.SetColorTo(colorTo);
    g.SetDirection(direction);
    g.SetSteps(steps);
}

void SetVista(TVistaBackground& v, TColor color, TColor colorTo, TColor mirror, TColor mirrorTo, TColor border) {
    v.SetColor(color);
    v.SetColorTo(colorTo);
    v.SetColorMirror(mirror);
    v.SetColorMirrorTo(mirrorTo);
    v.SetBorderColor(border);
    v.SetGradient(ggVertical);
    v.SetGradientMirror(ggVertical);
}

void SetCaption(TCaptionAppearance& c, TColor color, TColor colorTo, TColor border, TColor text, const TLook& hot) {
    c.SetCaptionColor(color);
    c.SetCaptionColorTo(colorTo);
    c.SetCaptionBorderColor(border);
    c.SetCaptionTextColor(text);
    c.SetCaptionColorHot(hot.Color);
    c.SetCaptionColorHotTo(hot.ColorTo);
    c.SetCaptionBorderColorHot(hot.Border);
    c.SetCaptionTextColorHot(TextOn(hot.Color));
}

// A page tab's look from the row: transparent while normal, the hot look under the mouse,
// light when selected, framed in the outline.
void SetTabLook(TCustomTabAppearance& t, const TPreset& p, const TLook& hot, const TLook& down, TColor light) {
    t.SetBorderColor(p.Edge);
    t.SetBorderColorHot(hot.Border);
    t.SetBorderColorSelected(p.Edge);
    t.SetBorderColorSelectedHot(hot.Border);
    t.SetBorderColorDown(down.Border);
    t.SetBorderColorDisabled(clNone);
    t.SetColor(clNone);
    t.SetColorTo(clNone);
    t.SetColorMirror(clNone);
    t.SetColorMirrorTo(clNone);
    t.SetColorHot(hot.Color);
    t.SetColorHotTo(hot.ColorTo);
    t.SetColorMirrorHot(hot.Mirror);
    t.SetColorMirrorHotTo(hot.MirrorTo);
    t.SetColorSelected(clWhite);
    t.SetColorSelectedTo(light);
    t.SetColorMirrorSelected(light);
    t.SetColorMirrorSelectedTo(light);
    t.SetColorDisabled(clNone);
    t.SetColorDisabledTo(clNone);
    t.SetColorMirrorDisabled(clNone);
    t.SetColorMirrorDisabledTo(clNone);
    t.SetTextColor(p.Text);
    t.SetTextColorHot(p.Text);
    t.SetTextColorSelected(p.Text);
    t.SetTextColorDisabled(clGray);
    t.SetGradient(ggVertical);
    t.SetGradientMirror(ggVertical);
    t.SetGradientHot(ggVertical);
    t.SetGradientMirrorHot(ggVertical);
    t.SetGradientSelected(ggVertical);
    t.SetGradientMirrorSelected(ggVertical);
    t.SetShadowColor(p.Edge);
    t.SetHighLightColor(light);
    t.SetHighLightColorHot(hot.Color);
    t.SetHighLightColorSelected(hot.ColorTo);
    t.SetHighLightColorSelectedHot(hot.Color);
    t.SetHighLightColorDown(down.Color);
}

}  // namespace

// Fills one styler from one row; a friend of the styler for the fields a preset writes.
class TPresetApplier {
public:
    TPresetApplier(TAdvToolBarOfficeStyler& styler, const TPreset& row)
        : S(styler), P(row), Glow(*styler.GlowButtonAppearance()), Pager(styler.GetFirstPager()) {}
    void Apply();

private:
    void Common();
    void Classic();
    void Tones();
    void Steps(TColor colour);        // the flat toolbar, dock and handles
    void NoButtonBorders();
    void ToneGlow();
    void MakeTones();
    void NoPagerSet();
    void CopyBack();

    TAdvToolBarOfficeStyler& S;
    const TPreset& P;
    TGlowButtonAppearance& Glow;
    IToolBarStylerPager* Pager;
};

void TAdvToolBarOfficeStyler::SetStyle(TToolBarStyle value) {
    {
        const TUpdateScope<TCustomAdvToolBarStyler> update(*this);
        FToolBarStyle = value;
        if (value != bsCustom) {
            ButtonAppearance()->SetCaptionTextColor(clBlack);
            ButtonAppearance()->SetCaptionTextColorHot(clBlack);
            ButtonAppearance()->SetCaptionTextColorDown(clBlack);
            ApplyStyleToPagers(UIStyleOf(value));
            TPresetApplier(*this, *RowOf(value)).Apply();
        }
    }
    // The controls hear of a preset once, at its end.
    NotifyChange(scColors);
}

void TPresetApplier::Apply() {
    Common();
    if (P.Family == TFamily::Classic)
        Classic();
    else
        Tones();
}

void TPresetApplier::Common() {
    S.FOVTStyle = S.FNewOVTStyle;
    S.SetSysButtonColor(clBlack);
    S.PagerCaption()->SetTextColor(0x808080);
    S.PagerCaption()->SetTextColorExtended(0xFF0000);
    S.FQatSharpCurve = false;
    const std::wstring face = IsVistaOrLater() ? L"Segoe UI" : L"Tahoma";
    if (S.TabAppearance()->SystemFont()) S.TabAppearance()->Font()->SetName(face);
    if (S.PagerCaption()->SystemFont()) S.PagerCaption()->Font()->SetName(face);
    if (S.GroupAppearance()->SystemFont()) S.GroupAppearance()->Font()->SetName(face);
    if (S.ButtonAppearance()->SystemFont()) S.ButtonAppearance()->CaptionFont()->SetName(face);
    if (S.SystemFont()) {
        S.Font()->SetName(face);
        S.CaptionFont()->SetName(face);
    }
    const bool flatOffice = P.Family == TFamily::Office2013 || P.Family == TFamily::Office2016 ||
                            P.Family == TFamily::Office2019;
    const bool office2010 = P.Style == bsOffice2010Blue || P.Style == bsOffice2010Silver || P.Style == bsOffice2010Black;
    Glow.SetTranspHover(flatOffice || office2010);
    Glow.SetNoBorderDefault(flatOffice);
    Glow.SetTextColor(clNone);
    Glow.SetSystemFont(true);
    S.CompactGlowButtonAppearance()->SetSystemFont(true);
    if (Pager) Pager->ClearOfficeTones();
    Glow.SetTextColorChecked(clBlack);
    Glow.SetTextColorHot(clBlack);
    Glow.SetTextColorDown(clBlack);
    if (P.OrangeStates) {
        SetHot(Glow, Orange2003Hot);
        SetDown(Glow, Orange2003Down);
        SetChecked(Glow, Orange2003Checked);
        S.CompactGlowButtonAppearance()->Assign(&Glow);
    }
}

// Every look set from the row: the toolbar's two colours, the dock's, the glow button's
// faces, the status bar's outline and text.
void TPresetApplier::Classic() {
    if (P.Style != bsOffice2003Classic) S.FOVTStyle = UIStyleOf(P.Style);
    // Windows 7 is flat on a scenic ribbon or without a pager.
    TColor light = P.Toolbar, dark = P.ToolbarTo;
    if (P.FlatToolbar != Keep && (AdvGDIP::GetScenicRibbonFlag() || !Pager)) light = dark = P.FlatToolbar;
    SetGradient(*S.Color(), light, dark, gdVertical, 64);
    SetGradient(*S.DockColor(), P.Dock, P.DockTo, gdHorizontal, 64);
    S.SetRightHandleColor(light);
    S.SetRightHandleColorTo(dark);
    S.SetRightHandleColorHot(P.Hot.Color);
    S.SetRightHandleColorHotTo(P.Hot.ColorTo);
    if (!P.KeepHandleDown) {
        S.SetRightHandleColorDown(P.Down.Color);
        S.SetRightHandleColorDownTo(P.Down.ColorTo);
    }
    SetCaption(*S.CaptionAppearance(), P.Edge, clNone, P.Edge, TextOn(P.Edge), P.Hot);

    TButtonAppearance& buttons = *S.ButtonAppearance();
    buttons.SetColor(clNone);
    buttons.SetColorTo(clNone);
    buttons.SetColorDown(P.Down.Color);
    buttons.SetColorDownTo(P.Down.ColorTo);
    buttons.SetColorHot(P.Hot.Color);
    buttons.SetColorHotTo(P.Hot.ColorTo);
    buttons.SetColorChecked(P.Checked.Color);
    buttons.SetColorCheckedTo(P.Checked.ColorTo);
    buttons.SetCaptionTextColor(P.Text);
    buttons.SetCaptionTextColorHot(P.Text);
    buttons.SetCaptionTextColorDown(P.Text);
    buttons.SetCaptionTextColorChecked(P.Text);
    buttons.SetBorderDownColor(P.Down.Border);
    buttons.SetBorderHotColor(P.Hot.Border);
    buttons.SetBorderCheckedColor(P.Checked.Border);

    S.SetFloatingWindowBorderColor(P.System ? clHighlight : P.Edge);
    S.SetFloatingWindowBorderWidth(2);
    S.SetRoundEdges(!P.System);
    if (P.Grip != KeepGrip) S.SetDragGripStyle(TDragGripStyle(P.Grip));
    S.SetBevel(P.System ? bvRaised : bvNone);
    S.SetUseBevel(P.System);

    SetFace(Glow, P.Glow);
    if (!P.OrangeStates) {
        SetHot(Glow, P.Hot);
        SetDown(Glow, P.Down);
        SetChecked(Glow, P.Checked);
    }
    S.CompactGlowButtonAppearance()->Assign(&Glow);

    TGroupAppearance& group = *S.GroupAppearance();
    group.SetTextColor(P.Text);
    group.SetColor(light);
    group.SetColorTo(light);
    group.SetColorMirror(dark);
    group.SetColorMirrorTo(light);
    group.SetGradient(ggVertical);
    group.SetGradientMirror(ggVertical);
    group.SetBorderColor(P.Edge);
    SetTabLook(*group.TabAppearance(), P, P.Hot, P.Down, light);
    SetVista(*group.PageAppearance(), light, light, light, dark, P.Edge);
    TToolBarAppearance& groupToolBar = *group.ToolBarAppearance();
    groupToolBar.SetBorderColor(P.Edge);
    groupToolBar.Color()->SetColor(light);
    groupToolBar.Color()->SetColorTo(dark);
    groupToolBar.ColorHot()->SetColor(P.Hot.Color);
    groupToolBar.ColorHot()->SetColorTo(P.Hot.ColorTo);
    groupToolBar.SetBorderColorHot(P.Hot.Border);
    SetCaption(*group.CaptionAppearance(), P.Edge, clNone, P.Edge, TextOn(P.Edge), P.Hot);

    TTabAppearance& tabs = *S.TabAppearance();
    tabs.BackGround()->SetColor(P.Dock);
    tabs.BackGround()->SetColorTo(P.DockTo);
    SetTabLook(tabs, P, P.Hot, P.Down, light);

    TMirrorGradient& mirror = *S.Color()->Mirror();
    mirror.SetColor(light);
    mirror.SetColorTo(dark);
    mirror.SetColorMirror(dark);
    mirror.SetColorMirrorTo(light);
    TVistaGradientBackground& hot = *S.ColorHot();
    hot.SetColor(P.Hot.Color);
    hot.SetColorTo(P.Hot.ColorTo);
    hot.Mirror()->SetColor(P.Hot.Color);
    hot.Mirror()->SetColorTo(P.Hot.ColorTo);
    hot.Mirror()->SetColorMirror(P.Hot.Mirror);
    hot.Mirror()->SetColorMirrorTo(P.Hot.MirrorTo);
    hot.SetDirection(gdVertical);
    S.SetBorderColorHot(P.Hot.Border);
    S.SetBorderColor(P.Edge);

    TVistaPageBackground& page = *S.PageAppearance();
    SetVista(page, light, light, light, dark, P.Edge);
    page.SetShadowColor(P.Edge);
    page.SetHighLightColor(clWhite);
    SetVista(*S.PagerCaption(), P.Dock, P.DockTo, P.DockTo, P.Dock, P.Edge);

    TQATAppearance& qat = *S.QATAppearance();
    qat.SetColor(light);
    qat.SetColorTo(dark);
    qat.SetBorderColor(P.Edge);
    qat.SetFullSizeColor(P.Dock);
    qat.SetFullSizeColorTo(P.DockTo);
    qat.SetFullSizeBorderColor(P.Edge);
    if (P.UpdatesQat && Pager) Pager->UpdateQAT();

    if (P.SysButton != Keep) {
        S.SetSysButtonColor(P.SysButton);
        S.PagerCaption()->Font()->SetHeight(-13);
    }
    if (P.SharpQatCurve) S.FQatSharpCurve = true;
    if (P.Style == bsOffice2010Blue || P.Style == bsOffice2010Silver || P.Style == bsOffice2010Black)
        tabs.SetTextColorDisabled(AdvGDIP::GetWin8Flag() ? 0xC0C0C0 : 0x808080);
}

// The flat toolbar, the dock and the six handle colours.
void TPresetApplier::Steps(TColor colour) {
    TGradientBackground& dock = *S.DockColor();
    dock.SetColorTo(colour);
    dock.SetColor(colour);
    dock.SetDirection(gdHorizontal);
    dock.SetSteps(P.DockSteps);
    SetGradient(*S.Color(), colour, colour, gdVertical, P.ToolbarSteps);
}

void TPresetApplier::NoButtonBorders() {
    S.ButtonAppearance()->SetBorderColor(clNone);
    S.ButtonAppearance()->SetBorderHotColor(clNone);
    S.ButtonAppearance()->SetBorderDownColor(clNone);
}

// Square edges and the glow faces; the Office 2013 presets take the hot, down and checked
// faces from the application colours.
void TPresetApplier::ToneGlow() {
    S.SetRoundEdges(false);
    SetFace(Glow, P.Glow);
    TAppColor& app = *S.AppColor();
    switch (P.Family) {
        case TFamily::Office2013: {
            // One colour each, without gradient or mirror.
            const auto alone = [](TColor colour, TColor border) { return TLook{colour, clNone, clNone, clNone, border}; };
            SetHot(Glow, alone(app.HoverColor(), app.HoverBorderColor()));
            SetDown(Glow, alone(app.SelectedColor(), app.SelectedBorderColor()));
            SetChecked(Glow, alone(app.SelectedColor(), app.SelectedBorderColor()));
            break;
        }
        case TFamily::Windows8:
            SetHot(Glow, P.Hot);
            SetDown(Glow, P.Down);
            SetChecked(Glow, P.Checked);
            Glow.SetColorDisabled(Glow.Color());
            Glow.SetColorDisabledTo(Glow.ColorTo());
            Glow.SetColorMirrorDisabled(Glow.ColorMirror());
            Glow.SetColorMirrorDisabledTo(Glow.ColorMirrorTo());
            Glow.SetBorderColorDisabled(Glow.BorderColor());
            break;
        default:
            SetHot(Glow, P.Hot);
            SetDown(Glow, P.Down);
            SetChecked(Glow, P.Checked);
            Glow.SetTextColor(P.Text);
            Glow.SetTextColorChecked(P.GlowTextChecked != Keep ? P.GlowTextChecked : P.Text);
            Glow.SetTextColorHot(P.Text);
            Glow.SetTextColorDown(P.Text);
            break;
    }
    if (P.TabTextHot != Keep) {
        S.TabAppearance()->SetTextColorHot(P.TabTextHot);
        S.TabAppearance()->SetTextColorSelected(P.TabTextSelected);
    }
}

// The tone sets for the pager, with the row's colours in their places.
void TPresetApplier::MakeTones() {
    if (!Pager) return;
    TAppColor& app = *S.AppColor();
    const TColor c = P.Toolbar;
    TColorTones metro;
    CreateMetroTones(true, 0xFFFFFF, 0xFF0000, metro);
    TOfficeTones tones;
    tones.Buttons = metro;
    if (P.DefaultAppColor && (app.AppButtonColor() == clWhite || app.AppButtonColor() == clNone)) {
        // A white (or no) application colour would vanish on the white ribbon: the default blue.
        app.SetAppButtonColor(0xFFAC3C);
        app.SetAppButtonHoverColor(0xE29E00);
        app.SetHoverColor(0xF7E6CD);
        app.SetHoverBorderColor(0xE7BE7A);
        app.SetSelectedColor(0xE7BE7A);
        app.SetSelectedBorderColor(0xE7BE7A);
        tones.Buttons.Foreground.BrushColor = tones.Buttons.Foreground.BorderColor = 0xD1B9A5;
    } else {
        tones.Buttons.Foreground.BrushColor = tones.Buttons.Foreground.BorderColor = app.HoverColor();
    }
    tones.Buttons.Background = {c, c, P.Text};
    tones.Buttons.Hover = {app.HoverColor(), app.HoverColor(), P.Text};
    tones.Buttons.Selected = {app.SelectedColor(), app.SelectedColor(), P.Text};
    tones.Buttons.Foreground.TextColor = P.Text;
    tones.Pager = metro;
    tones.Pager.Foreground.BrushColor = tones.Pager.Foreground.BorderColor = c;
    tones.Pager.Background.BrushColor = tones.Pager.Background.BorderColor = c;
    tones.Tab = metro;
    tones.Tab.Foreground = {c, P.Edge, P.Text};
    tones.Tab.Hover = {P.TabHover, P.TabHover, app.AppButtonColor()};
    tones.Tab.Selected = {c, c, P.Text};
    tones.Tab.Background = {c, c, P.Text};
    tones.App = &app;
    if (P.Family == TFamily::Windows8) {
        app.SetHoverColor(0xF7EFE8);
        app.SetHoverBorderColor(0xF9CEA4);
        app.SetSelectedColor(0xF7E0C9);
        app.SetSelectedBorderColor(0xE4A262);
    } else {
        app.SetHoverBorderColor(app.HoverColor());
        app.SetSelectedBorderColor(app.SelectedColor());
    }
    if (P.AppText != Keep) app.SetTextColor(P.AppText);
    const TGroupStyle groupStyle = P.Family == TFamily::Windows8   ? gsWindows8
                                   : P.Family == TFamily::Office2019 ? gsOffice2019
                                                                     : gsOffice2013;
    Pager->SetOfficeTones(tones, groupStyle);
}

// Without a pager the Office 2013 and 2016 presets colour the toolbar themselves.
void TPresetApplier::NoPagerSet() {
    if (Pager || P.NoPager == Keep) return;
    Steps(P.NoPager);
    const TAppColor& app = *S.AppColor();
    const bool office2013 = P.Family == TFamily::Office2013;
    S.SetRightHandleColor(P.NoPager);
    S.SetRightHandleColorTo(P.NoPager);
    S.SetRightHandleColorHot(office2013 ? app.HoverColor() : P.Hot.Color);
    S.SetRightHandleColorHotTo(office2013 ? app.HoverColor() : P.Hot.Color);
    S.SetRightHandleColorDown(office2013 ? app.SelectedColor() : P.Down.Color);
    S.SetRightHandleColorDownTo(office2013 ? app.SelectedColor() : P.Down.Color);
    S.SetBorderColor(P.Edge);
}

// The pager's looks made of the tones become the styler's, and the page colour its
// toolbar, borders and captions.
void TPresetApplier::CopyBack() {
    if (!Pager) return;
    S.PageAppearance()->Assign(Pager->PageAppearance());
    S.TabAppearance()->Assign(Pager->TabAppearance());
    S.GroupAppearance()->Assign(Pager->GroupAppearance());
    S.CaptionAppearance()->Assign(Pager->CaptionAppearance());
    S.GlowButtonAppearance()->Assign(Pager->GlowButtonAppearance());
    S.PagerCaption()->Assign(Pager->PagerCaption());
    S.ContainerAppearance()->Assign(Pager->ContainerAppearance());
    const TColor page = S.PageAppearance()->Color();
    for (TVistaGradientBackground* background : {S.Color(), S.ColorHot()}) {
        background->SetColor(page);
        background->SetColorTo(clNone);
        background->Mirror()->SetColor(page);
        background->Mirror()->SetColorMirror(page);
        background->Mirror()->SetColorTo(clNone);
        background->Mirror()->SetColorMirrorTo(clNone);
    }
    S.SetBorderColor(page);
    S.SetBorderColorHot(page);
    TCaptionAppearance& caption = *S.CaptionAppearance();
    caption.SetCaptionColor(page);
    caption.SetCaptionColorTo(clNone);
    caption.SetCaptionColorHot(page);
    caption.SetCaptionColorHotTo(page);
    caption.SetCaptionTextColor(P.CaptionText);
    caption.SetCaptionTextColorHot(P.CaptionTextHot);
}

// A few values of the row, then the pager's office tones and their copy-back; each
// family in its own order (the order decides which application colours the glow faces
// read, and which values the copy-back replaces).
void TPresetApplier::Tones() {
    const TColor c = P.Toolbar;
    const auto handles = [&] {
        S.SetRightHandleColor(c);
        S.SetRightHandleColorTo(c);
        S.SetRightHandleColorHot(P.Hot.Color);
        S.SetRightHandleColorHotTo(P.Hot.Color);
        S.SetRightHandleColorDown(P.Down.Color);
        S.SetRightHandleColorDownTo(P.Down.Color);
    };
    const TOVTStyle ui = P.Family == TFamily::Windows8 ? tsWindows8 : UIStyleOf(P.Style);
    switch (P.Family) {
        case TFamily::Windows8:
            Steps(c);
            handles();
            ToneGlow();
            MakeTones();
            CopyBack();
            S.FOVTStyle = ui;
            break;
        case TFamily::Office2013:
            Steps(c);
            handles();
            NoButtonBorders();
            ToneGlow();
            MakeTones();
            NoPagerSet();
            S.FOVTStyle = ui;
            CopyBack();
            break;
        case TFamily::Office2016:
            Steps(c);
            handles();
            NoButtonBorders();
            if (P.Style == bsOffice2016Black) {
                S.ButtonAppearance()->SetCaptionTextColor(P.Text);
                S.ButtonAppearance()->SetCaptionTextColorHot(P.Text);
                S.ButtonAppearance()->SetCaptionTextColorDown(P.Text);
            }
            MakeTones();
            NoPagerSet();
            ToneGlow();
            S.FOVTStyle = ui;
            CopyBack();
            break;
        case TFamily::Office2019: {
            Steps(c);
            handles();
            S.SetBorderColor(P.Edge);
            NoButtonBorders();
            S.ButtonAppearance()->SetCaptionTextColor(P.Text);
            S.ButtonAppearance()->SetCaptionTextColorHot(P.Text);
            const TColor appText = S.AppColor()->TextColor();
            S.PagerCaption()->SetTextColorExtended(P.PagerCaptionExtended != Keep ? P.PagerCaptionExtended : appText);
            S.PagerCaption()->SetTextColor(appText);
            TCaptionAppearance& caption = *S.CaptionAppearance();
            caption.SetCaptionColor(c);
            caption.SetCaptionColorTo(c);
            caption.SetCaptionColorHot(P.Hot.Color);
            caption.SetCaptionColorHotTo(P.Hot.Color);
            caption.SetCaptionTextColor(P.Text);
            caption.SetCaptionTextColorHot(P.Text);
            S.SetDragGripStyle(dsNone);
            MakeTones();
            ToneGlow();
            S.FOVTStyle = ui;
            CopyBack();
            break;
        }
        case TFamily::Classic: break;
    }
}

}  // namespace AdvToolBarStylers
