#include "support/TempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace tandrel::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tandrel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp: " + std::string(std::strerror(errno)));
    path_ = pattern;
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
