#include "screens/picture/DecisionViews.h"

#include <QBoxLayout>

#include "screens/picture/PictureViewController.h"
#include "screens/picture/PixelReadout.h"
#include "screens/widgets/MagnitudeHistogram.h"

DecisionViews addDecisionViews(PictureViewController *screen, QBoxLayout *controls,
                               QBoxLayout *viewColumn, QWidget *below) {
  PictureScreenModel *model = screen->model();
  auto *histogram = new MagnitudeHistogram(screen->sliderT1(), screen->sliderT2(), screen);
  controls->addWidget(histogram);
  QObject::connect(model, &PictureScreenModel::analysisChanged, histogram, [model, histogram] {
    const std::shared_ptr<const PixelAnalysis> &analysis = model->analysis();
    // The histogram shares the analysis' magnitudes, keeping the analysis alive.
    histogram->setMagnitudes(analysis ? std::shared_ptr<const std::vector<float>>(
                                            analysis, &analysis->gradients->thinned)
                                      : nullptr);
  });

  auto *readout = new PixelReadout(model, screen);
  viewColumn->insertWidget(viewColumn->indexOf(below), readout);
  readout->watch(screen->image());
  histogram->show();
  readout->show();
  return {histogram, readout};
}
