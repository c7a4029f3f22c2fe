#pragma once
// The menu styler: fonts, border colour, anti-aliasing and the look of each part of a
// styled menu (background, icon column, selected item, menu-bar items, separator, side
// bar, glyph bitmaps). A change tells the styled menu in one of two strengths: a refresh
// re-measures and repaints its items, a notice only lets a main menu re-check its form.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "classlib/Colors.h"
#include "classlib/EnumNames.h"
#include "classlib/Events.h"
#include "classlib/Geometry.h"
#include "classlib/Object.h"
#include "classlib/StandardControls.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvToolBarBase.h"

namespace ClassLib {
class TBitmap;
class TFont;
class TMenu;
class TPicture;
}  // namespace ClassLib

namespace AdvMenus {

using ClassLib::TColor;

// The menu unit's own order: vertical first (the toolbar unit's runs the other way).
enum TGradientDirection : std::uint8_t { gdVertical, gdHorizontal };
enum TGradientType : std::uint8_t { gtLeft, gtRight, gtBoth };
enum TBackgroundPosition : std::uint8_t {
    bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTopCenter, bpBottomCenter, bpTiled, bpStretched,
    bpCenter, bpXY
};
enum TDirection : std::uint8_t { dDownToUp, dUpToDown };
enum TSideBarPosition : std::uint8_t { spLeft, spRight };
enum TSideBarVisibleIn : std::uint8_t { viFirstVisible, viFirstLevel, viAnyLevel };
// The glyph bitmaps' scale bracket: 1, 1.5 and 2 times, or none loaded yet.
enum TResType : std::uint8_t { rtx1, rtx15, rtx2, rtundefined };
enum TGlyphPosition : std::uint8_t { gpLeft, gpRight };
enum TActionImage : std::uint8_t { aiNormal, aiLarge };

}  // namespace AdvMenus

template <> struct ClassLib::TEnumNames<AdvMenus::TGradientDirection> {
    static constexpr const wchar_t* TypeName = L"TGradientDirection";
    static constexpr const wchar_t* Names[] = {L"gdVertical", L"gdHorizontal"};
};
template <> struct ClassLib::TEnumNames<AdvMenus::TGradientType> {
    static constexpr const wchar_t* TypeName = L"TGradientType";
    static constexpr const wchar_t* Names[] = {L"gtLeft", L"gtRight", L"gtBoth"};
};
template <> struct ClassLib::TEnumNames<AdvMenus::TBackgroundPosition> {
    static constexpr const wchar_t* TypeName = L"TBackgroundPosition";
    static constexpr const wchar_t* Names[] = {L"bpTopLeft",      L"bpTopRight", L"bpBottomLeft", L"bpBottomRight",
                                               L"bpTopCenter",    L"bpBottomCenter", L"bpTiled", L"bpStretched",
                                               L"bpCenter",       L"bpXY"};
};
template <> struct ClassLib::TEnumNames<AdvMenus::TDirection> {
    static constexpr const wchar_t* TypeName = L"TDirection";
    static constexpr const wchar_t* Names[] = {L"dDownToUp", L"dUpToDown"};
};
template <> struct ClassLib::TEnumNames<AdvMenus::TSideBarPosition> {
    static constexpr const wchar_t* TypeName = L"TSideBarPosition";
    static constexpr const wchar_t* Names[] = {L"spLeft", L"spRight"};
};
template <> struct ClassLib::TEnumNames<AdvMenus::TSideBarVisibleIn> {
    static constexpr const wchar_t* TypeName = L"TSideBarVisibleIn";
    static constexpr const wchar_t* Names[] = {L"viFirstVisible", L"viFirstLevel", L"viAnyLevel"};
};
template <> struct ClassLib::TEnumNames<AdvMenus::TGlyphPosition> {
    static constexpr const wchar_t* TypeName = L"TGlyphPosition";
    static constexpr const wchar_t* Names[] = {L"gpLeft", L"gpRight"};
};
template <> struct ClassLib::TEnumNames<AdvMenus::TActionImage> {
    static constexpr const wchar_t* TypeName = L"TActionImage";
    static constexpr const wchar_t* Names[] = {L"aiNormal", L"aiLarge"};
};

