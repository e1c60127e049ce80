// A seeded, reproducible stream of random user events against the whole main window: pointer
// gestures on the surfaces with every button, tool and colour picks, size-box and text edits,
// undo, tatami, new and closed windows, the Window commands and opened icons and metafiles.
// After every event the drawing state must still hang together. Meant for a build with
// AddressSanitizer and UBSan, where any memory or UB fault ends the run with a report.
//
//   soak_test [--events N] [--seed S] [--trace] [--hang-seconds T]
//   (or SOAK_EVENTS / SOAK_SEED / SOAK_HANG_SECONDS)
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "app/mainform.h"
#include "app/aboutbox.h"
#include "app/messages.h"
#include "app/widgets.h"
#include "documents/childwin.h"
#include "documents/dialog_hooks.h"
#include "documents/surface_view.h"
#include "drawing/tools.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/common_interface_defs.h>
#define SOAK_HAVE_DEATH_CALLBACK 1
#endif

using namespace rv;

namespace {

// The last events, printed when the run dies so a failure can be read without a rerun.
std::deque<std::string> g_recent;
unsigned long long g_seed = 1;
long g_index = -1;

void DumpRecent() {
  std::fprintf(stderr, "soak: seed %llu, event %ld; the last events were:\n", g_seed, g_index);
  for (const std::string& s : g_recent) std::fprintf(stderr, "  %s\n", s.c_str());
  std::fflush(stderr);
}

// A hang is a failure too: when no event finishes for this long the run ends with a report.
std::atomic<long> g_heartbeat{0};

void StartWatchdog(int seconds) {
  std::thread([seconds] {
    long last = -2;
    int still = 0;
    for (;;) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      const long now = g_heartbeat.load();
      still = now == last ? still + 1 : 0;
      last = now;
      if (still >= seconds) {
        std::fflush(stdout);
        std::fprintf(stderr, "soak: HANG, event %ld has run for %d s\n", g_index, still);
        DumpRecent();
        std::_Exit(3);
      }
    }
  }).detach();
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "soak: INCONSISTENT after event %ld: %s\n", g_index, why.c_str());
  DumpRecent();
  std::exit(2);
}

// Errors escaping a handler are shown and the loop goes on, as in the program itself.
class SoakApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* e) override {
    bool handled = false;
    if (!RunGuarded([&] { handled = QApplication::notify(receiver, e); })) return false;
    return handled;
  }
};

class Soak {
 public:
  Soak(unsigned long long seed, bool trace) : rng_(seed), trace_(trace) {
    // Save writes back to the name last opened, so the run opens copies, never the corpus.
    const QString corpora = QStringLiteral(RANOVEH_CORPORA_DIR);
    for (const char* sub : {"ico", "metafile"}) {
      QDir dir(corpora + "/" + sub);
      if (!dir.exists()) continue;
      for (const QString& f : dir.entryList(QDir::Files, QDir::Name)) {
        corpus_.append(dir.filePath(f));
      }
    }
    SetMessageHook([this](const QString& text) {
      ++messages_[text.toStdString()];
      Note("  message: " + text.toStdString());
    });
    SetFileDialogHook([this](QWidget*, const FileDialogRequest& r) -> std::optional<QString> {
      if (r.save) {
        if (Pick(3) == 0) return std::nullopt;
        return work_dir_.filePath(QStringLiteral("soak%1").arg(Pick(4)));
      }
      if (corpus_.isEmpty() || Pick(8) == 0) return std::nullopt;
      if (Pick(5) == 0) {
        // Whatever an earlier Save left in the work folder.
        const QStringList left = QDir(work_dir_.path()).entryList(QDir::Files, QDir::Name);
        if (!left.isEmpty()) {
          const QString name = work_dir_.filePath(left[Pick(static_cast<unsigned>(left.size()))]);
          Note("  chose " + name.toStdString());
          return name;
        }
      }
      // A fresh copy each time, since an earlier Save may have written over the last one.
      const QString source = corpus_[Pick(static_cast<unsigned>(corpus_.size()))];
      const QString copy = work_dir_.filePath(QFileInfo(source).fileName());
      QFile::remove(copy);
      if (!QFile::copy(source, copy)) return std::nullopt;
      QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
      Note("  chose " + source.toStdString());
      return copy;
    });
    // Printing is mostly cancelled; a confirmed print goes to a PDF file in the work folder.
    SetPrintDialogHook([this](QWidget*, QPrinter&) { return Pick(4) == 0; });
    SetPrinterHook([this](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(work_dir_.filePath(QStringLiteral("print.pdf")));
      return true;
    });
    form_.SetFontDialog([this](const TFont& initial) -> std::optional<TFont> {
      if (Pick(3) == 0) return std::nullopt;
      TFont f = initial;
      f.Name = "IPAPGothic";
      const int heights[] = {0, 1, 12, 40, -20, 300, INT_MAX, INT_MIN};
      f.Height = heights[Pick(8)];
      f.Style = Pick(16);
      return f;
    });
    form_.resize(1000, 700);
    form_.show();
    QCoreApplication::processEvents();
    std::printf("soak: %lld corpus files%s\n", static_cast<long long>(corpus_.size()),
                corpus_.isEmpty() ? " (the Open events are skipped)" : "");
  }

