#include "screens/widgets/ScreenAccessibility.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QSlider>

#include "screens/picture/CannyCommand.h"
#include "screens/widgets/FloatSlider.h"
#include "screens/widgets/ImageView.h"

namespace {
class FloatSliderHandle : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  FloatSliderHandle(QSlider *track, FloatSlider *slider)
      : QAccessibleWidget(track, QAccessible::Slider), _slider(slider) {}

  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text kind) const override {
    switch (kind) {
      case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
        if (!_slider->accessibleName().isEmpty()) return _slider->accessibleName();
        return _slider->labelText();
      case QAccessible::Description:
        if (!_slider->accessibleDescription().isEmpty()) return _slider->accessibleDescription();
        return _slider->toolTip();
      case QAccessible::Value:
        if (_slider->unitName().isEmpty()) return _slider->valueText();
        return _slider->valueText() + QLatin1Char(' ') + _slider->unitName();
      default:
        return QAccessibleWidget::text(kind);
    }
  }

  // The numbers as a person reads them, not the floats' binary expansions.
  QVariant currentValue() const override { return _slider->shownValue(); }
  void setCurrentValue(const QVariant &value) override { _slider->setValue(value.toFloat()); }
  QVariant maximumValue() const override {
    return shortestDecimal(_slider->maximumValue()).toDouble();
  }
  QVariant minimumValue() const override {
    return shortestDecimal(_slider->minimumValue()).toDouble();
  }
  QVariant minimumStepSize() const override { return _slider->stepSize(); }

 private:
  FloatSlider *_slider;
};

QAccessibleInterface *screenInterface(const QString &, QObject *object) {
  if (auto *view = qobject_cast<ImageView *>(object))
    return new QAccessibleWidget(view, QAccessible::Graphic);
  auto *track = qobject_cast<QSlider *>(object);
  auto *slider = track ? qobject_cast<FloatSlider *>(track->parentWidget()) : nullptr;
  if (!slider || slider->track() != track) return nullptr;
  return new FloatSliderHandle(track, slider);
}
}  // namespace

void installScreenAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(screenInterface);
    return true;
  }();
  (void)installed;
}
