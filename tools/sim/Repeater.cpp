#include "Repeater.h"

#include <algorithm>
#include <utility>

#include "data/ModelInfo.h"

namespace zmp::sim {

namespace w = zmp::wire;

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kHealth = "SC_HEALTH_resp NORMAL 32 13.8";
constexpr std::size_t kMessageBytes = 68;  // the message part of the third block
constexpr std::size_t kOverrunBytes = 10;
// Bytes that are no frame: the first two give a length far beyond any frame.
constexpr std::uint8_t kGarbage[] = {0x7F, 0xFE, 0x13, 0x00, 0xC5, 0x5A, 0x21, 0x88, 0x00, 0x9D};

// A data message built by hand, for the faults that DataMessage refuses to build.
w::Bytes HandDataMessage(w::ByteView data, std::size_t countWord, int channel) {
  const std::string head =
      std::string(w::DataToken(channel)) + " " + std::to_string(countWord) + " ";
  w::Bytes m(head.begin(), head.end());
  m.insert(m.end(), data.begin(), data.end());
  m.push_back(' ');
  const std::uint16_t sum = w::TunnelChecksum(data);
  m.push_back(static_cast<std::uint8_t>(sum >> 8));
  m.push_back(static_cast<std::uint8_t>(sum & 0xFF));
  return m;
}

}  // namespace

bool UnitPlace(std::string_view unit, BlockId& block, std::size_t& offset, std::size_t& size) {
  if (unit == w::kUnitFpu) {
    block = BlockId::Main, offset = 0, size = w::kSizeFpu;
  } else if (unit == w::kUnitCnvUnt) {
    block = BlockId::Second, offset = region::kConventionalUnit, size = w::kSizeCnvUnt;
  } else if (unit == w::kUnitCnvGrp) {
    block = BlockId::Second, offset = region::kConventionalGroup, size = w::kSizeCnvGrp;
  } else {
    return false;
  }
  return true;
}

Repeater::Repeater(const SimOptions& options, ImageStore& image, Logger log)
    : opt_(options), image_(image), log_(std::move(log)) {}

void Repeater::OnFrame(const w::Bytes& received, std::vector<Emission>& out) {
  // A connection request always travels unmasked, even when the program gave
  // up on the last connection without closing it.
  w::Bytes payload = received;
  if (mask_ != 0) {
    w::Bytes raw = received;
    w::ApplyMask(raw, mask_);
    if (w::AsText(raw) == w::kMntReq) payload = std::move(raw);
  }
  const std::string_view msg = w::AsText(payload);
  // After a missed baud change the program's frames arrive as noise, which
  // gets no answer, until it asks for a new connection at the start rate.
  if (deaf_ && msg != w::kMntReq) {
    log_('<', w::AsBytes("(noise at another rate)"));
    return;
  }
  log_('<', payload);
  for (const auto& f : opt_.silent)
    if (StartsWith(msg, f.prefix)) return;
  for (const auto& f : opt_.garbage) {
    if (StartsWith(msg, f.prefix)) {
      log_('>', w::AsBytes("(garbage)"));
      out.push_back({w::Bytes(std::begin(kGarbage), std::end(kGarbage)), 0, 0, false});
      return;
    }
  }
  for (const auto& f : opt_.hangup) {
    if (StartsWith(msg, f.prefix)) {
      std::vector<Emission> answer;
      Handle(msg, payload, answer);
      HangUpWithin(answer, out);
      return;
    }
  }
  for (const auto& f : opt_.rst) {
    if (StartsWith(msg, f.prefix)) {
      Reset(f.word, out);
      return;
    }
  }
  for (const auto& f : opt_.nack) {
    if (StartsWith(msg, f.prefix)) {
      SendControl(w::kNack, out);
      return;
    }
  }
  Handle(msg, payload, out);
  for (const auto& f : opt_.rstAfter) {
    if (StartsWith(msg, f.prefix)) {
      // The RST follows the answer on the line at once, in the same write.
      const std::size_t answered = out.size();
      Reset(f.word, out);
      if (answered > 0 && !out[answered - 1].frame.empty()) {
        Emission& last = out[answered - 1];
        last.frame.insert(last.frame.end(), out.back().frame.begin(), out.back().frame.end());
        last.baudAfter = out.back().baudAfter;
        last.connectionEnd = true;
        out.pop_back();
      }
      return;
    }
  }
}

