#pragma once
// The fifth tab: works on a picture from the camera instead of a sample
// picture. Each time the tab is about to appear it opens the camera; a picture
// taken there is shrunk to an eighth of its width and height, kept and shown.
// Until there is one, Apply and Reset are disabled.
#include <QImage>
#include <QPointer>
#include <QSizeF>
#include <functional>
#include <memory>

#include "screens/camera/CameraPictureSource.h"
#include "screens/picture/PictureViewController.h"

class CameraHint;

class FifthViewController : public PictureViewController {
  Q_OBJECT

 public:
  explicit FifthViewController(const QString &nibName, DetectorFunction detector,
                               QWidget *parent = nullptr);
  ~FifthViewController() override;

  // The shrunken picture Apply and Reset start from; null until one is taken.
  const QImage &preImage() const { return _preImage; }
  void setPreImage(const QImage &picture);

  // The kept picture's file, which the status line's command reads: written
  // into the shot folder the first time it is asked for.
  QString pictureFileName() const override;
  // Where kept pictures are written: "Canny Demo" in the user's pictures
  // folder unless set.
  void setShotFolder(const QString &folder) { _shotFolder = folder; }

  // Where pictures come from: the camera dialog unless another is given.
  CameraPictureSource *pictureSource() const { return _pictureSource.get(); }
  void setPictureSource(std::unique_ptr<CameraPictureSource> source);

  // `image` stretched to `size` points, drawn at the primary screen's device
  // pixel ratio. Null when that leaves no whole pixel.
  static QImage imageWithImage(const QImage &image, const QSizeF &size);

  // Asks the user for a picture file, empty for none: a file dialog unless
  // replaced.
  using FileChooser = std::function<QString(QWidget *parent)>;
  void setFileChooser(FileChooser chooser) { _chooseFile = std::move(chooser); }
  // Reads the chosen file and keeps it at an eighth, as a taken picture.
  void openPictureFile();
  // The note and buttons shown while there is no picture; null before the
  // view is built.
  CameraHint *cameraHint() const;

 public slots:
  // What the picture source signals: a taken picture is shrunk to an eighth,
  // kept and shown; either way the picker is closed.
  void didFinishPickingImage(const QImage &image);
  void imagePickerControllerDidCancel();

  void convert() override;
  void reset() override;

 protected:
  QImage sourcePicture() const override { return _preImage; }
  void openPicture(const QImage &picture) override;
  void viewDidLoad() override;
  void viewWillAppear() override;

 private:
  void enableButtons();

  QImage _preImage;
  QString _shotFolder;
  mutable QString _preImageFile;  // written on first use
  std::unique_ptr<CameraPictureSource> _pictureSource;
  FileChooser _chooseFile;
  QPointer<CameraHint> _cameraHint;
};
