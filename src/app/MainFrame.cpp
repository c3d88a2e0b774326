// The main window: its actions, menus, tool bar, function tree, caption and
// placement, and the dispatch of its commands. The commands themselves are in
// CommandList.cpp and the files of their menus.
#include "app/MainFrame.h"

#include <QAction>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSplashScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <utility>

#include "app/Application.h"
#include "app/CommandList.h"
#include "app/DebugLibrary.h"
#include "app/FPUDoc.h"
#include "app/Frames.h"
#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "app/Settings.h"
#include "service/LinkUiQt.h"

namespace zmp {

namespace {

constexpr int kCommandRole = Qt::UserRole + 1;

// A caption "&Open...\tCtrl+O": the text with its mnemonic, then the shortcut.
void SetCaption(QAction* a, TextNo t) {
  const QString s = QTx(t);
  const int tab = static_cast<int>(s.indexOf(QLatin1Char('\t')));
  if (tab >= 0) {
    a->setText(s.left(tab));
    a->setShortcut(QKeySequence(s.mid(tab + 1), QKeySequence::PortableText));
  } else {
    a->setText(s);
  }
}

}  // namespace

// --- Construction --------------------------------------------------------------

CMainFrame::CMainFrame(CFPUApp& app) : app_(app) {
  setObjectName(QStringLiteral("CMainFrame"));
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MdiArea"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  CreateActions();
  CreateBars();
  RebuildMenus();
  UpdateTree();
  UpdateCaption();
  ShowPortInStatusBar();
  if (app_.Options().splash) ShowSplash();
  // Idle processing: command states and the port pane stay current.
  auto* idle = new QTimer(this);
  connect(idle, &QTimer::timeout, this, [this] {
    UpdateCommandStates();
    ShowPortInStatusBar();
  });
  idle->start(1000);
  if (app_.Flags().supportUtility) {
    debug_ = std::make_unique<DebugLibrary>();
    debug_->Load();
  }
}

CMainFrame::~CMainFrame() {
  // The dock reports its hiding while the window goes; nothing may answer then.
  disconnect(treeDock_, nullptr, this, nullptr);
  // Views go before the document they show.
  for (auto* f : mdi_->subWindowList()) delete f;
  delete doc_;
}

void CMainFrame::CreateActions() {
  // An action for every command a menu, the function tree or an editor names.
  auto add = [this](int id) {
    if (actions_.count(id)) return;
    auto* a = new QAction(this);
    a->setData(id);
    connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
    if (const CommandRow* row = FindCommand(id); row && row->checked) a->setCheckable(true);
    actions_[id] = a;
  };
  for (const CommandRow& row : CommandList())
    if (row.id) add(row.id);
}

void CMainFrame::CreateBars() {
  treeDock_ = new QDockWidget(QTx(516_txt), this);
  treeDock_->setObjectName(QStringLiteral("FunctionTreeBar"));
  treeDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  treeDock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
  tree_ = new QTreeWidget(treeDock_);
  tree_->setObjectName(QStringLiteral("FunctionTree"));
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(true);
  tree_->setMinimumWidth(180);
  treeDock_->setWidget(tree_);
  addDockWidget(Qt::LeftDockWidgetArea, treeDock_);
  resizeDocks({treeDock_}, {250}, Qt::Horizontal);
  connect(tree_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item, int) { OnTreeItem(item); });
  connect(tree_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item, int) { OnTreeItem(item); });
  connect(treeDock_, &QDockWidget::visibilityChanged, this,
          [this](bool) { actions_[cmd::kTreeView]->setChecked(!treeDock_->isHidden()); });

  toolBar_ = addToolBar(QTx(112_txt).remove(QLatin1Char('&')));
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  toolBar_->setMovable(false);
  toolBar_->setIconSize(QSize(20, 20));
  // The tool bar's entries with their icons; 0 is a separator.
  const std::pair<int, QStyle::StandardPixmap> tools[] = {
      {cmd::kNew, QStyle::SP_FileIcon},
      {cmd::kOpen, QStyle::SP_DialogOpenButton},
      {cmd::kSave, QStyle::SP_DialogSaveButton},
      {0, {}},
      {cmd::kUndo, QStyle::SP_ArrowBack},
      {cmd::kRedo, QStyle::SP_ArrowForward},
      {0, {}},
      {cmd::kReadData, QStyle::SP_ArrowDown},
      {cmd::kWriteData, QStyle::SP_ArrowUp},
      {0, {}},
      {cmd::kModelInformation, QStyle::SP_FileDialogInfoView},
      {cmd::kChInfo, QStyle::SP_FileDialogDetailedView},
      {0, {}},
      {cmd::kHelpTopics, QStyle::SP_MessageBoxQuestion},
  };
  for (const auto& [id, icon] : tools) {
    if (id == 0) {
      toolBar_->addSeparator();
      continue;
    }
    actions_[id]->setIcon(style()->standardIcon(icon));
    toolBar_->addAction(actions_[id]);
  }

  portPane_ = new QLabel(statusBar());
  portPane_->setObjectName(QStringLiteral("PortPane"));
  portPane_->setMinimumWidth(60);
  portPane_->setAlignment(Qt::AlignCenter);
  statusBar()->addPermanentWidget(portPane_);
  if (app_.Flags().demo) {
    demoPane_ = new QLabel(QTx(1311_txt), statusBar());
    demoPane_->setObjectName(QStringLiteral("DemoPane"));
    statusBar()->addPermanentWidget(demoPane_);
  }
}

