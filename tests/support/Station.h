#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/DownloadDialog.h"
#include "support/InMemoryRegistry.h"
#include "support/MemoryFile.h"
#include "support/NoLibrary.h"
#include "support/SimulatedControls.h"
#include "support/SimulatedLoop.h"
#include "support/TempFolder.h"
#include "ui/ControlIds.h"
#include "ui/Templates.h"

namespace tandrel::test {

// The window of the toolkit-free tests: simulated controls built from the
// main template, on the virtual clock (SimulatedLoop) or, where real
// threads report, the real one (ThreadLoop).
template <typename WindowLoopType = SimulatedLoop>
struct SimulatedWindow {
    SimulatedControls& Controls() { return controls; }
    WindowLoopType& Loop() { return loop; }

    SimulatedControls controls{MainDialogTemplate()};
    WindowLoopType loop;
};

// What a station stands on besides its window. Left out: no download library
// is found, phones come from the station's own in-memory registry (none until
// the test plugs one), and the journal is kept in memory.
struct StationSetup {
    Options options;
    ModuleLoader* loader = nullptr;
    DeviceRegistry* registry = nullptr;
    std::FILE* journal = nullptr;
    const ImageFiles* files = nullptr;
};

// The main window as the program builds it, on the window a test picks:
// SimulatedWindow, or the Qt window. The dialog is made but not initialised,
// so that a test can look at what OnInitDialog does.
template <typename Window = SimulatedWindow<>>
class Station {
public:
    explicit Station(StationSetup setup = {})
        : journal(setup.journal ? setup.journal : journalFile.file, window.Loop()),
          dialog(open_.emplace(StationPorts{window.Controls(), window.Loop(), setup.loader ? *setup.loader : noLibrary,
                                            setup.registry ? *setup.registry : registry, devicePaths,
                                            setup.files ? *setup.files : localFiles, snapshots.Path()},
                               std::move(setup.options), &journal)) {}

    // The window closes: the dialog goes, as the program's does when its
    // window is closed, and the window with its loop stays. dialog must not
    // be used after this.
    void CloseDialog() { open_.reset(); }

    // What the window shows.
    std::string Row(int channel) const { return dialog.controls.GetText(StatusLabelId(channel)); }
    int Progress(int channel) const { return dialog.controls.GetProgressPos(ProgressId(channel)); }
    std::string Banner() const { return dialog.controls.GetText(IDC_STATUS_BANNER); }
    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        for (int i = 0; i < dialog.controls.ListCount(IDC_EVENT_LOG); ++i) {
            lines.push_back(dialog.controls.ListLine(IDC_EVENT_LOG, i));
        }
        return lines;
    }
    // The journal kept in memory; empty when it goes to a file of the test's.
    std::string JournalText() { return journalFile.Text(); }

    // Declared first, so that the copies in it outlive the dialog that removes them.
    TempFolder snapshots;
    Window window;
    NoLibrary noLibrary;
    InMemoryRegistry registry;
    DevicePathTable devicePaths;
    LocalFiles localFiles;
    MemoryFile journalFile;
    Journal journal;

private:
    std::optional<DownloadDialog> open_;

public:
    DownloadDialog& dialog;
};

}  // namespace tandrel::test
