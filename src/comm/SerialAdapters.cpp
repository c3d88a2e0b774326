#include "comm/SerialAdapters.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace zmp {

namespace fs = std::filesystem;

namespace {

// One line of a sysfs attribute, without the line end; empty when it cannot be read.
std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

// The file name a link points at ("../../ttyUSB0" gives "ttyUSB0"); empty when p is no link.
std::string LinkTargetName(const fs::path& p) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(p, ec);
  return ec ? std::string() : target.filename().string();
}

// root + an absolute path of the running system ("/dev/ttyUSB0").
fs::path Below(const fs::path& root, const std::string& absolute) {
  return root / fs::path(absolute).relative_path();
}

// The by-id names by the tty they point at.
std::vector<std::pair<std::string, std::string>> ByIdLinks(const fs::path& root) {
  std::vector<std::pair<std::string, std::string>> links;
  std::error_code ec;
  const fs::path dir = root / "dev/serial/by-id";
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string tty = LinkTargetName(it->path());
    if (!tty.empty()) links.emplace_back(tty, "/dev/serial/by-id/" + it->path().filename().string());
  }
  std::sort(links.begin(), links.end());
  return links;
}

// Fills the USB attributes from the folders above a tty's device folder: the
// interface (bInterfaceNumber) and the USB device (idVendor). False when the
// tty sits on no USB device.
bool ReadUsbAncestors(fs::path dir, const fs::path& root, SerialAdapter& a) {
  const fs::path top = root / "sys";
  for (int depth = 0; depth < 12 && !dir.empty() && dir != top && dir != dir.root_path();
       ++depth, dir = dir.parent_path()) {
    if (a.interface.empty() && Exists(dir / "bInterfaceNumber")) a.interface = ReadAttribute(dir / "bInterfaceNumber");
    if (!Exists(dir / "idVendor")) continue;
    a.vendorId = ReadAttribute(dir / "idVendor");
    a.productId = ReadAttribute(dir / "idProduct");
    a.manufacturer = ReadAttribute(dir / "manufacturer");
    a.product = ReadAttribute(dir / "product");
    a.serial = ReadAttribute(dir / "serial");
    return !a.vendorId.empty();
  }
  return false;
}

std::optional<SerialAdapter> ReadAdapter(const fs::path& root, const std::string& tty) {
  std::error_code ec;
  const fs::path deviceLink = root / "sys/class/tty" / tty / "device";
  const fs::path device = fs::canonical(deviceLink, ec);
  if (ec) return std::nullopt;
  SerialAdapter a;
  a.device = "/dev/" + tty;
  a.driver = LinkTargetName(device / "driver");
  if (!ReadUsbAncestors(device, fs::canonical(root, ec), a)) return std::nullopt;
  return a;
}

}  // namespace

std::string SerialAdapter::Name() const {
  std::string name = manufacturer;
  if (!product.empty()) name += (name.empty() ? "" : " ") + product;
  return name.empty() ? "USB " + vendorId + ":" + productId : name;
}

fs::path SystemRoot() {
  const char* env = std::getenv("ZMP_SYSTEM_ROOT");
  return env && *env ? fs::path(env) : fs::path("/");
}

std::vector<SerialAdapter> ListSerialAdapters(const fs::path& root) {
  std::vector<std::string> ttys;
  std::error_code ec;
  for (fs::directory_iterator it(root / "sys/class/tty", ec), end; !ec && it != end; it.increment(ec))
    ttys.push_back(it->path().filename().string());
  std::sort(ttys.begin(), ttys.end());
  const auto byId = ByIdLinks(root);
  std::vector<SerialAdapter> adapters;
  for (const std::string& tty : ttys) {
    auto a = ReadAdapter(root, tty);
    if (!a) continue;
    for (const auto& [target, name] : byId)
      if (target == tty) a->byId = name;
    adapters.push_back(std::move(*a));
  }
  return adapters;
}

std::vector<SerialAdapter> ListSerialAdapters() { return ListSerialAdapters(SystemRoot()); }

std::optional<SerialAdapter> AdapterAt(const std::vector<SerialAdapter>& adapters, const std::string& path,
                                       const fs::path& root) {
  for (const SerialAdapter& a : adapters)
    if (path == a.device || (!a.byId.empty() && path == a.byId)) return a;
  // Another link (by-path, a link of one's own) leads to the adapter's tty.
  const std::string tty = LinkTargetName(Below(root, path));
  if (tty.empty()) return std::nullopt;
  for (const SerialAdapter& a : adapters)
    if (a.device == "/dev/" + tty) return a;
  return std::nullopt;
}

std::vector<PortDescription> DescribePorts(const PortMap& map, const std::vector<SerialAdapter>& adapters,
                                           const fs::path& root, int count) {
  std::vector<PortDescription> ports;
  for (int port = 1; port <= count; ++port) {
    PortDescription d;
    d.port = port;
    d.device = map.DevicePath(port);
    d.mapped = map.IsExplicit(port);
    d.adapter = AdapterAt(adapters, d.device, root);
    d.unplugged = !d.adapter && d.device.rfind("/dev/serial/", 0) == 0 && !Exists(Below(root, d.device));
    ports.push_back(std::move(d));
  }
  return ports;
}

std::vector<SerialAdapter> UnmappedAdapters(const std::vector<PortDescription>& ports,
                                            const std::vector<SerialAdapter>& adapters) {
  std::vector<SerialAdapter> out;
  for (const SerialAdapter& a : adapters) {
    const bool used = std::any_of(ports.begin(), ports.end(), [&](const PortDescription& p) {
      return p.adapter && p.adapter->device == a.device;
    });
    if (!used) out.push_back(a);
  }
  return out;
}

}  // namespace zmp
