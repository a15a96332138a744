#include "platform/qt/QtFrontEnd.h"

#include <QAbstractNativeEventFilter>
#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QPushButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTimer>
#include <string_view>
#include <xcb/xcb.h>

#include "platform/Units.h"
#include "platform/qt/FieldAccessible.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/TextBoxAccessible.h"

namespace platform::qt {
namespace {

// The keys that the game polls or that answer a box, as virtual keys.
const QHash<int, int> kVirtualKeys{
    {Qt::Key_Return, vbKeyReturn}, {Qt::Key_Enter, vbKeyReturn}, {Qt::Key_Left, vbKeyLeft}, {Qt::Key_Up, vbKeyUp},
    {Qt::Key_Right, vbKeyRight}, {Qt::Key_Down, vbKeyDown}, {Qt::Key_Space, Keyboard::kSpace},
    {Qt::Key_Escape, Keyboard::kEscape}, {Qt::Key_Tab, Keyboard::kTab}, {Qt::Key_Backtab, Keyboard::kTab}};

}  // namespace

// Reports to the forms layer the keys that reach the game window or its
// open box, and the window's loss of the keyboard. A key that the forms layer
// stops goes no further; Qt's box closes itself on the keys it is passed.
class KeyFilter final : public QObject, public QAbstractNativeEventFilter {
 public:
  explicit KeyFilter(const QWidget& window) : window_(window) {}
  const QWidget* box = nullptr;

  // Qt on X waits 100 ms before it deactivates a window that lost the
  // keyboard, and says nothing if the keyboard is back by then: a key let go
  // elsewhere meanwhile would stay down. X tells at once.
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* out = static_cast<const xcb_focus_out_event_t*>(message);
    if ((out->response_type & 0x7f) == XCB_FOCUS_OUT && out->event == window_.winId() &&
        out->detail != XCB_NOTIFY_DETAIL_INFERIOR && out->detail != XCB_NOTIFY_DETAIL_POINTER)
      Runtime::Current().KeyboardLost();
    return false;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowDeactivate && watched == &window_) Runtime::Current().KeyboardLost();
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    auto* target = qobject_cast<QWidget*>(watched);
    const int vk = kVirtualKeys.value(key->key(), -1);
    if (vk < 0 || target == nullptr || (target->window() != &window_ && target->window() != box)) return false;
    return Runtime::Current().Key(vk, event->type() == QEvent::KeyPress, key->isAutoRepeat(),
                                  key->key() == Qt::Key_Backtab, key->timestamp()) == KeyOutcome::Stop;
  }

 private:
  const QWidget& window_;
};

namespace {

// Qt's line edit drops its selection as the keyboard leaves it, and selects
// its text when it takes the keyboard in a window not yet active; a screen
// reader hears either on the box it still counts as focused ("Text
// unselected."). A text box without the keyboard tells no selection change.
QAccessible::UpdateHandler passOn = nullptr;
void QuietSelections(QAccessibleEvent* event) {
  if (event->type() == QAccessible::TextSelectionChanged)
    if (auto* edit = qobject_cast<QLineEdit*>(event->object()); edit != nullptr && !edit->hasFocus()) return;
  if (passOn != nullptr) {
    passOn(event);
    return;
  }
  // To Qt's own bridge, which hears events only while no handler is installed.
  QAccessible::installUpdateHandler(nullptr);
  QAccessible::updateAccessibility(event);
  QAccessible::installUpdateHandler(&QuietSelections);
}

}  // namespace

void QtFrontEnd::PrepareApplication() {
  // Qt scales by itself; its Round policy is the forms layer's WholeScale.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

bool QtFrontEnd::CanReachDisplay(int argc, char** argv) {
  for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
    if (!qEnvironmentVariableIsEmpty(variable)) return true;
  // Qt takes its options with one dash or two, each followed by its value.
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "-platform" || option == "--platform" || option == "-display" || option == "--display") return true;
  }
  return false;
}

QtFrontEnd::QtFrontEnd(std::string appTitle) : Runtime(std::move(appTitle)) {
  // One style on every machine, so the window looks the same everywhere.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  static const bool accessible = (QAccessible::installFactory(&FieldAccessible::Create),
                                  QAccessible::installFactory(&TextBoxAccessible::Create),
                                  QAccessible::installFactory(&FormWindow::CreateAccessible),
                                  passOn = QAccessible::installUpdateHandler(&QuietSelections), true);
  (void)accessible;
}

QtFrontEnd::~QtFrontEnd() {
  if (keyFilter_) {
    qApp->removeEventFilter(keyFilter_.get());
    qApp->removeNativeEventFilter(keyFilter_.get());
  }
}

void QtFrontEnd::Show(Form& form) {
  // One font on every machine: Liberation Sans stands in for the form's, at
  // its size, in the window and its boxes alike.
  QFont font("Liberation Sans");
  font.setPixelSize(LookOf(form).fontPixels);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
  window_ = std::make_unique<FormWindow>(form);
  keyFilter_ = std::make_unique<KeyFilter>(*window_);
  qApp->installEventFilter(keyFilter_.get());
  qApp->installNativeEventFilter(keyFilter_.get());
  Open(form, window_->Pass(), [this] {
    window_->show();
    window_->activateWindow();
  });
}

int QtFrontEnd::Run(Form& form) {
  Show(form);
  QApplication::setQuitOnLastWindowClosed(true);
  return QApplication::exec();
}

QWidget* QtFrontEnd::Window() const { return window_.get(); }

void QtFrontEnd::Dispatch(const std::function<void()>& handler) { window_->Pass().Dispatch(handler); }

void QtFrontEnd::ShowMessage(const std::string& prompt, bool overForm) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(AppTitle()), QString::fromStdString(prompt),
                  QMessageBox::Ok, overForm ? window_.get() : nullptr);
  box.setEscapeButton(QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setIcon(QIcon());  // a plain OK button, as everywhere else
  if (keyFilter_) keyFilter_->box = &box;
  if (TestAnswer()) {
    QTimer::singleShot(0, &box, [this, &box] {
      TestAnswer()(box.windowTitle().toStdString(), box.text().toStdString());
      box.accept();
    });
  }
  box.exec();
  if (keyFilter_) keyFilter_->box = nullptr;
  if (window_ && window_->isVisible()) window_->activateWindow();
}

}  // namespace platform::qt
