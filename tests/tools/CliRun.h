// Runs the real zmp318t-cli for a test, as a technician runs it from a shell.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zmp::testing {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

// Runs a shell command line; its standard output and, through the file
// errPath, its standard error captured.
inline CliRun Sh(const std::string& line, const std::filesystem::path& errPath) {
  const std::string cmd = line + " 2>'" + errPath.string() + "'";
  CliRun r{};
  FILE* p = ::popen(cmd.c_str(), "r");
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  std::ifstream in(errPath);
  r.err.assign(std::istreambuf_iterator<char>(in), {});
  return r;
}

// Runs the tool with args in dir. shell runs before it in the same shell
// (limits, traps).
inline CliRun Cli(const std::filesystem::path& dir, const std::string& args, const std::string& shell = "") {
  return Sh("cd '" + dir.string() + "' && " + shell + " '" ZMP_BIN_DIR "/zmp318t-cli' " + args, dir / "stderr.txt");
}

}  // namespace zmp::testing