void CMainFrame::ShowSplash() {
  QPixmap pix(420, 200);
  pix.fill(QColor(0x1F, 0x3A, 0x5F));
  QPainter p(&pix);
  p.setPen(Qt::white);
  QFont f = font();
  f.setPointSize(20);
  f.setBold(true);
  p.setFont(f);
  p.drawText(pix.rect().adjusted(10, 10, -10, -60), Qt::AlignCenter, QString::fromLatin1(kProductName));
  f.setPointSize(11);
  f.setBold(false);
  p.setFont(f);
  p.drawText(pix.rect().adjusted(10, 110, -10, -10), Qt::AlignHCenter | Qt::TextWordWrap, QTx(1_txt));
  p.end();
  auto* splash = new QSplashScreen(pix);
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->show();
  QTimer::singleShot(5000, splash, &QWidget::close);
}

// --- Menus, tree, caption ---------------------------------------------------------

void CMainFrame::FillMenu(QMenu* menu, cmd::Menu which, int optionBoard) {
  for (const CommandRow& row : CommandList()) {
    if (row.menu != which) continue;
    if (row.id == 0) {
      // A separator only after an entry.
      const auto acts = menu->actions();
      if (!acts.isEmpty() && !acts.back()->isSeparator()) menu->addSeparator();
      continue;
    }
    if (!EntryShown(row, optionBoard)) continue;
    QAction* a = actions_.at(row.id);
    SetCaption(a, row.text);
    menu->addAction(a);
  }
  // No separator left at the end of a menu.
  while (!menu->actions().isEmpty() && menu->actions().back()->isSeparator())
    menu->removeAction(menu->actions().back());
}

void CMainFrame::RebuildMenus() {
  for (QMenu* m : menus_) m->deleteLater();
  menus_.clear();
  menuBar()->clear();
  const int board = ModelInfo(app_.Image()).OptionBoard();
  for (int i = 0; i < cmd::kMenuCount; ++i) {
    const auto menuId = static_cast<cmd::Menu>(i);
    QMenu* menu = new QMenu(QTx(MenuTitle(menuId)), this);
    FillMenu(menu, menuId, board);
    menuBar()->addMenu(menu);
    menus_.push_back(menu);
  }
  for (const CommandRow& row : CommandList()) {
    QAction* a = Action(row.id);
    if (!a) continue;
    if (a->shortcut().isEmpty() && !row.shortcut.isEmpty()) a->setShortcut(row.shortcut);
    if (row.checked) a->setChecked(row.checked(*this));
  }
  UpdateCommandStates();
}

QMenu* CMainFrame::TopMenu(int index) const {
  return index >= 0 && index < static_cast<int>(menus_.size()) ? menus_[static_cast<std::size_t>(index)]
                                                              : nullptr;
}

void CMainFrame::UpdateTree() {
  tree_->clear();
  const ModelInfo model(app_.Image());
  auto* root = new QTreeWidgetItem(tree_);
  root->setText(0, QString::fromStdString(model.WindowCaption()));
  root->setFlags(Qt::ItemIsEnabled);
  for (const CommandRow& row : CommandList()) {
    if (row.treeText.n == 0 || !EntryShown(row, model.OptionBoard())) continue;
    auto* item = new QTreeWidgetItem(root);
    item->setText(0, QTx(row.treeText));
    item->setData(0, kCommandRole, row.id);
    if (!IsEditorBuilt(*row.editor)) item->setFlags(Qt::NoItemFlags);
  }
  root->setExpanded(true);
}

void CMainFrame::OnTreeItem(QTreeWidgetItem* item) {
  if (!item) return;
  const QVariant c = item->data(0, kCommandRole);
  if (c.isValid()) Command(c.toInt());
}

