// File dialogs, the password prompt and modal dialogs go through one
// replaceable object, so that tests answer them without anything being shown
// (message boxes have their own hook in Messages.h).
#pragma once

#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace zmp {

class Prompts {
 public:
  virtual ~Prompts() = default;
  // The chosen existing file, or empty on Cancel. filter is in Qt's form.
  virtual QString OpenFileName(QWidget* owner, const QString& caption, const QString& folder,
                               const QString& filter);
  // The chosen file (which may exist), or empty on Cancel.
  virtual QString SaveFileName(QWidget* owner, const QString& caption, const QString& suggestion,
                               const QString& filter);
  // A masked entry of at most maxLength characters; nothing on Cancel.
  virtual std::optional<QString> Password(QWidget* owner, const QString& caption,
                                          const QString& label, int maxLength);
  // Runs a filled dialog modally and returns its result (QDialog::Accepted or
  // Rejected).
  virtual int RunDialog(QDialog& dialog);
};

// The prompts in use; the Qt dialogs unless replaced.
Prompts& CurrentPrompts();
// Replaces them (nullptr restores the Qt dialogs). The caller keeps ownership.
void SetPrompts(Prompts* prompts);

}  // namespace zmp
