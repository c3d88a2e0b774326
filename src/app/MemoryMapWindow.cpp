#include "app/MemoryMapWindow.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/FPUDoc.h"
#include "app/MainFrame.h"
#include "ui/Messages.h"
#include "editors/EditorModules.h"

namespace zmp {

namespace {

// The blocks the map shows, with their titles.
struct ShownBlock {
  BlockId block;
  TextNo title;
};
constexpr std::array<ShownBlock, 3> kShownBlocks{{
    {BlockId::Main, 417_txt},
    {BlockId::Second, 418_txt},
    {BlockId::Fourth, 419_txt},
}};

// Columns of a row: the offset, a gap, the hex cells (an extra blank after
// the eighth), a gap, the text cells; in character widths.
constexpr int kMargin = 4;
constexpr int kOffsetChars = 6;
constexpr int kHexStartChar = kOffsetChars + 2;
constexpr int kTextStartChar = kHexStartChar + 3 * MemoryMapView::kBytesPerRow + 2;
constexpr int kRowChars = kTextStartChar + MemoryMapView::kBytesPerRow + 1;

QString Hex(std::size_t value, int digits) {
  const QString number = QStringLiteral("%1").arg(static_cast<qulonglong>(value), digits, 16, QLatin1Char('0'));
  return QStringLiteral("0x") + number.toUpper();
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool Differs(const ImageStore& image, BlockId block, std::size_t offset) {
  return image.working().Block(block).Byte(offset) != image.snapshot().Block(block).Byte(offset);
}

}  // namespace

// --- the view ---------------------------------------------------------------------------

MemoryMapView::MemoryMapView(const ImageStore& image, const ByteOwners& owners, QWidget* parent)
    : QAbstractScrollArea(parent), image_(image), owners_(owners) {
  setObjectName(QStringLiteral("MemoryMapView"));
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::TypeWriter);
  setFont(font);
  viewport()->setFont(font);
  const QFontMetrics m(font);
  charWidth_ = std::max(1, m.horizontalAdvance(QLatin1Char('0')));
  rowHeight_ = m.height() + 2;
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  verticalScrollBar()->setSingleStep(1);
  UpdateScrollRange();
}

QSize MemoryMapView::sizeHint() const {
  return {kRowChars * charWidth_ + 2 * kMargin + verticalScrollBar()->sizeHint().width() + 2 * frameWidth(),
          24 * rowHeight_};
}

std::size_t MemoryMapView::RowCount() const {
  return (BlockSize(block_) + kBytesPerRow - 1) / kBytesPerRow;
}

void MemoryMapView::UpdateScrollRange() {
  const int visible = std::max(1, (viewport()->height() - rowHeight_ - 4) / rowHeight_);
  verticalScrollBar()->setPageStep(visible);
  verticalScrollBar()->setRange(0, std::max(0, static_cast<int>(RowCount()) - visible));
  const int width = kRowChars * charWidth_ + 2 * kMargin;
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
}

void MemoryMapView::SetBlock(BlockId block) {
  block_ = block;
  cursor_ = 0;
  hovered_.reset();
  UpdateScrollRange();
  verticalScrollBar()->setValue(0);
  viewport()->update();
  emit CursorMoved(cursor_);
}

int MemoryMapView::FirstVisibleRow() const { return verticalScrollBar()->value(); }

void MemoryMapView::SetCursor(std::size_t offset) {
  cursor_ = std::min(offset, BlockSize(block_) - 1);
  const int row = static_cast<int>(cursor_ / kBytesPerRow);
  const int first = FirstVisibleRow();
  const int visible = verticalScrollBar()->pageStep();
  if (row < first) verticalScrollBar()->setValue(row);
  else if (row >= first + visible) verticalScrollBar()->setValue(row - visible + 1);
  viewport()->update();
  emit CursorMoved(cursor_);
}

int MemoryMapView::HexX(int column) const {
  return kMargin - horizontalScrollBar()->value() +
         (kHexStartChar + 3 * column + (column >= kBytesPerRow / 2 ? 1 : 0)) * charWidth_;
}

int MemoryMapView::TextX(int column) const {
  return kMargin - horizontalScrollBar()->value() + (kTextStartChar + column) * charWidth_;
}

QRect MemoryMapView::HexCellRect(std::size_t offset) const {
  const int row = static_cast<int>(offset / kBytesPerRow) - FirstVisibleRow();
  const int column = static_cast<int>(offset % kBytesPerRow);
  const int top = rowHeight_ + 4 + row * rowHeight_;
  return {HexX(column) - charWidth_ / 2, top, 3 * charWidth_, rowHeight_};
}

std::optional<std::size_t> MemoryMapView::ByteAt(const QPoint& p) const {
  const int top = rowHeight_ + 4;
  if (p.y() < top) return std::nullopt;
  const std::size_t row = static_cast<std::size_t>(FirstVisibleRow() + (p.y() - top) / rowHeight_);
  int column = -1;
  for (int c = 0; c < kBytesPerRow && column < 0; ++c) {
    if (p.x() >= HexX(c) - charWidth_ / 2 && p.x() < HexX(c) + 5 * charWidth_ / 2) column = c;
    if (p.x() >= TextX(c) && p.x() < TextX(c) + charWidth_) column = c;
  }
  if (column < 0) return std::nullopt;
  const std::size_t offset = row * kBytesPerRow + static_cast<std::size_t>(column);
  if (offset >= BlockSize(block_)) return std::nullopt;
  return offset;
}

QColor MemoryMapView::ModuleColour(int module) {
  if (module < 0) return QColor(Qt::white);
  // Light colours that tell neighbours in the module list apart, none of
  // them red (the frame of a changed byte).
  static constexpr std::array<QRgb, 16> kColours{0xA8D0F0, 0xC8E6A0, 0xF5D58A, 0xD9C2F0, 0x9FE0D0, 0xF0C8A0,
                                                 0xE0E08A, 0xB8C8F8, 0xF0C0E0, 0xA8E8B0, 0xE8C8F8, 0xF8E0B0,
                                                 0xB0D8D8, 0xD0F0F0, 0xE0F0C0, 0xF0D8C8};
  if (module < static_cast<int>(kColours.size())) return QColor(kColours[static_cast<std::size_t>(module)]);
  return QColor::fromHsl((module * 137) % 360, 150, 215);
}

QColor MemoryMapView::ChangedColour() { return QColor(200, 20, 20); }

void MemoryMapView::PaintRow(QPainter& p, int row, int y, std::size_t fieldFirst, std::size_t fieldEnd) const {
  const std::size_t size = BlockSize(block_);
  const auto bytes = image_.working().Block(block_);
  const auto snapshot = image_.snapshot().Block(block_);
  // The row's digits and characters in two strings each: black, and red for
  // the bytes that differ from the snapshot (blanks elsewhere).
  QString hex(3 * kBytesPerRow + 1, QLatin1Char(' ')), changedHex = hex;
  QString text(kBytesPerRow, QLatin1Char(' ')), changedText = text;
  std::array<bool, kBytesPerRow> changed{};
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int c = 0; c < kBytesPerRow; ++c) {
    const std::size_t offset = static_cast<std::size_t>(row) * kBytesPerRow + static_cast<std::size_t>(c);
    if (offset >= size) break;
    const std::uint8_t b = bytes.Byte(offset);
    changed[static_cast<std::size_t>(c)] = b != snapshot.Byte(offset);
    QString& digits = changed[static_cast<std::size_t>(c)] ? changedHex : hex;
    QString& chars = changed[static_cast<std::size_t>(c)] ? changedText : text;
    const int at = 3 * c + (c >= kBytesPerRow / 2 ? 1 : 0);
    digits[at] = QLatin1Char(kDigits[b >> 4]);
    digits[at + 1] = QLatin1Char(kDigits[b & 0x0F]);
    chars[c] = b >= 0x20 && b < 0x7F ? QLatin1Char(static_cast<char>(b)) : QLatin1Char('.');
    const ByteOwner owner = owners_.At(block_, offset);
    QColor colour = ModuleColour(owner.module);
    if (offset >= fieldFirst && offset < fieldEnd) colour = colour.darker(118);
    if (colour != Qt::white) {
      p.fillRect(HexX(c) - charWidth_ / 2, y, 3 * charWidth_, rowHeight_, colour);
      p.fillRect(TextX(c), y, charWidth_, rowHeight_, colour);
    }
  }
  const int baseline = y + rowHeight_ - 1 - p.fontMetrics().descent();
  p.setPen(palette().color(QPalette::PlaceholderText));
  p.drawText(kMargin - horizontalScrollBar()->value(), baseline,
             Hex(static_cast<std::size_t>(row) * kBytesPerRow, 4));
  p.setPen(Qt::black);
  p.drawText(HexX(0), baseline, hex);
  p.drawText(TextX(0), baseline, text);
  p.setPen(ChangedColour());
  p.drawText(HexX(0), baseline, changedHex);
  p.drawText(TextX(0), baseline, changedText);
  // Changed bytes underlined in red; the cursor and the byte under the
  // mouse outlined.
  for (int c = 0; c < kBytesPerRow; ++c) {
    const std::size_t offset = static_cast<std::size_t>(row) * kBytesPerRow + static_cast<std::size_t>(c);
    if (offset >= size) break;
    const QRect hexCell(HexX(c) - charWidth_ / 2, y, 3 * charWidth_ - 1, rowHeight_ - 1);
    const QRect textCell(TextX(c), y, charWidth_ - 1, rowHeight_ - 1);
    if (changed[static_cast<std::size_t>(c)]) {
      p.fillRect(HexX(c), y + rowHeight_ - 2, 2 * charWidth_, 2, ChangedColour());
      p.fillRect(TextX(c), y + rowHeight_ - 2, charWidth_, 2, ChangedColour());
    }
    const bool cursor = offset == cursor_;
    if (!cursor && !(hovered_ && *hovered_ == offset)) continue;
    p.setPen(QPen(cursor ? palette().color(QPalette::Highlight) : QColor(60, 60, 60), cursor && hasFocus() ? 2 : 1));
    p.drawRect(hexCell);
    p.drawRect(textCell);
  }
}

