// A small copy of what sysfs and udev show of serial adapters, in a temporary
// folder that ZMP_SYSTEM_ROOT can point at: two USB adapters (an FTDI cable
// on ttyUSB0 and a modem-class adapter on ttyACM4, both with by-id names) and
// one built-in port (ttyS0).
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace zmp::testing {

class FakeSystem {
 public:
  static constexpr const char* kFtdiById = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";
  static constexpr const char* kAcmById = "/dev/serial/by-id/usb-Acme_Radio_Cable_77-if00";
  static constexpr const char* kGoneById = "/dev/serial/by-id/usb-Prolific_PL2303_Q9-if00-port0";

  FakeSystem() {
    char tmpl[] = "/tmp/zmp-fakesys-XXXXXX";
    root_ = ::mkdtemp(tmpl);
    const std::string usb = "sys/devices/pci0000:00/0000:00:14.0/usb1/";
    const std::string ftdi = usb + "1-2/1-2:1.0/ttyUSB0", acm = usb + "1-3/1-3:1.0";
    // The USB devices with their descriptors, their first interfaces and the drivers.
    const std::vector<std::pair<std::string, std::string>> files = {
        {usb + "1-2/idVendor", "0403"},        {usb + "1-2/idProduct", "6001"},
        {usb + "1-2/manufacturer", "FTDI"},    {usb + "1-2/product", "FT232R USB UART"},
        {usb + "1-2/serial", "A1B2C3"},        {usb + "1-2/1-2:1.0/bInterfaceNumber", "00"},
        {usb + "1-3/idVendor", "1d6b"},        {usb + "1-3/idProduct", "0104"},
        {usb + "1-3/manufacturer", "Acme"},    {usb + "1-3/product", "Radio Cable"},
        {usb + "1-3/serial", "77"},            {acm + "/bInterfaceNumber", "00"},
        {"sys/bus/usb-serial/drivers/ftdi_sio/uevent", ""},
        {"sys/bus/usb/drivers/cdc_acm/uevent", ""},
    };
    for (const auto& [file, text] : files) {
      std::filesystem::create_directories((root_ / file).parent_path());
      std::ofstream(root_ / file) << text << '\n';
    }
    // usb-serial: interface / ttyUSB0 (the port, with its driver) / tty / ttyUSB0;
    // cdc_acm: interface (with its driver) / tty / ttyACM4; ttyS0 has no USB device above it.
    const std::vector<std::pair<std::string, std::string>> links = {
        {ftdi + "/driver", "../../../../../../../bus/usb-serial/drivers/ftdi_sio"},
        {ftdi + "/tty/ttyUSB0/device", "../../../ttyUSB0"},
        {"sys/class/tty/ttyUSB0", "../../" + ftdi.substr(4) + "/tty/ttyUSB0"},
        {acm + "/driver", "../../../../../../bus/usb/drivers/cdc_acm"},
        {acm + "/tty/ttyACM4/device", "../../../1-3:1.0"},
        {"sys/class/tty/ttyACM4", "../../" + acm.substr(4) + "/tty/ttyACM4"},
        {"sys/devices/pnp0/00:00/tty/ttyS0/device", "../../../00:00"},
        {"sys/class/tty/ttyS0", "../../devices/pnp0/00:00/tty/ttyS0"},
        {"dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", "../../ttyUSB0"},
        {"dev/serial/by-id/usb-Acme_Radio_Cable_77-if00", "../../ttyACM4"},
    };
    for (const auto& [at, target] : links) {
      std::filesystem::create_directories((root_ / at).parent_path());
      std::filesystem::create_symlink(target, root_ / at);
    }
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
  std::filesystem::path root_;
};

}  // namespace zmp::testing
