#pragma once

#include <optional>
#include <string>

namespace tandrel::sim {

// "|index|path": which item of which file a download call means.
struct FileSpec {
    unsigned index = 0;
    std::string path;
};

// Nothing for a text that is not of that form (index: 1 to 9 decimal
// digits; path: not empty).
std::optional<FileSpec> ParseFileSpec(const char* text);

}  // namespace tandrel::sim
