// The channel information view: all 30 channels in one grid, their main
// fields edited in place, whole channels copied, pasted and deleted through
// the channel clipboard, and the grid copied as text. The main frame shows it
// in its CChInfoFrm frame.
#pragma once

#include <QPointer>
#include <memory>

#include "editors/ChannelClipboard.h"
#include "editors/ChannelGridSource.h"
#include "editors/ui/GridView.h"

class QAction;
class QMenu;
class QPushButton;

namespace zmp {

class CChInfoView : public GridView {
  Q_OBJECT
 public:
  // Control ids (object names "ctl<id>").
  static constexpr int kGridId = 1014;
  static constexpr int kChannelEditId = 1107;

  explicit CChInfoView(EditorDocument& doc, QWidget* parent = nullptr);
  ~CChInfoView() override;

  ChannelGridSource& Source() { return *source_; }

  // The view's commands; each returns whether it did something. Copy, Paste,
  // Delete and the clipboard texts need the focus on the grid.
  bool OnCopy() override;
  bool OnPaste();
  bool OnDelete() override;
  bool OnToClip(bool withTitle);
  // Paste (Ctrl+V, the popup's Paste): channels copied with Copy while no
  // text has reached the system clipboard since, otherwise the clipboard's
  // text cell by cell (a spreadsheet's rows, "to Clip" text).
  bool OnPasteLatest() override;
  void OnChannelEdit();
  void Reload() override;
  // The field's cell becomes the current cell, with the focus.
  bool FocusField(const FieldRef& field) override;
  // Command numbers of the view.
  static constexpr int kCmdToClip = 32797;
  static constexpr int kCmdToClipTitle = 32811;
  static constexpr int kCmdChannelEdit = 32807;

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void UpdateTitle();
  void MakeSource();
  void ReportStatus(StoreStatus s);
  void ReportBand(const PasteResult& result);

  QPointer<EditorDocument> docAlive_;
  std::unique_ptr<ChannelGridSource> source_;
  QPushButton* channelEdit_;
  QPushButton* close_;
  QPushButton* help_;
  bool indexChecked_ = false;
};

}  // namespace zmp
