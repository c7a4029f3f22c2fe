#include "classlib/Timer.h"

#include <map>

#include "classlib/Application.h"
#include "classlib/Control.h"
#include "classlib/Properties.h"

namespace ClassLib {

CLASSLIB_IMPLEMENT(TTimer, TComponent)

namespace {

// One hidden window carries the ticks of every timer of the thread; a timer freed in its
// own handler just disappears from the map, and the window goes on.
struct TTimerHost {
    HWND Window = nullptr;
    std::map<UINT_PTR, TTimer*> Timers;
    UINT_PTR NextId = 1;
};

TTimerHost& Host() {
    static TTimerHost host;
    return host;
}

}  // namespace

const TPropertyList& TTimer::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Add(L"Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
        .Add(L"Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
        .Event(L"OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
    return list;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
    FEnabled = false;
    UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
    if (value == FInterval) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent value) {
    FOnTimer = std::move(value);
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::Timer() {
    // A copy: the handler may replace the event or free the timer while it runs.
    const TNotifyEvent handler = FOnTimer;
    if (handler) handler(this);
}

void TTimer::UpdateTimer() {
    TTimerHost& host = Host();
    if (FId) {
        ::KillTimer(host.Window, FId);
        host.Timers.erase(FId);
        FId = 0;
    }
    if (!FEnabled || FInterval == 0 || !FOnTimer || HasState(csLoading) || HasState(csDestroying)) return;
    if (!host.Window) {
        host.Window = AllocateHWnd([](TMessage& message) {
            if (message.Msg != WM_TIMER) {
                message.Msg = 0;
                return;
            }
            auto& timers = Host().Timers;
            const auto it = timers.find(message.WParam);
            if (it == timers.end()) return;
            it->second->Timer();
        });
    }
    FId = host.NextId++;
    if (!::SetTimer(host.Window, FId, FInterval, nullptr)) {
        FId = 0;
        RaiseLastOSError(L"Cannot start a timer");
    }
    host.Timers[FId] = this;
}

}  // namespace ClassLib
