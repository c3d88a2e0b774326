#include "app/HelpWindow.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "editors/HelpLinks.h"
#include "editors/HelpTopics.h"
#include "lang/LanguageTexts.h"
#include "ui/Messages.h"

namespace zmp {

namespace {

QString Latin(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

QString NoMnemonic(QString s) { return s.remove(QLatin1Char('&')); }

// The plain text and the title of a page.
struct PageText {
  QString title;
  QString text;
};

PageText ReadPage(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  QTextDocument doc;
  doc.setHtml(QString::fromUtf8(f.readAll()));
  QString title = doc.metaInformation(QTextDocument::DocumentTitle);
  if (title.isEmpty()) title = QFileInfo(path).fileName();
  return {title, doc.toPlainText()};
}

}  // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QTx(930_txt));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);

  auto* bar = new QToolBar(this);
  back_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), NoMnemonic(QTx(931_txt)));
  forward_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), NoMnemonic(QTx(932_txt)));
  contents_ = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), NoMnemonic(QTx(933_txt)));
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  back_->setShortcut(QKeySequence::Back);
  forward_->setShortcut(QKeySequence::Forward);
  back_->setEnabled(false);
  forward_->setEnabled(false);
  search_ = new QLineEdit(bar);
  search_->setObjectName(QStringLiteral("HelpSearch"));
  search_->setPlaceholderText(QTx(934_txt));
  search_->setClearButtonEnabled(true);
  search_->setMaximumWidth(260);
  bar->addSeparator();
  bar->addWidget(search_);

  results_ = new QListWidget(this);
  results_->setObjectName(QStringLiteral("HelpResults"));
  results_->hide();
  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("HelpNote"));
  note_->setWordWrap(true);
  note_->hide();

  auto* split = new QSplitter(this);
  split->addWidget(results_);
  split->addWidget(browser_);
  split->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(bar);
  layout->addWidget(note_);
  layout->addWidget(split, 1);
  resize(900, 680);

  connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(contents_, &QAction::triggered, this, &CHelpWindow::ShowContents);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
  connect(search_, &QLineEdit::returnPressed, this, [this] { Search(search_->text()); });
  connect(results_, &QListWidget::currentRowChanged, this, &CHelpWindow::OpenResult);
  connect(results_, &QListWidget::itemActivated, this, [this](QListWidgetItem*) { OpenResult(results_->currentRow()); });
}

void CHelpWindow::SetGuideFolder(const QString& folder) {
  folder_ = folder;
  browser_->setSearchPaths({folder});
}

void CHelpWindow::ShowNote(const QString& text) {
  note_->setText(text);
  note_->setVisible(!text.isEmpty());
}

bool CHelpWindow::ShowTarget(const QString& target) {
  const HelpTarget t = SplitHelpTarget(target.toStdString());
  const QString page = QDir(folder_).filePath(QString::fromStdString(t.page));
  if (!QFileInfo(page).isFile()) {
    if (target != Latin(kHelpContentsPage)) ShowContents();
    return false;
  }
  QUrl url = QUrl::fromLocalFile(page);
  if (!t.anchor.empty()) url.setFragment(QString::fromStdString(t.anchor));
  browser_->setSource(url);
  return true;
}

void CHelpWindow::ShowContext(int context) {
  ShowNote({});
  if (const auto target = HelpTargetOf(context); target && ShowTarget(QString::fromStdString(*target))) return;
  ShowContents();
  ShowNote(QString::fromStdString(FormatText(Texts().Text(936_txt), {std::to_string(context)})));
}

void CHelpWindow::ShowContents() {
  ShowNote({});
  ShowTarget(Latin(kHelpContentsPage));
}

QStringList CHelpWindow::Search(const QString& query) {
  results_->blockSignals(true);
  results_->clear();
  results_->blockSignals(false);
  words_ = query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  QStringList pages;
  if (words_.isEmpty()) {
    results_->hide();
    ShowNote({});
    return pages;
  }
  QStringList files;
  for (QDirIterator it(folder_, {QStringLiteral("*.html")}, QDir::Files, QDirIterator::Subdirectories);
       it.hasNext();)
    files << it.next();
  files.sort();
  for (const QString& file : files) {
    const PageText page = ReadPage(file);
    const bool all = std::all_of(words_.begin(), words_.end(),
                                 [&](const QString& w) { return page.text.contains(w, Qt::CaseInsensitive); });
    if (!all) continue;
    const QString relative = QDir(folder_).relativeFilePath(file);
    pages << relative;
    auto* item = new QListWidgetItem(page.title, results_);
    item->setData(Qt::UserRole, relative);
  }
  results_->setVisible(!pages.isEmpty());
  ShowNote(pages.isEmpty() ? QString::fromStdString(FormatText(Texts().Text(935_txt), {query.toStdString()}))
                           : QString());
  return pages;
}

void CHelpWindow::OpenResult(int row) {
  QListWidgetItem* item = results_->item(row);
  if (!item) return;
  ShowTarget(item->data(Qt::UserRole).toString());
  // The first place on the page that holds the first word.
  if (!words_.isEmpty()) {
    browser_->moveCursor(QTextCursor::Start);
    browser_->find(words_.front());
  }
}

}  // namespace zmp
