// The scan information: priority mode and channel, look-back, revert channel,
// dropout delay, dwell time and off-hook scan, bytes 0x2B0..0x2B7 of the main
// block. Standard library only.
#pragma once

#include <cstddef>

#include "fields/FieldTypes.h"

namespace zmp {

namespace scan {
inline constexpr std::size_t kPriority = 0x02B0;       // 0xFF off, '0', '1'
inline constexpr std::size_t kLookBackA = 0x02B1;      // tenths of a second
inline constexpr std::size_t kLookBackB = 0x02B2;
inline constexpr std::size_t kRevert = 0x02B3;         // '0'..'5'
inline constexpr std::size_t kDropoutDelay = 0x02B4;
inline constexpr std::size_t kDwell = 0x02B5;
inline constexpr std::size_t kPriorityChannel = 0x02B6;  // channel number 1..30, 0xFF none
inline constexpr std::size_t kOffHookScan = 0x02B7;    // 0 ticked
inline constexpr std::uint8_t kNoPriorityChannel = 0xFF;
}  // namespace scan

const EditorModule& ScanInfoModule();

}  // namespace zmp
