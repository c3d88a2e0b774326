// The "Communication Port" dialog: twenty port buttons, enabled only for the
// ports that open and are serial ports (probed once the dialog is shown),
// each showing the device it stands for and the USB adapter behind it, the
// adapters that no port leads to (one can be mapped to a port), and the link
// speed.
#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QLabel;
class QListWidget;
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
  // The adapter shown beside a port ("" when none).
  QLabel* AdapterLabel(int port) const { return adapters_[static_cast<std::size_t>(port - 1)]; }
  // The adapters that no port leads to, the port to map one to, and Map.
  QListWidget* UnmappedList() const { return unmapped_; }
  QComboBox* MapPortList() const { return mapPort_; }
  QPushButton* MapButton() const { return map_; }
  QPushButton* RefreshButton() const { return refresh_; }
  // Runs the probe now (it runs by itself once after the dialog is first shown).
  void Probe();
  bool Probed() const { return probed_; }
  // Reads the adapters again and shows them beside the ports.
  void ShowAdapters();
  // Maps the selected unmapped adapter to the chosen port by its stable name;
  // false (the user was told) when it is no longer plugged in.
  bool MapSelectedAdapter();

 signals:
  void HelpRequested();
  // The port indicator of the main window should be refreshed.
  void PortChanged();
  // A port now stands for path (a stable adapter name); the settings keep it.
  void PortMapped(int port, const QString& path);

 protected:
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  void OnOk();
  RepeaterLink& link_;
  std::array<QRadioButton*, kPortCount> ports_{};
  std::array<QLabel*, kPortCount> devices_{};
  std::array<QLabel*, kPortCount> adapters_{};
  QListWidget* unmapped_;
  QLabel* noneUnmapped_;
  QComboBox* mapPort_;
  QPushButton* map_;
  QPushButton* refresh_;
  QComboBox* speed_;
  QPushButton* ok_;
  QPushButton* cancel_;
  bool firstShow_ = true;
  bool probeAfterPaint_ = false;
  bool probed_ = false;
};

}  // namespace zmp
