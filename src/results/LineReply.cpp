#include "results/LineReply.h"

#include <nlohmann/json.hpp>

namespace tandrel {

LineAnswer ReadLineReply(int status, const std::string& body) {
    LineAnswer answer;
    const nlohmann::json reply = nlohmann::json::parse(body, nullptr, false);
    if (status != 200) {
        answer.reason = "the line answered " + std::to_string(status);
        if (reply.is_object() && reply.contains("error") && reply["error"].is_string()) {
            answer.reason += ": " + reply["error"].get<std::string>();
        }
        return answer;
    }
    const auto conflicting = reply.is_object() ? reply.find("conflicting") : reply.end();
    if (conflicting == reply.end() || !conflicting->is_array()) {
        answer.reason = "the line's answer is not one of a line service";
        return answer;
    }
    for (const auto& sequence : *conflicting) {
        if (sequence.is_number_integer()) answer.conflicting.push_back(sequence.get<std::int64_t>());
    }
    answer.answered = true;
    return answer;
}

std::string LineFaultWords(LineFault fault, const std::string& origin, const std::string& detail) {
    switch (fault) {
    case LineFault::kConnect: return "cannot connect to " + origin;
    case LineFault::kTimeout: return origin + " does not answer";
    case LineFault::kBrokeOff: return "the connection to " + origin + " broke off";
    case LineFault::kSecure: return "no secure connection to " + origin;
    case LineFault::kOther: break;
    }
    return "the request to " + origin + " failed (" + detail + ")";
}

}  // namespace tandrel
