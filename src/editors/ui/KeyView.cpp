#include "editors/ui/KeyView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Messages.h"
#include "editors/FunctionCodes.h"
#include "editors/KeyFields.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/EditorButtons.h"
#include "editors/ui/SettingsForm.h"

namespace zmp {

FrontPanel::FrontPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("front_panel"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void FrontPanel::SetCurrentKey(int k) {
  if (k == current_) return;
  current_ = k;
  update();
}

void FrontPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body = QRectF(rect()).adjusted(6, 6, -6, -6);
  // The rack front: dark body, two mounting ears with their holes.
  p.setPen(QPen(QColor(30, 30, 30), 1.5));
  p.setBrush(QColor(58, 62, 68));
  p.drawRoundedRect(body, 8, 8);
  p.setBrush(QColor(90, 94, 100));
  for (qreal x : {body.left() + 12, body.right() - 12}) {
    p.drawEllipse(QPointF(x, body.top() + 16), 4, 4);
    p.drawEllipse(QPointF(x, body.bottom() - 16), 4, 4);
  }
  const qreal inner = body.left() + 28;
  const qreal width = body.width() - 56;
  // Display and the status lamps (power, TX, RX, busy).
  const QRectF display(inner, body.top() + 14, width * 0.55, body.height() * 0.32);
  p.setBrush(QColor(120, 170, 120));
  p.setPen(QPen(QColor(20, 40, 20), 1));
  p.drawRoundedRect(display, 3, 3);
  p.setPen(QColor(20, 50, 20));
  QFont mono(QStringLiteral("Monospace"));
  mono.setStyleHint(QFont::TypeWriter);
  mono.setPointSizeF(std::max(7.0, display.height() * 0.32));
  p.setFont(mono);
  p.drawText(display, Qt::AlignCenter, QStringLiteral("CH 01"));
  const QColor lamps[] = {QColor(60, 200, 60), QColor(220, 50, 40), QColor(60, 200, 60), QColor(230, 170, 40)};
  for (int i = 0; i < 4; ++i) {
    const QPointF c(display.right() + 24 + i * (width * 0.45 - 24) / 4, display.center().y());
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(lamps[i].darker(130));
    p.drawEllipse(c, 5, 5);
  }
  // The six keys in a row, each with its name below.
  const qreal top = display.bottom() + 16;
  const qreal keyW = width / kKeyCount;
  const qreal keyH = std::min<qreal>(body.bottom() - top - 24, 34);
  QFont small = font();
  small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.8));
  for (int k = 0; k < kKeyCount; ++k) {
    const QRectF key(inner + k * keyW + 5, top, keyW - 10, keyH);
    const bool current = k == current_;
    p.setPen(QPen(current ? QColor(255, 200, 40) : QColor(20, 20, 20), current ? 3 : 1));
    p.setBrush(current ? QColor(200, 205, 212) : QColor(160, 165, 172));
    p.drawRoundedRect(key, 4, 4);
    p.setPen(QColor(30, 30, 30));
    p.setFont(font());
    p.drawText(key, Qt::AlignCenter, QString::number(k + 1));
    p.setPen(QColor(230, 230, 230));
    p.setFont(small);
    p.drawText(QRectF(key.left() - 4, key.bottom() + 2, key.width() + 8, 18), Qt::AlignHCenter | Qt::AlignTop,
               QTx(TextNo{998 + k}));
  }
}

CKeyView::CKeyView(EditorDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
  setObjectName(QStringLiteral("key_assignment"));
  setWindowTitle(QTx(701_txt));
  form_ = new SettingsForm(doc_, {&KeyTable()}, this);
  panel_ = new FrontPanel(this);
  auto* buttons = new EditorButtons(*this, doc_, EditorKind::Key, 0,
                                    [this](const QString& target) { emit HelpRequested(target); });
  buttons->Serve(*form_);
  EditGrid* grid = Grid();
  grid->setMinimumWidth(300);
  grid->setMinimumHeight(grid->verticalHeader()->defaultSectionSize() * (kKeyCount + 1) + 8);
  connect(grid, &EditGrid::CurrentCellChanged, panel_, [this](int row, int) { panel_->SetCurrentKey(row); });
  panel_->SetCurrentKey(grid->CurrentRow());

  auto* top = new QHBoxLayout;
  top->addWidget(form_, 1);
  top->addWidget(panel_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

EditGrid* CKeyView::Grid() const { return form_->GridOf(0); }

bool CKeyView::FocusField(const FieldRef& field) { return form_->FocusField(field); }

}  // namespace zmp
