// What a change of the image touched, so that a view reloads only when a
// field it shows is affected. Standard library only.
#pragma once

#include <cstddef>
#include <vector>

#include "fields/FieldCodec.h"

namespace zmp {

struct ChangedRange {
  BlockId block;
  std::size_t offset;
  std::size_t length;
};

struct ImageChange {
  bool everything = false;  // the image was replaced, or nobody said what changed
  std::vector<ChangedRange> ranges;

  static ImageChange Everything() { return {true, {}}; }
  bool Touches(BlockId block, std::size_t offset, std::size_t length) const;
};

// Whether a change touches any field of a table's row as it lies now (a row
// whose record moved is touched where it now lies).
bool TouchesRow(const ImageChange& change, const FieldTable& table, const ImageStore& image, int row);

}  // namespace zmp
