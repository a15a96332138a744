#pragma once

#include <QAccessibleInterface>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/Form.h"
#include "platform/ScreenPass.h"
#include "platform/qt/PictureBoxWidget.h"

namespace platform::qt {

// The form as a Qt top-level window. Controls on the form become real
// widgets; picture boxes inside a picture box are painted by it. The layout
// is fixed: a larger window shows more of the form's background.
class FormWindow final : public QWidget, private Screen {
 public:
  explicit FormWindow(Form& form);

  ScreenPass& Pass() { return pass_; }

  // For the factory that QtFrontEnd installs.
  static QAccessibleInterface* CreateAccessible(const QString& className, QObject* object);

 private:
  void SetTitle(const std::string& caption) override { setWindowTitle(QString::fromStdString(caption)); }
  void Show(const Control& control, const ControlLook& look) override;
  void SetFocus(const Control* control, bool selectText) override;
  void Repaint(const FieldRaster& field, const std::vector<PixelRect>& changed) override {
    for (const PixelRect& rect : changed) WidgetOf(field.Field())->update(ToQRect(rect));
  }
  void PlaceSprite(const FieldRaster& field, std::size_t sprite, const PixelRect& where, bool cameOrWent) override;
  void WakeTimerIn(std::size_t timer, std::optional<std::chrono::milliseconds> delay) override;
  void Announce(const std::string& message) override;

  QWidget* Bind(Control& control);
  QWidget* WidgetOf(const Control& control) const { return widgets_.at(&control); }

  ScreenPass pass_;
  std::unordered_map<const Control*, QWidget*> widgets_;
  std::vector<std::unique_ptr<QTimer>> timers_;
  // Before Qt 6.8: what is said, as a notification shown. A screen reader
  // reads its name after the event, so two pieces of news at one moment, a
  // score as the count begins, take two widgets.
  std::array<QWidget*, 2> news_{};
  std::size_t nextNews_ = 0;
};

}  // namespace platform::qt
