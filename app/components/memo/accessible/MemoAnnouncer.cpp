#include "MemoAnnouncer.h"

#include <QAccessible>

#include <algorithm>
#include <climits>
#include <string_view>
#include <utility>

#include "BoxText.h"

namespace {

// Whether the platform's bridge, or a test, made accessibility active.
class ActiveWatch : public QAccessible::ActivationObserver {
 public:
  void accessibilityActiveChanged(bool on) override { active = on; }
  bool active = false;
};

ActiveWatch& activeWatch() {
  static ActiveWatch watch;
  return watch;
}

}  // namespace

void MemoAnnouncer::watchTools() {
  QAccessible::installActivationObserver(&activeWatch());
}

bool MemoAnnouncer::listening() {
  return QAccessible::isActive() || activeWatch().active;
}

QString MemoAnnouncer::announced(std::size_t position, std::size_t count) const {
  return fromBytes(
      std::string_view(model.bytes()).substr(position, std::min(count, kAnnouncedBytes)),
      model.encoding());
}

int MemoAnnouncer::unitOf(std::size_t position) const {
  return static_cast<int>(std::min<std::size_t>(model.unitOf(position), INT_MAX));
}

void MemoAnnouncer::aboutToChange(std::size_t position, std::size_t count) {
  removed = listening() ? announced(position, count) : QString();
}

void MemoAnnouncer::changed(std::size_t position, std::size_t inserted) {
  const QString gone = std::exchange(removed, QString());
  if (!listening()) return;
  QAccessibleTextUpdateEvent event(parent(), unitOf(position), gone, announced(position, inserted));
  QAccessible::updateAccessibility(&event);
}

void MemoAnnouncer::cursorShown() {
  if (!listening()) return;
  if (model.hasSelection()) {
    QAccessibleTextSelectionEvent event(parent(), unitOf(model.selectionStart()),
                                        unitOf(model.selectionEnd()));
    event.setCursorPosition(unitOf(model.cursor()));
    QAccessible::updateAccessibility(&event);
  } else {
    QAccessibleTextCursorEvent event(parent(), unitOf(model.cursor()));
    QAccessible::updateAccessibility(&event);
  }
}
