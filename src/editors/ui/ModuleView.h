// The view of an editor that is nothing but its tables: a settings form over
// the module's tables (tabs when it has several), Close and Help. An editor
// declared in the module list gets this view unless it has one of its own.
#pragma once

#include <QWidget>

#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldFocus.h"
#include "fields/FieldTypes.h"

namespace zmp {

class SettingsForm;

class ModuleView : public QWidget, public FieldFocusView {
  Q_OBJECT
 public:
  // The form's fields are laid out in columns of at most rowsPerColumn rows
  // (0: the module's columnRows).
  ModuleView(EditorDocument& doc, const EditorModule& module, QWidget* parent = nullptr, int rowsPerColumn = 0);
  SettingsForm* Form() const { return form_; }
  const EditorModule& Module() const { return module_; }
  bool FocusField(const FieldRef& field) override;

 signals:
  void HelpRequested(const QString& target);

 private:
  EditorDocument& doc_;
  const EditorModule& module_;
  SettingsForm* form_ = nullptr;
};

}  // namespace zmp
