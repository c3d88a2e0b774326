#include "editors/ui/FeatureView.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/Messages.h"
#include "editors/FeatureFields.h"
#include "editors/ui/FilterEdit.h"
#include "editors/ui/SettingsForm.h"
#include "fields/FilterRules.h"

namespace zmp {

DataPasswordDialog::DataPasswordDialog(const QString& current, QWidget* parent)
    : QDialog(parent), edit_(new FilterEdit(this, filter::kDigits)) {
  setObjectName(QStringLiteral("data_password_entry"));
  setWindowTitle(QTx(45_txt));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QTx(914_txt), this));
  edit_->setMaxLength(static_cast<int>(kDataPasswordLength));
  edit_->setText(current);
  edit_->selectAll();
  layout->addWidget(edit_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QTx(26_txt), QDialogButtonBox::AcceptRole);
  buttons->addButton(QTx(27_txt), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QString DataPasswordDialog::Password() const { return edit_->text(); }

CFeatureView::CFeatureView(EditorDocument& doc, QWidget* parent)
    : ModuleView(doc, FeatureModule(), parent), doc_(doc) {
  connect(Form(), &SettingsForm::ButtonClicked, this, [this](const QString& key) {
    if (key == QLatin1String("data_password")) EditDataPassword();
  });
}

void CFeatureView::EditDataPassword() {
  if (passwordDialog_) return;
  auto* dialog = new DataPasswordDialog(QString::fromStdString(DataPasswordText(doc_.Image())), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  passwordDialog_ = dialog;
  connect(dialog, &QDialog::accepted, this, [this, dialog] { StorePassword(dialog->Password()); });
  dialog->open();
}

void CFeatureView::StorePassword(const QString& text) {
  CommitResult result;
  const std::string digits = text.toStdString();
  doc_.Commit(QTx(45_txt), [&] { result = StoreDataPassword(doc_.Image(), digits); });
  if (!result.ok()) Error(this, result.message);
}

}  // namespace zmp
