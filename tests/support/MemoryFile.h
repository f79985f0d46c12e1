#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tandrel::test {

// A scratch file that goes away when closed (a temporary file, as every
// system has one); closed after everything that writes to it.
struct MemoryFile {
    MemoryFile() = default;
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    ~MemoryFile() { std::fclose(file); }

    // Everything written so far; writing goes on at the end afterwards.
    std::string Text() {
        std::fflush(file);
        const long size = std::ftell(file);
        std::string text(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
        std::rewind(file);
        text.resize(std::fread(text.data(), 1, text.size(), file));
        std::fseek(file, 0, SEEK_END);
        return text;
    }

    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        std::string current;
        for (char c : Text()) {
            if (c != '\n') {
                current += c;
                continue;
            }
            lines.push_back(current);
            current.clear();
        }
        return lines;
    }

    std::FILE* file = std::tmpfile();
};

}  // namespace tandrel::test
