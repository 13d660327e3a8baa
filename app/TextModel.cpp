#include "TextModel.h"

#include <algorithm>
#include <optional>

namespace {

bool isLineBreak(char byte) {
  return byte == '\r' || byte == '\n';
}

}  // namespace

void TextModel::setEncoding(text::Encoding encoding) {
  textEncoding = encoding;
  unitCheckpoints.clear();
  anchorAt = characterStart(anchorAt);
  cursorAt = characterStart(cursorAt);
}

void TextModel::setText(std::string bytes) {
  text = std::move(bytes);
  unitCheckpoints.clear();
  cursorAt = anchorAt = 0;
  undoStack.clear();
  redoStack.clear();
}

std::string_view TextModel::selectedBytes() const {
  return std::string_view(text).substr(selectionStart(), selectionEnd() - selectionStart());
}

void TextModel::setCursor(std::size_t position, bool select) {
  cursorAt = position;
  if (!select) anchorAt = position;
}

void TextModel::select(std::size_t anchor, std::size_t cursor) {
  anchorAt = anchor;
  cursorAt = cursor;
}

TextModel::Change TextModel::replaceSelection(std::string_view with, bool typed) {
  const std::size_t position = selectionStart();
  const std::size_t count = selectionEnd() - position;
  if (count == 0 && with.empty()) return {position, 0, 0};
  // All that needs memory comes before the text changes, so that a failure
  // leaves everything as it was.
  Edit* last = undoStack.empty() ? nullptr : &undoStack.back();
  Last done{Last::joined, position, with.size(), {}, true};
  std::optional<Edit> edit;
  if (typed && count == 0 && last != nullptr && last->typed && last->removed.empty() &&
      last->position + last->inserted.size() == position) {
    last->inserted.reserve(last->inserted.size() + with.size());
  } else if (count + with.size() <= historyLimit) {
    done.kind = Last::kept;
    edit.emplace(Edit{position, text.substr(position, count), std::string(with), typed});
    undoStack.reserve(undoStack.size() + 1);
  } else {
    // Keeping an edit this large would double the memory the text takes;
    // only what it removed is kept until it shows, where that is small.
    done.kind = Last::unkept;
    done.restorable = count <= historyLimit;
    if (done.restorable) done.removed = text.substr(position, count);
  }
  const Change change = apply(position, count, with);
  switch (done.kind) {
    case Last::joined:
      last->inserted += with;
      break;
    case Last::kept:
      keep(std::move(*edit));
      break;
    case Last::unkept:
      undoStack.clear();
      break;
  }
  redoStack.clear();
  lastChange = std::move(done);
  return change;
}

bool TextModel::takeBack() {
  if (!lastChange.restorable) return false;
  switch (lastChange.kind) {
    case Last::joined:
      undoStack.back().inserted.resize(undoStack.back().inserted.size() - lastChange.inserted);
      break;
    case Last::kept:
      lastChange.removed = std::move(undoStack.back().removed);
      undoStack.pop_back();
      break;
    case Last::unkept:
      break;
  }
  apply(lastChange.position, lastChange.inserted, lastChange.removed);
  return true;
}

void TextModel::keep(Edit edit) {
  const auto size = [](const Edit& kept) { return kept.removed.size() + kept.inserted.size(); };
  std::size_t bytes = size(edit);
  for (const Edit& kept : undoStack)
    bytes += size(kept);
  // The oldest edits go first, until the history fits.
  std::size_t dropped = 0;
  for (; bytes > historyLimit && dropped < undoStack.size(); ++dropped)
    bytes -= size(undoStack[dropped]);
  undoStack.erase(undoStack.begin(), undoStack.begin() + static_cast<std::ptrdiff_t>(dropped));
  undoStack.push_back(std::move(edit));
}

TextModel::Change TextModel::undo() {
  if (undoStack.empty()) return {cursorAt, 0, 0};
  redoStack.push_back(std::move(undoStack.back()));
  undoStack.pop_back();
  const Edit& edit = redoStack.back();
  return apply(edit.position, edit.inserted.size(), edit.removed);
}

TextModel::Change TextModel::redo() {
  if (redoStack.empty()) return {cursorAt, 0, 0};
  undoStack.push_back(std::move(redoStack.back()));
  redoStack.pop_back();
  const Edit& edit = undoStack.back();
  return apply(edit.position, edit.removed.size(), edit.inserted);
}

TextModel::Change TextModel::apply(std::size_t position, std::size_t count, std::string_view with) {
  text.replace(position, count, with);
  unitCheckpoints.clear();
  cursorAt = anchorAt = position + with.size();
  return {position, count, with.size()};
}

// Characters

