#pragma once
// Actions: one command (caption, checked and enabled state, group, image, help) shared by
// the controls that show it. A control follows its action through an action link; the
// action tells every link when one of its values changes.
#include <memory>
#include <string>
#include <vector>

#include "classlib/Events.h"
#include "classlib/Object.h"

namespace ClassLib {

class TControl;
class TCustomImageList;
class TCustomActionList;
class TBasicActionLink;

enum THelpType { htKeyword, htContext };

class TBasicAction : public TComponent {
    CLASSLIB_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
    ~TBasicAction() override;
    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    TNotifyEvent OnExecute;
    void RegisterChanges(TBasicActionLink* link);
    void UnRegisterChanges(TBasicActionLink* link);
protected:
    std::vector<TBasicActionLink*> FClients;  // not owned
};

class TContainedAction : public TBasicAction {
    CLASSLIB_CLASS(TContainedAction, TBasicAction)
public:
    explicit TContainedAction(TComponent* owner) : TBasicAction(owner) {}
    ~TContainedAction() override;
    TCustomActionList* ActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* value);
private:
    TCustomActionList* FActionList = nullptr;
};

class TCustomAction : public TContainedAction {
    CLASSLIB_CLASS(TCustomAction, TContainedAction)
public:
    static const TPropertyList& Published();
    explicit TCustomAction(TComponent* owner) : TContainedAction(owner) {}
    bool Execute() override;

    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& value);
    bool Checked() const { return FChecked; }
    // Checking one member of a group unchecks the others of its list.
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int value);
    const std::wstring& HelpKeyword() const { return FHelpKeyword; }
    void SetHelpKeyword(const std::wstring& value);
    THelpType HelpType() const { return FHelpType; }
    void SetHelpType(THelpType value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    // The key that runs the action where a control looks shortcuts up (a menu's TShortCut).
    unsigned short ShortCut() const { return FShortCut; }
    void SetShortCut(unsigned short value) { FShortCut = value; }
private:
    std::wstring FCaption, FHint, FHelpKeyword;
    bool FChecked = false, FEnabled = true, FVisible = true, FAutoCheck = false;
    int FGroupIndex = 0, FImageIndex = -1, FHelpContext = 0;
    unsigned short FShortCut = 0;
    THelpType FHelpType = htKeyword;
};

class TAction : public TCustomAction {
    CLASSLIB_CLASS(TAction, TCustomAction)
public:
    explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

class TCustomActionList : public TComponent {
    CLASSLIB_CLASS(TCustomActionList, TComponent)
public:
    static const TPropertyList& Published();
    explicit TCustomActionList(TComponent* owner) : TComponent(owner) {}
    ~TCustomActionList() override;
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    int ActionCount() const { return int(FActions.size()); }
    TContainedAction* Actions(int index) const { return FActions.at(size_t(index)); }
protected:
    void Notification(TComponent* component, TOperation operation) override;
private:
    friend class TContainedAction;
    std::vector<TContainedAction*> FActions;  // not owned
    TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
    CLASSLIB_CLASS(TActionList, TCustomActionList)
public:
    explicit TActionList(TComponent* owner) : TCustomActionList(owner) {}
};

// An action list that also keeps large and disabled image lists, for buttons that
// change size.
class TCustomActionManager : public TCustomActionList {
    CLASSLIB_CLASS(TCustomActionManager, TCustomActionList)
public:
    static const TPropertyList& Published();
    explicit TCustomActionManager(TComponent* owner) : TCustomActionList(owner) {}
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* value) { FDisabledImages = value; }
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* value) { FLargeImages = value; }
    TCustomImageList* LargeDisabledImages() const { return FLargeDisabledImages; }
    void SetLargeDisabledImages(TCustomImageList* value) { FLargeDisabledImages = value; }
private:
    TCustomImageList* FDisabledImages = nullptr;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FLargeDisabledImages = nullptr;
};

// What ties a client to its action. Each Set* is called by the action when its value
// changes (before the action stores it); each Is*Linked says whether the client still
// follows the action in that value.
class TBasicActionLink : public TObject {
public:
    TBasicActionLink() = default;
    ~TBasicActionLink() override;
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* value);
    virtual bool Execute(TComponent* component);
protected:
    virtual void AssignClient(TObject* client) { (void)client; }
    // The action changed; the client updates from it.
    virtual void Change() {}
    friend class TBasicAction;
    TBasicAction* FAction = nullptr;
};

class TActionLink : public TBasicActionLink {
public:
    virtual bool IsCaptionLinked() const;
    virtual bool IsCheckedLinked() const;
    virtual bool IsEnabledLinked() const;
    virtual bool IsGroupIndexLinked() const;
    virtual bool IsHelpContextLinked() const;
    virtual bool IsHelpLinked() const;
    virtual bool IsHintLinked() const;
    virtual bool IsImageIndexLinked() const;
    virtual bool IsVisibleLinked() const;
    virtual void SetCaption(const std::wstring& value) { (void)value; }
    virtual void SetChecked(bool value) { (void)value; }
    virtual void SetEnabled(bool value) { (void)value; }
    virtual void SetGroupIndex(int value) { (void)value; }
    virtual void SetHelpContext(int value) { (void)value; }
    virtual void SetHelpKeyword(const std::wstring& value) { (void)value; }
    virtual void SetHelpType(THelpType value) { (void)value; }
    virtual void SetHint(const std::wstring& value) { (void)value; }
    virtual void SetImageIndex(int value) { (void)value; }
    virtual void SetVisible(bool value) { (void)value; }
protected:
    TCustomAction* CustomAction() const;
};

// The link of a control: caption, enabled state, hint and visibility follow the action.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* client) : FClient(client) {}
    bool IsCaptionLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsVisibleLinked() const override;
    void SetCaption(const std::wstring& value) override;
    void SetEnabled(bool value) override;
    void SetHint(const std::wstring& value) override;
    void SetVisible(bool value) override;
protected:
    void Change() override;
    TControl* FClient;
};

}  // namespace ClassLib
