#pragma once
// The row above a screen's picture: open a picture of one's own (or drop one
// on the screen), go back to the sample, save or copy what is shown, choose
// which stage of the detector to show, draw the edges over the picture, and
// zoom. It shows in the picture view what the screen's model shows, and tells
// the model the stage and overlay chosen.
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "imaging/EdgeStages.h"

class ImageView;
class PictureScreenModel;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;

class QToolBar;

class PictureToolBar : public QWidget {
  Q_OBJECT

 public:
  // Works on `view` for `model`; drops are taken anywhere on `dropTarget`.
  PictureToolBar(ImageView *view, PictureScreenModel *model, QWidget *dropTarget, QWidget *parent);

  // The unprocessed picture on show: nothing to save.
  void showPicture(const QImage &picture);

  EdgeStage stage() const;
  void setStage(EdgeStage stage);
  QCheckBox *overlayBox() const { return _overlay; }
  // The picture and the map side by side, a divider between them.
  QCheckBox *splitBox() const { return _split; }
  QComboBox *stageBox() const { return _stage; }
  // The map or stage on show, as 8-bit gray: what Save and Copy give. Null
  // while the picture itself is shown.
  const QImage &result() const { return _result; }
  // The scale of a magnitude stage on show ("white = magnitude 43.2"), else empty.
  QString scaleText() const;
  // The file the last picture opened came from.
  const QString &openedPath() const { return _openedPath; }
  // The picture's file name, which Save's suggested name starts from.
  void setPictureName(const QString &name) { _pictureName = name; }
  // The name Save proposes: the picture's, "-edges" added, beside an opened file.
  QString suggestedSaveName() const;
  // Whether Revert has a sample to return to; off on the camera screen.
  void setRevertible(bool revertible);

  QAction *openAction() const { return _open; }
  QAction *revertAction() const { return _revert; }
  QAction *saveAction() const { return _save; }
  QAction *copyAction() const { return _copy; }

  // The file actions without their dialogs. Each returns the one-line error,
  // empty when it worked.
  QString openFile(const QString &path);
  // Reads the file off the window's thread; an error is shown in a message box.
  void openFileLater(const QString &path);
  QString saveResult(const QString &path) const;
  void copyResult() const;

 signals:
  // A picture the user opened or dropped, at its full size.
  void pictureOpened(const QImage &picture);
  void revertRequested();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void chooseFile();
  void chooseSaveFile();
  void showResult();
  void complain(const QString &error);
  void takeOpened(const QImage &picture, const QString &path);
  QAction *addButton(const QString &text, const QKeySequence &keys, const QString &tip);

  QPointer<ImageView> _view;
  QPointer<PictureScreenModel> _model;
  QComboBox *_stage;
  QCheckBox *_overlay;
  QCheckBox *_split;
  QLabel *_scale;
  QAction *_open, *_revert, *_save, *_copy;
  QImage _result;
  QLabel *_zoom;
  QToolBar *_bar;
  QString _pictureName;
  QString _openedPath;
};
