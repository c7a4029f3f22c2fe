#pragma once
// The process's Office theme notifier: a worker thread watches the current user's key of
// the installed Office version and, on every change under it, sends WM_OFFICETHEMECHANGED
// to a hidden window of the notifier and to every window registered with it.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Control.h"
#include "classlib/Lists.h"
#include "classlib/Threads.h"
#include "graphics/AdvStyleIF.h"

namespace ClassLib {
class TRegistry;
}

namespace AdvStyleIF {

// Window handles in a pointer list.
class THandleList : public ClassLib::TList {
    CLASSLIB_CLASS(THandleList, ClassLib::TList)
public:
    int Add(HWND value) { return TList::Add(value); }
    void Insert(int index, HWND value) { TList::Insert(index, value); }
    // Removes the first occurrence; nothing when absent.
    void DeleteValue(HWND value) { Remove(value); }
    bool HasValue(HWND value) const { return IndexOf(value) >= 0; }
    HWND Items(int index) const { return static_cast<HWND>(TList::Items(index)); }
    void SetItems(int index, HWND value) { TList::SetItems(index, value); }
};

// What a notifier and its worker share: the receivers, their lock, the change event and
// the stop request. The worker may end on its own (its key could not be opened) and the
// notifier may go first, so whichever of the two lets go last frees it.
class TRegMonitorLink {
public:
    // EOSError when the event cannot be made.
    TRegMonitorLink();
    ~TRegMonitorLink();
    TRegMonitorLink(const TRegMonitorLink&) = delete;
    TRegMonitorLink& operator=(const TRegMonitorLink&) = delete;

    // A window is kept once.
    void RegisterWindow(HWND window);
    void UnRegisterWindow(HWND window);
    // A copy taken under the lock: the worker sends with the lock released, so a window
    // registering while a receiver handles the message cannot deadlock.
    std::vector<HWND> Windows() const;
    // Asks the worker to leave and wakes it; never waits for it.
    void Stop();
    bool Stopping() const noexcept { return FStopping; }
    // The worker calls this once its first notification is armed.
    void SetWatching() { ::SetEvent(FWatching); }
    // True once the worker watches: a change made before then is not seen.
    bool WaitWatching(DWORD timeoutMs) const;
    // Unnamed and manual-reset: a named one would be shared with other processes, whose
    // resets and stops would then swallow or fake this worker's changes.
    HANDLE Event() const noexcept { return FEvent; }

private:
    mutable ClassLib::TCriticalSection FLock;
    THandleList FWinList;  // guarded by FLock
    std::atomic<bool> FStopping{false};
    HANDLE FEvent = nullptr;
    HANDLE FWatching = nullptr;  // manual-reset, set once
};

// Waits for a change notification of one registry key and its subtree and sends
// WM_OFFICETHEMECHANGED to Wnd, then to the link's windows in registration order.
class TRegMonitorThread : public ClassLib::TThread {
    CLASSLIB_CLASS(TRegMonitorThread, ClassLib::TThread)
public:
    TRegMonitorThread(const TCreation& creation, std::shared_ptr<TRegMonitorLink> link);
    ~TRegMonitorThread() override;

    HKEY RootKey() const noexcept { return FRootKey; }
    void SetRootKey(HKEY value) { FRootKey = value; }
    const std::wstring& Key() const noexcept { return FKey; }
    void SetKey(const std::wstring& value) { FKey = value; }
    bool WatchSub() const noexcept { return FWatchSub; }
    void SetWatchSub(bool value) { FWatchSub = value; }
    // A filter of 0 becomes 15 when read: name, attribute, last-set and security changes.
    DWORD Filter();
    void SetFilter(DWORD value) { FFilter = value; }
    HWND Wnd() const noexcept { return FWnd; }
    void SetWnd(HWND value) { FWnd = value; }
    TRegMonitorLink& Link() const noexcept { return *FLink; }
    void Stop() { FLink->Stop(); }

protected:
    // Raises "Unable to open registry key <key>" when the key cannot be opened; the
    // thread then ends without sending anything.
    void Execute() override;

private:
    void Arm(HKEY key);
    void SendToReceivers();

    std::unique_ptr<ClassLib::TRegistry> FReg;
    std::shared_ptr<TRegMonitorLink> FLink;  // invariant: not null
    std::wstring FKey;
    HKEY FRootKey = HKEY_CURRENT_USER;
    bool FWatchSub = false;
    DWORD FFilter = 0;
    HWND FWnd = nullptr;
};

// The notifier's hidden window: WM_OFFICETHEMECHANGED raises OnOfficeThemeChange.
class TThemeNotifierWindow : public ClassLib::TWinControl {
    CLASSLIB_CLASS(TThemeNotifierWindow, ClassLib::TWinControl)
public:
    static const ClassLib::TPropertyList& Published();
    explicit TThemeNotifierWindow(ClassLib::TComponent* owner);
    void Dispatch(ClassLib::TMessage& message) override;

    ClassLib::TNotifyEvent OnOfficeThemeChange;
};

class TThemeNotifier : public ClassLib::TComponent {
    CLASSLIB_CLASS(TThemeNotifier, ClassLib::TComponent)
public:
    static const ClassLib::TPropertyList& Published();
    // Watches only when an Office 2007 or later is found (and not in the designer); the
    // hidden window's parent is the owner when that is a windowed control that can have a
    // window, else the window is message-only.
    explicit TThemeNotifier(ClassLib::TComponent* owner);
    ~TThemeNotifier() override;

    // Both do nothing while nothing is watched.
    void RegisterWindow(HWND window);
    void UnRegisterWindow(HWND window);
    bool Watching() const noexcept { return FMonitor != nullptr; }
    // The hidden window, or null while nothing is watched.
    TThemeNotifierWindow* NotifierWindow() const noexcept { return FNotifier; }
    // The worker thread, for waiting on its end; valid as long as the notifier; null
    // while nothing is watched.
    HANDLE WorkerHandle() const noexcept { return FWorkerHandle; }
    // True once the worker has armed its first notification (false while nothing is
    // watched): a change made before then is not seen.
    bool WaitWatching(DWORD timeoutMs) const { return FMonitor && FMonitor->WaitWatching(timeoutMs); }

    ClassLib::TNotifyEvent OnOfficeThemeChange;

private:
    void OfficeThemeChanged(ClassLib::TObject* sender);

    std::shared_ptr<TRegMonitorLink> FMonitor;  // null: not watching
    TThemeNotifierWindow* FNotifier = nullptr;  // owned as a component
    HANDLE FWorkerHandle = nullptr;
};

}  // namespace AdvStyleIF
