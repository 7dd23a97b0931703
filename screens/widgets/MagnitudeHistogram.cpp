#include "screens/widgets/MagnitudeHistogram.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "screens/widgets/FloatSlider.h"

namespace {
// The hysteresis classes' colours (imaging/PixelAnalysis), over the same black.
const QColor kBelowT1(0x80, 0x80, 0x80);
const QColor kWeak(0x56, 0xb4, 0xe9);
const QColor kSeed(0xf0, 0xe4, 0x42);
constexpr int kBarWidth = 2;   // screen pixels a bar
constexpr int kGrabWidth = 6;  // how near a press must come to a marker to take it
constexpr int kPlotHeight = 56;
}  // namespace

MagnitudeHistogram::MagnitudeHistogram(FloatSlider *t1, FloatSlider *t2, QWidget *parent)
    : QWidget(parent), _t1(t1), _t2(t2), _current(t1) {
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAccessibleName(tr("Thinned magnitudes"));
  setToolTip(
      tr("How many pixels have each thinned gradient magnitude (log scale). Drag T1 or T2; "
         "with the keyboard, Up and Down choose one, the arrow keys move it."));
  for (FloatSlider *slider : {t1, t2})
    connect(slider, &FloatSlider::valueChanged, this, [this] {
      describe();
      update();
    });
  describe();
}

void MagnitudeHistogram::setMagnitudes(std::shared_ptr<const std::vector<float>> magnitudes) {
  _magnitudes = std::move(magnitudes);
  describe();
  update();
}

qsizetype MagnitudeHistogram::countBetween(float from, float to) const {
  if (!_magnitudes) return 0;
  const auto begin = std::lower_bound(_magnitudes->begin(), _magnitudes->end(), from);
  return std::max<qsizetype>(0, std::lower_bound(begin, _magnitudes->end(), to) - begin);
}

float MagnitudeHistogram::top() const {
  return std::max(_t1 ? _t1->maximumValue() : 0.0f, _t2 ? _t2->maximumValue() : 0.0f);
}

QRectF MagnitudeHistogram::plotRect() const {
  const int text = fontMetrics().height();
  return QRectF(rect()).adjusted(kGrabWidth, text + 2, -kGrabWidth, -1);
}

float MagnitudeHistogram::magnitudeAt(double x) const {
  const QRectF plot = plotRect();
  return float((x - plot.left()) / plot.width() * top());
}

double MagnitudeHistogram::xOf(float magnitude) const {
  const QRectF plot = plotRect();
  return plot.left() + (top() > 0 ? magnitude / top() : 0.0) * plot.width();
}

QSize MagnitudeHistogram::sizeHint() const {
  return {320, fontMetrics().height() + 3 + kPlotHeight};
}

QSize MagnitudeHistogram::minimumSizeHint() const { return {160, sizeHint().height()}; }

