#pragma once
// Shows a picture scaled to fit the view with its aspect ratio kept, centred;
// the rest of the view stays empty. A null picture shows nothing.
#include <QImage>
#include <QWidget>

class ImageView : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QImage image READ image WRITE setImage)
  // For interface files: the picture of that name in the resources.
  Q_PROPERTY(QString imageName READ imageName WRITE setImageName)

 public:
  explicit ImageView(QWidget *parent = nullptr);

  const QImage &image() const { return _image; }
  void setImage(const QImage &image);
  QString imageName() const { return _imageName; }
  void setImageName(const QString &name);

  // Where a picture of `pictureSize` lands inside `area`: as large as fits
  // with the aspect ratio kept, centred.
  static QRect fittedRect(const QSize &pictureSize, const QRect &area);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent *event) override;

 private:
  QImage _image;
  QString _imageName;
};
