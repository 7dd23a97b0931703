#pragma once
// Cameras without hardware: a private session bus, PipeWire and WirePlumber in
// a runtime folder of their own, and GStreamer test patterns published into it
// as video sources, which Qt Multimedia lists and captures from like webcams.
// Make one before Qt Multimedia is first used: it points this process there.
// Every process is stopped when the object goes, or killed should this die.
#include <QProcessEnvironment>
#include <QSize>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <vector>

class QProcess;

class PipeWireTestCamera {
 public:
  PipeWireTestCamera();
  ~PipeWireTestCamera();

  // Empty while everything runs; otherwise what could not be started.
  QString whyNot() const { return _whyNot; }
  // Publishes a live test pattern of `size` as a camera called `name`.
  bool publish(const QString &name, QSize size);
  void unpublish(const QString &name);

 private:
  std::unique_ptr<QProcess> start(const QString &program, const QStringList &arguments);
  bool startService(const QString &program, const QStringList &arguments, const QString &file);

  QTemporaryDir _runtime;
  QProcessEnvironment _environment = QProcessEnvironment::systemEnvironment();
  std::vector<std::unique_ptr<QProcess>> _services;       // in the order started
  std::map<QString, std::unique_ptr<QProcess>> _cameras;  // their publishers
  QString _whyNot;
};
