#pragma once

#include <string>

#include "results/LineClient.h"

namespace tandrel {

// What the line service's HTTP answer to a batch (its status and whole body)
// means for it.
LineAnswer ReadLineReply(int status, const std::string& body);

// Why a batch got no HTTP answer at all, whatever the HTTP library.
enum class LineFault { kConnect, kTimeout, kBrokeOff, kSecure, kOther };

// The fault in the operator's words; origin names the line (http://HOST:PORT),
// detail is the library's own name of an other fault.
std::string LineFaultWords(LineFault fault, const std::string& origin, const std::string& detail);

}  // namespace tandrel
