#include "platform/qt/QtFrontEnd.h"

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPushButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTimer>
#include <string_view>

#include "platform/Units.h"
#include "platform/qt/FieldAccessible.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/TextBoxAccessible.h"

namespace platform::qt {
namespace {

// The keys that the game polls or that answer a box, as virtual keys; -1
// for the rest.
int VirtualKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vbKeyReturn;
    case Qt::Key_Left:
      return vbKeyLeft;
    case Qt::Key_Up:
      return vbKeyUp;
    case Qt::Key_Right:
      return vbKeyRight;
    case Qt::Key_Down:
      return vbKeyDown;
    case Qt::Key_Space:
      return Keyboard::kSpace;
    case Qt::Key_Escape:
      return Keyboard::kEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return Keyboard::kTab;
    default:
      return -1;
  }
}

// Reports to the keyboard the keys that reach the game window, and its loss
// of the keyboard, to a message box or another program. A key that the
// control with the keyboard uses goes no further; the rest go on as usual.
class KeyFilter final : public QObject {
 public:
  KeyFilter(Keyboard& keyboard, FormWindow& window) : keyboard_(keyboard), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* target = qobject_cast<QWidget*>(watched);
        const int vk = VirtualKey(key->key());
        if (vk < 0 || target == nullptr || target->window() != &window_) break;
        const bool down = event->type() == QEvent::KeyPress;
        keyboard_.Key(vk, down, key->isAutoRepeat());
        return window_.FocusKey(vk, down, key->isAutoRepeat(), key->key() == Qt::Key_Backtab);
      }
      case QEvent::WindowDeactivate:
        if (watched == &window_) keyboard_.Lost();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  Keyboard& keyboard_;
  FormWindow& window_;
};

// Lets a box take Enter, Space and Escape only as the keyboard admits them.
class FreshKeysOnly final : public QObject {
 public:
  FreshKeysOnly(const QWidget& box, Keyboard& keyboard) : box_(box), keyboard_(keyboard) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* target = qobject_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    const int vk = VirtualKey(key->key());
    if (target == nullptr || target->window() != &box_ || vk < 0) return false;
    return !keyboard_.BoxAdmits(vk, event->type() == QEvent::KeyPress, key->isAutoRepeat(), key->timestamp());
  }

 private:
  const QWidget& box_;
  Keyboard& keyboard_;
};

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
  if (keyFilter_) qApp->removeEventFilter(keyFilter_.get());
}

void QtFrontEnd::Show(Form& form) {
  // One font on every machine: Liberation Sans stands in for the form's, at
  // its size, in the window and its boxes alike.
  QFont font("Liberation Sans");
  font.setPixelSize(form.Font.pixels);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
  window_ = std::make_unique<FormWindow>(form);
  ShowThrough(&window_->Pass());
  keyFilter_ = std::make_unique<KeyFilter>(Keyboard(), *window_);
  qApp->installEventFilter(keyFilter_.get());
  if (form.Load) window_->Dispatch(form.Load);
  window_->FormShown();
  window_->show();
  window_->activateWindow();
}

int QtFrontEnd::Run(Form& form) {
  Show(form);
  QApplication::setQuitOnLastWindowClosed(true);
  return QApplication::exec();
}

QWidget* QtFrontEnd::Window() const { return window_.get(); }

void QtFrontEnd::Dispatch(const std::function<void()>& handler) { window_->Dispatch(handler); }

void QtFrontEnd::ShowMessage(const std::string& prompt) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(AppTitle()), QString::fromStdString(prompt),
                  QMessageBox::Ok, window_ && window_->isVisible() ? window_.get() : nullptr);
  box.setEscapeButton(QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setIcon(QIcon());  // a plain OK button, as everywhere else
  FreshKeysOnly freshKeys(box, Keyboard());
  qApp->installEventFilter(&freshKeys);
  if (TestAnswer()) {
    QTimer::singleShot(0, &box, [this, &box] {
      TestAnswer()(box.windowTitle().toStdString(), box.text().toStdString());
      box.accept();
    });
  }
  box.exec();
  qApp->removeEventFilter(&freshKeys);
  if (window_ && window_->isVisible()) window_->activateWindow();
}

}  // namespace platform::qt
