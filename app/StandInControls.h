#pragma once
// Plain stand-ins for the main window's office-style button, page control and status
// bar. They offer the same members the window's handlers use (OnClick, SetActivePageIndex,
// Panels with Text and Style, OnPanelClick), so the office-style controls can take their
// place in the window description without a change to the handlers.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Collections.h"
#include "classlib/Control.h"
#include "classlib/StandardControls.h"

namespace ClassLib {
class TPicture;
}

namespace StandInControls {

// A push button with a caption and an optional picture from the program's RCDATA
// resources (named by PictureName); OnClick fires when the left button is released over it.
class TStandInButton : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TStandInButton, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TStandInButton(ClassLib::TComponent* owner);
    ~TStandInButton() override;

    const std::wstring& PictureName() const { return FPictureName; }
    void SetPictureName(const std::wstring& value);
    ClassLib::TPicture* Picture() const { return FPicture.get(); }
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void MouseUp(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;
    void Dispatch(ClassLib::TMessage& message) override;

private:
    std::wstring FPictureName;
    std::unique_ptr<ClassLib::TPicture> FPicture;
    bool FDown = false;
};

class TStandInPageControl;

// One page; its caption is the tab's text.
class TStandInTabSheet : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TStandInTabSheet, ClassLib::TCustomControl)
public:
    explicit TStandInTabSheet(ClassLib::TComponent* owner);
    void SetText(const std::wstring& value) override;

protected:
    void Paint() override;
};

// Pages are the tab sheets among its children, in child order; one at a time shows.
class TStandInPageControl : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TStandInPageControl, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TStandInPageControl(ClassLib::TComponent* owner);

    int PageCount() const;
    TStandInTabSheet* Pages(int index) const;
    int ActivePageIndex() const { return FActivePageIndex; }
    // Outside 0 .. PageCount-1 no page is active.
    void SetActivePageIndex(int value);
    TStandInTabSheet* ActivePage() const;
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value) { FTabWidth = value; Invalidate(); }
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int value);
    // The page whose tab holds the client point, or -1.
    int TabAtPos(int x, int y) const;
    void Loaded() override;
    void ChangeScale(int m, int d) override;
    ClassLib::TNotifyEvent OnChange;

protected:
    void AdjustClientRect(ClassLib::TRect& rect) const override;
    void Paint() override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;

private:
    void ShowActivePage();
    std::vector<TStandInTabSheet*> PageList() const;

    int FActivePageIndex = -1;
    int FTabWidth = 120;
    int FTabHeight = 22;
};

enum TStatusPanelStyle { psHTML, psText, psOwnerDraw, psProgress };
enum TPanelAppearanceStyle { psLight, psDark };

class TStandInStatusPanel : public ClassLib::TCollectionItem {
    CLASSLIB_CLASS(TStandInStatusPanel, ClassLib::TCollectionItem)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TStandInStatusPanel(ClassLib::TCollection* collection);
    void Assign(const ClassLib::TPersistent* source) override;

    const std::wstring& Text() const { return FText; }
    void SetText(const std::wstring& value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    ClassLib::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(ClassLib::TAlignment value);
    bool Button() const { return FButton; }
    void SetButton(bool value);
    TPanelAppearanceStyle AppearanceStyle() const { return FAppearanceStyle; }
    void SetAppearanceStyle(TPanelAppearanceStyle value);

private:
    std::wstring FText;
    TStatusPanelStyle FStyle = psText;
    int FWidth = 50;
    ClassLib::TAlignment FAlignment = ClassLib::taLeftJustify;
    bool FButton = false;
    TPanelAppearanceStyle FAppearanceStyle = psLight;
};

class TStandInStatusBar;

class TStandInStatusPanels : public ClassLib::TOwnedCollection {
    CLASSLIB_CLASS(TStandInStatusPanels, ClassLib::TOwnedCollection)
public:
    explicit TStandInStatusPanels(TStandInStatusBar* bar);
    TStandInStatusPanel* Items(int index) const;

protected:
    void Update(ClassLib::TCollectionItem* item) override;

private:
    TStandInStatusBar* FBar;
};

using TPanelClick = std::function<void(ClassLib::TObject* sender, int panelIndex)>;

class TStandInStatusBar : public ClassLib::TCustomControl {
    CLASSLIB_CLASS(TStandInStatusBar, ClassLib::TCustomControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TStandInStatusBar(ClassLib::TComponent* owner);
    ~TStandInStatusBar() override;

    TStandInStatusPanels* Panels() const { return FPanels.get(); }
    // The panel under a client x, or -1.
    int PanelAtPos(int x) const;
    TPanelClick OnPanelClick;
    void ChangeScale(int m, int d) override;

protected:
    void Paint() override;
    void MouseDown(ClassLib::TMouseButton button, ClassLib::TShiftState shift, int x, int y) override;

private:
    std::unique_ptr<TStandInStatusPanels> FPanels;
};

// Loads a PNG picture from the program's RCDATA resources; without that resource (as in
// the tests, which carry none) the picture is left empty.
void LoadResourcePicture(ClassLib::TPicture* picture, const std::wstring& name);

// The visible text of a panel: markup tags dropped and "&&" shown as "&".
std::wstring PlainPanelText(const std::wstring& text, TStatusPanelStyle style);

}  // namespace StandInControls
