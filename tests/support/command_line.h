#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace beatloom::test {

struct CommandOutput {
  int status = -1;   // the exit status; -1 when it did not exit normally
  std::string text;  // what it wrote to standard output
};

// Runs a shell command line, as a user would from a terminal.
inline CommandOutput RunCommandLine(const std::string& command) {
  CommandOutput r;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.text.append(buf, n);
  const int raw = pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

}  // namespace beatloom::test
