// A small copy of what sysfs and udev show of serial adapters, in a temporary
// folder that ZMP_SYSTEM_ROOT can point at: two USB adapters (an FTDI cable
// on ttyUSB0 and a modem-class adapter on ttyACM4, both with by-id names) and
// one built-in port (ttyS0).
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace zmp::testing {

class FakeSystem {
 public:
  static constexpr const char* kFtdiById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";
  static constexpr const char* kAcmById = "/dev/serial/by-id/usb-Acme_Radio_Cable_77-if00";
  static constexpr const char* kGoneById = "/dev/serial/by-id/usb-Prolific_PL2303_Q9-if00-port0";

  FakeSystem() {
    char tmpl[] = "/tmp/zmp-fakesys-XXXXXX";
    root_ = ::mkdtemp(tmpl);
    const std::string pci = "sys/devices/pci0000:00/0000:00:14.0/usb1";
    AddUsb(pci + "/1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A1B2C3");
    AddUsbSerialPort(pci + "/1-2/1-2:1.0", "ttyUSB0", "ftdi_sio");
    AddUsb(pci + "/1-3", "1d6b", "0104", "Acme", "Radio Cable", "77");
    AddAcmPort(pci + "/1-3/1-3:1.0", "ttyACM4");
    // A built-in port: no USB device above it.
    const std::string pnp = "sys/devices/pnp0/00:00/tty/ttyS0";
    std::filesystem::create_directories(root_ / pnp);
    Link("sys/class/tty/ttyS0", "../../devices/pnp0/00:00/tty/ttyS0");
    Link("sys/devices/pnp0/00:00/tty/ttyS0/device", "../../../00:00");
    Link("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", "../../ttyUSB0");
    Link("dev/serial/by-id/usb-Acme_Radio_Cable_77-if00", "../../ttyACM4");
  }
  ~FakeSystem() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  const std::filesystem::path& Root() const { return root_; }
  // The adapter on ttyACM4 is pulled out: its sysfs entries and by-id name go.
  void UnplugAcm() {
    std::error_code ec;
    std::filesystem::remove(root_ / "sys/class/tty/ttyACM4", ec);
    std::filesystem::remove_all(root_ / "sys/devices/pci0000:00/0000:00:14.0/usb1/1-3", ec);
    std::filesystem::remove(root_ / "dev/serial/by-id/usb-Acme_Radio_Cable_77-if00", ec);
  }

 private:
  void Write(const std::string& file, const std::string& text) {
    std::filesystem::create_directories((root_ / file).parent_path());
    std::ofstream(root_ / file) << text << '\n';
  }
  void Link(const std::string& at, const std::string& target) {
    std::filesystem::create_directories((root_ / at).parent_path());
    std::filesystem::create_symlink(target, root_ / at);
  }
  void AddUsb(const std::string& dir, const char* vendor, const char* product, const char* maker,
              const char* name, const char* serial) {
    Write(dir + "/idVendor", vendor);
    Write(dir + "/idProduct", product);
    Write(dir + "/manufacturer", maker);
    Write(dir + "/product", name);
    Write(dir + "/serial", serial);
  }
  // usb-serial: interface / ttyUSBn (port, with its driver) / tty / ttyUSBn.
  void AddUsbSerialPort(const std::string& interface, const std::string& tty, const std::string& driver) {
    Write(interface + "/bInterfaceNumber", "00");
    const std::string port = interface + "/" + tty;
    std::filesystem::create_directories(root_ / port / "tty" / tty);
    Write("sys/bus/usb-serial/drivers/" + driver + "/uevent", "");
    Link(port + "/driver", Up(port) + "bus/usb-serial/drivers/" + driver);
    Link(port + "/tty/" + tty + "/device", "../../../" + tty);
    Link("sys/class/tty/" + tty, "../../" + port.substr(4) + "/tty/" + tty);
  }
  // cdc_acm: interface / tty / ttyACMn.
  void AddAcmPort(const std::string& interface, const std::string& tty) {
    Write(interface + "/bInterfaceNumber", "00");
    std::filesystem::create_directories(root_ / interface / "tty" / tty);
    Write("sys/bus/usb/drivers/cdc_acm/uevent", "");
    Link(interface + "/driver", Up(interface) + "bus/usb/drivers/cdc_acm");
    const std::string leaf = interface.substr(interface.rfind('/') + 1);
    Link(interface + "/tty/" + tty + "/device", "../../../" + leaf);
    Link("sys/class/tty/" + tty, "../../" + interface.substr(4) + "/tty/" + tty);
  }
  // "../" up to sys/ from a folder below it.
  static std::string Up(const std::string& dir) {
    std::string up;
    for (char c : dir.substr(4))
      if (c == '/') up += "../";
    return up + "../";
  }

  std::filesystem::path root_;
};

}  // namespace zmp::testing
