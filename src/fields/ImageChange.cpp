#include "fields/ImageChange.h"

namespace zmp {

bool ImageChange::Touches(BlockId block, std::size_t offset, std::size_t length) const {
  if (everything) return true;
  for (const ChangedRange& r : ranges)
    if (r.block == block && r.offset < offset + length && offset < r.offset + r.length) return true;
  return false;
}

bool TouchesRow(const ImageChange& change, const FieldTable& table, const ImageStore& image, int row) {
  if (change.everything) return true;
  for (const FieldDecl& decl : table.fields) {
    const auto loc = LocateField(FieldRef{&table, &decl, row}, image);
    if (loc && change.Touches(loc->block, loc->offset, loc->length)) return true;
  }
  // Choices and the row itself may depend on bytes outside the row (the
  // model record, the channel index): a row that is gone or a change in the
  // first 0x500 bytes of the main block counts as touching a table whose rows
  // or hooks may read them.
  if (!RowStart(table, image, row)) return true;
  // What its references name (and, for remote codes, their owners) may have changed.
  for (const FieldDecl& decl : table.fields)
    if (decl.refers)
      for (const BlockBytes& r : decl.refers->kind->reads)
        if (change.Touches(BlockId::Main, r.offset, r.length)) return true;
  bool dependsOnOthers = table.base.resolve != nullptr;
  for (const FieldDecl& decl : table.fields) dependsOnOthers = dependsOnOthers || decl.hooks != nullptr;
  return dependsOnOthers && change.Touches(BlockId::Main, 0, 0x500);
}

}  // namespace zmp
