#include "editors/ui/ModuleView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Messages.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

ModuleView::ModuleView(EditorDocument& doc, const EditorModule& module, QWidget* parent, int rowsPerColumn)
    : QWidget(parent), doc_(doc), module_(module) {
  setObjectName(QString::fromUtf8(module.key.data(), static_cast<qsizetype>(module.key.size())));
  setWindowTitle(QTx(module.title));
  std::vector<const FieldTable*> tables;
  for (const FieldTable& t : module.tables) tables.push_back(&t);
  form_ = new SettingsForm(doc_, tables, this, rowsPerColumn);
  const auto kind = static_cast<EditorKind>(module.kind);
  auto* close = new QPushButton(QTx(28_txt), this);
  close->setObjectName(QStringLiteral("ctl%1").arg(kCloseId));
  auto* help = new QPushButton(QTx(29_txt), this);
  help->setObjectName(QStringLiteral("ctl%1").arg(kHelpId));
  form_->AddOwnButton(close);
  form_->AddOwnButton(help);
  connect(close, &QPushButton::clicked, this, [this, kind] { doc_.CloseEditor(kind); });
  connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested(0); });
  connect(form_, &SettingsForm::CloseRequested, this, [this, kind] { doc_.CloseEditor(kind); });
  connect(form_, &SettingsForm::HelpRequested, this, &ModuleView::HelpRequested);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

}  // namespace zmp
