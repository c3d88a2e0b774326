// zmp318t-cli ports: the probe of the Communication Port dialog (which of
// COM1..COM20 open and are serial ports), the USB adapter behind each port,
// and the adapters that no port leads to. --json gives the same for scripts.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"
#include "comm/PortMap.h"
#include "comm/RepeaterLink.h"
#include "comm/SerialAdapters.h"

namespace zmp::cli {

namespace {

constexpr int kProbedPorts = 20;
constexpr unsigned kPortSettleMs = 50;

enum class PortState { Free, NotSerial, CannotOpen };

const char* StateText(PortState s) {
  switch (s) {
    case PortState::Free: return "serial port, free";
    case PortState::NotSerial: return "not a serial port";
    case PortState::CannotOpen: return "cannot be opened";
  }
  return "";
}

const char* StateWord(PortState s) {
  switch (s) {
    case PortState::Free: return "free";
    case PortState::NotSerial: return "not-serial";
    case PortState::CannotOpen: return "cannot-open";
  }
  return "";
}

PortState Probe(RepeaterLink& link, int port) {
  link.SetPort(port);
  SerialPort::Delay(kPortSettleMs);
  link.ResetAndClose();
  PortState state = PortState::CannotOpen;
  if (link.Open()) state = link.IsRs232() ? PortState::Free : PortState::NotSerial;
  link.ResetAndClose();
  return state;
}

// "FTDI FT232R USB UART (0403:6001, serial A1B2C3)"
std::string AdapterText(const SerialAdapter& a) {
  std::string s = a.Name() + " (" + a.vendorId + ":" + a.productId;
  if (!a.serial.empty()) s += ", serial " + a.serial;
  return s + ")";
}

nlohmann::json AdapterJson(const SerialAdapter& a) {
  return {{"device", a.device},   {"by_id", a.byId},     {"vendor_id", a.vendorId},
          {"product_id", a.productId}, {"manufacturer", a.manufacturer}, {"product", a.product},
          {"serial", a.serial},   {"interface", a.interface}, {"driver", a.driver}};
}

int RunPorts(const std::vector<std::string>& args) {
  const bool json = args.size() == 1 && args[0] == "--json";
  if (!args.empty() && !json) {
    std::fprintf(stderr, "usage: zmp318t-cli ports [--json]\n");
    return 2;
  }
  const auto root = SystemRoot();
  const auto adapters = ListSerialAdapters(root);
  const auto ports = DescribePorts(ProgramPortMap(), adapters, root, kProbedPorts);
  const auto unmapped = UnmappedAdapters(ports, adapters);
  RepeaterLink link;
  nlohmann::json out = {{"ports", nlohmann::json::array()}, {"unmapped_adapters", nlohmann::json::array()}};
  for (const PortDescription& p : ports) {
    const PortState state = Probe(link, p.port);
    if (json) {
      out["ports"].push_back({{"port", p.port},
                              {"name", "COM" + std::to_string(p.port)},
                              {"device", p.device},
                              {"state", StateWord(state)},
                              {"mapped", p.mapped},
                              {"unplugged", p.unplugged},
                              {"adapter", p.adapter ? AdapterJson(*p.adapter) : nlohmann::json()}});
      continue;
    }
    std::string adapter;
    if (p.adapter) adapter = "  " + AdapterText(*p.adapter);
    if (p.unplugged) adapter = "  adapter not plugged in";
    std::printf("COM%-3d %-20s %s%s%s\n", p.port, p.device.c_str(), StateText(state), p.mapped ? " (mapped)" : "",
                adapter.c_str());
  }
  if (json) {
    for (const SerialAdapter& a : unmapped) out["unmapped_adapters"].push_back(AdapterJson(a));
    std::printf("%s\n", out.dump(2).c_str());
    return 0;
  }
  if (!adapters.empty()) {
    std::printf("\nadapters:\n");
    for (const SerialAdapter& a : adapters)
      std::printf("  %-14s %s  %s\n", a.device.c_str(), AdapterText(a).c_str(), a.StableName().c_str());
  }
  if (!unmapped.empty()) {
    std::printf("\nnot behind any COM number (map one with ZMP_PORT_MAP=N=NAME or in the program's\n"
                "Communication Port dialog):\n");
    for (const SerialAdapter& a : unmapped) std::printf("  %s\n", a.StableName().c_str());
  }
  return 0;
}

const CliRegistration kPorts({"ports", "ports [--json]",
                              "which of COM1..COM20 can be opened and are serial ports, and the USB adapters "
                              "behind them",
                              RunPorts});

}  // namespace

}  // namespace zmp::cli
