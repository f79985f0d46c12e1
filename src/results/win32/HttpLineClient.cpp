#include "results/LineClient.h"

namespace tandrel {

// The Windows station keeps its results store but does not forward it yet.
std::unique_ptr<LineClient> MakeLineClient(const std::string&, const std::string&, std::string& error) {
    error = "--line is not available in this build (Windows)";
    return nullptr;
}

}  // namespace tandrel
