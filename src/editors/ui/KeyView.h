// The key assignment editor: the grid of the six programmable keys (name,
// function) beside a picture of the repeater's front panel that marks the
// key the grid's current row edits.
#pragma once

#include <QWidget>

#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldFocus.h"

namespace zmp {

class EditGrid;
class SettingsForm;

// The front panel drawn with Qt: display, status lamps and the six keys
// with their names; the key being edited is highlighted.
class FrontPanel : public QWidget {
  Q_OBJECT
 public:
  explicit FrontPanel(QWidget* parent = nullptr);
  void SetCurrentKey(int k);
  int CurrentKey() const { return current_; }
  QSize sizeHint() const override { return {420, 170}; }
  QSize minimumSizeHint() const override { return {360, 150}; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  int current_ = -1;
};

class CKeyView : public QWidget, public FieldFocusView {
  Q_OBJECT
 public:

  explicit CKeyView(EditorDocument& doc, QWidget* parent = nullptr);
  EditGrid* Grid() const;
  SettingsForm* Form() const { return form_; }
  FrontPanel* Panel() const { return panel_; }
  bool FocusField(const FieldRef& field) override;

 signals:
  void HelpRequested(const QString& target);

 private:
  EditorDocument& doc_;
  SettingsForm* form_ = nullptr;
  FrontPanel* panel_ = nullptr;
};

}  // namespace zmp
