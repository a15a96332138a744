// Saves a picture of a game in progress, for the README:
// QT_QPA_PLATFORM=offscreen take_screenshot OUTPUT.png
#include <QApplication>
#include <cstdio>

#include "app/Form1.h"
#include "platform/qt/QtFrontEnd.h"
#include "scene/Form1Description.h"

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
  front.Dispatch([&] { form.NewGame.Press(); });
  // Walk down and right, turn right, and fire: the ticks are raised by hand
  // so that the picture is the same every time.
  platform::KeyState& keys = front.Keys();
  const auto ticks = [&](int n) {
    for (int i = 0; i < n; ++i) front.Dispatch([&] { form.Timer1.RaiseTimer(); });
  };
  keys.Press(platform::vbKeyDown);
  ticks(60);
  keys.Release(platform::vbKeyDown);
  keys.Press(platform::vbKeyRight);
  ticks(40);
  keys.Release(platform::vbKeyRight);
  keys.Press(platform::vbKeyReturn);
  ticks(1);
  keys.Release(platform::vbKeyReturn);
  ticks(30);
  return front.Window()->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
