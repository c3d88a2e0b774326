// The USB serial adapters plugged into this machine, read from sysfs and the
// stable names udev gives them under /dev/serial/by-id, and which COM number
// each one stands behind. Enumeration only: the link itself opens the device
// with termios (SerialPort).
//
// Everything is read below a system root: "/" normally, or the folder named
// by ZMP_SYSTEM_ROOT (a copy of sys/class/tty, sys/devices and dev/serial/by-id,
// as the tests build one). An entry that vanishes while it is read is simply
// not listed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "comm/PortMap.h"

namespace zmp {

struct SerialAdapter {
  std::string device;        // "/dev/ttyUSB0"
  std::string byId;          // "/dev/serial/by-id/usb-...-if00-port0", empty when udev gave none
  std::string vendorId;      // "0403"
  std::string productId;     // "6001"
  std::string manufacturer;  // "FTDI" (may be empty)
  std::string product;       // "FT232R USB UART" (may be empty)
  std::string serial;        // "A1B2C3" (may be empty)
  std::string interface;     // USB interface number "00", "01", ...
  std::string driver;        // "ftdi_sio", "cdc_acm", ...

  // "FTDI FT232R USB UART", or "USB 0403:6001" when the adapter names nothing.
  std::string Name() const;
  // The name the port map keeps: the stable by-id name, else the device.
  const std::string& StableName() const { return byId.empty() ? device : byId; }
};

// The system root: ZMP_SYSTEM_ROOT when set, else "/".
std::filesystem::path SystemRoot();
// The USB serial adapters below root, ordered by device name.
std::vector<SerialAdapter> ListSerialAdapters(const std::filesystem::path& root);
std::vector<SerialAdapter> ListSerialAdapters();

// What stands behind one COM number.
struct PortDescription {
  int port = 0;
  std::string device;                    // the device path of the port map
  bool mapped = false;                   // the user's map names it (not the defaults)
  std::optional<SerialAdapter> adapter;  // the adapter behind the device
  // The map names an adapter by its stable name and that adapter is not
  // plugged in.
  bool unplugged = false;
};

// The adapter a device path leads to: its tty device, its by-id name, or any
// other link below root/dev that points at its tty.
std::optional<SerialAdapter> AdapterAt(const std::vector<SerialAdapter>& adapters, const std::string& path,
                                       const std::filesystem::path& root);
// COM1..COMcount.
std::vector<PortDescription> DescribePorts(const PortMap& map, const std::vector<SerialAdapter>& adapters,
                                           const std::filesystem::path& root, int count);
// The adapters that no COM number between 1 and count leads to.
std::vector<SerialAdapter> UnmappedAdapters(const std::vector<PortDescription>& ports,
                                            const std::vector<SerialAdapter>& adapters);

}  // namespace zmp