void Repeater::HangUpWithin(std::vector<Emission>& answer, std::vector<Emission>& out) {
  w::Bytes frame;
  for (const auto& e : answer) {
    if (!e.frame.empty()) {
      frame = e.frame;
      break;
    }
  }
  if (frame.empty()) frame = w::BuildFrame(w::ControlMessage(w::kAck), mask_);
  frame.resize(std::max<std::size_t>(3, frame.size() / 2));
  log_('=', w::AsBytes("hang-up in the middle of a frame"));
  Emission e;
  e.frame = std::move(frame);
  e.hangUp = true;
  out.push_back(std::move(e));
}

std::string Repeater::Extra(std::string_view words) const {
  // Appended piece by piece: GCC 12 at -O2 warns falsely on " " + string.
  std::string out;
  if (!opt_.extraWords) return out;
  out.push_back(' ');
  out.append(words);
  return out;
}

int Repeater::AckDelay(std::string_view msg) const {
  for (const auto& p : opt_.lateAckPrefixes)
    if (StartsWith(msg, p)) return opt_.lateAckMs;
  return 0;
}

void Repeater::Handle(std::string_view msg, const w::Bytes& payload, std::vector<Emission>& out) {
  const std::string_view token = w::TokenOf(msg);

  if (token == w::kMntReq) {
    connected_ = true;
    deaf_ = false;
    mask_ = 0;
    versionByte_ = 0;
    phase_ = Phase::Idle;
    out.push_back({{}, 0, w::kStartBaud, false});
    Send(w::ControlMessage(w::kSynAck), out);
    return;
  }
  if (token == w::kControl) {
    const auto word = w::ControlWordOf(msg);
    HandleControl(word ? *word : std::string_view{}, out);
    return;
  }
  if (!connected_) {
    Reset("INACTIVE", out);
    return;
  }

  switch (phase_) {
    case Phase::ReadNoticeAck:
    case Phase::ReadDataAck:
      Reset("SCRIPT", out);  // only ACK, HALT or FIN belong here
      return;
    case Phase::WriteData:
      if (token == w::kDataInd) HandleData(payload, out);
      else Reset("SCRIPT", out);
      return;
    case Phase::DataMode:
      if (token == w::kData2Ind) {
        w::Bytes data;
        if (w::ParseDataMessage(payload, 2, data) != w::DataStatus::Ok) {
          Reset("CHECKSUM", out);
        } else if (data.size() == 1 && data[0] == w::kLegacyEnd) {
          phase_ = Phase::Idle;
          SendComp(out);
        } else if (w::LegacyPacketLength(data) == data.size()) {
          SendDataMessage(data, 2, out);  // the radio section echoes the packet
        } else {
          Reset("SCRIPT", out);
        }
        return;
      }
      break;  // other requests are served as usual
    case Phase::Idle:
      break;
  }

  const int delay = AckDelay(msg);
  const auto block = [&](BlockId b) { return image_.working().Block(b); };

  if (token == w::kVerReq) {
    const auto b = w::ParseVersionRequest(payload);
    if (!b) {
      SendControl(w::kNack, out);
      return;
    }
    versionByte_ = *b;
    mask_ = *b;
    const ModelRecord r = ModelRecord::FromBytes(
        block(BlockId::Main).Range(region::kModelRecord, kModelRecordSize));
    w::VersionInfo v;
    v.modelCode = opt_.modelCode.empty() ? r.ModelCode() : opt_.modelCode;
    v.destination = opt_.destination ? *opt_.destination : r.Destination();
    v.bandCode = r.BandCode();
    v.firmware = opt_.firmware;
    Send(w::VersionResponse(v), out, delay);
  } else if (token == w::kPassInd) {
    const auto p = w::ParsePassMessage(payload);
    if (!p || !w::IsAccessCode(*p)) {
      SendControl(w::kNack, out, delay);
    } else if (opt_.randomMask && versionByte_ == 0 && p->mask == 0) {
      Reset("ACCESS", out);
    } else {
      SendControl(w::kAck, out, delay);
      mask_ = p->mask;
    }
  } else if (token == w::kBauReq) {
    const auto baud = w::ParseBaudRequest(msg);
    if (!baud) {
      SendControl(w::kNack, out, delay);
      return;
    }
    SendControl(w::kAck, out, delay);
    if (opt_.missedBaud)
      deaf_ = true;  // acknowledged, but the line stays at its rate
    else
      out.back().baudAfter = *baud;
  } else if (token == w::kModeReq) {
    Send(w::ModeResponse(opt_.trunking) + Extra("01 EXTRA"), out, delay);
  } else if (token == w::kPmchkReq) {
    Send(w::PmchkResponse(opt_.trunking), out, delay);
  } else if (token == w::kSftinfReq) {
    Send(w::SoftwareInfoResponse({opt_.firmware, opt_.dataFormat}), out, delay);
  } else if (token == w::kEsnrdReq) {
    const std::string_view which = w::ArgsOf(msg, w::kEsnrdReq);
    if (which == w::kEsnVlm || which == w::kEsnSps || which == w::kEsnAll)
      Send(w::EsnResponse(which, opt_.serial), out, delay);
    else
      SendControl(w::kNack, out, delay);
  } else if (token == w::kDtpasInd || token == w::kTimeReq) {
    SendControl(w::kAck, out, delay);
  } else if (token == w::kHealthReq) {
    Send(kHealth, out, delay);
  } else if (token == w::kEmbedReq) {
    const auto e = w::ParseEmbedRequest(payload);
    if (!e) {
      SendControl(w::kNack, out, delay);
      return;
    }
    const auto third = block(BlockId::Third);
    if (e->object == w::kObjMsgWp && e->operation == w::kOpRead) {
      SendDataMessage(third.Read(0, kThirdBlockSize), 2, out);
      SendComp(out);
    } else if (e->object == w::kObjMsgWp && e->operation == w::kOpModify && !e->data.empty() &&
               e->data.size() <= kThirdBlockSize) {
      third.Write(0, e->data);
      SendControl(w::kAck, out, delay);
    } else if (e->object == w::kObjMesg && e->operation == w::kOpRead) {
      SendDataMessage(third.Read(0, kMessageBytes), 2, out);
      SendComp(out);
    } else if (e->object == w::kObjPass && e->operation == w::kOpModify && !e->data.empty() &&
               e->data.size() <= 16) {
      passCode_.assign(e->data.begin(), e->data.end());
      SendControl(w::kAck, out, delay);
    } else if (e->object == w::kObjPass && e->operation == w::kOpCompare) {
      const bool same = std::string(e->data.begin(), e->data.end()) == passCode_;
      SendControl(same ? w::kAck : w::kNack, out, delay);
    } else if (e->object == w::kObjPass && e->operation == w::kOpRead) {
      SendDataMessage(w::AsBytes(passCode_), 2, out);
      SendComp(out);
    } else {
      SendControl(w::kNack, out, delay);
    }
  } else if (token == w::kMacinfReq) {
    w::Bytes mac(w::kMacInfoSize, 0);
    std::copy_n(opt_.mac.begin(), std::min(opt_.mac.size(), mac.size()), mac.begin());
    SendDataMessage(mac, 2, out);
    SendComp(out);
  } else if (token == w::kSvcrstReq) {
    SendControl(w::kAck, out, delay);
    Send(w::StoringNotice() + Extra("EXTRA"), out, 500);
    SendComp(out);
  } else if (token == w::kTraceReq) {
    w::Bytes bytes = block(BlockId::Fourth).Read(0, std::min(opt_.traceSize, kFourthBlockSize));
    bytes.resize(opt_.traceSize, 0xFF);
    SendControl(w::kAck, out, delay);
    Send(std::string(w::kTraceNotfy) + " " + std::to_string(opt_.traceSize), out);
    StartRead("TRACE", std::move(bytes), opt_.traceSize, out, false);
  } else if (token == w::kTestfReq) {
    auto it = opt_.sizeOverride.find(std::string(w::kUnitTestF));
    const std::size_t announced = it == opt_.sizeOverride.end() ? w::kTestFreqSize : it->second;
    SendControl(w::kAck, out, delay);
    StartRead(w::kUnitTestF, block(BlockId::Main).Read(region::kTestFrequency, w::kTestFreqSize),
              announced, out, true);
  } else if (token == w::kPdReq) {
    const auto words = w::SplitWords(msg);
    const bool known = words.size() >= 3 && (words[1] == w::kPdRfdt || words[1] == w::kPdMddt ||
                                             words[1] == w::kPdTest);
    const std::string tail = words.size() >= 3 ? std::string(msg.substr(
                                                     words[0].size() + words[1].size() + 2))
                                               : std::string();
    if (!known || tail != w::ModeTail(opt_.trunking ? w::kModeTrunking : w::kModeConventional)) {
      SendControl(w::kNack, out, delay);
      return;
    }
    SendControl(w::kAck, out, delay);
    phase_ = Phase::DataMode;
  } else if (token == w::kRead1Req) {
    const auto r = w::ParseUnitRequest(msg);
    BlockId b;
    std::size_t offset = 0, size = 0;
    if (!r || r->write || r->trunkingTail != opt_.trunking || !UnitPlace(r->unit, b, offset, size)) {
      SendControl(w::kNack, out, delay);
      return;
    }
    auto it = opt_.sizeOverride.find(r->unit);
    const std::size_t announced = it == opt_.sizeOverride.end() ? size : it->second;
    SendControl(w::kAck, out, delay);
    StartRead(r->unit, block(b).Read(offset, size), announced, out, true);
  } else if (token == w::kWrite1Req) {
    const auto r = w::ParseUnitRequest(msg);
    BlockId b;
    std::size_t offset = 0, size = 0;
    if (!r || !r->write || r->trunkingTail != opt_.trunking ||
        !UnitPlace(r->unit, b, offset, size) || r->size != size) {
      SendControl(w::kNack, out, delay);
      return;
    }
    SendControl(w::kAck, out, delay);
    phase_ = Phase::WriteData;
    writeUnit_ = r->unit;
    writeSize_ = size;
    writeBytes_.clear();
    writeMessages_ = 0;
  } else {
    SendControl(w::kNack, out, delay);
  }
}

