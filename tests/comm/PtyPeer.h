// One end of a real pseudo-terminal, speaking frames. Made without a path it
// is the repeater's end of a new terminal (the program opens Path()), and can
// answer each frame it receives through a handler on a thread of its own;
// made with the path of a terminal that exists (the simulator's) it is the
// program's end, asking and receiving so that every byte can be checked.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "comm/Wire.h"

namespace zmp::testing {

// Puts a terminal into raw mode; returns fd.
inline int MakeRaw(int fd) {
  termios t{};
  ::tcgetattr(fd, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(fd, TCSANOW, &t);
  return fd;
}

class PtyPeer {
 public:
  // Answers one received message with the frames to send back (payloads).
  using Handler = std::function<std::vector<wire::Bytes>(const std::string& msg)>;

  PtyPeer() {
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(fd_);
    ::unlockpt(fd_);
    path_ = ::ptsname(fd_);
    // Keep the terminal alive between the program's opens.
    terminal_ = MakeRaw(::open(path_.c_str(), O_RDWR | O_NOCTTY));
  }
  explicit PtyPeer(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ >= 0) MakeRaw(fd_);
  }
  ~PtyPeer() {
    Stop();
    if (terminal_ >= 0) ::close(terminal_);
    if (fd_ >= 0) ::close(fd_);
  }
  PtyPeer(const PtyPeer&) = delete;
  PtyPeer& operator=(const PtyPeer&) = delete;

  bool ok() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  // The terminal's own end, for its line settings.
  int TerminalFd() const { return terminal_; }
  std::uint8_t mask = 0;
  std::size_t bytesSent = 0;
  std::size_t bytesReceived = 0;

  // Raw bytes, at once.
  void SendRaw(const wire::Bytes& bytes) {
    bytesSent += bytes.size();
    (void)!::write(fd_, bytes.data(), bytes.size());
  }
  bool Send(wire::ByteView payload) {
    const wire::Bytes frame = wire::BuildFrame(payload, mask);
    SendRaw(frame);
    return !frame.empty();
  }
  bool Send(std::string_view text) { return Send(wire::AsBytes(text)); }

  // The next frame's unmasked payload within timeoutMs; nullopt on silence.
  std::optional<wire::Bytes> Receive(int timeoutMs = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    wire::Bytes payload;
    for (;;) {
      const auto st = reader_.Next(payload, mask);
      if (st == wire::FrameReader::Status::Frame) return payload;
      if (st == wire::FrameReader::Status::BadLength) return std::nullopt;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          end - std::chrono::steady_clock::now()).count();
      if (left <= 0) return std::nullopt;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
      std::uint8_t buf[4096];
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n <= 0) return std::nullopt;
      bytesReceived += static_cast<std::size_t>(n);
      reader_.Feed(wire::ByteView(buf, static_cast<std::size_t>(n)));
    }
  }
  std::string ReceiveText(int timeoutMs = 3000) {
    const auto p = Receive(timeoutMs);
    return p ? std::string(wire::AsText(*p)) : std::string("<silence>");
  }
  // Sends text and returns the answer as text.
  std::string Ask(std::string_view text, int timeoutMs = 3000) {
    if (!Send(text)) return "<send failed>";
    return ReceiveText(timeoutMs);
  }
  // Opens a connection and presents the access code, leaving the mask 0.
  bool Connect() {
    mask = 0;
    if (Ask(wire::kMntReq) != "SC_CONTROL SYNACK") return false;
    if (!Send(wire::VersionRequest(0))) return false;
    if (!wire::ParseVersionResponse(ReceiveText())) return false;
    if (!Send(wire::PassMessage(wire::kAccessCode, wire::NeutralChallenge(wire::kAccessCode))))
      return false;
    return ReceiveText() == "SC_CONTROL ACK";
  }

  // Answers every frame that arrives through handler, until Stop().
  void Start(Handler handler) {
    running_ = true;
    thread_ = std::thread([this, handler = std::move(handler)] {
      while (running_) {
        const auto payload = Receive(20);
        if (!payload) continue;
        const std::string msg(payload->begin(), payload->end());
        {
          std::lock_guard<std::mutex> lock(m_);
          received_.push_back(msg);
        }
        for (const auto& reply : handler(msg))
          if (!reply.empty()) Send(reply);
      }
    });
  }
  void Stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }
  // What the handler was given until now.
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
  int fd_ = -1;
  int terminal_ = -1;
  std::string path_;
  wire::FrameReader reader_;
  std::atomic<bool> running_{false};
  std::thread thread_;
  std::mutex m_;
  std::vector<std::string> received_;
};

}  // namespace zmp::testing
