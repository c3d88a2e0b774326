// Which editor owns each byte of the data image, and which field lies there:
// the fields' locations in the image as it stands (channel records move as
// channels come and go), then each module's own byte ranges. A place that two
// editors show belongs to the first in the module list (the channel grid
// before the channel edit form), as the diff names it. Fields of hidden
// tables (slots no editor shows) colour their module's bytes but open nothing.
// Read-only: building the map never writes. Standard library only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fields/FieldWalk.h"

namespace zmp {

// One field instance as it lies in the image.
struct OwnedField {
  FieldInstance field;
  FieldLocation where;
  bool Hidden() const { return field.ref.table->hidden; }
};

struct ByteOwner {
  int module = -1;                      // index into the module list; -1: no editor
  const OwnedField* field = nullptr;    // nullptr: the module's own bytes, or none
};

class ByteOwners {
 public:
  explicit ByteOwners(ModuleList modules);
  ByteOwners(const ByteOwners&) = delete;
  ByteOwners& operator=(const ByteOwners&) = delete;

  // Walks the modules over the image as it stands now.
  void Build(const ImageStore& image);

  ModuleList Modules() const { return modules_; }
  ByteOwner At(BlockId block, std::size_t offset) const;
  // Every field that lies on the byte, in module-list order (bits of one
  // byte are several fields).
  std::vector<const OwnedField*> FieldsAt(BlockId block, std::size_t offset) const;
  const std::vector<OwnedField>& Fields() const { return fields_; }

 private:
  ModuleList modules_;
  std::vector<OwnedField> fields_;
  std::array<std::vector<std::int16_t>, 4> module_;  // per byte: module index or -1
  std::array<std::vector<std::int32_t>, 4> field_;   // per byte: first field index or -1
};

}  // namespace zmp
