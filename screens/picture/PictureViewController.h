#pragma once
// One tab's screen: a picture, four sliders (T1, T2, Sigma, Steps), Apply and
// Reset. The content comes from the one picture-screen form, built the first
// time the screen is shown; Apply runs the edge detector over
// the screen's picture through a gray bitmap and shows the edge map, Reset
// shows the picture again. The five screens differ only in their constants.
// The screen's state and its work live in its model; the screen wires the
// widgets to it.
#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "imaging/EdgeMap.h"
#include "imaging/EdgeStages.h"
#include "screens/picture/PictureScreenModel.h"
#include "screens/picture/ScreenConstants.h"
#include "screens/widgets/FloatSlider.h"
#include "screens/widgets/ImageView.h"

class DetectionPanel;
class GrayBitmapContext;
class PictureToolBar;
namespace Ui {
class PictureScreen;
}

class PictureViewController : public QWidget {
  Q_OBJECT

 public:
  // The strings table context of the screens' titles.
  static constexpr const char *kTitleContext = "Titles";

  ~PictureViewController() override;

  // The name the screen was built with, also its object name.
  QString nibName() const { return _nibName; }
  // The translated title key; the key itself where no translation exists.
  QString title() const { return _title; }
  QIcon tabBarIcon() const { return _tabBarIcon; }
  const ScreenConstants &constants() const { return _constants; }

  // The outlets; null while the view is not loaded.
  QPushButton *resetButton() const { return _resetButton; }
  QPushButton *applyButton() const { return _applyButton; }
  ImageView *image() const { return _image; }
  FloatSlider *sliderSigma() const { return _sliderSigma; }
  FloatSlider *sliderSteps() const { return _sliderSteps; }
  FloatSlider *sliderT1() const { return _sliderT1; }
  FloatSlider *sliderT2() const { return _sliderT2; }
  // Live mode, suggestions, defaults and the status line, under the sliders.
  DetectionPanel *detectionPanel() const;

  // The picture Apply starts from; null when there is none.
  QImage picture() const { return sourcePicture(); }
  // The file name the status line's command reads the picture from.
  virtual QString pictureFileName() const;
  // Shows the edge map of `picture` detected at `settings` in `nanoseconds`
  // (a null one when detection failed), and says so in the status line; the
  // stage chosen is worked out off the window's thread.
  void showEdgeMap(const QImage &picture, const QImage &edgeMap, const EdgeSettings &settings,
                   qint64 nanoseconds);

  // The values the detector gets from the sliders now: Steps truncated
  // toward zero; all 0 while the view is not loaded.
  EdgeSettings sliderSettings() const;
  // Open, Revert, Save, Copy, the stage shown and zoom, above the picture.
  PictureToolBar *toolBar() const;
  // The screen's state and the work running for it.
  PictureScreenModel *model() const { return _model.get(); }

  bool isViewLoaded() const { return _view != nullptr; }
  // Builds the content from the form unless it is there already, then runs
  // viewDidLoad().
  void loadViewIfNeeded();

  // The bridge: a gray surface of the picture's pixel size over malloc'd
  // memory, or nullptr (with a message on standard error when this screen
  // reports failures).
  std::unique_ptr<GrayBitmapContext> CreateGrayScaleBitmapContext(const QImage &image) const;
  // The edge map of `image` at the sliders' current values, independent of
  // any memory of the call; a null image when no surface could be made or the
  // detector found no working memory.
  QImage ManipulateImagePixelData(const QImage &image);

 public slots:
  // Apply: the edge map of the screen's picture, found off the window's thread.
  virtual void convert();
  // Reset: the screen's picture again.
  virtual void reset();
  // The sliders' start values again.
  void restoreDefaults();

 signals:
  // The content is built and the sliders hold their start values.
  void viewLoaded();

 protected:
  // `detector` is what Apply runs; whoever builds the screen hands it over.
  PictureViewController(const QString &nibName, const ScreenConstants &constants,
                        DetectorFunction detector, QWidget *parent);

  // The picture Apply and Reset start from: the sample picture, looked up
  // afresh each time so that results never build on one another.
  virtual QImage sourcePicture() const;

  // Shows the unprocessed picture: nothing to save until the next Apply.
  void showPicture(const QImage &picture);
  // A picture the user opened: Apply and Reset work on it until Revert.
  virtual void openPicture(const QImage &picture);

  // Right after the content is built: sets the sliders' ranges and starts.
  virtual void viewDidLoad();
  // Each time the screen is about to be shown (after loading, if needed).
  virtual void viewWillAppear() {}

  void showEvent(QShowEvent *event) override;

 private:
  void addToolBar();
  void watchModel();
  void takeSuggestion(float t1, float t2, float sigma, int steps);

  QString _nibName;
  ScreenConstants _constants;
  DetectorFunction _detector;
  QString _title;
  QIcon _tabBarIcon;
  std::unique_ptr<Ui::PictureScreen> _view;  // the form's widgets, children of this

  QPushButton *_resetButton = nullptr;
  QPushButton *_applyButton = nullptr;
  ImageView *_image = nullptr;
  FloatSlider *_sliderSigma = nullptr;
  FloatSlider *_sliderSteps = nullptr;
  FloatSlider *_sliderT1 = nullptr;
  FloatSlider *_sliderT2 = nullptr;
  QPointer<PictureToolBar> _toolBar;
  QImage _openedPicture;
  QPointer<DetectionPanel> _detectionPanel;
  std::unique_ptr<PictureScreenModel> _model;
};
