// Character rules of the filtering edit (FilterEdit): for each input mode,
// which typed characters an edit accepts, and which it turns into uppercase.
// Pure logic, shared by the Qt edit and the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zmp {

// Input modes (one byte).
namespace filter {
inline constexpr std::uint8_t kNone = 0;        // nothing, not even Backspace
inline constexpr std::uint8_t kAll = 1;         // every character
inline constexpr std::uint8_t kDigits = 2;
inline constexpr std::uint8_t kFrequency = 3;   // digits and one "." or ","
inline constexpr std::uint8_t kDtmf = 5;        // digits, A-D, * and #
inline constexpr std::uint8_t kHex = 6;         // digits, A-F
inline constexpr std::uint8_t kAlnum = 7;       // letters and digits
inline constexpr std::uint8_t kName = 10;       // names
inline constexpr std::uint8_t kCw = 11;         // CW texts
inline constexpr std::uint8_t kDigitsDash = 12;
inline constexpr std::uint8_t kFiveTone = 13;   // digits, A-E, Q
inline constexpr std::uint8_t kDigitsAE = 14;
inline constexpr std::uint8_t kOwnerList = 15;
inline constexpr std::uint8_t kOwnerList2 = 16;
inline constexpr std::uint8_t kDigits05Dash = 20;
inline constexpr std::uint8_t kDigitsA = 21;    // digits and A within a maximum length
inline constexpr std::uint8_t kNameDot = 22;    // names with "." in place of ","
inline constexpr std::uint8_t kOwnerRule = 30;
inline constexpr std::uint8_t kOwnerRule2 = 31;
}  // namespace filter

// What the edit holds when a character is typed.
struct FilterContext {
  std::string_view text;         // current text
  std::size_t selectionStart = 0;  // where the character goes
  std::size_t selectionLength = 0; // characters it replaces
  std::string_view ownerList;    // modes 15 and 16
  std::size_t maxLength = 0;     // mode 21 (0 = no limit)
  // Modes 30 and 31: the owner's rule; returns the character to insert or nothing.
  std::function<std::optional<char>(char c, const FilterContext& ctx)> ownerRule;
};

// The character to insert for a typed character c (c itself, or its uppercase
// letter), or nothing when the mode refuses it. Backspace ('\b') is accepted in
// every mode but 0.
std::optional<char> FilterChar(std::uint8_t mode, char c, const FilterContext& ctx);

// Inserts text at the selection as if each character were typed in turn.
// Returns the resulting whole text, or nothing when any character is refused
// (the edit then stays as it was).
std::optional<std::string> FilterInsert(std::uint8_t mode, std::string_view insert,
                                        const FilterContext& ctx);

}  // namespace zmp
