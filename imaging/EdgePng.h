#pragma once
// PNG files of edge maps, written fast: an edge map holds only 0 and 255, so
// runs of equal bytes are all there is to compress, and zlib's run-length
// strategy over unfiltered rows finds them at a fraction of the default
// settings' cost, in files as small. 8-bit gray, no chunk that changes from
// run to run: the same map gives the same bytes.
#include <QByteArray>

// The PNG file of `height` rows of `width` gray bytes, rows `stride` bytes
// apart; empty when it cannot be made (no pixels, or no memory).
QByteArray encodeEdgePng(const unsigned char *pixels, int width, int height, qsizetype stride);