namespace AdvMenus {

class TCustomAdvMenuStyler;

// What the styler asks of a styled menu. References do not own the menu.
class IAdvMenu {
public:
    // Re-measures and repaints the menu's items.
    virtual void UpdateItems() = 0;
    virtual ClassLib::TMenu* GetMenu() = 0;
    // A change notice reached the menu: a main menu hooks its form's MDI client here.
    virtual void MenuChangeNoticed() {}
    // True for a main menu whose window exists; a side bar shown or hidden repaints only there.
    virtual bool IsMainMenuWithWindow() { return false; }
protected:
    ~IAdvMenu() = default;
};

// Nothing for a null menu or one without its menu object. With either flag the items
// are re-measured and repainted; then the menu hears of the change.
void NotifyMenuChanged(IAdvMenu* menu, bool updateItems, bool force);

// A gradient from Color to ColorTo in GradientDirection, styling the parts of `menu`.
// Color and ColorTo are one indexed pair (0, 1); another index raises EInvalidPropertyIndex.
class TGradientBar : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TGradientBar, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TGradientBar(ClassLib::TMenu* menu = nullptr);
    // From any gradient bar: the two colours and the direction.
    void Assign(const ClassLib::TPersistent* source) override;

    ClassLib::TMenu* Menu() const noexcept { return FMenu; }
    void SetMenu(ClassLib::TMenu* menu) { FMenu = menu; }
    TColor GetColor(int index) const;
    void SetColor(int index, TColor value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { SetColor(0, value); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value) { SetColor(1, value); }
    TGradientDirection GradientDirection() const noexcept { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection value) { FGradientDirection = value; }

protected:
    // The two strengths of a change notice to the menu (nothing without a menu).
    void RefreshMenu() const;
    void NoticeMenu() const;
    void AssignBase(const TGradientBar& from);

    ClassLib::TMenu* FMenu;
    TColor FColor = TColor(0xD8BDAF);
    TColor FColorTo = ClassLib::clNone;
    TGradientDirection FGradientDirection = gdVertical;
};

// Check and radio marks: an indexed colour pair each (0, 1), a border and a direction.
// Shared by the icon column and the selected item, which keep their own colours.
struct TMarkColours {
    TColor Color;
    TColor ColorTo = ClassLib::clNone;
    TColor Border = TColor(0x6F4B4B);
    TGradientDirection Direction = gdVertical;
};

// A gradient bar with check and radio marks; the icon column and the selected item keep
// marks of their own colours.
class TMarkedBar : public TGradientBar {
    CLASSLIB_CLASS(TMarkedBar, TGradientBar)
public:
    TColor GetCheckColor(int index) const;
    void SetCheckColor(int index, TColor value);
    TColor CheckColor() const { return FCheck.Color; }
    void SetCheckColor(TColor value) { SetCheckColor(0, value); }
    TColor CheckColorTo() const { return FCheck.ColorTo; }
    void SetCheckColorTo(TColor value) { SetCheckColor(1, value); }
    TColor CheckBorder() const { return FCheck.Border; }
    void SetCheckBorder(TColor value) { FCheck.Border = value; }
    TGradientDirection CheckGradientDirection() const { return FCheck.Direction; }
    void SetCheckGradientDirection(TGradientDirection value) { FCheck.Direction = value; }
    TColor GetRadioColor(int index) const;
    void SetRadioColor(int index, TColor value);
    TColor RadioColor() const { return FRadio.Color; }
    void SetRadioColor(TColor value) { SetRadioColor(0, value); }
    TColor RadioColorTo() const { return FRadio.ColorTo; }
    void SetRadioColorTo(TColor value) { SetRadioColor(1, value); }
    TColor RadioBorder() const { return FRadio.Border; }
    void SetRadioBorder(TColor value) { FRadio.Border = value; }
    TGradientDirection RadioGradientDirection() const { return FRadio.Direction; }
    void SetRadioGradientDirection(TGradientDirection value) { FRadio.Direction = value; }

protected:
    TMarkedBar(ClassLib::TMenu* menu, TColor markColor) : TGradientBar(menu), FCheck{markColor}, FRadio{markColor} {}
    void AssignMarks(const TMarkedBar& from) {
        FCheck = from.FCheck;
        FRadio = from.FRadio;
    }
    // The published check and radio values, marked in `markColor` to begin with.
    static ClassLib::TPropertyList& AddMarks(ClassLib::TPropertyList& list, TColor markColor);

private:
    TMarkColours FCheck;
    TMarkColours FRadio;
};

// The icon column of a popup and its check and radio marks.
class TIconBar : public TMarkedBar {
    CLASSLIB_CLASS(TIconBar, TMarkedBar)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TIconBar(ClassLib::TMenu* menu = nullptr);
    // From an icon bar: everything (the base colours and the check border included);
    // from another gradient bar its base values.
    void Assign(const ClassLib::TPersistent* source) override;

