// The "Communication Port" dialog: twenty port buttons, enabled only for the
// ports that open and are serial ports (probed once the dialog is shown),
// each showing the device it stands for, and the link speed.
#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QRadioButton;
class QPushButton;

namespace zmp {

class RepeaterLink;

class CCommPortDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kPortCount = 20;
  static constexpr int kFirstPortId = 1013;  // COM1; COM20 is 1032
  static constexpr int kSpeedList = 1239;
  static constexpr int kSpeedLabel = 1238;

  explicit CCommPortDlg(RepeaterLink& link, QWidget* parent = nullptr);

  QRadioButton* PortButton(int port) const { return ports_[static_cast<std::size_t>(port - 1)]; }
  QComboBox* SpeedList() const { return speed_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  // Runs the probe now (it runs by itself once after the dialog is first shown).
  void Probe();
  bool Probed() const { return probed_; }

 signals:
  void HelpRequested();
  // The port indicator of the main window should be refreshed.
  void PortChanged();

 protected:
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void OnOk();
  RepeaterLink& link_;
  std::array<QRadioButton*, kPortCount> ports_{};
  QComboBox* speed_;
  QPushButton* ok_;
  QPushButton* cancel_;
  bool firstShow_ = true;
  bool probeAfterPaint_ = false;
  bool probed_ = false;
};

}  // namespace zmp
