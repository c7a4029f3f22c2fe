#include "menus/AdvToolBarPagerSettings.h"

#include "classlib/Properties.h"
#include "graphics/AdvGDIP.h"
#include "menus/AdvToolBarPagerAppearance.h"
#include "menus/AdvToolBarStyler.h"

namespace AdvToolBar {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TATBTabSettings, TNotifyingPersistent)
CLASSLIB_IMPLEMENT(TATBTabScroller, ClassLib::TObject)
CLASSLIB_IMPLEMENT(TTabGroups, ClassLib::TCollection)
CLASSLIB_IMPLEMENT(TTabGroupItem, ClassLib::TCollectionItem)
CLASSLIB_IMPLEMENT(TPagerHints, TNotifyingPersistent)

// ---------------------------------------------------------------- TATBTabSettings

const TPropertyList& TATBTabSettings::Published() {
    using T = TATBTabSettings;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"LeftMargin", &T::LeftMargin, &T::SetLeftMargin, 4)
        .Add(L"RightMargin", &T::RightMargin, &T::SetRightMargin, 4)
        .Add(L"StartMargin", &T::StartMargin, &T::SetStartMargin, 60)
        .Add(L"EndMargin", &T::EndMargin, &T::SetEndMargin, 0)
        .Stored(L"EndMargin", true)
        .Add(L"Height", &T::Height, &T::SetHeight, 26)
        .Add(L"Spacing", &T::Spacing, &T::SetSpacing, 4);
    return list;
}

bool TATBTabSettings::Glass() const { return AdvGDIP::GetGlassFlag(); }

void TATBTabSettings::SetGlass(bool value) {
    if (value == AdvGDIP::GetGlassFlag()) return;
    AdvGDIP::SetGlassFlag(value);
    if (OnGlassChange) OnGlassChange(this);
}

void TATBTabSettings::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TATBTabSettings*>(source);
    if (!from) {
        TPersistent::Assign(source);
        return;
    }
    SetLeftMargin(from->FLeftMargin);
    SetRightMargin(from->FRightMargin);
    SetHeight(from->FHeight);
    SetStartMargin(from->FStartMargin);
    SetEndMargin(from->FEndMargin);
}

// ---------------------------------------------------------------- TTabGroups

TTabGroups::TTabGroups(TComponent* owner) : TCollection(&CreateCollectionItem<TTabGroupItem>), FOwner(owner) {}

TTabGroupItem* TTabGroups::Add() { return static_cast<TTabGroupItem*>(TCollection::Add()); }
TTabGroupItem* TTabGroups::Insert(int index) { return static_cast<TTabGroupItem*>(TCollection::Insert(index)); }
TTabGroupItem* TTabGroups::GetItem(int index) const { return static_cast<TTabGroupItem*>(Items(index)); }
void TTabGroups::SetItem(int index, const TTabGroupItem* value) { GetItem(index)->Assign(value); }

TPersistent* TTabGroups::GetOwner() const { return FOwner; }

