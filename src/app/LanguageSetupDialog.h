// The "Language File Setup" dialog: the languages of the language table that
// the language file holds, the loaded one selected. On OK a changed choice
// switches the user guide (from the next start, the texts too).
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace zmp {

class CLanguageSetupDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kLanguageList = 1042;

  // currentLanguageName is the name of the loaded language column.
  CLanguageSetupDlg(const QString& currentLanguageName, QWidget* parent = nullptr);

  QComboBox* List() const { return list_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* HelpButton() const { return help_; }
  // The identifier chosen (item data of the selection).
  int ChosenId() const;
  // True after OK when the choice differs from the language that was selected.
  bool Changed() const { return changed_; }

 signals:
  void HelpRequested();

 private:
  QComboBox* list_;
  QLabel* label_;
  QPushButton* ok_;
  QPushButton* help_;
  int initialIndex_ = -1;
  bool changed_ = false;
};

}  // namespace zmp
