#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tandrel {

// tandrel-results: reads a station's results store. args are the arguments
// after the program name; defaultStore is the store a station keeps when not
// told otherwise. Returns the exit status: 0 done, 1 the store could not be
// read or check found a fault, 2 the command line was refused.
int RunResultsTool(const std::vector<std::string>& args, const std::string& defaultStore, std::ostream& out,
                   std::ostream& err);

// TIME as --since takes it: UTC milliseconds, or YYYY-MM-DD[THH:MM[:SS]] in
// UTC with an optional Z. False when it is neither.
bool ParseUtcTime(const std::string& text, long long& ms);
// ms as YYYY-MM-DDTHH:MM:SS.mmmZ.
std::string FormatUtcTime(long long ms);

}  // namespace tandrel
