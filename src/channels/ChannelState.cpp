#include "channels/ChannelState.h"

namespace tandrel {

bool IsBusy(ChannelState state) {
    switch (state) {
        case ChannelState::Booting:
        case ChannelState::LoadPsi:
        case ChannelState::LoadSlb:
        case ChannelState::LoadFls:
        case ChannelState::LoadFfs:
        case ChannelState::LoadCust:
            return true;
        default:
            return false;
    }
}

bool IsAbortable(ChannelState state) { return state != ChannelState::Ready; }

std::string_view StateName(ChannelState state) {
    switch (state) {
        case ChannelState::Ready: return "Ready";
        case ChannelState::Booting: return "Booting";
        case ChannelState::LoadPsi: return "LoadPsi";
        case ChannelState::LoadSlb: return "LoadSlb";
        case ChannelState::LoadFls: return "LoadFls";
        case ChannelState::LoadEep: return "LoadEep";
        case ChannelState::LoadDsp: return "LoadDsp";
        case ChannelState::LoadFfs: return "LoadFfs";
        case ChannelState::LoadCust: return "LoadCust";
        case ChannelState::WaitPeers: return "WaitPeers";
        case ChannelState::WaitUnplug: return "WaitUnplug";
        case ChannelState::Finishing: return "Finishing";
        case ChannelState::Completed: return "Completed";
    }
    return "";
}

}  // namespace tandrel
