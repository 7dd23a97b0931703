#pragma once
// How large a picture this program agrees to decode, in pixels, checked from
// the picture's header before any pixel memory is taken. The application and
// the command-line tool share it, so both accept and refuse the same files.
#include <QSize>
#include <QtGlobal>

// 250 megapixels holds a 200-megapixel photograph. Decoded as 16-bit RGBA
// (8 bytes a pixel, the most Qt uses) it takes 2 GB, and detection needs a
// few bytes a pixel more: comfortable on a 24 GiB two-core machine, where
// the detector still finishes such a picture in seconds.
constexpr qint64 kDefaultMaxPixels = 250'000'000;

// The most bytes a pixel takes once decoded, and the most an encoding of it
// plausibly takes (uncompressed 16-bit RGBA); streams are cut off beyond it.
constexpr qint64 kMostBytesPerPixel = 8;

// Sets Qt's decoding allocation limit to what a picture within the budget
// may need, replacing Qt's fixed default. Call at start-up.
void applyPixelBudget(qint64 maxPixels);

bool withinPixelBudget(QSize size, qint64 maxPixels);

// How much of a stream (a pipe, a device) is read at most: a picture within
// the budget, uncompressed, plus room for headers and metadata.
qint64 mostStreamBytes(qint64 maxPixels);
