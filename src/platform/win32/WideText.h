#pragma once

#include <string>
#include <string_view>

namespace tandrel {

// The station keeps its texts in UTF-8. Windows takes them as UTF-16 (the
// wide API), and an 8-bit library as the system's ANSI code page.

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Into fixed buffers, for the reads that run on every scan tick: the number
// of characters written before the terminator, or -1 (out left empty) when
// the text does not fit in capacity - 1.
int WidenInto(std::string_view utf8, wchar_t* out, int capacity);
int NarrowInto(std::wstring_view wide, char* out, int capacity);

// The text in the ANSI code page; false when a character has no exact
// equivalent there (a look-alike would name another file).
bool ToAnsi(std::string_view utf8, std::string& out);
std::string FromAnsi(std::string_view ansi);

// The system's text for an error code, with the code itself.
std::string SystemErrorText(unsigned long code);

}  // namespace tandrel
