#include <string>

#include "app/DownloadDialog.h"
#include "channels/ChannelEvent.h"
#include "channels/EventRelay.h"
#include "library/LibraryBinding.h"
#include "library/LibraryText.h"

namespace tandrel {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

// A station that cannot flash says so before the operator presses Start.
std::string LoadedLine(const std::string& path, const std::vector<std::string>& missing) {
    if (missing.empty()) return "Loaded the download library " + path;
    return "The download library " + path + " lacks " + JoinNames(missing);
}

// What the library says of its own version, for every result; empty when it
// says nothing.
std::string LibraryVersion(const LibraryTable& table) {
    if (!table.get_dll_version) return {};
    char version[IFWD_DL_NAME_SIZE] = {};
    table.get_dll_version(version, static_cast<int>(sizeof version) - 1);
    version[sizeof version - 1] = '\0';
    return FromLibraryText(version);
}

}  // namespace

// The window is attached before the callback is registered, so no report
// can arrive with nowhere to go.
void DownloadDialog::RunLibraryStartup() {
    AttachRelay(channelTable, loop);
    const std::string name = options.libraryPath.empty() ? kLibraryFileName : options.libraryPath;
    std::string error;
    g_libraryModule = LoadLibraryTable(loader, name, libraryTable, error);
    if (!g_libraryModule) {
        display.AppendLog("Could not load the download library: " + (error.empty() ? name : error));
        return;
    }
    const std::string found = loader.PathOf(g_libraryModule);
    display.AppendLog(LoadedLine(found.empty() ? name : found, MissingEntryPoints(libraryTable)));
    for (const DecoratedExport& refused : DecoratedOnlyExports(loader.ExportNames(g_libraryModule))) {
        display.AppendLog("Not binding " + refused.entryPoint + ": the library exports it only as " + refused.exported +
                          " (stdcall); the station calls its entry points as cdecl");
    }
    results.SetLibraryVersion(LibraryVersion(libraryTable));
    StartLibrary(libraryTable, &LibraryCallback, libraryMessage);
}

void DownloadDialog::DetachLibrary() { DetachRelay(channelTable); }

void DownloadDialog::OnChannelEvent(WindowMessage& message) {
    const std::unique_ptr<MessagePayload> payload = std::move(message.payload);
    const auto* event = dynamic_cast<const ChannelEvent*>(payload.get());
    if (!event) return;
    // A report made for a run that has ended since (Reset, Stop, a failure, the
    // end of the run) belongs to no run: it must not start or move this one.
    const ChannelRecord* record = channelTable.Record(event->channel);
    if (!record || !record->IsCurrentSession(event->session)) return;
    DeliverChannelEvent(
        *event,
        [this](ChannelEventKind kind, int channel, std::string_view text) {
            engine.HandleChannelEvent(kind, channel, FromLibraryText(text));
        },
        [this](int channel, int percent) { display.SetChannelProgress(channel, percent); });
}

void DownloadDialog::OnAppendLog(WindowMessage& message) {
    const auto* log = dynamic_cast<const AppendLogText*>(message.payload.get());
    if (log && log->text) display.AppendLog(log->text);
}

}  // namespace tandrel
