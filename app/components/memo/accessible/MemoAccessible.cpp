#include "MemoAccessible.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>
#include <tuple>

#include "Memo.h"
#include "MemoAnnouncer.h"

namespace {

// Words and sentences are looked for this many units around a place.
constexpr int kBoundaryWindow = 4096;
// A text asked for whole, or any range of it, is cut after this many
// units.
constexpr int kLargestWhole = 1 << 20;

QAccessibleInterface* memoFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("TMemo") && object->isWidgetType())
    return new MemoAccessible(static_cast<TMemo*>(object));
  return nullptr;
}

// Lets every memo's changes be heard.
void attachAnnouncer(TMemo& memo) {
  memo.setListener(new MemoAnnouncer(&memo, memo.document()));
}

// The memos have this interface from the start of any Qt application that
// links them.
void installAtStart() {
  MemoAccessible::install();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installAtStart)

MemoAccessible::MemoAccessible(TMemo* memo) : QAccessibleWidget(memo, QAccessible::EditableText) {}

void MemoAccessible::install() {
  static const bool installed = [] {
    QAccessible::installFactory(memoFactory);
    MemoAnnouncer::watchTools();
    TMemo::attachToEveryMemo(attachAnnouncer);
    return true;
  }();
  Q_UNUSED(installed);
}

TMemo* MemoAccessible::memo() const {
  return static_cast<TMemo*>(widget());
}

QAccessible::State MemoAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.readOnly = memo()->isReadOnly();
  state.editable = !memo()->isReadOnly();
  state.multiLine = true;
  state.selectableText = true;
  state.focusable = true;
  return state;
}

void* MemoAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface && !memo()->isReadOnly())
    return static_cast<QAccessibleEditableTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

std::size_t MemoAccessible::byteOf(int offset) const {
  return memo()->document().byteOfUnit(static_cast<std::size_t>(std::max(offset, 0)));
}

int MemoAccessible::offsetOf(std::size_t position) const {
  return static_cast<int>(std::min<std::size_t>(memo()->document().unitOf(position), INT_MAX));
}

// Selection and cursor

void MemoAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  const TextModel& document = memo()->document();
  const bool any = selectionIndex == 0 && document.hasSelection();
  *startOffset = any ? offsetOf(document.selectionStart()) : 0;
  *endOffset = any ? offsetOf(document.selectionEnd()) : 0;
}

int MemoAccessible::selectionCount() const {
  return memo()->document().hasSelection() ? 1 : 0;
}

void MemoAccessible::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);
}

void MemoAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex != 0) return;
  const std::size_t cursor = memo()->document().cursor();
  memo()->select(cursor, cursor);
}

void MemoAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex == 0) memo()->select(byteOf(startOffset), byteOf(endOffset));
}

int MemoAccessible::cursorPosition() const {
  return offsetOf(memo()->document().cursor());
}

void MemoAccessible::setCursorPosition(int position) {
  memo()->select(byteOf(position), byteOf(position));
}

// Text

QString MemoAccessible::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Value) return text(0, std::min(characterCount(), kLargestWhole));
  return QAccessibleWidget::text(kind);
}

