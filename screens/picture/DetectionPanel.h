#pragma once
// What a picture screen offers around Apply and Reset: the live switch,
// suggested thresholds, the start values again, a status line that says what
// is shown (size, detection time, edge pixels, the `canny` command that gives
// the same map), a hint when the settings cannot give a useful map, and a busy
// sign when a live run takes longer than a glance.
#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/EdgeStages.h"
#include "screens/live/LiveDetector.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class PictureViewController;

class DetectionPanel : public QWidget {
  Q_OBJECT

 public:
  // Works the sliders and the image view of `screen`, whose view is loaded.
  explicit DetectionPanel(PictureViewController *screen);

  QCheckBox *liveSwitch() const { return _liveSwitch; }
  QPushButton *suggestButton() const { return _suggestButton; }
  QPushButton *defaultsButton() const { return _defaultsButton; }
  QLabel *statusLine() const { return _status; }
  QLineEdit *commandLine() const { return _command; }
  QPushButton *copyCommandButton() const { return _copyCommand; }
  QLabel *hint() const { return _hint; }
  QProgressBar *busySign() const { return _busy; }
  LiveDetector &liveDetector() { return _live; }

  // Said of the picture after its size from now on ("an eighth of 600 × 400").
  void setPictureNote(const QString &note) { _pictureNote = note; }
  // The screen shows `picture` unprocessed: live work under way is dropped.
  void pictureShown(const QImage &picture);
  // The screen shows `edgeMap`, detected at `settings` in `nanoseconds`.
  void edgeMapShown(const QImage &edgeMap, const EdgeSettings &settings, qint64 nanoseconds);

  // Sets T1 and T2 from the picture's thinned gradient magnitudes.
  void suggestThresholds();
  // The sliders' start values again.
  void restoreDefaults();

 private:
  void buildLayout();
  void detectLive();
  void liveDetected(const QImage &edgeMap, const EdgeSettings &settings, qint64 nanoseconds);
  void showHint(const QString &text);
  QString sizeText(const QImage &picture) const;
  std::shared_ptr<const std::vector<std::uint8_t>> grayOf(const QImage &picture);

  PictureViewController *_screen;
  LiveDetector _live;
  // The gray bytes of the picture last detected live, kept while it is the same.
  std::shared_ptr<const std::vector<std::uint8_t>> _gray;
  qint64 _grayKey = 0;
  QImage _livePicture;  // the picture of the live run asked for last
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
