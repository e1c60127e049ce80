// Shared set-up for the fuzz targets: an offscreen Qt GUI application for fonts and painting.
#pragma once

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

namespace rv::fuzz {

inline void StartQt() {
  static int argc = 1;
  static char name[] = "ranoveh-fuzz";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace rv::fuzz
