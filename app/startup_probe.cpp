#include "app/startup_probe.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <cstdio>

#include "app/mainform.h"
#include "documents/childwin.h"
#include "documents/surface_view.h"

namespace rv {

namespace {

// Resident set size of this process in kB, from /proc; 0 where that is not readable.
long ResidentKb() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return 0;
}

class StartupProbe : public QObject {
 public:
  StartupProbe(TMainForm& form, bool memory) : QObject(&form), form_(form), memory_(memory) {}

  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && !fired_) {
      fired_ = true;
      // Report once this paint has finished.
      QMetaObject::invokeMethod(this, [this] { Report(); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  void Report() {
    std::printf("painted\n");
    std::fflush(stdout);
    if (memory_) {
      while (form_.DocumentWindows().size() < 10) form_.FileNewItemClick();
      for (TMDIChild* w : form_.DocumentWindows()) {
        if (!w->View() || !w->View()->SurfacePtr()) continue;
        Surface& s = *w->View()->SurfacePtr();
        s.SetControlSize(1920, 1080);
        s.Canvas();
        w->View()->update();
      }
      QCoreApplication::processEvents();
      std::printf("rss %ld\n", ResidentKb());
      std::fflush(stdout);
    }
    QCoreApplication::quit();
  }

  TMainForm& form_;
  bool memory_;
  bool fired_ = false;
};

}  // namespace

void InstallStartupProbe(TMainForm& form) {
  const QByteArray mode = qgetenv("RANOVEH_PROBE");
  if (mode != "paint" && mode != "memory") return;
  qApp->installEventFilter(new StartupProbe(form, mode == "memory"));
}

}  // namespace rv
