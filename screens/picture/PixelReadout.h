#pragma once
// One line under the picture that says what the detector made of the pixel
// under the pointer: its place, gray value, smoothed value, gradients,
// magnitude, the direction sector thinning looks along and its hysteresis
// class, exact, from the shown result's pixel analysis. Over a picture not
// yet analysed it gives the place alone. Where the width is short it wraps;
// its height follows the width alone, never the text, so nothing moves.
#include <QLabel>
#include <QPointer>

class ImageView;
class PictureScreenModel;

class PixelReadout : public QLabel {
  Q_OBJECT

 public:
  PixelReadout(PictureScreenModel *model, QWidget *parent = nullptr);

  // Follows the pointer over `view`, which shows the analysed picture or a
  // result of its size.
  void watch(ImageView *view);
  // What the line says of pixel (x, y) of `view`'s picture.
  QString describe(int x, int y) const;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

 private:
  void pointAt(ImageView *view, QPointF position);

  QPointer<PictureScreenModel> _model;
  QPointer<ImageView> _view;  // the view the pointer was last over
  QPoint _pixel{-1, -1};      // the pixel under the pointer; -1 when none
};
