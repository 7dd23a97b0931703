#pragma once
// The camera picker: a live viewfinder of the chosen camera with Take and
// Cancel, still pictures only. Without a camera it says so and offers to open
// a picture file instead. A taken or opened picture is signalled as it is;
// the dialog stays open until whoever opened it closes it with dismiss().
#include <QCameraDevice>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "imaging/EdgeSettings.h"
#include "screens/live/LiveDetector.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QThread;
class CameraRunner;
class ImageView;

class CameraDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CameraDialog(QWidget *parent = nullptr);
  ~CameraDialog() override;

  // Asks the user for a picture file; an empty path means "none". A file
  // dialog unless replaced.
  using FileChooser = std::function<QString(QWidget *parent)>;
  void setFileChooser(FileChooser chooser) { _chooseFile = std::move(chooser); }

  // The settings the viewfinder's edge map is detected at; without them the
  // dialog offers no edge map.
  using EdgeSettingsSource = std::function<EdgeSettings()>;
  void setEdgeSettings(EdgeSettingsSource settings);
  // One frame of the running camera: shown, or its edge map once detected.
  // A frame that comes while the last one is still being detected is
  // dropped, so the edge map never falls behind the camera.
  void showFrame(const QImage &frame);

  // Reads the picture at `path` and hands it on like a taken one; when it
  // cannot be read, says why in the dialog instead.
  void openPictureFile(const QString &path);

  // Closes the dialog without signalling anything.
  void dismiss();

  // What the user sees and works.
  QComboBox *cameraChooser() const { return _cameraChooser; }
  QCheckBox *edgesBox() const { return _edgesBox; }
  // The live picture of the camera running; empty while none runs.
  ImageView *viewfinder() const { return _viewfinder; }
  QLabel *noCameraNotice() const { return _noCameraNotice; }
  QLabel *message() const { return _message; }
  QPushButton *openFileButton() const { return _openFileButton; }
  QPushButton *cancelButton() const { return _cancelButton; }
  QPushButton *takeButton() const { return _takeButton; }
  // The camera asked to run now; null while the dialog is hidden or has none.
  QCameraDevice cameraInUse() const { return _inUse; }

 public slots:
  // Cancel, Escape and the close box: signals that the user cancelled.
  void reject() override;

 signals:
  // The one picture the user took, or opened from a file.
  void pictureTaken(const QImage &picture);
  void cancelled();

 protected:
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;

 private:
  void buildLayout();
  void listCameras();
  QCameraDevice chosenCamera() const;
  void runChosenCamera();
  void startCamera(const QCameraDevice &device);
  void stopCamera();
  void updateControls();

  void take();
  void shotCaptured(int ticket, const QImage &picture);
  void shotSaved(int ticket, const QString &fileName);
  void shotFailed(int ticket, const QString &why);
  void shotOverdue();
  void noPictureYet();
  void finishShot(QImage picture, const QString &failure);
  static QString noPictureMessage();

  void chooseFile();
  void pick(const QImage &picture);
  void showMessage(const QString &text);

  FileChooser _chooseFile;

  QMediaDevices _mediaDevices;
  QList<QCameraDevice> _cameras;
  // The camera runs on a thread of its own (CameraRunner); the runner lives
  // there and goes with it.
  QThread *_cameraThread;
  CameraRunner *_runner;
  QCameraDevice _inUse;
  int _lastTicket = 0;  // of the requests to the runner
  int _runTicket = 0;   // the run asked for last
  bool _readyForCapture = false;
  bool _onShow = false;
  // A started camera that shows no frame in time is reported, and the report
  // withdrawn once a frame comes after all.
  QTimer _firstFrameDeadline;
  bool _toldNoPicture = false;

  // The picture being taken: its request's ticket (0 for none) and, once
  // captured, its pixels. It is finished when the capture has also written its
  // file.
  int _shotId = 0;
  QImage _shot;
  bool _cancelWhenShotEnds = false;
  QTimer _shotDeadline;
  std::unique_ptr<QTemporaryDir> _shotFolder;  // made at the first Take

  EdgeSettingsSource _edgeSettings;
  LiveDetector _frameEdges;

  QComboBox *_cameraChooser = nullptr;
  QCheckBox *_edgesBox = nullptr;
  ImageView *_viewfinder = nullptr;
  QLabel *_noCameraNotice = nullptr;
  QLabel *_message = nullptr;
  QPushButton *_openFileButton = nullptr;
  QPushButton *_cancelButton = nullptr;
  QPushButton *_takeButton = nullptr;
};
