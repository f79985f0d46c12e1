#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "channels/ChannelState.h"
#include "library/DownloadLibrary.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// One library report on its way to the window thread, carried by a
// WM_CHANNEL_EVENT message that owns it.
struct ChannelEvent : MessagePayload {
    // The longest text relayed, terminator included; longer ones are cut.
    static constexpr std::size_t kTextSize = 1000;

    // Copies at most kTextSize - 1 bytes of text (null counts as empty). The
    // text is sized to what it holds: most reports are a few bytes, and a
    // full-size buffer per report costs the window thread dearly in a flood.
    ChannelEvent(std::int32_t channel, std::int32_t status, const char* text, std::uint32_t session = 0);

    std::int32_t channel;
    std::int32_t status;
    std::string text;
    // The channel's library session when the report was made (0: none); a
    // report from a session that has ended since is dropped on arrival.
    std::uint32_t session;
};

// The text of a WM_APPEND_LOG message. The sender owns the text and keeps it
// valid until the message has been handled.
struct AppendLogText : MessagePayload {
    explicit AppendLogText(const char* t) : text(t) {}
    const char* text;
};

// The decimal number text starts with: blanks skipped, an optional sign,
// then digits; 0 when there are none. Held to the int range.
int LeadingInteger(const char* text);

// Hands a report on: a finished or failed step to onStep(kind, channel, text),
// progress to onProgress(channel, percent). Any other status is ignored.
template <typename OnStep, typename OnProgress>
void DeliverChannelEvent(const ChannelEvent& event, OnStep&& onStep, OnProgress&& onProgress) {
    switch (event.status) {
        case IFWD_DL_STATUS_OK:
            onStep(ChannelEventKind::StepSucceeded, event.channel, std::string_view(event.text));
            break;
        case IFWD_DL_STATUS_FAILED:
            onStep(ChannelEventKind::StepFailed, event.channel, std::string_view(event.text));
            break;
        case IFWD_DL_STATUS_PROGRESS:
            onProgress(event.channel, LeadingInteger(event.text.c_str()));
            break;
        default:
            break;
    }
}

}  // namespace tandrel
