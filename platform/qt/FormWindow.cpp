#include "platform/qt/FormWindow.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <utility>

#include "platform/Runtime.h"
#include "platform/qt/FieldAccessible.h"
#include "platform/qt/PictureBoxWidget.h"
#include "platform/qt/Pixels.h"

namespace platform::qt {
namespace {

// Never painted: a screen reader hears it show with each piece of news.
class NewsWidget final : public QWidget {
 public:
  using QWidget::QWidget;
};

void SetColours(QWidget& widget, Colour back, Colour fore) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, ToQColor(back));
  palette.setColor(QPalette::WindowText, ToQColor(fore));
  widget.setPalette(palette);
}

}  // namespace

FormWindow::FormWindow(Form& form) : form_(form), pass_(form, *this) {
  setAutoFillBackground(true);
  qt::SetColours(*this, form.BackColor, form.ForeColor);
  resize(ToPixels(form.ClientWidth), ToPixels(form.ClientHeight));
  for (const auto& control : form.Controls())
    if (control->Container == nullptr) Bind(*control);
  OrderTabs();
  TieCaptions();
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
  news_ = new NewsWidget(this);
  news_->hide();
#endif
  pass_.Run();
  // A click, or Qt itself, may move the keyboard within the window.
  QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (const auto& [control, widget] : widgets_)
      if (widget == now) pass_.FocusMovedTo(control);
  });
}

QAccessibleInterface* FormWindow::CreateAccessible(const QString&, QObject* object) {
  // A frame to a screen reader, as every application window is.
  if (auto* window = dynamic_cast<FormWindow*>(object)) return new QAccessibleWidget(window, QAccessible::Window);
  // Orca 43 speaks a notification as it shows, after what it is saying.
  if (auto* news = dynamic_cast<NewsWidget*>(object)) return new QAccessibleWidget(news, QAccessible::Notification);
  return nullptr;
}

void FormWindow::Bind(Control& control) {
  QWidget* widget = nullptr;
  if (auto* box = dynamic_cast<PictureBox*>(&control)) {
    for (const auto& field : pass_.Fields())
      if (&field->Field() == box) widget = new PictureBoxWidget(*field, this);
  } else if (dynamic_cast<Label*>(&control) != nullptr) {
    auto* label = new QLabel(this);
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    label->setFocusPolicy(Qt::NoFocus);
    widget = label;
  } else if (auto* textBox = dynamic_cast<TextBox*>(&control)) {
    auto* edit = new QLineEdit(this);
    edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // the box runs past the window's bottom edge
    QObject::connect(edit, &QLineEdit::textEdited, edit, [textBox](const QString& text) {
      Runtime::Current().Type(*textBox, text.toStdString());
    });
    widget = edit;
  } else if (auto* button = dynamic_cast<CommandButton*>(&control)) {
    auto* push = new QPushButton(this);
    push->setAutoDefault(false);
    QObject::connect(push, &QPushButton::clicked, push, [button] { Runtime::Current().Click(*button); });
    widget = push;
  }
  if (widget == nullptr) return;
  if (!control.AccessibleName.empty()) widget->setAccessibleName(QString::fromStdString(control.AccessibleName));
  bound_.push_back(&control);
  widgets_[&control] = widget;
}

void FormWindow::SetTitle(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void FormWindow::Show(const Control& control, const ControlLook& look) {
  QWidget* widget = WidgetOf(control);
  if (look.text) {
    const QString text = QString::fromStdString(*look.text);
    // A screen reader hears a label's new text as its name: the score, say.
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
    if (auto* push = qobject_cast<QPushButton*>(widget)) push->setText(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setText(text);
  }
  if (look.colours) qt::SetColours(*widget, look.colours->first, look.colours->second);
  if (look.place) widget->setGeometry(ToQRect(*look.place));
  if (look.visible) widget->setVisible(*look.visible);
  if (look.enabled) widget->setEnabled(*look.enabled);
}

void FormWindow::SetFocus(const Control* control, bool selectText) {
  if (control == nullptr) {
    if (QWidget* focus = focusWidget()) focus->clearFocus();
    return;
  }
  QWidget* widget = WidgetOf(*control);
  widget->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(widget); edit != nullptr && selectText) edit->selectAll();
}

void FormWindow::Repaint(const FieldRaster& field, const std::vector<PixelRect>& changed) {
  auto* widget = static_cast<PictureBoxWidget*>(WidgetOf(field.Field()));
  for (const PixelRect& rect : changed) widget->update(ToQRect(rect));
}

void FormWindow::PlaceSprite(const FieldRaster& field, std::size_t sprite, const PixelRect& where, bool cameOrWent) {
  // Qt asks where a sprite is when it wants to know; only coming and going
  // is news.
  if (cameOrWent)
    FieldAccessible::SpriteCameOrWent(static_cast<PictureBoxWidget*>(WidgetOf(field.Field())), sprite, !where.Empty());
}

void FormWindow::WakeTimerIn(std::size_t timer, std::optional<std::chrono::milliseconds> delay) {
  while (timers_.size() <= timer) {
    auto& qtimer = *timers_.emplace_back(std::make_unique<QTimer>());
    qtimer.setSingleShot(true);
    qtimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&qtimer, &QTimer::timeout, this, [this, index = timers_.size() - 1] { pass_.TimerWoke(index); });
  }
  if (delay)
    timers_[timer]->start(*delay);
  else
    timers_[timer]->stop();
}

void FormWindow::Announce(const std::string& message) {
  if (!QAccessible::isActive()) return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QAccessibleAnnouncementEvent event(this, QString::fromStdString(message));
  event.setPoliteness(QAccessible::AnnouncementPoliteness::Polite);
#else
  news_->setAccessibleName(QString::fromStdString(message));
  QAccessibleEvent event(news_, QAccessible::ObjectShow);
#endif
  QAccessible::updateAccessibility(&event);
}

void FormWindow::OrderTabs() {
  const std::vector<Control*> stops = form_.TabStops();
  for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(WidgetOf(*stops[i - 1]), WidgetOf(*stops[i]));
}

// A label that names a control is its buddy: a screen reader then says the
// caption with the control's value.
void FormWindow::TieCaptions() {
  for (const Control* caption : bound_) {
    auto* label = qobject_cast<QLabel*>(WidgetOf(*caption));
    if (label == nullptr) continue;
    if (const Control* target = form_.NamedBy(*caption)) label->setBuddy(WidgetOf(*target));
  }
}

}  // namespace platform::qt
