#include "app/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QHeaderView>
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
#include <QUndoStack>
#include <ctime>

#include "app/Application.h"
#include "app/DebugLibrary.h"
#include "app/FPUDoc.h"
#include "app/FilePromptsQt.h"
#include "app/Frames.h"
#include "editors/HelpTopics.h"
#include "app/HelpWindow.h"
#include "app/LanguageSetupDialog.h"
#include "lang/LanguageTexts.h"
#include "app/CheckDataWindow.h"
#include "app/CompareWindow.h"
#include "editors/EditorModules.h"
#include "app/MemoryMapWindow.h"
#include "ui/Messages.h"
#include "app/ModelInfoDialog.h"
#include "app/Prompts.h"
#include "app/Settings.h"
#include "data/ModelChange.h"
#include "data/NewImage.h"
#include "comm/ImageTransfer.h"
#include "comm/RepeaterLink.h"
#include "editors/ChannelBand.h"
#include "editors/ChannelStore.h"
#include "editors/ui/ChEditView.h"
#include "editors/ui/FieldFocus.h"
#include "data/Backups.h"
#include "service/CommPortDialog.h"
#include "service/LinkUiQt.h"
#include "service/ServiceDialogs.h"
#include "service/TransferDialog.h"

namespace zmp {

namespace {

constexpr int kCommandRole = Qt::UserRole + 1;
// Program menu entry shown only when the maintenance region says so.
constexpr std::size_t kPasswordRecoveryFlag = region::kMaintenance + 32;  // 0x58E0

std::map<int, std::function<void(CMainFrame&)>>& RegisteredHandlers() {
  static std::map<int, std::function<void(CMainFrame&)>> handlers;
  return handlers;
}

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

QString Latin(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

bool IsBuiltin(int id) {
  switch (id) {
    case cmd::kNew:
    case cmd::kOpen:
    case cmd::kSave:
    case cmd::kSaveAs:
    case cmd::kOpenTuningFile:
    case cmd::kSaveTuningFile:
    case cmd::kExit:
    case cmd::kModelInformation:
    case cmd::kLanguageFileSetup:
    case cmd::kCommunicationPort:
    case cmd::kReadData:
    case cmd::kNetworkInformation:
    case cmd::kFactoryReset:
    case cmd::kWriteData:
    case cmd::kToolBar:
    case cmd::kStatusBar:
    case cmd::kTreeView:
    case cmd::kCascade:
    case cmd::kTile:
    case cmd::kHelpTopics:
    case cmd::kHelpAdvanced:
    case cmd::kDataMemoryMap:
    case cmd::kCheckData:
    case cmd::kCompareWithRepeater: return true;
    default: return false;
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
  for (const auto& [id, h] : RegisteredHandlers()) {
    auto handler = h;
    SetCommandHandler(id, [this, handler] { handler(*this); });
  }
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
  auto add = [this](int id) {
    auto* a = new QAction(this);
    a->setData(id);
    connect(a, &QAction::triggered, this, [this, id] {
      switch (id) {
        case cmd::kNew: OnNew(); return;
        case cmd::kOpen: OnOpen(); return;
        case cmd::kSave: Save(); return;
        case cmd::kSaveAs: SaveAs(); return;
        case cmd::kOpenTuningFile: OnOpenTuningFile(); return;
        case cmd::kSaveTuningFile: OnSaveTuningFile(); return;
        case cmd::kExit: close(); return;
        case cmd::kUndo:
          if (doc_) doc_->UndoStack().undo();
          UpdateCommandStates();
          return;
        case cmd::kRedo:
          if (doc_) doc_->UndoStack().redo();
          UpdateCommandStates();
          return;
        case cmd::kModelInformation: OnModelInformation(); return;
        case cmd::kLanguageFileSetup: OnLanguageFileSetup(); return;
        case cmd::kCommunicationPort: OnCommunicationPort(); return;
        case cmd::kReadData: OnReadData(); return;
        case cmd::kNetworkInformation: OnNetworkInformation(); return;
        case cmd::kFactoryReset: OnFactoryReset(); return;
        case cmd::kWriteData: OnWriteData(); return;
        case cmd::kToolBar: toolBar_->setVisible(!toolBar_->isVisible()); return;
        case cmd::kStatusBar: statusBar()->setVisible(!statusBar()->isVisible()); return;
        case cmd::kTreeView: treeDock_->setVisible(!treeDock_->isVisible()); return;
        case cmd::kCascade: mdi_->cascadeSubWindows(); return;
        case cmd::kTile: mdi_->tileSubWindows(); return;
        case cmd::kHelpTopics: OnHelp(false); return;
        case cmd::kHelpAdvanced: OnHelp(true); return;
        case cmd::kDataMemoryMap: OnDataMemoryMap(); return;
        case cmd::kCheckData: OnCheckData(); return;
        case cmd::kCompareWithRepeater: OnCompareWithRepeater(); return;
        default: break;
      }
      if (auto kind = cmd::EditorOfCommand(id)) {
        OpenEditor(*kind);
        return;
      }
      if (auto it = handlers_.find(id); it != handlers_.end() && it->second) it->second();
    });
    actions_[id] = a;
    return a;
  };
  for (int m = 0; m < cmd::kMenuCount; ++m)
    for (const auto& row : cmd::MenuOf(static_cast<cmd::Menu>(m)).rows)
      if (row.command) add(row.command);
  for (int b : {0, 1})
    for (const auto& row : cmd::EditorRows(b))
      if (row.command && !actions_.count(row.command)) add(row.command);
  // Editor commands that no row table lists (opened from other editors).
  for (const auto& t : kEditorTemplates)
    if (int c = cmd::CommandOfEditor(t.kind); c && !actions_.count(c)) add(c);
  for (int toggle : {cmd::kToolBar, cmd::kStatusBar, cmd::kTreeView}) actions_[toggle]->setCheckable(true);

  const QStyle* st = style();
  actions_[cmd::kNew]->setIcon(st->standardIcon(QStyle::SP_FileIcon));
  actions_[cmd::kOpen]->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
  actions_[cmd::kSave]->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
  actions_[cmd::kReadData]->setIcon(st->standardIcon(QStyle::SP_ArrowDown));
  actions_[cmd::kWriteData]->setIcon(st->standardIcon(QStyle::SP_ArrowUp));
  actions_[cmd::kModelInformation]->setIcon(st->standardIcon(QStyle::SP_FileDialogInfoView));
  actions_[cmd::kChInfo]->setIcon(st->standardIcon(QStyle::SP_FileDialogDetailedView));
  actions_[cmd::kHelpTopics]->setIcon(st->standardIcon(QStyle::SP_MessageBoxQuestion));
  actions_[cmd::kUndo]->setIcon(st->standardIcon(QStyle::SP_ArrowBack));
  actions_[cmd::kRedo]->setIcon(st->standardIcon(QStyle::SP_ArrowForward));
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
  for (int id : {cmd::kNew, cmd::kOpen, cmd::kSave, 0, cmd::kUndo, cmd::kRedo, 0, cmd::kReadData,
                 cmd::kWriteData, 0, cmd::kModelInformation, cmd::kChInfo, 0, cmd::kHelpTopics}) {
    if (id == 0)
      toolBar_->addSeparator();
    else
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

void CMainFrame::FillMenu(QMenu* menu, std::span<const cmd::MenuRow> rows) {
  for (const auto& row : rows) {
    if (row.command == 0) {
      // A separator only after an entry.
      const auto acts = menu->actions();
      if (!acts.isEmpty() && !acts.back()->isSeparator()) menu->addSeparator();
      continue;
    }
    if (row.command == cmd::kProgramPasswordRecovery &&
        app_.Image().Main().Byte(kPasswordRecoveryFlag) == 0xFF)
      continue;
    if (row.command == cmd::kSupportUtil && !app_.Flags().supportUtility) continue;
    QAction* a = actions_.at(row.command);
    SetCaption(a, row.text);
    menu->addAction(a);
  }
}

void CMainFrame::RebuildMenus() {
  for (QMenu* m : menus_) m->deleteLater();
  menus_.clear();
  menuBar()->clear();
  const int board = ModelInfo(app_.Image()).OptionBoard();
  for (int i = 0; i < cmd::kMenuCount; ++i) {
    const auto menuId = static_cast<cmd::Menu>(i);
    const cmd::MenuTable table = cmd::MenuOf(menuId);
    QMenu* menu = new QMenu(QTx(table.title), this);
    FillMenu(menu, table.rows);
    if (menuId == cmd::Menu::Edit) {
      menu->addSeparator();
      FillMenu(menu, cmd::EditorRows(board));
    }
    // No separator left at the end of a menu.
    while (!menu->actions().isEmpty() && menu->actions().back()->isSeparator())
      menu->removeAction(menu->actions().back());
    menuBar()->addMenu(menu);
    menus_.push_back(menu);
  }
  if (actions_[cmd::kUndo]->shortcut().isEmpty()) actions_[cmd::kUndo]->setShortcut(QKeySequence::Undo);
  if (actions_[cmd::kRedo]->shortcut().isEmpty())
    actions_[cmd::kRedo]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  actions_[cmd::kToolBar]->setChecked(!toolBar_->isHidden());
  actions_[cmd::kStatusBar]->setChecked(!statusBar()->isHidden());
  actions_[cmd::kTreeView]->setChecked(!treeDock_->isHidden());
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
  for (const auto& row : cmd::EditorRows(model.OptionBoard())) {
    if (row.command == 0) continue;
    auto* item = new QTreeWidgetItem(root);
    item->setText(0, QTx(row.treeText));
    item->setData(0, kCommandRole, row.command);
    const auto kind = cmd::EditorOfCommand(row.command);
    if (!kind || !IsEditorBuilt(*kind)) item->setFlags(Qt::NoItemFlags);
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

void CMainFrame::SetCommandHandler(int id, std::function<void()> handler) {
  if (handler)
    handlers_[id] = std::move(handler);
  else
    handlers_.erase(id);
  UpdateCommandStates();
}

void CMainFrame::RegisterCommandHandler(int id, std::function<void(CMainFrame&)> handler) {
  RegisteredHandlers()[id] = std::move(handler);
}

void CMainFrame::UpdateCommandStates() {
  for (auto& [id, a] : actions_) {
    bool on = IsBuiltin(id) || handlers_.count(id) > 0;
    if (auto kind = cmd::EditorOfCommand(id)) on = IsEditorBuilt(*kind);
    if (id == cmd::kUndo) on = doc_ && doc_->UndoStack().canUndo();
    if (id == cmd::kRedo) on = doc_ && doc_->UndoStack().canRedo();
    a->setEnabled(on);
  }
}

// --- Editors ------------------------------------------------------------------------------

namespace {
std::map<EditorKind, EditorFactory>& ExtraFactories() {
  static std::map<EditorKind, EditorFactory> f;
  return f;
}
const EditorFactory* FactoryOf(EditorKind kind) {
  const auto& built = BuiltEditors();
  if (auto it = built.find(kind); it != built.end() && it->second) return &it->second;
  if (auto it = ExtraFactories().find(kind); it != ExtraFactories().end() && it->second)
    return &it->second;
  return nullptr;
}
}  // namespace

void CMainFrame::AddEditorFactory(EditorKind kind, EditorFactory factory) {
  if (factory)
    ExtraFactories()[kind] = std::move(factory);
  else
    ExtraFactories().erase(kind);
}

bool CMainFrame::IsEditorBuilt(EditorKind kind) { return FactoryOf(kind) != nullptr; }

CFPUDoc& CMainFrame::Doc() {
  if (!doc_) {
    doc_ = new CFPUDoc(app_.Image(), this, this);
    connect(&doc_->UndoStack(), &QUndoStack::indexChanged, this, [this] { UpdateCommandStates(); });
    connect(doc_, &CFPUDoc::Released, this, [this](const QString& text) { statusBar()->showMessage(text, 15000); });
    UpdateCommandStates();
    emit DocumentOpened(doc_);
  }
  return *doc_;
}

QList<CEditorFrame*> CMainFrame::EditorFrames() const {
  QList<CEditorFrame*> out;
  for (auto* w : mdi_->subWindowList())
    if (auto* f = qobject_cast<CEditorFrame*>(w); f && !f->IsClosed()) out.push_back(f);
  return out;
}

CEditorFrame* CMainFrame::EditorFrame(EditorKind kind) const {
  for (auto* f : EditorFrames())
    if (f->Kind() == kind) return f;
  return nullptr;
}

bool CMainFrame::OpenEditor(EditorKind kind) {
  const EditorFactory* factory = FactoryOf(kind);
  if (!factory) return false;
  if (CEditorFrame* f = EditorFrame(kind)) {
    if (f->isMinimized()) f->showNormal();
    mdi_->setActiveSubWindow(f);
    return true;
  }
  CFPUDoc& doc = Doc();
  QWidget* view = (*factory)(doc, nullptr);
  if (!view) return false;  // never an empty frame
  // Views ask for a page of the guide (F1, their Help buttons).
  if (view->metaObject()->indexOfSignal("HelpRequested(QString)") >= 0)
    connect(view, SIGNAL(HelpRequested(QString)), this, SLOT(ShowHelpTarget(QString)));
  CEditorFrame* frame = MakeEditorFrame(kind);
  frame->SetView(view);
  mdi_->addSubWindow(frame);
  connect(frame, &CEditorFrame::Closed, this, [this, kind] {
    if (doc_) doc_->NotifyEditorClosed(kind);
    OnFrameClosed();
  });
  frame->show();
  FitIntoMdiArea(frame);
  mdi_->setActiveSubWindow(frame);
  UpdateTree();
  return true;
}

bool CMainFrame::OpenEditorAt(const FieldInstance& field) {
  if (!field.module || !field.ref.table || !field.ref.decl || field.ref.table->hidden) return false;
  const FieldTable& table = *field.ref.table;
  const auto kind = static_cast<EditorKind>(field.module->kind);
  if (!IsEditorBuilt(kind) || !TableShown(table, app_.Image())) return false;
  if (table.channelRows && table.kind == TableKind::Form) {
    // A per-channel form shows the channel edit form's current channel and
    // follows it: that form opens (or steps) to the field's channel first.
    CChEditView::ShowChannel(field.ref.row);
    if (kind != EditorKind::ChEdit && !OpenEditor(EditorKind::ChEdit)) return false;
    Doc().SetCurrentChannel(field.ref.row);
  }
  if (!OpenEditor(kind)) return false;
  const CEditorFrame* frame = EditorFrame(kind);
  auto* view = frame ? dynamic_cast<FieldFocusView*>(frame->View()) : nullptr;
  if (!view) return false;
  // The field's control takes the focus in this window, wherever the
  // request came from.
  activateWindow();
  return view->FocusField(field.ref);
}

void CMainFrame::CloseEditor(EditorKind kind) {
  if (CEditorFrame* f = EditorFrame(kind)) f->close();
}

void CMainFrame::CloseAllEditors() {
  for (CEditorFrame* f : EditorFrames()) f->close();
}

void CMainFrame::OnFrameClosed() {
  // The document lives while any editor window exists.
  if (EditorFrames().isEmpty() && doc_) {
    CFPUDoc* doc = doc_;
    doc_ = nullptr;
    doc->deleteLater();
    UpdateCommandStates();
  }
}

// --- Image replacement and File commands -----------------------------------------------------

void CMainFrame::ImageReplaced() {
  if (doc_) doc_->ClearHistory();
  RebuildMenus();
  UpdateTree();
  UpdateCaption();
  emit ImageReset();
  PostCommand(cmd::kChInfo);
}

void CMainFrame::ReplaceImageFromTransfer() {
  CloseAllEditors();
  ImageStore& image = app_.Image();
  image.CopyTransferToWorking();
  // The control standard is fixed and the limits follow the record's band;
  // the channel clipboard belongs to the image that went.
  ChannelImageReplaced(image);
  image.TakeSnapshot();
  ImageReplaced();
}

FileState CMainFrame::CurrentFileState() const {
  FileState s;
  s.folder = FileSystemName(app_.LastFilePath());
  s.fileName = FileSystemName(app_.DataFileName());
  s.embedPassword = app_.DataFilePassword();
  s.password = app_.Security().password;
  s.tuningFolder = tuningFolder_;
  return s;
}

void CMainFrame::StoreFileState(const FileState& s) {
  app_.SetLastFilePath(DisplayName(s.folder));
  app_.SetDataFileName(DisplayName(s.fileName));
  tuningFolder_ = s.tuningFolder;
}

template <class Op>
auto CMainFrame::WithFileOperations(Op op) {
  FileState state = CurrentFileState();
  QtFilePrompts prompts(this);
  FileOperations ops(app_.Image(), state, prompts);
  auto result = op(ops);
  StoreFileState(state);
  UpdateCaption();
  // A save takes the snapshot again (and stamps the version and checksum).
  emit ImageReset();
  return result;
}

bool CMainFrame::PassSaveChangesPrompt() {
  return WithFileOperations([](FileOperations& ops) { return ops.PassSaveChanges(); });
}

bool CMainFrame::Save() {
  return WithFileOperations([](FileOperations& ops) { return ops.Save(); });
}

bool CMainFrame::SaveAs() {
  return WithFileOperations([](FileOperations& ops) { return ops.SaveAs(); });
}

void CMainFrame::OnOpen() {
  if (WithFileOperations([](FileOperations& ops) { return ops.Open(); }) == OpenOutcome::Opened)
    ReplaceImageFromTransfer();
}

bool CMainFrame::OpenDataFile(const QString& path) {
  const OpenOutcome r = WithFileOperations(
      [&path](FileOperations& ops) { return ops.OpenPath(FileSystemName(path)); });
  if (r != OpenOutcome::Opened) return false;
  ReplaceImageFromTransfer();
  return true;
}

void CMainFrame::OnNew() {
  if (!WithFileOperations([](FileOperations& ops) { return ops.ConfirmNew(); })) return;
  CloseAllEditors();
  MakeNewImageForCurrentModel(app_.Image());
  app_.ResetFileNames();
  ImageReplaced();
}

void CMainFrame::OnOpenTuningFile() {
  WithFileOperations([this](FileOperations& ops) { return ops.OpenTuningFile(tuning_); });
}

void CMainFrame::OnSaveTuningFile() {
  WithFileOperations([this](FileOperations& ops) { return ops.SaveTuningFile(tuning_); });
}

void CMainFrame::OnModelInformation() {
  CModelInfoDlg dlg(ModelInfo(app_.Image()), this);
  connect(&dlg, &CModelInfoDlg::HelpRequested, this, [this] { ShowHelp(help::kModelInformation); });
  if (CurrentPrompts().RunDialog(dlg) != QDialog::Accepted) return;
  const int code = dlg.Code();
  // A full re-initialisation replaces the image: the edits are saved first or
  // given up on purpose, as for New.
  if ((code & kModelReinitialise) && !PassSaveChangesPrompt()) return;
  CloseAllEditors();
  if (ApplyModelChange(app_.Image(), dlg.Selection(), code)) app_.ResetFileNames();
  ImageReplaced();
  // A band change keeps the channels; those outside the new band are named.
  if ((code & kModelBandChanged) && !(code & kModelReinitialise)) {
    const auto outside = ChannelsOutsideBand(ChannelStore(app_.Image()));
    if (!outside.empty())
      Notice(this, QString::fromStdString(FormatText(Tx(676_txt), {ChannelNumberList(outside)})));
  }
}

void CMainFrame::OnLanguageFileSetup() {
  const LanguageRow* current = LanguageRowOf(app_.LanguageId());
  const QString name = current ? QString::fromLatin1(current->name.data(),
                                                     static_cast<qsizetype>(current->name.size()))
                               : QString::fromStdString(Texts().CurrentLanguageName());
  CLanguageSetupDlg dlg(name, this);
  connect(&dlg, &CLanguageSetupDlg::HelpRequested, this, [this] { ShowHelp(help::kLanguageFileSetup); });
  if (CurrentPrompts().RunDialog(dlg) != QDialog::Accepted || !dlg.Changed()) return;
  app_.SetLanguageId(dlg.ChosenId());
  Notice(this, 125_txt);
}

QString CMainFrame::BackupsFolder() const {
  return DefaultDataFolder(DocumentsFolder(), app_.Options().programDir) + QStringLiteral("backups");
}

void CMainFrame::OnReadData() {
  if (app_.Flags().demo) {
    Notice(this, 474_txt);
    return;
  }
  // Reading replaces the image: the edits are saved first or given up on purpose.
  if (!PassSaveChangesPrompt()) return;
  CTransferDlg dlg(CTransferDlg::Direction::Read, TheLink(), app_.Image(), this);
  CurrentPrompts().RunDialog(dlg);
  if (dlg.TransferResult() == kTransferCancelled) {
    statusBar()->showMessage(QTx(408_txt), 15000);
    return;
  }
  if (dlg.TransferResult() != 0) return;
  FileError error;
  const std::string backup = SaveBackup(FileSystemName(BackupsFolder()), app_.Image().transfer(),
                                        std::time(nullptr), kBackupsKept, &error);
  // A repeater read as its own model: as after a change in Model Information,
  // the image no longer belongs to the file it came from.
  if (dlg.ReadAsOtherModel()) app_.ResetFileNames();
  ReplaceImageFromTransfer();
  if (backup.empty())
    Error(this, QTxFormat(476_txt, {FileErrorText(error)}));
  else
    statusBar()->showMessage(QTxFormat(475_txt, {backup}), 15000);
}

bool CMainFrame::DecideToWrite() {
  if (app_.Flags().demo) {
    Notice(this, 474_txt);
    return false;
  }
  // Values the editors would not store go to the repeater only when the
  // user says so, having seen them.
  auto problems = CheckImage(EditorModules(), app_.Image());
  if (problems.empty()) return Confirm(this, 444_txt, Buttons::OkCancelDefaultCancel) == Answer::Ok;
  CWriteCheckDlg dlg(std::move(problems), app_.Image(), this);
  const bool write = CurrentPrompts().RunDialog(dlg) == QDialog::Accepted;
  if (const FieldInstance* chosen = dlg.Chosen()) OpenEditorAt(*chosen);
  return write;
}

void CMainFrame::OnWriteData() {
  if (DecideToWrite()) RunWrite();
}

bool CMainFrame::RunWrite() {
  CTransferDlg dlg(CTransferDlg::Direction::Write, TheLink(), app_.Image(), this);
  CurrentPrompts().RunDialog(dlg);
  if (dlg.TransferResult() == 0) {
    // The repeater now holds the image as it stands: that is the snapshot,
    // and what was written is kept beside the backups of reads.
    app_.Image().TakeSnapshot();
    emit ImageReset();
    FileError error;
    const std::string backup = SaveBackup(FileSystemName(BackupsFolder()), app_.Image().transfer(),
                                          std::time(nullptr), kBackupsKept, &error, BackupKind::Written);
    statusBar()->showMessage(QTx(603_txt) + QStringLiteral("  ") +
                                 (backup.empty() ? QTxFormat(606_txt, {FileErrorText(error)}) : QTxFormat(604_txt, {backup})),
                             15000);
    Notice(this, 603_txt);
  } else if (dlg.TransferResult() == kTransferCancelled) {
    statusBar()->showMessage(QTx(409_txt), 15000);
  } else if (dlg.LeftPartialWrite()) {
    // Said in the failure message too; the write stays on offer.
    statusBar()->showMessage(QTx(410_txt));
  }
  UpdateCaption();
  return dlg.TransferResult() == 0;
}

void CMainFrame::OnNetworkInformation() {
  CNetworkInfoDlg dlg(TheLink(), ModelInfo(app_.Image()).Record(), app_.Flags().demo, this);
  connect(&dlg, &CNetworkInfoDlg::HelpRequested, this, [this] { ShowHelp(help::kNetworkInformation); });
  if (dlg.ReadAddress() != 0) return;
  CurrentPrompts().RunDialog(dlg);
}

void CMainFrame::OnFactoryReset() {
  CFactoryResetDlg dlg(TheLink(), ModelInfo(app_.Image()).Record(), app_.Flags().demo, this);
  CurrentPrompts().RunDialog(dlg);
}

void CMainFrame::OnCommunicationPort() {
  CCommPortDlg dlg(TheLink(), this);
  connect(&dlg, &CCommPortDlg::PortChanged, this, [this] { ShowPortInStatusBar(); });
  connect(&dlg, &CCommPortDlg::HelpRequested, this, [this] { ShowHelp(help::kCommunicationPort); });
  connect(&dlg, &CCommPortDlg::PortMapped, this, [](int port, const QString& path) {
    Settings().SetPortMapEntry(port, path);
  });
  CurrentPrompts().RunDialog(dlg);
}

CHelpWindow* CMainFrame::OpenHelpWindow() {
  const QString folder = app_.GuideFolder();
  if (folder.isEmpty()) {
    const QString page = app_.GuideName() + QLatin1Char('/') + Latin(kHelpContentsPage);
    Notice(this, QString::fromStdString(FormatText(Texts().Text(124_txt), {page.toStdString()})));
    return nullptr;
  }
  // A modal dialog blocks every window but its own: help asked for from one
  // belongs to it (and goes with it).
  QWidget* owner = QApplication::activeModalWidget();
  if (!owner) owner = this;
  if (!help_ || help_->parentWidget() != owner) {
    delete help_;
    help_ = new CHelpWindow(owner);
  }
  help_->SetGuideFolder(folder);
  help_->show();
  help_->raise();
  help_->activateWindow();
  return help_;
}

void CMainFrame::ShowHelp(int context) {
  if (CHelpWindow* h = OpenHelpWindow()) h->ShowContext(context);
}

void CMainFrame::ShowHelpTarget(const QString& target) {
  CHelpWindow* h = OpenHelpWindow();
  if (!h) return;
  if (target.isEmpty()) h->ShowContents();
  else h->ShowTarget(target);
}

void CMainFrame::OnHelp(bool advanced) {
  CHelpWindow* h = OpenHelpWindow();
  if (!h) return;
  if (advanced)
    h->ShowTarget(Latin(kReferenceContentsPage));
  else
    h->ShowContents();
}

void CMainFrame::OnDataMemoryMap() {
  if (!memoryMap_) {
    memoryMap_ = new CMemoryMapWnd(*this, app_.Image(), this);
    memoryMap_->setAttribute(Qt::WA_DeleteOnClose);
  }
  memoryMap_->show();
  memoryMap_->raise();
  memoryMap_->activateWindow();
}

CMemoryMapWnd* CMainFrame::MemoryMapWindow() const { return memoryMap_; }

void CMainFrame::OnCheckData() {
  if (!checkData_) {
    checkData_ = new CCheckDataWnd(*this, app_.Image(), this);
    checkData_->setAttribute(Qt::WA_DeleteOnClose);
    // It follows every change of the image and its replacement.
    const auto follow = [this](CFPUDoc* doc) {
      connect(doc, &EditorDocument::ImageChanged, checkData_, [this] { checkData_->Refresh(); });
    };
    follow(&Doc());
    connect(this, &CMainFrame::DocumentOpened, checkData_, follow);
    connect(this, &CMainFrame::ImageReset, checkData_, [this] { checkData_->Refresh(); });
  }
  checkData_->Refresh();
  checkData_->show();
  checkData_->raise();
  checkData_->activateWindow();
}

CCheckDataWnd* CMainFrame::CheckDataWindow() const { return checkData_; }

void CMainFrame::OnCompareWithRepeater() {
  if (app_.Flags().demo) {
    Notice(this, 474_txt);
    return;
  }
  if (!compare_) {
    compare_ = new CCompareWnd(*this, app_.Image(), this);
    compare_->setAttribute(Qt::WA_DeleteOnClose);
    // It compares every change of the data with the image read.
    const auto follow = [this](CFPUDoc* doc) {
      connect(doc, &EditorDocument::ImageChanged, compare_, [this] { compare_->Refresh(); });
    };
    follow(&Doc());
    connect(this, &CMainFrame::DocumentOpened, compare_, follow);
    connect(this, &CMainFrame::ImageReset, compare_, [this] { compare_->Refresh(); });
  }
  // A first read that fails opens no window; an open one says nothing was compared.
  if (!compare_->Compare() && !compare_->isVisible()) {
    compare_->deleteLater();
    return;
  }
  compare_->show();
  compare_->raise();
  compare_->activateWindow();
}

CCompareWnd* CMainFrame::CompareWindow() const { return compare_; }

bool CMainFrame::OpenMemMapDebugWindow() {
  if (!debug_ || !debug_->IsLoaded()) return false;
  ImageStore& image = app_.Image();
  auto main = image.Block(BlockId::Main).span();
  auto second = image.Block(BlockId::Second).span();
  return debug_->OpenWindow(this, main.data(), main.size(), second.data(), second.size());
}

bool CMainFrame::DebugLibraryLoaded() const { return debug_ && debug_->IsLoaded(); }

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