void Repeater::HandleControl(std::string_view word, std::vector<Emission>& out) {
  if (word == w::kFin) {
    if (opt_.noFinAck) {
      log_('=', w::AsBytes("FIN not acknowledged"));
      out.push_back({{}, 0, 0, true});
    } else {
      SendControl(w::kAck, out);
      out.back().connectionEnd = true;
    }
    connected_ = false;
    phase_ = Phase::Idle;
    mask_ = 0;
  } else if (word == w::kHalt) {
    SendControl(w::kAck, out);
    if (phase_ != Phase::DataMode) phase_ = Phase::Idle;
  } else if (word == w::kAck) {
    if (phase_ == Phase::ReadNoticeAck || phase_ == Phase::ReadDataAck) SendNextData(out);
    // An ACK at any other moment needs no answer.
  } else if (!connected_) {
    Reset("INACTIVE", out);
  } else {
    SendControl(w::kNack, out);
  }
}

void Repeater::HandleData(const w::Bytes& payload, std::vector<Emission>& out) {
  w::Bytes data;
  const auto status = w::ParseDataMessage(payload, 1, data);
  if (status == w::DataStatus::BadChecksum) {
    Reset("CHECKSUM", out);
    return;
  }
  if (status != w::DataStatus::Ok || data.empty() || data.size() > w::kWriteBlock ||
      data.size() > writeSize_ - writeBytes_.size()) {
    Reset("SCRIPT", out);
    return;
  }
  writeBytes_.insert(writeBytes_.end(), data.begin(), data.end());
  ++writeMessages_;
  SendControl(w::kAck, out);
  if (writeBytes_.size() == writeSize_) StoreWritten(out);
}

