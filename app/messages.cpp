#include "app/messages.h"

#include <QApplication>
#include <QMessageBox>

namespace rv {

namespace {
MessageHook& Hook() {
  static MessageHook hook;
  return hook;
}
}  // namespace

MessageHook SetMessageHook(MessageHook hook) {
  MessageHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}

void ShowMessage(const QString& text) {
  if (Hook()) {
    Hook()(text);
    return;
  }
  QString title = QApplication::applicationDisplayName();
  if (title.isEmpty()) title = QStringLiteral("Ranoveh");
  QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

}  // namespace rv
