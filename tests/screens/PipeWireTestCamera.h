#pragma once
// Cameras without hardware: a private session bus, PipeWire and WirePlumber
// in a runtime folder of their own, and GStreamer test patterns published
// into that PipeWire as video sources, which Qt Multimedia then lists and
// captures from like webcams. This process is pointed at that PipeWire, so
// make one before Qt Multimedia is first used.
//
// Every process is started with bounded waits and stopped again when the
// object goes (or killed with this process, should it die first).
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <vector>

class QProcess;

class PipeWireTestCamera {
 public:
  PipeWireTestCamera();
  ~PipeWireTestCamera();
  PipeWireTestCamera(const PipeWireTestCamera &) = delete;
  PipeWireTestCamera &operator=(const PipeWireTestCamera &) = delete;

  // Empty while everything runs; otherwise what could not be started.
  QString whyNot() const { return _whyNot; }

  // Publishes a live test pattern of `size` as a camera called `name`.
  // False, with whyNot() set, when the publisher ends at once.
  bool publish(const QString &name, QSize size);
  // Takes the camera called `name` away again.
  void unpublish(const QString &name);

 private:
  std::unique_ptr<QProcess> start(const QString &program, const QStringList &arguments);
  bool startService(const QString &program, const QStringList &arguments);
  QString logOf(const QString &program) const;
  bool waitForFile(const QString &path);
  static void stop(QProcess *process);

  QTemporaryDir _runtime;
  QProcessEnvironment _environment;
  std::vector<std::unique_ptr<QProcess>> _services;       // in the order started
  std::map<QString, std::unique_ptr<QProcess>> _cameras;  // their publishers
  QString _whyNot;
};
