#include "graphics/AdvThemeNotifier.h"

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/Form.h"
#include "classlib/Properties.h"
#include "classlib/Registry.h"

namespace AdvStyleIF {

using namespace ClassLib;

CLASSLIB_IMPLEMENT(THandleList, TList)
CLASSLIB_IMPLEMENT(TRegMonitorThread, TThread)
CLASSLIB_IMPLEMENT(TThemeNotifierWindow, TWinControl)
CLASSLIB_IMPLEMENT(TThemeNotifier, TComponent)

namespace {

TThemeNotifier*& NotifierSlot() {
    static TThemeNotifier* slot = nullptr;
    return slot;
}

const wchar_t* const OfficeVersions[] = {L"12.0", L"14.0", L"15.0", L"16.0"};

}  // namespace

// ---- TRegMonitorLink -------------------------------------------------------

TRegMonitorLink::TRegMonitorLink() {
    FEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!FEvent) RaiseLastOSError(L"Cannot create the registry change event");
    FWatching = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!FWatching) {
        const DWORD code = ::GetLastError();
        ::CloseHandle(FEvent);
        RaiseOSError(code, L"Cannot create the registry change event");
    }
}

TRegMonitorLink::~TRegMonitorLink() {
    ::CloseHandle(FWatching);
    ::CloseHandle(FEvent);
}

bool TRegMonitorLink::WaitWatching(DWORD timeoutMs) const {
    return ::WaitForSingleObject(FWatching, timeoutMs) == WAIT_OBJECT_0;
}

void TRegMonitorLink::RegisterWindow(HWND window) {
    TLock lock(FLock);
    if (!FWinList.HasValue(window)) FWinList.Add(window);
}

void TRegMonitorLink::UnRegisterWindow(HWND window) {
    TLock lock(FLock);
    FWinList.DeleteValue(window);
}

std::vector<HWND> TRegMonitorLink::Windows() const {
    TLock lock(FLock);
    std::vector<HWND> windows;
    windows.reserve(size_t(FWinList.Count()));
    for (int i = 0; i < FWinList.Count(); ++i) windows.push_back(FWinList.Items(i));
    return windows;
}

void TRegMonitorLink::Stop() {
    // The flag first: a worker woken by the event must already see it.
    FStopping = true;
    ::SetEvent(FEvent);
}

// ---- TRegMonitorThread -----------------------------------------------------

TRegMonitorThread::TRegMonitorThread(const TCreation& creation, std::shared_ptr<TRegMonitorLink> link)
    : TThread(creation), FReg(std::make_unique<TRegistry>(KEY_READ)), FLink(std::move(link)) {
    if (!FLink) FLink = std::make_shared<TRegMonitorLink>();
}

TRegMonitorThread::~TRegMonitorThread() {
    // A thread freed by its owner: Execute uses the members, so it ends before they go.
    // A thread that frees itself runs this on its own thread, after Execute.
    if (::GetCurrentThreadId() != ThreadID()) {
        Terminate();
        FLink->Stop();
        if (!Started()) Start();
        WaitFor();
    }
}

DWORD TRegMonitorThread::Filter() {
    if (FFilter == 0) FFilter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_ATTRIBUTES |
                                REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_SECURITY;
    return FFilter;
}

void TRegMonitorThread::Arm(HKEY key) {
    const LONG result = ::RegNotifyChangeKeyValue(key, FWatchSub, Filter(), FLink->Event(), TRUE);
    if (result != ERROR_SUCCESS) RaiseOSError(DWORD(result), L"Cannot watch registry key " + FKey);
}

void TRegMonitorThread::SendToReceivers() {
    const WPARAM root = reinterpret_cast<WPARAM>(FRootKey);
    const LPARAM path = reinterpret_cast<LPARAM>(FKey.c_str());
    // A stop may come while a receiver handles the message: nobody is sent to after it.
    if (FWnd && !FLink->Stopping()) ::SendMessageW(FWnd, WM_OFFICETHEMECHANGED, root, path);
    for (HWND window : FLink->Windows()) {
        if (FLink->Stopping()) return;
        ::SendMessageW(window, WM_OFFICETHEMECHANGED, root, path);
    }
}

