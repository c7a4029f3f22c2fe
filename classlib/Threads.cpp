#include "classlib/Threads.h"

#include <windows.h>

#include <deque>
#include <exception>

#include "classlib/Exceptions.h"

namespace ClassLib {

namespace {
// The thread that started the program: static data is made before main runs.
const DWORD MainThread = ::GetCurrentThreadId();

struct TSyncRequest {
    const std::function<void()>* Method;
    HANDLE Done;
    std::exception_ptr Failure;
};

std::mutex& SyncLock() {
    static std::mutex lock;
    return lock;
}

std::deque<TSyncRequest*>& SyncQueue() {
    static std::deque<TSyncRequest*> queue;
    return queue;
}

// Signalled while calls wait, so a waiting main thread wakes for them.
HANDLE SyncSignal() {
    static HANDLE signal = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return signal;
}
}  // namespace

// ---------------------------------------------------------------- TThread

CLASSLIB_IMPLEMENT(TThread, TObject)

std::function<void()> TThread::WakeMainThread;

unsigned long TThread::MainThreadID() { return MainThread; }

TThread::TThread(const TCreation& creation) : FCreateSuspended(creation.FCreateSuspended) {
    FHandle = ::CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &FThreadID);
    if (!FHandle) RaiseLastOSError(L"Cannot create a thread");
}

void TThread::AfterConstruction() {
    if (!FCreateSuspended) Start();
}

TThread::~TThread() {
    // Finished() turns true before OnTerminate runs, so the wait is on the thread itself:
    // OnTerminate must not reach an object already gone.
    if (FHandle && ::GetCurrentThreadId() != FThreadID) {
        Terminate();
        if (!FStarted) Start();
        WaitFor();
    }
    if (FHandle) ::CloseHandle(FHandle);
}

void TThread::Start() {
    if (FStarted) return;
    FStarted = true;
    ::ResumeThread(FHandle);
}

int TThread::WaitFor() {
    if (!FHandle || ::GetCurrentThreadId() == FThreadID) return FReturnValue;
    if (::GetCurrentThreadId() == MainThread) {
        const HANDLE handles[2] = {FHandle, SyncSignal()};
        while (::WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) CheckSynchronize();
        CheckSynchronize();
    } else {
        ::WaitForSingleObject(FHandle, INFINITE);
    }
    return FReturnValue;
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

unsigned long __stdcall TThread::ThreadProc(void* parameter) {
    TThread* thread = static_cast<TThread*>(parameter);
    // Nothing may leave a thread function: keep what went wrong instead.
    try {
        if (!thread->FTerminated) thread->Execute();
    } catch (const Exception& error) {
        thread->FFatalMessage = error.Message();
    } catch (const std::exception& error) {
        thread->FFatalMessage = std::wstring(error.what(), error.what() + std::char_traits<char>::length(error.what()));
    } catch (...) {
        thread->FFatalMessage = L"Unknown exception in thread";
    }
    const bool freeThread = thread->FFreeOnTerminate;
    const int result = thread->FReturnValue;
    thread->FFinished = true;
    try {
        thread->DoTerminate();
    } catch (...) {
    }
    if (freeThread) delete thread;
    return DWORD(result);
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (::GetCurrentThreadId() == MainThread) {
        method();
        return;
    }
    TSyncRequest request{&method, ::CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
    if (!request.Done) RaiseLastOSError(L"Cannot hand a call to the main thread");
    {
        std::lock_guard<std::mutex> guard(SyncLock());
        SyncQueue().push_back(&request);
    }
    ::SetEvent(SyncSignal());
    if (WakeMainThread) WakeMainThread();
    ::WaitForSingleObject(request.Done, INFINITE);
    ::CloseHandle(request.Done);
    if (request.Failure) std::rethrow_exception(request.Failure);
}

bool TThread::CheckSynchronize() {
    if (::GetCurrentThreadId() != MainThread) return false;
    bool ran = false;
    while (true) {
        TSyncRequest* request = nullptr;
        {
            std::lock_guard<std::mutex> guard(SyncLock());
            if (SyncQueue().empty()) break;
            request = SyncQueue().front();
            SyncQueue().pop_front();
        }
        try {
            (*request->Method)();
        } catch (...) {
            request->Failure = std::current_exception();
        }
        ::SetEvent(request->Done);
        ran = true;
    }
    return ran;
}

// ---------------------------------------------------------------- TCriticalSection, TEvent

CLASSLIB_IMPLEMENT(TCriticalSection, TObject)
CLASSLIB_IMPLEMENT(TEvent, TObject)
CLASSLIB_IMPLEMENT(TSimpleEvent, TEvent)

TEvent::TEvent(bool manualReset, bool initialState, const std::wstring& name) {
    FHandle = ::CreateEventW(nullptr, manualReset, initialState, name.empty() ? nullptr : name.c_str());
    if (!FHandle) RaiseLastOSError(L"Cannot create the event \"" + name + L"\"");
}

TEvent::~TEvent() {
    if (FHandle) ::CloseHandle(FHandle);
}

void TEvent::SetEvent() { ::SetEvent(FHandle); }
void TEvent::ResetEvent() { ::ResetEvent(FHandle); }

TWaitResult TEvent::WaitFor(unsigned long timeout) {
    switch (::WaitForSingleObject(FHandle, timeout)) {
    case WAIT_OBJECT_0: return wrSignaled;
    case WAIT_TIMEOUT: return wrTimeout;
    case WAIT_ABANDONED: return wrAbandoned;
    default:
        FLastError = int(::GetLastError());
        return wrError;
    }
}

}  // namespace ClassLib
