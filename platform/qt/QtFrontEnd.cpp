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

// Records the keys that reach the game window in the key-state table and lets
// every event go on as usual. Keys count only while the game window has the
// keyboard: when it loses it, to a message box or another program, every key
// is released, so none sticks down.
class KeyFilter final : public QObject {
 public:
  KeyFilter(KeyState& keys, const QWidget& window) : keys_(keys), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* target = qobject_cast<QWidget*>(watched);
        const int vk = VirtualKey(key->key());
        if (vk < 0 || key->isAutoRepeat() || target == nullptr || target->window() != &window_) break;
        if (event->type() == QEvent::KeyPress)
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
  const QWidget& window_;
};

}  // namespace

void QtFrontEnd::PrepareApplication() {
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
}

QtFrontEnd::QtFrontEnd(std::string appTitle) : Runtime(std::move(appTitle)) {
  // One style and one font on every machine, so the window looks the same
  // everywhere; 11 pixels is the size of the old default 8-point font.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QFont font("Liberation Sans");
  font.setPixelSize(11);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
  static const bool accessibleField = (QAccessible::installFactory(&FieldAccessible::Create), true);
  (void)accessibleField;
}

QtFrontEnd::~QtFrontEnd() {
  if (keyFilter_) qApp->removeEventFilter(keyFilter_.get());
}

void QtFrontEnd::Show(Form& form) {
  window_ = std::make_unique<FormWindow>(form);
  keyFilter_ = std::make_unique<KeyFilter>(Keys(), *window_);
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

  if (answer_) {
    QTimer::singleShot(0, &box, [this, &box] {
      answer_(box.windowTitle().toStdString(), box.text().toStdString());
      box.accept();
    });
  }
  box.exec();
  if (window_ && window_->isVisible()) window_->activateWindow();
}

}  // namespace platform::qt
