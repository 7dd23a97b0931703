#include "screens/picture/DetectionPanel.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "screens/live/LiveMode.h"
#include "screens/picture/CannyCommand.h"
#include "screens/picture/PictureViewController.h"

namespace {
ValueRange rangeOf(const SliderSetting &slider) { return {slider.minimum, slider.maximum}; }
}  // namespace

DetectionPanel::DetectionPanel(PictureViewController *screen)
    : QWidget(screen),
      _screen(screen),
      _model(screen->model()),
      _liveSwitch(new QCheckBox(tr("&Live"), this)),
      _suggestButton(new QPushButton(tr("S&uggest T1, T2"), this)),
      _defaultsButton(new QPushButton(tr("&Defaults"), this)),
      _busy(new QProgressBar(this)),
      _status(new QLabel(this)),
      _command(new QLineEdit(this)),
      _copyCommand(new QPushButton(tr("Cop&y Command"), this)),
      _hint(new QLabel(this)) {
  buildLayout();

  LiveMode &mode = LiveMode::shared();
  _liveSwitch->setChecked(mode.isOn());
  connect(_liveSwitch, &QCheckBox::toggled, &mode, &LiveMode::setOn);
  connect(&mode, &LiveMode::changed, this, [this](bool on) {
    _liveSwitch->setChecked(on);
    // Only the screen on show answers at once; the others when their
    // sliders move.
    if (on && isVisible()) _model->detectLive();
  });
  connect(_model, &PictureScreenModel::settingsChanged, this, [this] {
    if (LiveMode::shared().isOn()) _model->detectLive();
  });
  connect(_model, &PictureScreenModel::pictureShown, this, &DetectionPanel::pictureShown);
  connect(_model, &PictureScreenModel::resultShown, this, &DetectionPanel::resultShown);
  connect(_model, &PictureScreenModel::slowChanged, _busy, &QWidget::setVisible);
  connect(_model, &PictureScreenModel::noThresholdsFound, this,
          [this] { showHint(tr("This picture has no gradients to suggest thresholds from.")); });
  connect(_suggestButton, &QPushButton::clicked, this, [this] {
    const ScreenConstants &c = _screen->constants();
    _model->suggestThresholds(rangeOf(c.t1), rangeOf(c.t2), rangeOf(c.sigma));
  });
  connect(_defaultsButton, &QPushButton::clicked, screen, &PictureViewController::restoreDefaults);
  connect(_copyCommand, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(_command->text()); });
}

void DetectionPanel::buildLayout() {
  _liveSwitch->setToolTip(tr("Show the edge map while a slider moves"));
  _suggestButton->setToolTip(
      tr("Set T1 and T2 from this picture's gradients, smoothing more where they need it"));
  _defaultsButton->setToolTip(tr("Put the sliders back to their start values"));
  _busy->setRange(0, 0);  // no end known: a moving bar
  _busy->setMaximumWidth(96);
  _busy->setTextVisible(false);
  _busy->setAccessibleName(tr("Detecting"));
  _busy->hide();
  _status->setTextInteractionFlags(Qt::TextSelectableByMouse);
  _command->setReadOnly(true);
  _command->setAccessibleName(tr("Equivalent canny command"));
  _command->setToolTip(tr("The command-line tool's call that gives the same edge map"));
  _command->hide();
  _copyCommand->hide();
  _hint->setWordWrap(true);
  _hint->setStyleSheet(QStringLiteral("color: #a05a00;"));
  _hint->hide();
  // Rows that come and go keep their space, so that nothing below the
  // picture moves under the pointer: two lines for a hint, one for the status.
  _hint->setMinimumHeight(2 * _hint->fontMetrics().lineSpacing());
  _status->setMinimumHeight(_status->fontMetrics().lineSpacing());
  for (QWidget *row : {static_cast<QWidget *>(_busy), static_cast<QWidget *>(_hint),
                       static_cast<QWidget *>(_command), static_cast<QWidget *>(_copyCommand)}) {
    QSizePolicy policy = row->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    row->setSizePolicy(policy);
  }

  auto *buttons = new QHBoxLayout;
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->addWidget(_liveSwitch);
  buttons->addWidget(_busy);
  buttons->addStretch();
  buttons->addWidget(_suggestButton);
  buttons->addWidget(_defaultsButton);
  auto *command = new QHBoxLayout;
  command->setContentsMargins(0, 0, 0, 0);
  command->addWidget(_command, 1);
  command->addWidget(_copyCommand);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(buttons);
  layout->addWidget(_hint);
  layout->addWidget(_status);
  layout->addLayout(command);
}

void DetectionPanel::pictureShown(const QImage &picture) {
  _suggestButton->setEnabled(!picture.isNull());
  _status->setText(picture.isNull() ? QString() : sizeText(picture));
  _command->hide();
  _copyCommand->hide();
  showHint({});
}

void DetectionPanel::resultShown() {
  const PictureResult &result = _model->result();
  const QImage &edgeMap = result.edgeMap;
  if (edgeMap.isNull()) {
    _status->clear();
    showHint(tr("No edge map: there was not enough memory for this picture."));
    return;
  }
  const qint64 pixels = qint64(edgeMap.width()) * edgeMap.height();
  const qint64 edges = result.edgePixels;
  const QLocale locale;
  _status->setText(tr("%1 · detected in %2 ms · %3 edge pixels")
                       .arg(sizeText(edgeMap), locale.toString(result.nanoseconds / 1e6, 'f', 1),
                            locale.toString(edges)));
  const QString input = _screen->pictureFileName();
  _command->setText(cannyCommand(
      result.settings, input, QFileInfo(input).completeBaseName() + QStringLiteral("-edges.png")));
  _command->setCursorPosition(0);
  _command->show();
  _copyCommand->show();

  if (result.stage == EdgeStage::kHysteresisClasses && !result.analysis)
    showHint(tr("The classes are worked out for pictures of up to %1 megapixels only.")
                 .arg(kMaxAnalysedPixels / 1'000'000));
  else if (edges == 0)
    showHint(
        tr("No edges at these settings: no gradient reaches T2. Lower T2, or smooth less "
           "(Sigma, Steps)."));
  else if (edges == pixels)
    showHint(
        tr("Every pixel is an edge at these settings: with T2 at 0 every pixel starts "
           "an edge. Raise T2."));
  else
    showHint({});
}

QString DetectionPanel::sizeText(const QImage &picture) const {
  const QString size = tr("%1 × %2 pixels").arg(picture.width()).arg(picture.height());
  return _pictureNote.isEmpty() ? size : size + QStringLiteral(", ") + _pictureNote;
}

void DetectionPanel::showHint(const QString &text) {
  _hint->setText(text);
  _hint->setVisible(!text.isEmpty());
}
