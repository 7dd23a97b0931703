#include "imaging/EdgeMap.h"

#include "imaging/GrayBitmap.h"
#include "imaging/GrayBitmapContext.h"
#include "imaging/ImagingText.h"

QImage edgeMap(const QImage &picture, const EdgeSettings &settings, QString *failure,
               const DetectorFunction &detector) {
  const std::unique_ptr<GrayBitmapContext> surface =
      GrayBitmapContext::create(picture.width(), picture.height(), failure);
  if (!surface) return {};
  return edgeMapIn(*surface, picture, settings, detector, failure);
}

QImage edgeMapIn(GrayBitmapContext &surface, const QImage &picture, const EdgeSettings &settings,
                 const DetectorFunction &detector, QString *failure) {
  drawGray(picture, surface.bitmap());
  if (!detector(settings.t1, settings.t2, settings.sigma, settings.steps, surface.width(),
                surface.height(), surface.data())) {
    if (failure) *failure = ImagingText::tr("not enough memory to detect edges");
    return {};
  }
  // The surface's own bytes become the map: no second picture-sized block.
  return surface.takeBitmap();
}
