#include "library/LibraryText.h"

namespace tandrel {

// On Linux the library speaks UTF-8 as the station does.
bool ToLibraryText(std::string_view text, std::string& out) {
    out = text;
    return true;
}

std::string FromLibraryText(std::string_view text) { return std::string(text); }

}  // namespace tandrel
