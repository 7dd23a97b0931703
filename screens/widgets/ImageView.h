#pragma once
// Shows a picture, by default scaled to fit the view with its aspect ratio
// kept, centred. It can be zoomed (wheel, + and -, 1 for one picture pixel a
// screen pixel, F or 0 to fit again) and, when larger than the view, dragged
// about. Magnified pixels are drawn as sharp squares so that a one-pixel edge
// stays one pixel. While Space or the left mouse button is held on it, the
// comparison picture (the original) is shown in the same place instead.
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
  // A picture of another size starts fitted; one of the same size keeps the
  // zoom and the part on show, so results can be compared in place.
  void setImage(const QImage &image);
  QString imageName() const { return _imageName; }
  void setImageName(const QString &name);

  const QImage &comparison() const { return _comparison; }
  void setComparison(const QImage &picture);
  // True while the comparison picture is on show.
  bool isComparing() const;
  // Space held here or anywhere on the screen that does not take it itself.
  void holdComparison(bool held);

  // Zoom as screen (device) pixels per picture pixel; fitted until changed.
  bool isFitted() const { return _zoom == 0.0; }
  double zoom() const;
  void fitToView();
  void showActualSize();
  void zoomIn();
  void zoomOut();
  // Sets the zoom keeping the picture point under `anchor` (view coordinates)
  // where it is.
  void setZoom(double zoom, QPointF anchor);

  // Where the picture lands in the view.
  QRectF pictureRect() const;
  // Where a picture of `pictureSize` lands inside `area` when fitted: as
  // large as fits with the aspect ratio kept, centred.
  static QRect fittedRect(const QSize &pictureSize, const QRect &area);

  QSize sizeHint() const override;

 signals:
  void zoomChanged();

 protected:
  void paintEvent(QPaintEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;

 private:
  // View pixels per picture pixel at the current zoom.
  double viewScale() const;
  bool canPan() const;
  void keepCentreInside();
  void showState();

  QImage _image;
  QImage _comparison;
  QString _imageName;
  double _zoom = 0.0;  // 0: fitted
  QPointF _centre;     // the picture point at the view's centre when zoomed
  bool _keyHeld = false;
  bool _mouseHeld = false;
  bool _panning = false;
  QPointF _lastMouse;
  QPointF _pressMouse;
  int _wheelAngle = 0;
};
