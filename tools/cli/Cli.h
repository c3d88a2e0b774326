// The commands of zmp318t-cli. main() builds one CLI11 app; each cmd_*.cpp
// file adds its commands to it through a CommandList, and the command that
// the arguments select runs once they are parsed.
//
// Exit status: 0 success, 2 wrong use (with the usage on stderr), other
// values as each command gives them.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zmp::cli {

inline constexpr int kWrongUse = 2;

class CommandList {
 public:
  explicit CommandList(CLI::App& app) : app_(app) {}

  // Adds a command; run gives its exit status. The synopsis is printed with
  // the usage after wrong use.
  CLI::App* Add(const std::string& name, const std::string& synopsis, const std::string& summary,
                std::function<int()> run);

  struct Entry {
    CLI::App* app;
    std::string synopsis;
    std::string summary;
    std::function<int()> run;
  };
  const std::vector<Entry>& Entries() const { return entries_; }
  const Entry* Find(const CLI::App* app) const;

 private:
  CLI::App& app_;
  std::vector<Entry> entries_;
};

// Prints "usage: zmp318t-cli SYNOPSIS" on stderr and returns kWrongUse.
int WrongUse(const std::string& synopsis);

void AddFileCommands(CommandList& commands);
void AddChannelCommands(CommandList& commands);
void AddRadioCommands(CommandList& commands);
void AddImageTextCommands(CommandList& commands);
void AddCheckCommands(CommandList& commands);
void AddPortsCommands(CommandList& commands);
// diff FILE --port P [--baud B]: the repeater's image (read as the file's
// model) against the file's, as "field: repeater's text → file's text".
// 0 equal, 1 different, 2 failure (said on stderr).
int RunDiffWithRepeater(const std::string& file, const std::string& port, const std::optional<std::string>& baud,
                        const std::optional<std::string>& password);
// Built with the Qt program only (ZMP_CLI_PRINT).
void AddPrintCommands(CommandList& commands);

}  // namespace zmp::cli
