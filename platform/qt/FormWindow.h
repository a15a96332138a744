#pragma once

#include <QAccessibleInterface>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/qt/TimerDriver.h"

namespace platform::qt {

// A text last given to a widget, so that the widget is touched only when the
// text changes.
class TextSync {
 public:
  bool Changed(const std::string& text) {
    if (synced_ && text == last_) return false;
    last_ = text;
    synced_ = true;
    return true;
  }

 private:
  std::string last_;
  bool synced_ = false;
};

// The form as a Qt top-level window. Controls on the form become real
// widgets; picture boxes inside a picture box are painted by it. The layout
// is fixed: a larger window shows more of the form's background.
//
// Handlers change only the controls. The window runs each event's handler to
// its end, then syncs its widgets from the controls, so the data flows one
// way and the screen changes once per event.
class FormWindow final : public QWidget {
 public:
  explicit FormWindow(Form& form);

  // Runs a handler as an event of this window, then syncs.
  void Dispatch(const std::function<void()>& handler);
  // Brings the caption, the widgets, the field and the timers up to date with
  // the controls. Also called before a message box opens, so that the screen
  // shows the moment it opens at.
  void Sync();

  // The first control in tab order that can take the focus takes it.
  void FocusFirst();

  // For the factory that QtFrontEnd installs.
  static QAccessibleInterface* CreateAccessible(const QString& className, QObject* object);

 private:
  struct Binding {
    const Control* control;
    QWidget* widget;
    std::function<void()> sync;
  };
  void Bind(Control& control);
  void OrderTabs();
  void TieCaptions();

  Form& form_;
  TextSync title_;
  TimerDriver timers_;
  std::vector<Binding> bindings_;
};

}  // namespace platform::qt
