#include "FileSpecParser.h"

namespace tandrel::sim {

std::optional<FileSpec> ParseFileSpec(const char* text) {
    if (text == nullptr || text[0] != '|') return std::nullopt;
    FileSpec spec;
    const char* p = text + 1;
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
        if (digits == 9) return std::nullopt;
        spec.index = spec.index * 10 + static_cast<unsigned>(*p - '0');
    }
    if (digits == 0 || *p != '|' || p[1] == '\0') return std::nullopt;
    spec.path = p + 1;
    return spec;
}

}  // namespace tandrel::sim
