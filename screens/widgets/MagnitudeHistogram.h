#pragma once
// How many pixels have each thinned gradient magnitude, on a log scale, with
// the two thresholds drawn on it as markers over the sliders' range. Bars are
// coloured as hysteresis takes them: gray below T1, the weak colour from T1,
// the seed colour from T2. The markers are the sliders' values and set them:
// drag one (a click moves the nearer one there), or with the keyboard choose
// one with Up and Down (or 1 and 2) and move it with the arrow, Page and
// Home/End keys.
#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

class FloatSlider;

class MagnitudeHistogram : public QWidget {
  Q_OBJECT

 public:
  // The markers follow `t1` and `t2`, and move them.
  MagnitudeHistogram(FloatSlider *t1, FloatSlider *t2, QWidget *parent = nullptr);

  // The magnitudes counted, ascending, zeros left out; null when there are none to show.
  void setMagnitudes(std::shared_ptr<const std::vector<float>> magnitudes);
  // How many magnitudes lie in [from, to).
  qsizetype countBetween(float from, float to) const;

  // The magnitude drawn at `x` (widget coordinates) and the reverse.
  float magnitudeAt(double x) const;
  double xOf(float magnitude) const;
  // The slider the keyboard moves: T1's or T2's.
  FloatSlider *currentMarker() const { return _current; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

 private:
  // The largest value either slider takes: the axis' right end.
  float top() const;
  QRectF plotRect() const;
  void moveMarker(FloatSlider *marker, float value);
  void describe();

  QPointer<FloatSlider> _t1, _t2;
  FloatSlider *_current;
  FloatSlider *_dragged = nullptr;
  std::shared_ptr<const std::vector<float>> _magnitudes;
};