QString MemoAccessible::text(int startOffset, int endOffset) const {
  if (endOffset < 0) endOffset = characterCount();  // to the end, as AT-SPI asks
  // Never the whole of a large text at once.
  endOffset = std::min(endOffset, std::max(startOffset, 0) + kLargestWhole);
  const std::string& bytes = memo()->document().bytes();
  const std::size_t from = byteOf(startOffset);
  const std::size_t to = std::max(from, byteOf(endOffset));
  // Line breaks as they are, so that the text's length counts as its places.
  const std::string utf8 =
      text::toUtf8(std::string_view(bytes).substr(from, to - from), memo()->document().encoding());
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

int MemoAccessible::characterCount() const {
  return static_cast<int>(std::min<std::size_t>(memo()->document().unitCount(), INT_MAX));
}

std::pair<int, int> MemoAccessible::spanAt(int offset,
                                           QAccessible::TextBoundaryType boundaryType) const {
  const TextModel& document = memo()->document();
  const int count = characterCount();
  offset = std::clamp(offset, 0, count);
  const std::size_t position = byteOf(offset);
  switch (boundaryType) {
    case QAccessible::CharBoundary:
      return {offsetOf(position), offsetOf(document.nextCharacter(position))};
    case QAccessible::LineBoundary: {
      const auto [start, next] = memo()->rowAround(position);
      return {offsetOf(start), offsetOf(next)};
    }
    case QAccessible::ParagraphBoundary: {
      // The line with its line break, where the break is within reach.
      const std::size_t window = static_cast<std::size_t>(kBoundaryWindow) * 4;
      auto [start, end] = document.lineAround(position, window);
      if (end < document.bytes().size() && end - position < window)
        end = document.nextCharacter(end);
      return {offsetOf(start), offsetOf(end)};
    }
    case QAccessible::WordBoundary:
    case QAccessible::SentenceBoundary: {
      // Looked for in a window around the place, not in the whole text,
      // from a character's start.
      const int from = offsetOf(byteOf(std::max(offset - kBoundaryWindow, 0)));
      const int to = std::min(offset + kBoundaryWindow, count);
      const QString around = text(from, to);
      QTextBoundaryFinder finder(boundaryType == QAccessible::WordBoundary
                                     ? QTextBoundaryFinder::Word
                                     : QTextBoundaryFinder::Sentence,
                                 around);
      finder.setPosition(offset - from);
      const qsizetype start =
          finder.isAtBoundary() ? finder.position() : finder.toPreviousBoundary();
      finder.setPosition(offset - from);
      const qsizetype end = finder.toNextBoundary();
      return {from + static_cast<int>(std::max<qsizetype>(start, 0)),
              end < 0 ? to : from + static_cast<int>(end)};
    }
    case QAccessible::NoBoundary:
      return {0, std::min(count, kLargestWhole)};
  }
  return {offset, offset};
}

QString MemoAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                     int* startOffset, int* endOffset) const {
  std::tie(*startOffset, *endOffset) = spanAt(offset, boundaryType);
  return text(*startOffset, *endOffset);
}

QString MemoAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
  const int start = spanAt(offset, boundaryType).first;
  if (start == 0) {
    *startOffset = *endOffset = 0;
    return {};
  }
  return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
}

QString MemoAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
  const int end = spanAt(offset, boundaryType).second;
  if (end >= characterCount()) {
    *startOffset = *endOffset = characterCount();
    return {};
  }
  return textAtOffset(end, boundaryType, startOffset, endOffset);
}

// Geometry

QRect MemoAccessible::characterRect(int offset) const {
  const QRect rect = memo()->characterRect(byteOf(offset));
  return {memo()->viewport()->mapToGlobal(rect.topLeft()), rect.size()};
}

int MemoAccessible::offsetAtPoint(const QPoint& point) const {
  const QPoint inside = memo()->viewport()->mapFromGlobal(point);
  if (!memo()->viewport()->rect().contains(inside)) return -1;
  return offsetOf(memo()->offsetAt(inside));
}

void MemoAccessible::scrollToSubstring(int startIndex, int /*endIndex*/) {
  memo()->showPosition(byteOf(startIndex));
}

QString MemoAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
  // One run of one font: no attributes that change within the text.
  Q_UNUSED(offset);
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

// Editing

void MemoAccessible::deleteText(int startOffset, int endOffset) {
  replaceText(startOffset, endOffset, {});
}

void MemoAccessible::insertText(int offset, const QString& text) {
  replaceText(offset, offset, text);
}

void MemoAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
  memo()->replaceRange(byteOf(startOffset), byteOf(endOffset), text);
}
