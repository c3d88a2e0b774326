// The drop-down list with an edit field through which every editor edits a
// QT/DQT setting: "Off", the 39 QT tones and the 166 DQT codes, and typed
// values that the tone code rules tidy when they are stored.
#pragma once

#include <QComboBox>

#include "fields/ToneCode.h"

namespace zmp {

class ToneComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit ToneComboBox(QWidget* parent = nullptr);

  // Empties the list and adds "Off" and the 205 tones and codes, with the
  // decimal separator of the user.
  void Fill();
  // Shows a stored value: the item with its text, or the text in the edit field.
  void SetCode(ToneCode code);
  // The code of what the control shows.
  ToneCode Code() const { return TextToToneCode(currentText().toStdString()); }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
};

// Key rule shared by the editable combos: returns true when the key event is
// swallowed. filter gives the character to insert for a printable key.
bool FilterComboKey(QComboBox* box, QEvent* e, std::optional<char> (*filter)(char));

}  // namespace zmp
