#pragma once
// The data-aware glow button: one navigation or editing step of a data set (First ...
// Refresh) with its own glyph, an optional confirmation, and enabling from the data set's
// state.
#include <functional>
#include <memory>
#include <string>

#include "classlib/DataSets.h"
#include "classlib/Dialogs.h"
#include "classlib/EnumSet.h"
#include "controls/AdvGlowButton.h"

namespace AdvGlowButton {

enum TDBGlowButtonType {
    dbCustom, dbFirst, dbPrior, dbNext, dbLast, dbInsert, dbAppend, dbDelete, dbEdit, dbPost, dbCancel, dbRefresh
};
enum TDBBDisableControl { drBOF, drEOF, drReadonly, drNotEditing, drEditing, drEmpty, drEvent };
using TDBBDisableControls = ClassLib::TEnumSet<TDBBDisableControl>;

using TBeforeActionEvent = std::function<void(ClassLib::TObject* sender, bool& doAction)>;
using TAfterActionEvent = std::function<void(ClassLib::TObject* sender, bool& showException)>;
using TGetConfirmEvent = std::function<void(ClassLib::TObject* sender, std::wstring& question,
                                            ClassLib::TMsgDlgButtons& buttons, int& helpContext)>;
using TGetEnabledEvent = std::function<void(ClassLib::TObject* sender, bool& enabled)>;

// Tells its owner of each kind of data-set change.
class TDBGlowButtonDataLink : public ClassLib::TDataLink {
public:
    ClassLib::TNotifyEvent OnEditingChanged, OnDataSetChanged, OnActiveChanged;
protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void EditingChanged() override;
};

class TDBAdvGlowButton : public TAdvCustomGlowButton {
    CLASSLIB_CLASS(TDBAdvGlowButton, TAdvCustomGlowButton)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TDBAdvGlowButton(ClassLib::TComponent* owner);
    ~TDBAdvGlowButton() override;

    bool AutoDisable() const { return FAutoDisable; }
    void SetAutoDisable(bool value) { FAutoDisable = value; }
    bool ConfirmAction() const { return FConfirmAction; }
    void SetConfirmAction(bool value) { FConfirmAction = value; }
    const std::wstring& ConfirmActionString() const { return FConfirmActionString; }
    void SetConfirmActionString(const std::wstring& value) { FConfirmActionString = value; }
    ClassLib::TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(ClassLib::TDataSource* value);
    TDBGlowButtonType DBButtonType() const { return FDBButtonType; }
    void SetDBButtonType(TDBGlowButtonType value);
    TDBBDisableControls DisableControl() const { return FDisableControl; }
    void SetDisableControl(TDBBDisableControls value) { FDisableControl = value; }

    void Click() override;
    void Loaded() override;

    TBeforeActionEvent OnBeforeAction;
    TAfterActionEvent OnAfterAction;
    TGetConfirmEvent OnGetConfirm;
    TGetEnabledEvent OnGetEnabled;
    ClassLib::TNotifyEvent OnEnabledChanged;

protected:
    virtual void DoBeforeAction(bool& doAction);
    virtual void DoGetConfirm(std::wstring& question, ClassLib::TMsgDlgButtons& buttons, int& helpContext);
    virtual bool AskConfirmation();
    virtual void DoDataSetAction();
    virtual void UpdateDBEnabled();
    virtual void LoadDBGlyph();
    void Dispatch(ClassLib::TMessage& message) override;
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    std::unique_ptr<TDBGlowButtonDataLink> FDataLink;
    bool FAutoDisable = true;
    bool FConfirmAction = false;
    std::wstring FConfirmActionString;
    TDBGlowButtonType FDBButtonType = dbCustom;
    TDBBDisableControls FDisableControl;
    bool FUpdating = false;  // UpdateDBEnabled runs
};

}  // namespace AdvGlowButton
