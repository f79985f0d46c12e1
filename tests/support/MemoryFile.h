#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tandrel::test {

// A file in memory; closed and freed after everything that writes to it.
struct MemoryFile {
    MemoryFile() = default;
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    ~MemoryFile() {
        std::fclose(file);
        std::free(text);
    }

    std::string Text() {
        std::fflush(file);
        return std::string(text, size);
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

    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* file = open_memstream(&text, &size);
};

}  // namespace tandrel::test
