// Draws SVG pictures as PNG images at the sizes the program shows them, when kelt is built: read
// at start, a plain image costs a fraction of parsing and drawing its SVG.
// Usage: kelt_iconrender OUTDIR SIZE[,SIZE...] PICTURE.svg...  writes OUTDIR/PICTURE-SIZE.png.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // where Qt's SVG image reader is found
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 4) {
    std::fprintf(stderr, "usage: kelt_iconrender OUTDIR SIZE[,SIZE...] PICTURE.svg...\n");
    return 2;
  }
  const QDir out(args.at(1));
  if (!out.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot make %s\n", qPrintable(args.at(1)));
    return 1;
  }
  QList<int> sizes;
  for (const QString& size : args.at(2).split(QLatin1Char(','))) {
    bool ok = false;
    sizes.append(size.toInt(&ok));
    if (!ok || sizes.last() <= 0) {
      std::fprintf(stderr, "not a size: %s\n", qPrintable(size));
      return 2;
    }
  }
  for (const QString& svg : args.mid(3)) {
    for (const int size : sizes) {
      QImageReader reader(svg, "svg");
      reader.setScaledSize(QSize(size, size));
      const QImage image = reader.read();
      const QString png =
          out.filePath(QFileInfo(svg).completeBaseName() + QStringLiteral("-%1.png").arg(size));
      // A picture missing here would leave a blank button, so the build stops instead.
      if (image.isNull()) {
        std::fprintf(stderr, "cannot draw %s: %s\n", qPrintable(svg),
                     qPrintable(reader.errorString()));
        return 1;
      }
      if (!image.save(png, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(png));
        return 1;
      }
    }
  }
  return 0;
}
