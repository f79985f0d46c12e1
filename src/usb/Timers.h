#pragma once

#include "platform/WindowLoop.h"

namespace tandrel {

// The window timers of USB mode. Each is one-shot in use: its tick handler
// kills it first and sets it again only where a scan or result needs it.
constexpr int kScanTimerId = 1;
constexpr int kScanPeriodMs = 50;

// ResultTimer of channel k is 10 + k.
constexpr int kResultTimerBase = 10;
constexpr int ResultTimerId(int channel) { return kResultTimerBase + channel; }
constexpr int kSuccessResultMs = 35000;
constexpr int kFailResultMs = 1000;

// (Re)starts the ScanTimer at 50 ms: setting it while set leaves one timer.
void SetScanTimer(WindowLoop& loop);
void KillScanTimer(WindowLoop& loop);

// Sets the ResultTimer of channel 1..channelCount: 35 s after a successful
// run, 1 s after a failed one. Other channel numbers are ignored, so that no
// stray id is ever set.
void SetResultTimer(WindowLoop& loop, int channel, bool succeeded);
void KillResultTimer(WindowLoop& loop, int channel);

// The channel whose ResultTimer has this id, or 0 when it is none.
int ChannelOfResultTimer(int timerId);

// Stops the ScanTimer and every ResultTimer; killing an unset one is harmless.
void KillUsbTimers(WindowLoop& loop);

}  // namespace tandrel
