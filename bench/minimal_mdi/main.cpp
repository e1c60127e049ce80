// The peer of the start-up benchmark: the least a Qt multiple-document window can be, a main
// window holding a document area with one window showing a white picture. It answers the
// same RANOVEH_PROBE variable as the program: "paint" prints "painted" after the first paint
// and quits; "memory" then shows ten 1920 x 1080 pictures, prints "rss <kB>" and quits.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPaintEvent>
#include <cstdio>

namespace {

class PictureView : public QWidget {
 public:
  void SetPicture(QImage image) {
    image_ = std::move(image);
    update();
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    p.fillRect(e->rect(), Qt::white);
    if (!image_.isNull()) p.drawImage(e->rect().topLeft(), image_, e->rect());
  }

 private:
  QImage image_;
};

long ResidentKb() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return 0;
}

PictureView* NewDocument(QMdiArea* area) {
  auto* view = new PictureView;
  QMdiSubWindow* w = area->addSubWindow(view);
  w->resize(480, 320);
  w->show();
  return view;
}

class Probe : public QObject {
 public:
  Probe(QMdiArea* area, bool memory) : area_(area), memory_(memory) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint && !fired_) {
      fired_ = true;
      QMetaObject::invokeMethod(this, [this] { Report(); }, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  void Report() {
    std::printf("painted\n");
    std::fflush(stdout);
    if (memory_) {
      while (area_->subWindowList().size() < 10) NewDocument(area_);
      for (QMdiSubWindow* w : area_->subWindowList()) {
        QImage img(1920, 1080, QImage::Format_RGB32);
        img.fill(Qt::white);
        static_cast<PictureView*>(w->widget())->SetPicture(std::move(img));
      }
      QCoreApplication::processEvents();
      std::printf("rss %ld\n", ResidentKb());
      std::fflush(stdout);
    }
    QCoreApplication::quit();
  }

  QMdiArea* area_;
  bool memory_;
  bool fired_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  auto* area = new QMdiArea(&window);
  window.setCentralWidget(area);
  window.resize(807, 456);
  NewDocument(area);
  const QByteArray mode = qgetenv("RANOVEH_PROBE");
  Probe probe(area, mode == "memory");
  if (mode == "paint" || mode == "memory") app.installEventFilter(&probe);
  window.showMaximized();
  return app.exec();
}
