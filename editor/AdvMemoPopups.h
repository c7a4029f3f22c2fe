#pragma once
// The memo's completion settings and its two pop-up windows: the completion list (a borderless
// form holding an owner-drawn list box) and the parameter hint with its current parameter bold.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "classlib/Form.h"
#include "classlib/GdiObjects.h"
#include "classlib/ImageList.h"
#include "classlib/Pictures.h"
#include "classlib/StandardControls.h"

namespace AdvMemo {

// Category numbers a completion entry carries as its list object.
enum : int { ccIdentifier, ccVariable, ccProperty, ccEvent, ccMethod, ccFunction, ccProcedure };

// The memo's completion settings (property AutoCompletion).
class TAutoCompletion : public ClassLib::TPersistent {
    CLASSLIB_CLASS(TAutoCompletion, ClassLib::TPersistent)
public:
    TAutoCompletion();
    ~TAutoCompletion() override;
    static const ClassLib::TPropertyList& Published();
    void Assign(const ClassLib::TPersistent* source) override;

    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    bool AutoDisplay() const { return FAutoDisplay; }
    void SetAutoDisplay(bool value) { FAutoDisplay = value; }
    bool AutoWidth() const { return FAutoWidth; }
    void SetAutoWidth(bool value) { FAutoWidth = value; }
    ClassLib::TColor Color() const { return FColor; }
    void SetColor(ClassLib::TColor value);
    int Delay() const { return FDelay; }
    void SetDelay(int value);
    ClassLib::TFont* Font() const { return FFont.get(); }
    void SetFont(const ClassLib::TFont* value) { FFont->Assign(value); }
    ClassLib::TColor ColorVar() const { return FColorVar; }
    void SetColorVar(ClassLib::TColor value) { FColorVar = value; }
    ClassLib::TColor ColorProp() const { return FColorProp; }
    void SetColorProp(ClassLib::TColor value) { FColorProp = value; }
    ClassLib::TColor ColorMethod() const { return FColorMethod; }
    void SetColorMethod(ClassLib::TColor value) { FColorMethod = value; }
    ClassLib::TColor ColorFunc() const { return FColorFunc; }
    void SetColorFunc(ClassLib::TColor value) { FColorFunc = value; }
    ClassLib::TColor ColorProc() const { return FColorProc; }
    void SetColorProc(ClassLib::TColor value) { FColorProc = value; }
    ClassLib::TColor ColorEvent() const { return FColorEvent; }
    void SetColorEvent(ClassLib::TColor value) { FColorEvent = value; }
    ClassLib::TColor ColorIdentifier() const { return FColorIdentifier; }
    void SetColorIdentifier(ClassLib::TColor value) { FColorIdentifier = value; }
    bool FromFirstChar() const { return FFromFirstChar; }
    void SetFromFirstChar(bool value) { FFromFirstChar = value; }
    int Height() const { return FHeight; }
    void SetHeight(int value) { FHeight = value; }
    bool KeepLastSize() const { return FKeepLastSize; }
    void SetKeepLastSize(bool value) { FKeepLastSize = value; }
    bool ShowImages() const { return FShowImages; }
    void SetShowImages(bool value) { FShowImages = value; }
    bool SizeDropDown() const { return FSizeDropDown; }
    void SetSizeDropDown(bool value) { FSizeDropDown = value; }
    const std::wstring& StartToken() const { return FStartToken; }
    void SetStartToken(const std::wstring& value) { FStartToken = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value) { FMaxWidth = value; }

    // The memo listens: a colour or font reaches an open list, a delay the completion timer.
    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    std::wstring GetStartTokenText() const { return FStartToken; }
    bool FActive = true;
    bool FAutoDisplay = true;
    bool FAutoWidth = true;
    ClassLib::TColor FColor = ClassLib::clWindow;
    int FDelay = 500;
    std::unique_ptr<ClassLib::TFont> FFont;
    ClassLib::TColor FColorVar = ClassLib::clBlue;
    ClassLib::TColor FColorProp = ClassLib::clTeal;
    ClassLib::TColor FColorMethod = ClassLib::clNavy;
    ClassLib::TColor FColorFunc = ClassLib::clNavy;
    ClassLib::TColor FColorProc = ClassLib::clNavy;
    ClassLib::TColor FColorEvent = ClassLib::clRed;
    ClassLib::TColor FColorIdentifier = ClassLib::clTeal;
    bool FFromFirstChar = true;
    int FHeight = 100;
    bool FKeepLastSize = false;
    bool FShowImages = false;
    bool FSizeDropDown = true;
    std::wstring FStartToken = L"(.";
    int FWidth = 200;
    int FMaxWidth = 0;
};

// The completion list: entries "kind name(parameters)" drawn with the kind in its category
// colour, the name bold, and (with ShowImages) the category's picture.
class TAutoCompletionListBox : public ClassLib::TListBox {
    CLASSLIB_CLASS(TAutoCompletionListBox, ClassLib::TListBox)
public:
    explicit TAutoCompletionListBox(ClassLib::TComponent* owner);
    ~TAutoCompletionListBox() override;
    static const ClassLib::TPropertyList& Published();