    TColor SeparatorColor() const { return FSeparatorColor; }
    void SetSeparatorColor(TColor value) { FSeparatorColor = value; }
    // Never below 16.
    int Size() const { return FSize; }
    void SetSize(int value);

private:
    int FSize = 24;   // invariant: >= 16
    TColor FSeparatorColor = ClassLib::clNone;
};

// The highlighted popup item, its fonts and its check and radio marks.
class TSelectedItem : public TMarkedBar {
    CLASSLIB_CLASS(TSelectedItem, TMarkedBar)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TSelectedItem(ClassLib::TMenu* menu = nullptr);
    ~TSelectedItem() override;
    // From a selected item: everything (check border and notes font included); from
    // another gradient bar its base values.
    void Assign(const ClassLib::TPersistent* source) override;

    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor value) { FColorMirror = value; }
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor value) { FColorMirrorTo = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { FBorderColor = value; }
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    ClassLib::TFont* NotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(const ClassLib::TFont* value);
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool value);


private:
    TColor FBorderColor = TColor(0x6F4B4B);
    std::unique_ptr<ClassLib::TFont> FFont;
    bool FUseSystemFont = true;
    TColor FColorMirror = ClassLib::clNone;
    TColor FColorMirrorTo = ClassLib::clNone;
    std::unique_ptr<ClassLib::TFont> FNotesFont;
};

// The items of a menu bar: the bar's gradient, its font, and the selected (dropped down)
// and hover looks, each four colours indexed 0..3 (colour, to, mirror, mirror to).
class TRootItem : public TGradientBar {
    CLASSLIB_CLASS(TRootItem, TGradientBar)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TRootItem(ClassLib::TMenu* menu = nullptr);
    ~TRootItem() override;
    // From a root item: everything (the hover mirrors included); from another gradient
    // bar its base values.
    void Assign(const ClassLib::TPersistent* source) override;

    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool value);
    // With UseSystemFont the screen's menu font is copied into Font; else nothing.
    void UpdateFont();

    TColor GetSelectedColor(int index) const;
    void SetSelectedColor(int index, TColor value);
    TColor SelectedColor() const { return FSelected[0]; }
    void SetSelectedColor(TColor value) { SetSelectedColor(0, value); }
    TColor SelectedColorTo() const { return FSelected[1]; }
    void SetSelectedColorTo(TColor value) { SetSelectedColor(1, value); }
    TColor SelectedColorMirror() const { return FSelected[2]; }
    void SetSelectedColorMirror(TColor value) { SetSelectedColor(2, value); }
    TColor SelectedColorMirrorTo() const { return FSelected[3]; }
    void SetSelectedColorMirrorTo(TColor value) { SetSelectedColor(3, value); }
    TGradientDirection SelectedGradientDirection() const { return FSelectedGradientDirection; }
    void SetSelectedGradientDirection(TGradientDirection value) { FSelectedGradientDirection = value; }
    TColor SelectedBorderColor() const { return FSelectedBorderColor; }
    void SetSelectedBorderColor(TColor value) { FSelectedBorderColor = value; }
    TColor SelectedTextColor() const { return FSelectedTextColor; }
    void SetSelectedTextColor(TColor value) { FSelectedTextColor = value; }

    TColor GetHoverColor(int index) const;
    void SetHoverColor(int index, TColor value);
    TColor HoverColor() const { return FHover[0]; }
    void SetHoverColor(TColor value) { SetHoverColor(0, value); }
    TColor HoverColorTo() const { return FHover[1]; }
    void SetHoverColorTo(TColor value) { SetHoverColor(1, value); }
    TColor HoverColorMirror() const { return FHover[2]; }
    void SetHoverColorMirror(TColor value) { SetHoverColor(2, value); }
    TColor HoverColorMirrorTo() const { return FHover[3]; }
    void SetHoverColorMirrorTo(TColor value) { SetHoverColor(3, value); }
    TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }
    void SetHoverGradientDirection(TGradientDirection value) { FHoverGradientDirection = value; }
    TColor HoverBorderColor() const { return FHoverBorderColor; }
    void SetHoverBorderColor(TColor value) { FHoverBorderColor = value; }
    TColor HoverTextColor() const { return FHoverTextColor; }
    void SetHoverTextColor(TColor value) { FHoverTextColor = value; }

