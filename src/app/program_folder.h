#pragma once

#include <string>

namespace beatloom {

// Where the settings, list and help files live: $BEATLOOM_HOME when set, else
// the folder of the running program, or ~/.config/beatloom (XDG) when that
// folder is not writable.
std::string ProgramFolder();

}  // namespace beatloom
