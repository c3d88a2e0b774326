// Reading an image text (the YAML of zmp318t-cli export) into a flat list of
// values, before anything is applied to an image. Everything that is not the
// shape an export has is refused here, with its line: more than one
// document, lists, tags, keys that are not plain names, a key without a
// value, a key twice in one mapping or a field set twice, nesting deeper than
// editor / table / row / field, aliases that refer to the mapping they stand
// in or expand beyond a bound, and a header without its numbers. Reading
// takes time in proportion to the text, whatever it holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/ImageStore.h"

namespace zmp::cli {

// One value of an image text: the field key it sets ("channel[3].rx_frequency"
// for editors: channel: 3: rx_frequency:), its text and the line of its key.
struct TextEntry {
  std::string key;
  std::string text;
  int line = 0;
};

// The header of an image text: the format and the model it was made of.
struct TextHeader {
  long format = 0;
  std::string model;  // the caption, for people; the numbers decide
  long modelIndex = 0;
  long bandWord = 0;
  int formatLine = 0;
  int modelLine = 0;  // of model_index
};

// Bytes of the raw section: what no field of the text holds, as it was.
struct RawBytes {
  BlockId block = BlockId::Main;
  std::size_t offset = 0;
  std::vector<std::uint8_t> bytes;
  int line = 0;
};

struct ImageText {
  TextHeader header;
  std::vector<TextEntry> entries;  // in the order of the text
  std::vector<RawBytes> raw;       // in the order of the text
};

// The raw section's text of bytes: two hex digits a byte, separated by
// spaces, a run of one byte as "FF*960".
std::string RawBytesText(std::span<const std::uint8_t> bytes);

struct ImageTextRead {
  bool ok = false;
  std::string message;  // why not: "line N: ..."
  ImageText text;
};

// At most this many values (alias expansions counted): an export of a full
// image holds about 2,200 and a raw section at most a few thousand.
inline constexpr std::size_t kMostTextValues = 20'000;

ImageTextRead ReadImageText(std::string_view yaml);

// Text for a message on one line: control characters written as \n, \t or
// \xNN (other bytes, UTF-8 too, as they are), cut after limit characters with "…".
std::string Printable(std::string_view text, std::size_t limit = 60);

}  // namespace zmp::cli
