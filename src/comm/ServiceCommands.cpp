#include "comm/ServiceCommands.h"

#include <algorithm>
#include <chrono>

namespace zmp {

namespace w = zmp::wire;

namespace {

constexpr int kHealthTimeoutMs = 550;
constexpr int kResetPollMs = 200;

}  // namespace

// ---- message steps ----------------------------------------------------------

int ServiceCommands::Send(std::string_view text) { return Send(w::AsBytes(text)); }

int ServiceCommands::Send(w::ByteView bytes) {
  return link_.SendBuffer(bytes) ? w::kOk : w::kFail;
}

int ServiceCommands::ReceiveMessage(std::string& msg) {
  w::Bytes bytes;
  if (!link_.ReceiveMessage(bytes)) return w::kFail;
  msg.assign(bytes.begin(), bytes.end());
  return w::kOk;
}

int ServiceCommands::AwaitMessage(std::string_view text) {
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk) return w::kFail;
  return msg == text ? w::kOk : w::kWrong;
}

int ServiceCommands::AwaitSizeNotice(std::string_view unit, std::size_t& size) {
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk) return w::kFail;
  const std::string prefix = w::SizeNoticePrefix(unit);
  if (msg.size() <= prefix.size() || msg.compare(0, prefix.size(), prefix) != 0) return w::kFail;
  std::string_view rest = std::string_view(msg).substr(prefix.size());
  std::string_view digits;
  // The size is followed by a space and further words ("01").
  if (!w::NextWord(rest, digits) || digits.size() > w::kSizeDigitsMax) return w::kFail;
  const auto n = w::ParseDecimal(digits);
  if (!n) return w::kFail;
  size = *n;
  return w::kOk;
}

int ServiceCommands::ReceiveBlock(int channel, std::span<std::uint8_t> out, std::size_t& received) {
  received = 0;
  // The tunnel input starts empty, so what it holds afterwards is this message.
  if (link_.TunnelInCount() > 0) {
    w::Bytes stale(link_.TunnelInCount());
    link_.Read(stale);
  }
  if (link_.ReceiveData(channel) != w::kOk) return w::kFail;
  const std::size_t n = link_.TunnelInCount();
  if (n == 0 || n > out.size()) {
    w::Bytes drop(n);
    link_.Read(drop);
    return w::kFail;
  }
  if (!link_.Read(out.first(n))) return w::kFail;
  received = n;
  return w::kOk;
}

int ServiceCommands::ReadTunnelArea(std::span<std::uint8_t> out, std::size_t& received) {
  if (ReceiveBlock(2, out, received) != w::kOk) return w::kFail;
  return AwaitMessage(w::kCompInd) == w::kOk ? w::kOk : w::kFail;
}

int ServiceCommands::ReceiveSized(std::span<std::uint8_t> out, std::size_t size) {
  std::size_t offset = 0;
  while (offset < size) {
    link_.PumpMessages();
    std::size_t n = 0;
    // A message holds 1 to (size - offset) bytes: never past the end.
    if (ReceiveBlock(1, out.subspan(offset, size - offset), n) != w::kOk) return w::kFail;
    if (link_.SendControl(w::kAck) != w::kOk) return w::kFail;
    offset += n;
  }
  return AwaitMessage(w::kCompInd) == w::kOk ? w::kOk : w::kFail;
}

// ---- exchanges ----------------------------------------------------------------

int ServiceCommands::QueryMode() {
  link_.SetRepeaterMode(w::kModeConventional);
  if (Send(w::kModeReq) != w::kOk) return w::kFail;
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk) return w::kFail;
  const auto mode = w::ParseModeResponse(msg);
  if (!mode) return w::kFail;
  link_.SetRepeaterMode(*mode);
  return w::kOk;
}

int ServiceCommands::QueryTrunkingSupport(bool& trunkingToo) {
  if (Send(w::kPmchkReq) != w::kOk) return w::kFail;
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk) return w::kFail;
  const auto r = w::ParsePmchkResponse(msg);
  if (!r) return w::kFail;
  trunkingToo = *r;
  return w::kOk;
}

int ServiceCommands::QueryVersion(w::VersionInfo& out) {
  const std::uint8_t maskByte = 0;  // the random mask option is off
  if (Send(w::VersionRequest(maskByte)) != w::kOk) return w::kFail;
  link_.SetMask(maskByte);
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk) return w::kFail;
  const auto v = w::ParseVersionResponse(msg);
  if (!v) return w::kFail;
  out = *v;
  return w::kOk;
}

int ServiceCommands::QuerySoftwareInfo(w::SoftwareInfo& out) {
  if (Send(w::kSftinfReq) != w::kOk) return w::kFail;
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk) return w::kFail;
  const auto s = w::ParseSoftwareInfoResponse(msg);
  if (!s) return w::kFail;
  out = *s;
  return w::kOk;
}

int ServiceCommands::ReadSerialNumber(std::string_view which, std::string& serial) {
  if (which != w::kEsnVlm && which != w::kEsnSps && which != w::kEsnAll) return w::kFail;
  if (Send(w::EsnRequest(which)) != w::kOk) return w::kFail;
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk) return w::kFail;
  std::string_view rest = w::ArgsOf(msg, w::kEsnrdResp), word;
  if (!w::NextWord(rest, word) || word != which || rest.empty()) return w::kFail;
  serial.assign(rest);
  return w::kOk;
}

