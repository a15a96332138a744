#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "app/Form1.h"
#include "platform/qt/IconImages.h"
#include "platform/qt/QtFrontEnd.h"
#include "scene/Assets.h"
#include "scene/Form1Description.h"

int main(int argc, char** argv) {
  if (!platform::qt::QtFrontEnd::CanReachDisplay(argc, argv)) {
    std::fputs("vantor needs a desktop session (X11 or Wayland); to try it without one, on a virtual X server "
               "(package xvfb): xvfb-run -a make run, or xvfb-run -a vantor once installed\n",
               stderr);
    return EXIT_FAILURE;
  }
  platform::qt::QtFrontEnd::PrepareApplication();
  QApplication application(argc, argv);
  QGuiApplication::setDesktopFileName("io.github.vantor.vantor");
  // Every size, so a 16 px title bar shows the crisp 16 px image rather than
  // the 32 px one shrunk.
  QIcon icon;
  for (const QImage& image : platform::qt::IconImages(scene::IconFile())) icon.addPixmap(QPixmap::fromImage(image));
  if (!icon.isNull()) QApplication::setWindowIcon(icon);
  platform::qt::QtFrontEnd frontEnd(scene::kProjectTitle);
  Form1 form;
  return frontEnd.Run(form);
}
