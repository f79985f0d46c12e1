#include "app/DownloadDialog.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ui/ControlIds.h"

namespace tandrel {

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

// A whole integer: blanks, an optional sign, at least one digit, blanks.
bool ParseInteger(const std::string& text, int& value) {
    const char* s = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s, &end, 10);
    if (end == s || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    value = static_cast<int>(v);
    return true;
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
      engine(EngineContext{channelTable, display, ports.loop, libraryTable, libraryMessage, downloadList,
                           unplugQueue, ports.devicePaths, bootBlock}),
      scanTick(ScanContext{channelTable, engine, display, ports.loop, ports.registry, ports.devicePaths,
                           unplugQueue}) {
    if (journal) {
        channelTable.OnStateChange(
            [journal](int channel, ChannelState state) { journal->State(channel, StateName(state)); });
    }
}

DownloadDialog::~DownloadDialog() {
    DetachLibrary();
    loop.Close();
}

bool DownloadDialog::OnInitDialog() {
    controls.SetHandlers([this](ControlId id) { OnCommand(id); },
                         [this](unsigned commandId) { OnSysCommand(commandId); });
    loop.SetHandlers([this](WindowMessage& m) { OnMessage(m); }, [this](int id) { OnTimer(id); });
    UpdateData(false);

    controls.SetLabelFont(IDC_STATUS_BANNER, BannerFont());
    for (int n = 1; n <= 8; ++n) controls.SetProgressRange(kProgressIds[static_cast<std::size_t>(n)], 0, 100);
    controls.SetComboSelection(IDC_DRIVER, kDriverUsb);
    for (int n = 1; n <= 8; ++n) display.EnableControl(kStopButtonIds[static_cast<std::size_t>(n)], false);

    for (int k = 0; k < kSlotCount; ++k) {
        imageSlots.pathTexts[static_cast<std::size_t>(k)] = &pathTexts[static_cast<std::size_t>(k)];
        imageSlots.checkBoxes[static_cast<std::size_t>(k)] = SlotCheckBoxId(k);
    }
    devicePaths.ClearDevicePaths();

    for (int n = 1; n <= 8; ++n) display.Label(n).SetFontSize(13).SetFontBold(1).SetBkColor(kWhite).SetText("READY");
    std::fill(std::begin(bootBlock), std::end(bootBlock), std::uint8_t{0});
    channelTable.Create();

    RunLibraryStartup();
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
    controls.DefaultSysCommand(commandId);
}

void DownloadDialog::OnMessage(WindowMessage& message) {
    if (message.id == WM_CHANNEL_EVENT) return OnChannelEvent(message);
    if (message.id == WM_APPEND_LOG) return OnAppendLog(message);
}

}  // namespace tandrel
