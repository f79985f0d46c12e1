#pragma once

#include <string>

namespace tandrel {

// The folder of the running program, without a trailing backslash; empty
// when the system cannot tell.
std::wstring ProgramFolder();

}  // namespace tandrel
