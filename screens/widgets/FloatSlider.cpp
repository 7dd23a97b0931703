#include "screens/widgets/FloatSlider.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "screens/widgets/ScreenAccessibility.h"

namespace {
// Handle positions of a whole-number slider: one per whole number when both
// ends are whole and there are not too many of them.
int wholePositions(float minimum, float maximum) {
  const double span = double(maximum) - double(minimum);
  const bool whole = std::trunc(minimum) == minimum && std::trunc(maximum) == maximum;
  return whole && span >= 1 && span <= FloatSlider::kPositions ? int(span)
                                                               : FloatSlider::kPositions;
}
}  // namespace

FloatSlider::FloatSlider(QWidget *parent)
    : QWidget(parent), _track(new QSlider(Qt::Horizontal, this)), _label(new QLabel(this)) {
  installScreenAccessibility();
  _label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // Wide enough for the longest value any slider holds: the track does not
  // jump while the value changes, and the sliders of a form line up.
  _label->setMinimumWidth(_label->fontMetrics().horizontalAdvance(QStringLiteral("-000.000")));
  setFocusProxy(_track);

  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(_track, 1);
  layout->addWidget(_label);

  // Only the user moves the handle while its signals are on: a value set in
  // code is stored as given and the handle is merely placed near it.
  connect(_track, &QSlider::valueChanged, this, &FloatSlider::moveHandle);
  setUpTrack();
}

void FloatSlider::setMinimumValue(float minimum) {
  if (std::isnan(minimum)) return;
  _minimumValue = minimum;
  _maximumValue = std::max(_maximumValue, minimum);
  setUpTrack();
}

void FloatSlider::setMaximumValue(float maximum) {
  if (std::isnan(maximum)) return;
  _maximumValue = maximum;
  _minimumValue = std::min(_minimumValue, maximum);
  setUpTrack();
}

void FloatSlider::setValue(float value) {
  if (std::isnan(value)) return;
  store(value);
}

void FloatSlider::setShowsWholeNumber(bool wholeNumber) {
  _showsWholeNumber = wholeNumber;
  setUpTrack();
}

double FloatSlider::stepSize() const {
  return (double(_maximumValue) - double(_minimumValue)) / _positions;
}

// The fewest decimals that write every handle position's value in full.
int FloatSlider::decimals() const {
  const double step = stepSize();
  if (!(step > 0)) return 2;
  double scale = 1;
  for (int digits = 0; digits < 6; ++digits, scale *= 10)
    if (std::abs(step * scale - std::round(step * scale)) < 1e-6) return digits;
  return 6;
}

QString FloatSlider::valueText() const {
  if (_showsWholeNumber) return QString::number(std::trunc(_value), 'f', 0);
  return QString::number(_value, 'f', decimals());
}

QString FloatSlider::labelText() const {
  if (!parentWidget()) return {};
  for (const QLabel *label : parentWidget()->findChildren<QLabel *>())
    if (label->buddy() == this) return label->text().remove(QLatin1Char('&'));
  return {};
}

// Whole-number sliders step one whole number a key press; the others a
// hundredth of the range, a tenth a page.
void FloatSlider::setUpTrack() {
  _positions = _showsWholeNumber ? wholePositions(_minimumValue, _maximumValue) : kPositions;
  {
    const QSignalBlocker quiet(_track);
    _track->setRange(0, _positions);
    _track->setSingleStep(std::max(1, _positions / 100));
    _track->setPageStep(std::max(1, _positions / 10));
  }
  store(_value);
}

void FloatSlider::moveHandleNear(float value) {
  if (std::isnan(value)) return;
  moveHandle(positionOf(std::clamp(value, _minimumValue, _maximumValue)));
}

int FloatSlider::positionOf(float value) const {
  const double span = double(_maximumValue) - double(_minimumValue);
  return span > 0 ? int(std::lround((double(value) - double(_minimumValue)) / span * _positions))
                  : 0;
}

void FloatSlider::moveHandle(int position) {
  // The ends map to the range's ends exactly; between them in double, so the
  // float is the one nearest the handle's place.
  float value = _minimumValue;
  if (position >= _positions) {
    value = _maximumValue;
  } else if (position > 0) {
    const double span = double(_maximumValue) - double(_minimumValue);
    value = float(double(_minimumValue) + span * position / _positions);
  }
  store(value);
}

void FloatSlider::store(float value) {
  const float clamped = std::clamp(value, _minimumValue, _maximumValue);
  const bool changed = clamped != _value;
  _value = clamped;

  {
    const QSignalBlocker quiet(_track);
    _track->setValue(positionOf(_value));
  }
  showValue();
  if (changed) {
    QAccessibleValueChangeEvent event(_track, shownValue());
    QAccessible::updateAccessibility(&event);
    emit valueChanged(_value);
  }
}

void FloatSlider::showValue() { _label->setText(valueText()); }
