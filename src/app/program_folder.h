#pragma once

#include <string>

namespace beatloom {

// Where the settings, list and help files live: $BEATLOOM_HOME when set, else
// the folder of the running program, or ~/.config/beatloom (XDG) when that
// folder is not writable.
std::string ProgramFolder();

// Where an installed program finds the files it ships (help page, language
// files): share/beatloom beside the bin folder the program lies in.
std::string SharedDataFolder(const std::string& executableFolder);

}  // namespace beatloom
