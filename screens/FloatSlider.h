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

 public:
  // Handle positions between the ends of the range.
  static constexpr int positions = 1000;

  explicit FloatSlider(QWidget *parent = nullptr);

  float minimumValue() const { return _minimumValue; }
  float maximumValue() const { return _maximumValue; }
  float value() const { return _value; }
  // Whether the label shows the value truncated toward zero, as a count.
  bool showsWholeNumber() const { return _showsWholeNumber; }

  // A range end that passes the other one moves it along; the value is
  // kept inside the range. NaN is ignored.
  void setMinimumValue(float minimum);
  void setMaximumValue(float maximum);
  void setValue(float value);
  void setShowsWholeNumber(bool wholeNumber);

  // The handle, for keyboard and mouse moves.
  QSlider *track() const { return _track; }
  QString valueText() const;

 signals:
  void valueChanged(float value);

 private:
  void moveHandle(int position);
  void store(float value);
  void showValue();

  float _minimumValue = 0.0f;
  float _maximumValue = 1.0f;
  float _value = 0.0f;
  bool _showsWholeNumber = false;
  QSlider *_track;
  QLabel *_label;
};