    bool ShowImages() const { return FShowImages; }
    void SetShowImages(bool value) { FShowImages = value; Invalidate(); }
    ClassLib::TColor ColorVar() const { return FColors[ccVariable]; }
    void SetColorVar(ClassLib::TColor value) { FColors[ccVariable] = value; }
    ClassLib::TColor ColorProp() const { return FColors[ccProperty]; }
    void SetColorProp(ClassLib::TColor value) { FColors[ccProperty] = value; }
    ClassLib::TColor ColorEvent() const { return FColors[ccEvent]; }
    void SetColorEvent(ClassLib::TColor value) { FColors[ccEvent] = value; }
    ClassLib::TColor ColorMethod() const { return FColors[ccMethod]; }
    void SetColorMethod(ClassLib::TColor value) { FColors[ccMethod] = value; }
    ClassLib::TColor ColorFunc() const { return FColors[ccFunction]; }
    void SetColorFunc(ClassLib::TColor value) { FColors[ccFunction] = value; }
    ClassLib::TColor ColorProc() const { return FColors[ccProcedure]; }
    void SetColorProc(ClassLib::TColor value) { FColors[ccProcedure] = value; }
    ClassLib::TColor ColorIdentifier() const { return FColors[ccIdentifier]; }
    void SetColorIdentifier(ClassLib::TColor value) { FColors[ccIdentifier] = value; }
    // Copies ShowImages and the seven colours.
    void TakeSettings(const class TAutoCompletion& settings);

    ClassLib::TCustomImageList* ImageList() const { return FImageList; }
    // Images 0 to 4 (variable, property, event, procedure, method) replace the pictures;
    // without a list the program's own pictures come back.
    void SetImageList(ClassLib::TCustomImageList* list);
    int IdentifierWidth() const { return FIdentifierWidth; }
    // The widest kind word with its blank, in the list font; 0 when no entry has a blank.
    void SetIdentifierWidth();
    // The width the entries need (scroll bar and picture column included); sets the item height.
    int AutoAdaptWidth();
    void SetDPIScale(float value) { FDPIScale = value; }
    // Set while the keys of an open list belong to the memo.
    std::function<void(WORD& key)> OnListKeyDown;

protected:
    void CreateParams(ClassLib::TCreateParams& params) override;
    void DrawItem(int index, const ClassLib::TRect& rect, ClassLib::TOwnerDrawState state) override;
    // Every key of an open list reaches its handlers (Tab and Enter too).
    bool WantsKey(WORD key) override { (void)key; return true; }
    void KeyDown(WORD& key, ClassLib::TShiftState shift) override;

private:
    void LoadPictures();
    int Scaled(int value) const;
    bool FShowImages = false;
    ClassLib::TColor FColors[7] = {ClassLib::clTeal, ClassLib::clBlue, ClassLib::clTeal, ClassLib::clRed,
                                   ClassLib::clNavy, ClassLib::clNavy, ClassLib::clNavy};
    ClassLib::TCustomImageList* FImageList = nullptr;
    std::unique_ptr<ClassLib::TBitmap> FPictures[5];  // variable, property, event, procedure, method
    int FIdentifierWidth = 0;
    float FDPIScale = 1.0f;
};

// The borderless pop-up form around the completion list.
class TAdvAutoform : public ClassLib::TCustomForm {
    CLASSLIB_CLASS(TAdvAutoform, ClassLib::TCustomForm)
public:
    explicit TAdvAutoform(ClassLib::TComponent* owner);
    TAutoCompletionListBox* ListBox() const { return FListBox; }
    // Sizeable tool window with a borderless list, or a thin frame, shadow and 1-pixel margins.
    void SetSizeDropDown(bool value);
    bool SizeDropDown() const { return FSizeDropDown; }
    // The window the pop-up stays above (the memo's top-level window).
    void SetOwnerWindow(HWND window) { FOwnerWindow = window; }

protected:
    void CreateParams(ClassLib::TCreateParams& params) override;

private:
    TAutoCompletionListBox* FListBox = nullptr;
    bool FSizeDropDown = true;
    HWND FOwnerWindow = nullptr;
};

// The parameter hint: the parameter list in three parts, the part named by Active bold.
class TAdvHintForm : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TAdvHintForm, ClassLib::TCustomControl)
public:
    explicit TAdvHintForm(ClassLib::TComponent* owner);
    std::wstring part1, part2, part3;
    int Active = 0;  // 0 none bold, else 1 to 3
    // The size the three parts need in the window's font (frame and margins included).
    ClassLib::TSize HintSize();
    // Shown at a screen point without taking the focus.
    void ShowAt(int x, int y, int width, int height);
    void HideHint();
    bool Showing() const override;
    // A click that would activate the window gives the focus back here instead.
    std::function<void()> OnClickActivate;

protected:
    void CreateParams(ClassLib::TCreateParams& params) override;
    void Paint() override;
    void Dispatch(ClassLib::TMessage& message) override;
};

}  // namespace AdvMemo