void TRegMonitorThread::Execute() {
    FReg->SetRootKey(FRootKey);
    if (!FReg->OpenKeyReadOnly(FKey)) throw Exception(L"Unable to open registry key " + FKey);
    const HKEY key = FReg->CurrentKey();
    const HANDLE event = FLink->Event();
    Arm(key);
    FLink->SetWatching();
    while (!FLink->Stopping() && !Terminated()) {
        const DWORD wait = ::WaitForSingleObject(event, INFINITE);
        if (wait == WAIT_FAILED) return;  // the event is gone: nothing can wake us again
        if (wait != WAIT_OBJECT_0) continue;
        if (FLink->Stopping() || Terminated()) return;
        SendToReceivers();
        // Reset before re-arming: the notification signals the event, not a count, so a
        // change after the re-arm still wakes the next wait.
        ::ResetEvent(event);
        Arm(key);
    }
}

// ---- TThemeNotifierWindow --------------------------------------------------

const TPropertyList& TThemeNotifierWindow::Published() {
    static const TPropertyList list = TPropertyList::Extend(TWinControl::Published())
        .Add(L"Visible", &TThemeNotifierWindow::Visible, &TThemeNotifierWindow::SetVisible, false)
        .Event(L"OnOfficeThemeChange", &TThemeNotifierWindow::OnOfficeThemeChange);
    return list;
}

TThemeNotifierWindow::TThemeNotifierWindow(TComponent* owner) : TWinControl(owner) {
    TControl::SetVisible(false);
}

void TThemeNotifierWindow::Dispatch(TMessage& message) {
    if (message.Msg == WM_OFFICETHEMECHANGED) FireEvent(OnOfficeThemeChange, this);
    TWinControl::Dispatch(message);
}

// ---- TThemeNotifier --------------------------------------------------------

const TPropertyList& TThemeNotifier::Published() {
    static const TPropertyList list = TPropertyList::Extend(TComponent::Published())
        .Event(L"OnOfficeThemeChange", &TThemeNotifier::OnOfficeThemeChange);
    return list;
}

TThemeNotifier::TThemeNotifier(TComponent* owner) : TComponent(owner) {
    if (HasState(csDesigning)) return;
    const int version = DetectOfficeVersion();
    if (version == 0) return;

    FNotifier = new TThemeNotifierWindow(this);
    FNotifier->OnOfficeThemeChange = Bind(this, &TThemeNotifier::OfficeThemeChanged);
    HWND window = nullptr;
    if (auto* parent = dynamic_cast<TWinControl*>(owner)) {
        FNotifier->SetParent(parent);
        // A control that cannot have a window yet (no parent window) cannot hold ours.
        try {
            window = FNotifier->Handle();
        } catch (const EInvalidOperation&) {
            FNotifier->SetParent(nullptr);
        }
    }
    if (!window) {
        FNotifier->SetParentWindow(HWND_MESSAGE);
        window = FNotifier->Handle();
    }

    auto link = std::make_shared<TRegMonitorLink>();
    std::unique_ptr<TRegMonitorThread> worker = TThread::Create<TRegMonitorThread>(true, link);
    worker->SetFreeOnTerminate(true);
    worker->SetWnd(window);
    worker->SetFilter(REG_NOTIFY_CHANGE_LAST_SET);
    worker->SetKey(std::wstring(L"Software\\Microsoft\\Office\\") + OfficeVersions[version - 1] + L"\\Common");
    worker->SetRootKey(HKEY_CURRENT_USER);
    worker->SetWatchSub(true);
    // Taken before the start: a worker that cannot open its key frees itself at once.
    if (!::DuplicateHandle(::GetCurrentProcess(), worker->Handle(), ::GetCurrentProcess(), &FWorkerHandle,
                           SYNCHRONIZE, FALSE, 0))
        FWorkerHandle = nullptr;
    FMonitor = std::move(link);
    worker.release()->Start();
}

TThemeNotifier::~TThemeNotifier() {
    if (FMonitor) FMonitor->Stop();
    FMonitor.reset();
    if (NotifierSlot() == this) NotifierSlot() = nullptr;
    if (FWorkerHandle) ::CloseHandle(FWorkerHandle);
}

void TThemeNotifier::RegisterWindow(HWND window) {
    if (FMonitor) FMonitor->RegisterWindow(window);
}

void TThemeNotifier::UnRegisterWindow(HWND window) {
    if (FMonitor) FMonitor->UnRegisterWindow(window);
}

void TThemeNotifier::OfficeThemeChanged(TObject* sender) {
    (void)sender;
    FireEvent(OnOfficeThemeChange, this);
}

TThemeNotifier* GetThemeNotifier(TWinControl* owner) {
    if (!NotifierSlot()) {
        TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
        TComponent* notifierOwner = owner;
        if (mainForm && mainForm->HandleAllocated()) notifierOwner = mainForm;
        NotifierSlot() = new TThemeNotifier(notifierOwner);
    }
    return NotifierSlot();
}

}  // namespace AdvStyleIF
