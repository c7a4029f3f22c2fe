#pragma once
// The ribbon pager's settings that are not colours: the tab geometry with the glass
// switch, the scroll state of a row that may not fit, the contextual tab groups, and
// the hints of the caption and MDI buttons.
#include <memory>
#include <string>

#include "classlib/Collections.h"
#include "classlib/Colors.h"
#include "classlib/Events.h"
#include "classlib/Object.h"
#include "classlib/StandardControls.h"
#include "menus/AdvToolBarBase.h"

namespace ClassLib {
class TComponent;
}

namespace AdvToolBar {

using ClassLib::TColor;
class TGroupAppearance;

// Tab geometry in pixels. Glass is no field: it reads and writes the one process-wide
// glass flag, so every pager's settings read what the last writer set.
class TATBTabSettings : public TNotifyingPersistent {
    CLASSLIB_CLASS(TATBTabSettings, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TATBTabSettings() = default;
    // From other tab settings: the two caption margins, Height, StartMargin and
    // EndMargin through the setters; anything else, null too, raises the class
    // library's assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(int, LeftMargin, Told)
    ADVTB_PROPERTY(int, RightMargin, Told)
    ADVTB_PROPERTY(int, StartMargin, Told)
    ADVTB_PROPERTY(int, EndMargin, Told)
    ADVTB_PROPERTY(int, Height, Told)
    ADVTB_PROPERTY(int, Spacing, Told)
    // The smallest gap and caption margin the tab layout may shrink to.
    int MinSpacing() const { return FMinSpacing; }
    int MinMargin() const { return FMinMargin; }
    bool Glass() const;
    // A change of the flag raises OnGlassChange (not OnChange).
    void SetGlass(bool value);

    ClassLib::TNotifyEvent OnGlassChange;

private:
    int FLeftMargin = 4;
    int FRightMargin = 4;
    int FHeight = 26;
    int FStartMargin = 60;
    int FEndMargin = 0;
    int FSpacing = 4;
    int FMinSpacing = 3;
    int FMinMargin = 3;
};

// The scroll state of a row of tabs or toolbars. Min never exceeds Max; Position is not
// kept inside them.
class TATBTabScroller : public ClassLib::TObject {
    CLASSLIB_CLASS(TATBTabScroller, ClassLib::TObject)
public:
    int Min() const { return FMin; }
    // Refused (the old value stays) when above Max.
    void SetMin(int value) {
        if (value <= FMax) FMin = value;
    }
    int Max() const { return FMax; }
    // Refused (the old value stays) when below Min.
    void SetMax(int value) {
        if (value >= FMin) FMax = value;
    }
    int Position() const { return FPosition; }
    void SetPosition(int value) { FPosition = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    bool CanGoBack() const { return FMin < FPosition; }
    bool CanGoForward() const { return FPosition < FMax; }

private:
    int FMin = 0;
    int FMax = 0;
    int FPosition = 0;
    bool FVisible = false;
};

class TTabGroupItem;

// The pager's contextual tab groups; every change of an item raises OnChange.
class TTabGroups : public ClassLib::TCollection {
    CLASSLIB_CLASS(TTabGroups, ClassLib::TCollection)
public:
    // `owner` is the pager; its current styler lends SetCustomColor its group look.
    explicit TTabGroups(ClassLib::TComponent* owner = nullptr);
    TTabGroupItem* Add();
    TTabGroupItem* Insert(int index);
    TTabGroupItem* GetItem(int index) const;
    // Copies `value` into the item at `index`.
    void SetItem(int index, const TTabGroupItem* value);
    ClassLib::TComponent* Pager() const { return FOwner; }
    // Raises OnChange; each item calls it on every change of its own.
    void Changed();

