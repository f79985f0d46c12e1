#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tandrel {

// Where --line sends the station's results, read from its URL
// (http://HOST[:PORT][/PATH] or https://...).
struct LineAddress {
    bool secure = false;
    std::string host;  // as written, an IPv6 address without its brackets
    std::uint16_t port = 0;
    // scheme://HOST[:PORT] as written: how the operator's log names the line.
    std::string origin;
    // Where batches are posted: the URL's path, then /api/results.
    std::string resultsPath;
};

// The line's address, or none with the reason when url is not one.
std::optional<LineAddress> ReadLineAddress(const std::string& url, std::string& error);

}  // namespace tandrel
