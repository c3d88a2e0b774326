// The controls a settings form is built of, one per control kind of a field
// declaration. Each shows what the field codec gives it and reports what the
// user did (typed and left, picked, clicked, spun); the form commits that.
#pragma once

#include <QAbstractSpinBox>
#include <QString>

class QLineEdit;

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

}  // namespace zmp
