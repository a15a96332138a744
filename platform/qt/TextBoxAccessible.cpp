#include "platform/qt/TextBoxAccessible.h"

#include <QFontMetrics>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace platform::qt {
namespace {

// Where the text splits into pieces of the given kind: every offset from 0
// to the end at which one piece ends and the next begins. A line box holds
// one line, one paragraph.
std::vector<int> Boundaries(const QString& text, QAccessible::TextBoundaryType type) {
  std::vector<int> at{0};
  QTextBoundaryFinder::BoundaryType kind;
  switch (type) {
    case QAccessible::CharBoundary:
      kind = QTextBoundaryFinder::Grapheme;
      break;
    case QAccessible::WordBoundary:
      kind = QTextBoundaryFinder::Word;
      break;
    case QAccessible::SentenceBoundary:
      kind = QTextBoundaryFinder::Sentence;
      break;
    default:
      if (!text.isEmpty()) at.push_back(static_cast<int>(text.size()));
      return at;
  }
  QTextBoundaryFinder finder(kind, text);
  // Each step moves on by at least one, so the walk ends.
  for (int next = static_cast<int>(finder.toNextBoundary()); next > at.back(); next = static_cast<int>(finder.toNextBoundary()))
    at.push_back(next);
  if (at.back() != text.size()) at.push_back(static_cast<int>(text.size()));
  return at;
}

}  // namespace

TextBoxAccessible::TextBoxAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

void* TextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TextBoxAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.editable = !Edit()->isReadOnly();
  state.selectableText = true;
  return state;
}

QString TextBoxAccessible::text(QAccessible::Text t) const {
  if (t == QAccessible::Value) return Edit()->text();
  return QAccessibleWidget::text(t);
}

void TextBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0 || !Edit()->hasSelectedText()) return;
  *startOffset = Edit()->selectionStart();
  *endOffset = *startOffset + Edit()->selectionLength();
}

int TextBoxAccessible::selectionCount() const { return Edit()->hasSelectedText() ? 1 : 0; }

void TextBoxAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void TextBoxAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) Edit()->deselect();
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex == 0) Edit()->setSelection(startOffset, endOffset - startOffset);
}

int TextBoxAccessible::cursorPosition() const { return Edit()->cursorPosition(); }

void TextBoxAccessible::setCursorPosition(int position) { Edit()->setCursorPosition(position); }

QString TextBoxAccessible::text(int startOffset, int endOffset) const {
  const QString all = Edit()->text();
  if (endOffset < 0 || endOffset > all.size()) endOffset = static_cast<int>(all.size());
  startOffset = std::clamp(startOffset, 0, endOffset);
  return all.mid(startOffset, endOffset - startOffset);
}

QString TextBoxAccessible::Segment(int offset, QAccessible::TextBoundaryType type, int step, int* startOffset,
                                   int* endOffset) const {
  const QString all = Edit()->text();
  const std::vector<int> at = Boundaries(all, type);
  const int pieces = static_cast<int>(at.size()) - 1;
  // The piece that holds the offset: before the start, none (-1); at the end,
  // the last one, except for characters, of which there is none there.
  int piece = offset < 0 ? -1 : pieces;
  for (int i = 0; i < pieces; ++i)
    if (offset >= at[i] && offset < at[i + 1]) piece = i;
  if (offset >= all.size() && type != QAccessible::CharBoundary && pieces > 0) piece = pieces - 1;
  piece += step;
  if (piece < 0 || piece >= pieces) {
    *startOffset = *endOffset = std::clamp(offset, 0, static_cast<int>(all.size()));
    return {};
  }
  *startOffset = at[piece];
  *endOffset = at[piece + 1];
  return all.mid(*startOffset, *endOffset - *startOffset);
}

QString TextBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                                            int* endOffset) const {
  return Segment(offset, type, -1, startOffset, endOffset);
}

QString TextBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                                           int* endOffset) const {
  return Segment(offset, type, 1, startOffset, endOffset);
}

QString TextBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                                        int* endOffset) const {
  return Segment(offset, type, 0, startOffset, endOffset);
}

int TextBoxAccessible::characterCount() const { return static_cast<int>(Edit()->text().size()); }

QRect TextBoxAccessible::characterRect(int offset) const {
  const QString all = Edit()->text();
  if (offset < 0 || offset >= all.size()) return {};
  const QFontMetrics metrics(Edit()->font());
  const QRect box = Edit()->contentsRect();
  const int x = box.left() + 2 + metrics.horizontalAdvance(all.left(offset));  // 2: the line edit's own margin
  const QRect local(x, box.top(), metrics.horizontalAdvance(all.mid(offset, 1)), box.height());
  return QRect(Edit()->mapToGlobal(local.topLeft()), local.size());
}

int TextBoxAccessible::offsetAtPoint(const QPoint& point) const {
  const QPoint local = Edit()->mapFromGlobal(point);
  return Edit()->rect().contains(local) ? Edit()->cursorPositionAt(local) : -1;
}

QString TextBoxAccessible::attributes(int, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

QAccessibleInterface* TextBoxAccessible::Create(const QString&, QObject* object) {
  if (auto* edit = qobject_cast<QLineEdit*>(object)) return new TextBoxAccessible(edit);
  return nullptr;
}

}  // namespace platform::qt
