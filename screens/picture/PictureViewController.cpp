#include "screens/picture/PictureViewController.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QShowEvent>
#include <cmath>
#include <cstdint>
#include <limits>

#include "imaging/GrayBitmapContext.h"
#include "screens/live/LiveMode.h"
#include "screens/picture/CannyCommand.h"
#include "screens/picture/DecisionViews.h"
#include "screens/picture/DetectionPanel.h"
#include "screens/picture/PictureToolBar.h"
#include "screens/widgets/FloatSlider.h"
#include "screens/widgets/ImageNamed.h"
#include "screens/widgets/ImageView.h"
#include "ui_PictureScreen.h"

namespace {
// The Steps slider's value as the detector's count: truncated toward zero
// (3.99 gives 3), and kept inside int32 so that no float converts out of range.
std::int32_t truncatedSteps(float value) {
  if (std::isnan(value)) return 0;
  const double whole = std::trunc(double(value));
  if (whole <= double(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  if (whole >= double(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return std::int32_t(whole);
}

void applySliderPasses(FloatSlider *t1, FloatSlider *t2, FloatSlider *sigma, FloatSlider *steps,
                       const ScreenConstants &c) {
  // All minima, then all maxima, then all start values, each T1, T2, Sigma,
  // Steps: a start value never meets a range left over from the file.
  t1->setMinimumValue(c.t1.minimum);
  t2->setMinimumValue(c.t2.minimum);
  sigma->setMinimumValue(c.sigma.minimum);
  steps->setMinimumValue(c.steps.minimum);
  t1->setMaximumValue(c.t1.maximum);
  t2->setMaximumValue(c.t2.maximum);
  sigma->setMaximumValue(c.sigma.maximum);
  steps->setMaximumValue(c.steps.maximum);
  t1->setValue(c.t1.start);
  t2->setValue(c.t2.start);
  sigma->setValue(c.sigma.start);
  steps->setValue(c.steps.start);
}
}  // namespace

PictureViewController::PictureViewController(const QString &nibName,
                                             const ScreenConstants &constants,
                                             DetectorFunction detector, QWidget *parent)
    : QWidget(parent),
      _nibName(nibName),
      _constants(constants),
      _detector(std::move(detector)),
      _title(QCoreApplication::translate(kTitleContext, constants.titleKey)),
      _tabBarIcon(iconNamed(QString::fromLatin1(constants.tabIcon))),
      _model(std::make_unique<PictureScreenModel>(_detector, constants.reportsFailures)) {
  setObjectName(nibName);
}

PictureViewController::~PictureViewController() = default;

void PictureViewController::loadViewIfNeeded() {
  if (isViewLoaded()) return;
  _view = std::make_unique<Ui::PictureScreen>();
  _view->setupUi(this);
  _resetButton = _view->resetButton;
  _applyButton = _view->applyButton;
  _image = _view->image;
  _sliderSigma = _view->sliderSigma;
  _sliderSteps = _view->sliderSteps;
  _sliderT1 = _view->sliderT1;
  _sliderT2 = _view->sliderT2;
  connect(_applyButton, &QPushButton::clicked, this, &PictureViewController::convert);
  connect(_resetButton, &QPushButton::clicked, this, &PictureViewController::reset);
  // Until the first Apply or Reset the view shows the sample, named only in
  // the screen's constants.
  if (_constants.picture) _image->setImageName(QString::fromLatin1(_constants.picture));
  _image->setAccessibleName(tr("Picture"));
  addToolBar();
  viewDidLoad();
  _model->setPicture(sourcePicture());
  _model->setSettings(sliderSettings());
  for (FloatSlider *slider : {_sliderT1, _sliderT2, _sliderSigma, _sliderSteps})
    if (slider)
      connect(slider, &FloatSlider::valueChanged, this,
              [this] { _model->setSettings(sliderSettings()); });
  watchModel();
  // Under the sliders, in the column that scrolls where the window is short;
  // shown now, as the panel is, not after the next turn of the event loop.
  _view->controlsScroll->show();
  QBoxLayout *column = _view->controlsLayout;
  if (column && _sliderT1 && _sliderT2 && _sliderSigma && _sliderSteps && _image) {
    _detectionPanel = new DetectionPanel(this);
    column->addWidget(_detectionPanel);
    _detectionPanel->show();  // built after the form, it is not shown along with it
    _detectionPanel->pictureShown(_image->image());
    if (auto *viewColumn = qobject_cast<QBoxLayout *>(layout()))
      addDecisionViews(this, column, viewColumn, _view->controlsScroll);
  }
  emit viewLoaded();
}

void PictureViewController::addToolBar() {
  auto *column = qobject_cast<QBoxLayout *>(layout());
  if (!column || !_image) return;
  _toolBar = new PictureToolBar(_image, _model.get(), this, this);
  column->insertWidget(column->indexOf(_image), _toolBar);
  _toolBar->setRevertible(_constants.picture != nullptr);  // the camera has no sample
  connect(_toolBar, &PictureToolBar::pictureOpened, this, &PictureViewController::openPicture);
  connect(_toolBar, &PictureToolBar::revertRequested, this, [this] {
    _openedPicture = QImage();
    _toolBar->revertAction()->setEnabled(false);
    reset();
  });
}

void PictureViewController::watchModel() {
  connect(_model.get(), &PictureScreenModel::pictureShown, this, [this](const QImage &picture) {
    _image->setAccessibleDescription(
        picture.isNull()
            ? tr("No picture")
            : tr("The picture, %1 × %2 pixels").arg(picture.width()).arg(picture.height()));
  });
  connect(_model.get(), &PictureScreenModel::resultShown, this, [this] {
    const EdgeSettings &settings = _model->result().settings;
    _image->setAccessibleDescription(tr("The edge map at T1 %1, T2 %2, Sigma %3, Steps %4")
                                         .arg(shortestDecimal(settings.t1),
                                              shortestDecimal(settings.t2),
                                              shortestDecimal(settings.sigma))
                                         .arg(settings.steps));
    if (_toolBar) _toolBar->setPictureName(pictureFileName());
  });
  connect(_model.get(), &PictureScreenModel::thresholdsSuggested, this,
          &PictureViewController::takeSuggestion);
}

void PictureViewController::takeSuggestion(float t1, float t2, float sigma, int steps) {
  {
    // One detection for all values, not one for each.
    const QSignalBlocker quietT1(_sliderT1), quietT2(_sliderT2), quietSigma(_sliderSigma),
        quietSteps(_sliderSteps);
    _sliderT1->moveHandleNear(t1);
    _sliderT2->moveHandleNear(t2);
    _sliderSigma->moveHandleNear(sigma);
    // Only a count below the slider's whole one changes it.
    if (truncatedSteps(_sliderSteps->value()) != steps) _sliderSteps->moveHandleNear(float(steps));
  }
  _model->setSettings(sliderSettings());  // live mode detects on this
  if (!LiveMode::shared().isOn()) convert();
}

void PictureViewController::restoreDefaults() {
  if (!isViewLoaded()) return;
  _sliderT1->setValue(_constants.t1.start);
  _sliderT2->setValue(_constants.t2.start);
  _sliderSigma->setValue(_constants.sigma.start);
  _sliderSteps->setValue(_constants.steps.start);
}

PictureToolBar *PictureViewController::toolBar() const { return _toolBar; }

void PictureViewController::openPicture(const QImage &picture) {
  _openedPicture = picture;
  if (_toolBar) _toolBar->revertAction()->setEnabled(true);
  reset();
}

void PictureViewController::showPicture(const QImage &picture) {
  _model->setPicture(picture);
  _model->showPicture();
}

void PictureViewController::viewDidLoad() {
  applySliderPasses(_sliderT1, _sliderT2, _sliderSigma, _sliderSteps, _constants);
  // Steps counts smoothing passes: show the whole number Apply will use.
  _sliderSteps->setShowsWholeNumber(true);
}

void PictureViewController::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  // A window coming back from the window system is not the screen appearing.
  if (event->spontaneous()) return;
  loadViewIfNeeded();
  viewWillAppear();
}

QImage PictureViewController::sourcePicture() const {
  if (!_openedPicture.isNull()) return _openedPicture;
  return _constants.picture ? imageNamed(QString::fromLatin1(_constants.picture)) : QImage();
}

void PictureViewController::convert() {
  if (!_image) return;
  _model->setPicture(sourcePicture());
  _model->setSettings(sliderSettings());
  _model->apply();
}

void PictureViewController::reset() { showPicture(sourcePicture()); }

void PictureViewController::showEdgeMap(const QImage &picture, const QImage &edgeMap,
                                        const EdgeSettings &settings, qint64 nanoseconds) {
  _model->showEdgeMap(picture, edgeMap, settings, nanoseconds);
}

EdgeSettings PictureViewController::sliderSettings() const {
  if (!_sliderT1 || !_sliderT2 || !_sliderSigma || !_sliderSteps) return {0, 0, 0, 0};
  return {_sliderT1->value(), _sliderT2->value(), _sliderSigma->value(),
          truncatedSteps(_sliderSteps->value())};
}

QString PictureViewController::pictureFileName() const {
  if (!_openedPicture.isNull() && _toolBar) return _toolBar->openedPath();
  const QString name = QString::fromLatin1(_constants.picture ? _constants.picture : "picture");
  return QFileInfo(name).suffix().isEmpty() ? name + QStringLiteral(".png") : name;
}

std::unique_ptr<GrayBitmapContext> PictureViewController::CreateGrayScaleBitmapContext(
    const QImage &image) const {
  return grayContextFor(image, _constants.reportsFailures);
}

QImage PictureViewController::ManipulateImagePixelData(const QImage &image) {
  loadViewIfNeeded();  // the sliders live in the view
  const std::unique_ptr<GrayBitmapContext> context = CreateGrayScaleBitmapContext(image);
  if (!context) return {};
  return edgeMapIn(*context, image, sliderSettings(), _detector);
}

DetectionPanel *PictureViewController::detectionPanel() const { return _detectionPanel; }
