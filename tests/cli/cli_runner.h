#pragma once

#include <string>

#include "support/command_line.h"

namespace beatloom::test {

using CliRun = CommandOutput;

enum class CliStream { Out, Err };

// Runs the real beatloom-cli with already quoted arguments and keeps one of
// its streams, discarding the other.
inline CliRun RunCli(const std::string& args, CliStream keep) {
  const std::string redirect = keep == CliStream::Out ? " 2>/dev/null" : " 2>&1 >/dev/null";
  const std::string command = std::string("'") + BEATLOOM_CLI + "' " + args + redirect;
  return RunCommandLine(command);
}

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

}  // namespace beatloom::test
