#ifndef ZEMBRAX_APP_COMPONENTS_KEYROUTES_H_
#define ZEMBRAX_APP_COMPONENTS_KEYROUTES_H_

// Keys that a window routes beyond what its controls do with them
// themselves, as tabbed Qt and KDE programs do.

#include <functional>

class QTabWidget;
class QWidget;

// Makes Return and Enter, without Ctrl, Shift or Alt, run `run` in `box` (a
// line edit or a spin edit), which does nothing with them itself.
void runOnEnter(QWidget& box, std::function<void()> run);

// Makes Ctrl+Tab and Ctrl+PgDn show the next page of `pages`, and
// Ctrl+Shift+Tab and Ctrl+PgUp the one before, wherever the focus is in
// `window`; past the last page comes the first again, and before the first
// the last.
void addPageKeys(QTabWidget& pages, QWidget& window);

#endif  // ZEMBRAX_APP_COMPONENTS_KEYROUTES_H_
