// The repeater's auxiliary ports as the function port and remote control
// editors list them: three fixed inputs, five fixed outputs and six option
// ports, each of which the byte at 0x2A8 + k makes an input (0), an output
// (1) or leaves unused (any other value).
//
// A grid lists the fixed ports of a direction first, then the option ports
// set to that direction in port order. Each port has its place in the image:
//   inputs:  function chain group  0x2F0 + 8r (list 1) / 0x308 + 8k (list 2)
//   outputs: eight-byte record     0x5C0 + 8r          / 0x5F0 + 8k
//   remote codes, three bytes:     inputs  0x61B0 + 3r / 0x61B9 + 3k
//                                  outputs 0x61D0 + 3r / 0x61E2 + 3k
// An option port keeps the bytes of the other direction when it changes
// direction; they are only ever read through the direction it has now.
// Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "data/ImageStore.h"
#include "lang/TextNo.h"

namespace zmp {

enum class PortDirection : std::uint8_t { Input = 0, Output = 1 };

inline constexpr int kOptionPortCount = 6;
inline constexpr int kFixedInputCount = 3;
inline constexpr int kFixedOutputCount = 5;
inline constexpr std::size_t kOptionPortDirections = 0x02A8;  // 0x2A8 + k
inline constexpr std::uint8_t kOptionPortUnused = 0xFF;       // the value stored for "not used"
inline constexpr std::size_t kPortLevel = 0x02AF;

inline constexpr std::size_t kOutputRecordSize = 8;
inline constexpr std::size_t kFixedOutputRecords = 0x05C0;
inline constexpr std::size_t kOptionOutputRecords = 0x05F0;
inline constexpr std::size_t kRemoteRecordSize = 3;
inline constexpr std::size_t kFixedInputRemote = 0x61B0;
inline constexpr std::size_t kOptionInputRemote = 0x61B9;
inline constexpr std::size_t kFixedOutputRemote = 0x61D0;
inline constexpr std::size_t kOptionOutputRemote = 0x61E2;

// One port: fixed port `index` of its direction, or option port `index` (0..5).
struct Port {
  PortDirection direction;
  bool option;
  int index;
  bool operator==(const Port&) const = default;
};

int FixedPortCount(PortDirection d);
// The most rows a grid of the direction can have (every option port set to it).
int MaxPortRows(PortDirection d);
// The direction option port k is set to, or nothing when it is unused.
std::optional<PortDirection> OptionPortDirection(const ImageStore& image, int k);
// Rows of the direction's grid: its fixed ports and the option ports set to it.
int PortRowCount(const ImageStore& image, PortDirection d);
// The port shown in a row of the direction's grid, or nothing past its last row.
std::optional<Port> PortOfRow(const ImageStore& image, PortDirection d, int row);

// The name of a port: "Input 1".."Input 3", "Output 1".."Output 5" for the
// fixed ports, "Option Port 1".."Option Port 6" for the option ports.
TextNo PortName(const Port& port);
// The name of the port in a row of the direction's grid; empty past the last row.
std::string PortRowTitle(const ImageStore& image, PortDirection d, int row);

// Where a port's data lie (main block).
std::size_t InputGroupOffset(const Port& input);
std::size_t OutputRecordOffset(const Port& output);
std::size_t RemoteRecordOffset(const Port& port);

// The function an output record's byte 0 names: blank (space) and the output
// functions, in list order. A byte not in the table is no known function.
struct OutputFunction {
  std::uint8_t code;
  TextNo name;
};
inline constexpr std::uint8_t kNoOutputFunction = ' ';
std::span<const OutputFunction> OutputFunctions();
const OutputFunction* FindOutputFunction(std::uint8_t code);

// Byte 1 of an output record: 0 is one polarity (text 962), any other value
// the other (text 961; 0xFF is the value stored for it).
inline constexpr std::size_t kPolarityByte = 1;
TextNo PolarityName(std::uint8_t polarity);

// An input has a function while word 0 of its chain is not blank; an output
// while byte 0 of its record is a known output function other than blank (a
// blank 0xFF record has none).
bool PortHasFunction(const ImageStore& image, const Port& port);

}  // namespace zmp
