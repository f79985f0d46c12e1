#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace tandrel::fakes {

// A path under the system's temporary folder that nothing uses yet: stem
// followed by a random number. With makeFolder the folder is made, so that
// no other test can take the same name.
inline std::filesystem::path FreshTempPath(const std::string& stem, bool makeFolder) {
    std::random_device seed;
    for (;;) {
        const std::filesystem::path path = std::filesystem::temp_directory_path() / (stem + std::to_string(seed()));
        std::error_code ec;
        if (makeFolder ? std::filesystem::create_directory(path, ec) : !std::filesystem::exists(path, ec)) return path;
    }
}

}  // namespace tandrel::fakes
