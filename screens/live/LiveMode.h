#pragma once
// Whether the screens show the edge map while a slider moves. One switch for
// every tab, off until the user turns it on, remembered between runs.
#include <QObject>

class LiveMode : public QObject {
  Q_OBJECT

 public:
  static LiveMode &shared();

  bool isOn() const { return _on; }
  void setOn(bool on);

 signals:
  void changed(bool on);

 private:
  LiveMode();
  bool _on;
};
