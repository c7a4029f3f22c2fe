#include "controls/AdvGlowButtonDB.h"

#include "classlib/UpdateScope.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/Properties.h"

namespace AdvGlowButton {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(TDBAdvGlowButton, TAdvCustomGlowButton)

void TDBGlowButtonDataLink::ActiveChanged() { FireEvent(OnActiveChanged, this); }
void TDBGlowButtonDataLink::DataSetChanged() { FireEvent(OnDataSetChanged, this); }
void TDBGlowButtonDataLink::EditingChanged() { FireEvent(OnEditingChanged, this); }

TDBAdvGlowButton::TDBAdvGlowButton(TComponent* owner)
    : TAdvCustomGlowButton(owner), FDataLink(std::make_unique<TDBGlowButtonDataLink>()) {
    const auto update = [this](TObject*) { UpdateDBEnabled(); };
    FDataLink->OnActiveChanged = update;
    FDataLink->OnDataSetChanged = update;
    FDataLink->OnEditingChanged = update;
}

TDBAdvGlowButton::~TDBAdvGlowButton() {
    Destroying();
    FDataLink.reset();
}

const TPropertyList& TDBAdvGlowButton::Published() {
    using B = TDBAdvGlowButton;
    static const TPropertyList list = TPropertyList::Extend(TAdvCustomGlowButton::Published())
        .Add(L"AutoDisable", &B::AutoDisable, &B::SetAutoDisable, true)
        .Add(L"ConfirmAction", &B::ConfirmAction, &B::SetConfirmAction, false)
        .Add(L"ConfirmActionString", &B::ConfirmActionString, &B::SetConfirmActionString, L"")
        .Reference(L"DataSource", &B::DataSource, &B::SetDataSource)
        .Enum(L"DBButtonType", L"TDBGlowButtonType", &B::DBButtonType, &B::SetDBButtonType,
              {L"dbCustom", L"dbFirst", L"dbPrior", L"dbNext", L"dbLast", L"dbInsert", L"dbAppend", L"dbDelete",
               L"dbEdit", L"dbPost", L"dbCancel", L"dbRefresh"},
              dbCustom)
        .SetOf(L"DisableControl", L"TDBBDisableControls", &B::DisableControl, &B::SetDisableControl,
               {L"drBOF", L"drEOF", L"drReadonly", L"drNotEditing", L"drEditing", L"drEmpty", L"drEvent"},
               TDBBDisableControls{})
        .SubObject(L"Appearance", &B::Appearance)
        .Event(L"OnEnabledChanged", &B::OnEnabledChanged);
    return list;
}

void TDBAdvGlowButton::SetDataSource(TDataSource* value) {
    FDataLink->SetDataSource(value);
    if (value) value->FreeNotification(this);
    if (!HasState(csLoading)) UpdateDBEnabled();
}

void TDBAdvGlowButton::SetDBButtonType(TDBGlowButtonType value) {
    if (value == FDBButtonType) return;
    if (value == dbDelete && FConfirmActionString.empty()) FConfirmActionString = L"Delete record?";
    FDBButtonType = value;
    if (!HasState(csReading) && !HasState(csLoading)) LoadDBGlyph();
    switch (value) {
        case dbFirst: case dbPrior: FDisableControl = {drBOF, drEditing, drEmpty}; break;
        case dbNext: case dbLast: FDisableControl = {drEOF, drEditing, drEmpty}; break;
        case dbInsert: case dbAppend: FDisableControl = {drReadonly, drEditing}; break;
        case dbDelete: case dbEdit: FDisableControl = {drReadonly, drEditing, drEmpty}; break;
        case dbPost: case dbCancel: FDisableControl = {drNotEditing}; break;
        case dbRefresh: FDisableControl = {drEditing}; break;
        case dbCustom: break;
    }
}

void TDBAdvGlowButton::Notification(TComponent* component, TOperation operation) {
    TAdvCustomGlowButton::Notification(component, operation);
    if (operation == opRemove && FDataLink && component == FDataLink->DataSource()) SetDataSource(nullptr);
}

void TDBAdvGlowButton::Loaded() {
    TAdvCustomGlowButton::Loaded();
    if (ImageIndex() <= 0) LoadDBGlyph();
    UpdateDBEnabled();
}

void TDBAdvGlowButton::Click() {
    TAdvCustomGlowButton::Click();
    DoDataSetAction();
}

void TDBAdvGlowButton::DoBeforeAction(bool& doAction) {
    if (!HasState(csDesigning) && OnBeforeAction) OnBeforeAction(this, doAction);
}

void TDBAdvGlowButton::DoGetConfirm(std::wstring& question, TMsgDlgButtons& buttons, int& helpContext) {
    question.clear();
    if (!FConfirmAction) return;
    question = FConfirmActionString;
    buttons = {mbOK, mbCancel};
    helpContext = 0;
    if (OnGetConfirm) OnGetConfirm(this, question, buttons, helpContext);
}

bool TDBAdvGlowButton::AskConfirmation() {
    std::wstring question;
    TMsgDlgButtons buttons;
    int helpContext = 0;
    DoGetConfirm(question, buttons, helpContext);
    if (question.empty()) return true;
    const int answer = MessageDlg(question, mtConfirmation, buttons, helpContext);
    return answer == IDOK || answer == IDYES;
}

void TDBAdvGlowButton::DoDataSetAction() {
    if (!AskConfirmation()) return;
    bool doAction = FDBButtonType != dbCustom;
    try {
        DoBeforeAction(doAction);
        TDataSet* dataSet = FDataLink->DataSet();
        if (doAction && dataSet && dataSet->Active()) {
            switch (FDBButtonType) {
                case dbFirst: dataSet->First(); break;
                case dbPrior: dataSet->Prior(); break;
                case dbNext: dataSet->Next(); break;
                case dbLast: dataSet->Last(); break;
                case dbInsert: dataSet->Insert(); break;
                case dbAppend: dataSet->Append(); break;
                case dbDelete: dataSet->Delete(); break;
                case dbEdit: dataSet->Edit(); break;
                case dbPost: dataSet->Post(); break;
                case dbCancel: dataSet->Cancel(); break;
                case dbRefresh: dataSet->Refresh(); break;
                case dbCustom: break;
            }
        }
    } catch (...) {
        bool showException = true;
        if (OnAfterAction) OnAfterAction(this, showException);
        if (showException) throw;
        return;
    }
    if (doAction) {
        bool showException = false;
        if (OnAfterAction) OnAfterAction(this, showException);
    }
}

void TDBAdvGlowButton::UpdateDBEnabled() {
    if (HasState(csDesigning) || HasState(csDestroying) || !FAutoDisable || !FDataLink) return;
    const TFlagScope updating(FUpdating);
    const bool old = Enabled();
    bool enabled = false;
    if (FDataLink->Active()) {
        const TDataSet* dataSet = FDataLink->DataSet();
        TDBBDisableControls now;
        if (dataSet->Bof()) now += drBOF;
        if (dataSet->Eof()) now += drEOF;
        if (!dataSet->CanModify()) now += drReadonly;
        if (dataSet->Bof() && dataSet->Eof()) now += drEmpty;
        now += FDataLink->Editing() ? drEditing : drNotEditing;
        enabled = true;
        for (TDBBDisableControl condition : {drBOF, drEOF, drReadonly, drNotEditing, drEditing, drEmpty})
            if (now.Contains(condition) && FDisableControl.Contains(condition)) enabled = false;
        if (FDisableControl.Contains(drEvent) && OnGetEnabled) OnGetEnabled(this, enabled);
    }
    SetEnabled(enabled);
    if (enabled != old) FireEvent(OnEnabledChanged, this);
    LoadDBGlyph();
}

void TDBAdvGlowButton::Dispatch(TMessage& message) {
    TAdvCustomGlowButton::Dispatch(message);
    if (message.Msg == CM_ENABLEDCHANGED && !FUpdating && !HasState(csLoading) && !HasState(csDestroying))
        UpdateDBEnabled();
}

void TDBAdvGlowButton::LoadDBGlyph() {
    if (HasState(csLoading) || Images() || (!Enabled() && DisabledImages()) || FDBButtonType == dbCustom) return;
    static const wchar_t* const names[] = {L"",        L"FIRST", L"PRIOR", L"NEXT", L"LAST",   L"INSERT",
                                           L"INSERT",  L"DELETE", L"EDIT", L"POST", L"CANCEL", L"REFRESH"};
    if (!FInternalImages) FInternalImages = new TImageList(this);
    FInternalImages->Clear();
    TBitmap glyph;
    glyph.LoadFromResourceName(::GetModuleHandleW(nullptr),
                               std::wstring(L"DBIMG") + names[FDBButtonType] + (Enabled() ? L"" : L"D"));
    FInternalImages->AddMasked(&glyph, clFuchsia);
    Invalidate();
}

}  // namespace AdvGlowButton
