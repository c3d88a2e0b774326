#include "editors/ui/FiveToneView.h"

#include "editors/FiveToneFields.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

namespace {
// The decode tab's auto reset rows stay together; repeater access starts the
// second column.
constexpr int kRowsPerColumn = 16;
}  // namespace

CFiveToneView::CFiveToneView(EditorDocument& doc, QWidget* parent)
    : ModuleView(doc, FiveToneModule(), parent, kRowsPerColumn) {
  connect(Form(), &SettingsForm::ButtonClicked, this, [&doc](const QString& key) {
    if (key == QLatin1String("vendor_tone")) doc.OpenEditor(EditorKind::Velmora);
  });
}

}  // namespace zmp
