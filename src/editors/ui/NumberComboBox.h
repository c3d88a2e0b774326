// The drop-down list with an edit field for small numbers: "Off" (value 0),
// then first..last by a step. Used for the RAN settings (1 to 63).
#pragma once

#include <QComboBox>

namespace zmp {

class NumberComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit NumberComboBox(QWidget* parent = nullptr, int first = 1, int last = 63, int step = 1);

  void Fill(int first, int last, int step = 1);
  // 0 shows "Off"; a value outside the range shows empty text.
  void SetValue(long value);
  int First() const { return first_; }
  int Last() const { return last_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  static constexpr int kMaxDigits = 2;
  int first_ = 1;
  int last_ = 63;
};

}  // namespace zmp
