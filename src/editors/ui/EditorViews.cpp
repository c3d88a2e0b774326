#include "editors/ui/EditorViews.h"

#include "editors/ui/ChEditView.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ui/ModuleView.h"
#include "editors/ui/MultiView.h"
#include "editors/ui/TestFreqView.h"
#include "editors/EditorModules.h"

namespace zmp {

const std::map<EditorKind, EditorFactory>& BuiltEditors() {
  static const std::map<EditorKind, EditorFactory> editors = [] {
    // Views of their own; every other declared editor is a form over its tables.
    std::map<EditorKind, EditorFactory> m{
        {EditorKind::ChInfo, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CChInfoView(d, p); }},
        {EditorKind::ChEdit, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CChEditView(d, p); }},
        {EditorKind::Multi, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CMultiView(d, p); }},
        {EditorKind::TestFreq, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CTestFreqView(d, p); }},
    };
    for (const EditorModule* module : EditorModules()) {
      const auto kind = static_cast<EditorKind>(module->kind);
      if (m.count(kind)) continue;
      m[kind] = [module](EditorDocument& d, QWidget* p) -> QWidget* { return new ModuleView(d, *module, p); };
    }
    return m;
  }();
  return editors;
}

}  // namespace zmp
