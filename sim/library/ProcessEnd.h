#pragma once

namespace tandrel::sim {

// True while the process that loaded the library is ending. On Windows the
// other threads are gone by then, killed where they stood, so the library's
// teardown must neither join them nor take a lock they may have held.
bool ProcessIsEnding();

}  // namespace tandrel::sim
