// The timer component: ticks while enabled, and setting the interval starts the count-down
// afresh. No assertion here depends on how long anything takes: the checks compare the
// timer with a reference running many times faster, or wait (bounded) for a tick.
#include "ExtCtrls.h"
#include "Forms.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Timer, TicksWhileEnabledAndNotWhenDisabled) {
    int ticks = 0, offTicks = 0;
    auto* owner = new TComponent(nullptr);
    auto freeOwner = FreeAtEnd(owner);
    auto* ticking = new TTimer(owner);
    auto* off = new TTimer(owner);
    ticking->SetInterval(1);
    ticking->OnTimer = [&](TObject* Sender) {
        EXPECT_EQ(Sender, ticking);
        ++ticks;
    };
    off->SetInterval(1);
    off->OnTimer = [&](TObject*) { ++offTicks; };
    off->SetEnabled(false);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return ticks >= 5; }));
    EXPECT_EQ(offTicks, 0);
    // An interval of 0 stops it as well.
    ticking->SetInterval(0);
    int now = ticks;
    off->SetEnabled(true);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return offTicks >= 5; }));
    EXPECT_EQ(ticks, now);
}

TEST(Timer, SettingTheIntervalRestartsTheCountDown) {
    int slowTicks = 0, resets = 0;
    auto* slow = new TTimer(nullptr);
    auto freeSlow = FreeAtEnd(slow);
    auto* fast = new TTimer(nullptr);
    auto freeFast = FreeAtEnd(fast);
    slow->SetInterval(3000);
    slow->OnTimer = [&](TObject*) { ++slowTicks; };
    // Set back to the same interval every few milliseconds, the slow timer never comes due.
    fast->SetInterval(5);
    fast->OnTimer = [&](TObject*) {
        ++resets;
        if (resets <= 40) slow->SetInterval(3000);
    };
    EXPECT_TRUE(ProcessMessagesUntil([&] { return resets >= 40; }, 20000));
    EXPECT_EQ(slowTicks, 0);
    fast->SetEnabled(false);
    slow->SetInterval(1);
    EXPECT_TRUE(ProcessMessagesUntil([&] { return slowTicks >= 1; }));
}

TEST(Timer, AnExceptionInOnTimerIsReported) {
    TExceptionEvent saved = Application->OnException;
    std::vector<String> messages;
    Application->OnException = [&](TObject*, Exception& E) { messages.push_back(E.Message()); };
    auto* t = new TTimer(nullptr);
    t->SetInterval(1);
    t->OnTimer = [&](TObject*) {
        t->SetEnabled(false);
        throw Exception(QStringLiteral("tick failed"));
    };
    bool done = ProcessMessagesUntil([&] { return !messages.empty(); });
    Application->OnException = saved;
    TObject::Free(t);
    ASSERT_TRUE(done);
    EXPECT_EQ(messages[0], QStringLiteral("tick failed"));
}

} // namespace
