#include "editors/ui/EditorViews.h"

#include "editors/ui/BeatShiftView.h"
#include "editors/ui/CWIDView.h"
#include "editors/ui/ChEditView.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ui/FeatureView.h"
#include "editors/ui/FiveToneView.h"
#include "editors/ui/KeyView.h"
#include "editors/ui/ModuleView.h"
#include "editors/ui/MultiView.h"
#include "editors/ui/TestFreqView.h"
#include "editors/EditorModules.h"

namespace zmp {

const std::map<EditorKind, EditorFactory>& BuiltEditors() {
  static const std::map<EditorKind, EditorFactory> editors = [] {
    // The editors with views of their own; every other editor of the module
    // list opens as the form over its tables (ModuleView).
    std::map<EditorKind, EditorFactory> m{
        {EditorKind::ChInfo, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CChInfoView(d, p); }},
        {EditorKind::ChEdit, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CChEditView(d, p); }},
        {EditorKind::CWID, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CCWIDView(d, p); }},
        {EditorKind::BeatShift, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CBeatShiftView(d, p); }},
        {EditorKind::Feature, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CFeatureView(d, p); }},
        {EditorKind::Key, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CKeyView(d, p); }},
        {EditorKind::Multi, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CMultiView(d, p); }},
        {EditorKind::TestFreq, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CTestFreqView(d, p); }},
        {EditorKind::FiveTone, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CFiveToneView(d, p); }},
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
