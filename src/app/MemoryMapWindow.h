// The data memory map (Tools menu, or the command-line word "memmap"): the
// working image's main, second and fourth blocks as hex and text, 16 bytes a
// row, each byte on the colour of the editor that owns it, the bytes that
// differ from the snapshot (the last read, save or open) framed, the field
// under the mouse or the cursor named with its key, label and shown text.
// It follows the image live: every commit, undo and redo, and every
// replacement of the image. Double-click (or Enter) opens the field's editor
// at that field. The map only reads the image: it holds it const.
#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QWidget>
#include <optional>
#include <vector>

#include "editors/ByteOwners.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QKeyEvent;
class QTabBar;

namespace zmp {

class CMainFrame;
class EditorDocument;

// One block as hex and text, 16 bytes a row, scrolled by rows; a cursor byte
// moved with the mouse and the keys.
class MemoryMapView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  static constexpr int kBytesPerRow = 16;

  MemoryMapView(const ImageStore& image, const ByteOwners& owners, QWidget* parent = nullptr);

  void SetBlock(BlockId block);
  BlockId Block() const { return block_; }
  std::size_t Cursor() const { return cursor_; }
  // Moves the cursor (limited to the block) and scrolls it into view.
  void SetCursor(std::size_t offset);
  // The byte under the mouse, when it is over one.
  std::optional<std::size_t> Hovered() const { return hovered_; }
  // Where a byte's hex cell is drawn (viewport coordinates).
  QRect HexCellRect(std::size_t offset) const;
  std::optional<std::size_t> ByteAt(const QPoint& viewportPoint) const;
  int RowHeight() const { return rowHeight_; }
  int FirstVisibleRow() const;
  // The colour of a module's bytes (index in the module list).
  static QColor ModuleColour(int module);
  static QColor ChangedColour();
  QSize sizeHint() const override;

 signals:
  void CursorMoved(std::size_t offset);
  void HoverChanged();
  void Activated(std::size_t offset);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  std::size_t RowCount() const;
  void UpdateScrollRange();
  int HexX(int column) const;
  int TextX(int column) const;
  void PaintRow(class QPainter& p, int row, int y, std::size_t fieldFirst, std::size_t fieldEnd) const;

  const ImageStore& image_;
  const ByteOwners& owners_;
  BlockId block_ = BlockId::Main;
  std::size_t cursor_ = 0;
  std::optional<std::size_t> hovered_;
  int charWidth_ = 8;
  int rowHeight_ = 16;
};

class CMemoryMapWnd : public QWidget {
  Q_OBJECT
 public:
  CMemoryMapWnd(CMainFrame& frame, const ImageStore& image, QWidget* parent);

  MemoryMapView* View() const { return view_; }
  QTabBar* Blocks() const { return blocks_; }
  const ByteOwners& Owners() const { return owners_; }
  // The lines naming the byte under the mouse, or else the cursor byte.
  QLabel* ByteLine() const { return byteLine_; }
  QLabel* EditorLine() const { return editorLine_; }
  QLabel* FieldLine() const { return fieldLine_; }
  QLineEdit* GoTo() const { return goTo_; }
  QPushButton* NextChange() const { return next_; }
  QPushButton* PreviousChange() const { return previous_; }

  // Follows the image again after a change (walks the fields anew when the
  // change may have moved them) and repaints.
  void Refresh();
  // Opens the editor of the field at a byte of the shown block; false (and
  // nothing opened) where no editor shows a field.
  bool OpenFieldAt(std::size_t offset);
  // Moves the cursor to the next (previous) byte that differs from the
  // snapshot; false when there is none that way.
  bool StepToChange(bool forward);

 protected:
  // Escape closes the map.
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void AttachDocument(EditorDocument* doc);
  void ShowByte();
  void OnGoTo();

  CMainFrame& frame_;
  const ImageStore& image_;
  ByteOwners owners_;
  MemoryMapView* view_ = nullptr;
  QTabBar* blocks_ = nullptr;
  QLabel* byteLine_ = nullptr;
  QLabel* editorLine_ = nullptr;
  QLabel* fieldLine_ = nullptr;
  QLineEdit* goTo_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPointer<EditorDocument> doc_;
  bool sawChanged_ = false;
};

}  // namespace zmp
