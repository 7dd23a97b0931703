#include "screens/picture/PixelReadout.h"

#include <QEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "screens/picture/CannyCommand.h"
#include "screens/picture/PictureScreenModel.h"
#include "screens/widgets/ImageView.h"

namespace {
// The neighbours thinning compares, by sector.
const char16_t *const kSectorArrows[] = {u"", u"←→", u"↖↘", u"↑↓", u"↗↙"};

// Its class; for a pixel that is no candidate, also why not.
QString className(PixelClass pixelClass, float magnitude, float t1) {
  switch (pixelClass) {
    case PixelClass::kStrong:
      return PixelReadout::tr("seed (≥ T2)");
    case PixelClass::kWeakKept:
      return PixelReadout::tr("weak, kept");
    case PixelClass::kWeakDropped:
      return PixelReadout::tr("weak, dropped");
    case PixelClass::kNone:
      break;
  }
  if (magnitude < t1) return PixelReadout::tr("no candidate: below T1");
  // At least T1 and still no candidate: a neighbour along the gradient is larger.
  if (magnitude > 0) return PixelReadout::tr("no candidate: thinned away");
  return PixelReadout::tr("no candidate: no gradient");
}
}  // namespace

PixelReadout::PixelReadout(PictureScreenModel *model, QWidget *parent)
    : QLabel(parent), _model(model) {
  setAccessibleName(tr("Pixel under the pointer"));
  setTextInteractionFlags(Qt::TextSelectableByMouse);
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Never wider than the window, whatever the text.
  setMinimumWidth(1);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setFixedHeight(fontMetrics().lineSpacing());
  connect(model, &PictureScreenModel::analysisChanged, this, [this] {
    if (_view && _pixel.x() >= 0) setText(describe(_pixel.x(), _pixel.y()));
  });
}

void PixelReadout::watch(ImageView *view) {
  view->setMouseTracking(true);
  view->installEventFilter(this);
}

QString PixelReadout::describe(int x, int y) const {
  QString line = tr("x %1, y %2").arg(x).arg(y);
  const PixelAnalysis *analysis = _model ? _model->analysis().get() : nullptr;
  if (!analysis || !_view || _view->image().size() != QSize(analysis->width(), analysis->height()))
    return line;
  const PixelFacts p = analysis->at(x, y);
  return line + tr(" · gray %1 · smoothed %2 · gx %3 · gy %4 · magnitude %5 · sector %6 %7 · %8")
                    .arg(QString::number(p.gray), shortestDecimal(p.smoothed),
                         shortestDecimal(p.gx), shortestDecimal(p.gy), shortestDecimal(p.magnitude),
                         QString::number(p.sector), QString::fromUtf16(kSectorArrows[p.sector]),
                         className(p.pixelClass, p.magnitude, analysis->settings.t1));
}

void PixelReadout::pointAt(ImageView *view, QPointF position) {
  _view = view;
  const QRectF placed = view->pictureRect();
  const QSize size = view->image().size();
  const int x = int(std::floor((position.x() - placed.left()) * size.width() / placed.width()));
  const int y = int(std::floor((position.y() - placed.top()) * size.height() / placed.height()));
  if (placed.isEmpty() || x < 0 || y < 0 || x >= size.width() || y >= size.height()) {
    _pixel = {-1, -1};
    clear();
    return;
  }
  _pixel = {x, y};
  setText(describe(x, y));
}

void PixelReadout::resizeEvent(QResizeEvent *event) {
  QLabel::resizeEvent(event);
  // As high as the longest description needs at this width, whatever the class.
  int needed = 0;
  for (const QString &name :
       {tr("seed (≥ T2)"), tr("weak, kept"), tr("weak, dropped"), tr("no candidate: below T1"),
        tr("no candidate: thinned away"), tr("no candidate: no gradient")}) {
    const QString longest =
        tr("x %1, y %2").arg(99999).arg(99999) +
        tr(" · gray %1 · smoothed %2 · gx %3 · gy %4 · magnitude %5 · sector %6 %7 · %8")
            .arg(QStringLiteral("255"), QStringLiteral("255.00002"), QStringLiteral("-127.50001"),
                 QStringLiteral("-127.50001"), QStringLiteral("180.31223"), QStringLiteral("4"),
                 QString::fromUtf16(kSectorArrows[4]), name);
    needed =
        std::max(needed, fontMetrics()
                             .boundingRect(QRect(0, 0, width(), 10000), Qt::TextWordWrap, longest)
                             .height());
  }
  if (needed != height()) setFixedHeight(needed);
}

bool PixelReadout::eventFilter(QObject *watched, QEvent *event) {
  auto *view = qobject_cast<ImageView *>(watched);
  if (view && event->type() == QEvent::MouseMove)
    pointAt(view, static_cast<QMouseEvent *>(event)->position());
  else if (view && event->type() == QEvent::Leave) {
    _pixel = {-1, -1};
    clear();
  }
  return QLabel::eventFilter(watched, event);
}
