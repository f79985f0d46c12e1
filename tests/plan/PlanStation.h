#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/FakeLibrary.h"
#include "support/Station.h"

namespace tandrel::test {

// A main window on simulated controls and loop, with the fake library's
// entry points and no devices, initialised and ready for clicks.
class PlanStation : public Station<> {
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

    SimulatedControls& controls = window.controls;
    FakeLibrary& fake = FakeLibrary::Reset(&window.loop);

private:
    int logBase_ = 0;
};

}  // namespace tandrel::test
