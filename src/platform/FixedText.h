#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tandrel {

// Copies text with its terminator into a fixed buffer. A text that does not
// fit is not shortened (a shortened path names another file): the buffer is
// left empty and the copy reports false.
template <std::size_t N>
bool CopyText(char (&buffer)[N], std::string_view text) {
    static_assert(N > 0);
    if (text.size() >= N) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}

// A text the library wrote into a fixed buffer, read no further than the
// buffer's end even when the library left no terminator.
template <std::size_t N>
std::string_view BoundedText(const char (&buffer)[N]) {
    const void* end = std::memchr(buffer, '\0', N);
    return std::string_view(buffer, end ? static_cast<const char*>(end) - buffer : N);
}

}  // namespace tandrel
