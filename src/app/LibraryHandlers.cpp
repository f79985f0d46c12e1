#include <string>

#include "app/DownloadDialog.h"
#include "library/ChannelEvent.h"
#include "library/EventRelay.h"
#include "library/LibraryBinding.h"

namespace tandrel {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

}  // namespace

// Reports are relayed from before the library can send any: the callback is
// registered only after the window is attached.
void DownloadDialog::RunLibraryStartup() {
    AttachRelay(channelTable, loop);
    const std::string name = options.libraryPath.empty() ? kLibraryFileName : options.libraryPath;
    std::string error;
    g_libraryModule = LoadLibraryTable(loader, name, libraryTable, error);
    if (!g_libraryModule) {
        display.AppendLog("Could not load the download library: " + (error.empty() ? name : error));
        return;
    }
    // A station that cannot flash must say so before the operator presses Start.
    const std::string found = loader.PathOf(g_libraryModule);
    const std::string& path = found.empty() ? name : found;
    const std::vector<std::string> missing = MissingEntryPoints(libraryTable);
    if (missing.empty()) {
        display.AppendLog("Loaded the download library " + path);
    } else {
        display.AppendLog("The download library " + path + " lacks " + JoinNames(missing));
    }
    StartLibrary(libraryTable, &LibraryCallback, libraryMessage);
}

void DownloadDialog::DetachLibrary() { DetachRelay(channelTable); }

void DownloadDialog::OnChannelEvent(WindowMessage& message) {
    const std::unique_ptr<MessagePayload> payload = std::move(message.payload);
    const auto* event = dynamic_cast<const ChannelEvent*>(payload.get());
    if (!event) return;
    DeliverChannelEvent(
        *event,
        [this](ChannelEventKind kind, int channel, std::string_view text) {
            engine.HandleChannelEvent(kind, channel, text);
        },
        [this](int channel, int percent) { display.SetChannelProgress(channel, percent); });
}

void DownloadDialog::OnAppendLog(WindowMessage& message) {
    const auto* log = dynamic_cast<const AppendLogText*>(message.payload.get());
    if (log && log->text) display.AppendLog(log->text);
}

}  // namespace tandrel
