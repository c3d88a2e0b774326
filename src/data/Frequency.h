// Frequencies as the image stores them: five bytes of packed BCD holding the
// frequency in Hz as nine digits, with a step code and a split flag beside them
// in every channel and test-frequency record.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zmp {

inline constexpr std::size_t kFrequencyBytes = 5;
using FrequencyBytes = std::array<std::uint8_t, kFrequencyBytes>;

// Step codes written beside a frequency.
inline constexpr std::uint8_t kStep2500 = 0;
inline constexpr std::uint8_t kStep3125 = 1;
inline constexpr std::uint8_t kStep5000 = 2;
inline constexpr std::uint8_t kStep1250 = 3;
inline constexpr std::uint8_t kNoStep = 0xFF;

// Frequencies must lie in 0 < f < 1000 MHz to fit nine BCD digits.
inline constexpr std::uint64_t kMaxFrequencyHz = 999'999'999;

struct EncodedFrequency {
  FrequencyBytes bytes{};
  std::uint8_t stepCode = kNoStep;
  std::uint64_t hz = 0;  // the stored value after step rounding
};

// Parses MHz text ("146.1", "146,1", " 450 "); either "." or "," is the decimal
// separator. Digits beyond 1 Hz are rounded to the nearest Hz. Nothing when the
// text is not a plain number or the value is not in 0 < f < 1000 MHz.
std::optional<std::uint64_t> ParseMegahertz(std::string_view text);

// Converts MHz text to the five stored bytes and a step code. With bandFlag set
// the steps tried are 5000 Hz then 3125 Hz; with it clear 3125 Hz then 2500 Hz
// (and 1250 Hz when allow1250). The first step that divides the frequency is
// taken; when none does the frequency is rounded down to a multiple of 3125 Hz
// (flag clear) or 5000 Hz (flag set). Nothing for empty, zero, malformed or
// out-of-range text, or when rounding leaves zero.
std::optional<EncodedFrequency> FrequencyToBcd(std::string_view text, bool bandFlag,
                                               bool allow1250 = false);

// Packs / unpacks the nine-digit Hz value (byte 4 = d1 d2 ... byte 0 = d9 0).
FrequencyBytes PackFrequency(std::uint64_t hz);
// Nothing for all-0xFF bytes (no frequency) or bytes that are not BCD.
std::optional<std::uint64_t> UnpackFrequency(std::span<const std::uint8_t> five);

// Display form: MHz with six decimals and the given separator, leading zeros
// removed ("450.000000", "146.006250"). Empty for no frequency.
std::string FrequencyText(std::span<const std::uint8_t> five, char decimalSeparator = '.');
std::string HzToText(std::uint64_t hz, char decimalSeparator = '.');

}  // namespace zmp
