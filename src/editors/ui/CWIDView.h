// The CW ID of the channel that the channel edit form shows: its text, timing,
// speed and tone. The view keeps the channel number only (the document's
// current channel) and finds the records through the channel index at every
// access, so records moved by a create or delete are followed and a channel
// that is gone leaves every field disabled. It closes with the channel edit
// form.
#pragma once

#include <QWidget>

#include "editors/ui/EditorDocument.h"
#include "editors/ui/FieldFocus.h"

class QLabel;
class QPushButton;

namespace zmp {

class SettingsForm;

class CCWIDView : public QWidget, public FieldFocusView {
  Q_OBJECT
 public:
  static constexpr int kCaptionId = 1104;

  explicit CCWIDView(EditorDocument& doc, QWidget* parent = nullptr);

  int Channel() const { return channel_; }
  // The text form (CW ID text) and the settings form.
  SettingsForm* TextForm() const { return textForm_; }
  SettingsForm* Form() const { return form_; }
  QLabel* Caption() const { return caption_; }
  QPushButton* CloseButton() const { return close_; }
  // Whether any field can be edited now.
  bool Editable() const;
  // A field of the channel the view follows (the document's current channel).
  bool FocusField(const FieldRef& field) override;

 signals:
  void HelpRequested(const QString& target);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Follow(int channel);
  void Refresh();
  void FocusCloseWhenNothingEditable(bool always);

  EditorDocument& doc_;
  int channel_ = 0;
  QLabel* caption_ = nullptr;
  SettingsForm* textForm_ = nullptr;
  SettingsForm* form_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace zmp
