#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/DownloadDialog.h"
#include "plan/MemoryClass.h"
#include "support/SimulatedControls.h"
#include "support/SimulatedLoop.h"
#include "ui/ControlIds.h"
#include "support/EmptyPorts.h"
#include "ui/Templates.h"

namespace tandrel::test {

// What the fake library knows of an image file: its items in order. A file
// it does not know reports nothing.
struct FakeItem {
    std::string name;
    MemoryClass memoryClass = MemoryClass::None;
};

struct FakeFile {
    std::vector<FakeItem> items;
};

// The files the fake entry points answer for, and what they were asked.
struct FakeLibraryState {
    std::map<std::string, FakeFile> files;
    std::vector<std::string> countQueries;
};

FakeLibraryState& Fake();

// Puts the fake TOC entry points into the table; the others stay null.
void InstallFakeLibrary(LibraryTable& table);

// A main window on simulated controls and loop, with no library loaded and
// no devices, initialised and ready for clicks.
class PlanStation {
public:
    explicit PlanStation(Options options = {});

    // The operator chooses files in Open file (nothing: Cancel).
    void Choose(std::optional<std::vector<std::string>> files);
    // What Start does with the plan: read the fields, build, order.
    void BuildAndSort();

    std::vector<std::string> SlotTexts() const;
    std::vector<int> SlotChecks() const;
    std::vector<std::string> FileSpecs() const;
    // EventLog lines written since the window opened.
    std::vector<std::string> NewLogLines() const;

    SimulatedControls controls{MainDialogTemplate()};
    SimulatedLoop loop;
    fakes::NoLibrary loader;
    fakes::NoDevices registry;
    DevicePathTable devicePaths;
    DownloadDialog dialog;

private:
    int logBase_ = 0;
};

}  // namespace tandrel::test
