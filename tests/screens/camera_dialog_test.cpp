// The camera screen with its real camera dialog on a machine without a
// camera: the dialog says so and offers a picture file, which is read for
// real and then handled like a taken picture; a file that cannot be read is
// explained in the dialog. Only the file chooser is stood in for.
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/AppDelegate.h"
#include "screens/CameraDialog.h"
#include "screens/CameraDialogSource.h"
#include "screens/FifthViewController.h"
#include "screens/ImageNamed.h"
#include "tests/screens/TestScreens.h"

namespace {
void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }

// The dialog opened last over the screen.
CameraDialog *dialogOf(const FifthViewController &screen) {
  const QList<CameraDialog *> dialogs = screen.findChildren<CameraDialog *>();
  return dialogs.isEmpty() ? nullptr : dialogs.last();
}

// The next file the "user" picks in the file chooser.
struct ChosenFile {
  QString path;
  int asked = 0;
};

// `jpeg` with an Exif block right after its start marker that holds only the
// orientation tag (6: turn a quarter clockwise to show).
QByteArray withOrientation(const QByteArray &jpeg, quint8 orientation) {
  const char exif[] = {'\xFF', '\xE1', 0,   34,               // APP1 and its length
                       'E',    'x',    'i', 'f', 0, 0,        //
                       'M',    'M',    0,   42,  0, 0, 0, 8,  // big-endian TIFF header
                       0,      1,                             // one entry:
                       1,      0x12,   0,   3,   0, 0, 0, 1, 0, char(orientation),
                       0,      0,                // orientation
                       0,      0,      0,   0};  // no further block
  return jpeg.left(2) + QByteArray(exif, sizeof exif) + jpeg.mid(2);
}

void chooseFilesFrom(CameraDialog *dialog, ChosenFile *chosen) {
  dialog->setFileChooser([chosen](QWidget *) {
    ++chosen->asked;
    return chosen->path;
  });
}
}  // namespace

class CameraDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void withoutACameraAPictureFileIsTakenInstead();
  void anUnreadableFileIsExplained_data();
  void anUnreadableFileIsExplained();
  void cancelEscapeAndCloseChangeNothing();
  void aFileIsTurnedTheWayItWasShot();
  void framesShowTheirEdgeMapDroppingThoseItCannotKeepUpWith();

 private:
  QString writePicture(const QString &name, const QImage &picture);

  AppDelegate _delegate;  // carries the detector Apply runs
  QTemporaryDir _files;
};

void CameraDialogTest::initTestCase() {
  if (!QMediaDevices::videoInputs().isEmpty())
    QSKIP("this machine has a camera, so the dialog does not go without one");
  QVERIFY(_files.isValid());
}

QString CameraDialogTest::writePicture(const QString &name, const QImage &picture) {
  const QString path = _files.filePath(name);
  if (!picture.save(path)) qWarning() << "cannot write" << path;
  return path;
}

void CameraDialogTest::withoutACameraAPictureFileIsTakenInstead() {
  const QImage photo = imageNamed("thirdPic").scaled(640, 480);
  ChosenFile chosen{writePicture("photo.png", photo)};

  FifthViewController screen("FifthViewController", tryCannyEdgeDetector);
  screen.show();
  CameraDialog *dialog = dialogOf(screen);
  QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
  QVERIFY(dialog->noCameraNotice()->isVisible());
  QVERIFY(dialog->viewfinder()->isHidden());
  QVERIFY(dialog->cameraChooser()->isHidden());
  QVERIFY(!dialog->takeButton()->isEnabled());
  QVERIFY(dialog->openFileButton()->isEnabled());
  QVERIFY(!dialog->camera());

  chooseFilesFrom(dialog, &chosen);
  clickOn(dialog->openFileButton());
  QCOMPARE(chosen.asked, 1);
  QVERIFY(!dialog->isVisible());

  // Kept like a taken picture: an eighth in each direction, shown as it is.
  const QImage kept = screen.preImage();
  QCOMPARE(kept.deviceIndependentSize(), QSizeF(80, 60));
  QCOMPARE(screen.image()->image(), kept);
  clickOn(screen.applyButton());
  QCOMPARE(screen.image()->image(), engineEdgeMap(kept, 2, 6, 2, 4));
  QVERIFY(isBlackAndWhiteEdgeMap(screen.image()->image()));
  clickOn(screen.resetButton());
  QCOMPARE(screen.image()->image(), kept);

  // Leaving the tab and coming back opens a new dialog.
  screen.hide();
  screen.show();
  CameraDialog *again = dialogOf(screen);
  QVERIFY(again && again != dialog && again->isVisible());
}

void CameraDialogTest::anUnreadableFileIsExplained_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("content");  // no file at all when null
  QTest::newRow("missing") << "missing.png" << QByteArray();
  QTest::newRow("empty") << "empty.png" << QByteArray("");
  QTest::newRow("not a picture") << "notes.jpg" << QByteArray("just some words\n");
  QTest::newRow("cut short") << "cut.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
}

