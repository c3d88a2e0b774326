// The Close and Help buttons at the foot of an editor window. Close, and
// Escape in any form the buttons serve, closes the editor through the
// document. Help asks for the editor's help context; F1 in a form asks for
// the context of its control, or the editor's when the control has none.
#pragma once

#include <QHBoxLayout>
#include <functional>

#include "editors/EditorKinds.h"

class QPushButton;

namespace zmp {

class EditorDocument;
class SettingsForm;

class EditorButtons : public QHBoxLayout {
 public:
  static constexpr int kCloseId = 1011;
  static constexpr int kHelpId = 111;

  // requestHelp emits the view's HelpRequested; helpContext 0 leaves the
  // choice of the page to the main frame.
  EditorButtons(QWidget& view, EditorDocument& doc, EditorKind kind, int helpContext,
                std::function<void(int)> requestHelp);

  // Escape and F1 of the form, and Enter on the buttons (a click, not a Tab).
  void Serve(SettingsForm& form);
  // A help request of a grid or another control: its context or the editor's.
  void RequestHelp(int context) const { requestHelp_(context ? context : helpContext_); }

  QPushButton* Close() const { return close_; }
  QPushButton* Help() const { return help_; }

 private:
  EditorDocument& doc_;
  EditorKind kind_;
  int helpContext_;
  std::function<void(int)> requestHelp_;
  QPushButton* close_;
  QPushButton* help_;
};

}  // namespace zmp
