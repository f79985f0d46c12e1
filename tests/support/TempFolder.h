#pragma once

#include <filesystem>
#include <string>

namespace tandrel::test {

// A fresh folder of its own under the system's temporary folder, removed
// with everything in it when the test ends.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of relative inside the folder.
    std::string operator/(const std::filesystem::path& relative) const { return (root() / relative).string(); }

    // Makes the folder relative, with the folders above it.
    void MakeFolder(const std::filesystem::path& relative) const;
    // Writes text into the file relative, making its folders first.
    void WriteFile(const std::filesystem::path& relative, const std::string& text) const;
    // Removes relative with everything in it.
    void Remove(const std::filesystem::path& relative) const;

private:
    std::filesystem::path root() const { return path_; }

    std::string path_;
};

}  // namespace tandrel::test
