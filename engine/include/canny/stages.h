#pragma once
// The detector's intermediate results, for showing and studying how it works.
// They come from its plain pipeline: each stage over whole pictures, one
// thread, in the order the fast detector fuses; its edge map is the same byte
// for byte, at about twenty bytes a pixel and several times the time.
#include <canny/canny.h>

namespace canny {

enum class Stage {
  smoothed,   // the picture after the Gaussian smoothing
  gradientX,  // horizontal Sobel gradient / 8, positive where it brightens to the right
  gradientY,  // vertical Sobel gradient / 8, positive where it brightens downward
  magnitude,  // sqrt(gx^2 + gy^2), before any cut
  thinned,    // magnitudes of at least t1 that survive non-maximum suppression
  edges,      // after hysteresis: 255 on edge pixels, 0 elsewhere
  sector,     // the neighbours suppression compares along the gradient: 1 left and right,
              // 2 up-left and down-right, 3 above and below, 4 up-right and down-left,
              // 0 none (a NaN angle)
};

// Writes `stage` of `input` as width x height floats, row after row, into
// `values` (width * height of them). The input's rules are detectEdges'.
Status computeStage(ConstImageView input, Stage stage, float *values,
                    const Settings &settings = {});

// The edge map by the plain pipeline, as detectEdges gives it.
Status detectEdgesPlainly(ConstImageView input, ImageView output, const Settings &settings = {});

}  // namespace canny
