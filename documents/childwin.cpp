#include "documents/childwin.h"

#include <QCloseEvent>

#include "documents/surface_view.h"

namespace rv {

TMDIChild::TMDIChild(QWidget* parent) : QMdiSubWindow(parent) {
  setObjectName("MDIChild");
  // Closing frees the window instead of hiding it.
  setAttribute(Qt::WA_DeleteOnClose);
}

TSurfaceView* TMDIChild::View() const { return qobject_cast<TSurfaceView*>(widget()); }

void TMDIChild::closeEvent(QCloseEvent* e) {
  QMdiSubWindow::closeEvent(e);
  if (!e->isAccepted() || closed_) return;
  closed_ = true;
  // The surface goes now, not when the deferred delete runs: nothing may draw on it again.
  if (TSurfaceView* v = View()) v->Release();
  emit closed(this);
}

}  // namespace rv
