// The vendor tone alphabet: the fifteen audio frequencies of tones "0" to "9"
// and "A" to "E", in tenths of a hertz, each with the two period limits its
// decoder uses (counts of the 14.7456 MHz clock for the frequency 2.5 % below
// and above). A typed frequency and a spin step compute the limits by two
// formulas that differ in the last count for some frequencies; images hold
// both, so both are kept exactly. Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "fields/FieldTypes.h"

namespace zmp {

namespace vendortone {
inline constexpr int kToneCount = 15;
inline constexpr std::size_t kFrequencies = 0x6126;  // u16 per tone, tenths of a hertz
inline constexpr std::size_t kLimits = 0x6144;       // per tone: lower limit (u16), upper limit (u16)
inline constexpr long kMinimumTenths = 3000;         // 300 Hz
inline constexpr long kMaximumTenths = 30000;        // 3000 Hz
inline constexpr long kStepTenths = 10;
}  // namespace vendortone

const EditorModule& VendorToneModule();

struct ToneLimits {
  std::uint16_t lower;  // the larger count: the frequency 2.5 % below
  std::uint16_t upper;
  bool operator==(const ToneLimits&) const = default;
};
// The limits of a frequency (tenths of a hertz) as a typed entry stores them.
ToneLimits TypedToneLimits(long tenths);
// The limits as a spin step stores them.
ToneLimits SpunToneLimits(long tenths);
// The tone (0..14) that tone `tone` lies within 6 % of, the first in order,
// or -1.
int CloseTone(const ImageStore& image, int tone);
// The name of a tone as its label shows it ("Tone A").
std::string ToneName(int tone);

}  // namespace zmp
