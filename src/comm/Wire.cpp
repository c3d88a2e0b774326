#include "comm/Wire.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace zmp::wire {

namespace {

constexpr std::array<std::string_view, 16> kReasonWords{
    "CHECKSUM", "PORTOPEN", "SCRIPT",    "PASSWORD", "TIMER", "UNDEFINED", "NOFIND", "NOSUPPORT",
    "VERSION",  "INACTIVE", "NOPROGRAM", "NETWORK",  "PERMISSION", "OTHER", "STATUS", "ACCESS"};

constexpr std::string_view kControlPrefix = "SC_CONTROL ";
constexpr std::string_view kResetPrefix = "SC_CONTROL RST ";
constexpr std::string_view kPassPrefix = "SC_PASS_ind FPU ";
constexpr std::string_view kVerPrefix = "SC_VER_req ";
constexpr std::size_t kPassStateBytes = 12;  // " FPU " + code + " "

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// Grows first, then copies: GCC 12 at -O2 warns falsely (stringop-overflow)
// on a range insert into a vector that may reallocate.
void AppendBytes(Bytes& out, const std::uint8_t* p, std::size_t n) {
  const std::size_t at = out.size();
  out.resize(at + n);
  if (n) std::memcpy(out.data() + at, p, n);
}
void Append(Bytes& out, std::string_view text) {
  AppendBytes(out, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// The twelve bytes of a PASS message that enter its mask: " FPU " + code + " ".
std::uint8_t PassStateSum(ByteView twelve) {
  unsigned sum = 0;
  for (auto b : twelve) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFF);
}

std::array<std::uint8_t, kPassStateBytes> PassState(std::string_view code) {
  std::array<std::uint8_t, kPassStateBytes> s{};
  s.fill(0xFF);
  const std::string_view head = " FPU ";
  std::copy(head.begin(), head.end(), s.begin());
  for (std::size_t i = 0; i < kAccessCodeSize && i < code.size(); ++i)
    s[head.size() + i] = static_cast<std::uint8_t>(code[i]);
  s[kPassStateBytes - 1] = ' ';
  return s;
}

}  // namespace

bool IsSupportedBaud(int baud) {
  return std::find(kBaudRates.begin(), kBaudRates.end(), baud) != kBaudRates.end();
}

int ReasonCode(std::string_view word) {
  for (std::size_t i = 0; i < kReasonWords.size(); ++i)
    if (kReasonWords[i] == word) return static_cast<int>(i) + 1;
  return kReasonUnknown;
}

std::string_view ReasonWord(int code) {
  if (code < 1 || code > static_cast<int>(kReasonWords.size())) return {};
  return kReasonWords[static_cast<std::size_t>(code - 1)];
}

// ---- frames ------------------------------------------------------------------

void ApplyMask(std::span<std::uint8_t> bytes, std::uint8_t mask) {
  if (mask == 0) return;
  for (auto& b : bytes) b ^= mask;
}

std::array<std::uint8_t, 2> EncodeLength(std::size_t n) {
  return {static_cast<std::uint8_t>(n & 0xFF), static_cast<std::uint8_t>((n >> 8) & 0xFF)};
}

std::size_t DecodeLength(std::uint8_t lo, std::uint8_t hi) { return static_cast<std::size_t>(lo | (hi << 8)); }

bool IsValidLength(std::size_t n) { return n >= 1 && n <= kMaxFrame; }

Bytes BuildFrame(ByteView payload, std::uint8_t mask) {
  if (!IsValidLength(payload.size())) return {};
  Bytes frame;
  frame.reserve(kLengthBytes + payload.size());
  const auto len = EncodeLength(payload.size());
  frame.insert(frame.end(), len.begin(), len.end());
  frame.insert(frame.end(), payload.begin(), payload.end());
  ApplyMask(std::span<std::uint8_t>(frame).subspan(kLengthBytes), mask);
  return frame;
}

Bytes BuildFrame(std::string_view payload, std::uint8_t mask) { return BuildFrame(AsBytes(payload), mask); }

void FrameReader::Feed(ByteView bytes) {
  // Drop what has been consumed before the buffer grows.
  if (start_ > 0 && start_ == buffer_.size()) {
    buffer_.clear();
    start_ = 0;
  } else if (start_ > 4096) {
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
    start_ = 0;
  }
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

FrameReader::Status FrameReader::Next(Bytes& payload, std::uint8_t mask) {
  if (Buffered() < kLengthBytes) return Status::NeedMore;
  const std::size_t n = DecodeLength(buffer_[start_], buffer_[start_ + 1]);
  if (!IsValidLength(n)) {
    start_ += kLengthBytes;
    return Status::BadLength;
  }
  if (Buffered() < kLengthBytes + n) return Status::NeedMore;
  const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + kLengthBytes);
  payload.assign(first, first + static_cast<std::ptrdiff_t>(n));
  ApplyMask(payload, mask);
  start_ += kLengthBytes + n;
  return Status::Frame;
}

// ---- "Bula!" ---------------------------------------------------------------------

bool StartsWithBula(ByteView payload) { return StartsWith(AsText(payload), kBula); }

bool StripBula(Bytes& payload) {
  if (!StartsWithBula(payload)) return false;
  payload.erase(payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(kBula.size()));
  return true;
}

// ---- message grammar ------------------------------------------------------------------

std::string_view AsText(ByteView bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

ByteView AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

bool NextWord(std::string_view& rest, std::string_view& word) {
  const auto space = rest.find(' ');
  if (space == std::string_view::npos) return false;
  word = rest.substr(0, space);
  rest = rest.substr(space + 1);
  return true;
}

std::vector<std::string_view> SplitWords(std::string_view msg) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while (true) {
    const auto space = msg.find(' ', start);
    if (space == std::string_view::npos) {
      words.push_back(msg.substr(start));
      return words;
    }
    words.push_back(msg.substr(start, space - start));
    start = space + 1;
  }
}

std::string Join(std::initializer_list<std::string_view> words) {
  std::string out;
  for (auto w : words) {
    if (!out.empty()) out += ' ';
    out += w;
  }
  return out;
}

std::optional<std::uint32_t> ParseDecimal(std::string_view digits, std::uint32_t max) {
  if (digits.empty() || digits.size() > kSizeDigitsMax) return std::nullopt;
  std::uint64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (v > max) return std::nullopt;
  return static_cast<std::uint32_t>(v);
}

std::string_view TokenOf(std::string_view msg) { return msg.substr(0, msg.find(' ')); }

bool HasToken(std::string_view msg, std::string_view token) { return TokenOf(msg) == token; }

std::string_view ArgsOf(std::string_view msg, std::string_view token) {
  if (!HasToken(msg, token) || msg.size() <= token.size()) return {};
  return msg.substr(token.size() + 1);
}

// ---- control messages ----------------------------------------------------------------

std::string ControlMessage(std::string_view word) { return Join({kControl, word}); }

std::string ResetMessage(std::string_view reasonWord) { return Join({kControl, kRst, reasonWord}); }

std::optional<std::string_view> ControlWordOf(std::string_view msg) {
  if (!StartsWith(msg, kControlPrefix)) return std::nullopt;
  return TokenOf(msg.substr(kControlPrefix.size()));
}

std::optional<int> ResetCodeOf(std::string_view msg) {
  if (StartsWith(msg, kResetPrefix)) return ReasonCode(msg.substr(kResetPrefix.size()));
  // A bare reset without its reason word is still a reset.
  if (msg == kResetPrefix.substr(0, kResetPrefix.size() - 1)) return kReasonUnknown;
  return std::nullopt;
}

// ---- requests and replies ----------------------------------------------------------------

std::string_view ModeTail(int repeaterMode) {
  return repeaterMode == kModeTrunking ? kTailTrunking : kTailConventional;
}

std::string ReadRequest(std::string_view unit, int repeaterMode) {
  return Join({kRead1Req, kWordData, unit, kWordPlain, ModeTail(repeaterMode)});
}

std::string WriteRequest(std::string_view unit, std::size_t size, int repeaterMode) {
  const std::string n = std::to_string(size);
  return Join({kWrite1Req, kWordData, unit, n, kWordPlain, ModeTail(repeaterMode)});
}

std::optional<UnitRequest> ParseUnitRequest(std::string_view msg) {
  const auto w = SplitWords(msg);
  UnitRequest r;
  std::size_t i = 0;
  if (w.size() < 5) return std::nullopt;
  if (w[0] == kRead1Req)
    r.write = false;
  else if (w[0] == kWrite1Req)
    r.write = true;
  else
    return std::nullopt;
  if (w[1] != kWordData || w[2].empty()) return std::nullopt;
  r.unit = std::string(w[2]);
  i = 3;
  if (r.write) {
    const auto size = ParseDecimal(w[i], 0xFFFFFF);
    if (!size) return std::nullopt;
    r.size = *size;
    ++i;
  }
  if (i >= w.size() || w[i] != kWordPlain) return std::nullopt;
  ++i;
  const std::size_t tailWords = w.size() - i;
  if (tailWords == 1 && w[i] == kTailConventional) {
    r.trunkingTail = false;
  } else if (tailWords == 2 && Join({w[i], w[i + 1]}) == kTailTrunking) {
    r.trunkingTail = true;
  } else {
    return std::nullopt;
  }
  return r;
}

std::string SizeNotice(std::string_view unit, std::size_t size) {
  const std::string n = std::to_string(size);
  return Join({kReadNotfy, kWordData, unit, n, kSizeNoticeTail});
}

std::string SizeNoticePrefix(std::string_view unit) { return Join({kReadNotfy, kWordData, unit}) + " "; }

std::string DataModeRequest(std::string_view what, int repeaterMode) {
  return Join({kPdReq, what, ModeTail(repeaterMode)});
}

std::string BaudRequest(int baud) {
  const std::string n = std::to_string(baud);
  return Join({kBauReq, n});
}

std::optional<int> ParseBaudRequest(std::string_view msg) {
  const auto args = ArgsOf(msg, kBauReq);
  const auto v = ParseDecimal(args, 1000000);
  if (!v || !IsSupportedBaud(static_cast<int>(*v))) return std::nullopt;
  return static_cast<int>(*v);
}

std::string_view BaudPart(std::string_view settings) { return settings.substr(0, settings.find(',')); }

std::string WithBaud(std::string_view settings, int baud) {
  const auto comma = settings.find(',');
  std::string out = std::to_string(baud);
  if (comma != std::string_view::npos) out += settings.substr(comma);
  return out;
}

Bytes VersionRequest(std::uint8_t maskByte) {
  Bytes out;
  Append(out, kVerPrefix);
  out.push_back(maskByte);
  return out;
}

std::optional<std::uint8_t> ParseVersionRequest(ByteView msg) {
  if (msg.size() != kVerPrefix.size() + 1 || !StartsWith(AsText(msg), kVerPrefix)) return std::nullopt;
  return msg.back();
}

std::string VersionResponse(const VersionInfo& v) {
  const std::string d = std::to_string(v.destination), b = std::to_string(v.bandCode);
  return Join({kVerResp, v.modelCode, d, b, v.firmware});
}

std::string VersionText(const VersionInfo& v) {
  return v.modelCode + " " + std::to_string(v.destination) + " " + std::to_string(v.bandCode);
}

std::optional<VersionInfo> ParseVersionResponse(std::string_view msg) {
  const auto w = SplitWords(msg);
  if (w.size() != 5 || w[0] != kVerResp || w[1].empty() || w[4].empty()) return std::nullopt;
  const auto d = ParseDecimal(w[2], 255), b = ParseDecimal(w[3], 255);
  if (!d || !b) return std::nullopt;
  return VersionInfo{std::string(w[1]), static_cast<int>(*d), static_cast<int>(*b), std::string(w[4])};
}

Bytes PassMessage(std::string_view code, std::uint8_t challenge) {
  Bytes out;
  Append(out, kPassInd);
  const auto state = PassState(code);
  AppendBytes(out, state.data(), state.size());
  out.push_back(challenge);
  return out;
}

std::uint8_t NeutralChallenge(std::string_view code) { return PassStateSum(PassState(code)); }

std::optional<PassInfo> ParsePassMessage(ByteView msg) {
  const std::size_t expected = kPassInd.size() + kPassStateBytes + 1;
  if (msg.size() != expected || !StartsWith(AsText(msg), kPassPrefix) || msg[expected - 2] != ' ')
    return std::nullopt;
  PassInfo p;
  std::copy_n(msg.begin() + static_cast<std::ptrdiff_t>(kPassPrefix.size()), kAccessCodeSize, p.code.begin());
  p.challenge = msg.back();
  p.mask = PassMask(msg);
  return p;
}

std::uint8_t PassMask(ByteView msg) {
  const std::size_t expected = kPassInd.size() + kPassStateBytes + 1;
  if (msg.size() != expected) return 0;
  return static_cast<std::uint8_t>(msg.back() ^ PassStateSum(msg.subspan(kPassInd.size(), kPassStateBytes)));
}

bool IsAccessCode(const PassInfo& p) {
  return std::equal(p.code.begin(), p.code.end(), kAccessCode.begin(), kAccessCode.end());
}

std::string ModeResponse(bool trunking) {
  return trunking ? Join({kModeResp, kTrunking, "ON"}) : Join({kModeResp, kConventional});
}

std::optional<int> ParseModeResponse(std::string_view msg) {
  const auto args = ArgsOf(msg, kModeResp);
  // "CONVENTIONAL", alone or with further words; "TRUNKING" always followed
  // by a space and its further words.
  const auto wordThenSpace = [args](std::string_view word) {
    return args.size() > word.size() && StartsWith(args, word) && args[word.size()] == ' ';
  };
  if (args == kConventional || wordThenSpace(kConventional)) return kModeConventional;
  if (wordThenSpace(kTrunking)) return kModeTrunking;
  return std::nullopt;
}

std::string PmchkResponse(bool trunkingToo) { return Join({kPmchkResp, trunkingToo ? kConvTrunk : kConvOnly}); }

std::optional<bool> ParsePmchkResponse(std::string_view msg) {
  const auto args = ArgsOf(msg, kPmchkResp);
  if (args == kConvTrunk) return true;
  if (args == kConvOnly) return false;
  return std::nullopt;
}

std::string SoftwareInfoResponse(const SoftwareInfo& s) { return Join({kSftinfResp, s.firmware, s.dataFormat}); }

std::optional<SoftwareInfo> ParseSoftwareInfoResponse(std::string_view msg) {
  const auto w = SplitWords(msg);
  if (w.size() != 3 || w[0] != kSftinfResp || w[1].empty() || w[2].empty()) return std::nullopt;
  return SoftwareInfo{std::string(w[1]), std::string(w[2])};
}

std::string TraceNotice(std::size_t size) {
  const std::string n = std::to_string(size);
  return Join({kTraceNotfy, n});
}

std::optional<std::size_t> ParseTraceNotice(std::string_view msg) {
  const auto v = ParseDecimal(ArgsOf(msg, kTraceNotfy), static_cast<std::uint32_t>(kTraceMax));
  if (!v) return std::nullopt;
  return *v;
}

std::string StoringNotice() { return Join({kProgInd, kWordIns, kProgDone}); }

bool IsStoringNotice(std::string_view msg) { return StartsWith(msg, Join({kProgInd, kWordIns})); }

Bytes EmbedRequest(std::string_view object, std::string_view operation, ByteView data) {
  Bytes out;
  Append(out, Join({kEmbedReq, object, operation}));
  if (!data.empty()) {
    out.push_back(' ');
    AppendBytes(out, data.data(), data.size());
  }
  return out;
}

std::optional<EmbedInfo> ParseEmbedRequest(ByteView msg) {
  std::string_view rest = AsText(msg);
  std::string_view token, object;
  if (!NextWord(rest, token) || token != kEmbedReq || !NextWord(rest, object) || object.empty())
    return std::nullopt;
  EmbedInfo e;
  e.object = std::string(object);
  const auto space = rest.find(' ');
  e.operation = std::string(rest.substr(0, space));
  if (e.operation.empty()) return std::nullopt;
  if (space != std::string_view::npos) {
    const auto data = AsBytes(rest.substr(space + 1));
    e.data.assign(data.begin(), data.end());
  }
  return e;
}

std::string TimeRequest(std::span<const int> fields) {
  std::string out(kTimeReq);
  for (int v : fields) {
    if (v >= 255 || v < 0) break;
    char buf[8];
    std::snprintf(buf, sizeof buf, " %02d", v);
    out += buf;
  }
  return out;
}

std::string EsnRequest(std::string_view which) { return Join({kEsnrdReq, which}); }

std::string EsnResponse(std::string_view which, std::string_view serial) {
  return Join({kEsnrdResp, which, serial});
}

// ---- tunnel data messages -------------------------------------------------------------

std::uint16_t TunnelChecksum(ByteView data) {
  std::uint32_t sum = 0;
  std::size_t i = 0;
  for (; i + 1 < data.size(); i += 2) {
    const auto word = static_cast<std::int16_t>(static_cast<std::uint16_t>(data[i] | (data[i + 1] << 8)));
    sum += static_cast<std::uint32_t>(static_cast<std::int32_t>(word));
  }
  if (i < data.size()) sum += data[i];
  sum = (sum >> 16) + (sum & 0xFFFF);
  sum = (sum >> 16) + (sum & 0xFFFF);
  return static_cast<std::uint16_t>(sum & 0xFFFF);
}

std::string_view DataToken(int channel) {
  if (channel == 1) return kDataInd;
  if (channel == 2) return kData2Ind;
  return {};
}

Bytes DataMessage(ByteView data, int channel) {
  const auto token = DataToken(channel);
  if (token.empty() || data.size() > kMaxTunnel) return {};
  Bytes out;
  Append(out, token);
  out.push_back(' ');
  Append(out, std::to_string(data.size()));
  out.push_back(' ');
  AppendBytes(out, data.data(), data.size());
  out.push_back(' ');
  const std::uint16_t sum = TunnelChecksum(data);
  out.push_back(static_cast<std::uint8_t>(sum >> 8));
  out.push_back(static_cast<std::uint8_t>(sum & 0xFF));
  return out;
}

DataStatus ParseDataMessage(ByteView msg, int expectedChannel, Bytes& data, int* channel) {
  std::string_view rest = AsText(msg);
  std::string_view token;
  if (!NextWord(rest, token)) return HasToken(rest, kDataInd) || HasToken(rest, kData2Ind) ? DataStatus::Malformed
                                                                                          : DataStatus::NotData;
  const int ch = token == kDataInd ? 1 : token == kData2Ind ? 2 : 0;
  if (ch == 0) return DataStatus::NotData;
  if (expectedChannel != 0 && ch != expectedChannel) return DataStatus::WrongChannel;
  std::string_view countText;
  if (!NextWord(rest, countText)) return DataStatus::Malformed;
  const auto count = ParseDecimal(countText, static_cast<std::uint32_t>(kMaxTunnel));
  if (!count) return DataStatus::BadCount;
  // The rest is exactly: count bytes, a space, two checksum bytes.
  if (rest.size() != *count + 3) return DataStatus::BadCount;
  if (rest[*count] != ' ') return DataStatus::Malformed;
  const ByteView bytes = AsBytes(rest.substr(0, *count));
  const auto hi = static_cast<std::uint8_t>(rest[*count + 1]);
  const auto lo = static_cast<std::uint8_t>(rest[*count + 2]);
  if (TunnelChecksum(bytes) != static_cast<std::uint16_t>((hi << 8) | lo)) return DataStatus::BadChecksum;
  data.assign(bytes.begin(), bytes.end());
  if (channel) *channel = ch;
  return DataStatus::Ok;
}

// ---- legacy packets -----------------------------------------------------------------------

std::size_t LegacyPacketLength(ByteView pending) {
  if (pending.size() == 1 && pending[0] == kLegacyEnd) return 1;
  const std::size_t limit = std::min(pending.size(), kMaxTunnel);
  for (std::size_t i = 0; i < limit; ++i)
    if (pending[i] == kLegacyTerminator) return i + 1;
  return 0;
}

}  // namespace zmp::wire
