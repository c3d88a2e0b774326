// The 5-tone editor: the settings form over the five tabs, Close and Help,
// and the vendor tone button on the first tab, which opens the vendor tone
// editor.
#pragma once

#include "editors/ui/ModuleView.h"

namespace zmp {

class CFiveToneView : public ModuleView {
  Q_OBJECT
 public:
  explicit CFiveToneView(EditorDocument& doc, QWidget* parent = nullptr);
};

}  // namespace zmp
