#pragma once
// A component that raises OnTimer every Interval milliseconds while Enabled. Its handler
// may disable, change or free the timer.
#include <windows.h>

#include "classlib/Events.h"
#include "classlib/Object.h"

namespace ClassLib {

class TTimer : public TComponent {
    CLASSLIB_CLASS(TTimer, TComponent)
public:
    static const TPropertyList& Published();
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);
    TNotifyEvent OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent value);

    void Loaded() override;

protected:
    virtual void Timer();

private:
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    TNotifyEvent FOnTimer;
    UINT_PTR FId = 0;  // the system timer, 0 while none runs
};

}  // namespace ClassLib
