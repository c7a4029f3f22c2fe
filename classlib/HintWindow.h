#pragma once
// The small borderless window that shows a control's hint.
#include <string>

#include "classlib/Control.h"

namespace ClassLib {

class THintWindow : public TCustomControl {
    CLASSLIB_CLASS(THintWindow, TCustomControl)
public:
    static const TPropertyList& Published();
    explicit THintWindow(TComponent* owner);
    // The size the text needs, at most maxWidth wide (wrapping), with the frame.
    virtual TRect CalcHintRect(int maxWidth, const std::wstring& hint);
    // Shows the text in `rect` (screen coordinates) without taking the focus.
    virtual void ActivateHint(const TRect& rect, const std::wstring& hint);
    void ReleaseHandle();
    bool Active() const { return FActive; }
protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
private:
    bool FActive = false;
};

}  // namespace ClassLib
