#pragma once
// The action an application sends its controls when the hint of the control under the
// mouse changes; a bar with AutoHint shows its text.
#include <string>

#include "classlib/Object.h"

namespace ClassLib {

class THintAction : public TComponent {
    CLASSLIB_CLASS(THintAction, TComponent)
public:
    explicit THintAction(TComponent* owner) : TComponent(owner) {}
    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& value) { FHint = value; }
private:
    std::wstring FHint;
};

}  // namespace ClassLib
