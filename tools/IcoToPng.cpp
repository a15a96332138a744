// Writes the program icon at every size of the desktop's icon theme, at the
// page's sizes (--page), or at the sizes named, as PNGs:
// ico_to_png ICON_FILE OUTPUT_DIR [--page | SIZE...] writes OUTPUT_DIR/vantor-SIZE.png.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "platform/IconSizes.h"
#include "platform/qt/IconImages.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: ico_to_png ICON_FILE OUTPUT_DIR [--page | SIZE...]\n");
    return 2;
  }
  const bool page = argc == 4 && std::strcmp(argv[3], "--page") == 0;
  std::vector<int> sizes(std::begin(platform::kDesktopIconSizes), std::end(platform::kDesktopIconSizes));
  if (page) sizes.assign(std::begin(platform::kPageIconSizes), std::end(platform::kPageIconSizes));
  if (argc > 3 && !page) sizes.clear();
  for (int i = 3; i < argc && !page; ++i) sizes.push_back(std::atoi(argv[i]));
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "ico_to_png: cannot read %s\n", argv[1]);
    return 1;
  }
  const QByteArray bytes = file.readAll();
  const auto images = platform::qt::IconImages(
      {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())}, sizes);
  if (images.size() != sizes.size()) {
    std::fprintf(stderr, "ico_to_png: %s lacks its 16 or 32 px image\n", argv[1]);
    return 1;
  }
  const QString dir = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(dir);
  for (const QImage& image : images)
    if (!image.save(QString("%1/vantor-%2.png").arg(dir).arg(image.width()), "PNG")) return 1;
  return 0;
}
