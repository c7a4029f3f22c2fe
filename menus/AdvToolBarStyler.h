#pragma once
// The toolbar styler base: the one look that dock panels, toolbars (with the copy in a
// compact toolbar's window) and ribbon pagers share. It owns every colour set, font and
// picture they paint with, keeps the list of controls attached to it and tells each of
// them of a change with an integer code; the controls then re-read what they need.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Colors.h"
#include "classlib/EnumNames.h"
#include "classlib/Object.h"
#include "classlib/StandardControls.h"
#include "controls/AdvGlowButtonAppearance.h"
#include "graphics/AdvStyleIF.h"
#include "menus/AdvToolBarAppearance.h"
#include "menus/AdvToolBarBase.h"
#include "menus/AdvToolBarPagerAppearance.h"

namespace ClassLib {
class TBitmap;
class TCustomControl;
class TFont;
}  // namespace ClassLib

namespace AdvMenus {
class TCustomAdvMenuStyler;
class TAdvMenuStyler;
}  // namespace AdvMenus

namespace AdvToolBar {

class TCustomAdvToolBarStyler;
class TATBTabSettings;

enum TBackGroundDisplay : std::uint8_t { bdTile, bdCenter, bdStretch };
enum TDragGripStyle : std::uint8_t { dsDots, dsSingleLine, dsDoubleLine, dsFlatDots, dsNone };
// How a pager draws its tab groups for office tones.
enum TGroupStyle : std::uint8_t { gsClassic, gsOffice2013, gsWindows8, gsOffice2016, gsOffice2019 };

}  // namespace AdvToolBar

