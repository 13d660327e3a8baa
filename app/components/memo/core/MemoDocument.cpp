#include "MemoDocument.h"

#include <algorithm>
#include <new>

void MemoDocument::aboutToChange(std::size_t position, std::size_t count) const {
  if (heard != nullptr) heard->aboutToChange(position, count);
}

void MemoDocument::changed(std::size_t position, std::size_t inserted) const {
  if (heard != nullptr) heard->changed(position, inserted);
}

void MemoDocument::showCursor() const {
  if (heard != nullptr) heard->cursorShown();
}

void MemoDocument::setText(std::string bytes, Rows wrapped) {
  aboutToChange(0, text.bytes().size());
  text.setText(std::move(bytes));
  changed(0, text.bytes().size());
  atRowEnd = false;
  rows.adopt(std::move(wrapped.starts), wrapped.width);
}

void MemoDocument::setEncoding(text::Encoding encoding, const std::function<void()>& rewrap) {
  if (encoding == text.encoding()) return;
  aboutToChange(0, text.bytes().size());
  text.setEncoding(encoding);
  rewrap();
  changed(0, text.bytes().size());
}

template <typename TakeBack>
void MemoDocument::follow(TextModel::Change change, TakeBack takeBack) {
  try {
    rows.update(text.bytes(), change.position, change.removed, change.inserted);
  } catch (const std::bad_alloc&) {
    // The rows still show the text as it was.
    takeBack();
    throw;
  }
  changed(change.position, change.inserted);
}

void MemoDocument::replaceSelection(std::string_view with, bool typed,
                                    const std::function<void()>& rewrap) {
  aboutToChange(text.selectionStart(), text.selectedBytes().size());
  const TextModel::Change change = text.replaceSelection(with, typed);
  follow(change, [this, &rewrap] {
    if (!text.takeBack()) rewrap();
  });
}

void MemoDocument::replaceAll(std::string_view with, bool typed, Rows wrapped) {
  aboutToChange(text.selectionStart(), text.selectedBytes().size());
  const TextModel::Change change = text.replaceSelection(with, typed);
  rows.adopt(std::move(wrapped.starts), wrapped.width);
  changed(change.position, change.inserted);
}

void MemoDocument::undo() {
  const auto [position, count] = text.undoSpan();
  aboutToChange(position, count);
  // Where the rows cannot follow, redo puts the text back as it was.
  follow(text.undo(), [this] { text.redo(); });
}

void MemoDocument::redo() {
  const auto [position, count] = text.redoSpan();
  aboutToChange(position, count);
  follow(text.redo(), [this] { text.undo(); });
}

void MemoDocument::setCursor(std::size_t position, bool select, bool rowEnd) {
  text.setCursor(position, select);
  atRowEnd = rowEnd;
}

std::size_t MemoDocument::cursorRow() const {
  const std::size_t cursor = text.cursor();
  const std::size_t row = rows.rowOf(cursor);
  const bool endOfPrevious =
      atRowEnd && row > 0 && rows.rowStart(row) == cursor && rows.wrapsAfter(text.bytes(), row - 1);
  return endOfPrevious ? row - 1 : row;
}

MemoDocument::Place MemoDocument::inRow(std::size_t row, std::size_t offset) const {
  // The end of a wrapped row is also where the next one starts.
  return {offset, offset == rows.rowEnd(text.bytes(), row) && rows.wrapsAfter(text.bytes(), row)};
}

MemoDocument::Place MemoDocument::target(Move move, long long pageRows,
                                         const std::function<std::size_t(std::size_t)>& aim) const {
  const std::size_t row = cursorRow();
  const auto rowAt = [this, row](long long step) {
    return static_cast<std::size_t>(std::clamp<long long>(
        static_cast<long long>(row) + step, 0, static_cast<long long>(rows.rowCount()) - 1));
  };
  const auto aimAt = [this, &aim](std::size_t to) { return inRow(to, aim(to)); };
  const std::size_t i = text.cursor();
  switch (move) {
    case Move::nextChar:
      return {text.nextCharacter(i), false};
    case Move::previousChar:
      return {text.previousCharacter(i), false};
    case Move::nextWord:
      return {text.nextWord(i), false};
    case Move::previousWord:
      return {text.previousWord(i), false};
    case Move::nextLine:
      return aimAt(rowAt(1));
    case Move::previousLine:
      return aimAt(rowAt(-1));
    case Move::nextPage:
      return aimAt(rowAt(pageRows));
    case Move::previousPage:
      return aimAt(rowAt(-pageRows));
    case Move::startOfLine:
      return {rows.rowStart(row), false};
    case Move::endOfLine:
      return inRow(row, rows.rowEnd(text.bytes(), row));
    case Move::startOfDocument:
      return {0, false};
    case Move::endOfDocument:
      return {text.bytes().size(), false};
  }
  return {i, false};
}

std::string_view MemoDocument::rowText(std::size_t row) const {
  const std::size_t start = rows.rowStart(row);
  return std::string_view(text.bytes()).substr(start, rows.rowEnd(text.bytes(), row) - start);
}

std::pair<std::size_t, std::size_t> MemoDocument::rowAround(std::size_t position) const {
  const std::size_t row = rows.rowOf(position);
  return {rows.rowStart(row),
          row + 1 < rows.rowCount() ? rows.rowStart(row + 1) : text.bytes().size()};
}
