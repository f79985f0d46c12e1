#include "library/ProcessEnd.h"

namespace tandrel::sim {

// A POSIX process runs the library's destructors while its threads still live.
bool ProcessIsEnding() { return false; }

}  // namespace tandrel::sim
