// The camera screen end to end with a camera Qt Multimedia really drives: a
// GStreamer test pattern published through a private PipeWire. The dialog
// lists it, shows it, takes a still from it, and notices cameras coming and
// going. Skipped where PipeWire and its helpers cannot run.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QVideoSink>
#include <QtTest>
#include <memory>
#include "screens/ImageView.h"

#include "app/AppDelegate.h"
#include "screens/CameraDialog.h"
#include "screens/CameraDialogSource.h"
#include "screens/FifthViewController.h"
#include "tests/screens/PipeWireTestCamera.h"
#include "tests/screens/TestScreens.h"

namespace {
// Generous: a loaded machine takes a while to get a pipeline streaming.
constexpr int cameraWaitMs = 20000;

bool isListed(const QString &name) {
  for (const QCameraDevice &camera : QMediaDevices::videoInputs())
    if (camera.description() == name) return true;
  return false;
}

QStringList chooserItems(const CameraDialog *dialog) {
  QStringList items;
  for (int i = 0; i < dialog->cameraChooser()->count(); ++i)
    items << dialog->cameraChooser()->itemText(i);
  return items;
}

// The dialog opened last over the screen.
CameraDialog *openDialogOf(const FifthViewController &screen) {
  const QList<CameraDialog *> dialogs = screen.findChildren<CameraDialog *>();
  return dialogs.isEmpty() ? nullptr : dialogs.last();
}

void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }

// Waits until the viewfinder shows the camera's picture. The tests never
// stop a camera before that: with PipeWire 0.3.65, a stream stopped before
// its first frame leaves the test cameras stalled for good.
void waitForPicture(CameraDialog *dialog, QSize size) {
  QTRY_COMPARE_WITH_TIMEOUT(dialog->viewfinder()->image().size(), size, cameraWaitMs);
}

// Picks a camera in the dialog's chooser with the arrow keys, as a user can.
void chooseCamera(CameraDialog *dialog, const QString &name) {
  QComboBox *chooser = dialog->cameraChooser();
  const int wanted = chooser->findText(name);
  QVERIFY(wanted >= 0);
  while (chooser->currentIndex() != wanted)
    QTest::keyClick(chooser, chooser->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
}
}  // namespace

class CameraPipeWireTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void takesAStillAndTheScreenProcessesIt();
  void camerasComingAndGoingAreNoticed();

 private:
  std::unique_ptr<PipeWireTestCamera> _cameras;
  std::unique_ptr<AppDelegate> _delegate;
};

void CameraPipeWireTest::initTestCase() {
  // Before anything touches Qt Multimedia, which looks for PipeWire once.
  _cameras = std::make_unique<PipeWireTestCamera>();
  if (!_cameras->whyNot().isEmpty()) QSKIP(qPrintable("no PipeWire here: " + _cameras->whyNot()));
  // Qt 6.4 lists a camera that is there before its first look twice, and
  // keeps one of the two after the camera has gone; one published later it
  // lists once and drops when it goes. So cameras come and go only among
  // those published after a first look; CAMERA_THERE_FIRST has the camera
  // there before, as a user meets it.
  if (!qEnvironmentVariableIsSet("CAMERA_THERE_FIRST")) QVERIFY(!isListed("FakeCam"));
  if (!_cameras->publish("FakeCam", {320, 240}))
    QSKIP(qPrintable("no PipeWire test camera here: " + _cameras->whyNot()));
  if (!QTest::qWaitFor([] { return isListed("FakeCam"); }, cameraWaitMs))
    QSKIP("Qt Multimedia does not list the PipeWire test camera here");
  _delegate = std::make_unique<AppDelegate>();
}

void CameraPipeWireTest::cleanupTestCase() {
  _delegate.reset();
  _cameras.reset();
}

