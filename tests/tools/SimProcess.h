// Starts the real zmp318t-sim binary for a test: its standard output comes
// through a pipe, whose first line is the pseudo-terminal path. The process is
// ended with SIGTERM (and waited for) when the object goes.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "../support/Files.h"

namespace zmp::testing {

inline std::string BinPath(const std::string& name) { return std::string(ZMP_BIN_DIR) + "/" + name; }

// The messages the program sent, from the simulator's --log ("< ..." lines).
inline std::vector<std::string> Sent(const std::string& log) {
  std::vector<std::string> out;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("< ", 0) == 0) out.push_back(line.substr(2));
  return out;
}
// The requests among them: no ACKs and no data messages.
inline std::vector<std::string> Requests(const std::string& log) {
  std::vector<std::string> out;
  for (const auto& m : Sent(log))
    if (m != "SC_CONTROL ACK" && m.rfind("SC_DATA_ind", 0) != 0) out.push_back(m);
  return out;
}

class SimProcess {
 public:
  // Started in the folder dir (the test's own by default).
  explicit SimProcess(const std::vector<std::string>& args, const std::filesystem::path& dir = {}) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      if (!dir.empty() && ::chdir(dir.c_str()) != 0) ::_exit(126);
      ::dup2(out[1], 1);
      ::close(out[0]);
      ::close(out[1]);
      const std::string bin = BinPath("zmp318t-sim");
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(bin.c_str()));
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(bin.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    out_ = out[0];
    if (auto line = ReadLine(10000)) path_ = *line;
  }
  ~SimProcess() { Stop(); }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool ok() const { return pid_ > 0 && !path_.empty(); }
  const std::string& path() const { return path_; }

  // The next line of standard output within timeoutMs.
  std::optional<std::string> ReadLine(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const auto nl = buffer_.find('\n');
      if (nl != std::string::npos) {
        std::string line = buffer_.substr(0, nl);
        buffer_.erase(0, nl + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          end - std::chrono::steady_clock::now()).count();
      if (left <= 0 || out_ < 0) return std::nullopt;
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      char buf[512];
      const ssize_t n = ::read(out_, buf, sizeof buf);
      if (n <= 0) return std::nullopt;
      buffer_.append(buf, static_cast<std::size_t>(n));
    }
  }

  // Waits for the process to end by itself; returns its exit status.
  int Wait() {
    if (pid_ <= 0) return exit_;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return exit_;
  }

  // Sends SIGTERM and waits; returns the exit status (-1 if it did not exit normally).
  int Stop() {
    if (pid_ <= 0) return exit_;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    // Keep what was printed until now (stats lines) readable.
    if (out_ >= 0) {
      char buf[512];
      ssize_t n;
      while ((n = ::read(out_, buf, sizeof buf)) > 0) buffer_.append(buf, static_cast<std::size_t>(n));
      ::close(out_);
      out_ = -1;
    }
    return exit_;
  }
  // What standard output held after the path line and was not read yet.
  const std::string& rest() const { return buffer_; }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int exit_ = -1;
  std::string path_;
  std::string buffer_;
};

}  // namespace zmp::testing
