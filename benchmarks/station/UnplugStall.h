#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tandrel::bench {

// One phone's download, from its first item to "Done", on a bench of four
// where the other three phones have failed. With pull set, those three are
// pulled at once just after its first item started.
struct UnplugRun {
    std::int64_t downloadMs = 0;
    // How many of the three rows read "USB disconnected" meanwhile.
    int unplugsSeen = 0;
};

// Runs the tandrel program on a bench of four phones in folder; nothing
// when the run did not get that far.
std::optional<UnplugRun> MeasureDownloadBesideUnplugs(const std::string& folder, bool pull);

}  // namespace tandrel::bench