void CameraPipeWireTest::takesAStillAndTheScreenProcessesIt() {
  FifthViewController screen("FifthViewController", tryCannyEdgeDetector);
  screen.show();
  CameraDialog *dialog = openDialogOf(screen);
  QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
  QVERIFY(chooserItems(dialog).contains("FakeCam"));
  QVERIFY(dialog->noCameraNotice()->isHidden());

  // The viewfinder shows the pattern at the camera's size.
  waitForPicture(dialog, {320, 240});
  // Asked for, the viewfinder shows the frames' edge maps.
  QVERIFY(dialog->edgesBox()->isVisible());
  dialog->edgesBox()->setChecked(true);
  QTRY_VERIFY_WITH_TIMEOUT(isBlackAndWhiteEdgeMap(dialog->viewfinder()->image()), cameraWaitMs);
  QTRY_VERIFY_WITH_TIMEOUT(dialog->takeButton()->isEnabled(), cameraWaitMs);
  // Return takes the picture, whichever button has the focus.
  dialog->setFileChooser([](QWidget *) { return QString(); });
  QTest::keyClick(dialog->openFileButton(), Qt::Key_Return);
  QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), cameraWaitMs);
  QVERIFY(dialog->message()->text().isEmpty());
  QVERIFY(!dialog->camera());  // stopped once closed

  // 320 x 240 taken, 40 x 30 points kept, and Apply shows its edge map.
  QCOMPARE(screen.preImage().deviceIndependentSize(), QSizeF(40, 30));
  QCOMPARE(screen.image()->image(), screen.preImage());
  clickOn(screen.applyButton());
  QCOMPARE(screen.image()->image(), engineEdgeMap(screen.preImage(), 2, 6, 2, 4));
  QVERIFY(isBlackAndWhiteEdgeMap(screen.image()->image()));

  // Back on the tab: the camera runs again. Cancel, even with a picture on
  // its way, keeps what was there.
  const QImage kept = screen.preImage();
  const QImage edges = screen.image()->image();
  screen.hide();
  screen.show();
  CameraDialog *again = openDialogOf(screen);
  QVERIFY(again && again != dialog && again->isVisible());
  waitForPicture(again, {320, 240});
  QVERIFY(again->takeButton()->isEnabled());
  clickOn(again->takeButton());
  clickOn(again->cancelButton());
  QTRY_VERIFY_WITH_TIMEOUT(!again->isVisible(), cameraWaitMs);
  QVERIFY(!again->camera());
  QCOMPARE(screen.preImage(), kept);
  QCOMPARE(screen.image()->image(), edges);
}

void CameraPipeWireTest::camerasComingAndGoingAreNoticed() {
  CameraDialog dialog;
  dialog.show();
  waitForPicture(&dialog, {320, 240});

  // A second camera turns up: it can be chosen, and Take uses it.
  QVERIFY2(_cameras->publish("SecondCam", {160, 120}), qPrintable(_cameras->whyNot()));
  QTRY_VERIFY_WITH_TIMEOUT(chooserItems(&dialog).contains("SecondCam"), cameraWaitMs);
  QVERIFY(dialog.cameraChooser()->isVisible());
  QCOMPARE(dialog.camera()->cameraDevice().description(), QStringLiteral("FakeCam"));
  chooseCamera(&dialog, "SecondCam");
  QCOMPARE(dialog.camera()->cameraDevice().description(), QStringLiteral("SecondCam"));
  waitForPicture(&dialog, {160, 120});
  QTRY_VERIFY_WITH_TIMEOUT(dialog.takeButton()->isEnabled(), cameraWaitMs);
  QSignalSpy taken(&dialog, &CameraDialog::pictureTaken);
  clickOn(dialog.takeButton());
  QTRY_COMPARE_WITH_TIMEOUT(taken.size(), 1, cameraWaitMs);
  QCOMPARE(taken[0][0].value<QImage>().size(), QSize(160, 120));
  dialog.dismiss();
  QVERIFY(!dialog.isVisible());
  QVERIFY(!dialog.camera());

  // Open again, the choice stands; back to the first camera.
  dialog.show();
  QCOMPARE(dialog.camera()->cameraDevice().description(), QStringLiteral("SecondCam"));
  waitForPicture(&dialog, {160, 120});
  chooseCamera(&dialog, "FakeCam");
  QCOMPARE(dialog.camera()->cameraDevice().description(), QStringLiteral("FakeCam"));
  waitForPicture(&dialog, {320, 240});

  // The other camera goes while the dialog is open. (Only a camera that is
  // not running: PipeWire's GStreamer source of Debian 12 frees the memory
  // of frames still on their way when its camera vanishes mid-stream.)
  _cameras->unpublish("SecondCam");
  QTRY_COMPARE_WITH_TIMEOUT(chooserItems(&dialog), QStringList{"FakeCam"}, cameraWaitMs);
  QVERIFY(dialog.cameraChooser()->isHidden());
  QVERIFY(dialog.takeButton()->isEnabled());

  // No camera left: the dialog says so and offers a file instead.
  dialog.hide();
  _cameras->unpublish("FakeCam");
  QTRY_VERIFY_WITH_TIMEOUT(QMediaDevices::videoInputs().isEmpty(), cameraWaitMs);
  dialog.show();
  QTRY_VERIFY_WITH_TIMEOUT(dialog.noCameraNotice()->isVisible(), cameraWaitMs);
  QVERIFY(dialog.viewfinder()->isHidden());
  QVERIFY(!dialog.takeButton()->isEnabled());
  QVERIFY(!dialog.camera());
  QVERIFY(dialog.openFileButton()->isEnabled());

  // A camera plugged in while the dialog is open is put to work.
  QVERIFY2(_cameras->publish("FakeCam", {320, 240}), qPrintable(_cameras->whyNot()));
  QTRY_VERIFY_WITH_TIMEOUT(dialog.takeButton()->isEnabled(), cameraWaitMs);
  QVERIFY(dialog.noCameraNotice()->isHidden());
  waitForPicture(&dialog, {320, 240});
}

QTEST_MAIN(CameraPipeWireTest)
#include "camera_pipewire_test.moc"
