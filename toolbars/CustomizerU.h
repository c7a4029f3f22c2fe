#pragma once
// The customizer dialog: the toolbar's items beside the commands that can be placed, with
// buttons to reorder, insert, delete and edit. It works on rows, never on the toolbar; OK
// writes the rows into the customizer's INI section, which the customizer then applies.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Form.h"
#include "toolbars/AdvToolBarCustomizer.h"

namespace ClassLib {
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TListBox;
class TSpeedButton;
}  // namespace ClassLib

namespace CustomizerU {

// One row of the item list: the text shown and its record (none for a control the
// customizer does not know).
struct TItemRow {
    std::wstring Text;
    std::unique_ptr<AdvToolBar::TATBItemProp> Prop;
};

// The item list without its window: rows, the selected row and the edits on them.
class TCustomizerRows {
public:
    int Count() const { return int(FRows.size()); }
    const TItemRow& Row(int index) const { return FRows.at(size_t(index)); }
    TItemRow& Row(int index) { return FRows.at(size_t(index)); }
    int Selected() const { return FSelected; }
    void Select(int index) { FSelected = index >= 0 && index < Count() ? index : -1; }

    // One row per toolbar item, in toolbar order.
    void LoadFrom(const AdvToolBar::TAdvCustomToolBar& toolBar);
    // Each returns whether a row moved; the selection follows the moved row. Up and Down
    // wrap around at the ends.
    bool MoveTop();
    bool MoveBottom();
    bool MoveUp();
    bool MoveDown();
    // Moves the selected row to `target` (a drop onto a row).
    bool MoveTo(int target);
    // A row after the selected one (at the end with none or the last selected), selected.
    void Insert(TItemRow row);
    // A command's button (or glow button) row: caption and hint from the command.
    void InsertCommand(int commandID, const std::wstring& caption, int imageIndex, bool glowButton);
    void InsertSeparator(const std::wstring& name);
    // Selects the row now at the same place, else the last one.
    bool DeleteSelected();
    void Clear();

private:
    std::vector<TItemRow> FRows;
    int FSelected = -1;
};

// "AdvToolBarSeparator" and the smallest n from 1 that no child of the toolbar is named.
std::wstring NewSeparatorName(const AdvToolBar::TAdvCustomToolBar& toolBar);

// The toolbar-wide settings the dialog shows; a field not shown is not written.
struct TToolBarSettings {
    bool CaptionShown = true;
    std::wstring Caption;
    bool GlyphPositionShown = true;
    int GlyphPosition = 0;
    bool LargeIconShown = false;
    bool LargeIcon = false;
};

// Writes the rows into the customizer's section of its file, key by key; nothing without
// persistence or a file name.
void SaveItems(const TCustomizerRows& rows, AdvToolBar::TAdvToolBarCustomizer& customizer,
               const TToolBarSettings& settings);

class TCustomizerForm : public ClassLib::TForm {
    CLASSLIB_CLASS(TCustomizerForm, ClassLib::TForm)
public:
    explicit TCustomizerForm(AdvToolBar::TAdvToolBarCustomizer* customizer);
    ~TCustomizerForm() override;

    // Fills the dialog from the customizer's toolbar and settings.
    void LoadComponents();
    bool Modified() const { return FModified; }
    TCustomizerRows& Rows() { return FRows; }
    void SetCaption(bool value);
    void SetGlyphPosition(bool value);

    void UpdateButtons();
    void TopButtonClick(ClassLib::TObject*);
    void UpButtonClick(ClassLib::TObject*);
    void DownButtonClick(ClassLib::TObject*);
    void BottomButtonClick(ClassLib::TObject*);
    void AddButtonClick(ClassLib::TObject*);
    void AddGlowButtonClick(ClassLib::TObject*);
    void SeparatorButtonClick(ClassLib::TObject*);
    void DeleteButtonClick(ClassLib::TObject*);
    void ClearButtonClick(ClassLib::TObject*);
    // Opens the button dialog for the selected row (also on a double click).
    void BtnEditClick(ClassLib::TObject*);
    void OkBitBtnClick(ClassLib::TObject*);

    ClassLib::TButton* BtnOk = nullptr;
    ClassLib::TButton* BtnCancel = nullptr;
    ClassLib::TGroupBox* GroupBox2 = nullptr;
    ClassLib::TEdit* EdtCaption = nullptr;
    ClassLib::TLabel* LblCaption = nullptr;
    ClassLib::TComboBox* CmBxGlphPos = nullptr;
    ClassLib::TLabel* LblGlphPos = nullptr;
    ClassLib::TCheckBox* ChkLargeIcon = nullptr;
    ClassLib::TGroupBox* GroupBox1 = nullptr;
    ClassLib::TLabel* LblCommands = nullptr;
    ClassLib::TLabel* LblToolbarItems = nullptr;
    ClassLib::TSpeedButton* TopButton = nullptr;
    ClassLib::TSpeedButton* UpButton = nullptr;
    ClassLib::TSpeedButton* DownButton = nullptr;
    ClassLib::TSpeedButton* BottomButton = nullptr;
    ClassLib::TSpeedButton* AddButton = nullptr;
    ClassLib::TSpeedButton* SeparatorButton = nullptr;
    ClassLib::TSpeedButton* DeleteButton = nullptr;
    ClassLib::TSpeedButton* ClearButton = nullptr;
    ClassLib::TListBox* LstBxCommand = nullptr;
    ClassLib::TListBox* LstBxToolBarItems = nullptr;
    ClassLib::TComboBox* CmBxIcon = nullptr;
    ClassLib::TSpeedButton* BtnEdit = nullptr;
    ClassLib::TButton* BtnReset = nullptr;
    ClassLib::TSpeedButton* AddGlowButton = nullptr;

private:
    void BuildControls();
    void ApplySettings();
    void ArrangeSettings();
    // The list box shows the rows again.
    void ShowRows();
    // A row's icon (or the room for one) and its text.
    void DrawItemRow(int index, const ClassLib::TRect& rect);
    void MarkModified();
    void Moved(bool moved);
    int CommandIndex() const;
    int IconIndex() const;

    AdvToolBar::TAdvToolBarCustomizer* FToolBarCustomizer;
    TCustomizerRows FRows;
    bool FModified = false;
    bool FLoading = true;
    bool FCanEditBtn = false;
};

// Shows the dialog for the customizer's toolbar and applies its result.
void ShowCustomizerDialog(AdvToolBar::TAdvToolBarCustomizer& customizer);
// Answers the dialog instead of the user (tests): called once the dialog is filled, it may
// work on the form and returns the modal result. Empty restores the real dialog.
using TCustomizerDialogHook = std::function<int(TCustomizerForm& form)>;
TCustomizerDialogHook SetCustomizerDialogHook(TCustomizerDialogHook hook);
// The same for the button dialog, which it receives filled.
using TButtonDialogHook = std::function<int(ClassLib::TForm& form)>;
TButtonDialogHook SetButtonDialogHook(TButtonDialogHook hook);

}  // namespace CustomizerU
