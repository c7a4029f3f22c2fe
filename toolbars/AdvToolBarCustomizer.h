#pragma once
// Lets the end user rearrange a toolbar: commands to place as buttons, a dialog to reorder,
// add, delete and edit items, and an INI file that keeps the user's layout (section named
// after the customizer) beside the layout the toolbar had when loaded (that name + "Org").
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Events.h"
#include "classlib/Object.h"
#include "toolbars/AdvToolBarCustomizedItem.h"

namespace ClassLib {
class TBasicAction;
class TControl;
class TCustomImageList;
class TMemIniFile;
}  // namespace ClassLib

namespace AdvToolBar {

class TAdvCustomToolBar;

// A command the user can place on the toolbar as a button.
class TATBCommand {
public:
    const std::wstring& Caption() const { return FCaption; }
    // Spaces become "_", so the caption can name a component.
    void SetCaption(const std::wstring& value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value) { FItemIndex = value; }
    ClassLib::TBasicAction* Action() const { return FAction; }
    // An action brings its caption along.
    void SetAction(ClassLib::TBasicAction* value);
    // Caption and OnExecute only.
    void Assign(const TATBCommand& source);

    ClassLib::TNotifyEvent OnExecute;

private:
    std::wstring FCaption;
    int FItemIndex = -1;
    ClassLib::TBasicAction* FAction = nullptr;
};

// The commands; an index is the command's ID.
class TATBCommands {
public:
    TATBCommand* Add();
    TATBCommand* Insert(int index);
    int Count() const { return int(FItems.size()); }
    // Null out of range.
    TATBCommand* Items(int index) const;
    void Clear() { FItems.clear(); }
    void Assign(const TATBCommands& source);

private:
    std::vector<std::unique_ptr<TATBCommand>> FItems;
};

// Which button properties the user may edit, and which are written and read.
struct TButtonProperties {
    bool Caption = true;
    bool ShowCaption = true;
    bool Visible = false;
    bool Hint = true;
    bool Glyph = true;
};

// Which operations the dialog offers.
struct TCustomizedOptions {
    bool AddButton = true;
    bool ReOrder = true;
    bool Delete = true;
    bool DeleteAll = false;
    bool AddSeparator = true;
    bool AddGlowButton = true;
    bool EditButton = true;
};

// Texts and switches of the dialogs.
struct TDialogSettings {
    std::wstring ToolBarLabel = L"ToolBar Items:";
    std::wstring CommandLabel = L"Commands";
    std::wstring CaptionLabel = L"Caption";
    std::wstring GlyphPosLabel = L"Glyph Position";
    std::wstring LargeIconCheck = L"Large Icon";
    std::wstring TopHint = L"Move to Top";
    std::wstring UpHint = L"Move Up";
    std::wstring DownHint = L"Move Down";
    std::wstring BottomHint = L"Move to Bottom";
    std::wstring AddHint = L"Add Item";
    std::wstring AddSeparatorHint = L"Add Separator";
    std::wstring DeleteHint = L"Delete Item";
    std::wstring DeleteAllHint = L"Delete All";
    std::wstring EditHint = L"Edit Item";
    std::wstring Caption = L"Customizer";
    std::wstring ButtonEditCaption = L"Customize Button";
    std::wstring ButtonEditCaptionLabel = L"Caption";
    std::wstring ButtonEditHintLabel = L"Hint";
    std::wstring ButtonEditIconLabel = L"Icon";
    std::wstring ButtonEditCaptionCheck = L"Show Caption";
    std::wstring ButtonEditVisibleCheck = L"Visible";
    std::wstring OKButtonCaption = L"&Ok";
    std::wstring OKButtonHint;
    std::wstring CancelButtonCaption = L"&Cancel";
    std::wstring CancelButtonHint;
    std::wstring ResetButtonCaption = L"&Reset";
    std::wstring ResetButtonHint;
    std::wstring AddGlowButtonHint = L"Insert GlowButton";
    std::wstring GlyphPositionLeftCaption = L"Left";
    std::wstring GlyphPositionTopCaption = L"Top";
    std::wstring GlyphPositionRightCaption = L"Right";
    std::wstring GlyphPositionBottomCaption = L"Bottom";
    std::wstring GlyphEditNoneIconCaption = L"None";
    bool EditGlyph = true;
    bool EditGlyphVisible = true;
    bool EditCaption = true;
    bool EditGlyphPosition = true;
    bool LargeIcon = false;
    std::wstring Customize = L"Customize";
};

// One row of the dialog's item list.
struct TATBItemProp {
    ClassLib::TControl* ATBItem = nullptr;  // null for a row added in the dialog
    bool CustomizerCreated = false;
    bool IsSeparator = false;
    bool IsATBButton = false;
    bool IsGlowButton = false;
    int ImageIndex = -1;
    std::wstring Caption;
    bool ShowCaption = false;
    std::wstring Hint;
    bool Visible = true;
    int CommandID = -1;
    bool ForceImageIndex = false;
};

// The class names the file stores for the item kinds; "-1" for any other control.
inline constexpr const wchar_t* ToolBarButtonClassName = L"ADVTOOLBARBUTTON";
inline constexpr const wchar_t* ToolBarSeparatorClassName = L"ADVTOOLBARSEPARATOR";
inline constexpr const wchar_t* GlowButtonClassName = L"ADVCUSTOMGLOWBUTTON";
// A stored item count above this is taken as this many: a hostile file cannot make the
// toolbar create items without end.
inline constexpr int MaxStoredItems = 4096;

// A valid component name: a letter or "_" first, then letters, digits and "_".
bool IsValidComponentName(const std::wstring& name);

using TCustomizerCanShowEvent = std::function<void(ClassLib::TObject* sender, int& x, int& y, bool& canShow)>;

class TAdvToolBarCustomizer : public ClassLib::TComponent {
    CLASSLIB_CLASS(TAdvToolBarCustomizer, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TAdvToolBarCustomizer(ClassLib::TComponent* owner);
    ~TAdvToolBarCustomizer() override;

    TAdvCustomToolBar* AdvToolBar() const { return FAdvToolBar; }
    void SetAdvToolBar(TAdvCustomToolBar* value);
    ClassLib::TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(ClassLib::TCustomImageList* value);
    ClassLib::TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(ClassLib::TCustomImageList* value);
    TATBCommands* Commands() { return &FCommands; }
    bool EnablePersistence() const { return FEnablePersistence; }
    void SetEnablePersistence(bool value) { FEnablePersistence = value; }
    const std::wstring& FileName() const { return FFileName; }
    // A new name at run time stores the toolbar's layout as loaded, then applies the user's.
    void SetFileName(const std::wstring& value);
    TButtonProperties* ButtonProperties() { return &FButtonProperties; }
    TDialogSettings* DialogSettings() { return &FDialogSettings; }
    TCustomizedOptions* Options() { return &FOptions; }

    ClassLib::TNotifyEvent OnBeforeDisplay;
    ClassLib::TNotifyEvent OnAfterPost;
    TCustomizerCanShowEvent OnCanShow;

    void Show() { ShowDialog(); }
    // Each does nothing without persistence, a file name or a toolbar. A file that cannot
    // be read or written changes nothing on the toolbar.
    virtual void LoadCustomization();
    virtual void ShowDialog();
    virtual void ResetToolBar();
    virtual void SaveOriginal();

    // The first item whose name matches (ignoring case); null for an empty name.
    ClassLib::TControl* FindToolBarControl(const std::wstring& name) const;
    // Items the last load took off the toolbar (not freed; a reset puts them back).
    const std::vector<ClassLib::TControl*>& DeletedItems() const { return FDeleteItems; }
    // A name the toolbar's owner does not use yet: `wanted` when it is valid and free, else
    // `stem` with the smallest free number from 1.
    std::wstring FreeItemName(const std::wstring& wanted, const std::wstring& stem) const;

    // The class name the file stores for a control.
    static std::wstring StoredClassName(const ClassLib::TControl* control);

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    bool CanPersist() const;
    std::unique_ptr<ClassLib::TMemIniFile> OpenFile() const;
    static void CloseFile(std::unique_ptr<ClassLib::TMemIniFile>& file);
    ClassLib::TControl* CreateItem(const std::wstring& className, const std::wstring& name, int commandID);
    void ApplyOrder(const std::vector<ClassLib::TControl*>& list, int glyphPosition, bool withGlyphPosition);
    void ApplyImages(int largeIcon);

    bool FEnablePersistence = true;
    std::wstring FFileName = L".\\untitled.ini";
    TAdvCustomToolBar* FAdvToolBar = nullptr;
    TATBCommands FCommands;
    TButtonProperties FButtonProperties;
    ClassLib::TCustomImageList* FLargeImages = nullptr;
    TCustomizedOptions FOptions;
    ClassLib::TCustomImageList* FSmallImages = nullptr;
    TDialogSettings FDialogSettings;
    std::vector<ClassLib::TControl*> FDeleteItems;  // not owned
};

}  // namespace AdvToolBar
