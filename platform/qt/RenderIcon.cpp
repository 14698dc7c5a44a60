// qov-render-icon SVG SIZE PNG: draws the icon SVG as a SIZE × SIZE PNG, for
// the icon theme's fixed sizes. Runs at build time and needs no display.

#include <QImage>
#include <QImageReader>
#include <QSize>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: qov-render-icon SVG SIZE PNG\n");
    return 2;
  }
  const QString svg = QString::fromLocal8Bit(argv[1]);
  const int size = std::atoi(argv[2]);
  const QString png = QString::fromLocal8Bit(argv[3]);
  if (size <= 0 || size > 1024) {
    std::fprintf(stderr, "qov-render-icon: bad size '%s'\n", argv[2]);
    return 2;
  }
  QImageReader reader(svg, "svg");
  reader.setScaledSize(QSize(size, size));
  const QImage image = reader.read();
  if (image.isNull()) {
    std::fprintf(stderr, "qov-render-icon: %s: %s\n", argv[1],
                 reader.errorString().toLocal8Bit().constData());
    return 1;
  }
  if (!image.save(png, "PNG")) {
    std::fprintf(stderr, "qov-render-icon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
