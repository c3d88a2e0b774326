// The serial link: one port opened by COM number (through the port map) or by
// device path, configured from a settings string such as "9600,N,8,1", with
// blocking byte-level writes and reads bounded by fixed total timeouts.
// Nothing here knows about messages.
//
// A port is shared with the other programs of the system as terminal programs
// share it: a lock file "LCK..<device>" in /var/lock (ZMP_LOCK_DIR overrides
// the folder) that names a running process keeps the port shut, untouched;
// while the port is open it carries our own lock file, flock and TIOCEXCL.
// Closing puts back the line settings and the low-latency flag that the port
// had before it was opened, so a probe leaves every port as it found it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zmp {

inline constexpr const char* kDefaultSerialSettings = "9600,N,8,1";

class SerialPort {
 public:
  SerialPort();
  virtual ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens or closes; nothing happens when the port is already in that state.
  bool SetOpen(bool open);
  bool Open() { return SetOpen(true); }
  void Close() { SetOpen(false); }
  bool IsOpen() const { return fd_ >= 0; }

  // A non-zero number becomes the port; an open port is reopened on it.
  bool SetPort(int number);
  int Port() const { return port_; }
  // Uses this device instead of the port map's (empty: the map again). An
  // explicitly chosen device counts as a serial port for IsRs232.
  void SetDevice(const std::string& path);
  // The device the port stands for now.
  std::string DevicePath() const;

  // Stored; applied at once when open. False when the string does not parse
  // or the device refuses it.
  bool SetSettings(std::string_view settings);
  const std::string& Settings() const { return settings_; }
  bool SetReadTimeout(unsigned ms);
  unsigned ReadTimeout() const { return readTotalTimeout_; }
  bool SetWriteTimeout(unsigned ms);
  unsigned WriteTimeout() const { return writeTotalTimeout_; }
  // Queue sizes are kept for the driver; no data lives in them.
  bool SetInQueueSize(std::size_t n);
  bool SetOutQueueSize(std::size_t n);

  // Sending: the receive queue is purged first, then every byte goes out
  // within the write timeout, or the write fails.
  virtual bool WriteByte(std::uint8_t b);
  virtual bool WriteString(std::string_view s);
  virtual bool WriteBuffer(std::span<const std::uint8_t> bytes);
  // Exactly bytes.size() bytes within the read timeout, or failure.
  virtual bool Read(std::span<std::uint8_t> bytes);
  // Up to bytes.size() bytes: what arrived when all came or the read timeout
  // passed; succeeds even with none.
  bool ReadSome(std::span<std::uint8_t> bytes, std::size_t& count);
  // Bytes waiting in the receive queue; 0 when closed.
  std::size_t InputCount() const;
  // A real serial or USB-serial device, or one chosen on purpose.
  bool IsRs232() const;
  // Waits ms milliseconds.
  static void Delay(unsigned ms);
  // The errno of the last failure (0 when none).
  int LastError() const { return lastError_; }

 protected:
  // The plain port operations that the tunnel and frame layers end in.
  bool PortWrite(std::span<const std::uint8_t> bytes);
  bool PortRead(std::span<std::uint8_t> bytes);

 private:
  bool ApplySettings();
  // The line as another program left it, put back on close.
  struct SavedLine;
  void SaveLine();
  void RestoreLine();
  int fd_ = -1;
  std::unique_ptr<SavedLine> saved_;
  std::string ownLockFile_;  // the lock file we made, removed on close
  int port_ = 1;
  std::string device_;
  std::string settings_ = kDefaultSerialSettings;
  unsigned readTotalTimeout_ = 3000;
  unsigned writeTotalTimeout_ = 3000;
  std::size_t inQueueSize_ = 512;
  std::size_t outQueueSize_ = 512;
  int lastError_ = 0;
};

// The parts of a settings string; nothing when it does not parse.
struct SerialSettings {
  int baud = 9600;
  char parity = 'N';  // N, E or O
  int dataBits = 8;   // 5..8
  int stopBits = 1;   // 1 or 2
};
bool ParseSerialSettings(std::string_view text, SerialSettings& out);

// The folder of serial-port lock files: ZMP_LOCK_DIR, else /var/lock.
std::string SerialLockFolder();
// The lock file names a device may carry ("ttyUSB0", "pts_7" and "7" for
// /dev/pts/7), for the path as given and as its links resolve.
std::vector<std::string> SerialLockNames(const std::string& devicePath);
// True when a lock file of the device names a running process other than
// this one. Lock files of ended processes are stale and are removed.
bool IsLockedByAnother(const std::string& devicePath);

}  // namespace zmp
