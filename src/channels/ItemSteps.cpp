#include <cstdio>
#include <string>

#include "channels/ChannelEngine.h"
#include "plan/MemoryClass.h"
#include "platform/FixedText.h"

namespace tandrel {

namespace {

// Past the end of any list: no later event of this run starts another item.
constexpr std::int32_t kNoMoreItems = 1000000000;

int ItemCount(const ChannelRecord& record) { return record.armedList ? record.armedList->Count() : 0; }

}  // namespace

void ChannelEngine::NextItem(ChannelRecord& record) {
    if (StartNextItem(record) == ItemOutcome::NoItemLeft) EnterWaitPeers(record);
}

ChannelEngine::ItemOutcome ChannelEngine::StartNextItem(ChannelRecord& record) {
    if (record.itemCursor < 0 || record.itemCursor >= ItemCount(record)) return ItemOutcome::NoItemLeft;
    const DownloadItem& item = record.armedList->Written().items[record.itemCursor];
    ++record.itemCursor;
    ctx_.message.Clear();

    const ItemStage stage = StageOfClass(item.memoryClass);
    int result = kCallRefused;
    if (stage.call != DownloadCall::None) {
        ctx_.display.Label(record.channel).SetBkColor(kRowBlue);
        BeginStage(record, stage.text, stage.state);
        const std::string fileSpec(BoundedText(item.fileSpec));
        result = CallDownload(record, stage, fileSpec.c_str());
    } else if (item.memoryClass != kEblBootcoreClass) {
        std::snprintf(ctx_.message.text, sizeof ctx_.message.text, "Unsupported memory class: \"%s\".",
                      MemoryClassName(item.memoryClass));
    }
    if (result == kCallRefused) {
        // Fails the stage just begun, or the previous one when none was.
        HandleChannelEvent(ChannelEventKind::StepFailed, record.channel, ctx_.message.Shown());
        record.itemCursor = kNoMoreItems;
        return ItemOutcome::ItemFailed;
    }
    LogLibraryMessage(false);
    return ItemOutcome::ItemStarted;
}

void ChannelEngine::BeginStage(ChannelRecord& record, std::string_view text, ChannelState state) {
    ctx_.channels.SetState(record, state);
    ctx_.display.SetChannelStatus(record.channel, text);
    ctx_.message.Clear();
    ctx_.display.SetChannelProgress(record.channel, 0);
}

int ChannelEngine::CallDownload(const ChannelRecord& record, const ItemStage& stage, const char* fileSpec) {
    const LibraryTable& lib = ctx_.library;
    const std::uint8_t channel = LibraryChannel(record);
    char* msg = ctx_.message.text;
    switch (stage.call) {
        case DownloadCall::Fls:
            if (lib.download_fls_file) return lib.download_fls_file(channel, fileSpec, msg);
            break;
        case DownloadCall::Eep:
            if (lib.download_eep_file) return lib.download_eep_file(channel, fileSpec, stage.extra, msg);
            break;
        case DownloadCall::Dffs:
            if (lib.download_dffs_file) return lib.download_dffs_file(channel, fileSpec, stage.extra, msg);
            break;
        case DownloadCall::Cust:
            if (lib.download_cust_file) return lib.download_cust_file(channel, fileSpec, msg);
            break;
        case DownloadCall::None:
            break;
    }
    // A library without the call cannot write this item; say so rather than
    // skip it.
    ctx_.message.Set("The download library has no call for this memory class.");
    return kCallRefused;
}

}  // namespace tandrel
