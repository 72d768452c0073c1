#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/document.h"

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

// Every failure is one line on stderr with the program's name in front, and
// names the file the user gave with the system's reason.
int Fail(const std::string& message);

// Loads a chart as Open does; when it cannot, says why and returns false.
bool LoadChart(Document& doc, const std::string& path);

// Why a chart could not be loaded: "cannot read FILE: reason".
std::string LoadFailure(const std::string& path);

// The message for a failed save: SaveBmsFile's error is the program's own
// notice followed by the reason on the next line.
int SaveFailed(const std::string& error);

}  // namespace beatloom::cli