  ~Soak() {
    // The window goes after this; nothing it shows may reach the members being destroyed.
    SetMessageHook([](const QString& text) {
      std::fprintf(stderr, "soak: message at exit: %s\n", text.toUtf8().constData());
    });
    SetFileDialogHook([](QWidget*, const FileDialogRequest&) { return std::optional<QString>(); });
  }

  void Run(long events) {
    clock_.start();
    for (g_index = 0; g_index < events; ++g_index) {
      Step();
      if (Pick(4) == 0) QCoreApplication::processEvents();
      // Closed windows really go away now and then, so stale references would show.
      if (Pick(16) == 0) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      Check();
      if (trace_) TraceWindows();
      ++g_heartbeat;
      if ((g_index + 1) % 5000 == 0) {
        std::printf("soak: %ld events, %lld windows, %.1f s\n", g_index + 1,
                    static_cast<long long>(form_.DocumentWindows().size()),
                    static_cast<double>(clock_.elapsed()) / 1000.0);
        std::fflush(stdout);
      }
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Check();
    // The program's end: the active window closes with the main window.
    Note("File Exit");
    form_.FileExitItem->trigger();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Check();
  }

  void Summary() {
    std::printf("soak: done, %ld events, %d windows made, %d opened pictures\n", g_index,
                form_.State().DocumentCount, opened_);
    for (const auto& [text, count] : messages_) {
      std::printf("  message x%d: %s\n", count, text.c_str());
    }
  }

 private:
  // With --trace: where the document windows are and how they are shown.
  void TraceWindows() {
    const QSize vp = form_.MdiArea()->viewport()->size();
    std::string line = "    area " + std::to_string(vp.width()) + "x" + std::to_string(vp.height());
    for (TMDIChild* c : form_.DocumentWindows()) {
      const QRect g = c->geometry();
      line += " | " + std::to_string(g.x()) + "," + std::to_string(g.y()) + " " +
              std::to_string(g.width()) + "x" + std::to_string(g.height()) +
              (c->isMaximized() ? " max" : "") + (c->isMinimized() ? " min" : "") +
              (c->isHidden() ? " hidden" : "");
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }

  unsigned Pick(unsigned n) { return static_cast<unsigned>(rng_() % n); }
  bool Chance(unsigned percent) { return Pick(100) < percent; }

  void Note(std::string what) {
    if (trace_) std::printf("%ld %s\n", g_index, what.c_str());
    g_recent.push_back(std::move(what));
    if (g_recent.size() > 40) g_recent.pop_front();
  }

  // Every window whose close has not run yet, and the closed ones awaiting deletion.
  QList<TMDIChild*> AllChildren() const { return form_.MdiArea()->findChildren<TMDIChild*>(); }

  TMDIChild* AnyOpenWindow() {
    const QList<TMDIChild*> w = form_.DocumentWindows();
    if (w.isEmpty()) return nullptr;
    return w[Pick(static_cast<unsigned>(w.size()))];
  }

  TSurfaceView* TargetView() {
    // Mostly the active window; sometimes another one, or one closed but not yet deleted.
    if (Chance(3)) {
      for (TMDIChild* c : AllChildren()) {
        if (c->Closed() && c->View()) return c->View();
      }
    }
    TMDIChild* w = nullptr;
    if (Chance(80)) w = qobject_cast<TMDIChild*>(form_.ActiveDocumentWindow());
    if (!w) w = AnyOpenWindow();
    return w ? w->View() : nullptr;
  }

  int Coordinate(int extent) {
    switch (Pick(10)) {
      case 0: {
        const int far[] = {-1, 0, -100000, 1000000, -1000000, 32767, -32768, 65535};
        return far[Pick(8)];
      }
      case 1: return extent + static_cast<int>(Pick(200)) - 100;
      default: return static_cast<int>(Pick(static_cast<unsigned>(std::max(extent, 1))));
    }
  }

  static Qt::MouseButton ButtonOf(unsigned i) {
    const Qt::MouseButton b[] = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton,
                                 Qt::RightButton, Qt::MiddleButton, Qt::BackButton};
    return b[i];
  }

  void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint p) {
    if (type == QEvent::MouseButtonPress) held_ |= button;
    if (type == QEvent::MouseButtonRelease) held_ &= ~Qt::MouseButtons(button);
    const QPointF local(p);
    QMouseEvent e(type, local, w->mapToGlobal(local), button,
                  type == QEvent::MouseMove ? held_ : (held_ | button), Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }

  void Click(QWidget* w, Qt::MouseButton button, QPoint p) {
    SendMouse(w, QEvent::MouseButtonPress, button, p);
    SendMouse(w, QEvent::MouseButtonRelease, button, p);
  }

  void PointerEvent() {
    TSurfaceView* v = TargetView();
    if (!v) return;
    const QPoint p(Coordinate(v->width()), Coordinate(v->height()));
    const unsigned kind = Pick(10);
    if (kind < 3) {
      const Qt::MouseButton b = ButtonOf(Pick(6));
      Note("press " + std::to_string(b) + " at " + std::to_string(p.x()) + "," + std::to_string(p.y()));
      SendMouse(v, QEvent::MouseButtonPress, b, p);
    } else if (kind < 7) {
      Note("move to " + std::to_string(p.x()) + "," + std::to_string(p.y()));
      SendMouse(v, QEvent::MouseMove, Qt::NoButton, p);
    } else {
      const Qt::MouseButton b = held_ && Chance(80) ? LowestHeld() : ButtonOf(Pick(6));
      Note("release " + std::to_string(b) + " at " + std::to_string(p.x()) + "," + std::to_string(p.y()));
      SendMouse(v, QEvent::MouseButtonRelease, b, p);
    }
  }

  Qt::MouseButton LowestHeld() const {
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton}) {
      if (held_ & b) return b;
    }
    return Qt::LeftButton;
  }

  // A whole drag: press, a few moves, release, on one surface.
  void Drag() {
    TSurfaceView* v = TargetView();
    if (!v) return;
    QPointer<TSurfaceView> view = v;
    const Qt::MouseButton b = ButtonOf(Pick(5));
    QPoint p(Coordinate(v->width()), Coordinate(v->height()));
    Note("drag " + std::to_string(b) + " from " + std::to_string(p.x()) + "," + std::to_string(p.y()));
    SendMouse(v, QEvent::MouseButtonPress, b, p);
    const unsigned moves = Pick(6);
    for (unsigned i = 0; i < moves && view; ++i) {
      p = QPoint(Coordinate(view->width()), Coordinate(view->height()));
      SendMouse(view, QEvent::MouseMove, Qt::NoButton, p);
    }
    if (view) SendMouse(view, QEvent::MouseButtonRelease, b, p);
    else held_ &= ~Qt::MouseButtons(b);
  }

  void ToolEvent() {
    const auto buttons = ToolButtons();
    const ToolButtonInfo& info = buttons[Pick(static_cast<unsigned>(buttons.size()))];
    Note(std::string("tool ") + info.name);
    if (QToolButton* b = form_.ToolButton(info.name)) b->click();
  }

  void SizeBoxEvent() {
    static const char* const texts[] = {"", "abc", "0", "-7", "2147483647", "-2147483648",
                                        "1", "7", "15", "40", "999", " 3", "0x10", "１２"};
    QComboBox* box = form_.ComboBox1;
    if (Chance(30)) {
      const int i = static_cast<int>(Pick(static_cast<unsigned>(box->count())));
      Note("size box item " + std::to_string(i));
      box->setCurrentIndex(i);
      emit box->activated(i);
    } else {
      const char* t = texts[Pick(std::size(texts))];
      Note(std::string("size box text '") + t + "'");
      box->setEditText(QString::fromUtf8(t));
      emit box->lineEdit()->textEdited(box->currentText());
    }
  }

  void ColourEvent() {
    switch (Pick(4)) {
      case 0:
      case 1: {
        QWidget* g = form_.ColorGrid1;
        const QPoint p(static_cast<int>(Pick(static_cast<unsigned>(g->width() + 10))) - 5,
                       static_cast<int>(Pick(static_cast<unsigned>(g->height() + 10))) - 5);
        const Qt::MouseButton b = Chance(60) ? Qt::LeftButton : Qt::RightButton;
        Note("colour grid " + std::to_string(b) + " at " + std::to_string(p.x()) + "," + std::to_string(p.y()));
        Click(g, b, p);
        break;
      }
      case 2:
        Note("panel 3");
        Click(form_.Panel3, Qt::LeftButton, QPoint(2, 2));
        break;
      default:
        Note("panel 4");
        Click(form_.Panel4, Qt::LeftButton, QPoint(5, 5));
        break;
    }
  }

  void TextEvent() {
    static const char* const texts[] = {"", "和室", "LDK", "a", "とても長い部屋の名前をここに書きます。とても長い",
                                        "\t", "x\ny"};
    QComboBox* box = form_.ComboBox2;
    switch (Pick(5)) {
      case 0: {
        const int i = static_cast<int>(Pick(static_cast<unsigned>(box->count())));
        Note("text item " + std::to_string(i));
        box->setCurrentIndex(i);
        emit box->activated(i);
        break;
      }
      case 1: {
        const char* t = texts[Pick(std::size(texts))];
        Note(std::string("text '") + t + "'");
        box->setEditText(QString::fromUtf8(t));
        emit box->lineEdit()->textEdited(box->currentText());
        break;
      }
      case 2:
        Note("text button");
        form_.BitBtn1->click();
        break;
      case 3:
        Note("font button");
        form_.BitBtn2->click();
        break;
      default:
        Note("static text (undo) click");
        Click(form_.StaticText1, Qt::LeftButton, QPoint(3, 3));
        break;
    }
  }

  void TatamiEvent() {
    const int count = static_cast<int>(Pick(7));
    Note("tatami " + std::to_string(count));
    if (QAbstractButton* b = form_.RadioGroup1Items->button(count)) b->click();
    // Sometimes the command runs even while its button is disabled.
    if (Chance(30)) {
      RunGuarded([&] { form_.SpeedButton1Click(); });
    } else {
      form_.SpeedButton1->click();
    }
  }

  void UndoEvent() {
    Note("undo");
    if (Chance(50)) {
      Click(form_.StaticText1, Qt::LeftButton, QPoint(5, 5));
    } else {
      RunGuarded([&] { form_.StaticText1Click(); });
    }
  }

  void WindowEvent() {
    const unsigned limit = form_.DocumentWindows().size() > 10 ? 2 : 9;
    switch (Pick(limit + 1)) {
      case 0:
      case 1: {
        // Close the window holding ActiveImage when there is one, else any.
        TMDIChild* target = nullptr;
        if (auto s = form_.State().ActiveImage.lock(); s && Chance(60)) {
          for (TMDIChild* c : form_.DocumentWindows()) {
            if (c->View() && c->View()->SurfacePtr() == s) target = c;
          }
        }
        if (!target) target = AnyOpenWindow();
        if (target && Chance(50)) {
          Note("close " + target->windowTitle().toStdString());
          target->close();
        } else {
          Note("File Close");
          form_.FileCloseItem->trigger();
        }
        break;
      }
      case 2:
        Note("cascade");
        form_.WindowCascadeItem->trigger();
        break;
      case 3:
        Note("tile");
        form_.WindowTileItem->trigger();
        break;
      case 4:
        Note("arrange");
        form_.WindowArrangeItem->trigger();
        break;
      case 5:
        Note("minimize all");
        form_.WindowMinimizeItem->trigger();
        break;
      case 6: {
        // Pick a window from the Window menu's list.
        emit form_.Window1->aboutToShow();
        QList<QAction*> items;
        for (QAction* a : form_.Window1->actions()) {
          if (a->isCheckable()) items.append(a);
        }
        Note("window list pick of " + std::to_string(items.size()));
        if (!items.isEmpty()) items[Pick(static_cast<unsigned>(items.size()))]->trigger();
        break;
      }
      case 7: {
        TMDIChild* w = AnyOpenWindow();
        if (!w) break;
        const unsigned how = Pick(4);
        Note("window " + w->windowTitle().toStdString() + " state " + std::to_string(how));
        if (how == 0) form_.MdiArea()->setActiveSubWindow(w);
        if (how == 1) w->showMaximized();
        if (how == 2) w->showNormal();
        // As the user's frame drag would: a minimised window has no frame to drag.
        if (how == 3 && !w->isMinimized()) {
          w->resize(static_cast<int>(Pick(1200)), static_cast<int>(Pick(900)));
        }
        break;
      }
      default:
        Note("File New");
        form_.FileNewItem->trigger();
        break;
    }
  }

  void FileEvent() {
    switch (Pick(8)) {
      case 0:
      case 1:
      case 2:
        if (corpus_.isEmpty()) return;
        Note("File Open");
        ++opened_;
        form_.FileOpenItem->trigger();
        break;
      case 3:
        Note("Save As");
        form_.FileSaveAsItem->trigger();
        break;
      case 4:
        Note("Save");
        form_.FileSaveItem->trigger();
        break;
      case 5:
        Note("Print");
        form_.Print1->trigger();
        break;
      case 6: {
        Note("About");
        // The version dialog is modal: close it from inside its own loop.
        QTimer::singleShot(0, form_.AboutBox(), [this] { form_.AboutBox()->reject(); });
        form_.HelpAboutItem->trigger();
        break;
      }
      default:
        Note("Copy");
        form_.CopyItem->trigger();
        break;
    }
  }

  void Step() {
    const unsigned r = Pick(100);
    if (r < 45) PointerEvent();
    else if (r < 57) Drag();
    else if (r < 65) ToolEvent();
    else if (r < 70) SizeBoxEvent();
    else if (r < 75) ColourEvent();
    else if (r < 80) TextEvent();
    else if (r < 84) UndoEvent();
    else if (r < 88) TatamiEvent();
    else if (r < 98) WindowEvent();
    else FileEvent();
  }

  static bool ValidTool(int t) {
    static const std::set<int> ids = {toolNone, toolFrame, toolThickLine, toolEraser,
                                      toolHingedDoor, toolThinLine, toolRectangle, toolEllipse,
                                      toolRoundRect, toolPlants, toolToiletSide, toolToiletUpright,
                                      toolFill, toolDoorA, toolDoorB, toolCarUpright, toolOpening,
                                      toolText, toolCarSide};
    return ids.count(t) != 0;
  }

  static bool ValidBool(const bool& b) {
    unsigned char byte;
    std::memcpy(&byte, &b, 1);
    return byte <= 1;
  }

  void Check() {
    const DrawingState& s = form_.State();
    if (!ValidTool(s.CurrentTool)) Fail("CurrentTool " + std::to_string(s.CurrentTool));
    if (!ValidTool(s.SavedTool)) Fail("SavedTool " + std::to_string(s.SavedTool));
    if (!ValidBool(s.PenDown) || !ValidBool(s.DragMoved)) Fail("PenDown/DragMoved not a bool");
    if (s.DocumentCount < last_count_) Fail("DocumentCount went down");
    last_count_ = s.DocumentCount;
    if (s.UndoBitmap && (s.UndoBitmap->Width() < 0 || s.UndoBitmap->Height() < 0)) {
      Fail("UndoBitmap with a negative size");
    }

    // ActiveImage is gone or shown by a live, open window.
    const QList<TMDIChild*> open = form_.DocumentWindows();
    if (auto active = s.ActiveImage.lock()) {
      bool shown = false;
      for (TMDIChild* c : open) {
        if (c->View() && c->View()->SurfacePtr() == active) shown = true;
      }
      if (!shown) Fail("ActiveImage outlives its window");
      const TBitmap* bmp = active->Picture().Bitmap();
      if (bmp && (bmp->Width() < 0 || bmp->Height() < 0 || bmp->Width() > 100000 ||
                  bmp->Height() > 100000)) {
        Fail("ActiveImage bitmap of an absurd size");
      }
    }
    // Closed windows hold no surface any more; open ones each hold their own.
    std::set<const Surface*> seen;
    for (TMDIChild* c : AllChildren()) {
      TSurfaceView* v = c->View();
      if (c->Closed()) {
        if (v && v->SurfacePtr()) Fail("a closed window still holds its surface");
        continue;
      }
      if (!v || !v->SurfacePtr()) Fail("an open window without a surface");
      if (!seen.insert(v->SurfacePtr().get()).second) Fail("two windows share a surface");
    }
    // The commands that need a document are enabled exactly when there is one.
    if (form_.FileCloseItem->isEnabled() != !open.isEmpty()) Fail("Close enabled wrongly");
  }

  TMainForm form_;
  std::mt19937_64 rng_;
  bool trace_;
  // The copies of the corpus and every saved picture live here.
  QTemporaryDir work_dir_;
  QStringList corpus_;
  Qt::MouseButtons held_;
  std::map<std::string, int> messages_;
  int opened_ = 0;
  int last_count_ = 0;
  QElapsedTimer clock_;
};

