#include "support/ThreadLoop.h"

#include <algorithm>
#include <thread>

namespace tandrel {

void ThreadLoop::Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0))); }

void ThreadLoop::RunOnce(Time end) {
    if (DeliverOnePost() || FireNextDue(Clock())) return;
    Posts().WaitUntil(std::chrono::time_point_cast<std::chrono::steady_clock::duration>(start_ + NextDue(end)));
}

}  // namespace tandrel