private:
    std::unique_ptr<ClassLib::TFont> FFont;
    TColor FSelectedBorderColor = TColor(0x947C7C);
    TColor FSelectedTextColor = ClassLib::clWindowText;
    bool FUseSystemFont = true;
    TColor FHoverTextColor = ClassLib::clWindowText;
    TColor FHoverBorderColor = TColor(0x6F4B4B);
    TColor FSelected[4] = {TColor(0xF2E8E8), TColor(0xCDB8B9), ClassLib::clNone, ClassLib::clNone};
    TColor FHover[4] = {TColor(0xCFF6FF), TColor(0x9DD8FF), ClassLib::clNone, ClassLib::clNone};
    TGradientDirection FHoverGradientDirection = gdVertical;
    TGradientDirection FSelectedGradientDirection = gdVertical;
};

// The line between popup items: a solid middle with gradient ends.
class TSeparator : public TGradientBar {
    CLASSLIB_CLASS(TSeparator, TGradientBar)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TSeparator(ClassLib::TMenu* menu = nullptr);
    // From a separator: its four own values, then the base values.
    void Assign(const ClassLib::TPersistent* source) override;

    TGradientType GradientType() const { return FGradientType; }
    void SetGradientType(TGradientType value) { FGradientType = value; }
    int GradientWidth() const { return FGradientWidth; }
    void SetGradientWidth(int value) { FGradientWidth = value; }
    int Margin() const { return FMargin; }
    void SetMargin(int value) { FMargin = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }

private:
    TGradientType FGradientType = gtBoth;
    int FGradientWidth = 0;
    int FMargin = 2;
    int FWidth = 1;
};

// A popup's (or the side bar's) background: a gradient and an optional picture placed
// by Position.
class TBackground : public TGradientBar {
    CLASSLIB_CLASS(TBackground, TGradientBar)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TBackground(ClassLib::TMenu* menu = nullptr);
    ~TBackground() override;
    // From a background: the picture, offsets, margins, position and base values; from
    // another gradient bar its base values.
    void Assign(const ClassLib::TPersistent* source) override;

    // Made on first read; a bitmap graphic is then drawn transparent, its colour taken
    // from its corner.
    ClassLib::TPicture* Image() const;
    // Copies the picture; null empties and frees it.
    void SetImage(const ClassLib::TPicture* value);
    // True when the picture exists and holds a graphic that is not empty.
    bool HasImage() const;
    int OffsetX() const { return FOffsetX; }
    void SetOffsetX(int value) { FOffsetX = value; }
    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int value) { FOffsetY = value; }
    TBackgroundPosition Position() const { return FPosition; }
    void SetPosition(TBackgroundPosition value) { FPosition = value; }
    int MarginX() const { return FMarginX; }
    void SetMarginX(int value) { FMarginX = value; }
    int MarginY() const { return FMarginY; }
    void SetMarginY(int value) { FMarginY = value; }
    // The painter's composed picture, made on first use.
    ClassLib::TBitmap* Bitmap();
    // Where the picture's top-left goes in `rect` for Position and the offsets (the
    // rectangle's top-left for an empty picture and for bpTiled, bpStretched, bpXY).
    void CalcPicturePosition(const ClassLib::TRect& rect, int& x, int& y) const;

