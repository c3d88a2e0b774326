// The main window: menus, tool bar, status bar, the function tree in a dock,
// and the MDI area in which every editor opens in its own frame on the one
// shared document.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <optional>

#include "app/Commands.h"
#include "app/HelpWindow.h"
#include "app/StartupRules.h"
#include "data/FileOperations.h"
#include "data/TuningFile.h"
#include "editors/ui/EditorViews.h"
#include "fields/FieldWalk.h"
#include "editors/EditorKinds.h"

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace zmp {

class CFPUApp;
class CFPUDoc;
class CEditorFrame;
class CMemoryMapWnd;
class CCheckDataWnd;
class CCompareWnd;
class DebugLibrary;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(CFPUApp& app);
  ~CMainFrame() override;

  // The commands of the window, in the order of the menus (CommandList.h):
  // where each shows, what runs it and when it is on.
  struct CommandRow;
  static std::span<const CommandRow> CommandList();
  static const CommandRow* FindCommand(int id);

  // --- Editors -----------------------------------------------------------
  // Opens or activates the editor; false (nothing opened) when its view is not built.
  bool OpenEditor(EditorKind kind);
  void CloseEditor(EditorKind kind);
  void CloseAllEditors();
  CEditorFrame* EditorFrame(EditorKind kind) const;
  // Opens the editor that shows a field instance of the module list with that
  // field in view and its control (or grid cell) focused: its tab, its row,
  // its table; a per-channel form (channel edit, CW ID, beat shift) at the
  // field's channel, with the channel edit form it follows. False (nothing
  // focused) for a hidden slot, a table the image does not show or an editor
  // that is not built.
  bool OpenEditorAt(const FieldInstance& field);
  QList<CEditorFrame*> EditorFrames() const;
  // Built: in BuiltEditors() or added with AddEditorFactory.
  static bool IsEditorBuilt(EditorKind kind);
  // Adds the view of an editor kind that BuiltEditors() does not list (an
  // empty factory removes it again).
  static void AddEditorFactory(EditorKind kind, EditorFactory factory);
  // The shared document; nullptr while no editor is open.
  CFPUDoc* Document() const { return doc_; }
  // The shared document, created when there is none.
  CFPUDoc& Doc();
  QMdiArea* MdiArea() const { return mdi_; }

  // --- Image replacement -------------------------------------------------
  // After the transfer copy has been filled (data file opened, image read from
  // the repeater): close the editors, copy transfer to working, take the
  // snapshot, rebuild caption, menus and tree, and open the channel
  // information editor (posted).
  void ReplaceImageFromTransfer();
  // The save-changes question of a modified image; true when the caller may
  // go on (saved, or the user declined), false on Cancel or a failed save.
  bool PassSaveChangesPrompt();
  // Open, Save and Save As of the File menu; Save and Save As return true
  // when the image was saved.
  void OnOpen();
  bool Save();
  bool SaveAs();
  // Opens a data file without the dialog (what Open does once a file is chosen).
  bool OpenDataFile(const QString& path);
  // The tuning file entries of the Program menu.
  void OnOpenTuningFile();
  void OnSaveTuningFile();
  TuningFile& Tuning() { return tuning_; }

  // --- Commands ------------------------------------------------------------
  // Runs a command as if chosen from a menu; false when it is unknown or disabled.
  bool Command(int id);
  // Queues a command (as the program posts 32773 after start-up).
  void PostCommand(int id);
  QAction* Action(int id) const;
  bool IsCommandEnabled(int id) const;

  // --- Window contents -------------------------------------------------------
  void UpdateCaption();
  void UpdateTree();
  // Rebuilds every menu from its row table (the model may have changed).
  void RebuildMenus();
  void ShowPortInStatusBar();
  QTreeWidget* Tree() const { return tree_; }
  QDockWidget* TreeDock() const { return treeDock_; }
  QToolBar* ToolBar() const { return toolBar_; }
  QMenu* TopMenu(int index) const;

  // --- Placement -------------------------------------------------------------
  WindowPlacement Placement() const;
  // Applies a stored placement, or shows maximised when there is none.
  void RestorePlacement(const std::optional<WindowPlacement>& p, bool show);

  // --- Dialogs -----------------------------------------------------------------
  void OnModelInformation();
  void OnLanguageFileSetup();
  void OnCommunicationPort();
  // "Read Data form Radio" and "Write Data to Radio".
  void OnReadData();
  void OnWriteData();
  // Whether the image goes to the repeater now: never in demonstration mode,
  // else when the user confirms. Every check before a write belongs here.
  bool DecideToWrite();
  // The write dialog and what follows its outcome; true when the write completed.
  bool RunWrite();
  void OnNetworkInformation();
  void OnFactoryReset();
  // Where the data read from repeaters are kept.
  QString BackupsFolder() const;
  // Help Topics (the guide's contents) and Help Topics (Advanced) (the editor reference).
  void OnHelp(bool advanced);
  void OnNew();
  // The help window (nullptr until help was first asked for).
  CHelpWindow* HelpWindow() const { return help_; }

  // Tools > Data Memory Map: opens (or raises) the map of the image.
  void OnDataMemoryMap();
  void OnCheckData();
  CMemoryMapWnd* MemoryMapWindow() const;
  CCheckDataWnd* CheckDataWindow() const;
  // Program > Compare with Repeater: reads the repeater into an image of its
  // own and opens (or raises) the list of what differs.
  void OnCompareWithRepeater();
  CCompareWnd* CompareWindow() const;
  // Keeps a tool window current: refresh runs after every change of the image,
  // whichever document holds it, and after the image is replaced.
  void FollowImage(QWidget* window, const std::function<void()>& refresh);

  // Asks the memory-map debug library for its window (when loaded).
  bool OpenMemMapDebugWindow();
  bool DebugLibraryLoaded() const;

 signals:
  // The shared document was made (it lives while an editor is open).
  void DocumentOpened(zmp::CFPUDoc* doc);
  // The image was replaced (open, new, read, model change) or its snapshot
  // taken again (save, write): what counts as changed is new.
  void ImageReset();

 public slots:
  // The guide at the page of a help context (the dialogs' Help buttons and F1).
  void ShowHelp(int context);
  // The guide at "page.html#anchor" (the editors' Help buttons and F1); an
  // empty target opens the contents.
  void ShowHelpTarget(const QString& target);

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool event(QEvent* e) override;

 private:
  void RunCommand(int id);
  bool CommandOn(int id) const;

  void CreateActions();
  void CreateBars();
  // The entries of one menu for the option board value.
  void FillMenu(QMenu* menu, cmd::Menu which, int optionBoard);
  static TextNo MenuTitle(cmd::Menu menu);
  bool EntryShown(const CommandRow& row, int optionBoard) const;
  void UpdateCommandStates();
  void OnFrameClosed();
  void FitIntoMdiArea(QWidget* frame);
  // Common end of every image replacement: history, menus, tree, caption,
  // channel information editor.
  void ImageReplaced();
  void OnTreeItem(QTreeWidgetItem* item);
  void ShowSplash();
  // The help window on the guide of the current language, shown; nullptr
  // (the user was told) when the guide is not installed.
  CHelpWindow* OpenHelpWindow();

  // The application's file names and security settings as the file
  // operations use them, and back.
  FileState CurrentFileState() const;
  void StoreFileState(const FileState& s);
  template <class Op>
  auto WithFileOperations(Op op);

  CFPUApp& app_;
  TuningFile tuning_;
  std::string tuningFolder_;
  QMdiArea* mdi_ = nullptr;
  QDockWidget* treeDock_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* portPane_ = nullptr;
  QLabel* demoPane_ = nullptr;
  std::vector<QMenu*> menus_;
  std::map<int, QAction*> actions_;
  CFPUDoc* doc_ = nullptr;
  std::unique_ptr<DebugLibrary> debug_;
  // Owned by the main window, or by the modal dialog that asked for help.
  QPointer<CHelpWindow> help_;
  QPointer<CMemoryMapWnd> memoryMap_;
  QPointer<CCheckDataWnd> checkData_;
  QPointer<CCompareWnd> compare_;
  bool closing_ = false;
};

}  // namespace zmp
