// The application as its user meets it: launch builds one window with five
// tabs; on each sample tab, clicks on Apply and Reset and moves of the
// sliders show exactly what the engine makes of the picture.
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>
#include <memory>

#include "app/AboutDialog.h"
#include "app/AppDelegate.h"
#include "app/StringsTable.h"
#include "app/WindowPlacement.h"
#include "screens/ImageNamed.h"
#include "screens/PictureViewController.h"
#include "tests/screens/TestScreens.h"

namespace {
PictureViewController *screenAt(const AppDelegate &delegate, int tab) {
  return qobject_cast<PictureViewController *>(delegate.tabBarController()->widget(tab));
}

// Selects a tab the way a user does: a click on it in the tab bar.
PictureViewController *clickTab(const AppDelegate &delegate, int tab) {
  QTabBar *bar = delegate.tabBarController()->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
  return screenAt(delegate, tab);
}

QStringList tabTitles(const AppDelegate &delegate) {
  QStringList titles;
  for (int tab = 0; tab < delegate.tabBarController()->count(); ++tab)
    titles << delegate.tabBarController()->tabText(tab);
  return titles;
}

QImage shown(const PictureViewController *screen) { return screen->image()->image(); }

QImage expectedEdgeMap(const PictureViewController *screen, const QImage &picture) {
  return engineEdgeMap(picture, screen->sliderT1()->value(), screen->sliderT2()->value(),
                       screen->sliderSigma()->value(),
                       std::int32_t(screen->sliderSteps()->value()));
}
}  // namespace

class AppTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void launchBuildsOneWindowWithFiveTabs();
  void launchIsDoneOnce();
  void titlesComeFromTheStringsTable();
  void titlesAreTheKeysWithoutAStringsTable();
  void screensAreBuiltWhenFirstShown();
  void applyAndResetOnEachSampleTab_data();
  void applyAndResetOnEachSampleTab();
  void slidersMovedByTheUserReachTheDetector();
  void windowOpensCentredOrMaximisedOnASmallScreen();
  void helpTellsTheSlidersAndKeys();

 private:
  // Launches a new application in place of the running one.
  void relaunch(bool withStringsTable);

  QTranslator _strings;
  std::unique_ptr<AppDelegate> _delegate;
};

void AppTest::relaunch(bool withStringsTable) {
  _delegate.reset();  // one running delegate at a time
  QCoreApplication::removeTranslator(&_strings);
  if (withStringsTable) QVERIFY(installStringsTable(_strings));
  _delegate = std::make_unique<AppDelegate>();
  // Any options build the same application.
  QVERIFY(_delegate->didFinishLaunchingWithOptions({{"opened-from", "another application"}}));
  QVERIFY(QTest::qWaitForWindowExposed(_delegate->window()));
}

void AppTest::initTestCase() {
  QStandardPaths::setTestModeEnabled(true);  // the user's remembered settings stay out
  relaunch(true);
}

void AppTest::launchBuildsOneWindowWithFiveTabs() {
  QCOMPARE(AppDelegate::shared(), _delegate.get());
  QWidget *window = _delegate->window();
  QVERIFY(window->isVisible());
  QCOMPARE(window->windowTitle(), QStringLiteral("Canny Demo"));
  const QList<QWidget *> topLevels = QApplication::topLevelWidgets();
  QCOMPARE(std::count_if(topLevels.begin(), topLevels.end(),
                         [](const QWidget *w) { return w->isVisible(); }),
           1);

  QTabWidget *tabs = _delegate->tabBarController();
  QCOMPARE(tabs->window(), window);
  QCOMPARE(tabs->tabPosition(), QTabWidget::South);
  QCOMPARE(tabs->count(), 5);
  const QStringList classes{"FirstPicViewController", "SecondPicViewController",
                            "ThirdPicViewController", "FourthViewController",
                            "FifthViewController"};
  for (int tab = 0; tab < 5; ++tab) {
    QCOMPARE(tabs->widget(tab)->metaObject()->className(), classes[tab]);
    QCOMPARE(screenAt(*_delegate, tab)->nibName(), classes[tab]);
  }
  QCOMPARE(tabs->currentIndex(), 0);
}

void AppTest::launchIsDoneOnce() {
  QTabWidget *tabs = _delegate->tabBarController();
  QVERIFY(_delegate->didFinishLaunchingWithOptions({}));
  QCOMPARE(_delegate->tabBarController(), tabs);
  QCOMPARE(tabs->count(), 5);
}

void AppTest::titlesComeFromTheStringsTable() {
  QCOMPARE(tabTitles(*_delegate), QStringList({"First", "Second", "Third", "Fourth", "Fifth"}));
  // The key stays "Forth"; only the table spells it out.
  QCOMPARE(QByteArray(screenAt(*_delegate, 3)->constants().titleKey), QByteArray("Forth"));
}

void AppTest::titlesAreTheKeysWithoutAStringsTable() {
  relaunch(false);
  QCOMPARE(tabTitles(*_delegate), QStringList({"First", "Second", "Third", "Forth", "Fifth"}));
  relaunch(true);  // back to the application as shipped
  QCOMPARE(tabTitles(*_delegate).at(3), QStringLiteral("Fourth"));
}

