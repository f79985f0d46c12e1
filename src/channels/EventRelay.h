#pragma once

#include "channels/ChannelTable.h"
#include "library/DownloadLibrary.h"
#include "platform/WindowLoop.h"

namespace tandrel {

// The library's callback is a bare C function, so where its reports go is
// process-wide: one window at a time is attached. Attach and Detach run on
// the window thread; the callback runs on any thread.

// From now on, reports for channels is posted to loop as WM_CHANNEL_EVENT.
// Both must outlive the attachment.
void AttachRelay(const ChannelTable& channels, WindowLoop& loop);

// If channels is the attached window's table, detaches it and returns once no
// callback is still using it; later reports are dropped.
void DetachRelay(const ChannelTable& channels);

// Whether a report of status passes for a channel in state: progress is
// dropped while a channel boots or loads its first stage.
bool PassesProgressFilter(ChannelState state, int status);

// Registered with the library. Drops reports for channels outside 1..8 and
// those the filter holds back; posts the rest, each stamped with its
// channel's library session. Never throws.
extern "C" void IFWD_DL_CALL LibraryCallback(int channel, int status, const char* text);

}  // namespace tandrel
