#include "editors/ui/EditorViews.h"

#include "editors/ui/ChEditView.h"
#include "editors/ui/ChInfoView.h"

namespace zmp {

const std::map<EditorKind, EditorFactory>& BuiltEditors() {
  static const std::map<EditorKind, EditorFactory> editors = {
      {EditorKind::ChInfo, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CChInfoView(d, p); }},
      {EditorKind::ChEdit, [](EditorDocument& d, QWidget* p) -> QWidget* { return new CChEditView(d, p); }},
  };
  return editors;
}

}  // namespace zmp
