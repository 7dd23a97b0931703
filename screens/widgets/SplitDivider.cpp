#include "screens/widgets/SplitDivider.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "screens/widgets/ImageView.h"

namespace {
// Half the strip the mouse can take the divider by.
constexpr int kHalfWidth = 8;

// The divider's place for the rest of the session, shared by every view.
int sessionValue = SplitDivider::kRange / 2;

// The original's side: drawn exactly where and as the view draws its picture,
// cut off at the divider. It lets the mouse through to the view.
class OriginalSide : public QWidget {
 public:
  OriginalSide(ImageView *view, const SplitDivider *divider)
      : QWidget(view), _view(view), _divider(divider) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent *) override {
    const QImage &original = _view->comparison();
    // Without a result the view shows the original anyway; held, it shows it whole.
    if (original.isNull() || _view->isComparing()) return;
    QPainter painter(this);
    painter.setClipRect(0, 0, _divider->dividerX(), height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, _view->zoom() < 1.0);
    painter.drawImage(_view->pictureRect(), original);
  }

 private:
  ImageView *_view;
  const SplitDivider *_divider;
};
}  // namespace

SplitDivider::SplitDivider(ImageView *view)
    : QSlider(Qt::Horizontal, view), _view(view), _layer(new OriginalSide(view, this)) {
  raise();  // above the original's side
  setRange(0, kRange);
  setSingleStep(kRange / 100);
  setPageStep(kRange / 10);
  setValue(sessionValue);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::SplitHCursor);
  setAccessibleName(tr("Divider between picture and edge map"));
  setToolTip(tr("Drag, or use the arrow keys: the picture left, the edge map right"));
  hide();
  _layer->hide();
  view->installEventFilter(this);
  connect(this, &QSlider::valueChanged, this, [this](int value) {
    sessionValue = value;
    place();
  });
}

void SplitDivider::setSplit(bool split) {
  setVisible(split);
  _layer->setVisible(split);
  place();
}

int SplitDivider::dividerX() const { return qRound(double(value()) * _view->width() / kRange); }

void SplitDivider::place() {
  setGeometry(dividerX() - kHalfWidth, 0, 2 * kHalfWidth, _view->height());
  _layer->setGeometry(_view->rect());
  _layer->update();
}

bool SplitDivider::eventFilter(QObject *watched, QEvent *event) {
  if (watched == _view && event->type() == QEvent::Resize) place();
  return QSlider::eventFilter(watched, event);
}

void SplitDivider::showEvent(QShowEvent *event) {
  QSlider::showEvent(event);
  setValue(sessionValue);  // where another view's divider was left
  place();
}

void SplitDivider::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  const QColor line = hasFocus() ? palette().color(QPalette::Highlight) : QColor(Qt::white);
  const int middle = width() / 2;
  // A dark edge keeps the line visible over white edges and light pictures.
  painter.fillRect(QRect(middle - 1, 0, 3, height()), QColor(0, 0, 0, 150));
  painter.fillRect(QRect(middle, 0, 1, height()), line);
  const QRectF grip(1.5, height() / 2.0 - 16, width() - 3, 32);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QColor(0, 0, 0, 150));
  painter.setBrush(line);
  painter.drawRoundedRect(grip, 3, 3);
}

void SplitDivider::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return event->ignore();
  _dragging = true;
  _grab = qRound(_view->mapFromGlobal(event->globalPosition()).x()) - dividerX();
  setSliderDown(true);
}

void SplitDivider::mouseMoveEvent(QMouseEvent *event) {
  if (!_dragging || _view->width() <= 0) return event->ignore();
  const double x = _view->mapFromGlobal(event->globalPosition()).x() - _grab;
  setValue(qRound(x * kRange / _view->width()));
}

void SplitDivider::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return event->ignore();
  _dragging = false;
  setSliderDown(false);
}

// The wheel zooms the view beneath, as everywhere else on it.
void SplitDivider::wheelEvent(QWheelEvent *event) { event->ignore(); }
