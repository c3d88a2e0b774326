// The frequency parser and the packed frequency bytes: a text that parses is
// a plain decimal number of MHz (spaces or tabs around it, "." or "," as the
// separator) and gives that value rounded to the Hz; the stored form follows
// the step rules; five bytes that unpack pack back to themselves.
#include <cstdint>
#include <optional>
#include <string_view>

#include "FuzzCheck.h"
#include "data/Frequency.h"

using namespace zmp;

namespace {

// The value of a plain MHz text in Hz, rounded half up at the seventh decimal.
std::optional<std::uint64_t> Reference(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  std::uint64_t whole = 0, fraction = 0;
  int digits = 0, decimals = 0, separators = 0;
  bool up = false;
  for (char c : t) {
    if (c == '.' || c == ',') {
      if (++separators > 1) return std::nullopt;
      continue;
    }
    if (c < '0' || c > '9') return std::nullopt;
    ++digits;
    if (separators == 0) {
      whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
      if (whole >= 1000) return std::nullopt;
    } else {
      if (decimals < 6) fraction = fraction * 10 + static_cast<std::uint64_t>(c - '0');
      if (decimals == 6) up = c >= '5';
      ++decimals;
    }
  }
  if (digits == 0) return std::nullopt;
  for (int k = decimals; k < 6; ++k) fraction *= 10;
  const std::uint64_t hz = whole * 1'000'000 + fraction + (up ? 1 : 0);
  if (hz == 0 || hz > kMaxFrequencyHz) return std::nullopt;
  return hz;
}

std::uint64_t StepHz(std::uint8_t code) {
  switch (code) {
    case kStep2500: return 2500;
    case kStep3125: return 3125;
    case kStep5000: return 5000;
    case kStep1250: return 1250;
  }
  FUZZ_CHECK(!"an unknown step code");
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool bandFlag = data[0] & 1, allow1250 = data[0] & 2;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const auto parsed = ParseMegahertz(text);
  FUZZ_CHECK(parsed == Reference(text));
  if (parsed) FUZZ_CHECK(ParseMegahertz(HzToText(*parsed, ',')) == parsed);
  if (const auto e = FrequencyToBcd(text, bandFlag, allow1250)) {
    FUZZ_CHECK(parsed.has_value());
    const std::uint64_t step = StepHz(e->stepCode);
    FUZZ_CHECK(e->hz > 0 && e->hz <= *parsed && e->hz % step == 0);
    FUZZ_CHECK(UnpackFrequency(e->bytes) == e->hz);
    if (bandFlag) FUZZ_CHECK(step == 5000 || step == 3125);
    else FUZZ_CHECK(step == 3125 || step == 2500 || (allow1250 && step == 1250));
    // Only a frequency on no step of the band is rounded down, to the coarse step.
    if (e->hz != *parsed) FUZZ_CHECK(*parsed - e->hz < step && step == (bandFlag ? 5000u : 3125u));
  } else if (parsed) {
    FUZZ_CHECK(*parsed < (bandFlag ? 5000u : 3125u));
  }
  if (size >= kFrequencyBytes) {
    const std::span<const std::uint8_t> five(data, kFrequencyBytes);
    if (const auto hz = UnpackFrequency(five)) {
      const FrequencyBytes packed = PackFrequency(*hz);
      for (std::size_t i = 0; i < kFrequencyBytes; ++i)
        FUZZ_CHECK(packed[i] == (i == 0 ? (five[0] & 0xF0) : five[i]));
    }
  }
  return 0;
}
