// The channel edit form: every field of one channel, built from the channel
// edit form's field table. It shows the document's current channel and
// follows it; Page Up and Page Down step it.
#pragma once

#include <QWidget>
#include <string_view>

#include "editors/HelpTopics.h"
#include "editors/ChannelStore.h"
#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldFocus.h"

class QCheckBox;
class QPushButton;

namespace zmp {

class SettingsForm;

class CChEditView : public QWidget, public FieldFocusView {
  Q_OBJECT
 public:
  static constexpr int kTxHighPowerId = 1340;
  static constexpr int kHelpContext = help::kChannelEdit;

  explicit CChEditView(EditorDocument& doc, QWidget* parent = nullptr);
  ~CChEditView() override;

  // The channel the form shows next (0-based); open forms switch to it.
  static void ShowChannel(int channel);

  int Channel() const;
  void SetChannel(int channel);
  // Fills every control from the working image.
  void Load();
  // The value control of a field row (object name "ctl<value id>").
  QWidget* ValueControl(std::string_view key) const;
  SettingsForm* Form() const { return form_; }
  // Steps to the field's channel and focuses its control.
  bool FocusField(const FieldRef& field) override;

 signals:
  void HelpRequested(const QString& target);

 private:
  EditorDocument& doc_;
  SettingsForm* form_ = nullptr;
  QCheckBox* txHighPower_ = nullptr;
};

}  // namespace zmp
