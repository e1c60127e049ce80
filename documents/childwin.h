// A document window: a sub-window of the main window's document area holding one drawing
// surface. Closing it destroys it.
#pragma once

#include <QMdiSubWindow>

namespace rv {

class TSurfaceView;

class TMDIChild : public QMdiSubWindow {
  Q_OBJECT
 public:
  explicit TMDIChild(QWidget* parent = nullptr);

  TSurfaceView* View() const;
  // True from the moment its close was accepted.
  bool Closed() const { return closed_; }

 signals:
  void closed(TMDIChild* window);

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  bool closed_ = false;
};

}  // namespace rv
