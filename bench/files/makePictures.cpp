// canny_bench_pictures DIR PICTURE...: the file benchmark's inputs, made from the sample
// pictures: DIR/large.jpg (4000 x 3000, from the first colour picture) and DIR/batch/NN.jpg,
// 48 pictures of 1280 x 960, each a different crop of one of the pictures (quality 90).
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QStringList>
#include <cstdio>

namespace {

bool save(const QImage &picture, const QString &path) {
  if (picture.save(path, "jpeg", 90)) return true;
  std::fprintf(stderr, "canny_bench_pictures: cannot write %s\n", qPrintable(path));
  return false;
}

// A crop of three quarters of the picture, moved along with `n`, scaled to `size`.
QImage variant(const QImage &picture, int n, QSize size) {
  const QSize crop = picture.size() * 3 / 4;
  const int x = (n * 37) % (picture.width() - crop.width() + 1);
  const int y = (n * 23) % (picture.height() - crop.height() + 1);
  return picture.copy(QRect(QPoint(x, y), crop))
      .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList arguments = app.arguments();
  if (arguments.size() < 3) {
    std::fprintf(stderr, "usage: canny_bench_pictures DIR PICTURE...\n");
    return 2;
  }
  QList<QImage> pictures;
  for (const QString &path : arguments.mid(2)) {
    QImage picture(path);
    if (picture.isNull()) {
      std::fprintf(stderr, "canny_bench_pictures: cannot read %s\n", qPrintable(path));
      return 1;
    }
    pictures << picture.convertToFormat(picture.isGrayscale() ? QImage::Format_Grayscale8
                                                              : QImage::Format_RGB32);
  }
  const QDir dir(arguments[1]);
  if (!dir.mkpath(QStringLiteral("batch"))) return 1;
  const QImage *colour = &pictures.first();
  for (const QImage &picture : pictures)
    if (!picture.isGrayscale()) {
      colour = &picture;
      break;
    }
  if (!save(variant(*colour, 0, {4000, 3000}), dir.filePath(QStringLiteral("large.jpg")))) return 1;
  for (int n = 0; n < 48; ++n)
    if (!save(variant(pictures[n % pictures.size()], n, {1280, 960}),
              dir.filePath(QStringLiteral("batch/%1.jpg").arg(n, 2, 10, QLatin1Char('0')))))
      return 1;
  return 0;
}
