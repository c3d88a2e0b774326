#include "editors/ui/EditorButtons.h"

#include <QPushButton>

#include "ui/Messages.h"
#include "editors/HelpLinks.h"
#include "editors/ui/EditorDocument.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

namespace {
QPushButton* MakeButton(QWidget& view, TextNo text, int id) {
  auto* b = new QPushButton(QTx(text), &view);
  b->setObjectName(QStringLiteral("ctl%1").arg(id));
  return b;
}
}  // namespace

EditorButtons::EditorButtons(QWidget& view, EditorDocument& doc, EditorKind kind, int helpContext,
                             std::function<void(const QString&)> requestHelp)
    : doc_(doc),
      kind_(kind),
      target_(QString::fromStdString(EditorHelpTarget(static_cast<int>(kind), helpContext))),
      requestHelp_(std::move(requestHelp)),
      close_(MakeButton(view, 28_txt, kCloseId)),
      help_(MakeButton(view, 29_txt, kHelpId)) {
  addStretch(1);
  addWidget(close_);
  addWidget(help_);
  QObject::connect(close_, &QPushButton::clicked, close_, [this] { doc_.CloseEditor(kind_); });
  QObject::connect(help_, &QPushButton::clicked, help_, [this] { RequestHelp({}); });
}

void EditorButtons::Serve(SettingsForm& form) {
  form.AddOwnButton(close_);
  form.AddOwnButton(help_);
  QObject::connect(&form, &SettingsForm::CloseRequested, close_, [this] { doc_.CloseEditor(kind_); });
  QObject::connect(&form, &SettingsForm::HelpRequested, help_, [this](const QString& target) { RequestHelp(target); });
}

}  // namespace zmp
