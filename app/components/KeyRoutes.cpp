#include "KeyRoutes.h"

#include <QAction>
#include <QKeyEvent>
#include <QTabWidget>

#include <utility>

namespace {

// Runs an action on Return or Enter in the box it watches, and lives as
// the box's child.
class EnterWatch : public QObject {
 public:
  EnterWatch(QWidget& box, std::function<void()> run) : QObject(&box), run(std::move(run)) {
    box.installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!enter || (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    run();
    return true;
  }

 private:
  std::function<void()> run;
};

}  // namespace

void runOnEnter(QWidget& box, std::function<void()> run) {
  new EnterWatch(box, std::move(run));
}

void addPageKeys(QTabWidget& pages, QWidget& window) {
  const auto stepWith = [&pages, &window](const QList<QKeySequence>& keys, int step) {
    auto* action = new QAction(&window);
    action->setShortcuts(keys);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &pages, [&pages, step] {
      const int count = pages.count();
      if (count > 0) pages.setCurrentIndex((pages.currentIndex() + step + count) % count);
    });
  };
  stepWith({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
  // Shift turns Tab into Backtab, with or without Shift still held.
  stepWith({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
            QKeySequence(Qt::CTRL | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
           -1);
}
