// Draws an SVG icon as PNG files of the given sizes at build time, for
// desktops and menus that look for pixel sizes. Each size is drawn from the
// picture rather than scaled from another, so that small icons stay sharp.
// usage: inkmark-render-icon SOURCE.svg FOLDER NAME SIZE... writes
// FOLDER/<SIZE>x<SIZE>/NAME for every SIZE.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

// Qt's notes about the environment it draws in do not belong in a build log.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "inkmark-render-icon: %s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: inkmark-render-icon SOURCE.svg FOLDER NAME SIZE...\n");
    return 2;
  }
  qInstallMessageHandler(QuietQtMessages);
  // No display is needed to draw into an image.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QSvgRenderer picture(QString::fromLocal8Bit(argv[1]));
  if (!picture.isValid()) {
    std::fprintf(stderr, "inkmark-render-icon: %s is not a valid SVG picture\n", argv[1]);
    return 1;
  }
  for (int i = 4; i < argc; ++i) {
    bool ok = false;
    const int size = QByteArray(argv[i]).toInt(&ok);
    if (!ok || size < 1 || size > 1024) {
      std::fprintf(stderr, "inkmark-render-icon: bad size %s\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    picture.render(&painter);
    painter.end();
    const QString folder = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1x%1").arg(size);
    const QString path = folder + '/' + QString::fromLocal8Bit(argv[3]);
    if (!QDir().mkpath(folder) || !image.save(path, "PNG")) {
      std::fprintf(stderr, "inkmark-render-icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
