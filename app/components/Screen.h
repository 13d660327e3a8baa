#ifndef ZEMBRAX_APP_COMPONENTS_SCREEN_H_
#define ZEMBRAX_APP_COMPONENTS_SCREEN_H_

// The screen the windows open on.

class QWidget;

// True when there is a screen to open windows on. Where windows go through
// X or Wayland, that takes a display or a platform named in QT_QPA_PLATFORM;
// without one, says in one line on the error output how to start `program`
// on a virtual display.
bool hasDisplay(const char* program);

// Centres a top-level window on the screen it is on.
void centreOnScreen(QWidget& window);

#endif  // ZEMBRAX_APP_COMPONENTS_SCREEN_H_
