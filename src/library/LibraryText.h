#pragma once

#include <string>
#include <string_view>

namespace tandrel {

// The library's texts are 8-bit in the system's own encoding: UTF-8 on
// Linux, the ANSI code page on Windows. The station keeps UTF-8 everywhere
// and converts at the binding: paths on the way in, messages, callback texts
// and item names on the way out. Each system's build has its own definition.

// text as the library must be handed it; false (out empty) when a character
// has no exact equivalent there, since a look-alike would name another file.
bool ToLibraryText(std::string_view text, std::string& out);

// A text the library wrote, as the station shows it.
std::string FromLibraryText(std::string_view text);

}  // namespace tandrel
