// The five beat-shift settings of the channel that the channel edit form
// shows. Like the CW ID view it keeps the channel number only and closes with
// the channel edit form; the boxes are enabled while the channel exists and
// its beat shift is on, and each click writes its one bit.
#pragma once

#include <QWidget>

#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldFocus.h"

namespace zmp {

class SettingsForm;

class CBeatShiftView : public QWidget, public FieldFocusView {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 78160;

  explicit CBeatShiftView(EditorDocument& doc, QWidget* parent = nullptr);

  int Channel() const { return channel_; }
  SettingsForm* Form() const { return form_; }
  // A field of the channel the view follows (the document's current channel).
  bool FocusField(const FieldRef& field) override;

 signals:
  void HelpRequested(const QString& target);

 private:
  void Follow(int channel);

  EditorDocument& doc_;
  int channel_ = 0;
  SettingsForm* form_ = nullptr;
};

}  // namespace zmp
