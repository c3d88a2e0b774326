// QT/DQT settings as the image stores them: one 16-bit ToneCode per setting,
// little-endian. 0xFFFF is Off; with bit 13 clear the value is a QT tone in
// 0.1 Hz; with bit 13 set it is a DQT code (three octal digits in bits 8..0,
// bit 11 always set when stored, bit 15 set for inverted polarity).
//
// Editors never decode the bits themselves: they use the conversions below.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zmp {

using ToneCode = std::uint16_t;

inline constexpr ToneCode kToneOff = 0xFFFF;
inline constexpr ToneCode kDqtFlag = 0x2000;
inline constexpr ToneCode kDqtMarker = 0x0800;
inline constexpr ToneCode kDqtInverted = 0x8000;
inline constexpr int kQtMinTenths = 670;   // 67.0 Hz
inline constexpr int kQtMaxTenths = 2541;  // 254.1 Hz

// Entries of the selectable list after "Off": 39 QT tones, 83 DQT codes with
// normal polarity, the same 83 with inverted polarity.
inline constexpr int kQtToneCount = 39;
inline constexpr int kDqtCodeCount = 83;
inline constexpr int kToneArrayCount = kQtToneCount + 2 * kDqtCodeCount;  // 205
inline constexpr int kToneListCount = kToneArrayCount + 1;                // with "Off": 206

// The list texts with "." as separator, null-terminated (kToneArrayCount + 1
// pointers); list position k (1-based) is entry k - 1.
extern const char* const kToneTexts[];

inline bool IsDqt(ToneCode c) { return c != kToneOff && (c & kDqtFlag) != 0; }

// "Off" (language text 719) for 0xFFFF; a QT tone as "%.1f" Hz with the decimal
// separator; a DQT code as "D", its three octal digits and "I" or "N".
std::string ToneCodeToText(ToneCode code);
// Tidies typed text in place: empty stays empty; text starting with "D" gets
// its digits 2..4 limited to 0..7 (missing ones become 0), "I" or "N" as 5th
// character and nothing after it; any other text is read as a number of Hz,
// truncated to 0.1 Hz, limited to 67.0..254.1 and printed again.
void NormalizeToneText(std::string& text);
// The code of typed text: the "Off" text and empty text give 0xFFFF.
ToneCode TextToToneCode(std::string_view text);
// Text at list position 0..205 ("Off" at 0) with the decimal separator; empty
// outside the list.
std::string ToneListText(int position);
// List position of a text exactly as the list shows it; nothing when absent.
std::optional<int> ToneListPosition(std::string_view text);

// Character rule of the tone editor field: digits, "." and "," (both become
// the decimal separator), D, I and N (lowercase d, i, n become uppercase).
// Returns the character to insert, or nothing when it is swallowed.
std::optional<char> ToneKeyFilter(char c);
inline constexpr int kToneTextMaxLength = 5;

}  // namespace zmp
