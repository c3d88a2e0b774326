// The "Model Information" dialog: model type, frequency band, Mode, option
// board and control standard of the image. On OK it works out the result code
// (ModelChange.h) and asks for confirmation where the change needs it; the
// main window applies the code.
#pragma once

#include <QDialog>

#include "data/ModelChange.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace zmp {

class CModelInfoDlg : public QDialog {
  Q_OBJECT
 public:
  // Control identifiers of the dialog template.
  static constexpr int kModelList = 1016, kFrequencyList = 1017, kModeList = 1300,
                       kOptionBoardList = 1019, kStandardList = 1022;

  CModelInfoDlg(const ModelInfo& model, QWidget* parent = nullptr);

  // The lists by control identifier (tests and the help use them).
  QComboBox* List(int id) const;
  QLabel* Label(int id) const;
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

  // The selections now.
  ModelChoice Selection() const;
  // After the dialog was accepted: the result code.
  int Code() const { return code_; }

  // OK: decide, confirm when needed, close with the code (or stay open).
  void OnOk();

 signals:
  void HelpRequested();

 private:
  void FillFrequencies(std::uint16_t preferred);

  ModelChoice current_;
  QComboBox* model_;
  QComboBox* frequency_;
  QComboBox* mode_;
  QComboBox* optionBoard_;
  QComboBox* standard_;
  QLabel* modelLabel_;
  QLabel* frequencyLabel_;
  QLabel* modeLabel_;
  QLabel* optionBoardLabel_;
  QLabel* standardLabel_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* help_;
  int code_ = 0;
};

}  // namespace zmp