void Repeater::StoreWritten(std::vector<Emission>& out) {
  BlockId b;
  std::size_t offset = 0, size = 0;
  UnitPlace(writeUnit_, b, offset, size);
  image_.working().Block(b).Write(offset, writeBytes_);
  const std::string note = "stored " + writeUnit_ + " " + std::to_string(writeMessages_) +
                           " messages";
  log_('=', w::AsBytes(note));
  phase_ = Phase::Idle;
  if (onImageWritten) onImageWritten();
  Send(w::StoringNotice() + Extra("EXTRA"), out, 50);
  SendComp(out);
}

void Repeater::StartRead(std::string_view unit, w::Bytes bytes, std::size_t announced,
                         std::vector<Emission>& out, bool notice) {
  bytes.resize(announced, 0xFF);
  readUnit_ = unit;
  readBytes_ = std::move(bytes);
  readOffset_ = 0;
  readFaultDone_ = false;
  if (notice) Send(w::SizeNotice(unit, announced) + Extra("EXTRA"), out);
  phase_ = Phase::ReadNoticeAck;
}

void Repeater::SendNextData(std::vector<Emission>& out) {
  if (readOffset_ >= readBytes_.size()) {
    phase_ = Phase::Idle;
    SendComp(out);
    return;
  }
  phase_ = Phase::ReadDataAck;
  const std::size_t n = std::min(opt_.chunk, readBytes_.size() - readOffset_);
  w::ByteView data(readBytes_.data() + readOffset_, n);
  switch (opt_.dataFault) {
    case DataFault::Empty:
      if (!readFaultDone_) {
        readFaultDone_ = true;
        Send(HandDataMessage({}, 0, 1), out);
        return;
      }
      break;
    case DataFault::Overrun:
      if (readOffset_ + n == readBytes_.size() && n + kOverrunBytes <= w::kMaxTunnel) {
        w::Bytes more(data.begin(), data.end());
        more.resize(n + kOverrunBytes, 0xFF);
        readOffset_ += n;
        SendDataMessage(more, 1, out);
        return;
      }
      break;
    case DataFault::CountHigh:
      readOffset_ += n;
      Send(HandDataMessage(data, n + 1, 1), out);
      return;
    case DataFault::None:
      break;
  }
  readOffset_ += n;
  SendDataMessage(data, 1, out);
}