int ServiceCommands::PresentAccessCode() {
  const std::uint8_t challenge = w::NeutralChallenge(w::kAccessCode);
  const w::Bytes msg = w::PassMessage(w::kAccessCode, challenge);
  if (Send(msg) != w::kOk) return w::kFail;
  const int r = link_.AwaitControl(w::kAck);
  if (r != w::kOk) return r;
  link_.SetMask(0);
  link_.SetMask(w::PassMask(msg));
  return w::kOk;
}

int ServiceCommands::PresentDataPassword(std::string_view password) {
  if (Send(std::string(w::kDtpasInd) + " " + std::string(password)) != w::kOk) return w::kFail;
  return link_.AwaitControl(w::kAck);
}

int ServiceCommands::EmbedModify(std::string_view object, w::ByteView data) {
  if (Send(w::EmbedRequest(object, w::kOpModify, data)) != w::kOk) return w::kFail;
  return link_.AwaitControl(w::kAck);
}

int ServiceCommands::EmbedCompare(std::string_view object, w::ByteView data) {
  if (Send(w::EmbedRequest(object, w::kOpCompare, data)) != w::kOk) return w::kFail;
  return link_.AwaitControl(w::kAck);
}

int ServiceCommands::EmbedRead(std::string_view object, std::span<std::uint8_t> out,
                               std::size_t& received) {
  received = 0;
  if (Send(w::EmbedRequest(object, w::kOpRead)) != w::kOk) return w::kFail;
  return ReadTunnelArea(out, received);
}

int ServiceCommands::SetClock(std::span<const int> fields) {
  if (Send(w::TimeRequest(fields)) != w::kOk) return w::kFail;
  return link_.AwaitControl(w::kAck);
}

int ServiceCommands::ReadTestFrequencies(std::span<std::uint8_t, w::kTestFreqSize> out) {
  if (Send(w::kTestfReq) != w::kOk) return w::kFail;
  if (link_.AwaitControl(w::kAck) != w::kOk) return w::kFail;
  std::size_t size = 0;
  if (AwaitSizeNotice(w::kUnitTestF, size) != w::kOk || size != w::kTestFreqSize) return w::kFail;
  if (link_.SendControl(w::kAck) != w::kOk) return w::kFail;
  w::Bytes local(w::kTestFreqSize);
  if (ReceiveSized(local, size) != w::kOk) return w::kFail;
  std::copy(local.begin(), local.end(), out.begin());
  return w::kOk;
}

int ServiceCommands::QueryHealth(std::string& fields) {
  if (Send(w::kHealthReq) != w::kOk) return w::kFail;
  ScopedReadTimeout t(link_, kHealthTimeoutMs);
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk || !w::HasToken(msg, w::kHealthResp)) return w::kFail;
  fields.assign(w::ArgsOf(msg, w::kHealthResp));
  return w::kOk;
}

int ServiceCommands::ReadMacInfo(std::span<std::uint8_t> out, std::size_t expected) {
  if (expected == 0 || expected > w::kMacInfoSize || expected > out.size()) return w::kFail;
  if (Send(w::kMacinfReq) != w::kOk) return w::kFail;
  w::Bytes local(w::kMacInfoSize);
  std::size_t n = 0;
  if (ReadTunnelArea(local, n) != w::kOk || n != expected) return w::kFail;
  std::copy_n(local.begin(), n, out.begin());
  return w::kOk;
}

int ServiceCommands::ServiceReset() {
  using Clock = std::chrono::steady_clock;
  if (Send(w::kSvcrstReq) != w::kOk) return w::kFail;
  const auto start = Clock::now();
  const auto limit = std::chrono::milliseconds(link_.LongTimeout());
  ScopedReadTimeout t(link_, kResetPollMs);
  for (;;) {
    const int r = link_.AwaitControl(w::kAck);
    if (r == w::kOk || r == w::kWrong) return r;
    if (link_.ResetReceived()) return w::kFail;
    if (Clock::now() - start >= limit) return w::kFail;
    link_.PumpMessages();
  }
}

int ServiceCommands::ChangeBaud() { return link_.ChangeBaud(); }

int ServiceCommands::ReadTrace(std::span<std::uint8_t> out, std::size_t& size) {
  size = 0;
  if (Send(w::kTraceReq) != w::kOk) return w::kFail;
  if (link_.AwaitControl(w::kAck) != w::kOk) return w::kFail;
  std::string msg;
  if (ReceiveMessage(msg) != w::kOk) return w::kFail;
  const auto n = w::ParseTraceNotice(msg);  // at most 1024
  if (!n || *n > w::kTraceMax || *n > out.size()) return w::kFail;
  if (link_.SendControl(w::kAck) != w::kOk) return w::kFail;
  w::Bytes local(*n);
  if (ReceiveSized(local, *n) != w::kOk) return w::kFail;
  std::copy(local.begin(), local.end(), out.begin());
  size = *n;
  return w::kOk;
}

int ServiceCommands::EnterDataMode(std::string_view what) {
  if (what != w::kPdRfdt && what != w::kPdMddt && what != w::kPdTest) return w::kFail;
  if (Send(w::DataModeRequest(what, link_.RepeaterMode())) != w::kOk) return w::kFail;
  return link_.AwaitControl(w::kAck);
}

int ServiceCommands::Wrap(const std::function<int()>& exchange) {
  link_.PumpMessages();
  if (exchange() == w::kOk) return w::kOk;
  link_.ReportFailure();
  return w::kFail;
}

}  // namespace zmp
