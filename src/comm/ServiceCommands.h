// The service requests of the repeater on an open connection of RepeaterLink:
// each request as an exchange (0 success, 1 failure of communication, 2 a
// well-formed reply of the wrong kind), and each with its wrapper, which first
// processes one pending window message, runs the exchange and, when it did not
// succeed, reports the failure once (RepeaterLink::ReportFailure, which also
// closes the connection) and returns 1.
//
// Every block that arrives through the tunnel is checked against the capacity
// of the buffer it goes to before anything is copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "comm/RepeaterLink.h"
#include "comm/Wire.h"

namespace zmp {

class ServiceCommands {
 public:
  explicit ServiceCommands(RepeaterLink& link) : link_(link) {}
  RepeaterLink& link() { return link_; }

  // ---- exchanges ---------------------------------------------------------
  // "SC_MODE_req": sets the link's repeaterMode (255 conventional, 0 trunking);
  // anything else fails and leaves it 255.
  int QueryMode();
  // "SC_PMCHK_req": trunkingToo is true for "CONV_TRUNK".
  int QueryTrunkingSupport(bool& trunkingToo);
  // "SC_VER_req" with the mask byte (0 unless the link's random mask is on);
  // the link then uses that byte as its mask.
  int QueryVersion(wire::VersionInfo& out);
  // "SC_SFTINF_req".
  int QuerySoftwareInfo(wire::SoftwareInfo& out);
  // "SC_ESNRD_req which" with which "VLM", "SPS" or "ALL".
  int ReadSerialNumber(std::string_view which, std::string& serial);
  // "SC_PASS_ind FPU qv5509 challenge"; on ACK the link takes the new mask.
  int PresentAccessCode();
  // "SC_DTPAS_ind password".
  int PresentDataPassword(std::string_view password);
  // "SC_EMBED_req object MODIFY|COMPARE data".
  int EmbedModify(std::string_view object, wire::ByteView data);
  int EmbedCompare(std::string_view object, wire::ByteView data);
  // "SC_EMBED_req object READ": one "SC_DATA2_ind" of at most out.size()
  // bytes, then "SC_COMP_ind". received gets the count.
  int EmbedRead(std::string_view object, std::span<std::uint8_t> out, std::size_t& received);
  // "SC_TIME_req" with the fields up to the first value of 255 or more.
  int SetClock(std::span<const int> fields);
  // "SC_TESTF_req": exactly 256 bytes of test-frequency records.
  int ReadTestFrequencies(std::span<std::uint8_t, wire::kTestFreqSize> out);
  // "SC_HEALTH_resp" fields (what follows the token), with a 550 ms timeout.
  int QueryHealth(std::string& fields);
  // "SC_MACINF_req": one "SC_DATA2_ind" of exactly expected (at most 16)
  // bytes into out, then "SC_COMP_ind".
  int ReadMacInfo(std::span<std::uint8_t> out, std::size_t expected);
  // "SC_SVCRST_req", its ACK polled with 200 ms reads until longTimeout.
  int ServiceReset();
  // "SC_BAU_req": the link's ChangeBaud to its targetBaud.
  int ChangeBaud();
  // "SC_TRACE_req": ACK, "SC_TRACE_notfy size" (at most 1024, acknowledged),
  // data messages (each acknowledged) that fill exactly size bytes of out
  // from its start, then "SC_COMP_ind".
  int ReadTrace(std::span<std::uint8_t> out, std::size_t& size);
  // "SC_PD_req what tail" (the tail of the repeater mode), acknowledged.
  int EnterDataMode(std::string_view what);

  // ---- wrappers (report on failure, return 0 or 1) -------------------------
  int Wrap(const std::function<int()>& exchange);
  int DoQueryMode() { return Wrap([&] { return QueryMode(); }); }
  int DoQueryTrunkingSupport(bool& t) { return Wrap([&] { return QueryTrunkingSupport(t); }); }
  int DoQueryVersion(wire::VersionInfo& v) { return Wrap([&] { return QueryVersion(v); }); }
  int DoQuerySoftwareInfo(wire::SoftwareInfo& s) { return Wrap([&] { return QuerySoftwareInfo(s); }); }
  int DoReadSerialNumber(std::string_view w, std::string& s) {
    return Wrap([&] { return ReadSerialNumber(w, s); });
  }
  int DoPresentAccessCode() { return Wrap([&] { return PresentAccessCode(); }); }
  int DoPresentDataPassword(std::string_view p) { return Wrap([&] { return PresentDataPassword(p); }); }
  int DoEmbedModify(std::string_view o, wire::ByteView d) { return Wrap([&] { return EmbedModify(o, d); }); }
  int DoEmbedCompare(std::string_view o, wire::ByteView d) { return Wrap([&] { return EmbedCompare(o, d); }); }
  int DoEmbedRead(std::string_view o, std::span<std::uint8_t> out, std::size_t& n) {
    return Wrap([&] { return EmbedRead(o, out, n); });
  }
  int DoSetClock(std::span<const int> f) { return Wrap([&] { return SetClock(f); }); }
  int DoReadTestFrequencies(std::span<std::uint8_t, wire::kTestFreqSize> out) {
    return Wrap([&] { return ReadTestFrequencies(out); });
  }
  int DoQueryHealth(std::string& f) { return Wrap([&] { return QueryHealth(f); }); }
  int DoReadMacInfo(std::span<std::uint8_t> out, std::size_t expected) {
    return Wrap([&] { return ReadMacInfo(out, expected); });
  }
  int DoServiceReset() { return Wrap([&] { return ServiceReset(); }); }
  int DoChangeBaud() { return Wrap([&] { return ChangeBaud(); }); }
  int DoReadTrace(std::span<std::uint8_t> out, std::size_t& size) {
    return Wrap([&] { return ReadTrace(out, size); });
  }
  int DoEnterDataMode(std::string_view what) { return Wrap([&] { return EnterDataMode(what); }); }

  // ---- message steps shared with the image transfer --------------------------
  // Sends a message (text or bytes). 0 or 1.
  int Send(std::string_view text);
  int Send(wire::ByteView bytes);
  // Receives one whole message (at most 3000 bytes). 0 or 1.
  int ReceiveMessage(std::string& msg);
  // Receives exactly the message text. 0, 1 (nothing or garbage), 2 (another message).
  int AwaitMessage(std::string_view text);
  // Receives a size notice "SC_READ_notfy DATA unit size ..." for one unit. The
  // size must be plain decimal digits (at most ten, and fitting) followed by a
  // space and the further words. 0 or 1.
  int AwaitSizeNotice(std::string_view unit, std::size_t& size);
  // One data message of the channel with 1..capacity bytes into out. 0 or 1.
  int ReceiveBlock(int channel, std::span<std::uint8_t> out, std::size_t& received);

 private:
  // Reads a tunnel block of at most capacity bytes, then "SC_COMP_ind".
  int ReadTunnelArea(std::span<std::uint8_t> out, std::size_t& received);
  // Size notice, then data messages that fill exactly size bytes, then "SC_COMP_ind".
  int ReceiveSized(std::span<std::uint8_t> out, std::size_t size);

  RepeaterLink& link_;
};

}  // namespace zmp
