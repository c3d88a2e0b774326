#include "comm/PortMap.h"

#include <cstdlib>

namespace zmp {

std::string PortMap::DefaultPath(int port) {
  struct Range {
    int first, last;
    const char* prefix;
    int base;
  };
  static constexpr Range kRanges[] = {{1, 4, "/dev/ttyUSB", 0},  {5, 8, "/dev/ttyS", 0},
                                      {9, 12, "/dev/ttyACM", 0}, {13, 16, "/dev/ttyUSB", 4},
                                      {17, 20, "/dev/ttyS", 4}};
  for (const Range& r : kRanges)
    if (port >= r.first && port <= r.last) return r.prefix + std::to_string(r.base + port - r.first);
  return "/dev/ttyS" + std::to_string(port > 0 ? port - 1 : 0);
}

std::string PortMap::DevicePath(int port) const {
  if (auto it = overrides_.find(port); it != overrides_.end()) return it->second;
  return DefaultPath(port);
}

bool PortMap::IsExplicit(int port) const { return overrides_.count(port) > 0; }

void PortMap::SetOverride(int port, const std::string& path) {
  if (port >= 1 && port <= 255 && !path.empty()) overrides_[port] = path;
}

void PortMap::ClearOverride(int port) { overrides_.erase(port); }

void PortMap::AddOverrides(std::string_view text) {
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view entry = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const auto eq = entry.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;
    std::string_view number = entry.substr(0, eq);
    if (number.size() > 3 && (number.substr(0, 3) == "COM" || number.substr(0, 3) == "com")) number.remove_prefix(3);
    int port = 0;
    bool ok = !number.empty() && number.size() <= 3;
    for (char c : number) {
      ok = ok && c >= '0' && c <= '9';
      port = port * 10 + (c - '0');
    }
    if (ok) SetOverride(port, std::string(entry.substr(eq + 1)));
  }
}

PortMap PortMap::FromEnvironment() {
  PortMap m;
  if (const char* env = std::getenv("ZMP_PORT_MAP")) m.AddOverrides(env);
  return m;
}

PortMap& ProgramPortMap() {
  static PortMap map = PortMap::FromEnvironment();
  return map;
}

}  // namespace zmp
