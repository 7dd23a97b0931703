#pragma once
// A split over a picture view: the view's comparison picture (the original)
// left of a vertical divider, the view's own picture (the edge map) right of
// it, both at the view's zoom and scroll. The divider is dragged with the
// mouse or moved with the arrow, Page and Home/End keys once it has focus; as
// a slider it tells assistive technology where it stands. Its place, a share
// of the view's width, is kept for the rest of the session and shared by
// every view.
#include <QSlider>

class ImageView;

class SplitDivider : public QSlider {
  Q_OBJECT

 public:
  // Values run from 0 (the divider at the view's left edge) to kRange.
  static constexpr int kRange = 10000;

  // Over `view`, a child of it; hidden until setSplit(true).
  explicit SplitDivider(ImageView *view);

  void setSplit(bool split);
  // Where the divider stands, in the view's coordinates: columns left of it
  // show the original.
  int dividerX() const;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;

 private:
  void place();

  ImageView *_view;
  QWidget *_layer;  // paints the original's side, under the divider
  bool _dragging = false;
  int _grab = 0;  // the press's distance from the divider
};