void Repeater::SendDataMessage(w::ByteView data, int channel, std::vector<Emission>& out) {
  w::Bytes m = w::DataMessage(data, channel);
  if (opt_.badChecksum && !m.empty()) m.back() ^= 0x5A;
  Send(m, out);
}

void Repeater::SendComp(std::vector<Emission>& out) {
  if (!opt_.noComp) Send(w::kCompInd, out);
}

void Repeater::SendControl(std::string_view word, std::vector<Emission>& out, int delayMs) {
  Send(w::ControlMessage(word), out, delayMs);
}

void Repeater::Reset(std::string_view reason, std::vector<Emission>& out) {
  Send(w::ResetMessage(reason), out);
  out.back().baudAfter = w::kStartBaud;
  out.back().connectionEnd = true;
  connected_ = false;
  phase_ = Phase::Idle;
  mask_ = 0;
}

void Repeater::Send(std::string_view text, std::vector<Emission>& out, int delayMs) {
  Send(w::AsBytes(text), out, delayMs);
}

void Repeater::Send(w::ByteView payload, std::vector<Emission>& out, int delayMs) {
  log_('>', payload);
  const bool synack = w::AsText(payload) == w::ControlMessage(w::kSynAck);
  if (opt_.bula && !synack) {
    out.push_back({w::BuildFrame(w::kBula, mask_), delayMs, 0, false});
    w::Bytes p(w::kBula.begin(), w::kBula.end());
    p.insert(p.end(), payload.begin(), payload.end());
    out.push_back({w::BuildFrame(p, mask_), 0, 0, false});
  } else {
    out.push_back({w::BuildFrame(payload, mask_), delayMs, 0, false});
  }
}

}  // namespace zmp::sim
