#pragma once
// The application's delegate: made before launch, launched once, it builds
// and owns the window with its five tabs, and carries the edge detector that
// it hands to every screen it builds. AppDelegate::shared() reaches it.
#include <QObject>
#include <QPointer>
#include <QVariantMap>
#include <cstdint>
#include <memory>

class AboutDialog;
class QTabWidget;
class QWidget;

class AppDelegate : public QObject {
  Q_OBJECT

 public:
  AppDelegate();
  ~AppDelegate() override;

  // The running delegate, or nullptr when there is none.
  static AppDelegate *shared();

  // Builds the window (sized to the primary screen's available area), the
  // five screens in tab order and the tab bar, and shows the window. The
  // options are not read. Always true; a second call changes nothing.
  bool didFinishLaunchingWithOptions(const QVariantMap &options);

  // Opens the picture file at `path` in the camera tab, read as its Open action reads it, and
  // shows that tab. Returns the one-line error, empty when it worked; the first tab stays
  // shown then.
  QString openPictureFile(const QString &path);

  QWidget *window() const { return _window.get(); }
  QTabWidget *tabBarController() const { return _tabBarController; }
  // Help: the sliders, the suggestion rule and the keys.
  void showAbout();
  AboutDialog *about() const;

  // The Canny edge detector over `data` (width * height gray bytes, rows of
  // width bytes), rewritten in place to 255 on edges and 0 elsewhere. False,
  // with the bytes unchanged, when the detector found no working memory.
  bool cannyEdgeDetector(float t1, float t2, float sigma, std::int32_t steps, std::int32_t width,
                         std::int32_t height, std::uint8_t *data) const;

  // Life-cycle notifications; nothing is saved or restored at any of them (the
  // window's state is remembered as it changes, its geometry when the delegate goes).
  void applicationWillResignActive() {}
  void applicationDidEnterBackground() {}
  void applicationWillEnterForeground() {}
  void applicationDidBecomeActive() {}
  void applicationWillTerminate() {}

 private:
  void applicationStateChanged(Qt::ApplicationState state);

  std::unique_ptr<QWidget> _window;
  QTabWidget *_tabBarController = nullptr;  // owned by the window
  QPointer<AboutDialog> _about;             // owned by the window, made when first asked for
  Qt::ApplicationState _state = Qt::ApplicationInactive;
};
