#include "editors/ui/EditorViews.h"

#include "editors/ui/BeatShiftView.h"
#include "editors/ui/CWIDView.h"
#include "editors/ui/ChEditView.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ui/FeatureView.h"
#include "editors/ui/FiveToneView.h"
#include "editors/ui/FormViews.h"
#include "editors/ui/KeyView.h"
#include "editors/ui/ModuleView.h"
#include "editors/ui/MultiView.h"
#include "editors/ui/TestFreqView.h"
#include "editors/EditorModules.h"

namespace zmp {

const std::map<EditorKind, EditorFactory>& BuiltEditors() {
  static const std::map<EditorKind, EditorFactory> editors = [] {
    // The views by their names; a declared editor without one opens as a form over its tables.
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
        {EditorKind::Velmora, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CVelmoraView(d, p); }},
        {EditorKind::FuncPort, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CFuncPortView(d, p); }},
        {EditorKind::Remote, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CRemoteView(d, p); }},
        {EditorKind::ScanInfo, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CScanInfoView(d, p); }},
        {EditorKind::Dtmf, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CDtmfView(d, p); }},
        {EditorKind::CWMes, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CCWMesView(d, p); }},
        {EditorKind::Emb, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CEmbView(d, p); }},
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
