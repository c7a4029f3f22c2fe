#include "classlib/Threads.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>

#include "classlib/Exceptions.h"

using namespace ClassLib;

namespace {
class TWorker : public TThread {
public:
    TWorker(const TCreation& creation, std::function<void(TWorker&)> work)
        : TThread(creation), FWork(std::move(work)) {}
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

std::unique_ptr<TWorker> Worker(bool suspended, std::function<void(TWorker&)> work) {
    return TThread::Create<TWorker>(suspended, std::move(work));
}
}  // namespace

TEST(Thread, SuspendedStartWaitAndReturnValue) {
    std::atomic<bool> ran{false};
    auto worker = Worker(true, [&](TWorker& self) {
        ran = true;
        self.Result(7);
    });
    ::Sleep(20);
    EXPECT_FALSE(ran);   // created suspended
    worker->Start();
    EXPECT_EQ(worker->WaitFor(), 7);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(worker->Finished());
}

TEST(Thread, TerminateStopsALoopAndExceptionsStayInside) {
    TSimpleEvent started;
    auto looping = Worker(false, [&](TWorker& self) {
        started.SetEvent();
        while (!self.IsTerminated()) ::Sleep(1);
    });
    ASSERT_EQ(started.WaitFor(5000), wrSignaled);
    looping->Terminate();
    looping->WaitFor();
    EXPECT_TRUE(looping->Finished());

    auto failing = Worker(false, [](TWorker&) { throw EInvalidOperation(L"Unable to open registry key X"); });
    failing->WaitFor();
    EXPECT_EQ(failing->FatalMessage(), L"Unable to open registry key X");
}

TEST(Thread, SynchronizeRunsOnTheMainThreadWhileItWaits) {
    unsigned long ranOn = 0;
    int terminated = 0;
    auto worker = Worker(true, [&](TWorker&) { TThread::Synchronize([&] { ranOn = ::GetCurrentThreadId(); }); });
    worker->OnTerminate = [&](TObject*) { ++terminated; };
    worker->Start();
    worker->WaitFor();
    EXPECT_EQ(ranOn, ::GetCurrentThreadId());
    EXPECT_EQ(terminated, 1);
}

TEST(Thread, FreeOnTerminateFreesItself) {
    static std::atomic<int> alive{0};
    class TSelfFreeing : public TThread {
    public:
        TSelfFreeing(const TCreation& creation, TEvent& done) : TThread(creation), FDone(done) { ++alive; }
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
    auto thread = TThread::Create<TSelfFreeing>(true, done);
    thread->SetFreeOnTerminate(true);
    thread.release()->Start();
    ASSERT_EQ(done.WaitFor(5000), wrSignaled);
    EXPECT_EQ(alive, 0);
}

TEST(Thread, CreatedRunningStartsOnlyOnceTheDerivedObjectIsBuilt) {
    class TLateMember : public TThread {
    public:
        explicit TLateMember(const TCreation& creation) : TThread(creation) {
            ::Sleep(50);   // a thread started by the base constructor runs Execute meanwhile
            FReady = true;
        }
        ~TLateMember() override {
            Terminate();
            WaitFor();
        }
        bool SawReady() const { return FSawReady; }
    protected:
        void Execute() override { FSawReady = FReady; }
    private:
        bool FReady = false;
        bool FSawReady = false;
    };
    auto thread = TThread::Create<TLateMember>(false);
    thread->WaitFor();
    EXPECT_TRUE(thread->Started());
    EXPECT_TRUE(thread->SawReady());
}

TEST(Thread, DeletingAFinishedThreadWaitsForItsTerminateHandler) {
    // Nothing of its own in Execute, so nothing asks this class's destructor to wait.
    class TQuick : public TThread {
    public:
        explicit TQuick(const TCreation& creation) : TThread(creation) {}
    protected:
        void Execute() override {}
    };
    std::atomic<int> handled{0};
    auto thread = TThread::Create<TQuick>(true);
    // The handler sleeps a little so the end of Execute and the handler are far apart.
    thread->OnTerminate = [&](TObject*) {
        ::Sleep(30);
        ++handled;
    };
    thread->Start();
    while (!thread->Finished()) ::Sleep(1);
    thread.reset();
    EXPECT_EQ(handled, 1);   // ran before the object went, not after
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
        auto a = Worker(false, [&](TWorker&) { for (int i = 0; i < 10000; ++i) { TLock lock(section); ++counter; } });
        auto b = Worker(false, [&](TWorker&) { for (int i = 0; i < 10000; ++i) { TLock lock(section); ++counter; } });
        a->WaitFor();   // the destructors would terminate a thread that has not begun yet
        b->WaitFor();
    }
    EXPECT_EQ(counter, 20000);
}
