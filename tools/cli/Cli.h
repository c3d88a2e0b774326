// Commands of zmp318t-cli. Each cmd_*.cpp file registers its commands with a
// static CliRegistration; main() dispatches on the first argument.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zmp::cli {

struct CliCommand {
  std::string name;     // "info"
  std::string synopsis; // "info FILE"
  std::string summary;  // one line for the overview
  // Arguments after the command name. Returns the process exit status.
  std::function<int(const std::vector<std::string>& args)> run;
  // More for "COMMAND --help" (empty: nothing more).
  std::function<std::string()> details = {};
};

std::vector<CliCommand>& Commands();

struct CliRegistration {
  explicit CliRegistration(CliCommand c) { Commands().push_back(std::move(c)); }
};

// True when args holds "--help" or "-h".
bool WantsHelp(const std::vector<std::string>& args);
// Prints "usage: zmp318t-cli SYNOPSIS" and the summary to stdout.
void PrintCommandHelp(const CliCommand& c);

}  // namespace zmp::cli
