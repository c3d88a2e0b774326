#include "app/Prompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>

#include "ui/Messages.h"

namespace zmp {

namespace {
Prompts g_qtPrompts;
Prompts* g_prompts = nullptr;
}  // namespace

QString Prompts::OpenFileName(QWidget* owner, const QString& caption, const QString& folder,
                              const QString& filter) {
  return QFileDialog::getOpenFileName(owner, caption, folder, filter);
}

QString Prompts::SaveFileName(QWidget* owner, const QString& caption, const QString& suggestion,
                              const QString& filter) {
  // The overwrite question is the program's own (a language text), asked afterwards.
  return QFileDialog::getSaveFileName(owner, caption, suggestion, filter, nullptr,
                                      QFileDialog::DontConfirmOverwrite);
}

std::optional<QString> Prompts::Password(QWidget* owner, const QString& caption,
                                         const QString& label, int maxLength) {
  QInputDialog d(owner);
  d.setWindowTitle(caption);
  d.setLabelText(label);
  d.setTextEchoMode(QLineEdit::Password);
  d.setInputMode(QInputDialog::TextInput);
  const QString ok = QTx(26_txt), cancel = QTx(27_txt);
  if (!ok.isEmpty()) d.setOkButtonText(ok);
  if (!cancel.isEmpty()) d.setCancelButtonText(cancel);
  if (auto* edit = d.findChild<QLineEdit*>()) edit->setMaxLength(maxLength);
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return d.textValue().left(maxLength);
}

int Prompts::RunDialog(QDialog& dialog) { return dialog.exec(); }

Prompts& CurrentPrompts() { return g_prompts ? *g_prompts : g_qtPrompts; }
void SetPrompts(Prompts* prompts) { g_prompts = prompts; }

}  // namespace zmp
