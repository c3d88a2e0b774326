// The repeater's end of a real pseudo-terminal for the link tests: a thread
// that reads the program's frames and answers each through a handler.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comm/Wire.h"

namespace zmp::testing {

class PtyPeer {
 public:
  // Answers one received message with the frames to send back (payloads).
  using Handler = std::function<std::vector<wire::Bytes>(const std::string& msg)>;

  PtyPeer() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master_);
    ::unlockpt(master_);
    path_ = ::ptsname(master_);
    // Keep the terminal alive between the program's opens.
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(slave_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(slave_, TCSANOW, &t);
  }
  ~PtyPeer() {
    Stop();
    ::close(slave_);
    ::close(master_);
  }

  const std::string& Path() const { return path_; }
  // The terminal's own end, for its line settings.
  int TerminalFd() const { return slave_; }
  std::uint8_t mask = 0;

  void Start(Handler h) {
    handler_ = std::move(h);
    running_ = true;
    thread_ = std::thread([this] { Loop(); });
  }
  void Stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }
  // Raw bytes to the program, at once.
  void SendRaw(const wire::Bytes& bytes) { (void)!::write(master_, bytes.data(), bytes.size()); }
  void SendFrame(std::string_view text) { SendRaw(wire::BuildFrame(text, mask)); }
  std::vector<std::string> Received() {
    std::lock_guard<std::mutex> lock(m_);
    return received_;
  }

  static std::vector<wire::Bytes> Reply(std::initializer_list<std::string_view> texts) {
    std::vector<wire::Bytes> out;
    for (auto t : texts) out.emplace_back(t.begin(), t.end());
    return out;
  }

 private:
  void Loop() {
    wire::FrameReader reader;
    std::uint8_t buf[4096];
    while (running_) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n <= 0) continue;
      reader.Feed(wire::ByteView(buf, static_cast<std::size_t>(n)));
      wire::Bytes payload;
      while (reader.Next(payload, mask) == wire::FrameReader::Status::Frame) {
        const std::string msg(payload.begin(), payload.end());
        {
          std::lock_guard<std::mutex> lock(m_);
          received_.push_back(msg);
        }
        for (const auto& reply : handler_(msg)) {
          if (reply.empty()) continue;
          SendRaw(wire::BuildFrame(wire::ByteView(reply), mask));
        }
      }
    }
  }

  int master_ = -1;
  int slave_ = -1;
  std::string path_;
  Handler handler_;
  std::atomic<bool> running_{false};
  std::thread thread_;
  std::mutex m_;
  std::vector<std::string> received_;
};

}  // namespace zmp::testing
