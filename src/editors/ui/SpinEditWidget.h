// A number edit with a spin button that follows the spin rule of every
// numeric setting: a step past the maximum wraps to the minimum and a step
// below the minimum wraps to the maximum; typed values are limited to the
// range and rounded down to the step.
#pragma once

#include <QSpinBox>

#include "fields/NumericRules.h"

namespace zmp {

class SpinEdit : public QSpinBox {
  Q_OBJECT
 public:
  explicit SpinEdit(QWidget* parent = nullptr, RangeRecord range = {0, 99, 1});
  void SetRange(RangeRecord range);
  const RangeRecord& Range() const { return range_; }
  // Shows a value without reporting it as the user's.
  void SetShownValue(int v);
  void stepBy(int steps) override;

 signals:
  // The user stepped the value or finished typing a different one.
  void UserChanged(int value);

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 private:
  RangeRecord range_;
  int shown_ = 0;
};

}  // namespace zmp
