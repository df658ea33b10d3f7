#include "core/ThreadPriority.h"

#include <QtGlobal>
#include <algorithm>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace lumiset {

namespace {

// Linux weighs a thread at nice 10 about a tenth of one at nice 0.
constexpr int kLowering = 10;
constexpr int kLowestNice = 19;

} // namespace

LowerThreadPriority::LowerThreadPriority() {
#ifdef Q_OS_LINUX
    // Linux sets the nice value of a single thread when given its thread id.
    thread_ = gettid();
    errno = 0;
    before_ = getpriority(PRIO_PROCESS, id_t(thread_));
    if (errno != 0)
        return;
    lowered_ = setpriority(PRIO_PROCESS, id_t(thread_), std::min(before_ + kLowering, kLowestNice)) == 0;
#endif
}

LowerThreadPriority::~LowerThreadPriority() {
#ifdef Q_OS_LINUX
    if (lowered_)
        setpriority(PRIO_PROCESS, id_t(thread_), before_);
#endif
}

} // namespace lumiset
