// The optional features editor: the settings form over the feature pages
// (pages 2-4 only on the variants that have them), Close and Help, and the
// data password entry behind its button.
#pragma once

#include <QDialog>
#include <QPointer>

#include "editors/ui/ModuleView.h"

namespace zmp {

class FilterEdit;

// Entry of the data password: up to six digits; empty means no password.
class DataPasswordDialog : public QDialog {
  Q_OBJECT
 public:
  DataPasswordDialog(const QString& current, QWidget* parent);
  QString Password() const;
  FilterEdit* Edit() const { return edit_; }

 private:
  FilterEdit* edit_;
};

class CFeatureView : public ModuleView {
  Q_OBJECT
 public:
  explicit CFeatureView(EditorDocument& doc, QWidget* parent = nullptr);

  // Opens the password entry (as the button does); the entry is stored when
  // it is accepted.
  void EditDataPassword();
  // The open password entry, or nullptr.
  DataPasswordDialog* PasswordDialog() const { return passwordDialog_; }

 private:
  void StorePassword(const QString& text);

  EditorDocument& doc_;
  QPointer<DataPasswordDialog> passwordDialog_;
};

}  // namespace zmp
