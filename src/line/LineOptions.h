#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tandrel::line {

// What tandrel-line is asked to do.
struct LineOptions {
    std::string database;  // a libpq connection URL or keyword string
    std::string host = "127.0.0.1";
    int port = 8025;  // 0: any free port
    std::string tokens;  // the tokens file; empty: no station may write
    bool help = false;
};

// The arguments after the program's name; nullopt, with the reason, when refused.
std::optional<LineOptions> ParseLineOptions(const std::vector<std::string>& args, std::string& error);

std::string LineUsage();

}  // namespace tandrel::line