void MemoryMapView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), Qt::white);
  p.setFont(font());
  // The column heading stays at the top.
  const int headBaseline = rowHeight_ - 1 - p.fontMetrics().descent();
  p.setPen(palette().color(QPalette::PlaceholderText));
  for (int c = 0; c < kBytesPerRow; ++c) {
    p.drawText(HexX(c), headBaseline, QStringLiteral("%1").arg(c, 2, 16, QLatin1Char('0')).toUpper());
    p.drawText(TextX(c), headBaseline, QString::number(c, 16).toUpper());
  }
  p.drawLine(0, rowHeight_ + 1, viewport()->width(), rowHeight_ + 1);
  // The bytes of the field under the cursor are shaded.
  std::size_t fieldFirst = 0, fieldEnd = 0;
  if (const ByteOwner o = owners_.At(block_, cursor_); o.field) {
    fieldFirst = o.field->where.offset;
    fieldEnd = o.field->where.offset + o.field->where.length;
  }
  const int first = FirstVisibleRow();
  const int rows = static_cast<int>(RowCount());
  p.setClipRect(0, rowHeight_ + 4, viewport()->width(), viewport()->height());
  for (int r = first, y = rowHeight_ + 4; r < rows && y < viewport()->height(); ++r, y += rowHeight_)
    PaintRow(p, r, y, fieldFirst, fieldEnd);
}

