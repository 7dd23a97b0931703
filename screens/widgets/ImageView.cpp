#include "screens/widgets/ImageView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "screens/widgets/ImageNamed.h"

namespace {
constexpr double kSmallestZoom = 1.0 / 64.0;
constexpr double kLargestZoom = 64.0;
constexpr int kWheelNotch = 120;

// Zoom steps are powers of two, so magnified pixels are all the same size.
double nextPowerOfTwo(double zoom, int direction) {
  const double exponent = std::log2(zoom);
  const double step =
      direction > 0 ? std::floor(exponent + 1e-9) + 1 : std::ceil(exponent - 1e-9) - 1;
  return std::exp2(step);
}
}  // namespace

ImageView::ImageView(QWidget *parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumSize(64, 64);
  setFocusPolicy(Qt::StrongFocus);
}

void ImageView::setImage(const QImage &image) {
  const bool sameSize = image.size() == _image.size();
  _image = image;
  _imageName.clear();
  if (!sameSize) _zoom = 0.0;
  showState();
}

void ImageView::setImageName(const QString &name) {
  setImage(imageNamed(name));
  _imageName = name;
}

void ImageView::setComparison(const QImage &picture) {
  _comparison = picture;
  update();
}

bool ImageView::isComparing() const {
  return !_comparison.isNull() && (_keyHeld || (_mouseHeld && !_panning));
}

void ImageView::holdComparison(bool held) {
  _keyHeld = held;
  update();
}

double ImageView::zoom() const {
  if (!isFitted()) return _zoom;
  if (_image.isNull()) return 1.0;
  return fittedRect(_image.size(), rect()).width() * devicePixelRatioF() / _image.width();
}

void ImageView::fitToView() {
  _zoom = 0.0;
  showState();
}

void ImageView::showActualSize() { setZoom(1.0, rect().center()); }
void ImageView::zoomIn() { setZoom(nextPowerOfTwo(zoom(), +1), rect().center()); }
void ImageView::zoomOut() { setZoom(nextPowerOfTwo(zoom(), -1), rect().center()); }

void ImageView::setZoom(double zoom, QPointF anchor) {
  if (_image.isNull() || !(zoom > 0.0)) return;
  const QRectF before = pictureRect();
  const QPointF picturePoint = (anchor - before.topLeft()) / viewScale();
  _zoom = std::clamp(zoom, kSmallestZoom, kLargestZoom);
  _centre = picturePoint + (QRectF(rect()).center() - anchor) / viewScale();
  showState();
}

double ImageView::viewScale() const {
  if (_image.isNull()) return 1.0;
  return isFitted() ? double(fittedRect(_image.size(), rect()).width()) / _image.width()
                    : _zoom / devicePixelRatioF();
}

QRectF ImageView::pictureRect() const {
  if (isFitted()) return fittedRect(_image.size(), rect());
  const double scale = viewScale();
  const QSizeF size = QSizeF(_image.size()) * scale;
  QPointF topLeft = QRectF(rect()).center() - _centre * scale;
  // A picture smaller than the view sits in the middle; a larger one never
  // leaves a gap at its edges.
  auto place = [](double start, double extent, double view) {
    return extent <= view ? (view - extent) / 2 : std::clamp(start, view - extent, 0.0);
  };
  topLeft.setX(place(topLeft.x(), size.width(), width()));
  topLeft.setY(place(topLeft.y(), size.height(), height()));
  return {topLeft, size};
}

QRect ImageView::fittedRect(const QSize &pictureSize, const QRect &area) {
  if (pictureSize.isEmpty() || area.isEmpty()) return {};
  const QSize fitted = pictureSize.scaled(area.size(), Qt::KeepAspectRatio);
  QRect placed(QPoint(0, 0), fitted);
  placed.moveCenter(area.center());
  return placed;
}

bool ImageView::canPan() const {
  const QRectF placed = pictureRect();
  return !isFitted() && (placed.width() > width() || placed.height() > height());
}

void ImageView::keepCentreInside() {
  if (isFitted()) return;
  _centre = (QRectF(rect()).center() - pictureRect().topLeft()) / viewScale();
}

void ImageView::showState() {
  keepCentreInside();
  setCursor(_panning ? Qt::ClosedHandCursor : canPan() ? Qt::OpenHandCursor : Qt::ArrowCursor);
  update();
  emit zoomChanged();
}

QSize ImageView::sizeHint() const { return {320, 320}; }

void ImageView::paintEvent(QPaintEvent *) {
  const QImage &shown = isComparing() ? _comparison : _image;
  const QRectF target = pictureRect();
  if (shown.isNull() || target.isEmpty()) return;
  QPainter painter(this);
  // Smooth only when shrinking; enlarged pixels stay sharp squares.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom() < 1.0);
  painter.drawImage(target, shown);
  if (isComparing()) {
    const QString caption = tr("Original");
    QRect box = fontMetrics().boundingRect(caption).adjusted(-6, -3, 6, 3);
    box.moveTopLeft(QPoint(8, 8));
    painter.fillRect(box, QColor(0, 0, 0, 160));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, caption);
  }
}

void ImageView::wheelEvent(QWheelEvent *event) {
  _wheelAngle += event->angleDelta().y();
  const int notches = _wheelAngle / kWheelNotch;
  _wheelAngle -= notches * kWheelNotch;
  double next = zoom();
  for (int i = 0; i < std::abs(notches); ++i) next = nextPowerOfTwo(next, notches);
  if (notches != 0) setZoom(next, event->position());
  event->accept();
}

void ImageView::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
    case Qt::Key_Space:
      if (!event->isAutoRepeat()) holdComparison(true);
      return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return zoomIn();
    case Qt::Key_Minus:
      return zoomOut();
    case Qt::Key_1:
      return showActualSize();
    case Qt::Key_0:
    case Qt::Key_F:
      return fitToView();
    default:
      QWidget::keyPressEvent(event);
  }
}

void ImageView::keyReleaseEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) return holdComparison(false);
  QWidget::keyReleaseEvent(event);
}

void ImageView::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  _mouseHeld = true;
  _pressMouse = _lastMouse = event->position();
  update();
}

void ImageView::mouseMoveEvent(QMouseEvent *event) {
  if (!_mouseHeld) return QWidget::mouseMoveEvent(event);
  // A drag pans a picture larger than the view; a press held still compares.
  if (!_panning && canPan() &&
      (event->position() - _pressMouse).manhattanLength() >= QApplication::startDragDistance())
    _panning = true;
  if (_panning) {
    _centre -= (event->position() - _lastMouse) / viewScale();
    showState();
  }
  _lastMouse = event->position();
}

void ImageView::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  _mouseHeld = _panning = false;
  showState();
}

void ImageView::focusOutEvent(QFocusEvent *event) {
  holdComparison(false);
  QWidget::focusOutEvent(event);
}
