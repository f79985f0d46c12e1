#include "app/DownloadDialog.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "TandrelVersion.h"
#include "platform/DecimalText.h"
#include "platform/StationHost.h"
#include "platform/PostedTask.h"
#include "ui/ControlIds.h"

namespace tandrel {

// Every channel has its row in the window.
static_assert(channelCount == kChannelRows);

namespace {

// The banner's font: large, italic, semi-bold.
FontDescription BannerFont() {
    FontDescription f;
    f.height = 35;
    f.width = 15;
    f.escapement = 1;
    f.orientation = 0;
    f.weight = 600;
    f.italic = true;
    f.underline = false;
    f.strikeOut = false;
    f.charSet = 1;
    f.outPrecision = 2;
    f.clipPrecision = 1;
    f.quality = 0;
    f.pitchAndFamily = 2;
    std::snprintf(f.faceName, sizeof f.faceName, "%s", "Tahoma");
    return f;
}

// A whole integer: blanks, an optional sign, at least one digit, spaces or
// tabs; a number beyond 32 bits is refused, not cut.
bool ParseInteger(const std::string& text, int& value) {
    const std::string_view field(text.c_str());
    const LeadingDecimal number = ReadLeadingDecimal(field);
    if (!number.digits || number.saturated) return false;
    if (field.find_first_not_of(" \t", number.end) != std::string_view::npos) return false;
    value = number.value;
    return true;
}

std::unique_ptr<StoreWriter> WriterFor(const Options& options, WindowLoop& loop, Display& display,
                                       LineForwarder* forwarder) {
    if (options.results.empty()) return nullptr;
    StoreWriter::Written written;
    if (forwarder) written = [forwarder](const ResultRecord&) { forwarder->ResultWritten(); };
    return std::make_unique<StoreWriter>(
        options.results, loop, [&display](const std::string& line) { display.AppendLog(line); }, std::move(written));
}

std::unique_ptr<LineForwarder> ForwarderFor(const Options& options, std::unique_ptr<LineClient> client,
                                            WindowLoop& loop, Display& display) {
    if (!client || options.results.empty()) return nullptr;
    return std::make_unique<LineForwarder>(options.results, std::move(client), loop,
                                           [&display](const std::string& line) { display.AppendLog(line); });
}

}  // namespace

DownloadDialog::DownloadDialog(StationPorts ports, Options opts, Journal* journal)
    : controls(ports.controls),
      loop(ports.loop),
      loader(ports.loader),
      registry(ports.registry),
      devicePaths(ports.devicePaths),
      options(std::move(opts)),
      display(ports.controls, journal),
      images(ports.files, ports.loop, std::move(ports.snapshotFolder)),
      lineForwarder(ForwarderFor(options, std::move(ports.line), ports.loop, display)),
      storeWriter(WriterFor(options, ports.loop, display, lineForwarder.get())),
      results(DeskContext{display, ports.loop, ports.clock},
              StationIdentity{options.station.empty() ? HostName() : options.station, TANDREL_VERSION},
              storeWriter.get()),
      portWatch(WatchContext{display, channelTable, ports.clock}, storeWriter.get(), options.portAlarm),
      engine(EngineContext{channelTable, display, ports.loop, libraryTable, libraryMessage, downloadList, images,
                           runControl, bootBlock}),
      scanTick(ScanContext{channelTable, engine, display, ports.loop, ports.registry, ports.devicePaths, unplugQueue,
                           results}) {
    channelTable.OnStateChange([this, journal](int channel, ChannelState state) {
        if (journal) journal->State(channel, StateName(state));
        results.StateChanged(channel, state);
        portWatch.StateChanged(channel, state);
    });
    results.OnFinished([this](const ResultRecord& record) { portWatch.Finished(record); });
    if (lineForwarder) {
        portWatch.OnFlagsChanged(
            [forwarder = lineForwarder.get()](const PortHealth& health) { forwarder->PortsFlagged(FlaggedPortsJson(health)); });
    }
}

DownloadDialog::~DownloadDialog() {
    DetachLibrary();
    loop.Close();
}

bool DownloadDialog::OnInitDialog() {
    controls.SetHandlers([this](ControlId id) { OnCommand(id); },
                         [this](unsigned commandId) { OnSysCommand(commandId); });
    controls.SetCloseHandler([this](bool operatorAsked) { return OnClose(operatorAsked); });
    loop.SetHandlers([this](WindowMessage& m) { OnMessage(m); }, [this](int id) { OnTimer(id); });
    UpdateData(false);

    controls.SetLabelFont(IDC_STATUS_BANNER, BannerFont());
    for (int n = 1; n <= channelCount; ++n) controls.SetProgressRange(ProgressId(n), 0, 100);
    controls.SetComboSelection(IDC_DRIVER, options.commDriver ? kDriverComm : kDriverUsb);
    for (int n = 1; n <= channelCount; ++n) display.EnableControl(StopButtonId(n), false);

    for (int k = 0; k < kSlotCount; ++k) {
        imageSlots.pathTexts[static_cast<std::size_t>(k)] = &pathTexts[static_cast<std::size_t>(k)];
        imageSlots.checkBoxes[static_cast<std::size_t>(k)] = SlotCheckBoxId(k);
    }
    devicePaths.ClearDevicePaths();

    display.ShowReadyRows();
    std::fill(std::begin(bootBlock), std::end(bootBlock), std::uint8_t{0});
    channelTable.Create();

    RunLibraryStartup();
    portWatch.LoadHistory(options.results);
    if (options.resultsOff) display.AppendLog("Results are not kept (--results none)");
    return true;
}

void DownloadDialog::OnWindowShown() {
    ApplyStartupImages();
    if (options.start) OnStart();
}

bool DownloadDialog::UpdateData(bool saveAndValidate) {
    if (!saveAndValidate) {
        controls.SetText(IDC_COMM_NUMBER, std::to_string(commNumber));
        for (int k = 0; k < kSlotCount; ++k) controls.SetText(SlotPathId(k), pathTexts[static_cast<std::size_t>(k)]);
        return true;
    }
    int value = 0;
    if (!ParseInteger(controls.GetText(IDC_COMM_NUMBER), value)) {
        controls.MessageBox("Please enter an integer.");
        return false;
    }
    commNumber = value;
    for (int k = 0; k < kSlotCount; ++k) pathTexts[static_cast<std::size_t>(k)] = controls.GetText(SlotPathId(k));
    return true;
}

void DownloadDialog::OnCommand(ControlId id) {
    if (id == IDC_OPEN_FILE) return OnOpenFile();
    if (id == IDC_START) return OnStart();
    if (id == IDC_RESET) return OnReset();
    if (const int channel = ChannelOfStopButton(id)) return OnStop(channel);
    if (const int slot = SlotOfCheckBox(id); slot >= 0) return OnSlotCheckClicked(slot);
}

void DownloadDialog::OnSysCommand(unsigned commandId) {
    if ((commandId & 0xFFF0) == IDM_ABOUTBOX) return controls.ShowAbout();
    if (commandId == IDM_PORTHEALTH) return OnPortHealth();
    controls.DefaultSysCommand(commandId);
}

void DownloadDialog::OnMessage(WindowMessage& message) {
    if (message.id == WM_CHANNEL_EVENT) return OnChannelEvent(message);
    if (message.id == WM_APPEND_LOG) return OnAppendLog(message);
    if (message.id == WM_POSTED_TASK) return RunPostedTask(message);
}

}  // namespace tandrel
