// Command-line options of zmp318t-sim: the image it starts with, the faults it
// injects and how it paces its line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zmp::sim {

// A fault that fires on every received message beginning with prefix.
struct PrefixFault {
  std::string prefix;
  std::string word;  // RST reason word (for --rst)
};

// What the simulator does wrong with the data messages of a unit read.
enum class DataFault {
  None,
  Overrun,    // the last data message of a unit carries 10 bytes beyond its end
  Empty,      // a data message with no bytes is sent first
  CountHigh,  // the count word says one byte more than the message carries
};

struct SimOptions {
  // Image.
  std::optional<int> model;             // --model INDEX (0..3)
  std::optional<std::uint16_t> band;    // --band WORD
  std::string load;                     // --load FILE
  std::string save;                     // --save FILE
  std::optional<std::uint32_t> pattern; // --pattern SEED: pseudo-random image contents

  // Answers.
  std::string firmware = "1.02";
  std::string dataFormat = "101";
  std::string modelCode;                // --model-code: VER answers this code instead
  std::optional<int> destination;       // --destination: VER answers this destination
  std::size_t chunk = 1500;             // data bytes per message of a unit read
  std::size_t traceSize = 1024;         // --trace-size
  std::string mac = "001B.2C3D.4E5F";
  std::string serial = "12345678";

  // Faults.
  std::vector<PrefixFault> rst;         // --rst REASON@PREFIX
  std::vector<PrefixFault> nack;        // --nack PREFIX
  std::vector<PrefixFault> silent;      // --silent PREFIX
  std::vector<PrefixFault> garbage;     // --garbage PREFIX
  std::vector<PrefixFault> hangup;      // --hangup PREFIX
  std::vector<PrefixFault> rstAfter;    // --rst-after REASON@PREFIX
  bool missedBaud = false;              // --missed-baud
  bool extraWords = false;              // --extra-words
  bool noFinAck = false;                // --no-fin-ack
  std::map<std::string, std::size_t> sizeOverride;  // --size UNIT=N
  bool badChecksum = false;
  bool noComp = false;
  bool bula = false;
  int lateAckMs = 0;                    // --late-ack MS[@PREFIX]
  std::vector<std::string> lateAckPrefixes;
  bool trunking = false;
  bool randomMask = false;
  DataFault dataFault = DataFault::None;

  // Line.
  bool pace = true;
  bool stats = false;
  std::string log;                      // --log FILE
};

// Parses argv. On failure returns nullopt and puts the reason into error;
// helpRequested is set for --help.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error,
                                          bool& helpRequested);
// The --help text.
const char* SimUsage();

}  // namespace zmp::sim
