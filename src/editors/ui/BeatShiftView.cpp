#include "editors/ui/BeatShiftView.h"

#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "ui/Messages.h"
#include "editors/BeatShiftFields.h"
#include "editors/ui/EditorButtons.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

CBeatShiftView::CBeatShiftView(EditorDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("CBeatShiftView"));
  form_ = new SettingsForm(doc_, {&BeatShiftTable()}, this);
  auto* buttons = new EditorButtons(*this, doc_, EditorKind::BeatShift, kHelpContext,
                                    [this](const QString& target) { emit HelpRequested(target); });
  buttons->Serve(*form_);
  connect(&doc_, &EditorDocument::CurrentChannelChanged, this, &CBeatShiftView::Follow);
  connect(&doc_, &EditorDocument::EditorClosed, this, [this](EditorKind kind) {
    if (kind == EditorKind::ChEdit) doc_.CloseEditor(EditorKind::BeatShift);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  layout->addStretch(1);
  layout->addLayout(buttons);
  Follow(doc_.CurrentChannel());
}

bool CBeatShiftView::FocusField(const FieldRef& field) {
  return field.row == channel_ && form_->FocusField(field);
}

void CBeatShiftView::Follow(int channel) {
  channel_ = channel;
  form_->SetRow(channel);
  // "Beat Shift  [ Channel - 10 ]"
  const QString title =
      QStringLiteral("%1  [ %2 - %3 ]").arg(QTx(775_txt), QTx(737_txt)).arg(channel + 1);
  setWindowTitle(title);
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->setWindowTitle(title);
}

}  // namespace zmp
