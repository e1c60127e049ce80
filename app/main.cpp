// The program: sets the application title, creates the main window and the version dialog,
// and runs the message loop until the main window closes.
#include <QApplication>

#include "app/mainform.h"
#include "app/messages.h"
#include "app/startup_probe.h"

namespace {

// Last line of defence: an error that escapes a handler is shown and the loop goes on.
class TApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* e) override {
    bool handled = false;
    if (!rv::RunGuarded([&] { handled = QApplication::notify(receiver, e); })) return false;
    return handled;
  }
};

}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  // The title alone: a display name would be appended to every dialog's caption.
  QApplication::setApplicationName(QStringLiteral("Ranoveh"));
  rv::TMainForm form;
  rv::InstallStartupProbe(form);
  form.show();
  return app.exec();
}