void TTabGroups::Changed() {
    if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- TTabGroupItem

const TPropertyList& TTabGroupItem::Published() {
    using I = TTabGroupItem;
    // Nothing declares a default: every value is written.
    static const TPropertyList list = TPropertyList::Extend(TCollectionItem::Published())
        .Add(L"Caption", &I::Caption, &I::SetCaption, L"")
        .Enum(L"CaptionAlignment", &I::CaptionAlignment, &I::SetCaptionAlignment, taLeftJustify)
        .Add(L"DefaultAppearance", &I::DefaultAppearance, &I::SetDefaultAppearance, true)
        .Add(L"ImageIndex", &I::ImageIndex, &I::SetImageIndex, -1)
        .Add(L"TabIndexStart", &I::TabIndexStart, &I::SetTabIndexStart, -1)
        .Add(L"TabIndexEnd", &I::TabIndexEnd, &I::SetTabIndexEnd, -1)
        .SubObject(L"GroupAppearance", &I::GroupAppearance)
        .Add(L"Tag", &I::Tag, &I::SetTag, 0)
        .Stored(L"Caption", true)
        .Stored(L"CaptionAlignment", true)
        .Stored(L"DefaultAppearance", true)
        .Stored(L"ImageIndex", true)
        .Stored(L"TabIndexStart", true)
        .Stored(L"TabIndexEnd", true)
        .Stored(L"Tag", true);
    return list;
}

TTabGroupItem::TTabGroupItem(TCollection* collection)
    : TCollectionItem(collection), FGroupAppearance(std::make_unique<TGroupAppearance>()) {
    FGroupAppearance->OnChange = [this](TObject*) { GroupsChanged(); };
    SetCaption(L"");
    SetCaptionAlignment(taLeftJustify);
    SetImageIndex(-1);
    SetTabIndexStart(-1);
    SetTabIndexEnd(-1);
    FDefaultAppearance = true;
    FTabExtraXMargin = 0;
    FTabCurrentExtraXMargin = 0;
}

TTabGroupItem::~TTabGroupItem() { GroupsChanged(); }

void TTabGroupItem::GroupsChanged() {
    if (auto* groups = dynamic_cast<TTabGroups*>(Collection())) groups->Changed();
}

void TTabGroupItem::StoreTold(int& field, int value) {
    if (field == value) return;
    field = value;
    GroupsChanged();
}

void TTabGroupItem::SetCaption(const std::wstring& value) {
    if (value == FCaption) return;
    FCaption = value;
    GroupsChanged();
}

void TTabGroupItem::SetWideCaption(const std::wstring& value) {
    if (value == FWideCaption) return;
    FWideCaption = value;
    GroupsChanged();
}

void TTabGroupItem::SetCaptionAlignment(TAlignment value) {
    if (value == FCaptionAlignment) return;
    FCaptionAlignment = value;
    GroupsChanged();
}

void TTabGroupItem::SetDefaultAppearance(bool value) {
    if (value == FDefaultAppearance) return;
    FDefaultAppearance = value;
    GroupsChanged();
}

void TTabGroupItem::SetGroupAppearance(const TGroupAppearance* value) { FGroupAppearance->Assign(value); }

void TTabGroupItem::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TTabGroupItem*>(source);
    if (!from) {
        TCollectionItem::Assign(source);
        return;
    }
    SetCaption(from->FCaption);
    SetImageIndex(from->FImageIndex);
    SetTabIndexStart(from->FTabIndexStart);
    SetTabIndexEnd(from->FTabIndexEnd);
    FTag = from->FTag;
    FGroupObject = from->FGroupObject;
}

void TTabGroupItem::SetCustomColor(TColor color) {
    SetDefaultAppearance(false);
    auto* groups = dynamic_cast<TTabGroups*>(Collection());
    auto* pager = groups ? dynamic_cast<IToolBarStylerPager*>(groups->Pager()) : nullptr;
    if (TCustomAdvToolBarStyler* styler = pager ? pager->CurrentToolBarStyler() : nullptr)
        FGroupAppearance->Assign(styler->GroupAppearance());
    TGroupAppearance& look = *FGroupAppearance;
    look.SetBorderColor(color);
    if (AdvGDIP::GetScenicRibbonFlag()) {
        look.SetColor(color);
        look.SetColorTo(color);
        look.SetColorMirror(color);
    }
    look.SetColorMirrorTo(color);
    TCustomTabAppearance& tabs = *look.TabAppearance();
    tabs.SetBorderColorSelectedHot(color);
    tabs.SetBorderColorDown(color);
    tabs.SetBorderColorSelected(color);
    tabs.SetBorderColorHot(color);
}

// ---------------------------------------------------------------- TPagerHints

const TPropertyList& TPagerHints::Published() {
    using H = TPagerHints;
    static const TPropertyList list = TPropertyList::Extend(TPersistent::Published())
        .Add(L"MDICloseBtnHint", &H::MDICloseBtnHint, &H::SetMDICloseBtnHint, L"Close")
        .Add(L"MDIMinimizeBtnHint", &H::MDIMinimizeBtnHint, &H::SetMDIMinimizeBtnHint, L"Minimize")
        .Add(L"MDIMaximizeBtnHint", &H::MDIMaximizeBtnHint, &H::SetMDIMaximizeBtnHint, L"Maximize")
        .Add(L"HelpBtnHint", &H::HelpBtnHint, &H::SetHelpBtnHint, L"Help")
        .Event(L"OnChange", &H::OnChange);
    return list;
}

void TPagerHints::Assign(const TPersistent* source) {
    const auto* from = dynamic_cast<const TPagerHints*>(source);
    if (!from) return;
    FMDICloseBtnHint = from->FMDICloseBtnHint;
    FMDIMinimizeBtnHint = from->FMDIMinimizeBtnHint;
    FMDIMaximizeBtnHint = from->FMDIMaximizeBtnHint;
    FHelpBtnHint = from->FHelpBtnHint;
}

}  // namespace AdvToolBar
