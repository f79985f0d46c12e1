// The vendor's library on Windows reads and writes the ANSI code page.
#include "library/LibraryText.h"

#include "platform/win32/WideText.h"

namespace tandrel {

bool ToLibraryText(std::string_view text, std::string& out) { return ToAnsi(text, out); }

std::string FromLibraryText(std::string_view text) { return FromAnsi(text); }

}  // namespace tandrel
