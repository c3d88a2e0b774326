// zmp318t-cli: data files, tuning files, channel plans and repeater transfers
// from a shell.
#include <algorithm>
#include <cstdio>
#include <exception>

#include "Cli.h"

namespace zmp::cli {

std::vector<CliCommand>& Commands() {
  static std::vector<CliCommand> commands;
  return commands;
}

bool WantsHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

void PrintCommandHelp(const CliCommand& c) {
  std::printf("usage: zmp318t-cli %s\n\n%s\n", c.synopsis.c_str(), c.summary.c_str());
  if (c.details) std::printf("\n%s", c.details().c_str());
}

namespace {
void PrintOverview() {
  std::printf("usage: zmp318t-cli COMMAND [ARGS]\n\ncommands:\n");
  auto sorted = Commands();
  std::sort(sorted.begin(), sorted.end(),
            [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
  for (const auto& c : sorted) std::printf("  %-44s %s\n", c.synopsis.c_str(), c.summary.c_str());
  std::printf("\n'zmp318t-cli COMMAND --help' describes one command.\n");
}
}  // namespace

}  // namespace zmp::cli

int main(int argc, char** argv) {
  using namespace zmp::cli;
  if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    PrintOverview();
    return argc < 2 ? 2 : 0;
  }
  const std::string name = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const auto& c : Commands()) {
    if (c.name != name) continue;
    if (WantsHelp(args)) {
      PrintCommandHelp(c);
      return 0;
    }
    try {
      return c.run(args);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "zmp318t-cli %s: %s\n", name.c_str(), e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "zmp318t-cli: unknown command '%s'\n", name.c_str());
  PrintOverview();
  return 2;
}
