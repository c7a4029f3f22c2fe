#pragma once
// The system's progress bar (common controls).
#include <windows.h>

#include "classlib/Control.h"

namespace ClassLib {

class TProgressBar : public TWinControl {
    CLASSLIB_CLASS(TProgressBar, TWinControl)
public:
    static const TPropertyList& Published();
    explicit TProgressBar(TComponent* owner);

    int Min() const { return FMin; }
    void SetMin(int value) { SetRange(value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetRange(FMin, value); }
    // Kept within [Min, Max].
    int Position() const { return FPosition; }
    void SetPosition(int value);
    void SetRange(int min, int max);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandleDone() override;

private:
    void UpdateWindow();

    int FMin = 0;
    int FMax = 100;       // invariant: FMin <= FMax
    int FPosition = 0;    // invariant: FMin <= FPosition <= FMax
};

}  // namespace ClassLib
