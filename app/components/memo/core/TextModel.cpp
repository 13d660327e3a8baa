#include "TextModel.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace {

bool isLineBreak(char byte) {
  return byte == '\r' || byte == '\n';
}

}  // namespace

void TextModel::setEncoding(text::Encoding encoding) {
  textEncoding = encoding;
  unitCheckpoints.clear();
  checkpointsComplete = false;
  anchorAt = characterStart(anchorAt);
  cursorAt = characterStart(cursorAt);
}

void TextModel::setText(std::string bytes) {
  text = std::move(bytes);
  unitCheckpoints.clear();
  checkpointsComplete = false;
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
      last->position + last->inserted.size() == position &&
      last->inserted.size() + with.size() <= historyLimit) {
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
  lastChange.restorable = false;  // taken back once only
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

// Undo and redo move an edit between the stacks only once the text has
// changed, into room made before, so that a failure leaves both as they were.
TextModel::Change TextModel::undo() {
  if (undoStack.empty()) return {cursorAt, 0, 0};
  redoStack.reserve(redoStack.size() + 1);
  const Edit& edit = undoStack.back();
  const Change change = apply(edit.position, edit.inserted.size(), edit.removed);
  redoStack.push_back(std::move(undoStack.back()));
  undoStack.pop_back();
  return change;
}

TextModel::Change TextModel::redo() {
  if (redoStack.empty()) return {cursorAt, 0, 0};
  undoStack.reserve(undoStack.size() + 1);
  const Edit& edit = redoStack.back();
  const Change change = apply(edit.position, edit.removed.size(), edit.inserted);
  undoStack.push_back(std::move(redoStack.back()));
  redoStack.pop_back();
  return change;
}

std::pair<std::size_t, std::size_t> TextModel::undoSpan() const {
  if (undoStack.empty()) return {cursorAt, 0};
  return {undoStack.back().position, undoStack.back().inserted.size()};
}

std::pair<std::size_t, std::size_t> TextModel::redoSpan() const {
  if (redoStack.empty()) return {cursorAt, 0};
  return {redoStack.back().position, redoStack.back().removed.size()};
}

TextModel::Change TextModel::apply(std::size_t position, std::size_t count, std::string_view with) {
  text.replace(position, count, with);
  // The places before the change stay where they were; one at the change
  // may no longer start a character (the new bytes may end a sequence).
  while (!unitCheckpoints.empty() && unitCheckpoints.back().byte >= position)
    unitCheckpoints.pop_back();
  checkpointsComplete = false;
  cursorAt = anchorAt = position + with.size();
  return {position, count, with.size()};
}

// Characters

namespace {

constexpr char32_t kJoiner = 0x200D;

bool inAny(char32_t c, std::initializer_list<std::pair<char32_t, char32_t>> ranges) {
  for (const auto& [first, last] : ranges)
    if (c >= first && c <= last) return true;
  return false;
}

// Marks and modifiers that belong to the character before them: combining
// diacritics, Hebrew, Arabic and Thai marks, variation selectors, emoji
// skin tones and tags.
bool extendsPrevious(char32_t c) {
  return c >= 0x300 &&
         inAny(c, {{0x300, 0x36F},    {0x483, 0x489},   {0x591, 0x5BD},     {0x5BF, 0x5BF},
                   {0x5C1, 0x5C2},    {0x5C4, 0x5C5},   {0x5C7, 0x5C7},     {0x610, 0x61A},
                   {0x64B, 0x65F},    {0x670, 0x670},   {0x6D6, 0x6DC},     {0x6DF, 0x6E4},
                   {0x6E7, 0x6E8},    {0x6EA, 0x6ED},   {0xE31, 0xE31},     {0xE34, 0xE3A},
                   {0xE47, 0xE4E},    {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},   {0x20D0, 0x20FF},
                   {0xFE00, 0xFE0F},  {0xFE20, 0xFE2F}, {0x1F3FB, 0x1F3FF}, {0xE0020, 0xE007F},
                   {0xE0100, 0xE01EF}});
}

bool isRegionalIndicator(char32_t c) {
  return c >= 0x1F1E6 && c <= 0x1F1FF;
}

// A cluster seldom holds more code points than this; past it, a place is
// taken as a cluster's start.
constexpr int kLongestCluster = 32;

}  // namespace

char32_t TextModel::codeAt(std::size_t position) const {
  return text::characterAt(text, position, textEncoding).code;
}

std::size_t TextModel::nextCharacter(std::size_t position) const {
  const std::size_t n = text.size();
  if (position >= n) return n;
  if (text.compare(position, 2, "\r\n") == 0) return position + 2;
  // A letter with its marks, a pair of regional indicators (a flag), or
  // emoji joined by a zero-width joiner move as one.
  const char32_t first = codeAt(position);
  std::size_t i = position + text::characterAt(text, position, textEncoding).length;
  bool flagOpen = isRegionalIndicator(first);
  for (int steps = 0; i < n && steps < kLongestCluster; ++steps) {
    const text::Character next = text::characterAt(text, i, textEncoding);
    if (next.code == kJoiner) {
      i += next.length;
      if (i < n && !isLineBreak(text[i])) i += text::characterAt(text, i, textEncoding).length;
    } else if (extendsPrevious(next.code) || (flagOpen && isRegionalIndicator(next.code))) {
      flagOpen = false;
      i += next.length;
    } else {
      break;
    }
  }
  return i;
}

std::size_t TextModel::clusterSafePlace(std::size_t position) const {
  // Back to a code point that starts a cluster whatever comes before it.
  std::size_t place = position;
  for (int steps = 0; place > 0 && steps < kLongestCluster; ++steps) {
    const std::size_t before = text::previousCharacter(text, place, textEncoding);
    const char32_t c = codeAt(before);
    const bool joined =
        before > 0 && codeAt(text::previousCharacter(text, before, textEncoding)) == kJoiner;
    place = before;
    if (!extendsPrevious(c) && c != kJoiner && !isRegionalIndicator(c) && !joined) break;
  }
  return place;
}

std::size_t TextModel::previousCharacter(std::size_t position) const {
  if (position == 0) return 0;
  if (position >= 2 && text.compare(position - 2, 2, "\r\n") == 0) return position - 2;
  std::size_t start = clusterSafePlace(position);
  for (std::size_t next = nextCharacter(start); next < position; next = nextCharacter(start))
    start = next;
  return start;
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
  if (byte < 0x80) {
    return (byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z') ||
                   byte == '_'
               ? Class::word
               : Class::mark;
  }
  // Beyond ASCII: spaces, punctuation and symbols, and letters of every
  // script.
  const char32_t c = codeAt(position);
  if (c == 0xA0 || c == 0x202F || c == 0x205F || c == 0x3000 || (c >= 0x2000 && c <= 0x200A))
    return Class::space;
  if (inAny(c, {{0xA1, 0xA9},
                {0xAB, 0xB4},
                {0xB6, 0xB9},
                {0xBB, 0xBF},
                {0xD7, 0xD7},
                {0xF7, 0xF7},
                {0x2010, 0x2027},
                {0x2030, 0x205E},
                {0x20A0, 0x20CF},
                {0x2190, 0x23FF},
                {0x3001, 0x303F},
                {0xFF01, 0xFF0F},
                {0xFFFD, 0xFFFD}}))
    return Class::mark;
  return Class::word;
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

std::pair<std::size_t, std::size_t> TextModel::lineAround(std::size_t position,
                                                          std::size_t reach) const {
  std::size_t start = position;
  while (start > 0 && position - start < reach && !isLineBreak(text[start - 1]))
    --start;
  std::size_t end = position;
  while (end < text.size() && end - position < reach && !isLineBreak(text[end]))
    ++end;
  return {start, end};
}

// UTF-16 units

namespace {

std::size_t unitsOf(char32_t code) {
  return code < 0x10000 ? 1 : 2;
}

}  // namespace

const std::vector<TextModel::Checkpoint>& TextModel::checkpoints() const {
  if (checkpointsComplete) return unitCheckpoints;
  // Go on from the last place still known.
  if (unitCheckpoints.empty()) unitCheckpoints.push_back({0, 0});
  Checkpoint at = unitCheckpoints.back();
  while (at.byte < text.size()) {
    const text::Character character = text::characterAt(text, at.byte, textEncoding);
    at.byte += character.length;
    at.unit += unitsOf(character.code);
    if (at.byte >= unitCheckpoints.back().byte + kUnitStride) unitCheckpoints.push_back(at);
  }
  if (unitCheckpoints.back().byte != text.size()) unitCheckpoints.push_back(at);
  checkpointsComplete = true;
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
