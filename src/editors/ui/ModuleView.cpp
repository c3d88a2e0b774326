#include "editors/ui/ModuleView.h"

#include <QVBoxLayout>

#include "ui/Messages.h"
#include "editors/ui/EditorButtons.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

ModuleView::ModuleView(EditorDocument& doc, const EditorModule& module, QWidget* parent, int rowsPerColumn)
    : QWidget(parent), doc_(doc), module_(module) {
  setObjectName(QString::fromUtf8(module.key.data(), static_cast<qsizetype>(module.key.size())));
  setWindowTitle(QTx(module.title));
  std::vector<const FieldTable*> tables;
  for (const FieldTable& t : module.tables) tables.push_back(&t);
  form_ = new SettingsForm(doc_, tables, this, rowsPerColumn ? rowsPerColumn : module.columnRows);
  auto* buttons = new EditorButtons(*this, doc_, static_cast<EditorKind>(module.kind), 0,
                                    [this](const QString& target) { emit HelpRequested(target); });
  buttons->Serve(*form_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

bool ModuleView::FocusField(const FieldRef& field) { return form_->FocusField(field); }

}  // namespace zmp
