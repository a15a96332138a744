// Saves a picture of a game in progress, for the README:
// QT_QPA_PLATFORM=offscreen take_screenshot OUTPUT.png
#include <QApplication>
#include <cstdio>

#include "app/Form1.h"
#include "platform/qt/QtFrontEnd.h"
#include "scene/Form1Description.h"
#include "tools/ScreenshotScene.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: take_screenshot OUTPUT.png\n");
    return 2;
  }
  platform::qt::QtFrontEnd::PrepareApplication();
  QApplication application(argc, argv);
  platform::qt::QtFrontEnd front(scene::kProjectTitle);
  Form1 form;
  front.AnswerMessageBoxes([](const std::string&, const std::string&) {});
  front.Show(form);
  PlayScreenshotScene(form, front.Keys(), [&](const std::function<void()>& handler) { front.Dispatch(handler); });
  return front.Window()->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
