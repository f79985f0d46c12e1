#include <cstdio>

#include "channels/ChannelEngine.h"

namespace tandrel {

namespace {

constexpr int kBaudRate = 460800;

// "\\.\COM3" or "\\.\USB3": the link type chosen now, the channel's device number.
// Plain ASCII, the same in every code page the library may read.
struct PortName {
    PortName(bool usb, std::int32_t deviceNumber) {
        std::snprintf(text, sizeof text, usb ? "\\\\.\\USB%i" : "\\\\.\\COM%i", static_cast<int>(deviceNumber));
    }
    char text[32] = {};
};

}  // namespace

bool ChannelEngine::OpenChannelPort(ChannelRecord* record) {
    if (!record) return false;
    if (record->portOpen) return true;
    const PortName port(UsbMode(), record->deviceNumber);
    ctx_.message.Clear();
    bool opened = false;
    if (ctx_.library.open_comm_port) {
        try {
            opened = ctx_.library.open_comm_port(LibraryChannel(*record), port.text, port.text, kBaudRate,
                                                 ctx_.message.text) == 0;
        } catch (...) {
            opened = false;
        }
    }
    record->portOpen = opened;
    // Whatever happened, what the library wrote reaches the log exactly once.
    LogLibraryMessage(true);
    return opened;
}

bool ChannelEngine::CloseChannelPort(ChannelRecord* record) {
    if (!record) return false;
    if (!record->portOpen) return true;
    ctx_.message.Clear();
    bool closed = false;
    if (ctx_.library.close_comm_port) {
        try {
            closed = ctx_.library.close_comm_port(LibraryChannel(*record), ctx_.message.text) == 0;
        } catch (...) {
            closed = false;
        }
    }
    // A port that would not close stays open, so Reset tries it again.
    if (closed) record->portOpen = false;
    LogLibraryMessage(false);
    return closed;
}

}  // namespace tandrel
