// The program's end of a pseudo-terminal, speaking raw frames with the wire
// codec: for tests of the simulator that must see every byte.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "comm/Wire.h"

namespace zmp::testing {

class RawPeer {
 public:
  explicit RawPeer(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0) return;
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
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
