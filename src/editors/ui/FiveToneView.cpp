#include "editors/ui/FiveToneView.h"

#include "editors/FiveToneFields.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

CFiveToneView::CFiveToneView(EditorDocument& doc, QWidget* parent) : ModuleView(doc, FiveToneModule(), parent) {
  connect(Form(), &SettingsForm::ButtonClicked, this, [&doc](const QString& key) {
    if (key == QLatin1String("vendor_tone")) doc.OpenEditor(EditorKind::Velmora);
  });
}

}  // namespace zmp
