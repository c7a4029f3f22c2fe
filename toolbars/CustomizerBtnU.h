#pragma once
// The customizer's button dialog: caption, hint, icon, caption display and visibility of
// one toolbar button row.
#include "classlib/Form.h"

namespace ClassLib {
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
}  // namespace ClassLib

namespace AdvToolBar {
class TAdvToolBarCustomizer;
}

namespace CustomizerBtnU {

class TCusBtnForm : public ClassLib::TForm {
    CLASSLIB_CLASS(TCusBtnForm, ClassLib::TForm)
public:
    TCusBtnForm(ClassLib::TComponent* owner, AdvToolBar::TAdvToolBarCustomizer* customizer);

    // Texts from the customizer's dialog settings, the icon rows from its toolbar's images.
    void LoadSettings();
    // Lines the fields up after the widest visible label and widens the dialog to them.
    void AlignFields();

    ClassLib::TGroupBox* GroupBox1 = nullptr;
    ClassLib::TLabel* LblBtnCaption = nullptr;
    ClassLib::TEdit* EdtBtnCaption = nullptr;
    ClassLib::TLabel* LblBtnHint = nullptr;
    ClassLib::TEdit* EdtBtnHint = nullptr;
    ClassLib::TLabel* LblGlyph = nullptr;
    ClassLib::TComboBox* CmBxGlyph = nullptr;
    ClassLib::TCheckBox* ChkBtnShowCap = nullptr;
    ClassLib::TCheckBox* ChkBtnVis = nullptr;
    ClassLib::TButton* BtnOk = nullptr;
    ClassLib::TButton* BtnCancel = nullptr;

private:
    AdvToolBar::TAdvToolBarCustomizer* FToolBarCustomizer;
};

}  // namespace CustomizerBtnU
