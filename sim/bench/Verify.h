#pragma once

#include <string>
#include <vector>

#include "common/Bench.h"

namespace tandrel::sim {

// Compares a phone's flash with the images meant for it: every item of every
// image is there once, with the same bytes and SHA-256, and nothing else is.
// Each difference is one line of report; true when there are none.
bool VerifyFlash(const Bench& bench, int phone, const std::vector<std::string>& images, std::string& report);

}  // namespace tandrel::sim
