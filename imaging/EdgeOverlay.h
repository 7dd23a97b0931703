#pragma once
// The edges drawn over the picture they were found in, so that each edge can
// be checked against what the eye sees there.
#include <QImage>

// The colour edges are drawn in: a saturated red that reads on gray, colour
// and dark pictures alike.
inline constexpr QRgb kEdgeOverlayColour = 0xffff1a1a;

// `picture` as opaque RGB with every pixel that is not 0 in `edgeMap` (an
// 8-bit gray map of the same pixel size) in `colour`. Null when the sizes
// differ.
QImage overlayEdges(const QImage &picture, const QImage &edgeMap, QRgb colour = kEdgeOverlayColour);
