// The field by field comparison of two images through the editors' field
// tables: every field whose shown text differs, in editor, table, row and
// field order, then the bytes that differ where no field of either image lies
// and no editor owns. The command-line diff, the benchmark and the Compare
// with Repeater window all use it. Standard library only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fields/FieldWalk.h"

namespace zmp {

// One field whose text differs: the instance (of a, or of b where a does not
// list it) and the text each image shows ("" where an image does not list it).
struct FieldDifference {
  FieldInstance field;
  std::string textA;
  std::string textB;
};

struct ByteRange {
  BlockId block = BlockId::Main;
  std::size_t first = 0;
  std::size_t last = 0;
};

struct ImageDiff {
  std::vector<FieldDifference> fields;
  // Bytes that differ where no field of either image lies and no editor owns.
  std::vector<ByteRange> outside;
  bool Empty() const { return fields.empty() && outside.empty(); }
};

// The same bytes seen by two editors (a grid cell and a form row) are
// compared once, under the first.
ImageDiff DiffImages(ModuleList modules, const ImageStore& a, const ImageStore& b);

// "channel 3" (editor key, table key, row as the user counts).
std::string DiffRowName(const FieldInstance& f);
// "channel 3 / RX Frequency: 146.500000 → 146.550000"; an empty text is "(empty)".
std::string DiffLine(const FieldDifference& d);
// "main 0x0256..0x0257", "main 0x0256" for one byte.
std::string ByteRangeText(const ByteRange& r);
// The field lines, then "bytes outside every field:" and one line per range.
std::string DiffText(const ImageDiff& diff);

}  // namespace zmp
