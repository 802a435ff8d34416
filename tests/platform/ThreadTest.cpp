#include "Classes.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <atomic>

namespace {

// Runs the event loop and the synchronised calls until Cond holds (false after 20 s).
bool RunUntil(const std::function<bool()>& Cond) {
    QElapsedTimer t;
    t.start();
    while (!Cond()) {
        if (t.elapsed() > 20000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        CheckSynchronize(5); // waits for a queued call at most 5 ms
    }
    return true;
}

// Waits without serving anything until Cond holds (false after 20 s).
bool SpinUntil(const std::function<bool()>& Cond) {
    QElapsedTimer t;
    t.start();
    while (!Cond()) {
        if (t.elapsed() > 20000) return false;
        std::this_thread::yield();
    }
    return true;
}

// A thread whose Execute runs a function; tells through a flag when it is freed.
class TProbeThread : public TThread {
public:
    using TBody = std::function<void(TProbeThread*)>;
    TProbeThread(bool CreateSuspended, TBody Body) : TThread(CreateSuspended), FBody(std::move(Body)) {}
    ~TProbeThread() override {
        if (Destroyed) *Destroyed = true;
    }
    std::atomic<bool> Ran{false};
    std::atomic<bool>* Destroyed = nullptr;
    using TThread::CheckSuspended;
    using TThread::SetReturnValue;

protected:
    void Execute() override {
        Ran = true;
        if (FBody) FBody(this);
    }

private:
    TBody FBody;
};

} // namespace

TEST(Thread, CreatedSuspendedStartsNothingUntilResumed) {
    auto* t = new TProbeThread(true, [](TProbeThread* self) { self->SetReturnValue(5); });
    auto freeT = FreeAtEnd(t);
    EXPECT_TRUE(t->Suspended());
    EXPECT_EQ(t->ThreadID(), std::thread::id()) << "no OS thread yet";
    QCoreApplication::processEvents();
    EXPECT_FALSE(t->Ran);
    EXPECT_THROW(t->WaitFor(), EThread) << "waiting would never end";
    t->Resume();
    EXPECT_EQ(t->WaitFor(), 5);
    EXPECT_TRUE(t->Ran);
}

TEST(Thread, FreedBeforeItsFirstResumeNeverStarts) {
    auto ran = std::make_shared<std::atomic<bool>>(false);
    TObject::Free(new TProbeThread(true, [ran](TProbeThread*) { *ran = true; }));
    // Created running, freed before the event loop started it: the posted start finds nothing.
    TObject::Free(new TProbeThread(false, [ran](TProbeThread*) { *ran = true; }));
    QCoreApplication::processEvents();
    EXPECT_FALSE(*ran);
}

TEST(Thread, CreatedRunningStartsFromTheEventLoop) {
    TProbeThread t(false, [](TProbeThread* self) { self->SetReturnValue(7); });
    EXPECT_FALSE(t.Suspended());
    EXPECT_FALSE(t.Ran) << "not before the creator returns to the event loop";
    ASSERT_TRUE(RunUntil([&] { return t.Finished(); }));
    EXPECT_EQ(t.WaitFor(), 7);
}

TEST(Thread, SynchronizeRunsOnTheMainThreadAndPassesErrorsBack) {
    std::thread::id seen;
    String error;
    TProbeThread t(true, [&](TProbeThread* self) {
        self->Synchronize([&] { seen = std::this_thread::get_id(); });
        try {
            self->Synchronize([] { throw Exception("boom"); });
        } catch (const Exception& e) {
            error = e.Message();
        }
    });
    t.Resume();
    t.WaitFor(); // serves the calls
    EXPECT_EQ(seen, std::this_thread::get_id());
    EXPECT_EQ(error, "boom");

    bool direct = false;
    TThread::Synchronize(nullptr, [&] { direct = true; });
    EXPECT_TRUE(direct) << "on the main thread the call runs at once";
}

TEST(Thread, SuspendFromASynchronisedCallThenResume) {
    // The pattern of a fade thread: a synchronised tick suspends its own thread.
    std::atomic<int> ticks{0};
    auto* t = new TProbeThread(true, [&](TProbeThread* self) {
        while (!self->Terminated())
            self->Synchronize([&] {
                if (++ticks == 3) self->Suspend(); // on the main thread: must not block
            });
    });
    // Freed while running and inside Synchronize: terminated and waited for.
    auto freeT = FreeAtEnd(t);
    t->Resume();
    ASSERT_TRUE(RunUntil([&] { return ticks >= 3; }));
    EXPECT_TRUE(t->Suspended());
    EXPECT_FALSE(CheckSynchronize(50)) << "a suspended thread queues no more calls";
    EXPECT_EQ(ticks, 3);
    t->Resume();
    EXPECT_FALSE(t->Suspended());
    ASSERT_TRUE(RunUntil([&] { return ticks >= 6; }));
}

TEST(Thread, WaitForWhileTheWorkerIsInsideSynchronize) {
    std::atomic<bool> entered{false};
    std::atomic<int> calls{0};
    TProbeThread t(true, [&](TProbeThread* self) {
        while (!self->Terminated()) {
            entered = true;
            self->Synchronize([&] { ++calls; });
        }
    });
    t.Resume();
    ASSERT_TRUE(SpinUntil([&] { return entered.load(); }));
    t.Terminate();
    t.WaitFor(); // the worker waits for the main thread, which waits for the worker
    EXPECT_GE(calls, 1);
    EXPECT_TRUE(t.Finished());
}

TEST(Thread, OnTerminateRunsOnTheMainThread) {
    std::thread::id where;
    TObject* sender = nullptr;
    TProbeThread t(true, nullptr);
    t.OnTerminate = [&](TObject* s) {
        where = std::this_thread::get_id();
        sender = s;
    };
    t.Resume();
    t.WaitFor();
    EXPECT_EQ(where, std::this_thread::get_id());
    EXPECT_EQ(sender, &t);
}

TEST(Thread, FreeOnTerminate) {
    std::atomic<bool> destroyed{false};
    bool terminated = false;
    auto* t = new TProbeThread(true, nullptr);
    t->Destroyed = &destroyed;
    t->SetFreeOnTerminate(true);
    t->OnTerminate = [&](TObject*) { terminated = true; };
    EXPECT_THROW(t->WaitFor(), EThread) << "a thread that frees itself cannot be waited for";
    t->Resume();
    ASSERT_TRUE(RunUntil([&] { return destroyed.load(); }));
    EXPECT_TRUE(terminated);
}

TEST(Thread, TerminatedBeforeItStartsItSkipsExecuteAndOnlyEnds) {
    // Resumed on the main thread: it ends there and then, without a thread of its own.
    auto* t = new TProbeThread(true, nullptr);
    int terminated = 0;
    t->OnTerminate = [&](TObject*) { ++terminated; };
    t->Terminate();
    t->Resume();
    EXPECT_FALSE(t->Ran);
    EXPECT_EQ(terminated, 1);
    EXPECT_EQ(t->ThreadID(), std::thread::id());
    EXPECT_EQ(t->WaitFor(), 0);
    TObject::Free(t);

    // One that frees itself is gone once resumed.
    std::atomic<bool> destroyed{false};
    auto* f = new TProbeThread(true, nullptr);
    f->Destroyed = &destroyed;
    f->SetFreeOnTerminate(true);
    f->Terminate();
    f->Resume();
    EXPECT_TRUE(destroyed);

    // Resumed from another thread, it still skips Execute.
    auto* w = new TProbeThread(true, nullptr);
    w->Terminate();
    std::thread([w] { w->Resume(); }).join();
    w->WaitFor();
    EXPECT_FALSE(w->Ran);
    TObject::Free(w);
}

TEST(Thread, FreeingASuspendedThreadResumesAndEndsIt) {
    std::atomic<bool> parked{false}, after{false}, destroyed{false};
    auto* t = new TProbeThread(true, [&](TProbeThread* self) {
        parked = true;
        self->Suspend(); // blocks here
        after = true;
    });
    auto freeT = FreeAtEnd(t);
    t->Destroyed = &destroyed;
    t->Resume();
    ASSERT_TRUE(SpinUntil([&] { return parked.load(); }));
    FreeAndNil(t);
    EXPECT_TRUE(after);
    EXPECT_TRUE(destroyed);
}

TEST(Thread, ErrorsOfExecuteAndWaitingForItself) {
    bool selfWait = false;
    TProbeThread t(true, [&](TProbeThread* self) {
        try {
            self->WaitFor();
        } catch (const EThread&) {
            selfWait = true;
        }
        throw Exception("bad");
    });
    t.Resume();
    t.WaitFor();
    EXPECT_TRUE(selfWait);
    ASSERT_TRUE(t.FatalException());
    try {
        std::rethrow_exception(t.FatalException());
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "bad");
    }
}
