#include "Rates.h"

#include <cstdlib>
#include <string>

#include "common/Faults.h"

namespace tandrel::sim {

std::optional<std::uint64_t> RateFromEnvironment(const char* variable, std::uint64_t fallback, std::string& why) {
    const char* text = std::getenv(variable);
    if (text == nullptr || text[0] == '\0') return fallback;
    std::optional<std::uint64_t> rate = ParseRate(text);
    if (!rate) why = std::string(variable) + "=" + text + " is not a rate (bytes per second, e.g. 8M, 500K, 0)";
    return rate;
}

bool TrustsImagesFromEnvironment() {
    const char* text = std::getenv(kTrustImagesVariable);
    return text != nullptr && std::string(text) == "1";
}

}  // namespace tandrel::sim