long long ArgOr(int argc, char** argv, const char* flag, const char* env, long long fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) return std::strtoll(argv[i + 1], nullptr, 10);
  }
  if (const char* v = std::getenv(env); v && *v) return std::strtoll(v, nullptr, 10);
  return fallback;
}

}  // namespace

void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& text) {
  // The offscreen platform says this for every sub-window; it only buries real reports.
  if (text.contains(QLatin1String("propagateSizeHints"))) return;
  if (type != QtDebugMsg) std::fprintf(stderr, "qt: %s\n", text.toLocal8Bit().constData());
}

int main(int argc, char** argv) {
  qInstallMessageHandler(QuietHandler);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const long events = static_cast<long>(ArgOr(argc, argv, "--events", "SOAK_EVENTS", 100000));
  g_seed = static_cast<unsigned long long>(ArgOr(argc, argv, "--seed", "SOAK_SEED", 1));
  bool trace = false;
  for (int i = 1; i < argc; ++i) trace = trace || std::strcmp(argv[i], "--trace") == 0;
#ifdef SOAK_HAVE_DEATH_CALLBACK
  __sanitizer_set_death_callback(DumpRecent);
#endif
  StartWatchdog(static_cast<int>(ArgOr(argc, argv, "--hang-seconds", "SOAK_HANG_SECONDS", 30)));
  int qargc = 1;
  SoakApplication app(qargc, argv);
  QApplication::setApplicationName(QStringLiteral("Ranoveh"));
  std::printf("soak: seed %llu, %ld events\n", g_seed, events);
  Soak soak(g_seed, trace);
  soak.Run(events);
  soak.Summary();
  return 0;
}
