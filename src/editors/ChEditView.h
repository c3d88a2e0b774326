// The channel edit form: every field of one channel, laid out from the
// channel field table, each control filled from the working image when the
// channel is shown and stored back when the user changes it.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

#include "app/HelpTopics.h"
#include "editors/ChannelStore.h"
#include "editors/EditorDocument.h"

class QLabel;
class QPushButton;

namespace zmp {

class SpinEdit;

class CChEditView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kCloseId = 1011;
  static constexpr int kHelpId = 111;
  static constexpr int kHelpContext = help::kChannelEdit;

  explicit CChEditView(EditorDocument& doc, QWidget* parent = nullptr);
  ~CChEditView() override;

  // The channel the form shows next (0-based); open forms switch to it.
  static void ShowChannel(int channel);

  int Channel() const { return channel_; }
  void SetChannel(int channel);
  // Fills every control from the working image.
  void Load();
  // The value control of a field row (object name "ctl<value id>").
  QWidget* ValueControl(int field) const { return controls_[static_cast<std::size_t>(field)]; }

 signals:
  void HelpRequested(int context);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void Build();
  void CommitText(int field, const QString& text);
  void CommitValue(int field, long value);
  void Finish(StoreStatus s);
  QString ShownText(int field) const;
  bool AnyListOpen() const;
  void StepChannel(bool up);

  EditorDocument& doc_;
  ChannelStore store_;
  int channel_ = 0;
  std::array<QWidget*, chfield::kCount> controls_{};
  std::array<QLabel*, chfield::kCount> labels_{};
  std::array<QString, chfield::kCount> loaded_{};
  QPushButton* close_ = nullptr;
  QPushButton* help_ = nullptr;
  bool loading_ = false;
};

}  // namespace zmp
