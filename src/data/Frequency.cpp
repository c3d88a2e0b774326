#include "data/Frequency.h"

#include <algorithm>
#include <cstdio>

namespace zmp {

namespace {
constexpr std::uint64_t kHzPerMhz = 1'000'000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}
}  // namespace

std::optional<std::uint64_t> ParseMegahertz(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  std::uint64_t whole = 0;
  std::size_t i = 0;
  int wholeDigits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    whole = whole * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (whole >= 1000) return std::nullopt;  // 1000 MHz or more cannot be stored
    ++wholeDigits;
  }
  std::uint64_t fractionHz = 0;  // tenths of Hz, then rounded
  int fractionDigits = 0;
  bool roundUp = false;
  if (i < text.size()) {
    if (text[i] != '.' && text[i] != ',') return std::nullopt;
    ++i;
    for (; i < text.size(); ++i) {
      if (!IsDigit(text[i])) return std::nullopt;
      const int d = text[i] - '0';
      if (fractionDigits < 6) {
        fractionHz = fractionHz * 10 + static_cast<std::uint64_t>(d);
      } else if (fractionDigits == 6) {
        roundUp = d >= 5;
      }
      ++fractionDigits;
    }
  }
  if (wholeDigits == 0 && fractionDigits == 0) return std::nullopt;
  for (int k = std::min(fractionDigits, 6); k < 6; ++k) fractionHz *= 10;
  std::uint64_t hz = whole * kHzPerMhz + fractionHz + (roundUp ? 1 : 0);
  if (hz == 0 || hz > kMaxFrequencyHz) return std::nullopt;
  return hz;
}

FrequencyBytes PackFrequency(std::uint64_t hz) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%09llu", static_cast<unsigned long long>(hz % 1'000'000'000));
  auto d = [&](int k) { return static_cast<std::uint8_t>(digits[k - 1] - '0'); };
  return FrequencyBytes{
      static_cast<std::uint8_t>(d(9) << 4),
      static_cast<std::uint8_t>((d(7) << 4) | d(8)),
      static_cast<std::uint8_t>((d(5) << 4) | d(6)),
      static_cast<std::uint8_t>((d(3) << 4) | d(4)),
      static_cast<std::uint8_t>((d(1) << 4) | d(2)),
  };
}

std::optional<std::uint64_t> UnpackFrequency(std::span<const std::uint8_t> five) {
  if (five.size() != kFrequencyBytes) return std::nullopt;
  bool allFF = true;
  for (auto b : five) allFF = allFF && b == 0xFF;
  if (allFF) return std::nullopt;
  std::uint64_t hz = 0;
  for (std::size_t i = kFrequencyBytes; i-- > 0;) {
    const int hi = five[i] >> 4, lo = five[i] & 0x0F;
    if (hi > 9) return std::nullopt;
    hz = hz * 10 + static_cast<std::uint64_t>(hi);
    if (i == 0) break;  // byte 0 holds only d9 in its high nibble
    if (lo > 9) return std::nullopt;
    hz = hz * 10 + static_cast<std::uint64_t>(lo);
  }
  return hz;
}

std::optional<EncodedFrequency> FrequencyToBcd(std::string_view text, bool bandFlag,
                                               bool allow1250) {
  const auto parsed = ParseMegahertz(text);
  if (!parsed) return std::nullopt;
  std::uint64_t hz = *parsed;
  struct Step {
    std::uint64_t hz;
    std::uint8_t code;
  };
  const Step flagSet[] = {{5000, kStep5000}, {3125, kStep3125}};
  const Step flagClear[] = {{3125, kStep3125}, {2500, kStep2500}, {1250, kStep1250}};
  EncodedFrequency out;
  bool found = false;
  if (bandFlag) {
    for (const auto& s : flagSet)
      if (hz % s.hz == 0) { out.stepCode = s.code; found = true; break; }
  } else {
    for (const auto& s : flagClear) {
      if (s.hz == 1250 && !allow1250) continue;
      if (hz % s.hz == 0) { out.stepCode = s.code; found = true; break; }
    }
  }
  if (!found) {
    const Step fallback = bandFlag ? Step{5000, kStep5000} : Step{3125, kStep3125};
    hz -= hz % fallback.hz;
    if (hz == 0) return std::nullopt;
    out.stepCode = fallback.code;
  }
  out.hz = hz;
  out.bytes = PackFrequency(hz);
  return out;
}

std::string HzToText(std::uint64_t hz, char decimalSeparator) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llu%c%06llu", static_cast<unsigned long long>(hz / kHzPerMhz),
                decimalSeparator, static_cast<unsigned long long>(hz % kHzPerMhz));
  return buf;
}

std::string FrequencyText(std::span<const std::uint8_t> five, char decimalSeparator) {
  const auto hz = UnpackFrequency(five);
  return hz ? HzToText(*hz, decimalSeparator) : std::string();
}

}  // namespace zmp
