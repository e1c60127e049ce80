#include "documents/surface_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <optional>

#include "app/mainform.h"
#include "app/messages.h"
#include "documents/graphics.h"

namespace rv {

namespace {

std::optional<TMouseButton> ToButton(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return TMouseButton::mbLeft;
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return std::nullopt;
  }
}

// Pointer positions outside the widget stay far inside the 32-bit range.
int Coord(qreal v) { return static_cast<int>(std::floor(v)); }

}  // namespace

TSurfaceView::TSurfaceView(TMainForm& form, std::shared_ptr<Surface> surface, QWidget* parent)
    : QWidget(parent), form_(form), surface_(std::move(surface)) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setBackgroundRole(QPalette::Base);
  setMinimumSize(0, 0);
}

TSurfaceView::~TSurfaceView() = default;

void TSurfaceView::Release() { surface_.reset(); }

void TSurfaceView::RepaintPixels(int left, int top, int right, int bottom) {
  // Clip to the widget before building a QRect, so no extent can overflow.
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width());
  bottom = std::min(bottom, height());
  if (right <= left || bottom <= top) return;
  update(QRect(left, top, right - left, bottom - top));
}

void PaintPicture(QPainter& p, const Picture& pic, const QRect& dirty, const QColor& window) {
  if (const TBitmap* bmp = pic.Bitmap(); bmp && bmp->Width() > 0 && bmp->Height() > 0) {
    // The bitmap's own pixels, shown in place without a copy.
    const QImage img(reinterpret_cast<const uchar*>(bmp->Bits()), bmp->Width(), bmp->Height(),
                     bmp->BytesPerLine(), QImage::Format_RGB32);
    const QRect shown = dirty.intersected(img.rect());
    if (!shown.isEmpty()) p.drawImage(shown.topLeft(), img, shown);
    const QRegion rest = QRegion(dirty).subtracted(QRegion(img.rect()));
    for (const QRect& r : rest) p.fillRect(r, window);
    return;
  }
  p.fillRect(dirty, window);
  if (auto* g = dynamic_cast<const DisplayableGraphic*>(pic.Foreign())) {
    p.save();
    p.setClipRect(dirty);
    g->Paint(p, QPoint(0, 0));
    p.restore();
  }
}

void TSurfaceView::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const QColor window = palette().color(QPalette::Base);
  if (!surface_) {
    p.fillRect(e->rect(), window);
    return;
  }
  PaintPicture(p, surface_->Picture(), e->rect(), window);
}

void TSurfaceView::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (surface_) surface_->SetControlSize(width(), height());
}

void TSurfaceView::mousePressEvent(QMouseEvent* e) {
  const auto button = ToButton(e->button());
  if (!button) return;
  const QPointF pos = e->position();
  if (*button == TMouseButton::mbLeft) left_pressed_ = true;
  RunGuarded([&] { form_.Image1MouseDown(this, *button, Coord(pos.x()), Coord(pos.y())); });
}

void TSurfaceView::mouseMoveEvent(QMouseEvent* e) {
  const QPointF pos = e->position();
  RunGuarded([&] { form_.Image1MouseMove(this, Coord(pos.x()), Coord(pos.y())); });
}

void TSurfaceView::mouseReleaseEvent(QMouseEvent* e) {
  const auto button = ToButton(e->button());
  if (!button) return;
  const QPointF pos = e->position();
  const int x = Coord(pos.x());
  const int y = Coord(pos.y());
  // A left release inside is a click, which comes before the release; when the click fails
  // the gesture ends there.
  const bool click = *button == TMouseButton::mbLeft && left_pressed_ && rect().contains(x, y);
  if (*button == TMouseButton::mbLeft) left_pressed_ = false;
  if (click && !RunGuarded([&] { form_.Image1Click(this); })) return;
  RunGuarded([&] { form_.Image1MouseUp(this, *button, x, y); });
}

TEraserOutline::TEraserOutline(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TEraserOutline::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(Qt::black);
  p.setBrush(Qt::NoBrush);
  if (width() > 0 && height() > 0) p.drawRect(0, 0, width() - 1, height() - 1);
}

}  // namespace rv
