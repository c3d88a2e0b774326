#include "comm/SerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "comm/PortMap.h"

namespace zmp {

namespace {

using Clock = std::chrono::steady_clock;

speed_t SpeedOf(int baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return 0;
  }
}

int MillisLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// The device name without "/dev/" for the sysfs lookups.
std::string TtyName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The process a lock file names: ten characters of decimal PID and a line
// feed, or (older programs) the PID as a binary int; 0 when none.
pid_t LockOwner(const std::string& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return 0;
  char buf[32] = {};
  const ssize_t n = ::read(fd, buf, sizeof buf - 1);
  ::close(fd);
  if (n <= 0) return 0;
  const bool text = std::all_of(buf, buf + n, [](char c) { return c == ' ' || c == '\n' || (c >= '0' && c <= '9'); });
  if (text) return static_cast<pid_t>(std::strtol(buf, nullptr, 10));
  if (n == static_cast<ssize_t>(sizeof(int))) {
    int pid = 0;
    std::memcpy(&pid, buf, sizeof pid);
    return pid;
  }
  return 0;
}

bool IsRunning(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

std::string LockPath(const std::string& name) { return SerialLockFolder() + "/LCK.." + name; }

// Our own lock file for the device; empty when it could not be made (a lock
// folder we may not write to does not keep the port from us).
std::string TakeLockFile(const std::string& devicePath) {
  const auto names = SerialLockNames(devicePath);
  if (names.empty()) return {};
  const std::string file = LockPath(names.front());
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return {};
  char text[16];
  const int n = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
  const bool ok = n > 0 && ::write(fd, text, static_cast<std::size_t>(n)) == n;
  ::close(fd);
  if (!ok) {
    ::unlink(file.c_str());
    return {};
  }
  return file;
}

}  // namespace

std::string SerialLockFolder() {
  const char* dir = std::getenv("ZMP_LOCK_DIR");
  return dir && *dir ? std::string(dir) : std::string("/var/lock");
}

std::vector<std::string> SerialLockNames(const std::string& devicePath) {
  std::vector<std::string> names;
  auto add = [&names](const std::string& name) {
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  };
  auto addPath = [&add](const std::string& path) {
    std::string below = path.rfind("/dev/", 0) == 0 ? path.substr(5) : TtyName(path);
    std::replace(below.begin(), below.end(), '/', '_');
    add(below);
    add(TtyName(path));
  };
  addPath(devicePath);
  char resolved[PATH_MAX];
  if (::realpath(devicePath.c_str(), resolved)) addPath(resolved);
  return names;
}

bool IsLockedByAnother(const std::string& devicePath) {
  for (const auto& name : SerialLockNames(devicePath)) {
    const std::string file = LockPath(name);
    const pid_t owner = LockOwner(file);
    if (owner == ::getpid()) continue;
    if (IsRunning(owner)) return true;
    // A lock whose process has ended is stale, as terminal programs treat it.
    if (owner > 0) ::unlink(file.c_str());
  }
  return false;
}

struct SerialPort::SavedLine {
  termios line{};
  bool haveLine = false;
  int serialFlags = 0;
  bool haveSerial = false;
};

void SerialPort::SaveLine() {
  saved_ = std::make_unique<SavedLine>();
  saved_->haveLine = ::tcgetattr(fd_, &saved_->line) == 0;
  serial_struct ss{};
  if (::ioctl(fd_, TIOCGSERIAL, &ss) == 0) {
    saved_->serialFlags = ss.flags;
    saved_->haveSerial = true;
  }
}

void SerialPort::RestoreLine() {
  if (!saved_) return;
  if (saved_->haveLine) ::tcsetattr(fd_, TCSANOW, &saved_->line);
  serial_struct ss{};
  if (saved_->haveSerial && ::ioctl(fd_, TIOCGSERIAL, &ss) == 0 &&
      (ss.flags & ASYNC_LOW_LATENCY) != (saved_->serialFlags & ASYNC_LOW_LATENCY)) {
    ss.flags = (ss.flags & ~ASYNC_LOW_LATENCY) | (saved_->serialFlags & ASYNC_LOW_LATENCY);
    ::ioctl(fd_, TIOCSSERIAL, &ss);
  }
  saved_.reset();
}

bool ParseSerialSettings(std::string_view text, SerialSettings& out) {
  SerialSettings s;
  std::string_view parts[4];
  for (int i = 0; i < 4; ++i) {
    const auto comma = text.find(',');
    if ((comma == std::string_view::npos) != (i == 3)) return false;
    parts[i] = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  auto number = [](std::string_view t, int& v) {
    if (t.empty() || t.size() > 7) return false;
    v = 0;
    for (char c : t) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    return true;
  };
  if (!number(parts[0], s.baud) || SpeedOf(s.baud) == 0) return false;
  if (parts[1].size() != 1) return false;
  s.parity = static_cast<char>(parts[1][0] & ~0x20);
  if (s.parity != 'N' && s.parity != 'E' && s.parity != 'O') return false;
  if (!number(parts[2], s.dataBits) || s.dataBits < 5 || s.dataBits > 8) return false;
  if (!number(parts[3], s.stopBits) || (s.stopBits != 1 && s.stopBits != 2)) return false;
  out = s;
  return true;
}

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() { SetOpen(false); }

std::string SerialPort::DevicePath() const {
  return device_.empty() ? ProgramPortMap().DevicePath(port_) : device_;
}

void SerialPort::SetDevice(const std::string& path) {
  device_ = path;
  if (IsOpen()) {
    SetOpen(false);
    SetOpen(true);
  }
}

bool SerialPort::SetOpen(bool open) {
  if (open == IsOpen()) return true;
  if (!open) {
    RestoreLine();
    ::ioctl(fd_, TIOCNXCL);  // the next open (ours or another program's) may take it
    ::close(fd_);
    fd_ = -1;
    if (!ownLockFile_.empty()) ::unlink(ownLockFile_.c_str());
    ownLockFile_.clear();
    return true;
  }
  const std::string path = DevicePath();
  // A port that another program holds by its lock file is not even opened:
  // opening alone can disturb its line.
  if (IsLockedByAnother(path)) {
    lastError_ = EBUSY;
    return false;
  }
  // No sharing: an exclusive open, as the repeater link must be the only user.
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    lastError_ = errno;
    return false;
  }
  if (::isatty(fd_) == 0) {
    lastError_ = ENOTTY;
    return false;
  }
  // A port that another program holds is not ours to take.
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    lastError_ = EBUSY;
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  ownLockFile_ = TakeLockFile(path);
  SaveLine();
  ::ioctl(fd_, TIOCEXCL);
  // Ask the driver for low latency where it offers it: every exchange is
  // stop-and-wait, so turnaround decides the speed on USB adapters.
  serial_struct ss{};
  if (::ioctl(fd_, TIOCGSERIAL, &ss) == 0) {
    ss.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(fd_, TIOCSSERIAL, &ss);
  }
  return ApplySettings();
}

bool SerialPort::ApplySettings() {
  SerialSettings s;
  if (!ParseSerialSettings(settings_, s)) {
    lastError_ = EINVAL;
    return false;
  }
  if (!IsOpen()) return true;
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) {
    lastError_ = errno;
    return false;
  }
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  // CTS output flow control and RTS handshake.
  t.c_cflag |= CRTSCTS;
  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
  t.c_cflag |= s.dataBits == 5 ? CS5 : s.dataBits == 6 ? CS6 : s.dataBits == 7 ? CS7 : CS8;
  if (s.parity != 'N') t.c_cflag |= PARENB | (s.parity == 'O' ? PARODD : 0);
  if (s.stopBits == 2) t.c_cflag |= CSTOPB;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  ::cfsetispeed(&t, SpeedOf(s.baud));
  ::cfsetospeed(&t, SpeedOf(s.baud));
  if (::tcsetattr(fd_, TCSANOW, &t) != 0) {
    lastError_ = errno;
    return false;
  }
  return true;
}

