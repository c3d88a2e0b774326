// The DTMF settings: encoder speed and timing and the decode option, in the
// main block around 0x6189. Standard library only.
#pragma once

#include <cstddef>

#include "fields/FieldTypes.h"

namespace zmp {

namespace dtmf {
inline constexpr std::size_t kFirstDigitTime = 0x6189;   // u16, ms
inline constexpr std::size_t kFirstDigitDelay = 0x618B;  // u16, ms
inline constexpr std::size_t kSpeed = 0x618D;            // digits per second
inline constexpr std::size_t kStarHashTime = 0x618E;     // u16, ms
inline constexpr std::size_t kRemoteWithoutTone = 0x61F9;  // 0xFF ticked, 0 clear
}  // namespace dtmf

const EditorModule& DtmfModule();

}  // namespace zmp