void MemoryMapView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollRange();
}

void MemoryMapView::keyPressEvent(QKeyEvent* e) {
  const long size = static_cast<long>(BlockSize(block_));
  const long page = static_cast<long>(verticalScrollBar()->pageStep()) * kBytesPerRow;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  long to = static_cast<long>(cursor_);
  switch (e->key()) {
    case Qt::Key_Left: to -= 1; break;
    case Qt::Key_Right: to += 1; break;
    case Qt::Key_Up: to -= kBytesPerRow; break;
    case Qt::Key_Down: to += kBytesPerRow; break;
    case Qt::Key_PageUp: to -= page; break;
    case Qt::Key_PageDown: to += page; break;
    case Qt::Key_Home: to = ctrl ? 0 : to - to % kBytesPerRow; break;
    case Qt::Key_End: to = ctrl ? size - 1 : to - to % kBytesPerRow + kBytesPerRow - 1; break;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit Activated(cursor_); return;
    default: QAbstractScrollArea::keyPressEvent(e); return;
  }
  SetCursor(static_cast<std::size_t>(std::clamp(to, 0L, size - 1)));
}

void MemoryMapView::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  if (const auto offset = ByteAt(e->position().toPoint())) SetCursor(*offset);
}

void MemoryMapView::mouseMoveEvent(QMouseEvent* e) {
  const auto offset = ByteAt(e->position().toPoint());
  if (offset == hovered_) return;
  hovered_ = offset;
  viewport()->update();
  emit HoverChanged();
}

void MemoryMapView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (const auto offset = ByteAt(e->position().toPoint())) {
    SetCursor(*offset);
    emit Activated(*offset);
  }
}

