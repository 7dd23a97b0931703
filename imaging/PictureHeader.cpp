#include "imaging/PictureHeader.h"

#include <QtEndian>
#include <cstdlib>
#include <limits>

#include "imaging/ImagingText.h"

namespace {

using State = PictureHeader::State;

constexpr qint64 kMostSide = std::numeric_limits<int>::max();

quint32 big32(const QByteArray &b, qint64 at) {
  return qFromBigEndian<quint32>(b.constData() + at);
}
quint16 big16(const QByteArray &b, qint64 at) {
  return qFromBigEndian<quint16>(b.constData() + at);
}
quint32 little32(const QByteArray &b, qint64 at) {
  return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 little16(const QByteArray &b, qint64 at) {
  return qFromLittleEndian<quint16>(b.constData() + at);
}
quint8 byteAt(const QByteArray &b, qint64 at) { return quint8(b[qsizetype(at)]); }

PictureHeader broken(const QString &why) { return {State::Broken, {}, 0, -1, why}; }
PictureHeader needMore() { return {}; }

// Sizes are checked as 64-bit values, so that no side that overflows an int gets through.
PictureHeader sound(qint64 width, qint64 height, qint64 leastBytes = 0, qint64 mostBytes = -1) {
  if (width <= 0 || height <= 0 || width > kMostSide || height > kMostSide)
    return broken(ImagingText::tr("the header declares %1 x %2 pixels").arg(width).arg(height));
  return {State::Sound, QSize(int(width), int(height)), leastBytes, mostBytes, {}};
}

PictureHeader pngHeader(const QByteArray &b) {
  if (b.size() < 33) return needMore();
  if (big32(b, 8) != 13 || b.mid(12, 4) != "IHDR") return broken(ImagingText::tr("no IHDR chunk"));
  return sound(big32(b, 16), big32(b, 20));
}

PictureHeader gifHeader(const QByteArray &b) {
  if (b.size() < 10) return needMore();
  return sound(little16(b, 6), little16(b, 8));
}

PictureHeader bmpHeader(const QByteArray &b) {
  if (b.size() < 18) return needMore();
  const qint64 infoSize = little32(b, 14);
  if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 64 &&
      infoSize != 108 && infoSize != 124)
    return broken(ImagingText::tr("an unknown BMP header size"));
  if (b.size() < 14 + infoSize) return needMore();
  const bool core = infoSize == 12;
  const qint64 width = core ? little16(b, 18) : qint32(little32(b, 18));
  const qint64 height = core ? little16(b, 20) : qint32(little32(b, 22));  // < 0: top-down
  const int bits = little16(b, core ? 24 : 28);
  const quint32 compression = core ? 0 : little32(b, 30);
  const qint64 colorsUsed = core ? 0 : little32(b, 46);
  const bool masks = infoSize == 40 && compression == 3;
  const bool rle = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
  const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!known || !(compression == 0 || rle || (compression == 3 && (bits == 16 || bits == 32))))
    return broken(ImagingText::tr("a BMP depth or compression that is not known"));
  const qint64 colors = bits > 8 ? 0 : colorsUsed ? colorsUsed : qint64(1) << bits;
  if (colors > 256) return broken(ImagingText::tr("more than 256 BMP palette colours"));
  const qint64 dataStart = little32(b, 10);
  if (dataStart < 14 + infoSize + (masks ? 12 : 0) + colors * (core ? 3 : 4))
    return broken(ImagingText::tr("BMP pixel data that overlaps its header"));
  const qint64 rows = std::abs(height);
  // Compressed data declares its size; rows of uncompressed data are padded to 4 bytes.
  const qint64 dataSize = rle ? little32(b, 34) : (width * bits + 31) / 32 * 4 * rows;
  // Nothing past the pixels but a colour profile, which a version 5 header places.
  const qint64 profileEnd = infoSize == 124 ? 14 + qint64(little32(b, 126)) + little32(b, 130) : 0;
  return sound(width, rows, dataStart + dataSize, qMax(dataStart + dataSize, profileEnd));
}

