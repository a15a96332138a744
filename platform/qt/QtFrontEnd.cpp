#include "platform/qt/QtFrontEnd.h"

#include <QAccessible>
#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPushButton>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTimer>
#include <string_view>

#include "platform/Units.h"
#include "platform/qt/FieldAccessible.h"
#include "platform/qt/FormWindow.h"

namespace platform::qt {
namespace {

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
    default:
      return -1;
  }
}

// Enter, Space and Escape answer a message box.
bool AnswersABox(int qtKey) {
  return qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter || qtKey == Qt::Key_Space || qtKey == Qt::Key_Escape;
}

// Records the keys that reach the game window in the key-state table and lets
// every event go on as usual. Keys count only while the game window has the
// keyboard: when it loses it, to a message box or another program, every key
// is released, so none sticks down.
// It also notes which keys that answer a box are down in any of the program's
// windows, for the box that opens next. (A key let go in another program is
// never heard of; a box then needs one press more of it.)
class KeyFilter final : public QObject {
 public:
  KeyFilter(KeyState& keys, AnswerKeysDown& answerKeysDown, const QWidget& window)
      : keys_(keys), answerKeysDown_(answerKeysDown), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool press = event->type() == QEvent::KeyPress;
        if (!key->isAutoRepeat() && AnswersABox(key->key())) {
          if (press)
            answerKeysDown_.Pressed(key->key());
          else
            answerKeysDown_.Released(key->key());
        }
        auto* target = qobject_cast<QWidget*>(watched);
        const int vk = VirtualKey(key->key());
        if (vk < 0 || key->isAutoRepeat() || target == nullptr || target->window() != &window_) break;
        if (press)
          keys_.Press(vk);
        else
          keys_.Release(vk);
        break;
      }
      case QEvent::WindowDeactivate:
        if (watched == &window_) keys_.ReleaseAll();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  KeyState& keys_;
  AnswerKeysDown& answerKeysDown_;
  const QWidget& window_;
};

// Lets a box take Enter, Space and Escape by the fresh-key rule.
class FreshKeysOnly final : public QObject {
 public:
  FreshKeysOnly(const QWidget& box, FreshKeyRule rule) : box_(box), rule_(std::move(rule)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* target = qobject_cast<QWidget*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (target == nullptr || target->window() != &box_ || !AnswersABox(key->key())) return false;
    return !rule_.Admit(key->key(), event->type() == QEvent::KeyPress, key->isAutoRepeat(), key->timestamp());
  }

 private:
  const QWidget& box_;
  FreshKeyRule rule_;
};

}  // namespace

void QtFrontEnd::PrepareApplication() {
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
  // One style and one font on every machine, so the window looks the same
  // everywhere; 11 pixels is the size of the old default 8-point font.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QFont font("Liberation Sans");
  font.setPixelSize(11);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
  static const bool accessible = (QAccessible::installFactory(&FieldAccessible::Create),
                                  QAccessible::installFactory(&FormWindow::CreateAccessible), true);
  (void)accessible;
}

QtFrontEnd::~QtFrontEnd() {
  if (keyFilter_) qApp->removeEventFilter(keyFilter_.get());
}

void QtFrontEnd::Show(Form& form) {
  window_ = std::make_unique<FormWindow>(form);
  keyFilter_ = std::make_unique<KeyFilter>(Keys(), answerKeysDown_, *window_);
  qApp->installEventFilter(keyFilter_.get());
  if (form.Load) window_->Dispatch(form.Load);
  window_->FocusFirst();
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
  if (window_) window_->Sync();
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(AppTitle()), QString::fromStdString(prompt),
                  QMessageBox::Ok, window_ && window_->isVisible() ? window_.get() : nullptr);
  box.setEscapeButton(QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setIcon(QIcon());  // a plain OK button, as everywhere else
  FreshKeysOnly freshKeys(box, answerKeysDown_.RuleForNewBox());
  qApp->installEventFilter(&freshKeys);
  if (answer_) {
    QTimer::singleShot(0, &box, [this, &box] {
      answer_(box.windowTitle().toStdString(), box.text().toStdString());
      box.accept();
    });
  }
  box.exec();
  qApp->removeEventFilter(&freshKeys);
  if (window_ && window_->isVisible()) window_->activateWindow();
}

}  // namespace platform::qt
