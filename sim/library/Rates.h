#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tandrel::sim {

// One phone's link and the bus all phones share, as a USB 2.0 hub gives them.
inline constexpr std::uint64_t kDefaultPhoneRate = 8'000'000;
inline constexpr std::uint64_t kDefaultBusRate = 35'000'000;
inline constexpr const char* kPhoneRateVariable = "TANDREL_SIM_PHONE_RATE";
inline constexpr const char* kBusRateVariable = "TANDREL_SIM_BUS_RATE";
// Set to 1, the simulator writes what it reads from an image without
// checking the image's own checksums, as a library that trusts its input
// would: only the station then stands between a changed image and a phone.
inline constexpr const char* kTrustImagesVariable = "TANDREL_SIM_TRUST_IMAGES";

// The rate an environment variable sets, its fallback when unset, nothing
// (with why) when it is set to something that is not a rate.
std::optional<std::uint64_t> RateFromEnvironment(const char* variable, std::uint64_t fallback, std::string& why);
bool TrustsImagesFromEnvironment();

}  // namespace tandrel::sim
