// The drop-down list with an edit field whose entries the field gives from
// the image (for the priority channel: "Off" and the channels that exist).
// The edit takes the characters of the field's input mode up to its maximum
// length; a picked entry or typed text is committed through the field, which
// may refuse it (a channel that does not exist).
#pragma once

#include <QComboBox>
#include <cstdint>
#include <vector>

#include "fields/FieldTypes.h"

namespace zmp {

class ChoiceComboBox : public QComboBox {
  Q_OBJECT
 public:
  ChoiceComboBox(QWidget* parent, std::uint8_t filterMode, int maxLength);

  // Refills the entries (stored value as item data) and shows text: the
  // entry with that text is selected, otherwise the text stands in the edit.
  void SetChoices(const std::vector<ShownChoice>& choices, const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  bool ShowsEntryText() const;

  std::uint8_t mode_;
  int maxLength_;
};

}  // namespace zmp
