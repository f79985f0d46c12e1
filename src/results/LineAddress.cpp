#include "results/LineAddress.h"

#include <charconv>

#include "results/LineClient.h"

namespace tandrel {

namespace {

// The port after HOST's colon, or the scheme's own when none is written.
// False when what follows the colon is not a port.
bool ReadPort(const std::string& digits, bool secure, std::uint16_t& port) {
    if (digits.empty()) {
        port = secure ? 443 : 80;
        return true;
    }
    const char* end = digits.data() + digits.size();
    const auto [stop, failure] = std::from_chars(digits.data(), end, port);
    return failure == std::errc() && stop == end && port != 0;
}

// HOST[:PORT] into address; false when it holds no host or a bad port.
bool ReadAuthority(const std::string& authority, LineAddress& address) {
    std::size_t colon = authority.rfind(':');
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string::npos || (close + 1 < authority.size() && authority[close + 1] != ':')) return false;
        address.host = authority.substr(1, close - 1);
        colon = close + 1 < authority.size() ? close + 1 : std::string::npos;
    } else {
        address.host = authority.substr(0, colon);
    }
    const std::string digits = colon == std::string::npos ? std::string() : authority.substr(colon + 1);
    if (colon != std::string::npos && digits.empty()) return false;
    return !address.host.empty() && ReadPort(digits, address.secure, address.port);
}

}  // namespace

std::optional<LineAddress> ReadLineAddress(const std::string& url, std::string& error) {
    LineAddress address;
    const std::size_t scheme = url.find("://");
    const bool known = scheme != std::string::npos && (url.compare(0, scheme, "http") == 0 ||
                                                       url.compare(0, scheme, "https") == 0);
    address.secure = known && scheme == 5;
    const std::size_t pathAt = known ? url.find('/', scheme + 3) : std::string::npos;
    address.origin = url.substr(0, pathAt);
    if (!known || !ReadAuthority(address.origin.substr(scheme + 3), address)) {
        error = "--line takes the line service's address, http://HOST:PORT, not " + url;
        return std::nullopt;
    }
    std::string path = pathAt == std::string::npos ? std::string() : url.substr(pathAt);
    if (!path.empty() && path.back() == '/') path.pop_back();
    address.resultsPath = path + "/api/results";
    return address;
}

std::unique_ptr<LineClient> MakeLineClient(const std::string& url, const std::string& token, std::string& error) {
    const std::optional<LineAddress> address = ReadLineAddress(url, error);
    if (!address) return nullptr;
    return MakeHttpLineClient(*address, token);
}

}  // namespace tandrel
