#include "line/LineTokens.h"

#include <fstream>
#include <sstream>

namespace tandrel::line {

namespace {

// Takes as long for any wrong token as for another, so that a token cannot be
// guessed one character at a time from the answer's timing.
bool SameText(const std::string& a, const std::string& b) {
    unsigned char differ = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < a.size(); ++i) differ |= static_cast<unsigned char>(a[i] ^ b[i % (b.size() + 1)]);
    return differ == 0;
}

}  // namespace

bool LineTokens::Load(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read the tokens file " + path;
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream words(line);
        std::string station, token, extra;
        if (!(words >> station) || station[0] == '#') continue;
        if (!(words >> token) || (words >> extra)) {
            error = path + ":" + std::to_string(number) + ": a line holds a station's name and its token";
            return false;
        }
        Add(std::move(station), std::move(token));
    }
    return true;
}

void LineTokens::Add(std::string station, std::string token) {
    entries_.emplace_back(std::move(station), std::move(token));
}

std::string LineTokens::StationOf(const std::string& token) const {
    std::string found;
    for (const auto& [station, known] : entries_) {
        if (SameText(token, known)) found = station;
    }
    return token.empty() ? std::string() : found;
}

std::string BearerToken(const std::string& header) {
    constexpr std::string_view kScheme = "Bearer ";
    if (header.compare(0, kScheme.size(), kScheme) != 0) return {};
    const std::size_t start = header.find_first_not_of(' ', kScheme.size());
    if (start == std::string::npos) return {};
    const std::size_t end = header.find_last_not_of(" \t\r\n");
    return header.substr(start, end + 1 - start);
}

}  // namespace tandrel::line