bool SerialPort::SetPort(int number) {
  if (number != 0) port_ = number;
  if (!IsOpen()) return true;
  SetOpen(false);
  return SetOpen(true);
}

bool SerialPort::SetSettings(std::string_view settings) {
  SerialSettings s;
  if (!ParseSerialSettings(settings, s)) {
    lastError_ = EINVAL;
    return false;
  }
  settings_ = std::string(settings);
  return ApplySettings();
}

bool SerialPort::SetReadTimeout(unsigned ms) {
  readTotalTimeout_ = ms;
  return true;
}

bool SerialPort::SetWriteTimeout(unsigned ms) {
  writeTotalTimeout_ = ms;
  return true;
}

bool SerialPort::SetInQueueSize(std::size_t n) {
  inQueueSize_ = n;
  return true;
}

bool SerialPort::SetOutQueueSize(std::size_t n) {
  outQueueSize_ = n;
  return true;
}

bool SerialPort::PortWrite(std::span<const std::uint8_t> bytes) {
  if (!IsOpen()) {
    lastError_ = EBADF;
    return false;
  }
  // Whatever still waits in the receive queue belongs to an earlier exchange.
  ::tcflush(fd_, TCIFLUSH);
  const auto deadline = Clock::now() + std::chrono::milliseconds(writeTotalTimeout_);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
      lastError_ = errno;
      return false;
    }
    const int left = MillisLeft(deadline);
    if (left == 0) {
      lastError_ = ETIMEDOUT;
      return false;
    }
    pollfd p{fd_, POLLOUT, 0};
    ::poll(&p, 1, left);
  }
  return true;
}

