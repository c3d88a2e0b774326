// The "Network Information" and "Factory Reset" dialogs of the Tools menu.
// Both open a connection with the same opening sequence as the read and
// write of the data image.
#pragma once

#include <QDialog>

#include "service/BusyDialog.h"
#include <string>

#include "data/ModelInfo.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zmp {

class RepeaterLink;
class ServiceCommands;

// Port at 9600, connection, model and version check against expected, access
// code, speed change. 0, or 1 after its one message.
int OpenServiceConnection(RepeaterLink& link, ServiceCommands& svc, const ModelRecord& expected,
                          QWidget* owner);

class CNetworkInfoDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr std::size_t kAddressSize = 17;  // 16 characters and a terminator
  CNetworkInfoDlg(RepeaterLink& link, const ModelRecord& expected, bool demo, QWidget* parent = nullptr);
  // The read sequence; the dialog is shown only when it returns 0.
  int ReadAddress();
  std::string Address() const;
  QLabel* AddressLabel() const { return address_; }

 signals:
  void HelpRequested();

 private:
  RepeaterLink& link_;
  ModelRecord expected_;
  bool demo_;
  char buffer_[kAddressSize] = {};
  QLabel* address_;
};

class CFactoryResetDlg : public CBusyDialog {
  Q_OBJECT
 public:
  CFactoryResetDlg(RepeaterLink& link, const ModelRecord& expected, bool demo, QWidget* parent = nullptr);
  QProgressBar* Progress() const { return progress_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  // OK: the confirmation, then the reset run.
  void OnOk();
  // The reset run: 0, 1 (failure, reported) or 2 (the connection did not close).
  int RunReset();

 private:
  void Advance();
  RepeaterLink& link_;
  ModelRecord expected_;
  bool demo_;
  QProgressBar* progress_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QTimer* tick_;
};

}  // namespace zmp