// Walks JPEG's segments from after its start marker to the frame header (SOF), whose size it
// returns, or with `toScan` on to the first scan (SOS), whose position goes to `*scan`.
PictureHeader walkJpeg(const QByteArray &b, bool toScan, qint64 *scan = nullptr) {
  bool frame = false;
  for (qint64 at = 2;;) {
    if (at + 2 > b.size()) return needMore();
    if (byteAt(b, at) != 0xff) return broken(ImagingText::tr("JPEG data between its segments"));
    const quint8 marker = byteAt(b, at + 1);
    if (marker == 0xff) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) {  // no length follows
      at += 2;
      continue;
    }
    if (marker == 0x00 || marker == 0xd8 || marker == 0xd9)
      return broken(ImagingText::tr("a JPEG marker out of place"));
    if (at + 4 > b.size()) return needMore();
    const qint64 length = big16(b, at + 2);
    if (length < 2) return broken(ImagingText::tr("a JPEG segment shorter than its length"));
    const bool sof =
        marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
    if (sof) {
      if (at + 9 > b.size()) return needMore();
      if (length < 8) return broken(ImagingText::tr("a JPEG frame header too short"));
      const PictureHeader header = sound(big16(b, at + 7), big16(b, at + 5));
      if (!toScan || header.state == State::Broken) return header;
      frame = true;
    }
    if (marker == 0xda) {
      if (!frame) return broken(ImagingText::tr("a JPEG scan before its frame header"));
      *scan = at;
      return {State::Sound, {}, 0, -1, {}};
    }
    at += 2 + length;
  }
}

PictureHeader webpHeader(const QByteArray &b) {
  if (b.size() < 30) return needMore();
  const qint64 riffEnd = 8 + qint64(little32(b, 4));
  const QByteArray chunk = b.mid(12, 4);
  PictureHeader header;
  if (chunk == "VP8 ") {
    if (b.mid(23, 3) != "\x9d\x01\x2a") return broken(ImagingText::tr("no VP8 start code"));
    header = sound(little16(b, 26) & 0x3fff, little16(b, 28) & 0x3fff);
  } else if (chunk == "VP8L") {
    if (byteAt(b, 20) != 0x2f) return broken(ImagingText::tr("no VP8L signature"));
    const quint32 bits = little32(b, 21);
    header = sound((bits & 0x3fff) + 1, ((bits >> 14) & 0x3fff) + 1);
  } else if (chunk == "VP8X") {
    const auto side = [&b](qint64 at) { return (little32(b, at) & 0xffffff) + qint64(1); };
    header = sound(side(24), side(27));
  } else {
    return broken(ImagingText::tr("an unknown WebP chunk"));
  }
  header.leastBytes = header.mostBytes = riffEnd;
  return header;
}

// The size is in the first directory, wherever the header points; libtiff writes it last.
PictureHeader tiffHeader(const QByteArray &b) {
  if (b.size() < 8) return needMore();
  const bool little = b.startsWith("II");
  const auto u16 = [&](qint64 at) { return little ? little16(b, at) : big16(b, at); };
  const auto u32 = [&](qint64 at) { return little ? little32(b, at) : big32(b, at); };
  const qint64 directory = u32(4);
  if (directory < 8) return broken(ImagingText::tr("a TIFF directory inside its header"));
  if (directory + 2 > b.size()) return needMore();
  const qint64 entries = u16(directory);
  if (directory + 2 + entries * 12 > b.size()) return needMore();
  qint64 sides[2] = {0, 0};
  for (qint64 at = directory + 2; at < directory + 2 + entries * 12; at += 12) {
    const int tag = u16(at), type = u16(at + 2);
    if ((tag == 256 || tag == 257) && (type == 3 || type == 4))
      sides[tag - 256] = type == 3 ? u16(at + 8) : u32(at + 8);
  }
  return sound(sides[0], sides[1]);
}

QString truncated();

