// The two ends of a real pseudo-terminal for the link and simulator tests:
// PtyPeer is the repeater's end, a thread that reads the program's frames and
// answers each through a handler; RawPeer is the program's end of a terminal
// that exists (the simulator's), speaking raw frames so that every byte can be
// checked.
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
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(master_);
    ::unlockpt(master_);
    path_ = ::ptsname(master_);
    // Keep the terminal alive between the program's opens.
    slave_ = MakeRaw(::open(path_.c_str(), O_RDWR | O_NOCTTY));
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

class RawPeer {
 public:
  explicit RawPeer(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ >= 0) MakeRaw(fd_);
  }
  ~RawPeer() {
    if (fd_ >= 0) ::close(fd_);
  }
  RawPeer(const RawPeer&) = delete;
  RawPeer& operator=(const RawPeer&) = delete;

  bool ok() const { return fd_ >= 0; }
  std::uint8_t mask = 0;
  std::size_t bytesSent = 0;
  std::size_t bytesReceived = 0;

  bool Send(wire::ByteView payload) {
    const wire::Bytes frame = wire::BuildFrame(payload, mask);
    if (frame.empty()) return false;
    bytesSent += frame.size();
    return ::write(fd_, frame.data(), frame.size()) == static_cast<ssize_t>(frame.size());
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

 private:
  int fd_ = -1;
  wire::FrameReader reader_;
};

}  // namespace zmp::testing
