#include "editors/HelpLinks.h"

#include <algorithm>

#include "editors/EditorKinds.h"
#include "editors/HelpTopics.h"
#include "editors/EditorModules.h"
#include "editors/FunctionCodes.h"

namespace zmp {

std::string ReferencePageFile(std::string_view moduleKey) {
  if (moduleKey == "channel") return "channel-information.html";
  std::string file(moduleKey);
  std::replace(file.begin(), file.end(), '_', '-');
  return file + ".html";
}

namespace {

std::string ReferenceTarget(const EditorModule& m, std::string_view anchor) {
  return "reference/" + ReferencePageFile(m.key) + "#" + std::string(anchor);
}

// The context of the editors' fields: the first module that declares it and
// the one field that carries it (nullptr when several do).
std::optional<std::string> FieldContextTarget(int context) {
  const EditorModule* module = nullptr;
  const FieldDecl* field = nullptr;
  for (const EditorModule* m : EditorModules())
    for (const FieldTable& table : m->tables)
      for (const FieldDecl& d : table.fields) {
        if (d.helpContext != context || &d == field) continue;
        if (!module) {
          module = m;
          field = &d;
        } else if (field && d.key != field->key) {
          field = nullptr;
        }
      }
  if (!module) return std::nullopt;
  return ReferenceTarget(*module, field ? field->key : kPageTopAnchor);
}

}  // namespace

std::optional<std::string> HelpTargetOf(int context) {
  if (context == 0) return std::nullopt;
  for (const HelpTopic& t : HelpTopics())
    if (t.context == context) return std::string(t.target);
  if (auto target = FieldContextTarget(context)) return target;
  // The key assignment page lists the functions a key can have.
  const EditorModule* keys = ModuleOf(static_cast<int>(EditorKind::Key));
  for (const FunctionEntry& f : FunctionTable())
    if (keys && f.helpContext == context) return ReferenceTarget(*keys, kPageTopAnchor);
  return std::nullopt;
}

std::string AnchoredTargetOf(int context) {
  if (context == 0) return {};
  const auto target = HelpTargetOf(context);
  if (!target || SplitHelpTarget(*target).anchor.empty()) return {};
  return *target;
}

std::string FieldHelpTarget(const FieldDecl& d) {
  // A context that leads only to the top of a page says less than the field's own entry.
  if (std::string t = AnchoredTargetOf(d.helpContext); !t.empty() && SplitHelpTarget(t).anchor != kPageTopAnchor)
    return t;
  for (const EditorModule* m : EditorModules())
    for (const FieldTable& table : m->tables)
      for (const FieldDecl& f : table.fields)
        if (&f == &d) return ReferenceTarget(*m, d.key);
  return {};
}

std::string EditorHelpTarget(int kind, int context) {
  if (std::string t = AnchoredTargetOf(context); !t.empty()) return t;
  if (const EditorModule* m = ModuleOf(kind))
    return ReferenceTarget(*m, kPageTopAnchor);
  return {};
}

}  // namespace zmp
