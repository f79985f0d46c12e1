#include "support/TempFolder.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

namespace tandrel::test {

namespace fs = std::filesystem;

// A random name, taken only if no one has it yet: making the folder is what
// claims it, on every system (there is no mkdtemp on Windows).
TempFolder::TempFolder() {
    std::random_device seed;
    std::error_code ec;
    do {
        path_ = (fs::temp_directory_path() / ("tandrel-test-" + std::to_string(seed()))).string();
    } while (!fs::create_directory(path_, ec) && !ec);
    if (ec) throw std::runtime_error("cannot make a temporary folder " + path_ + ": " + ec.message());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempFolder::MakeFolder(const fs::path& relative) const { fs::create_directories(root() / relative); }

void TempFolder::WriteFile(const fs::path& relative, const std::string& text) const {
    const fs::path file = root() / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

void TempFolder::Remove(const fs::path& relative) const { fs::remove_all(root() / relative); }

}  // namespace tandrel::test
