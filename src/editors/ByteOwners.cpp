#include "editors/ByteOwners.h"

#include <algorithm>

namespace zmp {

namespace {
constexpr std::size_t Index(BlockId b) { return static_cast<std::size_t>(b); }
}  // namespace

ByteOwners::ByteOwners(ModuleList modules) : modules_(modules) {
  for (BlockId b : kAllBlocks) {
    module_[Index(b)].assign(BlockSize(b), -1);
    field_[Index(b)].assign(BlockSize(b), -1);
  }
}

void ByteOwners::Build(const ImageStore& image) {
  fields_.clear();
  for (BlockId b : kAllBlocks) {
    std::fill(module_[Index(b)].begin(), module_[Index(b)].end(), std::int16_t{-1});
    std::fill(field_[Index(b)].begin(), field_[Index(b)].end(), -1);
  }
  // Every instance that lies in the image: tables that take part for this
  // image, hidden ones too; rows that exist.
  ForEachFieldInImage(modules_, image, [this, &image](const FieldInstance& f) {
    const auto where = LocateField(f.ref, image);
    if (where && where->length > 0) fields_.push_back(OwnedField{f, *where});
  });
  // The first field on a byte names it, and its module owns it; a field an
  // editor shows comes before a hidden slot.
  auto mark = [this](std::size_t i) {
    const OwnedField& f = fields_[i];
    auto& fields = field_[Index(f.where.block)];
    auto& modules = module_[Index(f.where.block)];
    const auto module = static_cast<std::int16_t>(
        std::find(modules_.begin(), modules_.end(), f.field.module) - modules_.begin());
    const std::size_t end = std::min(fields.size(), f.where.offset + f.where.length);
    for (std::size_t at = f.where.offset; at < end; ++at) {
      if (fields[at] >= 0) continue;
      fields[at] = static_cast<std::int32_t>(i);
      modules[at] = module;
    }
  };
  for (bool hidden : {false, true})
    for (std::size_t i = 0; i < fields_.size(); ++i)
      if (fields_[i].Hidden() == hidden) mark(i);
  // Then the modules' own bytes that no field shows (the main block).
  auto& modules = module_[Index(BlockId::Main)];
  for (std::size_t m = 0; m < modules_.size(); ++m)
    for (const auto& [offset, length] : modules_[m]->owns)
      for (std::size_t at = offset; at < std::min(modules.size(), offset + length); ++at)
        if (modules[at] < 0) modules[at] = static_cast<std::int16_t>(m);
}

ByteOwner ByteOwners::At(BlockId block, std::size_t offset) const {
  const auto& modules = module_[Index(block)];
  if (offset >= modules.size()) return {};
  const std::int32_t f = field_[Index(block)][offset];
  return ByteOwner{modules[offset], f >= 0 ? &fields_[static_cast<std::size_t>(f)] : nullptr};
}

std::vector<const OwnedField*> ByteOwners::FieldsAt(BlockId block, std::size_t offset) const {
  std::vector<const OwnedField*> out;
  for (const OwnedField& f : fields_)
    if (f.where.block == block && offset >= f.where.offset && offset < f.where.offset + f.where.length)
      out.push_back(&f);
  return out;
}

}  // namespace zmp
