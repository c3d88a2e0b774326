// The child windows in which the editors open. Every editor kind names its
// frame class; a frame holds exactly one editor view.
#pragma once

#include <QMdiSubWindow>

#include "editors/EditorKinds.h"

namespace zmp {

class CEditorFrame : public QMdiSubWindow {
  Q_OBJECT
 public:
  CEditorFrame(EditorKind kind, QWidget* parent = nullptr);
  EditorKind Kind() const { return kind_; }
  // Puts the view into the frame and sizes the frame to it.
  virtual void SetView(QWidget* view);
  QWidget* View() const { return widget(); }
  // True once the frame has been closed (it is deleted soon after).
  bool IsClosed() const { return closed_; }

 signals:
  void Closed();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  EditorKind kind_;
  bool closed_ = false;
};

// The usual editor frame: resizable, sized to the view at first.
class CChildFrame : public CEditorFrame {
  Q_OBJECT
 public:
  using CEditorFrame::CEditorFrame;
};

// The channel information editor's frame: resizable and opened large, since
// its grid grows with the channels.
class CChInfoFrm : public CEditorFrame {
  Q_OBJECT
 public:
  using CEditorFrame::CEditorFrame;
  void SetView(QWidget* view) override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  bool sized_ = false;
};

// Frames of form editors with a fixed layout: the frame keeps the view's size
// and cannot be maximised.
class CSpecialFrame : public CEditorFrame {
  Q_OBJECT
 public:
  CSpecialFrame(EditorKind kind, QWidget* parent = nullptr);
  void SetView(QWidget* view) override;
};

CEditorFrame* MakeEditorFrame(EditorKind kind, QWidget* parent = nullptr);

}  // namespace zmp
