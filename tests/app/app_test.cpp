// The application as its user meets it: one window with five tabs; Apply and Reset on each
// sample tab show exactly what the engine makes of the picture.
#include <QtTest>
#include <QtWidgets>

#include "app/AppDelegate.h"
#include "app/StringsTable.h"
#include "app/WindowPlacement.h"
#include "screens/picture/PictureToolBar.h"
#include "screens/widgets/FloatSlider.h"
#include "screens/widgets/ImageNamed.h"
#include "tests/screens/TestScreens.h"

namespace {
PictureViewController *clickTab(const AppDelegate &delegate, int tab) {
  QTabBar *bar = delegate.tabBarController()->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
  return qobject_cast<PictureViewController *>(delegate.tabBarController()->widget(tab));
}

// Whether every control of the window's tabs is inside the window and the screen, once its column
// is scrolled to it, and shown whole: buttons at their full width, labels with all their text.
bool everyControlFits(const AppDelegate &delegate) {
  QWidget *window = delegate.window();
  QTabWidget *tabs = delegate.tabBarController();
  bool fits = true;
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    QTest::qWait(20);  // the layouts settle
    for (QWidget *control : window->findChildren<QWidget *>()) {
      auto *button = qobject_cast<QAbstractButton *>(control);
      auto *label = qobject_cast<QLabel *>(control);
      if (!control->isVisible() || control->window() != window ||
          !(button || label || qobject_cast<FloatSlider *>(control) ||
            qobject_cast<QComboBox *>(control) || qobject_cast<QTabBar *>(control)))
        continue;
      const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
      QRect within = window->rect() & QRect(window->mapFromGlobal(screen.topLeft()), screen.size());
      for (QWidget *up = control->parentWidget(); up; up = up->parentWidget())
        if (auto *scroll = qobject_cast<QScrollArea *>(up)) {
          scroll->ensureWidgetVisible(control, 0, 0);
          within &= QRect(scroll->viewport()->mapTo(window, QPoint()), scroll->viewport()->size());
        }
      const QRect at(control->mapTo(window, QPoint()), control->size());
      const bool whole =
          button  ? control->width() >= control->sizeHint().width()
          : label ? (label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                       : label->sizeHint().width() <= label->width())
                  : true;
      if (!within.contains(at) || !whole) {
        qWarning() << "cut:" << control
                   << (button  ? button->text()
                       : label ? label->text()
                               : "")
                   << at << within;
        fits = false;
      }
    }
  }
  return fits;
}

QStringList tabTitles(const AppDelegate &delegate) {
  QStringList titles;
  for (int tab = 0; tab < delegate.tabBarController()->count(); ++tab)
    titles << delegate.tabBarController()->tabText(tab);
  return titles;
}
}  // namespace

class AppTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    // What the window remembers stays out of the user's settings and of the other runs'.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, _settings.path());
    relaunch(false);
  }

  void launchBuildsOneWindowWithFiveTabsOnce() {
    // Without a strings table the titles are the keys, "Forth" among them.
    QCOMPARE(tabTitles(*_delegate), QStringList({"First", "Second", "Third", "Forth", "Fifth"}));
    relaunch(true);  // the application as shipped
    QCOMPARE(AppDelegate::shared(), _delegate.get());
    QCOMPARE(_delegate->window()->windowTitle(), QStringLiteral("Canny Demo"));
    // Docks match the window to the launcher by the desktop entry's name, and show its icon.
    QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.cannydemo.CannyDemo"));
    QCOMPARE(_delegate->window()->windowIcon().availableSizes().size(), 7);
    QTabWidget *tabs = _delegate->tabBarController();
    QCOMPARE(tabs->tabPosition(), QTabWidget::South);
    QCOMPARE(tabTitles(*_delegate), QStringList({"First", "Second", "Third", "Fourth", "Fifth"}));
    QCOMPARE(tabs->currentIndex(), 0);
    // The camera tab has an icon of its own.
    const QImage camera = tabs->tabIcon(4).pixmap(32).toImage();
    QVERIFY(!camera.isNull());
    for (int tab = 0; tab < 4; ++tab) QVERIFY(tabs->tabIcon(tab).pixmap(32).toImage() != camera);
    // A second launch builds nothing more.
    QVERIFY(_delegate->didFinishLaunchingWithOptions({}));
    QVERIFY(_delegate->tabBarController() == tabs && tabs->count() == 5);

    // Screens are built when first shown; the camera screen has no picture yet.
    auto *fifth = qobject_cast<PictureViewController *>(tabs->widget(4));
    QVERIFY(!fifth->isViewLoaded());
    clickTab(*_delegate, 4);
    QVERIFY(fifth->isViewLoaded() && shown(*fifth).isNull());
  }

  void applyAndResetOnEachSampleTab() {
    const char *pictures[] = {"firstPic.png", "secondPic", "thirdPic", "fourthPic"};
    for (int tab = 0; tab < 4; ++tab) {
      PictureViewController *screen = clickTab(*_delegate, tab);
      const QImage sample = imageNamed(pictures[tab]);
      QVERIFY(!sample.isNull());
      QCOMPARE(shown(*screen), sample);  // each tab opens with its picture

      clickOn(screen->applyButton());
      QVERIFY(settled(*screen));
      const QImage edges = shown(*screen);
      QVERIFY(isBlackAndWhiteEdgeMap(edges));
      QCOMPARE(edges, edgeMap(sample, screen->sliderSettings()));
      // Apply starts from the picture each time, never from what is shown.
      clickOn(screen->applyButton());
      QVERIFY(settled(*screen));
      QCOMPARE(shown(*screen), edges);
      clickOn(screen->resetButton());
      QCOMPARE(shown(*screen), sample);
    }
  }

  void aPictureGivenAtLaunchOpensInTheCameraTab() {
    QTemporaryDir dir;
    const QImage own = imageNamed("thirdPic").copy(0, 0, 160, 96);
    QVERIFY(own.save(dir.filePath("own.png")));
    QTabWidget *tabs = _delegate->tabBarController();
    QVERIFY(_delegate->openPictureFile(dir.filePath("own.png")).isEmpty());
    auto *camera = qobject_cast<PictureViewController *>(tabs->widget(4));
    QCOMPARE(tabs->currentWidget(), camera);
    QCOMPARE(shown(*camera).size(), QSize(20, 12) * camera->devicePixelRatio());
    tabs->setCurrentIndex(1);
    QVERIFY(_delegate->openPictureFile(dir.filePath("none.png")).contains("none.png"));
    QCOMPARE(tabs->currentIndex(), 0);
  }

  // Run on the default small screen and, by ctest, on a large one.
  void windowOpensCentredOrMaximisedOnASmallScreen() {
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
  }

  // The next launch shows the window where the user left it, the tab and each tab's sliders;
  // not the camera's tab, which would turn the camera on.
  void theWindowComesBackAsItWasLeft() {
    PictureViewController *third = clickTab(*_delegate, 2);
    third->sliderT1()->setValue(0.6f);
    third->sliderSteps()->setValue(3.0f);
    QWidget *window = _delegate->window();
    window->showNormal();
    QTRY_VERIFY(!window->isMaximized());
    window->setGeometry(40, 50, 600, 580);
    QTRY_COMPARE(window->geometry(), QRect(40, 50, 600, 580));
    const EdgeSettings first = clickTab(*_delegate, 0)->sliderSettings();
    clickTab(*_delegate, 2);
    relaunch(true);
    QCOMPARE(_delegate->window()->geometry(), QRect(40, 50, 600, 580));
    QCOMPARE(_delegate->tabBarController()->currentIndex(), 2);
    third = qobject_cast<PictureViewController *>(_delegate->tabBarController()->widget(2));
    QCOMPARE(third->sliderT1()->value(), 0.6f);
    QCOMPARE(third->sliderSettings().steps, 3);
    QCOMPARE(clickTab(*_delegate, 0)->sliderSettings(), first);
    clickTab(*_delegate, 4);
    relaunch(true);
    QCOMPARE(_delegate->tabBarController()->currentIndex(), 0);
  }

  // Run in the C locale here and, by ctest, under LANG=de_DE.UTF-8: the window speaks the
  // system's language where it has a table for it, English otherwise.
  void theWindowSpeaksTheSystemLanguage() {
    const bool german = QLocale::system().language() == QLocale::German;
    if (qEnvironmentVariableIsEmpty("LC_ALL"))  // ctest's German run did choose German
      QCOMPARE(german, qEnvironmentVariable("LANG").startsWith("de"));
    relaunch(true);
    PictureViewController *first = clickTab(*_delegate, 0);
    QCOMPARE(tabTitles(*_delegate),
             german ? QStringList({"Erste", "Zweite", "Dritte", "Vierte", "Fünfte"})
                    : QStringList({"First", "Second", "Third", "Fourth", "Fifth"}));
    QCOMPARE(first->applyButton()->text(), german ? "Anwenden" : "Apply");
    QCOMPARE(first->toolBar()->revertAction()->text(), german ? "Zurück" : "Revert");
    QCOMPARE(first->findChild<QLabel *>("labelSteps")->text(), german ? "Durchgänge" : "Steps");
    // The reader's reasons too: a PNG whose second chunk's type is no name.
    QTemporaryDir dir;
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && imageNamed("thirdPic").save(&buffer, "png"));
    png[37] = '1';  // after the signature (8 bytes) and IHDR (25), the next chunk's type
    QFile file(dir.filePath("damaged.png"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
    file.close();
    const QString message = _delegate->openPictureFile(file.fileName());
    QVERIFY2(message.endsWith(german ? "(die Daten sind beschädigt: ein PNG-Blocktyp ohne Namen)"
                                     : "(the data is damaged: a PNG chunk type not named)"),
             qPrintable(message));
  }

  // Run at the smallest window and, by ctest, on an 800 x 480 screen, maximised.
  void everyControlIsWithinReach() {
    QWidget *window = _delegate->window();
    for (int tab = 0; tab < 4; ++tab) {  // results in the status lines
      PictureViewController *screen = clickTab(*_delegate, tab);
      clickOn(screen->applyButton());
      QVERIFY(settled(*screen));
    }
    QVERIFY(everyControlFits(*_delegate));
    // The window manager keeps the window at least this size, frame around.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize frame = window->frameGeometry().size() - window->size();
    QVERIFY(available.size().boundedTo(window->minimumSize() + frame) ==
            window->minimumSize() + frame);
    window->showNormal();
    for (const QSize size : {window->minimumSize(), QSize(480, 560)}) {
      if (size.height() > available.height()) continue;
      window->resize(size);
      QVERIFY(everyControlFits(*_delegate));
    }
  }

 private:
  void relaunch(bool withStringsTable);

  QTemporaryDir _settings;
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

QTEST_MAIN(AppTest)
#include "app_test.moc"
