#pragma once
// Threads and their synchronisation: TThread (created suspended or running, a
// terminate flag, free on terminate, wait), calls handed to the main thread,
// critical sections and events.
//
// No exception leaves Execute: the thread catches it and keeps its message in
// FatalMessage(). C++ builds the base first, so a thread started by the base
// constructor could reach Execute before the derived constructor ran: every thread is
// made through TThread::Create, which starts it once the whole object exists. A derived
// class whose Execute uses its own members calls Terminate() and WaitFor() in its
// destructor, before those members go.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>

#include "classlib/Events.h"
#include "classlib/Object.h"

namespace ClassLib {

class TThread : public TObject {
    CLASSLIB_CLASS(TThread, TObject)
public:
    // Only Create can make one, so no thread is built without Create: a thread class's
    // constructor takes the creation first and hands it to TThread.
    class TCreation {
    public:
        TCreation(const TCreation&) = delete;
        TCreation& operator=(const TCreation&) = delete;
    private:
        friend class TThread;
        explicit TCreation(bool createSuspended) noexcept : FCreateSuspended(createSuspended) {}
        bool FCreateSuspended;
    };

    // Makes a T(creation, args...) and, unless `createSuspended`, starts it once the
    // constructor of T has finished. A thread that frees itself is released from the
    // pointer: Create<T>(true, ...), SetFreeOnTerminate(true), release()->Start().
    template <class T, class... TArgs>
    static std::unique_ptr<T> Create(bool createSuspended, TArgs&&... args) {
        static_assert(std::is_base_of_v<TThread, T>, "Create makes threads only");
        const TCreation creation(createSuspended);
        std::unique_ptr<T> thread(new T(creation, std::forward<TArgs>(args)...));
        static_cast<TThread*>(thread.get())->AfterConstruction();
        return thread;
    }

    // Terminates, starts a thread that never started, and waits for the whole thread
    // function, OnTerminate included (not when the thread frees itself).
    ~TThread() override;

    void Start();
    void Terminate() { FTerminated = true; }
    // Waits for the end; on the main thread, calls handed over with Synchronize run meanwhile.
    int WaitFor();

    bool Terminated() const noexcept { return FTerminated; }
    bool Finished() const noexcept { return FFinished; }
    bool Started() const noexcept { return FStarted; }
    bool FreeOnTerminate() const noexcept { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool on) { FFreeOnTerminate = on; }
    THandle Handle() const noexcept { return FHandle; }
    unsigned long ThreadID() const noexcept { return FThreadID; }
    int ReturnValue() const noexcept { return FReturnValue; }
    // The message of an exception that ended Execute; empty when none did.
    const std::wstring& FatalMessage() const noexcept { return FFatalMessage; }

    // Runs on the main thread once the thread has ended (through Synchronize).
    TNotifyEvent OnTerminate;

    // Runs `method` on the main thread and waits for it; on the main thread it runs at
    // once. An exception of `method` is raised again in the calling thread.
    static void Synchronize(const std::function<void()>& method);
    // The main thread calls this from its message loop: runs the waiting calls.
    // True when one ran.
    static bool CheckSynchronize();
    // Called (from the worker) whenever a call waits, so the loop can wake up.
    static std::function<void()> WakeMainThread;
    static unsigned long MainThreadID();

protected:
    explicit TThread(const TCreation& creation);
    virtual void Execute() = 0;
    virtual void DoTerminate();
    void SetReturnValue(int value) { FReturnValue = value; }

private:
    static unsigned long __stdcall ThreadProc(void* parameter);
    void AfterConstruction();

    THandle FHandle = nullptr;
    unsigned long FThreadID = 0;
    volatile bool FTerminated = false;
    volatile bool FFinished = false;
    bool FStarted = false;
    bool FFreeOnTerminate = false;
    bool FCreateSuspended;
    int FReturnValue = 0;
    std::wstring FFatalMessage;
};

// A recursive lock, one owner at a time.
class TCriticalSection : public TObject {
    CLASSLIB_CLASS(TCriticalSection, TObject)
public:
    void Enter() { FMutex.lock(); }
    void Leave() { FMutex.unlock(); }
    bool TryEnter() { return FMutex.try_lock(); }
    void Acquire() { Enter(); }
    void Release() { Leave(); }
private:
    std::recursive_mutex FMutex;
};

// Enters a critical section for one scope.
class TLock {
public:
    explicit TLock(TCriticalSection& section) : FSection(section) { FSection.Enter(); }
    ~TLock() { FSection.Leave(); }
    TLock(const TLock&) = delete;
    TLock& operator=(const TLock&) = delete;
private:
    TCriticalSection& FSection;
};

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };
constexpr unsigned long InfiniteTimeout = 0xFFFFFFFFul;

// A system event, optionally named; EOSError when it cannot be created.
class TEvent : public TObject {
    CLASSLIB_CLASS(TEvent, TObject)
public:
    TEvent(bool manualReset, bool initialState, const std::wstring& name = std::wstring());
    ~TEvent() override;
    void SetEvent();
    void ResetEvent();
    TWaitResult WaitFor(unsigned long timeout = InfiniteTimeout);
    THandle Handle() const noexcept { return FHandle; }
    int LastError() const noexcept { return FLastError; }
private:
    THandle FHandle = nullptr;
    int FLastError = 0;
};

// An unnamed manual-reset event, initially not signalled.
class TSimpleEvent : public TEvent {
    CLASSLIB_CLASS(TSimpleEvent, TEvent)
public:
    TSimpleEvent() : TEvent(true, false) {}
};

}  // namespace ClassLib
