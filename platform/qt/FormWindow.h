#pragma once

#include <QAccessibleInterface>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/Form.h"
#include "platform/qt/TimerDriver.h"

namespace platform::qt {

// The form as a Qt top-level window. Controls on the form become real
// widgets; picture boxes inside a picture box are painted by it. The layout
// is fixed: a larger window shows more of the form's background.
class FormWindow final : public QWidget {
 public:
  explicit FormWindow(Form& form);

  // The first control in tab order that can take the focus takes it.
  void FocusFirst();

  // For the factory that QtFrontEnd installs.
  static QAccessibleInterface* CreateAccessible(const QString& className, QObject* object);

 private:
  void Bind(Control& control);
  void OrderTabs();
  void TieCaptions();

  Form& form_;
  TimerDriver timers_;
  std::vector<std::pair<const Control*, QWidget*>> widgets_;
};

}  // namespace platform::qt
