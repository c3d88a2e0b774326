// The controls a settings form is built of, one per control kind of a field
// declaration. Each shows what the field codec gives it and reports what the
// user did (typed and left, picked, clicked, spun); the form commits that.
#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

#include "fields/FieldTypes.h"

namespace zmp {

class FilterEdit;

// A numeric edit with a spin button that shows the field's own text ("Off",
// empty, "2.5"): typing goes through the field's input filter, a spin step
// asks the form to step the stored value by the field's spin rule.
class FieldSpin : public QAbstractSpinBox {
  Q_OBJECT
 public:
  FieldSpin(QWidget* parent, std::uint8_t filterMode, int maxLength);
  void SetShownText(const QString& text);
  QString ShownText() const { return shown_; }
  QLineEdit* Edit() const { return lineEdit(); }
  void stepBy(int steps) override;

 signals:
  void Stepped(bool up);
  // Typing ended with a text that differs from the one shown.
  void TextCommitted(const QString& text);

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

 private:
  QString shown_;
};

// The spin half of an ordered list: no text, only the up and down buttons.
class StepButtons : public QAbstractSpinBox {
  Q_OBJECT
 public:
  explicit StepButtons(QWidget* parent);
  void stepBy(int steps) override;
  QSize sizeHint() const override;

 signals:
  void Stepped(bool up);

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
};

// An ordered list with a spin control (ControlKind::ListSpin): the entries
// with their position captions "1", "2", ...; the spin (or Ctrl+Up and
// Ctrl+Down in the list) moves the selected entry one place up or down.
class OrderedListSpin : public QWidget {
  Q_OBJECT
 public:
  explicit OrderedListSpin(QWidget* parent);
  void SetEntries(const QStringList& entries);
  QStringList Entries() const;
  int Selected() const;
  void Select(int index);
  QListWidget* List() const { return list_; }
  StepButtons* Spin() const { return spin_; }

 signals:
  // The user asked to move entry index one place towards the front (up) or back.
  void MoveRequested(int index, bool up);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QListWidget* list_;
  StepButtons* spin_;
};

// A push button with the field's value shown beside it (the data password).
class ValueButton : public QWidget {
  Q_OBJECT
 public:
  ValueButton(const QString& caption, QWidget* parent);
  QPushButton* Button() const { return button_; }
  QLabel* Value() const { return value_; }

 private:
  QPushButton* button_;
  QLabel* value_;
};

}  // namespace zmp
