#include "fields/References.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "lang/LanguageTexts.h"

namespace zmp {

namespace {

// A referrer is the same across a change when the same declaration sits at
// the same bytes (a grid row may show another port after a direction change).
using Identity = std::tuple<const FieldDecl*, int, std::size_t>;
Identity IdentityOf(const Referrer& r) {
  return {r.ref.decl, static_cast<int>(r.where.block), r.where.offset};
}

bool HasReferrers(const FieldTable& table) {
  return std::any_of(table.fields.begin(), table.fields.end(), [](const FieldDecl& d) { return d.refers != nullptr; });
}

template <class Visit>
void ForEachReferrer(ModuleList modules, const ImageStore& image, Visit visit) {
  for (const EditorModule* module : modules) {
    for (const FieldTable& table : module->tables) {
      if (!HasReferrers(table) || !TableApplies(table, image)) continue;
      for (int row = 0; row < table.rows; ++row) {
        if (!RowStart(table, image, row)) continue;
        for (const FieldDecl& decl : table.fields) {
          if (!decl.refers) continue;
          const FieldRef ref{&table, &decl, row};
          const auto where = LocateField(ref, image);
          if (where) visit(module, ref, *where);
        }
      }
    }
  }
}

bool Missing(const Target& t) { return t.state == Target::State::Missing; }

}  // namespace

std::vector<Referrer> FindReferrers(ModuleList modules, const ImageStore& image) {
  std::vector<Referrer> out;
  ForEachReferrer(modules, image, [&](const EditorModule* m, const FieldRef& ref, const FieldLocation& where) {
    out.push_back({m, ref, where, ResolveTarget(ref, image)});
  });
  return out;
}

std::vector<ReleasedRef> ReleaseLostTargets(ModuleList modules, ImageStore& image,
                                            const std::vector<Referrer>& before) {
  // What each referrer named before the change, while its target was there.
  std::map<Identity, std::string> present;
  for (const Referrer& r : before)
    if (r.target.state == Target::State::Present) present.emplace(IdentityOf(r), r.target.name);
  std::vector<ReleasedRef> released;
  // Each round may take further targets away (an owner's function); every
  // release stores a none value, so the rounds end.
  for (bool more = true; more;) {
    more = false;
    for (const Referrer& r : FindReferrers(modules, image)) {
      const auto named = present.find(IdentityOf(r));
      if (!Missing(r.target) || named == present.end()) continue;
      if (!ReleaseField(r.ref, image)) continue;
      released.push_back({r.module, r.ref, named->second});
      more = true;
    }
  }
  return released;
}

std::vector<ReleasedRef> ChangeAndRelease(ModuleList modules, ImageStore& image,
                                          const std::function<void()>& change) {
  const std::vector<Referrer> before = FindReferrers(modules, image);
  change();
  return ReleaseLostTargets(modules, image, before);
}

std::string FieldCaption(const FieldTable& table, const FieldDecl& decl, int row, const ImageStore& image) {
  std::string title;
  if (table.rowTitle) title = table.rowTitle(image, row);
  else if (row >= 0 && static_cast<std::size_t>(row) < table.rowTitles.size())
    title = Tx(table.rowTitles[static_cast<std::size_t>(row)]);
  const std::string label = FieldLabel(decl);
  if (!title.empty()) return title + ": " + label;
  if (table.rows > 1) return label + " " + std::to_string(row + 1);
  return label;
}

}  // namespace zmp
