#include "core/ThreadPriority.h"

#include <QtGlobal>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <future>
#include <sys/resource.h>
#include <unistd.h>

namespace lumiset {
namespace {

int NiceOf(pid_t thread) {
    return getpriority(PRIO_PROCESS, id_t(thread));
}

// Lowering must touch the calling thread alone: lowering the whole process would slow the encoder the
// composers are meant to give way to.
TEST(LowerThreadPriority, LowersOnlyTheCallingThreadWhileItLives) {
    const pid_t caller = gettid();
    const int callerBefore = NiceOf(caller);
    std::promise<void> lowered, checked;
    pid_t worker = 0;
    int workerBefore = 0, workerDuring = 0;
    std::thread thread([&] {
        worker = gettid();
        workerBefore = NiceOf(worker);
        {
            const LowerThreadPriority lower;
            workerDuring = NiceOf(worker);
            lowered.set_value();
            checked.get_future().wait();
        }
    });
    lowered.get_future().wait();
    EXPECT_EQ(NiceOf(caller), callerBefore);
    checked.set_value();
    thread.join();
    EXPECT_EQ(workerDuring, std::min(workerBefore + 10, 19));
}

TEST(LowerThreadPriority, SetsThePriorityBackWhereTheSystemAllows) {
    int before = 0, after = 0;
    bool mayRaise = true;
    std::thread thread([&] {
        const pid_t self = gettid();
        before = NiceOf(self);
        { const LowerThreadPriority lower; }
        after = NiceOf(self);
        if (after != before) // raising a priority again needs the privilege to
            mayRaise = setpriority(PRIO_PROCESS, id_t(self), before) == 0;
    });
    thread.join();
    if (!mayRaise)
        GTEST_SKIP() << "this process may not raise priorities";
    EXPECT_EQ(after, before);
}

} // namespace
} // namespace lumiset
#endif
