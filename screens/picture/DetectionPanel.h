#pragma once
// What a picture screen offers around Apply and Reset: the live switch,
// suggested thresholds, the start values again, a status line that says what
// is shown (size, detection time, edge pixels, the `canny` command that gives
// the same map), a hint when the settings cannot give a useful map, and a busy
// sign when work for the screen takes longer than a glance. It watches the
// screen's model and asks it for work.
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/EdgeStages.h"
#include "screens/live/LiveDetector.h"
#include "screens/picture/PictureScreenModel.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class PictureViewController;

class DetectionPanel : public QWidget {
  Q_OBJECT

 public:
  // Works for `screen`, whose view is loaded, through its model.
  explicit DetectionPanel(PictureViewController *screen);

  QCheckBox *liveSwitch() const { return _liveSwitch; }
  QPushButton *suggestButton() const { return _suggestButton; }
  QPushButton *defaultsButton() const { return _defaultsButton; }
  QLabel *statusLine() const { return _status; }
  QLineEdit *commandLine() const { return _command; }
  QPushButton *copyCommandButton() const { return _copyCommand; }
  QLabel *hint() const { return _hint; }
  QProgressBar *busySign() const { return _busy; }
  // The screen's worker.
  LiveDetector &liveDetector() { return _model->worker(); }

  // Said of the picture after its size from now on ("an eighth of 600 × 400").
  void setPictureNote(const QString &note) { _pictureNote = note; }
  // The screen shows `picture` unprocessed.
  void pictureShown(const QImage &picture);

 private:
  void buildLayout();
  void resultShown();
  void showHint(const QString &text);
  QString sizeText(const QImage &picture) const;

  PictureViewController *_screen;
  PictureScreenModel *_model;
  QString _pictureNote;

  QCheckBox *_liveSwitch;
  QPushButton *_suggestButton;
  QPushButton *_defaultsButton;
  QProgressBar *_busy;
  QLabel *_status;
  QLineEdit *_command;
  QPushButton *_copyCommand;
  QLabel *_hint;
};