template <> struct ClassLib::TEnumNames<AdvToolBar::TBackGroundDisplay> {
    static constexpr const wchar_t* TypeName = L"TBackGroundDisplay";
    static constexpr const wchar_t* Names[] = {L"bdTile", L"bdCenter", L"bdStretch"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TDragGripStyle> {
    static constexpr const wchar_t* TypeName = L"TDragGripStyle";
    static constexpr const wchar_t* Names[] = {L"dsDots", L"dsSingleLine", L"dsDoubleLine", L"dsFlatDots", L"dsNone"};
};
template <> struct ClassLib::TEnumNames<AdvToolBar::TGroupStyle> {
    static constexpr const wchar_t* TypeName = L"TGroupStyle";
    static constexpr const wchar_t* Names[] = {L"gsClassic", L"gsOffice2013", L"gsWindows8", L"gsOffice2016",
                                               L"gsOffice2019"};
};

namespace AdvToolBar {

// The tone sets a preset hands to a pager: its buttons, tabs and page, and the
// application colours (the styler's own AppColor, not a copy).
struct TOfficeTones {
    AdvStyleIF::TColorTones Buttons;
    AdvStyleIF::TColorTones Tab;
    AdvStyleIF::TColorTones Pager;
    TAppColor* App = nullptr;
};

enum class TStylerClientKind { DockPanel, ToolBar, Pager };

// What the styler asks of an attached dock panel, toolbar or pager.
class IToolBarStylerClient {
public:
    virtual TStylerClientKind StylerClientKind() const = 0;
    // The control's own reaction to a change code.
    virtual void StylerChanged(int code) = 0;
    // The assigned styler, or null while the control paints with its internal one.
    virtual TCustomAdvToolBarStyler* ToolBarStyler() const = 0;
    // Null returns the control to its internal styler; it leaves this styler's list.
    virtual void SetToolBarStyler(TCustomAdvToolBarStyler* value) = 0;
    // A toolbar in compact mode whose compact window exists: the copy shown there.
    virtual IToolBarStylerClient* CompactCopy() const { return nullptr; }
protected:
    ~IToolBarStylerClient() = default;
};

// What the styler and its presets ask of an attached pager.
class IToolBarStylerPager {
public:
    // Its tab settings; their Glass is one process-wide flag.
    virtual TATBTabSettings* TabSettings() const = 0;
    virtual bool Win7ScenicRibbon() const = 0;
    virtual void SetWin7ScenicRibbon(bool value) = 0;
    virtual void SetTabBackGroundShaded(bool value) = 0;
    virtual void SetIsAeroVista(bool value) = 0;
    virtual void SetUpdateHelpButtonRes(bool value) = 0;
    virtual void UpdateHelpButton() = 0;
    // Tones off, group style gsClassic.
    virtual void ClearOfficeTones() = 0;
    // Rebuilds the pager's own appearance objects from the tones and the group style.
    virtual void SetOfficeTones(const TOfficeTones& tones, TGroupStyle groupStyle) = 0;
    virtual void UpdateQAT() = 0;
    // The styler the pager paints with: the assigned one, else its internal one.
    virtual TCustomAdvToolBarStyler* CurrentToolBarStyler() const = 0;
    // The pager's own objects, read back after office tones.
    virtual TVistaPageBackground* PageAppearance() const = 0;
    virtual TTabAppearance* TabAppearance() const = 0;
    virtual TGroupAppearance* GroupAppearance() const = 0;
    virtual TCaptionAppearance* CaptionAppearance() const = 0;
    virtual AdvGlowButton::TGlowButtonAppearance* GlowButtonAppearance() const = 0;
    virtual TVistaTextBackground* PagerCaption() const = 0;
    virtual TContainerAppearance* ContainerAppearance() const = 0;
protected:
    ~IToolBarStylerPager() = default;
};

// The lines of a theme file after its first: SaveToTextFile appends them, LoadFromTextFile
// takes them in order (an empty text once the file has ended).
class TThemeLines {
public:
    TThemeLines() = default;
    explicit TThemeLines(std::vector<std::wstring> lines) : FLines(std::move(lines)) {}
    void WriteLine(std::wstring line) { FLines.push_back(std::move(line)); }
    std::wstring ReadLine() { return FNext < FLines.size() ? FLines[FNext++] : std::wstring(); }
    bool Eof() const { return FNext >= FLines.size(); }
    const std::vector<std::wstring>& Lines() const { return FLines; }
private:
    std::vector<std::wstring> FLines;
    size_t FNext = 0;
};

// Change codes the styler sends; each control decides what to redo for one.
enum TStylerChange : int {
    scBackGround = 1,        // background picture, its display, the font
    scColors = 2,            // colours, borders, handles, caption font and most settings
    scContainer = 4,         // the container's line
    scDragGrip = 5,
    scMenuStyler = 6,
    scGlowButtons = 7,
    scPagerLooks = 10,       // tabs, pages, tab groups
    scPagerCaption = 11,     // the caption bar and the caption buttons
    scQuickAccess = 12,
};

class TCustomAdvToolBarStyler : public ClassLib::TComponent {
    CLASSLIB_CLASS(TCustomAdvToolBarStyler, ClassLib::TComponent)
public:
    explicit TCustomAdvToolBarStyler(ClassLib::TComponent* owner);
    // Detaches the dock panels and pagers that use it (not while designed); toolbars
    // hear of its end through their removal notice.
    ~TCustomAdvToolBarStyler() override;
    // From another styler: its external menu styler into the current one, the gradients
    // Color and DockColor, the background picture and its settings, Font, the drag grip
    // and its picture, the right-handle picture, the floating window's border, the
    // caption appearance, FormBorderColor, ButtonAppearance, ShowShadow and Show3D; the
    // setters send their codes. Any other source raises the class library's assignment error.
    void Assign(const ClassLib::TPersistent* source) override;
    void Loaded() override;

    // Attachment: a control appears once per AddControl, in attachment order.
    void AddControl(ClassLib::TCustomControl* control);
    void RemoveControl(ClassLib::TCustomControl* control);
    const TDbgList* ControlList() const { return FControlList.get(); }
    // NotifyChange(2): every attached control re-reads the styler.
    void UpdateStyle();
    // Tells each attached, named control the code, in list order, unless destroyed,
    // loading or inside BeginUpdate..EndUpdate; a control's exception is swallowed.
    void NotifyChange(int code);
    void BeginUpdate() { ++FUpdateCount; }
    // Sends nothing: whoever ends a batch sends the code it needs.
    void EndUpdate() {
        if (FUpdateCount > 0) --FUpdateCount;
    }
    int UpdateCount() const { return FUpdateCount; }
    // Remembers the style, then sets glass and scenic mode of every attached pager once.
    void ApplyStyleToPagers(AdvStyleIF::TOVTStyle style);
    IToolBarStylerPager* GetFirstPager() const;
    virtual void ReapplyStyle() {}

    // The theme file's lines 2 to 304 (keys and values in their fixed order); reading
    // applies each value through its setter, and any failure raises "Corrupt file".
    void SaveToTextFile(TThemeLines& file) const;
    void LoadFromTextFile(TThemeLines& file);

    AdvStyleIF::TOVTStyle OVTStyle() const { return FOVTStyle; }
    AdvStyleIF::TOVTStyle NewOVTStyle() const { return FNewOVTStyle; }
    // The quick access toolbar draws its curve sharp.
    bool QatSharpCurve() const { return FQatSharpCurve; }

    TAppColor* AppColor() const { return FAppColor.get(); }
    void SetAppColor(const TAppColor* value) { FAppColor->Assign(value); }
    // The external menu styler; code 6 on every assignment.
    AdvMenus::TCustomAdvMenuStyler* AdvMenuStyler() const { return FAdvMenuStyler; }
    void SetAdvMenuStyler(AdvMenus::TCustomAdvMenuStyler* value);
    // The external menu styler when set, else the internal one.
    AdvMenus::TCustomAdvMenuStyler* CurrentAdvMenuStyler() const { return FCurrentAdvMenuStyler; }
    AdvMenus::TAdvMenuStyler* InternalAdvMenuStyler() const { return FInternalAdvMenuStyler; }
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    virtual void SetAutoThemeAdapt(bool value) { FAutoThemeAdapt = value; }
    ClassLib::TBitmap* BackGround() const { return FBackGround.get(); }
    void SetBackGround(const ClassLib::TBitmap* value);
    bool BackGroundTransparent() const { return FBackGroundTransparent; }
    void SetBackGroundTransparent(bool value);
    TBackGroundDisplay BackGroundDisplay() const { return FBackGroundDisplay; }
    void SetBackGroundDisplay(TBackGroundDisplay value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { StoreColour(FBorderColor, value); }
    TColor BorderColorHot() const { return FBorderColorHot; }
    void SetBorderColorHot(TColor value) { StoreColour(FBorderColorHot, value); }
    TButtonAppearance* ButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(const TButtonAppearance* value) { FButtonAppearance->Assign(value); }
    TCaptionAppearance* CaptionAppearance() const { return FCaptionAppearance.get(); }
    void SetCaptionAppearance(const TCaptionAppearance* value) { FCaptionAppearance->Assign(value); }
    ClassLib::TFont* CaptionFont() const { return FCaptionFont.get(); }
    void SetCaptionFont(const ClassLib::TFont* value);
    TContainerAppearance* ContainerAppearance() const { return FContainerAppearance.get(); }
    void SetContainerAppearance(const TContainerAppearance* value) { FContainerAppearance->Assign(value); }
    TVistaGradientBackground* Color() const { return FColor.get(); }
    void SetColor(const TVistaGradientBackground* value) { FColor->Assign(value); }
    TVistaGradientBackground* ColorHot() const { return FColorHot.get(); }
    void SetColorHot(const TVistaGradientBackground* value) { FColorHot->Assign(value); }
    AdvGlowButton::TGlowButtonAppearance* CompactGlowButtonAppearance() const {
        return FCompactGlowButtonAppearance.get();
    }
    void SetCompactGlowButtonAppearance(const AdvGlowButton::TGlowButtonAppearance* value) {
        FCompactGlowButtonAppearance->Assign(value);
    }
    TGradientBackground* DockColor() const { return FDockColor.get(); }
    void SetDockColor(const TGradientBackground* value) { FDockColor->Assign(value); }
    TDragGripStyle DragGripStyle() const { return FDragGripStyle; }
    void SetDragGripStyle(TDragGripStyle value);
    ClassLib::TBitmap* DragGripImage() const { return FDragGripImage.get(); }
    void SetDragGripImage(const ClassLib::TBitmap* value);
    TColor FloatingWindowBorderColor() const { return FFloatingWindowBorderColor; }
    void SetFloatingWindowBorderColor(TColor value) { StoreColour(FFloatingWindowBorderColor, value); }
    int FloatingWindowBorderWidth() const { return FFloatingWindowBorderWidth; }
    void SetFloatingWindowBorderWidth(int value);
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value);
    AdvGlowButton::TGlowButtonAppearance* GlowButtonAppearance() const { return FGlowButtonAppearance.get(); }
    void SetGlowButtonAppearance(const AdvGlowButton::TGlowButtonAppearance* value) {
        FGlowButtonAppearance->Assign(value);
    }
    TGroupAppearance* GroupAppearance() const { return FGroupAppearance.get(); }
    void SetGroupAppearance(const TGroupAppearance* value) { FGroupAppearance->Assign(value); }
    TVistaPageBackground* PageAppearance() const { return FPageAppearance.get(); }
    void SetPageAppearance(const TVistaPageBackground* value) { FPageAppearance->Assign(value); }
    TVistaTextBackground* PagerCaption() const { return FPagerCaption.get(); }
    void SetPagerCaption(const TVistaTextBackground* value) { FPagerCaption->Assign(value); }
    TQATAppearance* QATAppearance() const { return FQATAppearance.get(); }
    void SetQATAppearance(const TQATAppearance* value) { FQATAppearance->Assign(value); }
    ClassLib::TBitmap* RightHandleImage() const { return FRightHandleImage.get(); }
    void SetRightHandleImage(const ClassLib::TBitmap* value);
    TColor RightHandleColor() const { return FRightHandleColor; }
    void SetRightHandleColor(TColor value) { StoreColour(FRightHandleColor, value); }
    TColor RightHandleColorTo() const { return FRightHandleColorTo; }
    void SetRightHandleColorTo(TColor value) { StoreColour(FRightHandleColorTo, value); }
    TColor RightHandleColorHot() const { return FRightHandleColorHot; }
    void SetRightHandleColorHot(TColor value) { StoreColour(FRightHandleColorHot, value); }
    TColor RightHandleColorHotTo() const { return FRightHandleColorHotTo; }
    void SetRightHandleColorHotTo(TColor value) { StoreColour(FRightHandleColorHotTo, value); }
    TColor RightHandleColorDown() const { return FRightHandleColorDown; }
    void SetRightHandleColorDown(TColor value) { StoreColour(FRightHandleColorDown, value); }
    TColor RightHandleColorDownTo() const { return FRightHandleColorDownTo; }
    void SetRightHandleColorDownTo(TColor value) { StoreColour(FRightHandleColorDownTo, value); }
    TTabAppearance* TabAppearance() const { return FTabAppearance.get(); }
    void SetTabAppearance(const TTabAppearance* value) { FTabAppearance->Assign(value); }
    // Switched on, Font and CaptionFont take the system font rule again.
    bool SystemFont() const { return FSystemFont; }
    void SetSystemFont(bool value);
    // Sends 2 on every assignment.
    bool RoundEdges() const { return FRoundEdges; }
    void SetRoundEdges(bool value);
    bool UseBevel() const { return FUseBevel; }
    void SetUseBevel(bool value);
    // Stored only: no control is told.
    TColor FormBorderColor() const { return FFormBorderColor; }
    void SetFormBorderColor(TColor value) { FFormBorderColor = value; }
    TColor SysButtonColor() const { return FSysButtonColor; }
    void SetSysButtonColor(TColor value);
    bool Show3D() const { return FShow3D; }
    void SetShow3D(bool value);
    bool ShowShadow() const { return FShowShadow; }
    void SetShowShadow(bool value);
    ClassLib::TBevelCut Bevel() const { return FBevel; }
    void SetBevel(ClassLib::TBevelCut value);

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;
    // Store a differing value and send 2.
    void StoreColour(TColor& field, TColor value);
    void StoreFlag(bool& field, bool value);
    // "Segoe UI" at -12 or "Tahoma" at -11 for Font, the face alone for CaptionFont.
    void ApplySystemFontRule();

    bool FAutoThemeAdapt = false;
    TColor FRightHandleColor = TColor(0x9E9E9E);
    TColor FRightHandleColorHot = TColor(0xD2BDB6);
    TColor FRightHandleColorTo = ClassLib::clBlack;
    TColor FRightHandleColorHotTo = ClassLib::clBlack;
    TColor FRightHandleColorDown = TColor(0x76C1FF);
    TColor FRightHandleColorDownTo = TColor(0x2DA0FF);
    int FFloatingWindowBorderWidth = 2;
    TColor FFloatingWindowBorderColor = TColor(0x6D6D6D);
    TColor FBorderColor = ClassLib::clNone;
    TColor FBorderColorHot = ClassLib::clNone;
    TDragGripStyle FDragGripStyle = dsDots;
    bool FRoundEdges = true;
    ClassLib::TBevelCut FBevel = ClassLib::bvNone;
    bool FUseBevel = false;
    bool FSystemFont = true;
    bool FQatSharpCurve = false;
    TColor FFormBorderColor = ClassLib::clGray;
    TColor FSysButtonColor = ClassLib::clBlack;
    AdvStyleIF::TOVTStyle FOVTStyle = AdvStyleIF::tsOffice2003Blue;
    AdvStyleIF::TOVTStyle FNewOVTStyle = AdvStyleIF::tsOffice2003Blue;
    std::unique_ptr<TDbgList> FControlList;   // null once destruction began
    int FUpdateCount = 0;

private:
    std::unique_ptr<TAppColor> FAppColor;
    std::unique_ptr<ClassLib::TBitmap> FBackGround;
    bool FBackGroundTransparent = true;
    TBackGroundDisplay FBackGroundDisplay = bdTile;
    std::unique_ptr<ClassLib::TFont> FFont;
    std::unique_ptr<ClassLib::TBitmap> FDragGripImage;
    std::unique_ptr<ClassLib::TBitmap> FRightHandleImage;
    std::unique_ptr<TCaptionAppearance> FCaptionAppearance;
    std::unique_ptr<TVistaGradientBackground> FColor;
    std::unique_ptr<TGradientBackground> FDockColor;
    std::unique_ptr<TButtonAppearance> FButtonAppearance;
    AdvMenus::TAdvMenuStyler* FInternalAdvMenuStyler = nullptr;   // owned as a component
    AdvMenus::TCustomAdvMenuStyler* FAdvMenuStyler = nullptr;
    AdvMenus::TCustomAdvMenuStyler* FCurrentAdvMenuStyler = nullptr;
    std::unique_ptr<TVistaGradientBackground> FColorHot;
    std::unique_ptr<ClassLib::TFont> FCaptionFont;
    std::unique_ptr<TContainerAppearance> FContainerAppearance;
    std::unique_ptr<AdvGlowButton::TGlowButtonAppearance> FGlowButtonAppearance;
    std::unique_ptr<AdvGlowButton::TGlowButtonAppearance> FCompactGlowButtonAppearance;
    std::unique_ptr<TVistaTextBackground> FPagerCaption;
    std::unique_ptr<TTabAppearance> FTabAppearance;
    std::unique_ptr<TVistaPageBackground> FPageAppearance;
    std::unique_ptr<TGroupAppearance> FGroupAppearance;
    std::unique_ptr<TQATAppearance> FQATAppearance;
    bool FShowShadow = true;
    bool FShow3D = true;
};

}  // namespace AdvToolBar
