#include "screens/FloatSlider.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

FloatSlider::FloatSlider(QWidget *parent)
    : QWidget(parent), _track(new QSlider(Qt::Horizontal, this)), _label(new QLabel(this)) {
  _track->setRange(0, positions);
  _track->setSingleStep(positions / 100);
  _track->setPageStep(positions / 10);
  _label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // Wide enough for the longest value the sliders hold, so the track does not
  // jump while the value changes.
  _label->setMinimumWidth(_label->fontMetrics().horizontalAdvance(QStringLiteral("-000.00")));

  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(_track, 1);
  layout->addWidget(_label);

  // Only the user moves the handle while its signals are on: a value set in
  // code is stored as given and the handle is merely placed near it.
  connect(_track, &QSlider::valueChanged, this, &FloatSlider::moveHandle);
  showValue();
}

void FloatSlider::setMinimumValue(float minimum) {
  if (std::isnan(minimum)) return;
  _minimumValue = minimum;
  _maximumValue = std::max(_maximumValue, minimum);
  store(_value);
}

void FloatSlider::setMaximumValue(float maximum) {
  if (std::isnan(maximum)) return;
  _maximumValue = maximum;
  _minimumValue = std::min(_minimumValue, maximum);
  store(_value);
}

void FloatSlider::setValue(float value) {
  if (std::isnan(value)) return;
  store(value);
}

void FloatSlider::setShowsWholeNumber(bool wholeNumber) {
  _showsWholeNumber = wholeNumber;
  showValue();
}

QString FloatSlider::valueText() const {
  if (_showsWholeNumber) return QString::number(std::trunc(_value), 'f', 0);
  return QString::number(_value, 'f', 2);
}

void FloatSlider::moveHandle(int position) {
  // The ends map to the range's ends exactly; between them in double, so the
  // float is the one nearest the handle's place.
  float value = _minimumValue;
  if (position >= positions) {
    value = _maximumValue;
  } else if (position > 0) {
    const double span = double(_maximumValue) - double(_minimumValue);
    value = float(double(_minimumValue) + span * position / positions);
  }
  store(value);
}

void FloatSlider::store(float value) {
  const float clamped = std::clamp(value, _minimumValue, _maximumValue);
  const bool changed = clamped != _value;
  _value = clamped;

  const double span = double(_maximumValue) - double(_minimumValue);
  const int position =
      span > 0 ? int(std::lround((double(_value) - double(_minimumValue)) / span * positions)) : 0;
  {
    const QSignalBlocker quiet(_track);
    _track->setValue(position);
  }
  showValue();
  if (changed) emit valueChanged(_value);
}

void FloatSlider::showValue() { _label->setText(valueText()); }
