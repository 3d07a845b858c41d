// Renders the program's SVG icon as square PNG pictures, one per size:
//   quorvane_render_icon <icon.svg> <output folder> <size>...
// writes <output folder>/<size>x<size>/quorvane.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  // The icon's digits are text: the renderer needs the font database.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <icon.svg> <output folder> <size>...\n", argv[0]);
    return 2;
  }
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "%s: not a usable SVG picture\n", argv[1]);
    return 1;
  }
  const QDir out(QString::fromLocal8Bit(argv[2]));
  for (int i = 3; i < argc; ++i) {
    const int size = QString::fromLatin1(argv[i]).toInt();
    if (size < 1 || size > 1024) {
      std::fprintf(stderr, "%s: not a size\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    svg.render(&p, QRectF(0, 0, size, size));
    p.end();
    const QString folder = QStringLiteral("%1x%1").arg(size);
    const QString file = out.filePath(folder + QStringLiteral("/quorvane.png"));
    if (!out.mkpath(folder) || !image.save(file, "PNG")) {
      std::fprintf(stderr, "%s: cannot be written\n", file.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
