// A drop-down list that is chosen from by typing: the keys typed so far
// select the first entry that starts with all of them ("Channel 12", space
// included, selects "Channel 12", not "Channel 1"), Backspace takes the last
// key back, Escape puts back the entry the typing started from. The typed
// choice is reported (activated) only when the list is left, so a grid or a
// form stores it once, or not at all after Escape.
#pragma once

#include <QComboBox>
#include <QString>

namespace zmp {

class TypeAheadComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TypeAheadComboBox(QWidget* parent = nullptr);
  // The keys typed since the list was last set or left.
  const QString& Typed() const { return typed_; }
  // True while a typed choice has not been reported yet.
  bool HasTypedChoice() const { return typing_; }
  // Puts back the entry the typing started from (nothing to report then).
  void CancelTyping();
  // Starts afresh: what was typed is forgotten, the choice stays.
  void ForgetTyping();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void showPopup() override;

 private:
  void SelectTyped();

  QString typed_;
  bool typing_ = false;  // a typed choice not yet reported
  int from_ = -1;        // the entry before typing began
  bool selecting_ = false;
};

}  // namespace zmp
