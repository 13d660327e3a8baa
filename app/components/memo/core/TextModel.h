#ifndef ZEMBRAX_APP_COMPONENTS_MEMO_CORE_TEXTMODEL_H_
#define ZEMBRAX_APP_COMPONENTS_MEMO_CORE_TEXTMODEL_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Text.h"

// The text of a box as the coders see it: bytes, read as characters in an
// encoding, with a cursor, a selection and an undo history. Cursor and
// selection only ever stand at the start of a character, and a CR LF pair
// counts as one. No Qt, so it is tested on its own.
class TextModel {
 public:
  // What an edit did, for whoever shows the text: `removed` bytes at
  // `position` became `inserted` bytes.
  struct Change {
    std::size_t position;
    std::size_t removed;
    std::size_t inserted;
  };

  // The undo history keeps at most `historyLimit` bytes of removed and
  // inserted text; older edits are forgotten first, and an edit larger than
  // that clears it.
  static constexpr std::size_t kHistoryLimit = std::size_t{64} << 20;
  explicit TextModel(std::size_t limit = kHistoryLimit) : historyLimit(limit) {}

  const std::string& bytes() const { return text; }
  text::Encoding encoding() const { return textEncoding; }
  // Reads the same bytes in another encoding; the cursor and selection move
  // back to the start of the character they fall in.
  void setEncoding(text::Encoding encoding);

  // Replaces the whole text; the cursor goes to the start and the history is
  // cleared.
  void setText(std::string bytes);

  std::size_t cursor() const { return cursorAt; }
  std::size_t anchor() const { return anchorAt; }
  std::size_t selectionStart() const { return std::min(anchorAt, cursorAt); }
  std::size_t selectionEnd() const { return std::max(anchorAt, cursorAt); }
  bool hasSelection() const { return anchorAt != cursorAt; }
  std::string_view selectedBytes() const;
  // Puts the cursor at `position` (a character start), keeping the anchor
  // where it was when `select`, else taking it along.
  void setCursor(std::size_t position, bool select);
  void select(std::size_t anchor, std::size_t cursor);

  // Replaces the selection; typed edits in a row undo as one. The cursor
  // ends after the new bytes.
  Change replaceSelection(std::string_view with, bool typed);
  // Undoes the last `replaceSelection` and forgets it, for a change that
  // could not be shown. False where it cannot: after a replacement too
  // large for the history of a text too large to keep aside.
  bool takeBack();
  bool canUndo() const { return !undoStack.empty(); }
  bool canRedo() const { return !redoStack.empty(); }
  Change undo();
  Change redo();
  // The place and length of the bytes that undo or redo would take away.
  std::pair<std::size_t, std::size_t> undoSpan() const;
  std::pair<std::size_t, std::size_t> redoSpan() const;

  // Where the character after and before `position` start and end: a CR LF
  // pair is one character, and so is a letter with its marks, a flag, or
  // emoji joined into one.
  std::size_t nextCharacter(std::size_t position) const;
  std::size_t previousCharacter(std::size_t position) const;
  // The start of the character that holds byte `position`.
  std::size_t characterStart(std::size_t position) const;
  // Past the rest of the word or run of marks at `position` and the blanks
  // after it; back over blanks and the word or marks before.
  std::size_t nextWord(std::size_t position) const;
  std::size_t previousWord(std::size_t position) const;
  // The word, run of marks or run of blanks that holds `position`, within
  // its line; empty at a line break or the end.
  std::pair<std::size_t, std::size_t> wordAt(std::size_t position) const;

  // The line that holds `position`, without its line break, reaching no
  // further than `reach` bytes either side of it.
  std::pair<std::size_t, std::size_t> lineAround(std::size_t position, std::size_t reach) const;

  // Places counted in UTF-16 units, as accessibility and input methods
  // count them: a character beyond 16 bits takes two, a byte that is no
  // character one. The unit place of the byte `position` (a character
  // start), the byte of a unit place (the start of the character that holds
  // it), and the units of the whole text.
  std::size_t unitOf(std::size_t position) const;
  std::size_t byteOfUnit(std::size_t unit) const;
  std::size_t unitCount() const { return unitOf(text.size()); }

 private:
  // One change of the text, kept for undo and redo.
  struct Edit {
    std::size_t position;
    std::string removed;
    std::string inserted;
    bool typed;
  };
  // What the last `replaceSelection` did, for `takeBack`.
  struct Last {
    enum Kind { joined, kept, unkept } kind;
    std::size_t position;
    std::size_t inserted;
    std::string removed;  // where it is not in the history
    bool restorable;
  };
  enum class Class { space, word, mark, lineBreak };
  Class classAt(std::size_t position) const;
  char32_t codeAt(std::size_t position) const;
  // A place at or before `position` where a character surely starts.
  std::size_t clusterSafePlace(std::size_t position) const;
  Change apply(std::size_t position, std::size_t count, std::string_view with);
  void keep(Edit edit);

  std::size_t historyLimit;
  // For UTF-8: the unit place of every kUnitStride-th byte, or the
  // character start after it; made when first asked for after a change.
  struct Checkpoint {
    std::size_t byte;
    std::size_t unit;
  };
  static constexpr std::size_t kUnitStride = 4096;
  const std::vector<Checkpoint>& checkpoints() const;
  mutable std::vector<Checkpoint> unitCheckpoints;
  mutable bool checkpointsComplete = false;

  std::string text;
  text::Encoding textEncoding = text::Encoding::windows1252;
  std::size_t cursorAt = 0;
  std::size_t anchorAt = 0;
  std::vector<Edit> undoStack;
  std::vector<Edit> redoStack;
  Last lastChange{Last::unkept, 0, 0, {}, false};
};

#endif  // ZEMBRAX_APP_COMPONENTS_MEMO_CORE_TEXTMODEL_H_
