#include "editors/ui/BeatShiftView.h"

#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Messages.h"
#include "editors/BeatShiftFields.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

namespace {
QString CtlName(int id) { return QStringLiteral("ctl%1").arg(id); }
}  // namespace

CBeatShiftView::CBeatShiftView(EditorDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("CBeatShiftView"));
  form_ = new SettingsForm(doc_, {&BeatShiftTable()}, this);
  form_->enabledRule = [this](const FieldDecl&, const FieldView& v) {
    return v.exists && BeatShiftEditable(doc_.Image(), channel_);
  };
  auto* close = new QPushButton(QTx(28_txt), this);
  close->setObjectName(CtlName(kCloseId));
  auto* help = new QPushButton(QTx(29_txt), this);
  help->setObjectName(CtlName(kHelpId));
  form_->AddOwnButton(close);
  form_->AddOwnButton(help);
  connect(close, &QPushButton::clicked, this, [this] { doc_.CloseEditor(EditorKind::BeatShift); });
  connect(help, &QPushButton::clicked, this, [this] { emit HelpRequested(kHelpContext); });
  connect(form_, &SettingsForm::CloseRequested, this, [this] { doc_.CloseEditor(EditorKind::BeatShift); });
  connect(form_, &SettingsForm::HelpRequested, this,
          [this](int context) { emit HelpRequested(context ? context : kHelpContext); });
  connect(&doc_, &EditorDocument::CurrentChannelChanged, this, &CBeatShiftView::Follow);
  connect(&doc_, &EditorDocument::EditorClosed, this, [this](EditorKind kind) {
    if (kind == EditorKind::ChEdit) doc_.CloseEditor(EditorKind::BeatShift);
  });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  buttons->addWidget(help);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  layout->addStretch(1);
  layout->addLayout(buttons);
  Follow(doc_.CurrentChannel());
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
