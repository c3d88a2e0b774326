#include "editors/HelpLinks.h"

#include <algorithm>

#include "editors/HelpTopics.h"
#include "editors/EditorModules.h"

namespace zmp {

std::string ReferencePageFile(std::string_view moduleKey) {
  if (moduleKey == "channel") return "channel-information.html";
  std::string file(moduleKey);
  std::replace(file.begin(), file.end(), '_', '-');
  return file + ".html";
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
        if (&f == &d) return "reference/" + ReferencePageFile(m->key) + "#" + std::string(d.key);
  return {};
}

std::string EditorHelpTarget(int kind, int context) {
  if (std::string t = AnchoredTargetOf(context); !t.empty()) return t;
  if (const EditorModule* m = ModuleOf(kind))
    return "reference/" + ReferencePageFile(m->key) + "#" + std::string(kPageTopAnchor);
  return {};
}

}  // namespace zmp
