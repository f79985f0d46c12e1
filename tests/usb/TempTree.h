#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempPath.h"

namespace tandrel::testing {

// A folder of its own under the system's temporary folder, removed with
// everything in it when the test ends.
class TempTree {
public:
    TempTree() : root_(fakes::FreshTempPath("tandrel-usb-", true)) {}
    ~TempTree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& Root() const { return root_; }

    void MakeFolder(const std::filesystem::path& relative) const { std::filesystem::create_directories(root_ / relative); }

    void WriteFile(const std::filesystem::path& relative, const std::string& text) const {
        std::filesystem::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative, std::ios::binary) << text;
    }

    void Remove(const std::filesystem::path& relative) const { std::filesystem::remove_all(root_ / relative); }

private:
    std::filesystem::path root_;
};

}  // namespace tandrel::testing