private:
    mutable std::unique_ptr<ClassLib::TPicture> FImage;
    int FOffsetX = 0;
    int FOffsetY = 0;
    TBackgroundPosition FPosition = bpCenter;
    int FMarginX = 0;
    int FMarginY = 0;
    std::unique_ptr<ClassLib::TBitmap> FBitmap;
};

// The side bar's caption: text, font, shadow and the direction it runs in.
class TBarCaption : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TBarCaption, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TBarCaption(ClassLib::TMenu* menu = nullptr);
    ~TBarCaption() override;
    void Assign(const ClassLib::TPersistent* source) override;

    ClassLib::TMenu* Menu() const noexcept { return FMenu; }
    void SetMenu(ClassLib::TMenu* menu) { FMenu = menu; }
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& value) { FCaption = value; }
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int value) { FOffsetY = value; }
    TDirection Direction() const { return FDirection; }
    void SetDirection(TDirection value) { FDirection = value; }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value) { FShadowColor = value; }
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor value) { FHighlightColor = value; }
    int Depth() const { return FDepth; }
    void SetDepth(int value) { FDepth = value; }
    ClassLib::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(ClassLib::TAlignment value) { FAlignment = value; }

protected:
    void RefreshMenu() const;
    void AssignCaption(const TBarCaption& from);

private:
    std::wstring FCaption;
    std::unique_ptr<ClassLib::TFont> FFont;
    int FOffsetY = 6;
    TDirection FDirection = dDownToUp;
    TColor FShadowColor = ClassLib::clNone;
    TColor FHighlightColor = ClassLib::clNone;
    int FDepth = 1;
    ClassLib::TAlignment FAlignment = ClassLib::taLeftJustify;
    ClassLib::TMenu* FMenu;
};

// A bar down one side of a popup with its own background, picture, caption and splitter.
class TSideBar : public TBarCaption {
    CLASSLIB_CLASS(TSideBar, TBarCaption)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TSideBar(ClassLib::TMenu* menu = nullptr);
    ~TSideBar() override;
    void Assign(const ClassLib::TPersistent* source) override;

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TSideBarVisibleIn VisibleIn() const { return FVisibleIn; }
    void SetVisibleIn(TSideBarVisibleIn value) { FVisibleIn = value; }
    // The bar's own two backgrounds have no menu: changes made on them directly tell nobody.
    TBackground* Background() const { return FBackground.get(); }
    void SetBackground(const TBackground* value);
    TBackground* Image() const { return FImage.get(); }
    void SetImage(const TBackground* value);
    TSideBarPosition Position() const { return FPosition; }
    void SetPosition(TSideBarPosition value) { FPosition = value; }
    int Size() const { return FSize; }
    void SetSize(int value) { FSize = value; }
    int SplitterWidth() const { return FSplitterWidth; }
    void SetSplitterWidth(int value) { FSplitterWidth = value; }
    int SplitterMargin() const { return FSplitterMargin; }
    void SetSplitterMargin(int value) { FSplitterMargin = value; }
    int SplitterGradientWidth() const { return FSplitterGradientWidth; }
    void SetSplitterGradientWidth(int value) { FSplitterGradientWidth = value; }
    TGradientType SplitterGradientType() const { return FSplitterGradientType; }
    void SetSplitterGradientType(TGradientType value) { FSplitterGradientType = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { FBorderColor = value; }
    TColor SplitterColor() const { return FSplitterColor; }
    void SetSplitterColor(TColor value) { FSplitterColor = value; }
    TColor SplitterColorTo() const { return FSplitterColorTo; }
    void SetSplitterColorTo(TColor value) { FSplitterColorTo = value; }
    // The height of the popup the bar was last painted in.
    int PopupHeight() const { return FPopupHeight; }
    void SetPopupHeight(int value) { FPopupHeight = value; }

private:
    bool FVisible = false;
    std::unique_ptr<TBackground> FBackground;
    std::unique_ptr<TBackground> FImage;
    int FSplitterWidth = 1;
    TSideBarPosition FPosition = spLeft;
    int FSize = 24;
    int FSplitterMargin = 0;
    int FSplitterGradientWidth = 0;
    TGradientType FSplitterGradientType = gtBoth;
    TColor FBorderColor = TColor(0xA19D9D);
    TColor FSplitterColor = TColor(0x808080);
    TColor FSplitterColorTo = ClassLib::clNone;
    TSideBarVisibleIn FVisibleIn = viFirstVisible;
    int FPopupHeight = 0;
};

// Loads one glyph bitmap from the program's bitmap resources (a missing one leaves the
// bitmap empty); tests put a counting loader in its place.
using TGlyphLoader = std::function<void(ClassLib::TBitmap& bitmap, const std::wstring& resourceName)>;
TGlyphLoader& GlyphLoader();

// The sub-menu arrow and the check and radio marks, loaded for the screen's scale.
class TMenuGlyphs : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TMenuGlyphs, ClassLib::TPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TMenuGlyphs(ClassLib::TMenu* menu = nullptr);
    ~TMenuGlyphs() override;
    // From other glyphs: the three bitmaps; anything else changes nothing.
    void Assign(const ClassLib::TPersistent* source) override;

