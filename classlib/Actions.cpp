#include "classlib/Actions.h"

#include <algorithm>

#include "classlib/Control.h"
#include "classlib/ImageList.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TBasicAction, TComponent)
CLASSLIB_IMPLEMENT(TContainedAction, TBasicAction)
CLASSLIB_IMPLEMENT(TCustomAction, TContainedAction)
CLASSLIB_IMPLEMENT(TAction, TCustomAction)
CLASSLIB_IMPLEMENT(TCustomActionList, TComponent)
CLASSLIB_IMPLEMENT(TActionList, TCustomActionList)
CLASSLIB_IMPLEMENT(TCustomActionManager, TCustomActionList)

// ---- actions ----

TBasicAction::~TBasicAction() {
    for (TBasicActionLink* link : FClients) link->FAction = nullptr;
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
    if (std::find(FClients.begin(), FClients.end(), link) == FClients.end()) FClients.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
    FClients.erase(std::remove(FClients.begin(), FClients.end(), link), FClients.end());
}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* value) {
    if (FActionList == value) return;
    if (FActionList) {
        auto& list = FActionList->FActions;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FActionList = value;
    if (FActionList) FActionList->FActions.push_back(this);
}

const TPropertyList& TCustomAction::Published() {
    using A = TCustomAction;
    static const TPropertyList list = TPropertyList::Extend(TContainedAction::Published())
        .Add(L"Caption", &A::Caption, &A::SetCaption, L"")
        .Add(L"Checked", &A::Checked, &A::SetChecked, false)
        .Add(L"Enabled", &A::Enabled, &A::SetEnabled, true)
        .Add(L"GroupIndex", &A::GroupIndex, &A::SetGroupIndex, 0)
        .Add(L"ImageIndex", &A::ImageIndex, &A::SetImageIndex, -1)
        .Add(L"Hint", &A::Hint, &A::SetHint, L"")
        .Add(L"Visible", &A::Visible, &A::SetVisible, true)
        .Add(L"HelpContext", &A::HelpContext, &A::SetHelpContext, 0)
        .Add(L"AutoCheck", &A::AutoCheck, &A::SetAutoCheck, false)
        .Add(L"ShortCut", &A::ShortCut, &A::SetShortCut, 0)
        .Event(L"OnExecute", &A::OnExecute);
    return list;
}

namespace {
// Tells every action link of `clients` through `set`, before the action stores the value.
template <class F>
void TellLinks(const std::vector<TBasicActionLink*>& clients, F set) {
    for (TBasicActionLink* client : std::vector<TBasicActionLink*>(clients))
        if (auto* link = dynamic_cast<TActionLink*>(client)) set(link);
}
}  // namespace

bool TCustomAction::Execute() {
    if (!FEnabled) return false;
    if (FAutoCheck) SetChecked(!FChecked);
    return TBasicAction::Execute();
}

void TCustomAction::SetCaption(const std::wstring& value) {
    if (value == FCaption) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetCaption(value); });
    FCaption = value;
}

void TCustomAction::SetChecked(bool value) {
    if (value == FChecked) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetChecked(value); });
    FChecked = value;
    if (value && FGroupIndex > 0 && ActionList()) {
        for (int i = 0; i < ActionList()->ActionCount(); ++i) {
            auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
        }
    }
}

void TCustomAction::SetEnabled(bool value) {
    if (value == FEnabled) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetEnabled(value); });
    FEnabled = value;
}

void TCustomAction::SetGroupIndex(int value) {
    if (value == FGroupIndex) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetGroupIndex(value); });
    FGroupIndex = value;
}

void TCustomAction::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetImageIndex(value); });
    FImageIndex = value;
}

void TCustomAction::SetHint(const std::wstring& value) {
    if (value == FHint) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetHint(value); });
    FHint = value;
}

void TCustomAction::SetVisible(bool value) {
    if (value == FVisible) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetVisible(value); });
    FVisible = value;
}

void TCustomAction::SetHelpContext(int value) {
    if (value == FHelpContext) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetHelpContext(value); });
    FHelpContext = value;
}

void TCustomAction::SetHelpKeyword(const std::wstring& value) {
    if (value == FHelpKeyword) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetHelpKeyword(value); });
    FHelpKeyword = value;
}

void TCustomAction::SetHelpType(THelpType value) {
    if (value == FHelpType) return;
    TellLinks(FClients, [&](TActionLink* link) { link->SetHelpType(value); });
    FHelpType = value;
}

// ---- lists ----

TCustomActionList::~TCustomActionList() {
    for (TContainedAction* action : std::vector<TContainedAction*>(FActions)) action->SetActionList(nullptr);
}

const TPropertyList& TCustomActionList::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Reference(L"Images", &TCustomActionList::Images, &TCustomActionList::SetImages);
    return list;
}

void TCustomActionList::SetImages(TCustomImageList* value) {
    FImages = value;
    if (value) value->FreeNotification(this);
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) FImages = nullptr;
}

const TPropertyList& TCustomActionManager::Published() {
    using M = TCustomActionManager;
    static const TPropertyList list = TPropertyList::Extend(TCustomActionList::Published())
        .Reference(L"DisabledImages", &M::DisabledImages, &M::SetDisabledImages)
        .Reference(L"LargeImages", &M::LargeImages, &M::SetLargeImages)
        .Reference(L"LargeDisabledImages", &M::LargeDisabledImages, &M::SetLargeDisabledImages);
    return list;
}

// ---- links ----

TBasicActionLink::~TBasicActionLink() {
    if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
    if (value == FAction) return;
    if (FAction) FAction->UnRegisterChanges(this);
    FAction = value;
    if (FAction) FAction->RegisterChanges(this);
    Change();
}

bool TBasicActionLink::Execute(TComponent* component) {
    (void)component;
    return FAction && FAction->Execute();
}

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }

// The base tests: the client follows every value of a TCustomAction.
bool TActionLink::IsCaptionLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsGroupIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHelpContextLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHelpLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }

bool TControlActionLink::IsCaptionLinked() const {
    return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}
bool TControlActionLink::IsEnabledLinked() const {
    return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}
bool TControlActionLink::IsHintLinked() const {
    return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}
bool TControlActionLink::IsVisibleLinked() const {
    return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}
void TControlActionLink::SetCaption(const std::wstring& value) {
    if (IsCaptionLinked()) FClient->SetCaption(value);
}
void TControlActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) FClient->SetEnabled(value);
}
void TControlActionLink::SetHint(const std::wstring& value) {
    if (IsHintLinked()) FClient->SetHint(value);
}
void TControlActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) FClient->SetVisible(value);
}
void TControlActionLink::Change() {
    if (FAction) FClient->ActionChange(FAction, false);
}

}  // namespace ClassLib
