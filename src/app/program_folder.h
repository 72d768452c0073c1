#pragma once

#include <string>

namespace beatloom {

// Where the settings, list and help files live: $BEATLOOM_HOME when set, else
// the folder of the running program, or ~/.config/beatloom (XDG) when that
// folder is not writable.
std::string ProgramFolder();

// The per-user folder for what the program keeps between runs on its own
// account (recovery copies, old bytes kept aside during a save): never
// beside a chart. $BEATLOOM_HOME when set, like the settings; else
// $XDG_STATE_HOME/beatloom or ~/.local/state/beatloom. Not created here:
// whoever first writes into it does (MakePrivateFolder).
std::string StateFolder();

// Where an installed program finds the files it ships (help page, language
// files): share/beatloom beside the bin folder the program lies in.
std::string SharedDataFolder(const std::string& executableFolder);

}  // namespace beatloom