void MagnitudeHistogram::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  const QRectF plot = plotRect();
  const float t1 = _t1 ? _t1->value() : 0, t2 = _t2 ? _t2->value() : 0, end = top();
  painter.setPen(Qt::white);
  const QRect textRow(kGrabWidth, 1, width() - 2 * kGrabWidth, fontMetrics().height());
  const QLocale locale;
  painter.drawText(
      textRow, Qt::AlignLeft | Qt::AlignVCenter,
      _magnitudes ? tr("Thinned magnitudes, log count") : tr("Thinned magnitudes: press Apply"));
  if (_magnitudes && end > 0) {
    const qsizetype above = countBetween(end, INFINITY);
    if (above > 0)
      painter.drawText(textRow, Qt::AlignRight | Qt::AlignVCenter,
                       tr("%1 above %2").arg(locale.toString(above), locale.toString(end)));
    // Bars of kBarWidth pixels, their heights the logarithm of their counts.
    const int bars = std::max(1, int(plot.width()) / kBarWidth);
    std::vector<qsizetype> counts(bars);
    for (int i = 0; i < bars; ++i) counts[i] = countBetween(end * i / bars, end * (i + 1) / bars);
    const double tallest = std::log1p(double(*std::max_element(counts.begin(), counts.end())));
    for (int i = 0; i < bars && tallest > 0; ++i) {
      const float from = end * i / bars;
      const double height = std::log1p(double(counts[i])) / tallest * plot.height();
      painter.fillRect(QRectF(plot.left() + i * plot.width() / bars, plot.bottom() - height,
                              plot.width() / bars, height),
                       from >= t2   ? kSeed
                       : from >= t1 ? kWeak
                                    : kBelowT1);
    }
  }
  // The markers, the keyboard's own drawn wider while the histogram has the focus.
  for (FloatSlider *marker : {_t1.data(), _t2.data()}) {
    if (!marker) continue;
    const double x = xOf(marker->value());
    const bool current = marker == _current && hasFocus();
    painter.setPen(QPen(Qt::white, current ? 3 : 1));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    const QString name = marker == _t1 ? QStringLiteral("T1") : QStringLiteral("T2");
    const double nameWidth = fontMetrics().horizontalAdvance(name);
    // T1's name left of its line, T2's right, so that they never cover each other.
    const double nameX = marker == _t1 ? x - nameWidth - 3 : x + 3;
    painter.drawText(QPointF(nameX, plot.top() + fontMetrics().ascent()), name);
  }
}

void MagnitudeHistogram::moveMarker(FloatSlider *marker, float value) {
  if (!marker) return;
  marker->moveHandleNear(std::clamp(value, marker->minimumValue(), marker->maximumValue()));
}

void MagnitudeHistogram::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton || !_t1 || !_t2) return QWidget::mousePressEvent(event);
  const double x = event->position().x();
  // The nearer marker; on a tie the one the pointer is on the side of.
  const double to1 = std::abs(x - xOf(_t1->value())), to2 = std::abs(x - xOf(_t2->value()));
  _dragged = to1 < to2 || (to1 == to2 && x < xOf(_t1->value())) ? _t1.data() : _t2.data();
  _current = _dragged;
  moveMarker(_dragged, magnitudeAt(x));
}

void MagnitudeHistogram::mouseMoveEvent(QMouseEvent *event) {
  if (_dragged) moveMarker(_dragged, magnitudeAt(event->position().x()));
}

void MagnitudeHistogram::mouseReleaseEvent(QMouseEvent *) { _dragged = nullptr; }

void MagnitudeHistogram::keyPressEvent(QKeyEvent *event) {
  FloatSlider *marker = _current;
  QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_2:
      _current = _t2;
      break;
    case Qt::Key_Down:
    case Qt::Key_1:
      _current = _t1;
      break;
    case Qt::Key_Right:
      action = QAbstractSlider::SliderSingleStepAdd;
      break;
    case Qt::Key_Left:
      action = QAbstractSlider::SliderSingleStepSub;
      break;
    case Qt::Key_PageUp:
      action = QAbstractSlider::SliderPageStepAdd;
      break;
    case Qt::Key_PageDown:
      action = QAbstractSlider::SliderPageStepSub;
      break;
    case Qt::Key_Home:
      action = QAbstractSlider::SliderToMinimum;
      break;
    case Qt::Key_End:
      action = QAbstractSlider::SliderToMaximum;
      break;
    default:
      return QWidget::keyPressEvent(event);
  }
  // The slider's own steps, as its keys would take them.
  if (action != QAbstractSlider::SliderNoAction && marker) marker->track()->triggerAction(action);
  update();
}

void MagnitudeHistogram::describe() {
  if (!_t1 || !_t2) return;
  const float t1 = _t1->value(), t2 = _t2->value();
  const QLocale locale;
  setAccessibleDescription(
      tr("T1 %1, T2 %2: %3 thinned magnitudes below T1, %4 from T1 up to T2, %5 from T2 up")
          .arg(_t1->valueText(), _t2->valueText(), locale.toString(countBetween(0, t1)),
               locale.toString(countBetween(t1, t2)), locale.toString(countBetween(t2, INFINITY))));
}
