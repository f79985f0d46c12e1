#include "plan/PlanStation.h"

#include "plan/BuildDownloadList.h"
#include "plan/SortDownloadList.h"

namespace tandrel::test {

PlanStation::PlanStation(Options options) : Station(StationSetup{std::move(options)}) {
    dialog.OnInitDialog();
    dialog.libraryTable = FakeLibrary::Table();
    logBase_ = controls.ListCount(IDC_EVENT_LOG);
}

void PlanStation::Choose(std::optional<std::vector<std::string>> files) {
    controls.QueueOpenFiles(std::move(files));
    controls.Click(IDC_OPEN_FILE);
}

void PlanStation::BuildAndSort() {
    dialog.UpdateData(true);
    BuildDownloadList(PlanContext{dialog.imageSlots, dialog.downloadList, controls, dialog.libraryTable,
                                  dialog.display});
    SortDownloadList(dialog.downloadList);
}

std::vector<std::string> PlanStation::SlotTexts() const {
    std::vector<std::string> texts;
    for (int k = 0; k < kSlotCount; ++k) texts.push_back(controls.GetText(SlotPathId(k)));
    return texts;
}

std::vector<int> PlanStation::SlotChecks() const {
    std::vector<int> checks;
    for (int k = 0; k < kSlotCount; ++k) checks.push_back(controls.GetCheck(SlotCheckBoxId(k)));
    return checks;
}

std::vector<std::string> PlanStation::FileSpecs() const {
    std::vector<std::string> specs;
    for (int n = 0; n < dialog.downloadList.count; ++n) specs.emplace_back(dialog.downloadList.items[n].fileSpec);
    return specs;
}

std::vector<std::string> PlanStation::NewLogLines() const {
    const std::vector<std::string> lines = Log();
    return std::vector<std::string>(lines.begin() + logBase_, lines.end());
}

}  // namespace tandrel::test
