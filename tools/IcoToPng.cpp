// Writes each size of the program icon as a PNG, for the desktop's icon
// theme: ico_to_png ICON_FILE OUTPUT_DIR writes OUTPUT_DIR/vantor-SIZE.png.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <cstdio>
#include <set>

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: ico_to_png ICON_FILE OUTPUT_DIR\n");
    return 2;
  }
  QImageReader reader(QString::fromLocal8Bit(argv[1]), "ico");
  QDir().mkpath(QString::fromLocal8Bit(argv[2]));
  std::set<int> written;
  // The richest image of a size comes first in the file, so the first one wins.
  for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
    const QImage image = reader.read();
    if (image.isNull() || image.width() != image.height() || !written.insert(image.width()).second) continue;
    const QString path = QString("%1/vantor-%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(image.width());
    if (!image.save(path, "PNG")) return 1;
  }
  if (written.empty()) {
    std::fprintf(stderr, "ico_to_png: no image in %s\n", argv[1]);
    return 1;
  }
  return 0;
}
