#pragma once

#include <QObject>
#include <QSet>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/Form.h"
#include "platform/Runtime.h"

namespace platform::qt {

class FormWindow;

// The real window: a Qt top-level window that mirrors the form's controls,
// raises their events, and paces their timers.
class QtFrontEnd final : public Runtime {
 public:
  // Call before the QApplication is made: whole-number display scales keep
  // the pixels crisp.
  static void PrepareApplication();

  explicit QtFrontEnd(std::string appTitle);
  ~QtFrontEnd() override;

  // Builds the window, raises the load event, then shows the window.
  void Show(Form& form);
  // Show, then run the event loop until the window closes.
  int Run(Form& form);

  QWidget* Window() const;
  void ShowMessage(const std::string& prompt) override;

 private:
  std::unique_ptr<FormWindow> window_;
  std::unique_ptr<QObject> keyFilter_;
  QSet<int> answerKeysDown_;  // Enter, Space, Escape: which are down now
};

}  // namespace platform::qt
