#include <QApplication>
#include <QIcon>
#include <QPixmap>

#include "app/Form1.h"
#include "platform/qt/QtFrontEnd.h"
#include "scene/Assets.h"
#include "scene/Form1Description.h"

int main(int argc, char** argv) {
  platform::qt::QtFrontEnd::PrepareApplication();
  QApplication application(argc, argv);
  QGuiApplication::setDesktopFileName("io.github.vantor.vantor");
  const auto icon = scene::IconFile();
  QPixmap pixmap;
  if (pixmap.loadFromData(icon.data(), static_cast<uint>(icon.size()), "ICO"))
    QApplication::setWindowIcon(QIcon(pixmap));
  platform::qt::QtFrontEnd frontEnd(scene::kProjectTitle);
  Form1 form;
  return frontEnd.Run(form);
}
