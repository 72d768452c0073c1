#pragma once

#include <functional>
#include <string>
#include <vector>

namespace beatloom::cli {

// Exit statuses shared by every command.
constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct Command {
  std::string name;
  std::string usage;  // one line: arguments
  std::string help;   // what it does
  std::function<int(const std::vector<std::string>& args)> run;
};

std::vector<Command>& Commands();

// Each command file registers its commands with a static Registrar, so that a
// new command needs no change to the dispatcher.
struct Registrar {
  explicit Registrar(Command command) { Commands().push_back(std::move(command)); }
};

int UsageError(const std::string& message);

}  // namespace beatloom::cli
