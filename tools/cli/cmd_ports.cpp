// zmp318t-cli ports: the probe of the Communication Port dialog (which of
// COM1..COM20 open and are serial ports), the USB adapter behind each port,
// and the adapters that no port leads to. --json gives the same for scripts.
#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdio>
#include <memory>
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

enum class PortState { Free, NotSerial, InUse, CannotOpen };

const char* StateText(PortState s) {
  switch (s) {
    case PortState::Free: return "serial port, free";
    case PortState::NotSerial: return "not a serial port";
    case PortState::InUse: return "in use by another program";
    case PortState::CannotOpen: return "cannot be opened";
  }
  return "";
}

const char* StateWord(PortState s) {
  switch (s) {
    case PortState::Free: return "free";
    case PortState::NotSerial: return "not-serial";
    case PortState::InUse: return "in-use";
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
  else if (link.LastError() == EBUSY) state = PortState::InUse;
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

int RunPorts(bool json) {
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

}  // namespace

void AddPortsCommands(CommandList& commands) {
  auto json = std::make_shared<bool>(false);
  CLI::App* c = commands.Add("ports", "ports [--json]",
                             "which of COM1..COM20 can be opened and are serial ports, and the USB adapters "
                             "behind them",
                             [json] { return RunPorts(*json); });
  c->add_flag("--json", *json, "one JSON document for scripts");
}

}  // namespace zmp::cli
