#pragma once

namespace tandrel {

// Every window message the station posts to its own window. The first two
// are also accepted from elsewhere in the process.
constexpr unsigned WM_CHANNEL_EVENT = 1025;
constexpr unsigned WM_APPEND_LOG = 1026;
// A worker thread's answer: a task that runs on the window thread.
constexpr unsigned WM_POSTED_TASK = 1028;

}  // namespace tandrel
