// The one place the program shows a message box for an error, so that tests can observe it
// instead of blocking on a modal box.
#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace rv {

using MessageHook = std::function<void(const QString& text)>;

// Replaces how messages are shown and returns the previous hook; an empty hook brings back
// the message box.
MessageHook SetMessageHook(MessageHook hook);

// Shows the text to the user (a modal box titled with the application's name).
void ShowMessage(const QString& text);

// Runs f; an error leaving it is shown and the program goes on. False when f failed.
template <class F>
bool RunGuarded(F&& f) {
  try {
    f();
    return true;
  } catch (const std::exception& e) {
    ShowMessage(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowMessage(QStringLiteral("不明なエラーが発生しました"));
  }
  return false;
}

}  // namespace rv
