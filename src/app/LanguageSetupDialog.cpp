#include "app/LanguageSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "app/StartupRules.h"

namespace zmp {

CLanguageSetupDlg::CLanguageSetupDlg(const QString& currentLanguageName, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("LanguageFileSetup"));
  setWindowTitle(QTx(495_txt));
  setModal(true);
  label_ = new QLabel(QTx(496_txt), this);
  list_ = new QComboBox(this);
  label_->setBuddy(list_);
  // Only the languages the language file holds a column for.
  for (const auto& row : LanguageRows()) {
    if (Texts().ColumnOf(row.name) == 0) continue;
    QString text = QTx(row.text);
    if (text.isEmpty()) text = QString::fromLatin1(row.name.data(), static_cast<qsizetype>(row.name.size()));
    list_->addItem(text, row.id);
    if (QString::fromLatin1(row.name.data(), static_cast<qsizetype>(row.name.size())) ==
        currentLanguageName)
      initialIndex_ = list_->count() - 1;
  }
  list_->setCurrentIndex(initialIndex_);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QTx(26_txt), QDialogButtonBox::AcceptRole);
  auto* cancel = buttons->addButton(QTx(27_txt), QDialogButtonBox::RejectRole);
  help_ = buttons->addButton(QTx(29_txt), QDialogButtonBox::HelpRole);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] {
    changed_ = list_->currentIndex() >= 0 && list_->currentIndex() != initialIndex_;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &CLanguageSetupDlg::HelpRequested);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &CLanguageSetupDlg::HelpRequested);

  auto* row = new QHBoxLayout;
  row->addWidget(label_);
  row->addWidget(list_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CLanguageSetupDlg::ChosenId() const {
  return list_->currentIndex() >= 0 ? list_->currentData().toInt() : 0;
}

}  // namespace zmp
