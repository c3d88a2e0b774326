// zmp318t-cli: data files, tuning files, channel plans, the image as text and
// repeater transfers from a shell.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "Cli.h"
#include "ImageTextRead.h"

namespace zmp::cli {

CLI::App* CommandList::Add(const std::string& name, const std::string& synopsis, const std::string& summary,
                           std::function<int()> run) {
  CLI::App* sub = app_.add_subcommand(name, summary);
  entries_.push_back({sub, synopsis, summary, std::move(run)});
  return sub;
}

const CommandList::Entry* CommandList::Find(const CLI::App* app) const {
  for (const Entry& e : entries_)
    if (e.app == app) return &e;
  return nullptr;
}

int WrongUse(const std::string& synopsis) {
  std::fprintf(stderr, "usage: zmp318t-cli %s\n", synopsis.c_str());
  return kWrongUse;
}

namespace {

void PrintOverview(const CommandList& commands) {
  std::printf("usage: zmp318t-cli COMMAND [ARGS]\n\ncommands:\n");
  std::vector<const CommandList::Entry*> sorted;
  for (const auto& e : commands.Entries()) sorted.push_back(&e);
  std::sort(sorted.begin(), sorted.end(), [](auto* a, auto* b) { return a->app->get_name() < b->app->get_name(); });
  for (const auto* e : sorted) std::printf("  %-44s %s\n", e->synopsis.c_str(), e->summary.c_str());
  std::printf("\n'zmp318t-cli COMMAND --help' describes one command.\n");
}

// A standard stream that was closed gets a stand-in, so that no file a command
// opens becomes one of them. Standard output's stand-in is read-only: writing
// to it fails as writing to a closed stream does, and is reported.
void KeepStandardStreamsOpen() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int standIn = ::open("/dev/null", (fd == 2 ? O_WRONLY : O_RDONLY) | O_CLOEXEC);
    if (standIn >= 0 && standIn != fd) {
      ::dup2(standIn, fd);
      ::close(standIn);
    }
  }
}

// Every command's output to standard output, checked once at its end: output
// that could not be written (a full disk, a closed stream) is a failure with
// a message, whatever the command itself returned.
int FinishStandardOutput(const std::string& command, int status) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int code = errno;
  if (flushed && !std::ferror(stdout)) return status;
  const std::string who = command.empty() ? "zmp318t-cli" : "zmp318t-cli " + command;
  std::fprintf(stderr, "%s: standard output could not be written%s%s%s\n", who.c_str(), code ? " (" : "",
               code ? std::strerror(code) : "", code ? ")" : "");
  return status == 0 ? 1 : status;
}

// The command the arguments chose (CLI11 keeps it even when parsing failed).
const CommandList::Entry* Chosen(const CLI::App& app, const CommandList& commands) {
  const auto subs = app.get_subcommands();
  return subs.empty() ? nullptr : commands.Find(subs.front());
}

// Parses the arguments and runs the command they choose; name is set to it.
int Run(int argc, char** argv, CLI::App& app, const CommandList& commands, std::string& name) {
  if (argc < 2) {
    PrintOverview(commands);
    return kWrongUse;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    if (const auto* c = Chosen(app, commands)) {
      name = c->app->get_name();
      std::printf("usage: zmp318t-cli %s\n\n%s\n", c->synopsis.c_str(), c->app->help().c_str());
    } else {
      PrintOverview(commands);
    }
    return 0;
  } catch (const CLI::ParseError& e) {
    if (const auto* c = Chosen(app, commands)) {
      name = c->app->get_name();
      std::fprintf(stderr, "zmp318t-cli %s: %s\n", name.c_str(), e.what());
      return WrongUse(c->synopsis);
    }
    if (argv[1][0] != '-') {
      std::fprintf(stderr, "zmp318t-cli: unknown command '%s'\n", Printable(argv[1]).c_str());
    } else {
      std::fprintf(stderr, "zmp318t-cli: %s\n", e.what());
    }
    PrintOverview(commands);
    return kWrongUse;
  }
  const auto* chosen = Chosen(app, commands);
  if (chosen == nullptr) return kWrongUse;
  name = chosen->app->get_name();
  try {
    return chosen->run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zmp318t-cli %s: %s\n", name.c_str(), e.what());
    return 1;
  }
}

}  // namespace

}  // namespace zmp::cli

int main(int argc, char** argv) {
  using namespace zmp::cli;
  KeepStandardStreamsOpen();
  CLI::App app("zmp318t-cli: data files, tuning files, channel plans and repeater transfers", "zmp318t-cli");
  app.require_subcommand(1);
  CommandList commands(app);
  AddFileCommands(commands);
  AddChannelCommands(commands);
  AddImageTextCommands(commands);
  AddCheckCommands(commands);
  AddRadioCommands(commands);
  AddPortsCommands(commands);
#ifdef ZMP_CLI_PRINT
  AddPrintCommands(commands);
#endif
  std::string name;
  const int status = Run(argc, argv, app, commands, name);
  return FinishStandardOutput(name, status);
}
