#include "fields/ImageCheck.h"

#include <set>
#include <tuple>

#include "fields/References.h"

namespace zmp {

namespace {

// Every instance in the image, hidden tables too, each place once.
template <class Visit>
void ForEachPlace(ModuleList modules, const ImageStore& image, Visit visit) {
  std::set<std::tuple<int, std::size_t, std::size_t, int>> seen;
  ForEachFieldInImage(modules, image, [&](const FieldInstance& f) {
    if (const auto where = LocateField(f.ref, image)) {
      const auto place =
          std::make_tuple(static_cast<int>(where->block), where->offset, where->length, where->bit.value_or(-1));
      if (!seen.insert(place).second) return;
    }
    visit(f);
  });
}

}  // namespace

std::vector<ImageProblem> CheckImage(ModuleList modules, const ImageStore& image) {
  std::vector<ImageProblem> out;
  ForEachPlace(modules, image, [&](const FieldInstance& f) {
    if (auto reason = FieldProblem(f.ref, image)) out.push_back({f, ShowField(f.ref, image).text, std::move(*reason)});
  });
  return out;
}

FixOutcome FixImage(ModuleList modules, ImageStore& image) {
  FixOutcome outcome;
  // A fix may release what named the old value, or make a value fit again:
  // check again until nothing more can be fixed.
  for (int round = 0; round < 4; ++round) {
    bool changed = false;
    for (const ImageProblem& p : CheckImage(modules, image)) {
      const std::string was = ShowField(p.field.ref, image).text;
      bool fixed = false;
      const auto released = ChangeAndRelease(modules, image, [&] { fixed = FixField(p.field.ref, image); });
      if (!fixed) continue;
      changed = true;
      outcome.fixes.push_back({p.field.key, was, ShowField(p.field.ref, image).text});
      for (const ReleasedRef& r : released)
        outcome.fixes.push_back({FieldKey(*r.module, *r.ref.table, *r.ref.decl, r.ref.row), r.was,
                                 ShowField(r.ref, image).text});
    }
    if (!changed) break;
  }
  outcome.remaining = CheckImage(modules, image);
  return outcome;
}

}  // namespace zmp