void CMainFrame::UpdateCaption() {
  const ModelInfo model(app_.Image());
  // Joined in UTF-8: the file name as the file system spells it.
  std::string caption =
      FormatText("%s  [ %s ] [ %s : %s ]", {kProductName, model.LongCaption(), QTx(147_txt).toStdString(),
                                            app_.DataFileName().toStdString()});
  if (app_.Flags().demo) caption += FormatText("%10s%s", {"", QTx(1311_txt).toStdString()});
  setWindowTitle(QString::fromStdString(caption));
}

void CMainFrame::ShowPortInStatusBar() {
  portPane_->setText(QString::fromStdString(FormatText("COM%d", {std::to_string(app_.ComPort())})));
}

// --- Commands -------------------------------------------------------------------------

QAction* CMainFrame::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

bool CMainFrame::IsCommandEnabled(int id) const {
  const QAction* a = Action(id);
  return a && a->isEnabled();
}

bool CMainFrame::Command(int id) {
  // Nothing else starts while the repeater link is in use.
  if (CommBusy()) return false;
  QAction* a = Action(id);
  if (!a || !a->isEnabled()) return false;
  a->trigger();
  return true;
}

void CMainFrame::PostCommand(int id) {
  QMetaObject::invokeMethod(this, [this, id] { Command(id); }, Qt::QueuedConnection);
}

void CMainFrame::UpdateCommandStates() {
  for (auto& [id, a] : actions_) a->setEnabled(CommandOn(id));
}

void CMainFrame::FitIntoMdiArea(QWidget* frame) {
  // A frame never opens larger than the area it lives in (its view scrolls),
  // nor above or left of it.
  const QSize room = mdi_->viewport()->size();
  if (mdi_->isVisible() && room.width() > 200 && room.height() > 150)
    frame->resize(frame->size().boundedTo(room));
  if (frame->x() < 0 || frame->y() < 0) frame->move(std::max(0, frame->x()), std::max(0, frame->y()));
}

bool CMainFrame::event(QEvent* e) {
  const int type = static_cast<int>(e->type());
  if (e->type() == QEvent::Show) {
    // Frames opened while the window was hidden were placed in a tiny area.
    QTimer::singleShot(0, this, [this] {
      for (CEditorFrame* f : EditorFrames()) FitIntoMdiArea(f);
    });
  }
  // F1 that no editor took: the guide's contents.
  if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
    OnHelp(false);
    return true;
  }
  if (type == kMemMapChangedMessage || type == kUpdateAllViewsMessage) {
    if (doc_) emit doc_->ImageChanged(nullptr);
    return true;
  }
  return QMainWindow::event(e);
}

// --- Closing and placement ---------------------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* e) {
  if (CommBusy()) {
    e->ignore();
    return;
  }
  if (MessageByNumber(this, QTx(426_txt), 427_txt, Icon::Question, Buttons::OkCancel) != Answer::Ok ||
      !PassSaveChangesPrompt()) {
    e->ignore();
    return;
  }
  {
    Settings s;
    s.SetLastWinPos(Placement());
  }
  CloseAllEditors();
  e->accept();
}

WindowPlacement CMainFrame::Placement() const {
  WindowPlacement p;
  const bool maximised = windowState() & Qt::WindowMaximized;
  const bool minimised = windowState() & Qt::WindowMinimized;
  p.showCommand = maximised ? kShowMaximized : kShowNormal;
  p.flags = minimised && maximised ? kRestoreToMaximized : 0;
  QRect r = normalGeometry();
  if (!r.isValid()) r = geometry();
  p.left = r.left();
  p.top = r.top();
  p.right = r.left() + r.width();
  p.bottom = r.top() + r.height();
  return p;
}

void CMainFrame::RestorePlacement(const std::optional<WindowPlacement>& p, bool show) {
  if (!p) {
    setWindowState(Qt::WindowMaximized);
    if (show) showMaximized();
    return;
  }
  QRect r(p->left, p->top, p->right - p->left, p->bottom - p->top);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect avail = screen ? screen->availableVirtualGeometry() : QRect(0, 0, 1024, 768);
  // A rectangle that is empty or lies off every screen is replaced by a sensible one.
  if (r.width() < 320 || r.height() < 240 || !avail.intersects(r))
    r = QRect(avail.topLeft() + QPoint(40, 40), QSize(std::min(1024, avail.width() - 80),
                                                      std::min(720, avail.height() - 80)));
  setGeometry(r);
  if (p->showCommand == kShowMaximized) {
    setWindowState(Qt::WindowMaximized);
    if (show) showMaximized();
  } else {
    setWindowState(Qt::WindowNoState);
    if (show) showNormal();
  }
}

}  // namespace zmp
