// Which device a COM port number stands for. The program and its dialogs
// speak of COM1..COM20 as technicians do; on this system each number maps to
// a serial device path.
//
// Defaults (documented in the README):
//   COM1-COM4   /dev/ttyUSB0-3   USB-serial adapters
//   COM5-COM8   /dev/ttyS0-3     built-in serial ports
//   COM9-COM12  /dev/ttyACM0-3   USB modem-class adapters
//   COM13-COM16 /dev/ttyUSB4-7
//   COM17-COM20 /dev/ttyS4-7
//   COM21 and above: /dev/ttyS<n-1>
// Overrides come from the settings ("PortMap" group: COM<n>=<path>) and, for
// one run, from the environment variable ZMP_PORT_MAP ("1=/dev/pts/5,3=/dev/ttyUSB2"),
// which wins over both.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace zmp {

class PortMap {
 public:
  // The defaults plus ZMP_PORT_MAP of the environment.
  static PortMap FromEnvironment();

  // The device path of port number n (1..255).
  std::string DevicePath(int port) const;
  // True when port is mapped by an override rather than the defaults.
  bool IsExplicit(int port) const;
  void SetOverride(int port, const std::string& path);
  void ClearOverride(int port);
  const std::map<int, std::string>& Overrides() const { return overrides_; }
  // Reads "1=/dev/x,2=/dev/y"; entries that do not parse are ignored.
  void AddOverrides(std::string_view text);

  static std::string DefaultPath(int port);

 private:
  std::map<int, std::string> overrides_;
};

// The map the program uses (the defaults and the environment until the
// settings add theirs).
PortMap& ProgramPortMap();

}  // namespace zmp
