#pragma once

#include <string>

namespace tandrel {

// The folder where the station keeps files of its own (its results store,
// the image snapshots Start takes): $XDG_DATA_HOME/tandrel, else
// ~/.local/share/tandrel, on Linux; %LOCALAPPDATA%\Tandrel on Windows.
// UTF-8, without a trailing separator; empty when the system names no such
// place. It is not created here.
std::string StationDataFolder();

}  // namespace tandrel
