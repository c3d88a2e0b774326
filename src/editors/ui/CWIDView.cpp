#include "editors/ui/CWIDView.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Messages.h"
#include "editors/CwIdFields.h"
#include "editors/ui/EditorButtons.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

namespace {
QString CtlName(int id) { return QStringLiteral("ctl%1").arg(id); }
}  // namespace

CCWIDView::CCWIDView(EditorDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("CCWIDView"));
  setWindowTitle(QTx(751_txt));
  channel_ = doc_.CurrentChannel();
  caption_ = new QLabel(this);
  caption_->setObjectName(CtlName(kCaptionId));
  textForm_ = new SettingsForm(doc_, {&CwIdTextTable()}, this);
  form_ = new SettingsForm(doc_, {&CwIdTable()}, this);
  auto* buttons = new EditorButtons(*this, doc_, EditorKind::CWID, 0,
                                    [this](const QString& target) { emit HelpRequested(target); });
  buttons->Serve(*textForm_);
  buttons->Serve(*form_);
  close_ = buttons->Close();
  connect(&doc_, &EditorDocument::CurrentChannelChanged, this, &CCWIDView::Follow);
  // The CW ID switch and the transmit mode live in the channel record beside
  // the fields: any change may enable or disable them.
  connect(&doc_, &EditorDocument::ImageChanged, this, [this](QObject*) { Refresh(); });
  connect(&doc_, &EditorDocument::EditorClosed, this, [this](EditorKind kind) {
    if (kind == EditorKind::ChEdit) doc_.CloseEditor(EditorKind::CWID);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption_);
  layout->addWidget(textForm_);
  layout->addWidget(form_);
  layout->addStretch(1);
  layout->addLayout(buttons);
  Follow(channel_);
}

bool CCWIDView::Editable() const { return CwIdEditable(doc_.Image(), channel_, CwIdTable().fields.front()); }

bool CCWIDView::FocusField(const FieldRef& field) {
  if (field.row != channel_) return false;
  return textForm_->FocusField(field) || form_->FocusField(field);
}

void CCWIDView::Follow(int channel) {
  channel_ = channel;
  caption_->setText(QStringLiteral("%1 %2").arg(QTx(737_txt)).arg(channel + 1, 2));
  textForm_->SetRow(channel);
  form_->SetRow(channel);
  FocusCloseWhenNothingEditable(false);
}

void CCWIDView::Refresh() {
  textForm_->Reload();
  form_->Reload();
  FocusCloseWhenNothingEditable(false);
}

void CCWIDView::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  FocusCloseWhenNothingEditable(true);
}

// When nothing but the caption can be edited the focus goes to Close: at
// opening, or when the focus was in this view.
void CCWIDView::FocusCloseWhenNothingEditable(bool always) {
  if (Editable()) return;
  if (always || isAncestorOf(QApplication::focusWidget())) close_->setFocus(Qt::OtherFocusReason);
}

}  // namespace zmp