    ClassLib::TNotifyEvent OnChange;

protected:
    ClassLib::TPersistent* GetOwner() const override;

private:
    ClassLib::TComponent* FOwner;
};

// One contextual tab group: a labelled band above the page tabs TabIndexStart to
// TabIndexEnd, drawn with the styler's group look or, DefaultAppearance off, its own.
class TTabGroupItem : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TTabGroupItem, ClassLib::TCollectionItem)
public:
    static const ClassLib::TPropertyList& Published();
    // Joins `collection`; setting the start values may already raise its OnChange.
    explicit TTabGroupItem(ClassLib::TCollection* collection);
    // Tells the collection first, while still in it.
    ~TTabGroupItem() override;
    // From another item: Caption, ImageIndex and the tab range through the setters, then
    // Tag and GroupObject; any other source raises the class library's assignment error.
    void Assign(const ClassLib::TPersistent* source) override;

    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& value);
    const std::wstring& WideCaption() const { return FWideCaption; }
    void SetWideCaption(const std::wstring& value);
    ClassLib::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(ClassLib::TAlignment value);
    bool DefaultAppearance() const { return FDefaultAppearance; }
    void SetDefaultAppearance(bool value);
    ADVTB_PROPERTY(int, ImageIndex, Told)
    ADVTB_PROPERTY(int, TabIndexStart, Told)
    ADVTB_PROPERTY(int, TabIndexEnd, Told)
    TGroupAppearance* GroupAppearance() const { return FGroupAppearance.get(); }
    void SetGroupAppearance(const TGroupAppearance* value);
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    ClassLib::TObject* GroupObject() const { return FGroupObject; }
    void SetGroupObject(ClassLib::TObject* value) { FGroupObject = value; }
    // The extra horizontal tab margin of the group, kept by the tab layout.
    int TabExtraXMargin() const { return FTabExtraXMargin; }
    void SetTabExtraXMargin(int value) { FTabExtraXMargin = value; }
    int TabCurrentExtraXMargin() const { return FTabCurrentExtraXMargin; }
    void SetTabCurrentExtraXMargin(int value) { FTabCurrentExtraXMargin = value; }

    // Gives the group one colour: its own look, started from the pager's styler's group
    // look when there is one, with `color` as border, mirror (all four fill colours under
    // a scenic ribbon) and the borders of its selected and pressed tabs.
    void SetCustomColor(TColor color);

private:
    void GroupsChanged();
    void StoreTold(int& field, int value);

    std::wstring FCaption;
    std::wstring FWideCaption;
    ClassLib::TAlignment FCaptionAlignment = ClassLib::taLeftJustify;
    bool FDefaultAppearance = true;
    int FImageIndex = 0;      // -1 (no image) once constructed
    int FTabIndexStart = 0;   // -1 (no tab) once constructed
    int FTabIndexEnd = 0;
    std::unique_ptr<TGroupAppearance> FGroupAppearance;
    int FTag = 0;
    ClassLib::TObject* FGroupObject = nullptr;
    int FTabExtraXMargin = 0;
    int FTabCurrentExtraXMargin = 0;
};

// The hint texts of the pager's buttons; an empty one switches its hint off.
class TPagerHints : public TNotifyingPersistent {
    CLASSLIB_CLASS(TPagerHints, TNotifyingPersistent)
public:
    static const ClassLib::TPropertyList& Published();
    TPagerHints() = default;
    // From other hints: the four texts straight; anything else is ignored.
    void Assign(const ClassLib::TPersistent* source) override;

    ADVTB_PROPERTY(const std::wstring&, MDICloseBtnHint, Told)
    ADVTB_PROPERTY(const std::wstring&, MDIMinimizeBtnHint, Told)
    ADVTB_PROPERTY(const std::wstring&, MDIMaximizeBtnHint, Told)
    ADVTB_PROPERTY(const std::wstring&, HelpBtnHint, Told)

private:
    std::wstring FMDICloseBtnHint = L"Close";
    std::wstring FMDIMinimizeBtnHint = L"Minimize";
    std::wstring FMDIMaximizeBtnHint = L"Maximize";
    std::wstring FHelpBtnHint = L"Help";
};

}  // namespace AdvToolBar
