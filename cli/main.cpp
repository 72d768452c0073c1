#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program_folder.h"
#include "bms/bms_reader.h"
#include "command_registry.h"
#include "model/file_io.h"

namespace beatloom::cli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "beatloom-cli: %s\nTry 'beatloom-cli --help'.\n", message.c_str());
  return kUsage;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "beatloom-cli: %s\n", message.c_str());
  return kFailed;
}

std::string LoadFailure(const std::string& path) {
  const std::string problem = ReadProblem(path);
  // A readable file that still did not load was too large to hold.
  return "cannot read " + (problem.empty() ? path + ": too large to load" : problem);
}

bool LoadChart(Document& doc, const std::string& path) {
  Log log;
  if (LoadBmsFile(doc, path, log)) return true;
  Fail(LoadFailure(path));
  return false;
}

int SaveFailed(const std::string& error) {
  const size_t reason = error.find('\n');
  return Fail("cannot write " + (reason == std::string::npos ? error : error.substr(reason + 1)));
}

namespace {

void PrintHelp() {
  std::vector<Command> sorted = Commands();
  std::sort(sorted.begin(), sorted.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
  std::printf("Usage: beatloom-cli COMMAND ARGS...\n\nWorks on BMS charts without a display.\n\nCommands:\n");
  for (const Command& c : sorted) {
    std::printf("  %s %s\n      %s\n", c.name.c_str(), c.usage.c_str(), c.help.c_str());
  }
  std::printf("\nExit status: 0 success, 1 failure (the message says why), 2 usage error.\n");
}

}  // namespace

}  // namespace beatloom::cli

int main(int argc, char** argv) {
  using namespace beatloom::cli;
  // A write past the file-size limit (ulimit -f) then fails with EFBIG and
  // is reported like a full disk, instead of ending the program mid-save.
  std::signal(SIGXFSZ, SIG_IGN);
  beatloom::SetAsideFolderForInPlaceSaves(beatloom::StateFolder());
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return UsageError("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp();
    return kOk;
  }
  for (const Command& c : Commands()) {
    if (c.name != args[0]) continue;
    args.erase(args.begin());
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
      std::printf("Usage: beatloom-cli %s %s\n%s\n", c.name.c_str(), c.usage.c_str(), c.help.c_str());
      return kOk;
    }
    return c.run(args);
  }
  return UsageError("unknown command '" + args[0] + "'");
}
