#include "platform/qt/FormWindow.h"

#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "platform/qt/FieldAccessible.h"
#include "platform/qt/Pixels.h"
#include "platform/qt/PictureBoxWidget.h"

namespace platform::qt {
namespace {

// A command button that Enter presses as well as Space, as on the desktop the
// game was made for.
class PushButton final : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
      click();
      return;
    }
    QPushButton::keyPressEvent(event);
  }
};

// A text box that, taking the focus back after it was disabled (a game
// ended), selects its text as a Tab into it would: the next limit typed
// replaces the count left in it.
class LineEdit final : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::EnabledChange && isEnabled()) selectOnFocus_ = true;
    QLineEdit::changeEvent(event);
  }
  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    if (selectOnFocus_ && event->reason() != Qt::MouseFocusReason) selectAll();
    selectOnFocus_ = false;
  }

 private:
  bool selectOnFocus_ = false;
};

void SetColours(QWidget& widget, Colour back, Colour fore) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, ToQColor(back));
  palette.setColor(QPalette::WindowText, ToQColor(fore));
  widget.setPalette(palette);
}

void Place(QWidget& widget, const Control& control) {
  widget.setGeometry(PixelRect(control.Left, control.Top, control.Width, control.Height));
  widget.setVisible(control.Visible);
  widget.setEnabled(control.Enabled);
}

}  // namespace

FormWindow::FormWindow(Form& form) : form_(form) {
  setAutoFillBackground(true);
  SetColours(*this, vbButtonFace, vbButtonText);
  resize(ToPixels(form.ClientWidth), ToPixels(form.ClientHeight));
  setWindowTitle(QString::fromStdString(form.Caption));
  form.Observe([this] { setWindowTitle(QString::fromStdString(form_.Caption)); });
  for (const auto& control : form.Controls())
    if (control->Container == nullptr) Bind(*control);
  OrderTabs();
  TieCaptions();
}

QAccessibleInterface* FormWindow::CreateAccessible(const QString&, QObject* object) {
  // A frame to a screen reader, as every application window is.
  if (auto* window = dynamic_cast<FormWindow*>(object)) return new QAccessibleWidget(window, QAccessible::Window);
  return nullptr;
}

void FormWindow::Bind(Control& control) {
  QWidget* widget = nullptr;
  if (auto* timer = dynamic_cast<Timer*>(&control)) {
    timers_.Drive(*timer);
    return;
  }
  if (auto* box = dynamic_cast<PictureBox*>(&control)) {
    std::vector<PictureBox*> children;
    for (const auto& c : form_.Controls())
      if (c->Container == box)
        if (auto* child = dynamic_cast<PictureBox*>(c.get())) children.push_back(child);
    auto* field = new PictureBoxWidget(*box, children, this);
    for (std::size_t i = 0; i < children.size(); ++i)
      children[i]->Observe([field, i] {
        field->ChildChanged(i);
        FieldAccessible::SpritesChanged(field);
      });
    box->Observe([field] {
      field->Changed();
      FieldAccessible::SpritesChanged(field);
    });
    widget = field;
  } else if (auto* label = dynamic_cast<Label*>(&control)) {
    auto* qlabel = new QLabel(this);
    qlabel->setAutoFillBackground(true);
    qlabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    qlabel->setTextFormat(Qt::PlainText);
    qlabel->setFocusPolicy(Qt::NoFocus);
    const auto sync = [qlabel, label] {
      qlabel->setText(QString::fromStdString(label->Caption));
      // Read out as it changes: the score, say.
      if (qlabel->accessibleName() != qlabel->text()) qlabel->setAccessibleName(qlabel->text());
      SetColours(*qlabel, label->BackColor, label->ForeColor);
      Place(*qlabel, *label);
    };
    label->Observe(sync);
    sync();
    widget = qlabel;
  } else if (auto* textBox = dynamic_cast<TextBox*>(&control)) {
    auto* edit = new LineEdit(this);
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // the box runs past the window's bottom edge
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [textBox](const QString& text) { textBox->Text = text.toStdString(); });
    const auto sync = [edit, textBox] {
      const QString text = QString::fromStdString(textBox->Text);
      if (edit->text() != text) edit->setText(text);
      Place(*edit, *textBox);
    };
    textBox->Observe(sync);
    sync();
    widget = edit;
  } else if (auto* button = dynamic_cast<CommandButton*>(&control)) {
    auto* push = new PushButton(this);
    push->setAutoDefault(false);
    QObject::connect(push, &QPushButton::clicked, push, [button] { button->Press(); });
    const auto sync = [push, button] {
      push->setText(QString::fromStdString(button->Caption));
      if (push->accessibleName() != push->text()) push->setAccessibleName(push->text());
      Place(*push, *button);
    };
    button->Observe(sync);
    sync();
    widget = push;
  }
  if (widget != nullptr) {
    if (!control.AccessibleName.empty()) widget->setAccessibleName(QString::fromStdString(control.AccessibleName));
    widgets_.emplace_back(&control, widget);
  }
}

void FormWindow::OrderTabs() {
  std::vector<std::pair<const Control*, QWidget*>> focusable;
  for (const auto& entry : widgets_)
    if (entry.second->focusPolicy() != Qt::NoFocus) focusable.push_back(entry);
  std::sort(focusable.begin(), focusable.end(),
            [](const auto& a, const auto& b) { return a.first->TabIndex < b.first->TabIndex; });
  for (std::size_t i = 1; i < focusable.size(); ++i)
    QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
}

// A label that captions a control is its buddy: a screen reader then says
// the caption with the control's value.
void FormWindow::TieCaptions() {
  for (const auto& [control, widget] : widgets_) {
    auto* caption = qobject_cast<QLabel*>(widget);
    if (caption == nullptr || control->LabelFor.empty()) continue;
    for (const auto& [other, target] : widgets_)
      if (other->Name == control->LabelFor) caption->setBuddy(target);
  }
}

void FormWindow::FocusFirst() {
  const std::pair<const Control*, QWidget*>* first = nullptr;
  for (const auto& entry : widgets_) {
    const Control& c = *entry.first;
    if (entry.second->focusPolicy() == Qt::NoFocus || !c.Shown() || !c.Enabled) continue;
    if (first == nullptr || c.TabIndex < first->first->TabIndex) first = &entry;
  }
  if (first != nullptr) first->second->setFocus(Qt::OtherFocusReason);
}

}  // namespace platform::qt
