#include "screens/picture/PictureToolBar.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QToolBar>

#include "screens/picture/ClassLegend.h"
#include "screens/picture/PictureFiles.h"
#include "screens/picture/PictureScreenModel.h"
#include "screens/widgets/ImageView.h"
#include "screens/widgets/SplitDivider.h"
#include "screens/widgets/UserSettings.h"

namespace {
// The first local file a drag carries, or an empty string.
QString droppedFile(const QMimeData *data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl &url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}
}  // namespace

PictureToolBar::PictureToolBar(ImageView *view, PictureScreenModel *model, QWidget *dropTarget,
                               QWidget *parent)
    : QWidget(parent), _view(view), _model(model) {
  // A tool bar moves what the width cannot hold into its overflow menu, never
  // cutting a button or a box.
  _bar = new QToolBar(this);
  _bar->setAccessibleName(tr("Picture tools"));
  auto *row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(_bar);
  _open = addButton(tr("Open…"), QKeySequence::Open, tr("Open a picture of your own"));
  _revert = addButton(tr("Revert"), {}, tr("Back to the sample picture"));
  _save = addButton(tr("Save…"), QKeySequence::Save, tr("Save the map or stage shown"));
  _copy = addButton(tr("Copy"), QKeySequence::Copy, tr("Copy the map or stage shown"));
  _revert->setEnabled(false);

  _stage = new QComboBox(this);
  _stage->addItem(tr("Smoothed"), int(EdgeStage::kSmoothed));
  _stage->addItem(tr("Gradient magnitude"), int(EdgeStage::kGradientMagnitude));
  _stage->addItem(tr("Thinned magnitude"), int(EdgeStage::kThinnedMagnitude));
  _stage->addItem(tr("Hysteresis classes"), int(EdgeStage::kHysteresisClasses));
  _stage->addItem(tr("Edge map"), int(EdgeStage::kEdgeMap));
  _stage->setCurrentIndex(_stage->count() - 1);
  _stage->setToolTip(tr("Which stage of the detector Apply shows"));
  // Named by its label: on Linux assistive technology takes the name from it.
  auto *stageLabel = new QLabel(tr("&Stage"), this);
  stageLabel->setBuddy(_stage);
  _stage->setAccessibleName(stageLabel->text().remove(QLatin1Char('&')));
  _overlay = new QCheckBox(tr("Over picture"), this);
  _overlay->setToolTip(tr("Draw the edges in red over the picture"));
  _split = new QCheckBox(tr("Split"), this);
  _split->setToolTip(tr("The picture left of a divider, the edges right of it"));
  _scale = new QLabel(this);
  _bar->addSeparator();
  _bar->addWidget(stageLabel);
  _bar->addWidget(_stage);
  _bar->addWidget(_overlay);
  _bar->addWidget(_split);
  _bar->addWidget(_scale);
  auto *stretch = new QWidget(this);
  stretch->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  _bar->addWidget(stretch);
  // Zoom by keys anywhere on the screen; the view takes plain +, -, 1 and F too.
  QAction *fit = addButton(tr("Fit"), Qt::CTRL | Qt::Key_0, tr("Fit the picture to the view"));
  QAction *actual =
      addButton(tr("1:1"), Qt::CTRL | Qt::Key_1, tr("One picture pixel a screen pixel"));
  QAction *in = addButton(tr("+"), QKeySequence::ZoomIn, tr("Zoom in"));
  QAction *out = addButton(tr("−"), QKeySequence::ZoomOut, tr("Zoom out"));
  _zoom = new QLabel(tr("Fit"), this);
  _zoom->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("10000%")));
  _bar->addWidget(_zoom);
  if (view) {
    connect(_split, &QCheckBox::toggled, new SplitDivider(view), &SplitDivider::setSplit);
    connect(fit, &QAction::triggered, view, &ImageView::fitToView);
    connect(actual, &QAction::triggered, view, &ImageView::showActualSize);
    connect(in, &QAction::triggered, view, &ImageView::zoomIn);
    connect(out, &QAction::triggered, view, &ImageView::zoomOut);
    connect(view, &ImageView::zoomChanged, this, [this] {
      _zoom->setText(_view->isFitted() ? tr("Fit") : tr("%1%").arg(_view->zoom() * 100, 0, 'g', 4));
    });
  }

  connect(_open, &QAction::triggered, this, &PictureToolBar::chooseFile);
  connect(_revert, &QAction::triggered, this, &PictureToolBar::revertRequested);
  connect(_save, &QAction::triggered, this, &PictureToolBar::chooseSaveFile);
  connect(_copy, &QAction::triggered, this, &PictureToolBar::copyResult);
  connect(_stage, &QComboBox::currentIndexChanged, this, [this] {
    _overlay->setEnabled(stage() == EdgeStage::kEdgeMap);
    if (_model) _model->setStage(stage());
  });
  if (_model) {
    connect(_overlay, &QCheckBox::toggled, _model, &PictureScreenModel::setOverlay);
    connect(_model, &PictureScreenModel::pictureShown, this, &PictureToolBar::showPicture);
    connect(_model, &PictureScreenModel::resultShown, this, &PictureToolBar::showResult);
    connect(_model, &PictureScreenModel::fileOpened, this, &PictureToolBar::takeOpened);
    connect(_model, &PictureScreenModel::fileRefused, this, &PictureToolBar::complain);
  }

  if (dropTarget) {
    dropTarget->setAcceptDrops(true);
    dropTarget->installEventFilter(this);
  }
  // Until the first Apply the view shows what the form gave it.
  _save->setEnabled(false);
  _copy->setEnabled(false);
}

