#include "comm/RepeaterLink.h"

#include <algorithm>
#include <chrono>

namespace zmp {

using namespace wire;

namespace {
constexpr std::string_view kControlPrefix = "SC_CONTROL ";
constexpr unsigned kBaudSettleMs = 550;
constexpr int kEmptyBulaFramesMax = 2;
}  // namespace

// ---- tunnel ---------------------------------------------------------------------

void TunnelChannel::RecordReset(int code) {
  SetSettings(WithBaud(Settings(), kStartBaud));
  resetReceived_ = 1;
  resetReason_ = code;
}

bool TunnelChannel::AppendTunnelIn(std::span<const std::uint8_t> bytes) {
  if (tunnelIn_.size() + bytes.size() > kMaxTunnel) return false;
  tunnelIn_.insert(tunnelIn_.end(), bytes.begin(), bytes.end());
  return true;
}

int TunnelChannel::SendData(std::span<const std::uint8_t> data, int channel) {
  const Bytes msg = DataMessage(data, channel);
  if (msg.empty()) return kFail;
  return SendBuffer(msg) ? kOk : kFail;
}

bool TunnelChannel::FlushPackets() {
  while (std::size_t n = LegacyPacketLength(tunnelOut_)) {
    const Bytes packet(tunnelOut_.begin(), tunnelOut_.begin() + static_cast<std::ptrdiff_t>(n));
    tunnelOut_.erase(tunnelOut_.begin(), tunnelOut_.begin() + static_cast<std::ptrdiff_t>(n));
    if (SendData(packet, 2) != kOk) return false;
    if (packet.size() == 1 && packet[0] == kLegacyEnd) {
      // The end of the data mode is answered by the completion message.
      auto& link = static_cast<RepeaterLink&>(*this);
      if (link.AwaitToken(kCompInd) != kOk) return false;
    } else if (ReceiveData(2) != kOk) {
      return false;
    }
  }
  return true;
}

bool TunnelChannel::WriteBuffer(std::span<const std::uint8_t> bytes) {
  if (tunnelOut_.size() + bytes.size() > kMaxTunnel) return false;
  tunnelOut_.insert(tunnelOut_.end(), bytes.begin(), bytes.end());
  return FlushPackets();
}

bool TunnelChannel::WriteByte(std::uint8_t b) { return WriteBuffer(std::span<const std::uint8_t>(&b, 1)); }

bool TunnelChannel::WriteString(std::string_view s) { return WriteBuffer(AsBytes(s)); }

bool TunnelChannel::Read(std::span<std::uint8_t> bytes) {
  if (tunnelIn_.size() < bytes.size()) return false;
  std::copy_n(tunnelIn_.begin(), bytes.size(), bytes.begin());
  tunnelIn_.erase(tunnelIn_.begin(), tunnelIn_.begin() + static_cast<std::ptrdiff_t>(bytes.size()));
  return true;
}

// ---- frames -----------------------------------------------------------------------

bool RepeaterLink::ReadFrame(Bytes& payload) {
  std::array<std::uint8_t, kLengthBytes> len{};
  if (!PortRead(len)) return false;
  const std::size_t n = DecodeLength(len[0], len[1]);
  if (!IsValidLength(n)) return false;
  payload.resize(n);
  if (!PortRead(payload)) {
    payload.clear();
    return false;
  }
  ApplyMask(payload, mask_);
  return true;
}

bool RepeaterLink::PollUnsolicited() {
  const std::size_t waiting = InputCount();
  if (waiting == 0) return false;
  std::array<std::uint8_t, kLengthBytes> len{};
  if (!PortRead(len)) return true;
  std::size_t n = DecodeLength(len[0], len[1]);
  const std::size_t available = waiting > kLengthBytes ? waiting - kLengthBytes : 0;
  if (n == 0 || n == 0xFFFF || n > available) n = available;
  if (n == 0) return true;
  // Never more than one frame's worth, whatever the line holds.
  n = std::min(n, kMaxFrame);
  Bytes payload(n);
  if (!PortRead(payload)) return true;
  ApplyMask(payload, mask_);
  if (const auto code = ResetCodeOf(AsText(payload))) RecordReset(*code);
  return true;
}

bool RepeaterLink::SendBuffer(std::span<const std::uint8_t> payload) {
  if (!IsValidLength(payload.size())) return false;
  // Once the repeater has reset the connection nothing more is sent on it.
  PollUnsolicited();
  if (ResetReceived()) return false;
  const auto len = EncodeLength(payload.size());
  if (!PortWrite(len)) return false;
  Bytes masked(payload.begin(), payload.end());
  ApplyMask(masked, mask_);
  return PortWrite(masked);
}

bool RepeaterLink::SendText(std::string_view text) { return SendBuffer(AsBytes(text)); }

int RepeaterLink::SendControl(std::string_view word) { return SendText(ControlMessage(word)) ? kOk : kFail; }

// ---- receiving ------------------------------------------------------------------------

bool RepeaterLink::FillMessage() {
  int emptyBula = 0;
  while (true) {
    Bytes frame;
    if (!ReadFrame(frame)) return false;
    if (const auto code = ResetCodeOf(AsText(frame))) {
      RecordReset(*code);
      rxMessage_.clear();
      return false;
    }
    if (StripBula(frame) && frame.empty()) {
      if (++emptyBula < kEmptyBulaFramesMax) continue;
    }
    rxMessage_ = std::move(frame);
    return true;
  }
}

bool RepeaterLink::ReceiveExact(std::span<std::uint8_t> out) {
  if (rxMessage_.empty() && !FillMessage()) return false;
  if (rxMessage_.size() < out.size()) {
    std::copy(rxMessage_.begin(), rxMessage_.end(), out.begin());
    rxMessage_.clear();
    return false;
  }
  std::copy_n(rxMessage_.begin(), out.size(), out.begin());
  rxMessage_.erase(rxMessage_.begin(), rxMessage_.begin() + static_cast<std::ptrdiff_t>(out.size()));
  return true;
}

bool RepeaterLink::FetchRest(Bytes& out, std::size_t max) {
  out.clear();
  if (rxMessage_.empty()) return false;
  const bool fits = rxMessage_.size() <= max;
  out.assign(rxMessage_.begin(), rxMessage_.begin() + static_cast<std::ptrdiff_t>(std::min(max, rxMessage_.size())));
  rxMessage_.clear();
  return fits;
}

bool RepeaterLink::ReceiveMessage(Bytes& out) {
  if (rxMessage_.empty() && !FillMessage()) return false;
  return FetchRest(out);
}

int RepeaterLink::AwaitControl(std::string_view word) {
  Bytes prefix(kControlPrefix.size());
  if (!ReceiveExact(prefix) || AsText(prefix) != kControlPrefix) {
    rxMessage_.clear();
    return kFail;
  }
  Bytes rest;
  if (!FetchRest(rest)) return kFail;
  return TokenOf(AsText(rest)) == word ? kOk : kWrong;
}

int RepeaterLink::AwaitToken(std::string_view token) {
  Bytes msg;
  if (!ReceiveMessage(msg)) return kFail;
  return HasToken(AsText(msg), token) ? kOk : kWrong;
}

void RepeaterLink::ClearReceive() {
  rxMessage_.clear();
  ClearTunnel();
}

int RepeaterLink::ReceiveData(int channel) {
  Bytes msg;
  if (!ReceiveMessage(msg)) return kFail;
  Bytes data;
  if (ParseDataMessage(msg, channel, data) != DataStatus::Ok) return kFail;
  return AppendTunnelIn(data) ? kOk : kFail;
}

// ---- connection -----------------------------------------------------------------------

void RepeaterLink::PumpMessages() {
  if (ui_) ui_->Pump();
}

int RepeaterLink::Reconnect() {
  SetOpen(false);
  SetSettings(kDefaultSerialSettings);
  mask_ = 0;
  ClearReceive();
  ClearReset();
  if (!SetOpen(true)) {
    SetOpen(false);
    return kFail;
  }
  SetReadTimeout(normalTimeout_);
  return kOk;
}

int RepeaterLink::OpenConnection() {
  mask_ = 0;
  SetMask(0);
  ClearReceive();
  ClearReset();
  bool sent = SendText(kMntReq);
  if (!sent && ResetReceived() && ResetReason() == kReasonTimer) {
    ClearReset();
    sent = SendText(kMntReq);
  }
  if (!sent) {
    PumpMessages();
    return kFail;
  }
  Bytes frame;
  if (!ReadFrame(frame)) return kFail;
  StripBula(frame);
  const std::string_view text = AsText(frame);
  const auto at = text.find(kControlPrefix);
  if (at == std::string_view::npos) return kFail;
  const std::string_view control = text.substr(at);
  if (const auto code = ResetCodeOf(control)) {
    RecordReset(*code);
    return kFail;
  }
  return ControlWordOf(control) == kSynAck ? kOk : kFail;
}

int RepeaterLink::CloseConnection() {
  if (ResetReceived()) return kOk;
  if (SendControl(kFin) != kOk) return kFail;
  return AwaitControl(kAck);
}

int RepeaterLink::Halt() {
  if (SendControl(kHalt) != kOk) return kFail;
  return AwaitControl(kAck);
}

int RepeaterLink::ChangeBaud() {
  if (BaudPart(Settings()) == std::to_string(targetBaud_)) return kOk;
  if (!SendText(BaudRequest(targetBaud_))) return kFail;
  if (AwaitControl(kAck) != kOk) return kFail;
  if (!SetSettings(WithBaud(Settings(), targetBaud_))) return kFail;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBaudSettleMs);
  while (std::chrono::steady_clock::now() < until) {
    PumpMessages();
    Delay(5);
  }
  return kOk;
}

void RepeaterLink::ReportFailure(TextNo more) {
  TextNo text = 643_txt;
  if (ResetReceived() && ResetReason() == kReasonTimer) text = 665_txt;
  if (ResetReceived() && ResetReason() == kReasonNetwork) text = 698_txt;
  if (ui_ && more.n != 0) ui_->ShowFailure(text, more);
  else if (ui_) ui_->ShowFailure(text);
  if (ui_) ui_->SetBusy(true);
  if (IsOpen()) {
    // A short wait for a FIN answer: the link has already failed once.
    ScopedReadTimeout quick(*this, std::min(ReadTimeout(), normalTimeout_));
    CloseConnection();
  }
  ResetAndClose();
  if (ui_) ui_->SetBusy(false);
}

void RepeaterLink::ReportPortUnavailable() {
  if (ui_) ui_->ShowFailure(642_txt);
  ResetAndClose();
}

void RepeaterLink::ResetAndClose() {
  if (Settings() != kDefaultSerialSettings) SetSettings(kDefaultSerialSettings);
  ClearReset();
  mask_ = 0;
  ClearReceive();
  SetOpen(false);
}

RepeaterLink& TheLink() {
  static RepeaterLink link;
  return link;
}

}  // namespace zmp
