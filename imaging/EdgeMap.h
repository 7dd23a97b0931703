#pragma once
// A picture's edge map: the picture drawn gray into fresh memory, the detector
// run over those bytes, and those bytes handed back as a gray picture of the
// same pixel size, 255 on edges and 0 elsewhere.
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>

#include <canny/cannyEdgeDetector.h>
#include "imaging/EdgeSettings.h"

class GrayBitmapContext;

// A detector over width * height gray bytes, rewritten in place. False when it
// could not get its working memory; the bytes are then unchanged.
using DetectorFunction =
    std::function<bool(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                       std::int32_t height, std::uint8_t *data)>;

// The edge map of `picture`, or a null image when none can be made; then
// `failure`, if given, says why in one line.
QImage edgeMap(const QImage &picture, const EdgeSettings &settings, QString *failure = nullptr,
               const DetectorFunction &detector = tryCannyEdgeDetector);

// The same in a surface the caller made for `picture` (of its pixel size),
// whose bytes become the map: the surface is left empty when one is made.
QImage edgeMapIn(GrayBitmapContext &surface, const QImage &picture, const EdgeSettings &settings,
                 const DetectorFunction &detector, QString *failure = nullptr);