void MemoryMapView::leaveEvent(QEvent* e) {
  QAbstractScrollArea::leaveEvent(e);
  if (!hovered_) return;
  hovered_.reset();
  viewport()->update();
  emit HoverChanged();
}

// --- the window -------------------------------------------------------------------------

CMemoryMapWnd::CMemoryMapWnd(CMainFrame& frame, const ImageStore& image, QWidget* parent)
    : QWidget(parent, Qt::Window), frame_(frame), image_(image), owners_(EditorModules()) {
  setObjectName(QStringLiteral("MemoryMap"));
  setWindowTitle(QTx(416_txt).remove(QLatin1Char('&')));
  owners_.Build(image_);

  blocks_ = new QTabBar(this);
  blocks_->setObjectName(QStringLiteral("Blocks"));
  for (const ShownBlock& b : kShownBlocks) blocks_->addTab(QTx(b.title));
  blocks_->setFocusPolicy(Qt::TabFocus);
  auto* goToLabel = new QLabel(QTx(436_txt), this);
  goTo_ = new QLineEdit(this);
  goTo_->setObjectName(QStringLiteral("GoTo"));
  goTo_->setMaxLength(8);
  goTo_->setFixedWidth(goTo_->fontMetrics().horizontalAdvance(QStringLiteral("0x00000000")) + 12);
  goToLabel->setBuddy(goTo_);
  previous_ = new QPushButton(QTx(438_txt), this);
  next_ = new QPushButton(QTx(437_txt), this);
  auto* top = new QHBoxLayout;
  top->addWidget(blocks_);
  top->addStretch(1);
  top->addWidget(goToLabel);
  top->addWidget(goTo_);
  top->addWidget(previous_);
  top->addWidget(next_);

  view_ = new MemoryMapView(image_, owners_, this);
  // Every column of a row stays in sight; the rows scroll.
  view_->setMinimumWidth(view_->sizeHint().width());
  // The colours: one per editor, then the bytes no editor owns and the frame
  // of a changed byte.
  auto* legend = new QVBoxLayout;
  legend->setSpacing(2);
  const ModuleList modules = owners_.Modules();
  auto swatch = [this, legend](const QString& text, const QString& style) {
    auto* l = new QLabel(text, this);
    l->setStyleSheet(style);
    legend->addWidget(l);
  };
  for (std::size_t m = 0; m < modules.size(); ++m) {
    const QColor colour = MemoryMapView::ModuleColour(static_cast<int>(m));
    swatch(QTx(modules[m]->title).remove(QLatin1Char('&')),
           QStringLiteral("background: %1; padding: 1px 6px;").arg(colour.name()));
  }
  swatch(QTx(425_txt), QStringLiteral("background: white; border: 1px solid #c0c0c0; padding: 0px 5px;"));
  swatch(QTx(424_txt), QStringLiteral("color: %1; border-bottom: 2px solid %1; padding: 1px 6px;")
                           .arg(MemoryMapView::ChangedColour().name()));
  legend->addStretch(1);
  auto* middle = new QHBoxLayout;
  middle->addWidget(view_, 1);
  middle->addLayout(legend);

  auto* info = new QFormLayout;
  byteLine_ = new QLabel(this);
  editorLine_ = new QLabel(this);
  fieldLine_ = new QLabel(this);
  for (QLabel* l : {byteLine_, editorLine_, fieldLine_}) l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  info->addRow(QTx(420_txt) + QLatin1Char(':'), byteLine_);
  info->addRow(QTx(421_txt) + QLatin1Char(':'), editorLine_);
  info->addRow(QTx(423_txt) + QLatin1Char(':'), fieldLine_);
  auto* hint = new QLabel(QTx(446_txt), this);
  hint->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle, 1);
  layout->addLayout(info);
  layout->addWidget(hint);

  connect(blocks_, &QTabBar::currentChanged, this, [this](int i) {
    if (i >= 0 && i < static_cast<int>(kShownBlocks.size()))
      view_->SetBlock(kShownBlocks[static_cast<std::size_t>(i)].block);
  });
  connect(view_, &MemoryMapView::CursorMoved, this, [this](std::size_t) { ShowByte(); });
  connect(view_, &MemoryMapView::HoverChanged, this, [this] { ShowByte(); });
  connect(view_, &MemoryMapView::Activated, this, [this](std::size_t offset) { OpenFieldAt(offset); });
  connect(goTo_, &QLineEdit::returnPressed, this, [this] { OnGoTo(); });
  connect(next_, &QPushButton::clicked, this, [this] { StepToChange(true); });
  connect(previous_, &QPushButton::clicked, this, [this] { StepToChange(false); });
  // Live: the document's changes (it exists while an editor is open) and
  // every replacement of the image or new snapshot.
  connect(&frame_, &CMainFrame::DocumentOpened, this, [this](CFPUDoc* doc) { AttachDocument(doc); });
  connect(&frame_, &CMainFrame::ImageReset, this, [this] { Refresh(); });
  if (frame_.Document()) AttachDocument(frame_.Document());

  resize(sizeHint().width(), 640);
  view_->setFocus();
  ShowByte();
}

