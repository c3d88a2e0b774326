#include "app/ModelInfoDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"

namespace zmp {

namespace {
QString Latin(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

void SelectData(QComboBox* box, int value) {
  const int i = box->findData(value);
  box->setCurrentIndex(i >= 0 ? i : 0);
}
}  // namespace

CModelInfoDlg::CModelInfoDlg(const ModelInfo& model, QWidget* parent)
    : QDialog(parent), current_(ChoiceOf(model)) {
  setObjectName(QStringLiteral("ModelInformation"));
  setWindowTitle(QTx(429_txt));
  setModal(true);

  model_ = new QComboBox(this);
  frequency_ = new QComboBox(this);
  mode_ = new QComboBox(this);
  optionBoard_ = new QComboBox(this);
  standard_ = new QComboBox(this);
  modelLabel_ = new QLabel(QTx(430_txt), this);
  frequencyLabel_ = new QLabel(QTx(431_txt), this);
  modeLabel_ = new QLabel(QTx(433_txt), this);
  optionBoardLabel_ = new QLabel(QTx(432_txt), this);
  standardLabel_ = new QLabel(QTx(434_txt), this);
  const std::pair<QLabel*, QComboBox*> rows[] = {{modelLabel_, model_},
                                                 {frequencyLabel_, frequency_},
                                                 {modeLabel_, mode_},
                                                 {optionBoardLabel_, optionBoard_},
                                                 {standardLabel_, standard_}};
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (auto [label, box] : rows) {
    label->setBuddy(box);
    box->setMinimumContentsLength(18);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    form->addRow(label, box);
  }

  for (int i = 0; i < kModelCount; ++i)
    model_->addItem(QString::fromStdString(ModelCaption(i)), i);
  SelectData(model_, current_.modelIndex);
  FillFrequencies(current_.bandWord);
  mode_->addItem(QTx(719_txt), 0);
  mode_->addItem(QTx(722_txt), 1);
  SelectData(mode_, current_.mode);
  optionBoard_->addItem(QTx(729_txt), 0);
  optionBoard_->addItem(QTx(730_txt), 1);
  SelectData(optionBoard_, current_.optionBoard);
  standard_->addItem(QTx(706_txt), 2);
  standard_->addItem(QTx(713_txt), 1);
  SelectData(standard_, kControlStandard);
  // The control standard is fixed: shown, not changeable.
  standard_->setEnabled(false);
  standardLabel_->setEnabled(false);

  connect(model_, &QComboBox::currentIndexChanged, this, [this](int) {
    FillFrequencies(static_cast<std::uint16_t>(frequency_->currentData().toInt()));
  });

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(QTx(26_txt), QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(QTx(27_txt), QDialogButtonBox::RejectRole);
  help_ = buttons->addButton(QTx(29_txt), QDialogButtonBox::HelpRole);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &CModelInfoDlg::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help_, &QPushButton::clicked, this, &CModelInfoDlg::HelpRequested);
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &CModelInfoDlg::HelpRequested);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CModelInfoDlg::FillFrequencies(std::uint16_t preferred) {
  const int modelIndex = model_->currentData().toInt();
  const std::uint16_t select = BandWordAfterModelChange(modelIndex, preferred);
  QSignalBlocker block(frequency_);
  frequency_->clear();
  for (std::uint16_t word : BandWordsOfModel(modelIndex)) {
    const int row = BandRowOfWord(word);
    frequency_->addItem(Latin(BandTable()[static_cast<std::size_t>(row)].rangeText), word);
  }
  SelectData(frequency_, select);
}

QComboBox* CModelInfoDlg::List(int id) const {
  switch (id) {
    case kModelList: return model_;
    case kFrequencyList: return frequency_;
    case kModeList: return mode_;
    case kOptionBoardList: return optionBoard_;
    case kStandardList: return standard_;
    default: return nullptr;
  }
}

QLabel* CModelInfoDlg::Label(int id) const {
  switch (id) {
    case kModelList: return modelLabel_;
    case kFrequencyList: return frequencyLabel_;
    case kModeList: return modeLabel_;
    case kOptionBoardList: return optionBoardLabel_;
    case kStandardList: return standardLabel_;
    default: return nullptr;
  }
}

ModelChoice CModelInfoDlg::Selection() const {
  ModelChoice c;
  c.modelIndex = model_->currentData().toInt();
  c.bandWord = static_cast<std::uint16_t>(frequency_->currentData().toInt());
  c.mode = mode_->currentData().toInt();
  c.optionBoard = optionBoard_->currentData().toInt();
  c.controlStandard = standard_->currentData().toInt();
  return c;
}

void CModelInfoDlg::OnOk() {
  const ModelChangeDecision d = DecideModelChange(current_, Selection());
  if (d.NeedsConfirmation()) {
    QString message;
    for (TextNo t : d.messageTexts) {
      if (!message.isEmpty()) message += QLatin1Char('\n');
      message += QTx(t);
    }
    // Cancel keeps the dialog open with nothing changed.
    if (Confirm(this, message, Buttons::OkCancelDefaultCancel) != Answer::Ok) return;
  }
  code_ = d.code;
  accept();
}

}  // namespace zmp
