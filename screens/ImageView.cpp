#include "screens/ImageView.h"

#include <QPainter>

#include "screens/ImageNamed.h"

ImageView::ImageView(QWidget *parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setMinimumSize(64, 64);
}

void ImageView::setImage(const QImage &image) {
  _image = image;
  _imageName.clear();
  update();
}

void ImageView::setImageName(const QString &name) {
  setImage(imageNamed(name));
  _imageName = name;
}

QRect ImageView::fittedRect(const QSize &pictureSize, const QRect &area) {
  if (pictureSize.isEmpty() || area.isEmpty()) return {};
  const QSize fitted = pictureSize.scaled(area.size(), Qt::KeepAspectRatio);
  QRect placed(QPoint(0, 0), fitted);
  placed.moveCenter(area.center());
  return placed;
}

QSize ImageView::sizeHint() const { return {320, 320}; }

void ImageView::paintEvent(QPaintEvent *) {
  const QRect target = fittedRect(_image.size(), rect());
  if (target.isEmpty()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(target, _image);
}
