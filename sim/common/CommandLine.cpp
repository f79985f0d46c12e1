#include "CommandLine.h"

#include <algorithm>
#include <charconv>

namespace tandrel::sim {

std::optional<std::string> Arguments::Option(const std::string& name) const {
    for (const auto& [key, value] : options) {
        if (key == name) return value;
    }
    return std::nullopt;
}

bool Arguments::Flag(const std::string& name) const {
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

std::optional<Arguments> SplitArguments(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                                        const std::vector<std::string>& flags, std::string& error) {
    Arguments result;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.rfind("--", 0) != 0 || word == "--") {
            result.words.push_back(word);
        } else if (std::find(flags.begin(), flags.end(), word) != flags.end()) {
            result.flags.push_back(word);
        } else if (std::find(valued.begin(), valued.end(), word) != valued.end()) {
            if (i + 1 == args.size()) {
                error = word + " needs a value";
                return std::nullopt;
            }
            result.options.emplace_back(word, args[++i]);
        } else {
            error = "unknown option " + word;
            return std::nullopt;
        }
    }
    return result;
}

std::optional<int> ParseInt(const std::string& text, int min, int max) {
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

}  // namespace tandrel::sim
