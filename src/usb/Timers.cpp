#include "usb/Timers.h"

#include "channels/ChannelCount.h"

namespace tandrel {

namespace {

bool IsChannel(int channel) { return channel >= 1 && channel <= channelCount; }

}  // namespace

void SetScanTimer(WindowLoop& loop) { loop.SetTimer(kScanTimerId, kScanPeriodMs); }

void KillScanTimer(WindowLoop& loop) { loop.KillTimer(kScanTimerId); }

void SetResultTimer(WindowLoop& loop, int channel, bool succeeded) {
    if (IsChannel(channel)) loop.SetTimer(ResultTimerId(channel), succeeded ? kSuccessResultMs : kFailResultMs);
}

void KillResultTimer(WindowLoop& loop, int channel) {
    if (IsChannel(channel)) loop.KillTimer(ResultTimerId(channel));
}

int ChannelOfResultTimer(int timerId) {
    const int channel = timerId - kResultTimerBase;
    return IsChannel(channel) ? channel : 0;
}

void KillUsbTimers(WindowLoop& loop) {
    KillScanTimer(loop);
    for (int channel = 1; channel <= channelCount; ++channel) KillResultTimer(loop, channel);
}

}  // namespace tandrel
