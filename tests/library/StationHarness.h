#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/DownloadDialog.h"
#include "support/SimulatedControls.h"
#include "support/SimulatedLoop.h"
#include "ui/ControlIds.h"
#include "ui/Templates.h"

namespace tandrel {

// A registry without a single key: these tests plug in no phones.
class EmptyRegistry : public DeviceRegistry {
public:
    bool ListSubkeys(std::string_view, const NameVisitor&) const override { return false; }
    bool ReadString(std::string_view, std::string_view, char*, std::size_t) const override { return false; }
};

// The main window on simulated controls and the simulated loop, started up
// against whatever library the loader finds.
struct StationHarness {
    SimulatedControls controls{MainDialogTemplate()};
    SimulatedLoop loop;
    EmptyRegistry registry;
    DevicePathTable devicePaths;

    std::unique_ptr<DownloadDialog> Open(ModuleLoader& loader, const std::string& libraryPath) {
        Options options;
        options.libraryPath = libraryPath;
        auto dialog = std::make_unique<DownloadDialog>(StationPorts{controls, loop, loader, registry, devicePaths},
                                                       options);
        dialog->OnInitDialog();
        return dialog;
    }

    const std::vector<std::string>& LogLines() const { return controls.At(IDC_EVENT_LOG).lines; }
    std::string RowText(int channel) const {
        return controls.At(StatusLabelId(channel)).text;
    }
    int Progress(int channel) const { return controls.GetProgressPos(ProgressId(channel)); }
};

}  // namespace tandrel
