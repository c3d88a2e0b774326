#include "fields/ImageDiff.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace zmp {

namespace {

std::string Hex(std::size_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04zX", v);
  return buf;
}

// The same bytes seen by two editors are one field to compare.
using PlaceKey = std::tuple<int, std::size_t, std::size_t, int>;
// Bytes of the four blocks, one flag each.
using Coverage = std::array<std::vector<bool>, 4>;

std::optional<PlaceKey> PlaceOf(const std::optional<FieldLocation>& where) {
  if (!where) return std::nullopt;
  return PlaceKey{static_cast<int>(where->block), where->offset, where->length, where->bit.value_or(-1)};
}

// Walk order of an instance: module, table, row, field.
using WalkOrder = std::array<std::size_t, 4>;

WalkOrder OrderOf(ModuleList modules, const FieldInstance& f) {
  const auto module = std::find(modules.begin(), modules.end(), f.module) - modules.begin();
  const auto table = f.ref.table - f.module->tables.data();
  const auto field = f.ref.decl - f.ref.table->fields.data();
  return {static_cast<std::size_t>(module), static_cast<std::size_t>(table), static_cast<std::size_t>(f.ref.row),
          static_cast<std::size_t>(field)};
}

struct UnionEntry {
  FieldInstance field;
  bool inA = false;
  bool inB = false;
};

std::string Shown(const std::string& text) { return text.empty() ? "(empty)" : text; }

void Cover(Coverage& c, const std::optional<FieldLocation>& where) {
  if (!where) return;
  auto& bits = c[static_cast<std::size_t>(where->block)];
  const std::size_t end = std::min(bits.size(), where->offset + std::max<std::size_t>(where->length, 1));
  for (std::size_t i = where->offset; i < end; ++i) bits[i] = true;
}

}  // namespace

ImageDiff DiffImages(ModuleList modules, const ImageStore& a, const ImageStore& b) {
  std::map<WalkOrder, UnionEntry> listed;
  ForEachField(modules, a, [&](const FieldInstance& f) {
    auto& e = listed[OrderOf(modules, f)];
    e.field = f;
    e.inA = true;
  });
  ForEachField(modules, b, [&](const FieldInstance& f) {
    auto& e = listed[OrderOf(modules, f)];
    if (!e.inA) e.field = f;
    e.inB = true;
  });

  ImageDiff diff;
  Coverage covered;
  for (BlockId block : kAllBlocks) covered[static_cast<std::size_t>(block)].assign(BlockSize(block), false);
  for (const EditorModule* m : modules)
    for (const auto& [offset, length] : m->owns) Cover(covered, FieldLocation{BlockId::Main, offset, length, {}});

  std::set<std::pair<std::optional<PlaceKey>, std::optional<PlaceKey>>> reported;
  for (auto& [order, e] : listed) {
    const FieldRef& ref = e.field.ref;
    const auto whereA = e.inA ? LocateField(ref, a) : std::nullopt;
    const auto whereB = e.inB ? LocateField(ref, b) : std::nullopt;
    Cover(covered, whereA);
    Cover(covered, whereB);
    std::string textA = e.inA ? ShowField(ref, a).text : std::string();
    std::string textB = e.inB ? ShowField(ref, b).text : std::string();
    if (textA == textB) continue;
    const auto places = std::make_pair(PlaceOf(whereA), PlaceOf(whereB));
    if ((places.first || places.second) && !reported.insert(places).second) continue;
    diff.fields.push_back({std::move(e.field), std::move(textA), std::move(textB)});
  }

  for (BlockId block : kAllBlocks) {
    const auto bytesA = a.Block(block).span();
    const auto bytesB = b.Block(block).span();
    const auto& inside = covered[static_cast<std::size_t>(block)];
    std::optional<ByteRange> open;
    for (std::size_t i = 0; i < bytesA.size(); ++i) {
      const bool differs = bytesA[i] != bytesB[i] && !inside[i];
      if (differs && open && open->last + 1 == i) {
        open->last = i;
      } else if (differs) {
        if (open) diff.outside.push_back(*open);
        open = ByteRange{block, i, i};
      }
    }
    if (open) diff.outside.push_back(*open);
  }
  return diff;
}

std::string DiffRowName(const FieldInstance& f) {
  std::string name(f.module->key);
  if (!f.ref.table->key.empty()) name += "." + std::string(f.ref.table->key);
  if (f.ref.table->rows > 1) name += " " + std::to_string(f.ref.row + 1);
  return name;
}

std::string DiffLine(const FieldDifference& d) {
  return DiffRowName(d.field) + " / " + FieldLabel(*d.field.ref.decl) + ": " + Shown(d.textA) + " → " + Shown(d.textB);
}

std::string ByteRangeText(const ByteRange& r) {
  std::string out = std::string(BlockName(r.block)) + " " + Hex(r.first);
  if (r.last != r.first) out += ".." + Hex(r.last);
  return out;
}

std::string DiffText(const ImageDiff& diff) {
  std::string out;
  for (const FieldDifference& d : diff.fields) out += DiffLine(d) + "\n";
  if (!diff.outside.empty()) out += "bytes outside every field:\n";
  for (const ByteRange& r : diff.outside) out += "  " + ByteRangeText(r) + "\n";
  return out;
}

}  // namespace zmp
