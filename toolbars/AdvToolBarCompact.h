#pragma once
// The drop-down window of a compact ribbon group: a borderless pop-up that shows the full
// copy of the group below its compact button and hides itself one timer tick after it
// loses activation.
#include <windows.h>

#include <functional>

#include "classlib/Form.h"
#include "controls/AdvGlowButton.h"

namespace ClassLib {
class TTimer;
}

namespace AdvToolBar {

class TAdvCustomToolBar;

// The hit test of the window's edge: the lower right corner (10 pixels) sizes, the rest is
// nowhere, so clicks pass to the toolbar inside.
LRESULT CompactWindowHitTest(int x, int y, int width, int height);

// How a glow button of a ribbon group is measured at a size state and switched there.
// Tests pin the widths so the size steps do not hang on fonts.
struct TGlowButtonSizer {
    std::function<int(AdvGlowButton::TAdvCustomGlowButton*, AdvGlowButton::TButtonSizeState)> WidthAt;
    // Switches the button; returns its new width.
    std::function<int(AdvGlowButton::TAdvCustomGlowButton*, AdvGlowButton::TButtonSizeState)> SwitchTo;
};
TGlowButtonSizer& GlowButtonSizer();
// Puts the platform's sizer back at the end of a scope.
class TGlowButtonSizerScope {
public:
    TGlowButtonSizerScope() : FSaved(GlowButtonSizer()) {}
    ~TGlowButtonSizerScope() { GlowButtonSizer() = FSaved; }
    TGlowButtonSizerScope(const TGlowButtonSizerScope&) = delete;
    TGlowButtonSizerScope& operator=(const TGlowButtonSizerScope&) = delete;
private:
    TGlowButtonSizer FSaved;
};

// While one lives, the platform sizer remembers each measured width per button and state: a
// page's layout pass asks the same buttons again and again, and their texts, pictures and
// fonts do not change meanwhile. Scopes nest; the last one to go forgets.
class TGlowButtonMeasureScope {
public:
    TGlowButtonMeasureScope();
    ~TGlowButtonMeasureScope();
    TGlowButtonMeasureScope(const TGlowButtonMeasureScope&) = delete;
    TGlowButtonMeasureScope& operator=(const TGlowButtonMeasureScope&) = delete;
};

class TCompactWindow : public ClassLib::TCustomForm {
    CLASSLIB_CLASS(TCompactWindow, ClassLib::TCustomForm)
public:
    explicit TCompactWindow(ClassLib::TComponent* owner);
    ~TCompactWindow() override;

    // The copy it shows, and the compact button that opened it.
    TAdvCustomToolBar* AdvToolBar() const { return FAdvToolBar; }
    void SetAdvToolBar(TAdvCustomToolBar* value) { FAdvToolBar = value; }
    AdvGlowButton::TAdvCustomGlowButton* DropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(AdvGlowButton::TAdvCustomGlowButton* value) { FDropDownButton = value; }
    bool HideOnDeActivate() const { return FHideOnDeActivate; }
    void SetHideOnDeActivate(bool value) { FHideOnDeActivate = value; }
    ClassLib::TTimer* HideTimer() const { return FHideTimer; }

    // One pixel round the toolbar, in its styler's colour.
    void SetWindowSize();
    void SetRoundedRegion();
    bool CanHide();
    // The top-level window above the page toolbar (its caption stays active).
    HWND OwnerTopWindow() const;
    void HideTimerTick();
    // The owner's OnCompactCloseQuery is asked too.
    bool CloseQuery() override;

protected:
    void CreateParams(ClassLib::TCreateParams& params) override;
    void DoHide() override;
    void Paint() override;
    void Dispatch(ClassLib::TMessage& message) override;

private:
    void WMActivate(ClassLib::TMessage& message);
    TAdvCustomToolBar* FAdvToolBar = nullptr;   // owned as a component
    AdvGlowButton::TAdvCustomGlowButton* FDropDownButton = nullptr;
    bool FHideOnDeActivate = true;
    ClassLib::TComponent* FOwner = nullptr;     // the page toolbar
    ClassLib::TTimer* FHideTimer = nullptr;     // owned as a component
};

}  // namespace AdvToolBar
