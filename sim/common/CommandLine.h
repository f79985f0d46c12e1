#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tandrel::sim {

// Exit statuses of the bench and pack tools, which operators' scripts test.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// A command's words after its name, with "--name value" options taken out.
struct Arguments {
    std::vector<std::string> words;
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> flags;

    std::optional<std::string> Option(const std::string& name) const;
    bool Flag(const std::string& name) const;
};

// valued: the options that take a value; flags: those that do not. Any
// other "--" word is an error.
std::optional<Arguments> SplitArguments(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                                        const std::vector<std::string>& flags, std::string& error);

std::optional<int> ParseInt(const std::string& text, int min, int max);

}  // namespace tandrel::sim
