#include "channels/ItemStages.h"

namespace tandrel {

ItemStage StageOfClass(std::int32_t memoryClass) {
    using S = ChannelState;
    switch (memoryClass) {
        case 1: return {DownloadCall::Fls, "Downloading NAND PSI", S::LoadPsi, 0};
        case 2: return {DownloadCall::Fls, "Downloading NAND SLB", S::LoadSlb, 0};
        case 4: return {DownloadCall::Fls, "Downloading FLS", S::LoadFls, 0};
        case 5: return {DownloadCall::Cust, "Downloading Customization", S::LoadCust, 0};
        case 7: return {DownloadCall::Eep, "Downloading EEPROM", S::LoadEep, 0};
        case 11: return {DownloadCall::Dffs, "Downloading DFFS", S::LoadFfs, 1};
        case 12: return {DownloadCall::Dffs, "Downloading DFFS", S::LoadFfs, 2};
        case 13: return {DownloadCall::Cust, "Downloading DSP", S::LoadDsp, 0};
        case 14:
        case 15:
        case 16: return {DownloadCall::Dffs, "Downloading DFAT", S::LoadFfs, 4};
        default: return {};
    }
}

std::string_view FailureText(ChannelState state) {
    switch (state) {
        case ChannelState::Booting: return "Boot Failed";
        case ChannelState::LoadPsi: return "Failed (NAND PSI)";
        case ChannelState::LoadSlb: return "Failed (NAND SLB)";
        case ChannelState::LoadFls: return "Failed (FLS)";
        case ChannelState::LoadEep: return "Failed (EEP)";
        case ChannelState::LoadDsp: return "Failed (DSP)";
        case ChannelState::LoadFfs: return "Failed (DFFS/DFAT)";
        case ChannelState::LoadCust: return "Failed (Cust.)";
        default: return "";
    }
}

}  // namespace tandrel
