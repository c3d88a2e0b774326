#include "editors/ui/ChEditView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "ui/Messages.h"
#include "editors/ChannelFields.h"
#include "editors/ui/EditorButtons.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {


namespace {

int& RequestedChannel() {
  static int channel = 0;
  return channel;
}

std::vector<CChEditView*>& OpenForms() {
  static std::vector<CChEditView*> forms;
  return forms;
}

QString CtlName(int id) { return QStringLiteral("ctl%1").arg(id); }

// A channel that does not exist offers only its number and its frequencies,
// which bring it into being.
bool ChannelFieldEnabled(const FieldDecl& d, const FieldView& v) {
  if (d.storage == Storage::Custom) return v.applicable;
  return v.exists && v.applicable;
}

}  // namespace

void CChEditView::ShowChannel(int channel) {
  RequestedChannel() = std::clamp(channel, 0, kChannelCount - 1);
  for (CChEditView* v : OpenForms()) v->SetChannel(RequestedChannel());
}

CChEditView::CChEditView(EditorDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("CChEditView"));
  setWindowTitle(QTx(766_txt));
  form_ = new SettingsForm(doc_, {&ChannelEditTable()}, this, 15);
  form_->enabledRule = ChannelFieldEnabled;
  // The form's "TX High Power" box has no effect on the image.
  txHighPower_ = new QCheckBox(QTx(797_txt), this);
  txHighPower_->setObjectName(CtlName(kTxHighPowerId));
  auto* buttons = new EditorButtons(*this, doc_, EditorKind::ChEdit, kHelpContext,
                                    [this](const QString& target) { emit HelpRequested(target); });
  buttons->Serve(*form_);
  buttons->insertWidget(0, txHighPower_);
  connect(form_, &SettingsForm::ButtonClicked, this, [this](const QString& key) {
    doc_.OpenEditor(key == QLatin1String("beat_shift_settings") ? EditorKind::BeatShift : EditorKind::CWID);
  });
  // The row the form shows is the document's current channel.
  connect(&doc_, &EditorDocument::CurrentChannelChanged, this, [this](int ch) {
    if (ch != form_->Row()) form_->SetRow(ch);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(form_);
  layout->addStretch(1);
  layout->addLayout(buttons);
  OpenForms().push_back(this);
  SetChannel(RequestedChannel());
  // The channel spin and Page Up/Down step the row inside the form.
  connect(form_, &SettingsForm::RowChanged, this, [this](int row) { SetChannel(row); });
}

CChEditView::~CChEditView() { std::erase(OpenForms(), this); }

int CChEditView::Channel() const { return form_->Row(); }

void CChEditView::SetChannel(int channel) {
  channel = std::clamp(channel, 0, kChannelCount - 1);
  RequestedChannel() = channel;
  doc_.SetCurrentChannel(channel);
  form_->SetRow(channel);
}

void CChEditView::Load() { form_->Reload(); }

bool CChEditView::FocusField(const FieldRef& field) {
  if (field.row != Channel()) SetChannel(field.row);
  return form_->FocusField(field);
}

QWidget* CChEditView::ValueControl(std::string_view key) const {
  const FieldDecl* decl = ChannelField(0, key).decl;
  return decl ? form_->ValueControl(*decl) : nullptr;
}

}  // namespace zmp
