// The camera dialog on a machine without a camera: it offers a picture file, read for real and kept
// like a taken picture. Only the file chooser is stood in.
#include <QMediaDevices>
#include <QtTest>
#include <QtWidgets>

#include "app/AppDelegate.h"
#include "screens/camera/CameraDialog.h"
#include "screens/camera/FifthViewController.h"
#include "screens/widgets/ImageNamed.h"
#include "tests/screens/TestScreens.h"

namespace {

// The dialog opened last over the screen, made to "pick" whatever `path` holds.
CameraDialog *dialogOf(const FifthViewController &screen, const QString *path) {
  CameraDialog *dialog = screen.findChildren<CameraDialog *>().last();
  dialog->setFileChooser([path](QWidget *) { return *path; });
  return dialog;
}
}  // namespace

class CameraDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!QMediaDevices::videoInputs().isEmpty())
      QSKIP("this machine has a camera, so the dialog does not go without one");
  }

  void withoutACameraAPictureFileIsTakenInstead() {
    QString path;  // the chooser cancelled
    _screen.show();
    CameraDialog *dialog = dialogOf(_screen, &path);
    QVERIFY(dialog->isVisible() && dialog->isModal() && dialog->noCameraNotice()->isVisible());
    QVERIFY(dialog->viewfinder()->isHidden() && dialog->cameraChooser()->isHidden() &&
            dialog->edgesBox()->isHidden());
    QVERIFY(!dialog->takeButton()->isEnabled() && dialog->cameraInUse().isNull());
    clickOn(dialog->openFileButton());
    QVERIFY(dialog->isVisible() && dialog->message()->text().isEmpty());

    // Kept like a taken picture: an eighth in each direction, shown as it is.
    path = _files.filePath("photo.png");
    QVERIFY(imageNamed("thirdPic").scaled(640, 480).save(path));
    clickOn(dialog->openFileButton());
    QVERIFY(!dialog->isVisible());
    const QImage kept = _screen.preImage();
    QCOMPARE(kept.deviceIndependentSize(), QSizeF(80, 60));
    QCOMPARE(_screen.image()->image(), kept);

    // Each appearance of the tab opens a new dialog; Cancel, Escape and closing it change nothing.
    const std::function<void(CameraDialog *)> ways[] = {
        [](CameraDialog *d) { clickOn(d->cancelButton()); },
        [](CameraDialog *d) { QTest::keyClick(d, Qt::Key_Escape); },
        [](CameraDialog *d) { d->close(); }};
    for (const auto &closeIt : ways) {
      _screen.hide();
      _screen.show();
      CameraDialog *again = dialogOf(_screen, &path);
      QVERIFY(again != dialog && again->isVisible());
      closeIt(again);
      QVERIFY(!again->isVisible());
      QCOMPARE(_screen.findChildren<CameraDialog *>().last(), again);  // not reopened at once
      dialog = again;
    }
    QCOMPARE(_screen.preImage(), kept);
    _screen.hide();
  }

  void anUnreadableFileIsExplained_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // no file at all when null
    QTest::addColumn<QString>("why");
    QTest::newRow("missing") << "missing.png" << QByteArray() << QString();
    QTest::newRow("empty") << "empty.png" << QByteArray("") << QString();
    QTest::newRow("not a picture") << "notes.jpg" << QByteArray("just some words\n") << QString();
    QTest::newRow("cut short") << "cut.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                               << QString();
    // Cut where Qt's decoders would still give a picture: refused as the tool refuses them.
    for (const char *format : {"png", "bmp"}) {
      QByteArray whole;
      QBuffer buffer(&whole);
      QVERIFY(buffer.open(QIODevice::WriteOnly) && imageNamed("thirdPic").save(&buffer, format));
      QTest::newRow(format) << QString("short.") + format << whole.chopped(1)
                            << QString("truncated");
    }
  }

  void anUnreadableFileIsExplained() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QString path = _files.filePath(name);
    QVERIFY(content.isNull() || writeFile(path, content));
    FifthViewController screen("FifthViewController", tryCannyEdgeDetector);
    screen.show();
    CameraDialog *dialog = dialogOf(screen, &path);
    clickOn(dialog->openFileButton());

    // The dialog stays, grown to every wrapped line saying which file and why.
    const QLabel *message = dialog->message();
    QVERIFY(dialog->isVisible() && screen.preImage().isNull());
    QFETCH(QString, why);
    QVERIFY2(message->text().contains(name) && message->text().contains(why),
             qPrintable(message->text()));
    QVERIFY(message->height() >= message->heightForWidth(message->width()));
    QVERIFY(dialog->rect().contains(message->geometry()));
    // A picture that reads after all clears the message on its way out.
    path = _files.filePath("fine.png");
    QVERIFY(imageNamed("secondPic").save(path));
    clickOn(dialog->openFileButton());
    QVERIFY(!dialog->isVisible() && message->text().isEmpty() && !screen.preImage().isNull());
  }

  void aFileIsTurnedTheWayItWasShot() {
    // A 160 x 320 JPEG whose Exif orientation is 6: shown turned a quarter clockwise, 320 x 160.
    const QImage stored = imageNamed("thirdPic").scaled(160, 320);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && stored.save(&buffer, "JPEG"));
    // APP1: "Exif", a big-endian TIFF block, one entry: orientation (0x112) = 6.
    const QByteArray exif = QByteArray::fromHex(
        "ffe10022457869660000 4d4d002a00000008 0001011200030000000100060000 00000000");
    QString path = _files.filePath("turned.jpg");
    QVERIFY(writeFile(path, jpeg.left(2) + exif + jpeg.mid(2)));
    _screen.show();
    clickOn(dialogOf(_screen, &path)->openFileButton());
    QCOMPARE(_screen.preImage().deviceIndependentSize(), QSizeF(40, 20));
  }

  void framesShowTheirEdgeMapDroppingThoseItCannotKeepUpWith() {
    CameraDialog dialog;
    EdgeSettings settings{2, 6, 2, 4};
    dialog.setEdgeSettings([&] { return settings; });
    const QImage frame = imageNamed("thirdPic"), next = imageNamed("secondPic");
    dialog.showFrame(frame);
    QCOMPARE(dialog.viewfinder()->image(), frame);
    dialog.edgesBox()->setChecked(true);
    dialog.showFrame(frame);
    dialog.showFrame(next);  // the first is still being detected
    QTRY_COMPARE(dialog.viewfinder()->image(), edgeMap(frame, {2, 6, 2, 4}));
    settings.t2 = 9;
    dialog.showFrame(next);
    QTRY_COMPARE(dialog.viewfinder()->image(), edgeMap(next, {2, 9, 2, 4}));
  }

 private:
  AppDelegate _delegate;  // carries the detector Apply runs
  QTemporaryDir _files;
  FifthViewController _screen{"FifthViewController", tryCannyEdgeDetector};
};

QTEST_MAIN(CameraDialogTest)
#include "camera_dialog_test.moc"
