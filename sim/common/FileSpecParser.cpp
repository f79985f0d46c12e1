#include "FileSpecParser.h"

#include <string_view>

#include "platform/DecimalText.h"

namespace tandrel::sim {

namespace {
// Enough for any item index, and few enough that it never saturates.
constexpr std::size_t kMostIndexDigits = 9;
}  // namespace

std::optional<FileSpec> ParseFileSpec(const char* text) {
    // Digits right after the bar: no blanks, no sign.
    if (text == nullptr || text[0] != '|' || !IsDigit(text[1])) return std::nullopt;
    const std::string_view rest(text + 1);
    const LeadingDecimal index = ReadLeadingDecimal(rest);
    if (index.end > kMostIndexDigits || rest.substr(index.end, 1) != "|") return std::nullopt;
    const std::string_view path = rest.substr(index.end + 1);
    if (path.empty()) return std::nullopt;
    return FileSpec{static_cast<unsigned>(index.value), std::string(path)};
}

}  // namespace tandrel::sim
