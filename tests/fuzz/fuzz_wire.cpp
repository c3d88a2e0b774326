// The wire codec: a byte stream fed to the frame reader in chunks of random
// sizes must give the frames a reader of the whole stream gives, each frame
// rebuilding to the very bytes it came from; every message parser that
// accepts a payload must agree with its builder.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "comm/Wire.h"

using namespace zmp::wire;

namespace {

bool Same(std::string_view a, ByteView b) { return a == AsText(b); }

// Parsers whose builder gives back the same bytes.
void CheckMessage(const Bytes& payload) {
  const std::string_view msg = AsText(payload);
  Bytes data;
  int channel = 0;
  if (ParseDataMessage(payload, 0, data, &channel) == DataStatus::Ok) {
    const Bytes rebuilt = DataMessage(data, channel);
    // The count may carry leading zeros; the token, the data and the checksum may not differ.
    const std::size_t tail = data.size() + 3;
    FUZZ_CHECK(rebuilt.size() >= tail && payload.size() >= tail);
    FUZZ_CHECK(std::equal(rebuilt.end() - static_cast<std::ptrdiff_t>(tail), rebuilt.end(),
                          payload.end() - static_cast<std::ptrdiff_t>(tail)));
    FUZZ_CHECK(TokenOf(msg) == DataToken(channel));
  }
  if (const auto v = ParseVersionRequest(payload)) FUZZ_CHECK(VersionRequest(*v) == payload);
  if (const auto p = ParsePassMessage(payload)) {
    const std::string code(p->code.begin(), p->code.end());
    FUZZ_CHECK(PassMessage(code, p->challenge) == payload);
    FUZZ_CHECK(p->mask == PassMask(payload));
  }
  if (const auto s = ParseSoftwareInfoResponse(msg)) FUZZ_CHECK(SoftwareInfoResponse(*s) == msg);
  if (const auto t = ParsePmchkResponse(msg)) FUZZ_CHECK(PmchkResponse(*t) == msg);
  if (const auto b = ParseBaudRequest(msg)) {
    FUZZ_CHECK(IsSupportedBaud(*b));
    FUZZ_CHECK(ParseBaudRequest(BaudRequest(*b)) == b);
  }
  if (const auto n = ParseTraceNotice(msg)) {
    FUZZ_CHECK(*n <= kTraceMax);
    FUZZ_CHECK(ParseTraceNotice(TraceNotice(*n)) == n);
  }
  if (const auto v = ParseVersionResponse(msg)) {
    const auto again = ParseVersionResponse(VersionResponse(*v));
    FUZZ_CHECK(again && again->modelCode == v->modelCode && again->destination == v->destination &&
               again->bandCode == v->bandCode && again->firmware == v->firmware);
    FUZZ_CHECK(v->modelCode.find(' ') == std::string::npos && v->firmware.find(' ') == std::string::npos);
  }
  if (const auto u = ParseUnitRequest(msg)) {
    const int mode = u->trunkingTail ? kModeTrunking : kModeConventional;
    if (!u->write) FUZZ_CHECK(ReadRequest(u->unit, mode) == msg);
    const auto again = ParseUnitRequest(u->write ? WriteRequest(u->unit, u->size, mode) : ReadRequest(u->unit, mode));
    FUZZ_CHECK(again && again->unit == u->unit && again->size == u->size && again->write == u->write &&
               again->trunkingTail == u->trunkingTail);
  }
  if (const auto m = ParseModeResponse(msg)) {
    FUZZ_CHECK(*m == kModeConventional || *m == kModeTrunking);
    FUZZ_CHECK(HasToken(msg, kModeResp));
  }
  if (const auto w = ControlWordOf(msg)) {
    const std::string built = ControlMessage(*w);
    FUZZ_CHECK(Same(built, AsBytes(msg.substr(0, built.size()))));
    FUZZ_CHECK(msg.size() == built.size() || msg[built.size()] == ' ');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t mask = bytes[0];
  std::uint32_t chunks = bytes[1] | 1u;  // drives the chunk sizes
  const ByteView stream(bytes + 2, size - 2);

  FrameReader reader;
  std::size_t fed = 0, pos = 0;  // pos: where the reader of the whole stream stands
  Bytes payload;
  while (true) {
    const FrameReader::Status s = reader.Next(payload, mask);
    if (s == FrameReader::Status::NeedMore) {
      FUZZ_CHECK(reader.Buffered() == fed - pos);
      if (fed == stream.size()) break;
      chunks = chunks * 1103515245u + 12345u;
      const std::size_t n = std::min<std::size_t>(stream.size() - fed, 1 + (chunks >> 16) % 700);
      reader.Feed(stream.subspan(fed, n));
      fed += n;
      continue;
    }
    FUZZ_CHECK(fed - pos >= kLengthBytes);
    const std::size_t length = DecodeLength(stream[pos], stream[pos + 1]);
    if (s == FrameReader::Status::BadLength) {
      FUZZ_CHECK(!IsValidLength(length));
      pos += kLengthBytes;
      continue;
    }
    FUZZ_CHECK(IsValidLength(length) && payload.size() == length && fed - pos >= kLengthBytes + length);
    const Bytes rebuilt = BuildFrame(payload, mask);
    FUZZ_CHECK(std::equal(rebuilt.begin(), rebuilt.end(), stream.begin() + static_cast<std::ptrdiff_t>(pos)));
    pos += rebuilt.size();
    CheckMessage(payload);
  }
  // Whatever is left is less than one frame.
  FUZZ_CHECK(pos <= stream.size());
  return 0;
}