void CameraDialogTest::anUnreadableFileIsExplained() {
  QFETCH(QString, name);
  QFETCH(QByteArray, content);
  ChosenFile chosen{_files.filePath(name)};
  if (!content.isNull()) {
    QFile file(chosen.path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  FifthViewController screen("FifthViewController", tryCannyEdgeDetector);
  screen.show();
  CameraDialog *dialog = dialogOf(screen);
  chooseFilesFrom(dialog, &chosen);
  clickOn(dialog->openFileButton());

  // The dialog stays, says which file and why, and nothing is kept.
  QVERIFY(dialog->isVisible());
  QVERIFY2(dialog->message()->text().contains(name), qPrintable(dialog->message()->text()));
  QVERIFY(screen.preImage().isNull());
  // Readable whole: the dialog grows to every wrapped line.
  const QLabel *message = dialog->message();
  QVERIFY(message->height() >= message->heightForWidth(message->width()));
  QVERIFY(dialog->rect().contains(message->geometry()));

  // A picture that reads after all clears the message on its way out.
  chosen.path = writePicture("fine.png", imageNamed("secondPic"));
  clickOn(dialog->openFileButton());
  QVERIFY(!dialog->isVisible());
  QVERIFY(dialog->message()->text().isEmpty());
  QVERIFY(!screen.preImage().isNull());
}

void CameraDialogTest::cancelEscapeAndCloseChangeNothing() {
  ChosenFile chosen{writePicture("kept.png", imageNamed("fourthPic").scaled(400, 320))};
  FifthViewController screen("FifthViewController", tryCannyEdgeDetector);
  screen.show();
  chooseFilesFrom(dialogOf(screen), &chosen);
  clickOn(dialogOf(screen)->openFileButton());
  const QImage kept = screen.preImage();
  clickOn(screen.applyButton());
  const QImage edges = screen.image()->image();

  // The user cancelling the file chooser leaves the dialog as it was.
  screen.hide();
  screen.show();
  chosen.path.clear();
  chooseFilesFrom(dialogOf(screen), &chosen);
  clickOn(dialogOf(screen)->openFileButton());
  QVERIFY(dialogOf(screen)->isVisible());
  QVERIFY(dialogOf(screen)->message()->text().isEmpty());

  clickOn(dialogOf(screen)->cancelButton());
  QVERIFY(!dialogOf(screen)->isVisible());
  screen.hide();
  screen.show();
  QTest::keyClick(dialogOf(screen), Qt::Key_Escape);
  QVERIFY(!dialogOf(screen)->isVisible());
  screen.hide();
  screen.show();
  QVERIFY(dialogOf(screen)->close());

  QCOMPARE(screen.preImage(), kept);
  QCOMPARE(screen.image()->image(), edges);
}

void CameraDialogTest::aFileIsTurnedTheWayItWasShot() {
  // A JPEG of 160 x 320 pixels tagged, as cameras do, to be shown turned a
  // quarter clockwise: 320 x 160.
  QImage stored(160, 320, QImage::Format_RGB32);
  stored.fill(Qt::white);
  QByteArray jpeg;
  QBuffer buffer(&jpeg);
  QVERIFY(buffer.open(QIODevice::WriteOnly) && stored.save(&buffer, "JPEG"));
  ChosenFile chosen{_files.filePath("turned.jpg")};
  QFile file(chosen.path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(withOrientation(jpeg, 6));
  file.close();

  FifthViewController screen("FifthViewController", tryCannyEdgeDetector);
  screen.show();
  chooseFilesFrom(dialogOf(screen), &chosen);
  clickOn(dialogOf(screen)->openFileButton());
  QCOMPARE(screen.preImage().deviceIndependentSize(), QSizeF(40, 20));
}

void CameraDialogTest::framesShowTheirEdgeMapDroppingThoseItCannotKeepUpWith() {
  CameraDialog dialog;
  EdgeSettings settings{2, 6, 2, 4};
  dialog.setEdgeSettings([&] { return settings; });
  const QImage frame = imageNamed("thirdPic"), next = imageNamed("secondPic");
  dialog.showFrame(frame);
  QCOMPARE(dialog.viewfinder()->image(), frame);

  dialog.edgesBox()->setChecked(true);
  dialog.showFrame(frame);
  dialog.showFrame(next);  // the first is still being detected
  QTRY_COMPARE(dialog.viewfinder()->image(), engineEdgeMap(frame, 2, 6, 2, 4));
  settings.t2 = 9;
  dialog.showFrame(next);
  QTRY_COMPARE(dialog.viewfinder()->image(), engineEdgeMap(next, 2, 9, 2, 4));
}

QTEST_MAIN(CameraDialogTest)
#include "camera_dialog_test.moc"
