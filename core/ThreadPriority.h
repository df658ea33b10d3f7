// Running background work behind the work that sets a job's pace.
#pragma once

namespace lumiset {

// While it lives, the calling thread (only it) runs at a lower scheduling priority: on a busy machine the
// other threads of the program get the processor first, and it takes what they leave. The priority is
// set back when it ends where the system allows that; an unprivileged process may only lower priorities,
// so the thread otherwise keeps the lower one (a pool thread until its pool retires it).
class LowerThreadPriority {
public:
    LowerThreadPriority();
    ~LowerThreadPriority();
    LowerThreadPriority(const LowerThreadPriority&) = delete;
    LowerThreadPriority& operator=(const LowerThreadPriority&) = delete;

private:
    int thread_ = 0;
    int before_ = 0;
    bool lowered_ = false;
};

} // namespace lumiset