QAction *PictureToolBar::addButton(const QString &text, const QKeySequence &keys,
                                   const QString &tip) {
  auto *action = new QAction(text, this);
  action->setShortcut(keys);
  action->setToolTip(keys.isEmpty()
                         ? tip
                         : tip + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) +
                               QStringLiteral(")"));
  addAction(action);  // the shortcut works while this screen is on show
  _bar->addAction(action);
  return action;
}

EdgeStage PictureToolBar::stage() const { return EdgeStage(_stage->currentData().toInt()); }

void PictureToolBar::setStage(EdgeStage stage) {
  _stage->setCurrentIndex(_stage->findData(int(stage)));
}

QString PictureToolBar::scaleText() const { return _scale->text(); }

void PictureToolBar::setRevertible(bool revertible) { _revert->setVisible(revertible); }

void PictureToolBar::showPicture(const QImage &picture) {
  _result = QImage();
  if (_view) {
    _view->setComparison({});
    _view->setImage(picture);
  }
  _scale->clear();
  _save->setEnabled(false);
  _copy->setEnabled(false);
}

void PictureToolBar::showResult() {
  const PictureResult &shown = _model->result();
  _result = shown.stageImage;
  const bool magnitudes =
      shown.stage == EdgeStage::kGradientMagnitude || shown.stage == EdgeStage::kThinnedMagnitude;
  _scale->setText(magnitudes && !_result.isNull()
                      ? tr("white = magnitude %1").arg(double(shown.white), 0, 'g', 4)
                  : shown.stage == EdgeStage::kHysteresisClasses && shown.analysis ? classLegend()
                                                                                   : QString());
  _scale->setToolTip(shown.stage == EdgeStage::kHysteresisClasses && shown.analysis
                         ? classCounts(*shown.analysis)
                         : QString());
  _save->setEnabled(!_result.isNull());
  _copy->setEnabled(!_result.isNull());
  if (!_view) return;  // a failed detection empties the view, as Apply always has
  _view->setComparison(shown.picture);
  _view->setImage(shown.shown);
}

QString PictureToolBar::openFile(const QString &path) {
  const OpenedPicture opened = openPictureFile(path);
  if (opened.image.isNull()) return opened.error;
  takeOpened(opened.image, path);
  return {};
}

void PictureToolBar::openFileLater(const QString &path) {
  if (_model)
    _model->openFile(path);
  else
    complain(openFile(path));
}

void PictureToolBar::takeOpened(const QImage &picture, const QString &path) {
  _openedPath = QFileInfo(path).absoluteFilePath();
  emit pictureOpened(picture);
}

QString PictureToolBar::saveResult(const QString &path) const {
  if (_result.isNull()) return tr("There is no edge map or stage to save; press Apply first");
  return saveGrayPicture(_result, path);
}

void PictureToolBar::copyResult() const {
  if (!_result.isNull()) QApplication::clipboard()->setImage(_result);
}

void PictureToolBar::chooseFile() {
  const QString path = QFileDialog::getOpenFileName(
      this, tr("Open a picture"), lastFolder(),
      tr("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.pgm *.ppm *.pbm *.webp *.tif *.tiff);;All "
         "files (*)"));
  if (path.isEmpty()) return;
  rememberFolderOf(path);
  openFileLater(path);
}

QString PictureToolBar::suggestedSaveName() const {
  const QFileInfo picture(_pictureName);
  const QString name = picture.completeBaseName().isEmpty()
                           ? QStringLiteral("edges.png")
                           : picture.completeBaseName() + QStringLiteral("-edges.png");
  return (picture.isAbsolute() ? picture.dir() : QDir(lastFolder())).filePath(name);
}

void PictureToolBar::chooseSaveFile() {
  const QString path = QFileDialog::getSaveFileName(
      this, tr("Save the map or stage"), suggestedSaveName(), tr("PNG (*.png);;PGM (*.pgm)"));
  if (path.isEmpty()) return;
  rememberFolderOf(path);
  complain(saveResult(path));
}

void PictureToolBar::complain(const QString &error) {
  if (!error.isEmpty()) QMessageBox::warning(this, tr("Canny Demo"), error);
}

bool PictureToolBar::eventFilter(QObject *watched, QEvent *event) {
  // Space that no widget of the screen took (a slider, say) compares too.
  if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && _view) {
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
      _view->holdComparison(event->type() == QEvent::KeyPress);
      return true;
    }
  }
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto *drag = static_cast<QDragMoveEvent *>(event);
    if (!droppedFile(drag->mimeData()).isEmpty()) drag->acceptProposedAction();
    return true;
  }
  if (event->type() == QEvent::Drop) {
    auto *drop = static_cast<QDropEvent *>(event);
    const QString path = droppedFile(drop->mimeData());
    if (path.isEmpty()) return true;
    drop->acceptProposedAction();
    openFileLater(path);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
