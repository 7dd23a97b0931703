#include "app/RememberedState.h"

#include <QTabWidget>
#include <QWidget>

#include "screens/picture/PictureViewController.h"
#include "screens/widgets/FloatSlider.h"
#include "screens/widgets/UserSettings.h"

namespace {
constexpr auto kGeometryKey = "window/geometry";
constexpr auto kTabKey = "window/tab";

QString sliderKey(const PictureViewController *screen, const char *slider) {
  return QStringLiteral("sliders/%1/%2").arg(screen->nibName(), QLatin1String(slider));
}

struct NamedSlider {
  const char *name;
  FloatSlider *slider;
};

QList<NamedSlider> slidersOf(const PictureViewController *screen) {
  return {{"t1", screen->sliderT1()},
          {"t2", screen->sliderT2()},
          {"sigma", screen->sliderSigma()},
          {"steps", screen->sliderSteps()}};
}

void restoreSliders(PictureViewController *screen) {
  const QSettings settings = userSettings();
  for (const auto &[name, slider] : slidersOf(screen)) {
    bool ok = false;
    // The slider clamps a value out of its range; one that is no number is left out.
    const float value = settings.value(sliderKey(screen, name)).toFloat(&ok);
    if (slider && ok) slider->setValue(value);
  }
}

void rememberSliders(PictureViewController *screen) {
  for (const auto &[name, slider] : slidersOf(screen))
    if (slider)
      QObject::connect(slider, &FloatSlider::valueChanged, screen, [screen, name](float value) {
        userSettings().setValue(sliderKey(screen, name), value);
      });
}
}  // namespace

bool restoreWindow(QWidget *window) {
  const QByteArray geometry = userSettings().value(kGeometryKey).toByteArray();
  return !geometry.isEmpty() && window->restoreGeometry(geometry);
}

void restoreCurrentTab(QTabWidget *tabs) {
  bool ok = false;
  const int tab = userSettings().value(kTabKey).toInt(&ok);
  if (!ok || tab < 0 || tab >= tabs->count()) return;
  // The camera's tab is not brought back: it would turn the camera on unasked.
  const auto *screen = qobject_cast<PictureViewController *>(tabs->widget(tab));
  if (screen && screen->constants().picture) tabs->setCurrentIndex(tab);
}

void rememberTabsAndSliders(QTabWidget *tabs) {
  QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                   [](int tab) { userSettings().setValue(kTabKey, tab); });
  for (int tab = 0; tab < tabs->count(); ++tab) {
    auto *screen = qobject_cast<PictureViewController *>(tabs->widget(tab));
    if (!screen) continue;
    auto restore = [screen] {
      restoreSliders(screen);
      rememberSliders(screen);
    };
    if (screen->isViewLoaded())
      restore();
    else
      QObject::connect(screen, &PictureViewController::viewLoaded, screen, restore);
  }
}

void rememberWindow(const QWidget *window) {
  userSettings().setValue(kGeometryKey, window->saveGeometry());
}
