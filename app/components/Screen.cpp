#include "Screen.h"

#include <QScreen>
#include <QWidget>

#include <cstdio>

bool hasDisplay(const char* program) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    if (!qEnvironmentVariableIsEmpty(variable)) return true;
  }
  std::fprintf(stderr, "%s: no display here; start it on a virtual one: xvfb-run %s\n", program,
               program);
  return false;
#else
  // Windows and macOS always have their own display system.
  Q_UNUSED(program);
  return true;
#endif
}

void centreOnScreen(QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window.move(area.center() - window.rect().center());
}
