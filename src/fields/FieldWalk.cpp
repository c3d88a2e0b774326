#include "fields/FieldWalk.h"

namespace zmp {

bool TableApplies(const FieldTable& table, const ImageStore& image) {
  return table.shown == nullptr || table.shown(image);
}

bool TableShown(const FieldTable& table, const ImageStore& image) {
  return !table.hidden && TableApplies(table, image);
}

bool RowListed(const FieldTable& table, const ImageStore& image, int row) {
  if (table.listMissingRows) return row >= 0 && row < table.rows;
  return RowStart(table, image, row).has_value();
}

std::string FieldKey(const EditorModule& module, const FieldTable& table, const FieldDecl& decl, int row) {
  std::string key;
  key.reserve(module.key.size() + table.key.size() + decl.key.size() + 12);  // "[nnnnn].", '.' and '.'
  key += module.key;
  if (table.rows > 1) {
    // Appended piece by piece (GCC 12 at -O2 warns falsely on concatenated temporaries).
    key += '[';
    key += std::to_string(row + 1);
    key += ']';
  }
  key += '.';
  if (!table.key.empty()) {
    key += table.key;
    key += '.';
  }
  key += decl.key;
  return key;
}

namespace {

// Which instances a walk visits: the listed ones (shown tables, listed rows),
// or every one that lies in the image (hidden tables too, existing rows).
enum class Walk { Listed, InImage };

// The walk itself: visit(module, table, decl, row) for every instance of
// every field that holds a value.
template <class Visit>
void WalkFields(ModuleList modules, const ImageStore& image, Walk walk, Visit visit) {
  for (const EditorModule* module : modules) {
    for (const FieldTable& table : module->tables) {
      if (walk == Walk::Listed ? !TableShown(table, image) : !TableApplies(table, image)) continue;
      for (int row = 0; row < table.rows; ++row) {
        if (walk == Walk::Listed ? !RowListed(table, image, row) : !RowStart(table, image, row)) continue;
        for (const FieldDecl& decl : table.fields) {
          if (!decl.HasValue() || decl.key.empty()) continue;
          visit(*module, table, decl, row);
        }
      }
    }
  }
}

void VisitInstances(ModuleList modules, const ImageStore& image, Walk walk,
                    const std::function<void(const FieldInstance&)>& visit) {
  WalkFields(modules, image, walk,
             [&](const EditorModule& module, const FieldTable& table, const FieldDecl& decl, int row) {
               visit(FieldInstance{&module, FieldRef{&table, &decl, row}, FieldKey(module, table, decl, row)});
             });
}

}  // namespace

void ForEachField(ModuleList modules, const ImageStore& image,
                  const std::function<void(const FieldInstance&)>& visit) {
  VisitInstances(modules, image, Walk::Listed, visit);
}

void ForEachFieldInImage(ModuleList modules, const ImageStore& image,
                         const std::function<void(const FieldInstance&)>& visit) {
  VisitInstances(modules, image, Walk::InImage, visit);
}

std::size_t CountFields(ModuleList modules, const ImageStore& image) {
  std::size_t count = 0;
  WalkFields(modules, image, Walk::Listed,
             [&](const EditorModule&, const FieldTable&, const FieldDecl&, int) { ++count; });
  return count;
}

namespace {

// The row part of a key after its editor's key: "[n]" and what follows it.
struct RowPart {
  int number = 0;
  std::string_view after;
};

std::optional<RowPart> ReadRowPart(std::string_view r) {
  if (!r.starts_with('[')) return std::nullopt;
  const auto close = r.find(']');
  if (close == std::string_view::npos || close < 2) return std::nullopt;
  int n = 0;
  bool digits = true;
  for (char c : r.substr(1, close - 1)) {
    if (c < '0' || c > '9' || n > 100000) digits = false;
    else n = n * 10 + (c - '0');
  }
  if (!digits || n < 1) return std::nullopt;
  return RowPart{n, r.substr(close + 1)};
}

// Keys are parsed rather than searched, so that a grid row that does not
// exist yet (an empty channel) can still be named. `shown` says which tables
// take part. The row part is read once for all tables of an editor (the
// multi-table editor has thirty).
template <class Shown>
std::optional<FieldInstance> ParseKey(ModuleList modules, std::string_view key, Shown shown) {
  for (const EditorModule* module : modules) {
    // What follows an editor's key is a row part or a dot: the cheap test first.
    const std::size_t n = module->key.size();
    if (key.size() <= n || (key[n] != '[' && key[n] != '.') || !key.starts_with(module->key)) continue;
    const std::string_view rest = key.substr(module->key.size());
    const std::optional<RowPart> numbered = ReadRowPart(rest);
    for (const FieldTable& table : module->tables) {
      std::string_view r = rest;
      int row = 0;
      if (table.rows > 1) {
        if (!numbered || numbered->number > table.rows) continue;
        row = numbered->number - 1;
        r = numbered->after;
      }
      if (!r.starts_with('.')) continue;
      r.remove_prefix(1);
      if (!table.key.empty()) {
        if (r.size() <= table.key.size() || r[table.key.size()] != '.' || !r.starts_with(table.key)) continue;
        r.remove_prefix(table.key.size() + 1);
      }
      if (!shown(table)) continue;
      for (const FieldDecl& decl : table.fields) {
        if (decl.key != r || !decl.HasValue()) continue;
        return FieldInstance{module, FieldRef{&table, &decl, row}, std::string(key)};
      }
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<FieldInstance> FindField(ModuleList modules, const ImageStore& image, std::string_view key) {
  auto f = ParseKey(modules, key, [&](const FieldTable& t) { return TableShown(t, image); });
  if (f && !RowListed(*f->ref.table, image, f->ref.row)) return std::nullopt;
  return f;
}

std::optional<FieldInstance> NameField(ModuleList modules, std::string_view key) {
  return ParseKey(modules, key, [](const FieldTable& t) { return !t.hidden; });
}

}  // namespace zmp
