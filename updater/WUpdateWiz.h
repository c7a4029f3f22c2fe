#pragma once
// The update wizard component: shows the wizard window modally and lets it drive a
// TWebUpdate step by step, with the texts of a language component.
#include <memory>
#include <string>

#include "classlib/Form.h"
#include "classlib/Object.h"

namespace ClassLib {
class TBitmap;
class TFont;
}  // namespace ClassLib

namespace WUpdate {
class TWebUpdate;
}
namespace WUpdateLanguagesU {
class TWebUpdateWizardLanguage;
}
namespace WuWizForm {
class TWUWIZ;
}

namespace WUpdateWiz {

class TWebUpdateWizard : public ClassLib::TComponent {
    CLASSLIB_CLASS(TWebUpdateWizard, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TWebUpdateWizard(ClassLib::TComponent* owner);
    ~TWebUpdateWizard() override;

    WUpdate::TWebUpdate* WebUpdate() const { return FWebUpdate; }
    void SetWebUpdate(WUpdate::TWebUpdate* value);
    // None means the English defaults.
    WUpdateLanguagesU::TWebUpdateWizardLanguage* Language() const { return FLanguage; }
    void SetLanguage(WUpdateLanguagesU::TWebUpdateWizardLanguage* value);
    bool AutoStart() const { return FAutoStart; }
    void SetAutoStart(bool value) { FAutoStart = value; }
    bool AutoRun() const { return FAutoRun; }
    void SetAutoRun(bool value) { FAutoRun = value; }
    ClassLib::TBitmap* BillBoard() const { return FBillBoard.get(); }
    void SetBillBoard(const ClassLib::TBitmap* value);
    bool BillBoardStretch() const { return FBillBoardStretch; }
    void SetBillBoardStretch(bool value) { FBillBoardStretch = value; }
    bool BillBoardCenter() const { return FBillBoardCenter; }
    void SetBillBoardCenter(bool value) { FBillBoardCenter = value; }
    int BillBoardTop() const { return FBillBoardTop; }
    void SetBillBoardTop(int value) { FBillBoardTop = value; }
    int BillBoardLeft() const { return FBillBoardLeft; }
    void SetBillBoardLeft(int value) { FBillBoardLeft = value; }
    int BillBoardHeight() const { return FBillBoardHeight; }
    void SetBillBoardHeight(int value) { FBillBoardHeight = value; }
    int BillBoardWidth() const { return FBillBoardWidth; }
    void SetBillBoardWidth(int value) { FBillBoardWidth = value; }
    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(const std::wstring& value) { FCaption = value; }
    ClassLib::TFont* Font() const { return FFont.get(); }
    // The font a new wizard starts with (bold Verdana 9), not a font's declared defaults.
    static const ClassLib::TFont& StartFont();
    void SetFont(const ClassLib::TFont* value);
    ClassLib::TPosition Position() const { return FPosition; }
    void SetPosition(ClassLib::TPosition value) { FPosition = value; }
    ClassLib::TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(ClassLib::TFormBorderStyle value) { FBorderStyle = value; }

    // Shows the wizard modally and returns when it has closed; with `initPath` the
    // current folder becomes the program's folder first.
    void Execute(bool initPath);
    // Puts the language's texts (the English defaults without one) on the form.
    void InitLanguage(WuWizForm::TWUWIZ* wizard, WUpdateLanguagesU::TWebUpdateWizardLanguage* language);
    // Closes the running wizard; a running transfer is cancelled first and the wizard
    // closes once it has returned.
    void CloseWizard();
    // The scale Execute measured on the wizard's window (1 before).
    float DPIScale() const { return FDPIScale; }

protected:
    void Notification(ClassLib::TComponent* component, ClassLib::TOperation operation) override;

private:
    WUpdate::TWebUpdate* FWebUpdate = nullptr;
    WUpdateLanguagesU::TWebUpdateWizardLanguage* FLanguage = nullptr;
    bool FAutoStart = false;
    bool FAutoRun = false;
    std::unique_ptr<ClassLib::TBitmap> FBillBoard;
    bool FBillBoardStretch = false;
    bool FBillBoardCenter = false;
    int FBillBoardTop = 27;
    int FBillBoardLeft = 9;
    int FBillBoardHeight = 201;
    int FBillBoardWidth = 116;
    std::wstring FCaption;
    std::unique_ptr<ClassLib::TFont> FFont;
    ClassLib::TPosition FPosition = ClassLib::poScreenCenter;
    ClassLib::TFormBorderStyle FBorderStyle = ClassLib::bsDialog;
    WuWizForm::TWUWIZ* FWizard = nullptr;  // the running form, owned by this component
    float FDPIScale = 1.0f;
};

}  // namespace WUpdateWiz
