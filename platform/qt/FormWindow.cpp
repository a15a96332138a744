#include "platform/qt/FormWindow.h"

#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <string>
#include <utility>

#include "platform/qt/FieldAccessible.h"
#include "platform/qt/PictureBoxWidget.h"
#include "platform/qt/Pixels.h"

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

// Place, visibility and enabled state, applied only when they changed.
class Placement {
 public:
  void Sync(QWidget& widget, const Control& control) {
    const QRect rect = PixelRect(control.Left, control.Top, control.Width, control.Height);
    if (rect != rect_) widget.setGeometry(rect_ = rect);
    if (control.Visible != visible_) widget.setVisible(visible_ = control.Visible);
    if (control.Enabled != enabled_) widget.setEnabled(enabled_ = control.Enabled);
  }

 private:
  QRect rect_;
  bool visible_ = true, enabled_ = true;
};

}  // namespace

FormWindow::FormWindow(Form& form)
    : form_(form), timers_([this](Timer& timer) { Dispatch([&timer] { timer.RaiseTimer(); }); }) {
  setAutoFillBackground(true);
  SetColours(*this, vbButtonFace, vbButtonText);
  resize(ToPixels(form.ClientWidth), ToPixels(form.ClientHeight));
  for (const auto& control : form.Controls())
    if (control->Container == nullptr) Bind(*control);
  OrderTabs();
  TieCaptions();
  Sync();
}

QAccessibleInterface* FormWindow::CreateAccessible(const QString&, QObject* object) {
  // A frame to a screen reader, as every application window is.
  if (auto* window = dynamic_cast<FormWindow*>(object)) return new QAccessibleWidget(window, QAccessible::Window);
  return nullptr;
}

void FormWindow::Dispatch(const std::function<void()>& handler) {
  handler();
  Sync();
}

void FormWindow::Sync() {
  if (title_.Changed(form_.Caption)) setWindowTitle(QString::fromStdString(form_.Caption));
  for (const Binding& binding : bindings_) binding.sync();
  timers_.Sync();
}

void FormWindow::Bind(Control& control) {
  if (auto* timer = dynamic_cast<Timer*>(&control)) {
    timers_.Drive(*timer);
    return;
  }
  QWidget* widget = nullptr;
  std::function<void()> sync;
  if (auto* box = dynamic_cast<PictureBox*>(&control)) {
    std::vector<PictureBox*> children;
    for (const auto& c : form_.Controls())
      if (c->Container == box)
        if (auto* child = dynamic_cast<PictureBox*>(c.get())) children.push_back(child);
    auto* field = new PictureBoxWidget(*box, children, this);
    widget = field;
    sync = [field] {
      field->Sync();
      FieldAccessible::SpritesChanged(field);
    };
  } else if (auto* label = dynamic_cast<Label*>(&control)) {
    auto* qlabel = new QLabel(this);
    qlabel->setAutoFillBackground(true);
    qlabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    qlabel->setTextFormat(Qt::PlainText);
    qlabel->setFocusPolicy(Qt::NoFocus);
    widget = qlabel;
    sync = [qlabel, label, caption = TextSync(), colours = std::pair<Colour, Colour>(),
            place = Placement()]() mutable {
      // A screen reader hears the new text as the label's name: the score, say.
      if (caption.Changed(label->Caption)) qlabel->setText(QString::fromStdString(label->Caption));
      if (colours != std::pair(label->BackColor, label->ForeColor)) {
        colours = {label->BackColor, label->ForeColor};
        SetColours(*qlabel, colours.first, colours.second);
      }
      place.Sync(*qlabel, *label);
    };
  } else if (auto* textBox = dynamic_cast<TextBox*>(&control)) {
    auto* edit = new LineEdit(this);
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // the box runs past the window's bottom edge
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this, textBox](const QString& text) {
      Dispatch([textBox, &text] { textBox->Text = text.toStdString(); });
    });
    widget = edit;
    sync = [edit, textBox, text = TextSync(), place = Placement()]() mutable {
      if (text.Changed(textBox->Text)) {
        const QString now = QString::fromStdString(textBox->Text);
        if (edit->text() != now) edit->setText(now);
      }
      place.Sync(*edit, *textBox);
    };
  } else if (auto* button = dynamic_cast<CommandButton*>(&control)) {
    auto* push = new PushButton(this);
    push->setAutoDefault(false);
    QObject::connect(push, &QPushButton::clicked, push, [this, button] { Dispatch([button] { button->Press(); }); });
    widget = push;
    sync = [push, button, caption = TextSync(), place = Placement()]() mutable {
      if (caption.Changed(button->Caption)) push->setText(QString::fromStdString(button->Caption));
      place.Sync(*push, *button);
    };
  }
  if (widget == nullptr) return;
  if (!control.AccessibleName.empty()) widget->setAccessibleName(QString::fromStdString(control.AccessibleName));
  bindings_.push_back({&control, widget, std::move(sync)});
}

void FormWindow::OrderTabs() {
  std::vector<const Binding*> focusable;
  for (const Binding& binding : bindings_)
    if (binding.widget->focusPolicy() != Qt::NoFocus) focusable.push_back(&binding);
  std::sort(focusable.begin(), focusable.end(),
            [](const Binding* a, const Binding* b) { return a->control->TabIndex < b->control->TabIndex; });
  for (std::size_t i = 1; i < focusable.size(); ++i)
    QWidget::setTabOrder(focusable[i - 1]->widget, focusable[i]->widget);
}

// A label that captions a control is its buddy: a screen reader then says
// the caption with the control's value.
void FormWindow::TieCaptions() {
  for (const Binding& caption : bindings_) {
    auto* label = qobject_cast<QLabel*>(caption.widget);
    if (label == nullptr || caption.control->LabelFor.empty()) continue;
    for (const Binding& target : bindings_)
      if (target.control->Name == caption.control->LabelFor) label->setBuddy(target.widget);
  }
}

void FormWindow::FocusFirst() {
  const Binding* first = nullptr;
  for (const Binding& binding : bindings_) {
    const Control& c = *binding.control;
    if (binding.widget->focusPolicy() == Qt::NoFocus || !c.Shown() || !c.Enabled) continue;
    if (first == nullptr || c.TabIndex < first->control->TabIndex) first = &binding;
  }
  if (first != nullptr) first->widget->setFocus(Qt::OtherFocusReason);
}

}  // namespace platform::qt
