#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <vector>
#endif

namespace tandrel::test {

// Strict UTF-8 as the system's own converter sees it: no overlong forms, no
// surrogates.
inline bool IsStrictUtf8(const std::string& text) {
#ifdef _WIN32
    if (text.empty()) return true;
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                               0) > 0;
#else
    iconv_t converter = iconv_open("UTF-32LE", "UTF-8");
    std::string in = text;
    std::vector<char> out(4 * text.size() + 4);
    char* from = in.data();
    char* to = out.data();
    std::size_t left = in.size(), room = out.size();
    const bool ok = iconv(converter, &from, &left, &to, &room) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    return ok;
#endif
}

}  // namespace tandrel::test
