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

namespace platform::qt {
namespace {

// Never painted: a screen reader hears it show with each piece of news.
class NewsWidget final : public QWidget {
 public:
  using QWidget::QWidget;
};

// The colours come as plain RGB, resolved by the forms layer.
void SetColours(QWidget& widget, Colour back, Colour fore) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, QColor(RedOf(back), GreenOf(back), BlueOf(back)));
  palette.setColor(QPalette::WindowText, QColor(RedOf(fore), GreenOf(fore), BlueOf(fore)));
  widget.setPalette(palette);
}

}  // namespace

FormWindow::FormWindow(Form& form) : pass_(form, *this) {
  const FormLook look = LookOf(form);
  setAutoFillBackground(true);
  qt::SetColours(*this, look.back, look.fore);
  resize(look.width, look.height);
  for (const auto& control : form.Controls())
    if (control->Container == nullptr && control->Kind != ControlKind::Timer) widgets_[control.get()] = Bind(*control);
  // A label that captions a control is its buddy, which a screen reader
  // takes as the control's name before the control's own: so only a control
  // without a name of its own gets one.
  for (const auto& [control, widget] : widgets_)
    if (const Control* target = form.CaptionedBy(*control); target != nullptr && target->AccessibleName.empty())
      static_cast<QLabel*>(widget)->setBuddy(WidgetOf(*target));
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
  for (QWidget*& news : news_) {
    news = new NewsWidget(this);
    news->hide();
  }
#endif
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

QWidget* FormWindow::Bind(Control& control) {
  QWidget* widget = nullptr;
  switch (control.Kind) {
    case ControlKind::PictureBox:
      for (std::size_t f = 0; f < pass_.Fields().size(); ++f)
        if (&pass_.Fields()[f]->Field() == &control)
          widget = new PictureBoxWidget(*pass_.Fields()[f], pass_.SpritesPlaced(f), this);
      break;
    case ControlKind::Label: {
      auto* label = new QLabel(this);
      label->setAutoFillBackground(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setTextFormat(Qt::PlainText);
      label->setFocusPolicy(Qt::NoFocus);
      widget = label;
      break;
    }
    case ControlKind::TextBox: {
      auto* edit = new QLineEdit(this);
      edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // the box runs past the window's bottom edge
      QObject::connect(edit, &QLineEdit::textEdited, edit,
                       [&control](const QString& text) { Runtime::Current().Type(control, text.toStdString()); });
      widget = edit;
      break;
    }
    default: {  // a command button
      auto* push = new QPushButton(this);
      push->setAutoDefault(false);
      QObject::connect(push, &QPushButton::clicked, push, [&control] { Runtime::Current().Click(control); });
      widget = push;
    }
  }
  if (!control.AccessibleName.empty()) widget->setAccessibleName(QString::fromStdString(control.AccessibleName));
  return widget;
}

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
  QWidget* news = news_[nextNews_++ % news_.size()];
  news->setAccessibleName(QString::fromStdString(message));
  QAccessibleEvent event(news, QAccessible::ObjectShow);
#endif
  QAccessible::updateAccessibility(&event);
}

}  // namespace platform::qt
