#pragma once

namespace tandrel {

// A windowed program has no console of its own. Its standard output and
// error go where its parent sent them (a pipe, a file) or, when it was
// started from a console window, to that console. False when there is
// neither: what would have been printed then has nowhere to go.
bool ConnectStandardStreams();

}  // namespace tandrel
