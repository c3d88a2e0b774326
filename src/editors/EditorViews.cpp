#include "editors/EditorViews.h"

namespace zmp {

const std::map<EditorKind, EditorFactory>& BuiltEditors() {
  static const std::map<EditorKind, EditorFactory> editors = {
      // {EditorKind::ChInfo, [](EditorDocument& d, QWidget* p) { return new CChInfoView(d, p); }},
  };
  return editors;
}

}  // namespace zmp
