#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace beatloom::test {

struct CliRun {
  int status;
  std::string text;  // what the chosen stream said
};

enum class CliStream { Out, Err };

// Runs the real beatloom-cli with already quoted arguments and keeps one of
// its streams, discarding the other.
inline CliRun RunCli(const std::string& args, CliStream keep) {
  const std::string redirect = keep == CliStream::Out ? " 2>/dev/null" : " 2>&1 >/dev/null";
  const std::string command = std::string("'") + BEATLOOM_CLI + "' " + args + redirect;
  CliRun r{-1, {}};
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.text.append(buf, n);
  const int raw = pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

}  // namespace beatloom::test
