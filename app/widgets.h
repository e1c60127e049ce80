// Small controls of the main window that Qt has no ready match for: the 16-colour grid,
// a clickable panel and a clickable static text.
#pragma once

#include <QColor>
#include <QFrame>
#include <QLabel>

#include "drawing/tools.h"

namespace rv {

QColor ToQColor(TColor c);

// 8 x 2 colour cells with foreground ("FG") and background ("BG") marks. The left button
// picks the foreground cell, any other button the background cell.
class TColorGrid : public QWidget {
  Q_OBJECT
 public:
  explicit TColorGrid(QWidget* parent = nullptr);

  const ColorGridModel& Model() const { return model_; }
  int ForegroundIndex() const { return model_.ForegroundIndex(); }
  int BackgroundIndex() const { return model_.BackgroundIndex(); }
  TColor ForegroundColor() const { return model_.ForegroundColor(); }
  TColor BackgroundColor() const { return model_.BackgroundColor(); }

 signals:
  // An index really changed.
  void changed();
  // A left click (press and release inside the grid).
  void clicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  QRect CellRect(int cell) const;
  ColorGridModel model_;
  bool left_pressed_ = false;
};

// A panel with a single border that reports left clicks.
class TClickPanel : public QFrame {
  Q_OBJECT
 public:
  explicit TClickPanel(QWidget* parent = nullptr);
  void SetColor(QColor c);
  QColor Color() const { return color_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  QColor color_;
  bool pressed_ = false;
};

// A static text with a sunken border that reports left clicks.
class TStaticText : public QLabel {
  Q_OBJECT
 public:
  explicit TStaticText(const QString& text, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  bool pressed_ = false;
};

}  // namespace rv
