#include "screens/camera/CameraHint.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString standingNote() {
  return CameraHint::tr(
      "No picture yet. Take one with the camera or open a picture file; it is shown at an "
      "eighth of its width and height.");
}
}  // namespace

CameraHint::CameraHint(QWidget *host)
    : QFrame(host),
      _message(new QLabel(standingNote(), this)),
      _takeButton(new QPushButton(tr("&Take Picture…"), this)),
      _openButton(new QPushButton(tr("&Open Picture File…"), this)) {
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  _message->setWordWrap(true);
  _message->setAlignment(Qt::AlignCenter);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(_takeButton);
  buttons->addWidget(_openButton);
  buttons->addStretch();
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(_message);
  layout->addLayout(buttons);
  connect(_takeButton, &QPushButton::clicked, this, &CameraHint::takePicture);
  connect(_openButton, &QPushButton::clicked, this, &CameraHint::openPictureFile);
  host->installEventFilter(this);
  centre();
}

void CameraHint::showReason(const QString &why) {
  _message->setText(why.isEmpty() ? standingNote() : why);
  centre();
}

bool CameraHint::eventFilter(QObject *watched, QEvent *event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) centre();
  return QFrame::eventFilter(watched, event);
}

void CameraHint::centre() {
  const QRect area = parentWidget()->rect().adjusted(8, 8, -8, -8);
  const int width = std::min(area.width(), 440);
  const int height = std::min(area.height(), layout()->totalHeightForWidth(width));
  QRect box(0, 0, width, height);
  box.moveCenter(area.center());
  setGeometry(box);
}