bool SerialPort::WriteByte(std::uint8_t b) { return PortWrite(std::span<const std::uint8_t>(&b, 1)); }

bool SerialPort::WriteString(std::string_view s) {
  return PortWrite({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
}

bool SerialPort::WriteBuffer(std::span<const std::uint8_t> bytes) { return PortWrite(bytes); }

bool SerialPort::ReadSome(std::span<std::uint8_t> bytes, std::size_t& count) {
  count = 0;
  if (!IsOpen()) {
    lastError_ = EBADF;
    return false;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(readTotalTimeout_);
  while (count < bytes.size()) {
    const ssize_t n = ::read(fd_, bytes.data() + count, bytes.size() - count);
    if (n > 0) {
      count += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) {
      lastError_ = errno;
      return false;
    }
    const int left = MillisLeft(deadline);
    if (left == 0) break;
    pollfd p{fd_, POLLIN, 0};
    const int r = ::poll(&p, 1, left);
    // A hung-up line (the cable or the other end gone) delivers nothing more.
    if (r > 0 && (p.revents & (POLLHUP | POLLERR)) && !(p.revents & POLLIN)) {
      SerialPort::Delay(static_cast<unsigned>(std::min(left, 5)));
    }
  }
  return true;
}

bool SerialPort::PortRead(std::span<std::uint8_t> bytes) {
  std::size_t got = 0;
  if (!ReadSome(bytes, got)) return false;
  if (got < bytes.size()) {
    lastError_ = ETIMEDOUT;
    return false;
  }
  return true;
}

bool SerialPort::Read(std::span<std::uint8_t> bytes) { return PortRead(bytes); }

std::size_t SerialPort::InputCount() const {
  if (!IsOpen()) return 0;
  int n = 0;
  if (::ioctl(fd_, FIONREAD, &n) != 0 || n < 0) return 0;
  return static_cast<std::size_t>(n);
}

bool SerialPort::IsRs232() const {
  Delay(10);
  const std::string path = DevicePath();
  bool serial = false;
  if (!device_.empty() || ProgramPortMap().IsExplicit(port_)) {
    serial = true;  // chosen on purpose (for example the simulator's terminal)
  } else {
    const std::string name = TtyName(path);
    struct stat st {};
    const bool hardware = ::stat(("/sys/class/tty/" + name + "/device").c_str(), &st) == 0;
    if (hardware && name.rfind("ttyS", 0) == 0) {
      // Built-in ports exist as names even without a UART behind them.
      const int fd = IsOpen() ? fd_ : ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
      serial_struct ss{};
      serial = fd >= 0 && ::ioctl(fd, TIOCGSERIAL, &ss) == 0 && ss.type != PORT_UNKNOWN;
      if (fd >= 0 && !IsOpen()) ::close(fd);
    } else {
      serial = hardware;
    }
  }
  Delay(10);
  return serial;
}

void SerialPort::Delay(unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace zmp