std::size_t TextModel::nextCharacter(std::size_t position) const {
  if (position >= text.size()) return text.size();
  if (text.compare(position, 2, "\r\n") == 0) return position + 2;
  return position + text::characterAt(text, position, textEncoding).length;
}

std::size_t TextModel::previousCharacter(std::size_t position) const {
  if (position == 0) return 0;
  if (position >= 2 && text.compare(position - 2, 2, "\r\n") == 0) return position - 2;
  return text::previousCharacter(text, position, textEncoding);
}

std::size_t TextModel::characterStart(std::size_t position) const {
  position = std::min(position, text.size());
  if (position == text.size() || position == 0) return position;
  // The character before `position` may reach over it.
  const std::size_t before = previousCharacter(position);
  return nextCharacter(before) > position ? before : position;
}

// Words

TextModel::Class TextModel::classAt(std::size_t position) const {
  const auto byte = static_cast<unsigned char>(text[position]);
  if (isLineBreak(static_cast<char>(byte))) return Class::lineBreak;
  if (byte == ' ' || byte == '\t') return Class::space;
  // Letters of every script beyond ASCII count as word characters.
  if ((byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z') ||
      byte == '_' || byte >= 0x80)
    return Class::word;
  return Class::mark;
}

std::size_t TextModel::nextWord(std::size_t i) const {
  const std::size_t n = text.size();
  if (i < n && classAt(i) != Class::space && classAt(i) != Class::lineBreak) {
    const Class run = classAt(i);
    while (i < n && classAt(i) == run)
      i = nextCharacter(i);
  }
  while (i < n && (classAt(i) == Class::space || classAt(i) == Class::lineBreak))
    i = nextCharacter(i);
  return i;
}

std::size_t TextModel::previousWord(std::size_t i) const {
  const auto before = [this](std::size_t at) { return classAt(previousCharacter(at)); };
  while (i > 0 && (before(i) == Class::space || before(i) == Class::lineBreak))
    i = previousCharacter(i);
  if (i > 0) {
    const Class run = before(i);
    while (i > 0 && before(i) == run)
      i = previousCharacter(i);
  }
  return i;
}

std::pair<std::size_t, std::size_t> TextModel::wordAt(std::size_t position) const {
  std::size_t from = characterStart(position);
  if (from == text.size() || classAt(from) == Class::lineBreak) return {from, from};
  const Class run = classAt(from);
  std::size_t to = from;
  while (to < text.size() && classAt(to) == run)
    to = nextCharacter(to);
  while (from > 0 && classAt(previousCharacter(from)) == run)
    from = previousCharacter(from);
  return {from, to};
}

// UTF-16 units

namespace {

std::size_t unitsOf(char32_t code) {
  return code < 0x10000 ? 1 : 2;
}

}  // namespace

const std::vector<TextModel::Checkpoint>& TextModel::checkpoints() const {
  if (unitCheckpoints.empty()) {
    Checkpoint at{0, 0};
    unitCheckpoints.push_back(at);
    while (at.byte < text.size()) {
      const text::Character character = text::characterAt(text, at.byte, textEncoding);
      at.byte += character.length;
      at.unit += unitsOf(character.code);
      if (at.byte >= unitCheckpoints.back().byte + kUnitStride) unitCheckpoints.push_back(at);
    }
    if (unitCheckpoints.back().byte != text.size()) unitCheckpoints.push_back(at);
  }
  return unitCheckpoints;
}

std::size_t TextModel::unitOf(std::size_t position) const {
  if (textEncoding != text::Encoding::utf8) return position;
  const std::vector<Checkpoint>& marks = checkpoints();
  const auto after =
      std::upper_bound(marks.begin(), marks.end(), position,
                       [](std::size_t byte, const Checkpoint& mark) { return byte < mark.byte; });
  Checkpoint at = *(after - 1);
  while (at.byte < position) {
    const text::Character character = text::characterAt(text, at.byte, textEncoding);
    at.byte += character.length;
    at.unit += unitsOf(character.code);
  }
  return at.unit;
}

std::size_t TextModel::byteOfUnit(std::size_t unit) const {
  if (textEncoding != text::Encoding::utf8) return std::min(unit, text.size());
  const std::vector<Checkpoint>& marks = checkpoints();
  const auto after =
      std::upper_bound(marks.begin(), marks.end(), unit,
                       [](std::size_t place, const Checkpoint& mark) { return place < mark.unit; });
  Checkpoint at = *(after - 1);
  while (at.byte < text.size()) {
    const text::Character character = text::characterAt(text, at.byte, textEncoding);
    if (at.unit + unitsOf(character.code) > unit) break;
    at.byte += character.length;
    at.unit += unitsOf(character.code);
  }
  return at.byte;
}