void CMemoryMapWnd::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(e);
}

void CMemoryMapWnd::AttachDocument(EditorDocument* doc) {
  if (!doc || doc == doc_) return;
  doc_ = doc;
  // A commit says what it changed, then that the image changed; anything
  // that changes the image without saying what (ImageChanged alone) is
  // followed as well.
  connect(doc, &EditorDocument::Changed, this, [this](const ImageChange&) {
    sawChanged_ = true;
    Refresh();
  });
  connect(doc, &EditorDocument::ImageChanged, this, [this](QObject*) {
    if (!sawChanged_) Refresh();
    sawChanged_ = false;
  });
}

void CMemoryMapWnd::Refresh() {
  // Channels come and go and their records move: the fields are walked anew.
  owners_.Build(image_);
  view_->viewport()->update();
  ShowByte();
}

void CMemoryMapWnd::ShowByte() {
  const BlockId block = view_->Block();
  const std::size_t offset = view_->Hovered().value_or(view_->Cursor());
  const std::uint8_t value = image_.working().Block(block).Byte(offset);
  QString where = blocks_->tabText(blocks_->currentIndex()) + QLatin1Char(' ') + Hex(offset, 4) +
                  QStringLiteral(" = ") + Hex(value, 2);
  if (Differs(image_, block, offset))
    where += QStringLiteral("   ") + QTx(424_txt) + QStringLiteral(" (") +
             QTxFormat(448_txt, {Hex(image_.snapshot().Block(block).Byte(offset), 2).toStdString()}) +
             QLatin1Char(')');
  byteLine_->setText(where);
  const ByteOwner owner = owners_.At(block, offset);
  const TextNo editor = owner.module >= 0 ? owners_.Modules()[static_cast<std::size_t>(owner.module)]->title : 425_txt;
  editorLine_->setText(QTx(editor).remove(QLatin1Char('&')));
  QStringList fields;
  for (const OwnedField* f : owners_.FieldsAt(block, offset)) {
    QString line = Q(f->field.key) + QStringLiteral("   ") + Q(FieldLabel(*f->field.ref.decl));
    if (f->Hidden()) line += QStringLiteral(" (") + QTx(435_txt) + QLatin1Char(')');
    else line += QStringLiteral(": ") + Q(ShowField(f->field.ref, image_).text);
    fields << line;
  }
  fieldLine_->setText(fields.join(QLatin1Char('\n')));
}

bool CMemoryMapWnd::OpenFieldAt(std::size_t offset) {
  for (const OwnedField* f : owners_.FieldsAt(view_->Block(), offset)) {
    if (f->Hidden()) continue;
    // Opening may change the image (a form's one-time rewrite), which walks
    // the fields anew: the field is held by value.
    const FieldInstance field = f->field;
    return frame_.OpenEditorAt(field);
  }
  return false;
}

bool CMemoryMapWnd::StepToChange(bool forward) {
  const BlockId block = view_->Block();
  const std::size_t size = BlockSize(block);
  std::size_t at = view_->Cursor();
  while (forward ? at + 1 < size : at > 0) {
    at = forward ? at + 1 : at - 1;
    if (!Differs(image_, block, at)) continue;
    view_->SetCursor(at);
    return true;
  }
  return false;
}

void CMemoryMapWnd::OnGoTo() {
  QString text = goTo_->text().trimmed();
  if (text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) text = text.mid(2);
  bool ok = false;
  const qulonglong offset = text.toULongLong(&ok, 16);
  if (!ok || offset >= BlockSize(view_->Block())) {
    goTo_->selectAll();
    return;
  }
  view_->SetCursor(static_cast<std::size_t>(offset));
  view_->setFocus();
}

}  // namespace zmp
