#pragma once

#include <QAccessibleWidget>
#include <QLineEdit>

namespace platform::qt {

// A text box as a screen reader reads it, answered from the box's text alone.
// Qt 6.4's own line edit loops for ever when asked for the word at the end of
// its text, and reports attribute runs of no length, which Orca splits the
// value by; this one answers every boundary at every offset at once, with one
// attribute run over the whole text.
class TextBoxAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit TextBoxAccessible(QLineEdit* edit);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessible::State state() const override;
  QString text(QAccessible::Text t) const override;

  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset, int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // For the factory that QtFrontEnd installs.
  static QAccessibleInterface* Create(const QString& className, QObject* object);

 private:
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
  // The segment `step` places away from the one at `offset`.
  QString Segment(int offset, QAccessible::TextBoundaryType type, int step, int* startOffset, int* endOffset) const;
};

}  // namespace platform::qt
