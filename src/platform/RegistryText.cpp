#include "platform/RegistryText.h"

#include <cstring>

namespace tandrel {

bool StoreValueText(std::string_view text, char* buffer, std::size_t size) {
    if (size == 0 || text.size() > size - 1) return false;
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return true;
}

std::string_view WithoutTrailingNewline(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    return text;
}

std::string_view WithoutTrailingBackslash(std::string_view key) {
    if (!key.empty() && key.back() == '\\') key.remove_suffix(1);
    return key;
}

}  // namespace tandrel
