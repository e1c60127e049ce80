#include "app/widgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace rv {

QColor ToQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TColorGrid::TColorGrid(QWidget* parent) : QWidget(parent) {}

QRect TColorGrid::CellRect(int cell) const {
  const int col = cell % ColorGridModel::kColumns;
  const int row = cell / ColorGridModel::kColumns;
  const int x0 = col * width() / ColorGridModel::kColumns;
  const int x1 = (col + 1) * width() / ColorGridModel::kColumns;
  const int y0 = row * height() / ColorGridModel::kRows;
  const int y1 = (row + 1) * height() / ColorGridModel::kRows;
  return QRect(x0, y0, x1 - x0, y1 - y0);
}

void TColorGrid::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QFont f = font();
  f.setPixelSize(9);
  p.setFont(f);
  for (int i = 0; i < static_cast<int>(kGridColors.size()); ++i) {
    const QRect r = CellRect(i);
    const QColor c = ToQColor(kGridColors[i]);
    p.fillRect(r, c);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    QString mark;
    if (i == model_.ForegroundIndex() && i == model_.BackgroundIndex()) {
      mark = QStringLiteral("FB");
    } else if (i == model_.ForegroundIndex()) {
      mark = QStringLiteral("FG");
    } else if (i == model_.BackgroundIndex()) {
      mark = QStringLiteral("BG");
    }
    if (!mark.isEmpty()) {
      // The mark in the cell's complement stays readable on every colour.
      p.setPen(QColor(255 - c.red(), 255 - c.green(), 255 - c.blue()));
      p.drawText(r, Qt::AlignCenter, mark);
    }
  }
}

void TColorGrid::mousePressEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  const int cell = ColorGridModel::CellAt(pos.x(), pos.y(), width(), height());
  const TMouseButton button = e->button() == Qt::LeftButton ? TMouseButton::mbLeft
                              : e->button() == Qt::RightButton ? TMouseButton::mbRight
                                                               : TMouseButton::mbMiddle;
  const ColorGridModel::Pick pick = model_.Press(cell, button);
  if (e->button() == Qt::LeftButton) left_pressed_ = cell >= 0;
  if (pick.changed) {
    update();
    emit changed();
  }
}

void TColorGrid::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const bool was_pressed = left_pressed_;
  left_pressed_ = false;
  if (was_pressed && rect().contains(e->position().toPoint())) emit clicked();
}

TClickPanel::TClickPanel(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setAutoFillBackground(true);
}

void TClickPanel::SetColor(QColor c) {
  color_ = c;
  QPalette pal = palette();
  pal.setColor(QPalette::Window, c);
  setPalette(pal);
}

void TClickPanel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) pressed_ = true;
}

void TClickPanel::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const bool was = pressed_;
  pressed_ = false;
  if (was && rect().contains(e->position().toPoint())) emit clicked();
}

TStaticText::TStaticText(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setAlignment(Qt::AlignCenter);
  setAutoFillBackground(true);
}

void TStaticText::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) pressed_ = true;
}

void TStaticText::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const bool was = pressed_;
  pressed_ = false;
  if (was && rect().contains(e->position().toPoint())) emit clicked();
}

}  // namespace rv