void AppTest::screensAreBuiltWhenFirstShown() {
  QVERIFY(QTest::qWaitForWindowExposed(_delegate->window()));
  QVERIFY(screenAt(*_delegate, 0)->isViewLoaded());
  for (int tab = 1; tab < 5; ++tab) QVERIFY(!screenAt(*_delegate, tab)->isViewLoaded());
  PictureViewController *fifth = clickTab(*_delegate, 4);
  QCOMPARE(_delegate->tabBarController()->currentIndex(), 4);
  QVERIFY(fifth->isViewLoaded());
  QVERIFY(shown(fifth).isNull());  // the camera screen has no picture yet
  clickTab(*_delegate, 0);
}

void AppTest::applyAndResetOnEachSampleTab_data() {
  QTest::addColumn<int>("tab");
  QTest::addColumn<QString>("picture");
  QTest::newRow("first") << 0 << "firstPic.png";
  QTest::newRow("second") << 1 << "secondPic";
  QTest::newRow("third") << 2 << "thirdPic";
  QTest::newRow("fourth") << 3 << "fourthPic";
}

void AppTest::applyAndResetOnEachSampleTab() {
  QFETCH(int, tab);
  QFETCH(QString, picture);
  PictureViewController *screen = clickTab(*_delegate, tab);
  QCOMPARE(_delegate->tabBarController()->currentIndex(), tab);
  QVERIFY(screen->isVisible());
  const QImage sample = imageNamed(picture);
  QVERIFY(!sample.isNull());
  // Each tab opens with its picture.
  QCOMPARE(shown(screen), sample);

  QTest::mouseClick(screen->resetButton(), Qt::LeftButton);
  QCOMPARE(shown(screen), sample);

  QTest::mouseClick(screen->applyButton(), Qt::LeftButton);
  const QImage edges = shown(screen);
  QCOMPARE(edges.size(), sample.size());
  QVERIFY(isBlackAndWhiteEdgeMap(edges));
  QCOMPARE(edges, expectedEdgeMap(screen, sample));

  // Apply starts from the picture each time, never from what is shown.
  QTest::mouseClick(screen->applyButton(), Qt::LeftButton);
  QCOMPARE(shown(screen), edges);

  QTest::mouseClick(screen->resetButton(), Qt::LeftButton);
  QCOMPARE(shown(screen), sample);
}

void AppTest::slidersMovedByTheUserReachTheDetector() {
  PictureViewController *screen = clickTab(*_delegate, 2);
  const QImage sample = imageNamed("thirdPic");
  // Sigma up three steps (1.8), Steps down one (3.92, used as 3), T1 up one.
  for (int i = 0; i < 3; ++i) QTest::keyClick(screen->sliderSigma()->track(), Qt::Key_Right);
  QTest::keyClick(screen->sliderSteps()->track(), Qt::Key_Left);
  QTest::keyClick(screen->sliderT1()->track(), Qt::Key_Right);
  QCOMPARE(screen->sliderSteps()->valueText(), QStringLiteral("3"));
  QVERIFY(screen->sliderSigma()->value() > 1.7f && screen->sliderSigma()->value() < 1.9f);

  QTest::mouseClick(screen->applyButton(), Qt::LeftButton);
  const QImage edges = shown(screen);
  QCOMPARE(edges, engineEdgeMap(sample, screen->sliderT1()->value(), 6,
                                screen->sliderSigma()->value(), 3));
  QVERIFY(edges != engineEdgeMap(sample, 2, 6, 0, 4));
}

// Run on the default small screen and, by ctest, on a large one.
void AppTest::windowOpensCentredOrMaximisedOnASmallScreen() {
  QWidget *window = _delegate->window();
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  if (available.width() < kComfortableWindowSize.width()) {
    QVERIFY(window->isMaximized());
    QCOMPARE(window->frameGeometry(), available);
    // No longer maximised, it comes back smaller, centred, its frame on screen.
    QCOMPARE(window->normalGeometry().center(), available.center());
    QVERIFY(window->normalGeometry().height() < available.height() - 40);
    return;
  }
  QVERIFY(!window->isMaximized());
  QVERIFY(available.contains(window->frameGeometry()));
  QCOMPARE(window->geometry().center(), available.center());
  QVERIFY(window->width() >= kComfortableWindowSize.width());
  QVERIFY(window->height() < available.height());
}

void AppTest::helpTellsTheSlidersAndKeys() {
  QVERIFY(!_delegate->about());
  // The camera tab's dialog, modal, would keep the key from the window.
  for (QWidget *top : QApplication::topLevelWidgets())
    if (qobject_cast<QDialog *>(top)) top->close();
  _delegate->window()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(_delegate->window()));
  QTest::keyClick(_delegate->window(), Qt::Key_F1);
  QVERIFY(_delegate->about() && _delegate->about()->isVisible());
  const QString text = _delegate->about()->text()->text();
  for (const char *word : {"T1", "T2", "Sigma", "Steps", "80th percentile", "40 %", "Ctrl+O"})
    QVERIFY2(text.contains(word), word);
  _delegate->about()->close();
}

QTEST_MAIN(AppTest)
#include "app_test.moc"
