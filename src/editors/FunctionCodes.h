// The assignable functions of the repeater and the rules that keep every
// assignment list of the image consistent with them.
//
// A function is a two-character code held in a 16-bit word, first character
// in the low byte (the image stores it little-endian, so its two bytes read
// as the two characters). Two spaces (0x2020) mean "no function".
//
// The assignment lists are groups of four words: words 0-2 are a chain of up
// to three codes, word 3 is not a code. A chain never continues after a blank.
// A slot whose function stops being offered (its facility switched off, its
// channel deleted, its CW message emptied) lets it go.
// Standard library only.
#pragma once

#include <array>
#include <optional>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/ImageStore.h"
#include "lang/TextNo.h"
#include "fields/FieldTypes.h"

namespace zmp {

using FunctionCode = std::uint16_t;

constexpr FunctionCode MakeFunctionCode(char first, char second) {
  return static_cast<FunctionCode>(static_cast<unsigned char>(first) |
                                   (static_cast<unsigned>(static_cast<unsigned char>(second)) << 8));
}
constexpr char FirstChar(FunctionCode c) { return static_cast<char>(c & 0xFF); }
constexpr char SecondChar(FunctionCode c) { return static_cast<char>(c >> 8); }

inline constexpr FunctionCode kNoFunction = MakeFunctionCode(' ', ' ');  // 0x2020

// --- the function table --------------------------------------------------------

struct FunctionEntry {
  FunctionCode code;
  TextNo name;
  int helpContext;
};

inline constexpr std::size_t kFunctionCount = 137;
// Every assignable function in list order (the blank first).
std::span<const FunctionEntry> FunctionTable();
// The first entry with this code, or nullptr.
const FunctionEntry* FindFunction(FunctionCode code);
// The function's name; empty for a code that is no function.
std::string FunctionName(FunctionCode code);

// --- channel-select codes ----------------------------------------------------------

// "!" followed by the binary number 1..32: entry index 0..31 selects channel
// index + 1. The function table holds the first 30 (the channels that exist).
inline constexpr int kNumberedCodeCount = 32;
constexpr FunctionCode NumberedCode(int index) {
  return MakeFunctionCode('!', static_cast<char>(index + 1));
}

// --- families ----------------------------------------------------------------------

// Three codes each (On, Off, On/Off for most; the key list holds only the
// third). A code of 0 stands for none.
using FunctionFamily = std::array<FunctionCode, 3>;
inline constexpr int kFamilyCount = 35;
std::span<const FunctionFamily> FunctionFamilies();

namespace family {
inline constexpr int kAuxOutput = 0;
inline constexpr int kRepeatHold = 2;
inline constexpr int kTimeOutTimer = 3;
inline constexpr int kEncryption = 7;
inline constexpr int kBatteryOperation = 15;
inline constexpr int kFirstCwMessage = 16;     // 16..23: CW messages 1..8
inline constexpr int kVotingPilot = 26;
inline constexpr int kFirstLink = 27;          // 27..29: links 1..3
inline constexpr int kFirstConnection = 30;    // 30..34: connections 1..5
}  // namespace family

// --- assignment lists in the image --------------------------------------------------------

struct AssignmentList {
  std::size_t offset;
  int groups;
};
inline constexpr std::size_t kGroupStride = 8;   // four words
inline constexpr int kChainLength = 3;

inline constexpr int kKeyCount = 6;
inline constexpr AssignmentList kKeyList{0x02C0, kKeyCount};  // key k (0-based) at 0x2C0 + 8k
inline constexpr AssignmentList kList1{0x02F0, 3};
inline constexpr AssignmentList kList2{0x0308, 6};
inline constexpr AssignmentList kList3{0x0350, 2};
inline constexpr std::array<AssignmentList, 3> kSingleChains{{{0x0360, 1}, {0x03C0, 1}, {0x03C8, 1}}};

// Key k (0-based: key number - 1): its group and its three-byte parameter record.
constexpr std::size_t KeyGroupOffset(int k) { return kKeyList.offset + kGroupStride * static_cast<std::size_t>(k); }
inline constexpr std::size_t kKeyRecordStart = 0x6190;
inline constexpr std::size_t kKeyRecordSize = 3;
constexpr std::size_t KeyRecordOffset(int k) { return kKeyRecordStart + kKeyRecordSize * static_cast<std::size_t>(k); }
// A key whose function changed gets a fresh parameter record: FF FF 00.
void ResetKeyRecord(ImageStore& image, int k);
// A three-byte parameter or remote-code record with no codes and mode 0
// (FF FF 00), as keys, inputs and outputs hold it.
void ClearRemoteRecord(ImageStore& image, std::size_t offset);
// Words 0-2 of every group of every list hold no function (0x2020), as in
// a new image; word 3 of each group is left as it is.
void BlankAssignmentLists(ImageStore& image);

// --- availability ------------------------------------------------------------------------------

// The lists a code is offered in.
namespace category {
inline constexpr int kPortInput = 2;   // function port input pins
inline constexpr int kKey = 10;        // front-panel keys
}  // namespace category

// Whether the code may be assigned in the category with the image's settings
// (a function is offered only while the facility behind it is switched on).
bool FunctionAvailable(const ImageStore& image, FunctionCode code, int category);
// Why the code is not offered in the category ("Repeat Hold Timer is Off"),
// or nothing when it is. Category 0 asks only the facilities' rules.
std::optional<TextNo> WhyNotOffered(const ImageStore& image, FunctionCode code, int category);
// The offered functions in table order.
std::vector<FunctionCode> AvailableFunctions(const ImageStore& image, int category);
// The same as the entries of a list of the category: code and name.
std::vector<ShownChoice> AvailableFunctionChoices(const ImageStore& image, int category);
// The text an assignment slot of the category shows for a code: the
// function's name while it is offered there, the name and why it is not
// offered for a function that is not ("Send CW Message 1 (message empty)"),
// empty for a code that is no function.
std::string AssignedFunctionText(const ImageStore& image, FunctionCode code, int category);

// A chain word that is blanked (chosen blank, or released) ends the chain:
// every later word of its group is blanked too. An after-commit hook.
void EndChainAtBlank(const FieldAt& at, long before, long after);

// The assignment slots that no editor shows, declared so that their functions
// are released like every other: words 1 and 2 of the key groups (only word 0
// is a key's function), the option ports' input chains whatever the ports are
// set to, and list 3 and the three single chains.
const FieldTable& KeyChainTable();
const FieldTable& OptionPortChainTable();
const FieldTable& OtherAssignmentListsTable();

// An assignment slot names a function (RefDecl::param: the category of its
// list, 0 for the lists whose category only the facilities decide). A function
// that stops being offered is released: the slot stores the blank (0x2020),
// which ends a chain there.
extern const ReferenceKind kFunctionTarget;
constexpr RefDecl FunctionSlot(int category) { return RefDecl{&kFunctionTarget, kNoFunction, category}; }

}  // namespace zmp
