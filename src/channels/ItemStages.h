#pragma once

#include <cstdint>
#include <string_view>

#include "channels/ChannelState.h"

namespace tandrel {

// Which of the library's four download calls takes an item.
enum class DownloadCall { None, Fls, Eep, Dffs, Cust };

// How an item of one memory class is downloaded: the row text and state of
// its stage, the call, and the extra argument the EEPROM and DFFS calls take.
struct ItemStage {
    DownloadCall call = DownloadCall::None;
    std::string_view text;
    ChannelState state = ChannelState::Ready;
    int extra = 0;
};

// The EBL boot core is never downloaded on its own and fails the step
// without a word of explanation.
constexpr std::int32_t kEblBootcoreClass = 3;

// The stage of a memory class; call None for a class the station cannot download.
ItemStage StageOfClass(std::int32_t memoryClass);

// The row text when the step of a channel in this state fails; "" for a
// state that has no step of its own.
std::string_view FailureText(ChannelState state);

}  // namespace tandrel
