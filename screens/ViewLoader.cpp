#include "screens/ViewLoader.h"

#include <QFile>
#include <QUiLoader>
#include <QWidget>

#include "screens/FloatSlider.h"
#include "screens/ImageView.h"

namespace {
class OwnerLoader : public QUiLoader {
 public:
  explicit OwnerLoader(QWidget *owner) : _owner(owner) { clearPluginPaths(); }

  QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override {
    if (!parent) {
      // The top-level widget: the screen itself, or nothing.
      return className == QLatin1String(_owner->metaObject()->className()) ? _owner : nullptr;
    }
    QWidget *widget = nullptr;
    if (className == QLatin1String("FloatSlider")) {
      widget = new FloatSlider(parent);
    } else if (className == QLatin1String("ImageView")) {
      widget = new ImageView(parent);
    } else {
      return QUiLoader::createWidget(className, parent, name);
    }
    widget->setObjectName(name);
    return widget;
  }

 private:
  QWidget *_owner;
};
}  // namespace

QObjectList loadView(const QString &resourcePath, QWidget *owner) {
  QFile file(resourcePath);
  if (!file.open(QIODevice::ReadOnly)) {
    qWarning("Interface file %s cannot be read", qPrintable(resourcePath));
    return {};
  }
  const QObjectList before = owner->children();
  OwnerLoader loader(owner);
  const bool loaded = loader.load(&file) == owner;
  QObjectList added;
  for (QObject *child : owner->children()) {
    if (!before.contains(child)) added.append(child);
  }
  if (!loaded) {
    qDeleteAll(added);
    qWarning("Interface file %s is not a form for %s: %s", qPrintable(resourcePath),
             owner->metaObject()->className(), qPrintable(loader.errorString()));
    return {};
  }
  return added;
}
