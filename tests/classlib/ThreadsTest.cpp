#include "classlib/Threads.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "classlib/Exceptions.h"

using namespace ClassLib;

namespace {
class TWorker : public TThread {
public:
    explicit TWorker(bool suspended, std::function<void(TWorker&)> work)
        : TThread(true), FWork(std::move(work)) {
        if (!suspended) Start();
    }
    ~TWorker() override {
        Terminate();
        WaitFor();
    }
    bool IsTerminated() const { return Terminated(); }
    void Result(int value) { SetReturnValue(value); }
protected:
    void Execute() override { FWork(*this); }
private:
    std::function<void(TWorker&)> FWork;
};
}  // namespace

TEST(Thread, SuspendedStartWaitAndReturnValue) {
    std::atomic<bool> ran{false};
    TWorker worker(true, [&](TWorker& self) {
        ran = true;
        self.Result(7);
    });
    ::Sleep(20);
    EXPECT_FALSE(ran);   // created suspended
    worker.Start();
    EXPECT_EQ(worker.WaitFor(), 7);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(worker.Finished());
}

TEST(Thread, TerminateStopsALoopAndExceptionsStayInside) {
    TSimpleEvent started;
    TWorker looping(false, [&](TWorker& self) {
        started.SetEvent();
        while (!self.IsTerminated()) ::Sleep(1);
    });
    ASSERT_EQ(started.WaitFor(5000), wrSignaled);
    looping.Terminate();
    looping.WaitFor();
    EXPECT_TRUE(looping.Finished());

    TWorker failing(false, [](TWorker&) { throw EInvalidOperation(L"Unable to open registry key X"); });
    failing.WaitFor();
    EXPECT_EQ(failing.FatalMessage(), L"Unable to open registry key X");
}

TEST(Thread, SynchronizeRunsOnTheMainThreadWhileItWaits) {
    unsigned long ranOn = 0;
    int terminated = 0;
    TWorker worker(true, [&](TWorker&) { TThread::Synchronize([&] { ranOn = ::GetCurrentThreadId(); }); });
    worker.OnTerminate = [&](TObject*) { ++terminated; };
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(ranOn, ::GetCurrentThreadId());
    EXPECT_EQ(terminated, 1);
}

TEST(Thread, FreeOnTerminateFreesItself) {
    static std::atomic<int> alive{0};
    class TSelfFreeing : public TThread {
    public:
        explicit TSelfFreeing(TEvent& done) : TThread(true), FDone(done) { ++alive; }
        ~TSelfFreeing() override {
            --alive;
            FDone.SetEvent();
        }
    protected:
        void Execute() override {}
    private:
        TEvent& FDone;
    };
    TEvent done(true, false);
    auto* thread = new TSelfFreeing(done);
    thread->SetFreeOnTerminate(true);
    thread->Start();
    ASSERT_EQ(done.WaitFor(5000), wrSignaled);
    EXPECT_EQ(alive, 0);
}

TEST(SyncObjects, NamedEventsAndCriticalSections) {
    TEvent first(true, false, L"ClassLibTestEvent");
    TEvent second(true, false, L"ClassLibTestEvent");   // the same system event
    EXPECT_EQ(second.WaitFor(0), wrTimeout);
    first.SetEvent();
    EXPECT_EQ(second.WaitFor(0), wrSignaled);
    first.ResetEvent();
    EXPECT_EQ(second.WaitFor(0), wrTimeout);

    TCriticalSection section;
    int counter = 0;
    {
        TWorker a(false, [&](TWorker&) { for (int i = 0; i < 10000; ++i) { TLock lock(section); ++counter; } });
        TWorker b(false, [&](TWorker&) { for (int i = 0; i < 10000; ++i) { TLock lock(section); ++counter; } });
        a.WaitFor();   // the destructors would terminate a thread that has not begun yet
        b.WaitFor();
    }
    EXPECT_EQ(counter, 20000);
}