// Every directory entry's values and every strip or tile must lie within the file.
QString tiffFault(const QByteArray &b) {
  const bool little = b.startsWith("II");
  const auto u16 = [&](qint64 at) { return little ? little16(b, at) : big16(b, at); };
  const auto u32 = [&](qint64 at) { return little ? little32(b, at) : big32(b, at); };
  const qint64 directory = u32(4);
  if (directory + 2 > b.size()) return truncated();
  const qint64 entries = u16(directory);
  if (directory + 2 + entries * 12 + 4 > b.size()) return truncated();
  struct Values {
    qint64 at = 0, count = 0, width = 4;
  } parts[4];  // strip offsets, strip byte counts, tile offsets, tile byte counts
  for (qint64 at = directory + 2; at < directory + 2 + entries * 12; at += 12) {
    const int tag = u16(at), type = u16(at + 2);
    const qint64 count = u32(at + 4);
    static constexpr int kTypeSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
    const qint64 size = count * (type < 19 ? kTypeSizes[type] : 0);
    const qint64 values = size > 4 ? qint64(u32(at + 8)) : at + 8;
    if (values + size > b.size()) return truncated();
    const int part = tag == 273 ? 0 : tag == 279 ? 1 : tag == 324 ? 2 : tag == 325 ? 3 : -1;
    if (part >= 0 && (type == 3 || type == 4)) parts[part] = {values, count, type == 3 ? 2 : 4};
  }
  const auto value = [&](const Values &v, qint64 i) {
    return v.width == 2 ? qint64(u16(v.at + 2 * i)) : qint64(u32(v.at + 4 * i));
  };
  for (int part : {0, 2})
    for (qint64 i = 0; i < qMin(parts[part].count, parts[part + 1].count); ++i)
      if (value(parts[part], i) + value(parts[part + 1], i) > b.size()) return truncated();
  return {};
}

QString truncated() { return ImagingText::tr("the data is truncated"); }
QString damaged(const QString &what) {
  return ImagingText::tr("the data is damaged: %1").arg(what);
}

QString pngFault(const QByteArray &b) {
  for (qint64 at = 8;;) {
    if (at + 8 > b.size()) return truncated();
    const qint64 length = big32(b, at);
    const QByteArray type = b.mid(at + 4, 4);
    for (const char c : type)
      if (!QChar::isLetter(uchar(c))) return damaged(ImagingText::tr("a PNG chunk type not named"));
    if (length > 0x7fffffff) return damaged(ImagingText::tr("a PNG chunk longer than PNG allows"));
    at += 12 + length;
    if (at > b.size()) return truncated();
    if (type == "IEND") return {};
  }
}

// Entropy-coded data escapes every 0xff, so after the first scan 0xff 0xd9 is the end marker.
QString jpegFault(const QByteArray &b) {
  qint64 scan = 0;
  const PictureHeader walked = walkJpeg(b, true, &scan);
  if (walked.state == State::Broken) return damaged(walked.why);
  if (walked.state == State::NeedMore || b.indexOf("\xff\xd9", scan) < 0) return truncated();
  return {};
}

QString gifFault(const QByteArray &b) {
  if (b.size() < 13) return truncated();
  const auto colorTable = [&b](qint64 flagsAt) {
    const quint8 flags = byteAt(b, flagsAt);
    return flags & 0x80 ? 3 * (qint64(2) << (flags & 7)) : 0;
  };
  qint64 at = 13 + colorTable(10);
  const auto skipSubBlocks = [&b, &at] {
    while (at < b.size()) {
      const qint64 length = byteAt(b, at);
      at += 1 + length;
      if (length == 0) return true;
    }
    return false;
  };
  while (at < b.size()) {
    const quint8 introducer = byteAt(b, at);
    if (introducer == 0x3b) return {};
    if (introducer == 0x21) {
      at += 2;
    } else if (introducer == 0x2c) {
      if (at + 10 > b.size()) return truncated();
      at += 10 + colorTable(at + 9) + 1;  // the descriptor, its colours, the LZW code size
    } else {
      return damaged(ImagingText::tr("an unknown GIF block"));
    }
    if (!skipSubBlocks()) return truncated();
  }
  return truncated();
}

}  // namespace

PictureHeader readPictureHeader(const QByteArray &format, const QByteArray &first) {
  if (format == "png") return pngHeader(first);
  if (format == "gif") return gifHeader(first);
  if (format == "bmp") return bmpHeader(first);
  if (format == "jpeg") return walkJpeg(first, false);
  if (format == "webp") return webpHeader(first);
  if (format == "tiff") return tiffHeader(first);
  return broken(ImagingText::tr("not a picture in a format this program reads"));
}

QString pictureDataFault(const QByteArray &format, const QByteArray &bytes, bool *damaged) {
  const QString fault = format == "png"    ? pngFault(bytes)
                        : format == "jpeg" ? jpegFault(bytes)
                        : format == "gif"  ? gifFault(bytes)
                        : format == "tiff" ? tiffFault(bytes)
                                           : QString();
  if (damaged) *damaged = !fault.isEmpty() && fault != truncated();
  return fault;
}
