#include "imaging/PixelBudget.h"

#include <QImageReader>
#include <limits>

namespace {
constexpr qint64 kMegabyte = 1024 * 1024;
constexpr qint64 kMetadataBytes = 16 * kMegabyte;
}  // namespace

void applyPixelBudget(qint64 maxPixels) {
  const qint64 megabytes = maxPixels / kMegabyte * kMostBytesPerPixel + kMostBytesPerPixel;
  QImageReader::setAllocationLimit(int(qMin<qint64>(megabytes, std::numeric_limits<int>::max())));
}

bool withinPixelBudget(QSize size, qint64 maxPixels) {
  return size.width() >= 0 && size.height() >= 0 &&
         qint64(size.width()) * qint64(size.height()) <= maxPixels;
}

qint64 mostStreamBytes(qint64 maxPixels) { return maxPixels * kMostBytesPerPixel + kMetadataBytes; }