    ClassLib::TMenu* Menu() const noexcept { return FMenu; }
    void SetMenu(ClassLib::TMenu* menu) { FMenu = menu; }
    ClassLib::TBitmap* SubMenu() const { return FSubMenu.get(); }
    void SetSubMenu(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* Check() const { return FCheck.get(); }
    void SetCheck(const ClassLib::TBitmap* value);
    ClassLib::TBitmap* Radio() const { return FRadio.get(); }
    void SetRadio(const ClassLib::TBitmap* value);
    TResType ResType() const noexcept { return FResType; }
    // Loads the bitmaps of the bracket of `dpi` (below 1.5: 1x; from 2: 2x; else 1.5x)
    // unless that bracket is loaded already; bitmaps a user set go with a bracket change.
    void UpdateResources(float dpi);

private:
    void SetGlyph(std::unique_ptr<ClassLib::TBitmap>& glyph, const ClassLib::TBitmap* value);

    std::unique_ptr<ClassLib::TBitmap> FSubMenu;
    std::unique_ptr<ClassLib::TBitmap> FCheck;
    std::unique_ptr<ClassLib::TBitmap> FRadio;
    ClassLib::TMenu* FMenu;
    TResType FResType = rtundefined;
};

// The menu unit's button look (another class than the toolbar unit's of the same name).
class TButtonAppearance : public AdvToolBar::TNotifyingPersistent {
    CLASSLIB_CLASS(TButtonAppearance, AdvToolBar::TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TButtonAppearance();
    ~TButtonAppearance() override;
    // From another button appearance: the colours, direction and borders; any other
    // source is ignored.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(TColor, Color, Told)
    ADVTB_PROPERTY(TColor, ColorTo, Told)
    ADVTB_PROPERTY(TColor, HoverColor, Told)
    ADVTB_PROPERTY(TColor, HoverColorTo, Told)
    ADVTB_PROPERTY(TColor, DownColor, Told)
    ADVTB_PROPERTY(TColor, DownColorTo, Told)
    ADVTB_PROPERTY(TColor, BorderColor, Told)
    TColor DownBorderColor() const { return FDownBorderColor; }
    void SetDownBorderColor(TColor value) { FDownBorderColor = value; }
    TColor HoverBorderColor() const { return FHoverBorderColor; }
    void SetHoverBorderColor(TColor value) { FHoverBorderColor = value; }
    ADVTB_PROPERTY(TGradientDirection, GradientDirection, Told)
    TGlyphPosition GlyphPosition() const { return FGlyphPosition; }
    void SetGlyphPosition(TGlyphPosition value) { FGlyphPosition = value; }
    ClassLib::TFont* CaptionFont() const { return FCaptionFont.get(); }
    void SetCaptionFont(const ClassLib::TFont* value);
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool value);

private:
    void ApplySystemFontName();

