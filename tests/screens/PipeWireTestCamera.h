#pragma once
// Cameras without hardware: a private session bus, PipeWire and WirePlumber in a runtime folder of
// their own, and GStreamer test patterns published into it as video sources, which Qt Multimedia
// lists and captures from like webcams. Make one before Qt Multimedia is first used: it points this
// process there. Every process is stopped when the object goes, or killed should this die.
#include <sys/prctl.h>
#include <QProcess>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <map>
#include <memory>
#include <vector>

class PipeWireTestCamera {
 public:
  PipeWireTestCamera() {
    for (const QString program :
         {"dbus-daemon", "pipewire", "wireplumber", "gst-launch-1.0", "gst-inspect-1.0"})
      if (QStandardPaths::findExecutable(program).isEmpty())
        _whyNot = program + " is not installed";
    if (!_runtime.isValid()) _whyNot = "no runtime folder";
    if (!_whyNot.isEmpty()) return;
    // Everything the services keep goes into the runtime folder, never $HOME.
    const QString root = _runtime.path(), bus = root + "/bus";
    _environment.insert("XDG_RUNTIME_DIR", root);
    _environment.insert("XDG_STATE_HOME", root + "/state");
    _environment.insert("XDG_CONFIG_HOME", root + "/config");
    _environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + bus);
    for (const char *name : {"PIPEWIRE_RUNTIME_DIR", "PIPEWIRE_REMOTE"})
      _environment.remove(name), qunsetenv(name);  // so that this process finds the same PipeWire
    // GStreamer builds its plugin registry on first use. Built by a publisher and Qt Multimedia at
    // once, as on a fresh machine, it now and then leaves a camera stalled: so it is built first.
    if (Process inspect = start("gst-inspect-1.0", {"videotestsrc"}))
      inspect->waitForFinished(60000);
    if (!startService("dbus-daemon",
                      {"--session", "--nofork", "--nopidfile", "--address=unix:path=" + bus},
                      bus) ||
        !startService("pipewire", {}, root + "/pipewire-0") || !startService("wireplumber", {}, {}))
      return;
    qputenv("XDG_RUNTIME_DIR", root.toLocal8Bit());
  }
  ~PipeWireTestCamera() {
    _cameras.clear();
    while (!_services.empty()) _services.pop_back();  // the last started first
  }

  // Empty while everything runs; otherwise what could not be started.
  QString whyNot() const { return _whyNot; }

  // Publishes a live test pattern of `size` as a camera called `name`.
  bool publish(const QString &name, QSize size) {
    for (const auto &service : _services)
      if (service->state() == QProcess::NotRunning) _whyNot = service->program() + " has ended";
    if (!_whyNot.isEmpty()) return false;
    // YUY2 is what pipewiresink links with; other formats fail to negotiate.
    const QString caps = QString::asprintf(
        "video/x-raw,format=YUY2,width=%d,height=%d,framerate=30/1", size.width(), size.height());
    const QString properties = "props,media.class=Video/Source,node.description=" + name;
    // The test pattern draws into buffers of its own: drawn into pipewiresink's, every frame made
    // while no viewer is linked is dropped without going back to the stream, and once its eight
    // are gone the sink waits for good for one (PipeWire 0.3.65), so that the next viewer of the
    // camera gets nothing. Copied over by the sink, a frame is taken from the stream only while a
    // viewer is linked.
    Process publisher =
        start("gst-launch-1.0", {"-q", "videotestsrc", "is-live=true", "!", caps, "!", "identity",
                                 "drop-allocation=true", "!", "pipewiresink", "mode=provide",
                                 "stream-properties=" + properties});
    // A publisher that cannot link ends within moments.
    if (publisher && publisher->waitForFinished(500)) {
      QFile log(_runtime.filePath("gst-launch-1.0.log"));
      log.open(QIODevice::ReadOnly);
      _whyNot = "gst-launch-1.0 ended: " + QString::fromLocal8Bit(log.readAll()).right(400);
    }
    if (_whyNot.isEmpty()) _cameras[name] = std::move(publisher);
    return _whyNot.isEmpty();
  }
  void unpublish(const QString &name) { _cameras.erase(name); }
  // Stops the publisher of `name` where it stands, as a hung camera driver would, until it goes.
  void freeze(const QString &name) { ::kill(pid_t(_cameras.at(name)->processId()), SIGSTOP); }

 private:
  struct Stop {
    void operator()(QProcess *process) const {
      if (process->processId() > 0) ::kill(pid_t(process->processId()), SIGCONT);  // if frozen
      process->terminate();
      process->waitForFinished(3000);
      delete process;  // killed, should it still run
    }
  };
  using Process = std::unique_ptr<QProcess, Stop>;
  static constexpr int kStartupMs = 10000;

  Process start(const QString &program, const QStringList &arguments) {
    Process process(new QProcess);
    process->setProcessEnvironment(_environment);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(_runtime.filePath(program + ".log"), QIODevice::Append);
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process->start(program, arguments);
    if (process->waitForStarted(kStartupMs)) return process;
    _whyNot = program + " does not start: " + process->errorString();
    return nullptr;
  }

  // Starts a service and waits for the file it makes, if any.
  bool startService(const QString &program, const QStringList &arguments, const QString &file) {
    Process service = start(program, arguments);
    if (!service) return false;
    _services.push_back(std::move(service));
    if (file.isEmpty() || QTest::qWaitFor([&] { return QFile::exists(file); }, kStartupMs))
      return true;
    _whyNot = file + " did not appear";
    return false;
  }

  QTemporaryDir _runtime;
  QProcessEnvironment _environment = QProcessEnvironment::systemEnvironment();
  std::vector<Process> _services;       // in the order started
  std::map<QString, Process> _cameras;  // their publishers
  QString _whyNot;
};
