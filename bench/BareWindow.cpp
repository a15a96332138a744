// The baseline for the launch, memory and CPU figures: a bare Qt Widgets
// program of the game's shape. A box first, then a 465 x 344 window with
// twenty plain children, two of them moved by a 64 Hz timer.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <vector>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMessageBox::information(nullptr, "bare", "A box before the window.");
  QWidget window;
  window.resize(465, 344);
  std::vector<QLabel*> children;
  for (int i = 0; i < 20; ++i) {
    auto* label = new QLabel(QString("child %1").arg(i), &window);
    label->setGeometry((i % 5) * 90, (i / 5) * 80, 80, 17);
    children.push_back(label);
  }
  int step = 0;
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    ++step;
    children[0]->move(step % 400, 200);
    children[1]->move(200, step % 300);
  });
  timer.start(16);
  window.show();
  return QApplication::exec();
}
