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

// Runs the tool with args in dir; stdout and stderr captured. shell runs
// before it in the same shell (limits, traps).
inline CliRun Cli(const std::filesystem::path& dir, const std::string& args, const std::string& shell = "") {
  const std::filesystem::path err = dir / "stderr.txt";
  const std::string cmd = "cd '" + dir.string() + "' && " + shell + " '" ZMP_BIN_DIR "/zmp318t-cli' " + args +
                          " 2>'" + err.string() + "'";
  CliRun r{};
  FILE* p = ::popen(cmd.c_str(), "r");
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int st = ::pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  std::ifstream in(err);
  r.err.assign(std::istreambuf_iterator<char>(in), {});
  return r;
}

}  // namespace zmp::testing
