#pragma once
// The standard controls the windows are built from: panel, splitter, label, check box,
// plain multi-line text, image, scroll bar, list box and combo box.
#include <windows.h>

#include <memory>
#include <string>

#include "classlib/Control.h"
#include "classlib/OwnerDrawState.h"

namespace ClassLib {

class TPicture;
class TStringList;
class TStrings;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
template <> struct TEnumNames<TAlignment> {
    static constexpr const wchar_t* TypeName = L"TAlignment";
    static constexpr const wchar_t* Names[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
};
enum TTextLayout { tlTop, tlCenter, tlBottom };
template <> struct TEnumNames<TTextLayout> {
    static constexpr const wchar_t* TypeName = L"TTextLayout";
    static constexpr const wchar_t* Names[] = {L"tlTop", L"tlCenter", L"tlBottom"};
};
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
template <> struct TEnumNames<TBevelCut> {
    static constexpr const wchar_t* TypeName = L"TBevelCut";
    static constexpr const wchar_t* Names[] = {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"};
};

class TCustomPanel : public TCustomControl {
    CLASSLIB_CLASS(TCustomPanel, TCustomControl)
public:
    static const TPropertyList& Published();
    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);

protected:
    void AdjustClientRect(TRect& rect) const override;
    void Paint() override;

private:
    int FrameWidth() const;

    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = taCenter;
    bool FShowCaption = true;
};

class TPanel : public TCustomPanel {
    CLASSLIB_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// A frame with its caption in the top edge that holds a group of controls.
class TGroupBox : public TCustomControl {
    CLASSLIB_CLASS(TGroupBox, TCustomControl)
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void Paint() override;
};

// Drags the edge between the control aligned before it and the rest of the parent.
class TSplitter : public TGraphicControl {
    CLASSLIB_CLASS(TSplitter, TGraphicControl)
public:
    static const TPropertyList& Published();
    explicit TSplitter(TComponent* owner);

    int MinSize() const { return FMinSize; }
    void SetMinSize(int value) { FMinSize = value < 1 ? 1 : value; }
    // The control the splitter resizes: the one aligned to the same side right before it.
    TControl* FindResizeControl() const;
    TNotifyEvent OnMoved;
    void Loaded() override;
    void ChangeScale(int m, int d) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    int FMinSize = 30;
    TControl* FControl = nullptr;
    TPoint FDownPos;
    int FStartSize = 0;
    bool FDragging = false;
};

class TCustomLabel : public TGraphicControl {
    CLASSLIB_CLASS(TCustomLabel, TGraphicControl)
public:
    static const TPropertyList& Published();
    explicit TCustomLabel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    // The control an accelerator of the caption moves the focus to.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    void SetText(const std::wstring& value) override;
    void Loaded() override;

protected:
    void Paint() override;
    void FontChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    void AdjustBounds();

private:
    TTextFormat TextFlags() const;

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
    CLASSLIB_CLASS(TLabel, TCustomLabel)
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
template <> struct TEnumNames<TCheckBoxState> {
    static constexpr const wchar_t* TypeName = L"TCheckBoxState";
    static constexpr const wchar_t* Names[] = {L"cbUnchecked", L"cbChecked", L"cbGrayed"};
};

class TCheckBox : public TWinControl {
    CLASSLIB_CLASS(TCheckBox, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TCheckBox(TComponent* owner);

    bool Checked() const { return FState == cbChecked; }
    // A change raises OnClick, from code as from the mouse.
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;
    void Dispatch(TMessage& message) override;
    // Moves to the next state, as a click does.
    virtual void Toggle();

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

// A plain multi-line text control; its lines are a string list.
class TMemo : public TWinControl {
    CLASSLIB_CLASS(TMemo, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TMemo(TComponent* owner);
    ~TMemo() override;

    TStrings* Lines() const;
    void SetLines(const TStrings* value);
    std::wstring GetText() const override;
    void SetText(const std::wstring& value) override;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Change();

private:
    void LinesChanged();
    void PullWindowText();

    std::unique_ptr<TStringList> FLines;
    bool FReadOnly = false;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    bool FSyncing = false;
};

class TImage : public TGraphicControl {
    CLASSLIB_CLASS(TImage, TGraphicControl)
public:
    static const TPropertyList& Published();
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(const TPicture* value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value) { FStretch = value; Invalidate(); }
    bool Center() const { return FCenter; }
    void SetCenter(bool value) { FCenter = value; Invalidate(); }
    bool Proportional() const { return FProportional; }
    void SetProportional(bool value) { FProportional = value; Invalidate(); }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; Invalidate(); }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    // Where the picture is drawn in the control's client area.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();

    std::unique_ptr<TPicture> FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
    bool FAutoSize = false;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
template <> struct TEnumNames<TScrollBarKind> {
    static constexpr const wchar_t* TypeName = L"TScrollBarKind";
    static constexpr const wchar_t* Names[] = {L"sbHorizontal", L"sbVertical"};
};
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* sender, TScrollCode scrollCode, int& scrollPos)>;

class TScrollBar : public TWinControl {
    CLASSLIB_CLASS(TScrollBar, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Min() const { return FMin; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int Position() const { return FPosition; }
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }
    // Position is kept within [Min, Max - max(PageSize - 1, 0)]; OnChange fires when it moved.
    void SetParams(int position, int min, int max);

    TScrollEvent OnScroll;
    TNotifyEvent OnChange;

    // What a scroll code from the bar does: a new position, OnScroll, then the position.
    void Scroll(TScrollCode code, int trackPos);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;
    void Dispatch(TMessage& message) override;
    virtual void Change();

private:
    void UpdateWindow();

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
    int FSmallChange = 1, FLargeChange = 1;
};

using TDrawItemEvent = std::function<void(TWinControl* control, int index, TRect rect, TOwnerDrawState state)>;
using TMeasureItemEvent = std::function<void(TWinControl* control, int index, int& height)>;

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
template <> struct TEnumNames<TListBoxStyle> {
    static constexpr const wchar_t* TypeName = L"TListBoxStyle";
    static constexpr const wchar_t* Names[] = {L"lbStandard", L"lbOwnerDrawFixed", L"lbOwnerDrawVariable"};
};

// Common to list and combo boxes: the items (a string list kept in step with the window),
// the selection and owner drawing on a canvas.
class TCustomListControl : public TWinControl {
    CLASSLIB_CLASS(TCustomListControl, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TCustomListControl(TComponent* owner);
    ~TCustomListControl() override;

    TStrings* Items() const;
    void SetItems(const TStrings* value);
    int ItemIndex() const;
    void SetItemIndex(int value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    bool Sorted() const;
    void SetSorted(bool value);
    TCanvas* Canvas() const;
    void ChangeScale(int m, int d) override;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateWindowHandleDone() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    // The window's messages for the item operations (list box or combo box).
    virtual UINT MsgAdd() const = 0;
    virtual UINT MsgReset() const = 0;
    virtual UINT MsgGetSel() const = 0;
    virtual UINT MsgSetSel() const = 0;
    virtual UINT MsgSetItemHeight() const = 0;
    virtual void ItemsChanged();

    int FItemIndex = -1;  // kept while there is no window
    int FItemHeight = 16;

private:
    void FillWindow();

    std::unique_ptr<TStringList> FItems;
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TListBox : public TCustomListControl {
    CLASSLIB_CLASS(TListBox, TCustomListControl)
public:
    static const TPropertyList& Published();
    explicit TListBox(TComponent* owner);

    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    int TopIndex() const;
    void SetTopIndex(int value);
    int Count() const;
    // The item under a client point, or -1.
    int ItemAtPos(const TPoint& point) const;
    TRect ItemRect(int index) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    UINT MsgAdd() const override { return LB_ADDSTRING; }
    UINT MsgReset() const override { return LB_RESETCONTENT; }
    UINT MsgGetSel() const override { return LB_GETCURSEL; }
    UINT MsgSetSel() const override { return LB_SETCURSEL; }
    UINT MsgSetItemHeight() const override { return LB_SETITEMHEIGHT; }

private:
    TListBoxStyle FStyle = lbStandard;
    int FTopIndex = 0;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
template <> struct TEnumNames<TComboBoxStyle> {
    static constexpr const wchar_t* TypeName = L"TComboBoxStyle";
    static constexpr const wchar_t* Names[] = {L"csDropDown", L"csSimple", L"csDropDownList", L"csOwnerDrawFixed", L"csOwnerDrawVariable"};
};

class TComboBox : public TCustomListControl {
    CLASSLIB_CLASS(TComboBox, TCustomListControl)
public:
    static const TPropertyList& Published();
    explicit TComboBox(TComponent* owner);

    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value) { FDropDownCount = value; }
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    std::wstring GetText() const override;
    void SetText(const std::wstring& value) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    virtual void Change();
    virtual void Select();
    UINT MsgAdd() const override { return CB_ADDSTRING; }
    UINT MsgReset() const override { return CB_RESETCONTENT; }
    UINT MsgGetSel() const override { return CB_GETCURSEL; }
    UINT MsgSetSel() const override { return CB_SETCURSEL; }
    UINT MsgSetItemHeight() const override { return CB_SETITEMHEIGHT; }

private:
    TComboBoxStyle FStyle = csDropDown;
    int FDropDownCount = 8;
};

}  // namespace ClassLib
