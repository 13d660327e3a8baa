#ifndef ZEMBRAX_APP_COMPONENTS_MEMO_ACCESSIBLE_MEMOANNOUNCER_H_
#define ZEMBRAX_APP_COMPONENTS_MEMO_ACCESSIBLE_MEMOANNOUNCER_H_

#include <QObject>
#include <QString>

#include <cstddef>

#include "MemoDocument.h"
#include "TextModel.h"

// What assistive tools hear of a memo: each edit, with the text it removed
// and inserted, and each showing of the cursor and the selection, as
// accessibility events of the memo `memo`, whose text `model` is. Silent
// while no tool listens. Lives as long as the memo, as its child.
class MemoAnnouncer : public QObject, public MemoDocument::Listener {
 public:
  MemoAnnouncer(QObject* memo, const TextModel& model) : QObject(memo), model(model) {}

  // Starts following whether an assistive tool listens; once, before any
  // memo is made.
  static void watchTools();
  // Whether one does, so that the memos announce changes.
  static bool listening();

  void aboutToChange(std::size_t position, std::size_t count) override;
  void changed(std::size_t position, std::size_t inserted) override;
  void cursorShown() override;

 private:
  // Up to kAnnouncedBytes of the bytes from `position`, as text.
  QString announced(std::size_t position, std::size_t count) const;
  static constexpr std::size_t kAnnouncedBytes = 64 << 10;
  // The unit place of the byte `position`, clamped.
  int unitOf(std::size_t position) const;

  const TextModel& model;
  QString removed;  // by the change under way
};

#endif  // ZEMBRAX_APP_COMPONENTS_MEMO_ACCESSIBLE_MEMOANNOUNCER_H_
