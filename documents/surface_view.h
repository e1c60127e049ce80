// The drawing surface of a document window: shows its Surface's picture unscaled at the
// top-left and hands every pointer event to the main window's handlers.
#pragma once

#include <QPainter>
#include <QWidget>
#include <memory>

#include "drawing/surface.h"

namespace rv {

class TMainForm;

// Paints the dirty part of a picture as a surface shows it: a bitmap unscaled at the
// top-left straight from its pixels, an icon or metafile at its display size, and the window
// colour wherever the picture does not reach.
void PaintPicture(QPainter& painter, const Picture& picture, const QRect& dirty,
                  const QColor& window);

class TSurfaceView : public QWidget {
  Q_OBJECT
 public:
  TSurfaceView(TMainForm& form, std::shared_ptr<Surface> surface, QWidget* parent = nullptr);
  ~TSurfaceView() override;

  // Null once the window holding it has closed.
  const std::shared_ptr<Surface>& SurfacePtr() const { return surface_; }
  // Lets the surface go, so that every weak reference to it reads as gone from now on.
  void Release();

  // Repaints the part of the widget showing these bitmap pixels.
  void RepaintPixels(int left, int top, int right, int bottom);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  TMainForm& form_;
  std::shared_ptr<Surface> surface_;
  // A click needs the left press on this surface too, not only the release.
  bool left_pressed_ = false;
};

// A small outline following the eraser: black border, white inside, never takes the mouse.
class TEraserOutline : public QWidget {
  Q_OBJECT
 public:
  explicit TEraserOutline(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace rv
