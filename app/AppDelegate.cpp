#include "app/AppDelegate.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <canny/cannyEdgeDetector.h>
#include "app/AboutDialog.h"
#include "app/RememberedState.h"
#include "app/WindowPlacement.h"
#include "screens/camera/FifthViewController.h"
#include "screens/picture/FirstPicViewController.h"
#include "screens/picture/FourthViewController.h"
#include "screens/picture/PictureToolBar.h"
#include "screens/picture/SecondPicViewController.h"
#include "screens/picture/ThirdPicViewController.h"

namespace {
AppDelegate *running = nullptr;

// The desktop entry's name without ".desktop": docks and task bars find the
// launcher's icon and name through it.
constexpr auto kDesktopFileName = "org.cannydemo.CannyDemo";

QIcon applicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/canny-demo-%1.png").arg(size), QSize(size, size));
  return icon;
}

// Room for the tool bar, a small picture, a few rows of the controls column (which
// scrolls) and the tabs; small enough for an 800 x 480 screen with a title bar.
constexpr QSize kMinimumWindowSize(480, 360);
}  // namespace

AppDelegate::AppDelegate() {
  if (!running) running = this;
  if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
    connect(application, &QGuiApplication::applicationStateChanged, this,
            &AppDelegate::applicationStateChanged);
    connect(application, &QCoreApplication::aboutToQuit, this,
            &AppDelegate::applicationWillTerminate);
  }
}

AppDelegate::~AppDelegate() {
  if (_window) rememberWindow(_window.get());
  if (running == this) running = nullptr;
}

AppDelegate *AppDelegate::shared() { return running; }

bool AppDelegate::didFinishLaunchingWithOptions(const QVariantMap &) {
  if (_window) return true;
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
  QGuiApplication::setWindowIcon(applicationIcon());

  const QScreen *screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  _window = std::make_unique<QWidget>();
  _window->setWindowTitle(QStringLiteral("Canny Demo"));
  _window->setWindowIcon(QGuiApplication::windowIcon());
  _window->setMinimumSize(kMinimumWindowSize);
  const WindowPlacement placement = placeWindow(area);
  _window->setGeometry(placement.geometry);

  _tabBarController = new QTabWidget(_window.get());
  _tabBarController->setTabPosition(QTabWidget::South);
  _tabBarController->setDocumentMode(true);
  // Every screen runs this delegate's detector entry.
  const DetectorFunction detector = [this](float t1, float t2, float sigma, std::int32_t steps,
                                           std::int32_t width, std::int32_t height,
                                           std::uint8_t *data) {
    return cannyEdgeDetector(t1, t2, sigma, steps, width, height, data);
  };
  const QList<PictureViewController *> screens{
      new FirstPicViewController(QStringLiteral("FirstPicViewController"), detector),
      new SecondPicViewController(QStringLiteral("SecondPicViewController"), detector),
      new ThirdPicViewController(QStringLiteral("ThirdPicViewController"), detector),
      new FourthViewController(QStringLiteral("FourthViewController"), detector),
      new FifthViewController(QStringLiteral("FifthViewController"), detector),
  };
  for (PictureViewController *screen : screens)
    _tabBarController->addTab(screen, screen->tabBarIcon(), screen->title());
  rememberTabsAndSliders(_tabBarController);

  auto *layout = new QVBoxLayout(_window.get());
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(_tabBarController);
  auto *help = new QToolButton(_tabBarController);
  help->setText(QStringLiteral("?"));
  help->setToolTip(tr("About Canny Demo, its sliders and keys (F1)"));
  help->setAccessibleName(tr("Help"));
  _tabBarController->setCornerWidget(help, Qt::BottomRightCorner);
  connect(help, &QToolButton::clicked, this, &AppDelegate::showAbout);
  auto *helpKey = new QShortcut(QKeySequence(Qt::Key_F1), _window.get());
  connect(helpKey, &QShortcut::activated, this, &AppDelegate::showAbout);

  restoreCurrentTab(_tabBarController);

  // Maximized, the window manager fits the frame, title bar included, into the
  // available area; without one, the geometry above already fills it. Where the
  // user left the window it opens again, maximized or not.
  if (restoreWindow(_window.get()))
    _window->show();
  else if (placement.maximised)
    _window->showMaximized();
  else
    _window->show();
  return true;
}

bool AppDelegate::cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps,
                                    std::int32_t width, std::int32_t height,
                                    std::uint8_t *data) const {
  return tryCannyEdgeDetector(t1, t2, sigma, steps, width, height, data);
}

QString AppDelegate::openPictureFile(const QString &path) {
  auto *camera = qobject_cast<FifthViewController *>(
      _tabBarController ? _tabBarController->widget(_tabBarController->count() - 1) : nullptr);
  if (!camera) return tr("%1 cannot be opened: the window is not built").arg(path);
  // Shown first, so that the camera it opens is closed again by the picture.
  _tabBarController->setCurrentWidget(camera);
  camera->loadViewIfNeeded();
  const QString error = camera->toolBar()->openFile(path);
  if (!error.isEmpty()) {
    camera->imagePickerControllerDidCancel();
    _tabBarController->setCurrentIndex(0);
  }
  return error;
}

AboutDialog *AppDelegate::about() const { return _about; }

void AppDelegate::showAbout() {
  if (!_about) _about = new AboutDialog(_window.get());
  _about->show();
  _about->raise();
  _about->activateWindow();
}

void AppDelegate::applicationStateChanged(Qt::ApplicationState state) {
  // The desktop's states told in the delegate's own words.
  const Qt::ApplicationState previous = _state;
  _state = state;
  if (previous == Qt::ApplicationActive) applicationWillResignActive();
  if (state == Qt::ApplicationHidden || state == Qt::ApplicationSuspended)
    applicationDidEnterBackground();
  if (previous == Qt::ApplicationHidden || previous == Qt::ApplicationSuspended)
    applicationWillEnterForeground();
  if (state == Qt::ApplicationActive) applicationDidBecomeActive();
}