    TColor FHoverColor = TColor(0xD2BDB6);
    TColor FColorTo = ClassLib::clNone;
    TColor FColor = ClassLib::clNone;
    TColor FHoverColorTo = ClassLib::clNone;
    TColor FDownColorTo = ClassLib::clNone;
    TColor FDownColor = TColor(0xB59285);
    TColor FDownBorderColor = TColor(0x6A240A);
    TColor FBorderColor = ClassLib::clNone;
    TColor FHoverBorderColor = TColor(0x6A240A);
    TGradientDirection FGradientDirection = gdVertical;
    std::unique_ptr<ClassLib::TFont> FCaptionFont;
    TGlyphPosition FGlyphPosition = gpLeft;
    bool FUseSystemFont = true;
};

// A menu styler: what the menu painter draws a styled menu with. It styles one menu at
// a time (SetMenu); until then its changes tell nobody.
class TCustomAdvMenuStyler : public ClassLib::TComponent {
    CLASSLIB_CLASS(TCustomAdvMenuStyler, ClassLib::TComponent)
public:
    explicit TCustomAdvMenuStyler(ClassLib::TComponent* owner);
    ~TCustomAdvMenuStyler() override;
    // From another menu styler: the seven appearance objects, both fonts and
    // UseSystemFont; AntiAlias, MenuBorderColor and ButtonAppearance stay. Anything else
    // is ignored.
    void Assign(const ClassLib::TPersistent* source) override;

    ClassLib::TMenu* Menu() const noexcept { return FMenu; }
    // Styles `value` from now on: the appearance objects tell it of their changes; then
    // it hears of the change.
    void SetMenu(ClassLib::TMenu* value);

    AdvGDIP::TAntiAlias AntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(AdvGDIP::TAntiAlias value);
    TBackground* Background() const { return FBackground.get(); }
    void SetBackground(const TBackground* value);
    TIconBar* IconBar() const { return FIconBar.get(); }
    void SetIconBar(const TIconBar* value);
    TSelectedItem* SelectedItem() const { return FSelectedItem.get(); }
    void SetSelectedItem(const TSelectedItem* value);
    TRootItem* RootItem() const { return FRootItem.get(); }
    void SetRootItem(const TRootItem* value);
    TMenuGlyphs* Glyphs() const { return FGlyphs.get(); }
    void SetGlyphs(const TMenuGlyphs* value);
    TSideBar* SideBar() const { return FSideBar.get(); }
    void SetSideBar(const TSideBar* value);
    TSeparator* Separator() const { return FSeparator.get(); }
    void SetSeparator(const TSeparator* value);
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    ClassLib::TFont* NotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(const ClassLib::TFont* value);
    bool UseSystemFont() const { return FUseSystemFont; }
    void SetUseSystemFont(bool value);
    TColor MenuBorderColor() const { return FMenuBorderColor; }
    void SetMenuBorderColor(TColor value) { FMenuBorderColor = value; }
    TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(const TButtonAppearance* value);
    // The painter's cache of a popup's rendered background.
    ClassLib::TBitmap* BackgroundBitmap() const { return FBackgroundBitmap.get(); }

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    void RefreshMenu() const;
    void NoticeMenu() const;

private:
    bool FUseSystemFont = true;
    std::unique_ptr<TSeparator> FSeparator;
    std::unique_ptr<TBackground> FBackground;
    std::unique_ptr<ClassLib::TFont> FFont;
    std::unique_ptr<TIconBar> FIconBar;
    std::unique_ptr<TMenuGlyphs> FGlyphs;
    std::unique_ptr<TRootItem> FRootItem;
    std::unique_ptr<TSelectedItem> FSelectedItem;
    std::unique_ptr<TSideBar> FSideBar;
    TColor FMenuBorderColor = TColor(0x7C7C94);
    ClassLib::TMenu* FMenu = nullptr;
    std::unique_ptr<ClassLib::TBitmap> FBackgroundBitmap;
    std::unique_ptr<ClassLib::TFont> FNotesFont;
    AdvGDIP::TAntiAlias FAntiAlias = AdvGDIP::aaNone;
    std::unique_ptr<TButtonAppearance> FButtonAppearance;
};

// The menu styler a form places: publishes everything of its base.
class TAdvMenuStyler : public TCustomAdvMenuStyler {
    CLASSLIB_CLASS(TAdvMenuStyler, TCustomAdvMenuStyler)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvMenuStyler(ClassLib::TComponent* owner) : TCustomAdvMenuStyler(owner) {}
};

}  // namespace AdvMenus
