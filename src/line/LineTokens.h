#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tandrel::line {

// The write tokens of the line's stations, one station to a token. The file
// holds a line "STATION TOKEN" per station; blank lines and lines starting
// with # are skipped.
class LineTokens {
public:
    // False, with the reason, when the file cannot be read or a line is not
    // of that form.
    bool Load(const std::string& path, std::string& error);
    void Add(std::string station, std::string token);

    // The station the token belongs to; empty for an unknown token.
    std::string StationOf(const std::string& token) const;
    bool Empty() const { return entries_.empty(); }

private:
    std::vector<std::pair<std::string, std::string>> entries_;  // station, token
};

// The token of an Authorization header "Bearer TOKEN"; empty when there is none.
std::string BearerToken(const std::string& header);

}  // namespace tandrel::line
