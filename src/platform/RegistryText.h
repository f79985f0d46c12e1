#pragma once

#include <cstddef>
#include <string_view>

namespace tandrel {

// Copies a value's text into buffer (size bytes) with its terminating NUL.
// False, leaving buffer as it was, when the text needs more than size - 1
// bytes: a cut text could name another device than the whole one does.
bool StoreValueText(std::string_view text, char* buffer, std::size_t size);

// The text without one trailing newline, as files written by hand or by
// the kernel end in one.
std::string_view WithoutTrailingNewline(std::string_view text);

// A key without its one optional trailing backslash.
std::string_view WithoutTrailingBackslash(std::string_view key);

}  // namespace tandrel
