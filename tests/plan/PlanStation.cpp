#include "plan/PlanStation.h"

#include <algorithm>
#include <cstring>

#include "plan/BuildDownloadList.h"
#include "plan/SortDownloadList.h"

namespace tandrel::test {

FakeLibraryState& Fake() {
    static FakeLibraryState state;
    return state;
}

namespace {

const FakeFile* Find(const char* file) {
    const auto it = Fake().files.find(file);
    return it == Fake().files.end() ? nullptr : &it->second;
}

int FakeNofItems(char* file, std::uint32_t* count) {
    Fake().countQueries.emplace_back(file);
    if (const FakeFile* f = Find(file)) *count = static_cast<std::uint32_t>(f->items.size());
    return 0;
}

// A name that fills the whole buffer is left without a terminator.
int FakeFilename(char* file, int index, char* name) {
    const FakeFile* f = Find(file);
    if (!f || index < 0 || index >= static_cast<int>(f->items.size())) return 1;
    const std::string& text = f->items[static_cast<std::size_t>(index)].name;
    const std::size_t n = std::min<std::size_t>(text.size(), IFWD_DL_NAME_SIZE);
    std::memcpy(name, text.data(), n);
    if (n < IFWD_DL_NAME_SIZE) name[n] = '\0';
    return 0;
}

// Scribbles over the path it was handed afterwards, as the library may:
// only a working copy must ever reach it.
int FakeMemoryClass(char* file, int index, int* memoryClass) {
    const FakeFile* f = Find(file);
    if (f && index >= 0 && index < static_cast<int>(f->items.size())) {
        *memoryClass = static_cast<int>(f->items[static_cast<std::size_t>(index)].memoryClass);
    }
    std::memset(file, 'X', std::strlen(file));
    return 0;
}

}  // namespace

void InstallFakeLibrary(LibraryTable& table) {
    table.TOC_get_nof_items = FakeNofItems;
    table.TOC_get_filename = FakeFilename;
    table.TOC_get_memory_class = FakeMemoryClass;
}

PlanStation::PlanStation(Options options)
    : dialog(StationPorts{controls, loop, loader, registry, devicePaths}, std::move(options)) {
    Fake() = FakeLibraryState{};
    dialog.OnInitDialog();
    InstallFakeLibrary(dialog.libraryTable);
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
    std::vector<std::string> lines;
    for (int n = logBase_; n < controls.ListCount(IDC_EVENT_LOG); ++n) lines.push_back(controls.ListLine(IDC_EVENT_LOG, n));
    return lines;
}

}  // namespace tandrel::test
