#include <cstdio>
#include <exception>
#include <string>

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

// What a fault thrown by the library says about itself.
std::string FaultText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "a fault of unknown type";
    }
}

}  // namespace

bool ChannelEngine::OpenChannelPort(ChannelRecord* record) {
    if (!record) return false;
    if (record->portOpen) return true;
    const PortName port(UsbMode(), record->deviceNumber);
    ctx_.message.Clear();
    bool opened = false;
    std::string fault;
    if (ctx_.library.open_comm_port) {
        try {
            opened = ctx_.library.open_comm_port(LibraryChannel(*record), port.text, port.text, kBaudRate,
                                                 ctx_.message.text) == 0;
        } catch (...) {
            opened = false;
            fault = FaultText();
        }
    }
    record->portOpen = opened;
    // Whatever happened, what the library wrote reaches the log exactly once.
    LogLibraryMessage(true);
    // A fault says why as a refusal would.
    if (!fault.empty()) {
        ctx_.display.AppendLog(std::string("Opening ") + port.text + " failed in the download library: " + fault);
    }
    return opened;
}

bool ChannelEngine::CloseChannelPort(ChannelRecord* record) {
    if (!record) return false;
    if (!record->portOpen) return true;
    ctx_.message.Clear();
    bool closed = false;
    std::string fault;
    if (ctx_.library.close_comm_port) {
        try {
            closed = ctx_.library.close_comm_port(LibraryChannel(*record), ctx_.message.text) == 0;
        } catch (...) {
            closed = false;
            fault = FaultText();
        }
    }
    // A port that would not close stays open, so Reset tries it again.
    if (closed) record->portOpen = false;
    LogLibraryMessage(false);
    if (!fault.empty()) {
        ctx_.display.AppendLog("Closing the port of channel " + std::to_string(record->channel) +
                               " failed in the download library: " + fault);
    }
    return closed;
}

}  // namespace tandrel
