#pragma once
// The views that show how the detector decides, added to a picture screen
// whose view is loaded: the histogram of thinned magnitudes with T1 and T2 on
// it, at the end of the controls column, and the pixel readout's line under
// the picture. Both keep their space whatever they show, so nothing moves.
class MagnitudeHistogram;
class PictureViewController;
class PixelReadout;
class QBoxLayout;
class QWidget;

struct DecisionViews {
  MagnitudeHistogram *histogram;
  PixelReadout *readout;
};

// `controls` is the controls column; the readout goes into `viewColumn`
// right above `below`.
DecisionViews addDecisionViews(PictureViewController *screen, QBoxLayout *controls,
                               QBoxLayout *viewColumn, QWidget *below);
