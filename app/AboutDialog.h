#pragma once
// Help: what the program does, what each slider does, how thresholds are
// suggested, and the keyboard shortcuts.
#include <QDialog>

class QLabel;

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget *parent = nullptr);

  QLabel *text() const { return _text; }

 private:
  QLabel *_text;
};
