#pragma once
// A horizontal slider over a float range, with its current value shown beside
// it. QSlider works in whole numbers, so the float is kept here: a value that
// was set reads back exactly, and only a user's move maps the handle's
// position onto the range.
#include <QWidget>

class QLabel;
class QSlider;

class FloatSlider : public QWidget {
  Q_OBJECT
  Q_PROPERTY(float minimumValue READ minimumValue WRITE setMinimumValue)
  Q_PROPERTY(float maximumValue READ maximumValue WRITE setMaximumValue)
  Q_PROPERTY(float value READ value WRITE setValue NOTIFY valueChanged USER true)
  Q_PROPERTY(bool showsWholeNumber READ showsWholeNumber WRITE setShowsWholeNumber)
  Q_PROPERTY(QString unitName READ unitName WRITE setUnitName)

 public:
  // Handle positions between the ends of the range; a whole-number slider over
  // a whole range has one position per whole number instead.
  static constexpr int kPositions = 1000;

  explicit FloatSlider(QWidget *parent = nullptr);

  float minimumValue() const { return _minimumValue; }
  float maximumValue() const { return _maximumValue; }
  float value() const { return _value; }
  // Whether the label shows the value truncated toward zero, as a count.
  bool showsWholeNumber() const { return _showsWholeNumber; }
  // What the value counts or measures ("pixels"), for assistive technology.
  QString unitName() const { return _unitName; }
  // The distance between neighbouring handle positions.
  double stepSize() const;

  // A range end that passes the other one moves it along; the value is
  // kept inside the range. NaN is ignored.
  void setMinimumValue(float minimum);
  void setMaximumValue(float maximum);
  void setValue(float value);
  void setShowsWholeNumber(bool wholeNumber);
  // Moves the handle to the position nearest `value`, as a user could: the
  // value becomes that position's, so the readout shows it in full.
  void moveHandleNear(float value);
  void setUnitName(const QString &unit) { _unitName = unit; }

  // The handle, for keyboard and mouse moves.
  QSlider *track() const { return _track; }
  // The value with every digit a handle position can set: 0.637 on a 0-1
  // range, 6.25 on a 0-10 range; a count as its whole number.
  QString valueText() const;
  // That readout as a number, for assistive technology: 0.6, never 0.6000000238.
  double shownValue() const { return valueText().toDouble(); }
  // The label naming this slider in its form (its buddy), if any.
  QString labelText() const;

 signals:
  void valueChanged(float value);

 private:
  void moveHandle(int position);
  void store(float value);
  void showValue();
  void setUpTrack();
  int positionOf(float value) const;
  int decimals() const;

  float _minimumValue = 0.0f;
  float _maximumValue = 1.0f;
  float _value = 0.0f;
  bool _showsWholeNumber = false;
  QString _unitName;
  int _positions = kPositions;
  QSlider *_track;
  QLabel *_label;
};
