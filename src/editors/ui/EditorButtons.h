// The Close and Help buttons at the foot of an editor window. Close, and
// Escape in any form the buttons serve, closes the editor through the
// document. Help asks for the editor's page of the guide; F1 in a form asks
// for the entry of its control, or the editor's page when the control has none.
#pragma once

#include <QHBoxLayout>
#include <QString>
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

  // requestHelp emits the view's HelpRequested with a target of the guide
  // ("page.html#anchor"); helpContext is the window's own help context (0:
  // the top of the editor's reference page).
  EditorButtons(QWidget& view, EditorDocument& doc, EditorKind kind, int helpContext,
                std::function<void(const QString&)> requestHelp);

  // Escape and F1 of the form, and Enter on the buttons (a click, not a Tab).
  void Serve(SettingsForm& form);
  // A help request of a grid or another control: its target or the editor's.
  void RequestHelp(const QString& target) const { requestHelp_(target.isEmpty() ? target_ : target); }
  const QString& Target() const { return target_; }

  QPushButton* Close() const { return close_; }
  QPushButton* Help() const { return help_; }

 private:
  EditorDocument& doc_;
  EditorKind kind_;
  QString target_;
  std::function<void(const QString&)> requestHelp_;
  QPushButton* close_;
  QPushButton* help_;
};

}  // namespace zmp
