#pragma once

#include <cstdint>
#include <string_view>

namespace tandrel {

// Where a channel stands in its run. The numbers are fixed; 2, 10..13 and 15
// belong to no state.
enum class ChannelState : std::int32_t {
    Ready = 0,
    Booting = 1,
    LoadPsi = 3,
    LoadSlb = 4,
    LoadFls = 5,
    LoadEep = 6,
    LoadDsp = 7,
    LoadFfs = 8,
    LoadCust = 9,
    WaitPeers = 14,
    WaitUnplug = 16,
    Finishing = 17,
    Completed = 18,
};

enum class ChannelEventKind : std::int32_t {
    StepSucceeded = 0,
    StepFailed = 1,
    DeviceDetected = 2,
    AbortRequested = 3,
};

// Booting and the loading states that hold back a channel waiting for its
// peers. LoadEep and LoadDsp do not.
bool IsBusy(ChannelState state);
// Every state but Ready can be aborted.
bool IsAbortable(ChannelState state);
// The state's name as written in the code ("LoadFls"); "" for no state.
std::string_view StateName(ChannelState state);

}  // namespace tandrel
