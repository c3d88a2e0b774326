#include "print/ui/PrintListDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "print/ui/ListingRenderer.h"

namespace zmp::print {

CPrintListDlg::CPrintListDlg(ModuleList modules, const ImageStore& image, const ListingChoice& initial,
                             QWidget* parent)
    : QDialog(parent), modules_(modules), image_(image) {
  setObjectName(QStringLiteral("PrintOutList"));
  setWindowTitle(QTx(925_txt));

  auto* sectionGroup = new QGroupBox(QTx(926_txt), this);
  auto* sectionLayout = new QVBoxLayout(sectionGroup);
  for (const SectionInfo& s : ListSections(modules)) {
    auto* box = new QCheckBox(QTx(s.title), sectionGroup);
    box->setObjectName(QStringLiteral("section_") + QString::fromStdString(s.key));
    box->setChecked(std::find(initial.sections.begin(), initial.sections.end(), s.key) != initial.sections.end());
    connect(box, &QCheckBox::toggled, this, &CPrintListDlg::Recount);
    sectionLayout->addWidget(box);
    sections_.emplace_back(s.key, box);
  }

  auto* rangeGroup = new QGroupBox(QTx(927_txt), this);
  auto* rangeLayout = new QFormLayout(rangeGroup);
  const ChannelRange range = LimitChannelRange(initial.channels.first, initial.channels.last);
  first_ = new QSpinBox(rangeGroup);
  first_->setObjectName(QStringLiteral("FirstChannel"));
  first_->setRange(1, kChannelCount);
  first_->setValue(range.first);
  last_ = new QSpinBox(rangeGroup);
  last_->setObjectName(QStringLiteral("LastChannel"));
  // The last channel is never before the first.
  last_->setRange(range.first, kChannelCount);
  last_->setValue(range.last);
  rangeLayout->addRow(QTx(928_txt), first_);
  rangeLayout->addRow(QTx(929_txt), last_);
  connect(first_, &QSpinBox::valueChanged, this, [this](int v) {
    last_->setMinimum(v);
    Recount();
  });
  connect(last_, &QSpinBox::valueChanged, this, &CPrintListDlg::Recount);

  pagesLabel_ = new QLabel(this);
  pagesLabel_->setObjectName(QStringLiteral("PageCount"));

  auto* buttons = new QDialogButtonBox(this);
  const std::pair<Action, TextNo> actions[] = {
      {Action::Print, 620_txt}, {Action::Preview, 621_txt}, {Action::Pdf, 622_txt}};
  for (const auto& [action, text] : actions) {
    QPushButton* b = buttons->addButton(QTx(text), QDialogButtonBox::ActionRole);
    connect(b, &QPushButton::clicked, this, [this, a = action] { Finish(a); });
    buttons_[action] = b;
  }
  buttons_[Action::Print]->setDefault(true);
  QPushButton* cancel = buttons->addButton(QTx(27_txt), QDialogButtonBox::RejectRole);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* columns = new QHBoxLayout;
  columns->addWidget(sectionGroup);
  auto* right = new QVBoxLayout;
  right->addWidget(rangeGroup);
  right->addWidget(pagesLabel_);
  right->addStretch();
  columns->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(buttons);
  Recount();
}

ListingChoice CPrintListDlg::Choice() const {
  ListingChoice c;
  for (const auto& [key, box] : sections_)
    if (box->isChecked()) c.sections.push_back(key);
  c.channels = LimitChannelRange(first_->value(), last_->value());
  return c;
}

QCheckBox* CPrintListDlg::SectionBox(const std::string& key) const {
  for (const auto& [k, box] : sections_)
    if (k == key) return box;
  return nullptr;
}

QPushButton* CPrintListDlg::Button(Action a) const {
  const auto it = buttons_.find(a);
  return it == buttons_.end() ? nullptr : it->second;
}

void CPrintListDlg::Recount() {
  const ListingChoice choice = Choice();
  pages_ = choice.sections.empty() ? 0 : PageCountOn(BuildListing(modules_, image_, choice));
  pagesLabel_->setText(choice.sections.empty()
                           ? QTx(630_txt)
                           : QString::fromLatin1(FormatText(Tx(619_txt), {std::to_string(pages_)})));
  for (const auto& [action, button] : buttons_) button->setEnabled(!choice.sections.empty());
}

void CPrintListDlg::Finish(Action a) {
  action_ = a;
  accept();
}

}  // namespace zmp::print
