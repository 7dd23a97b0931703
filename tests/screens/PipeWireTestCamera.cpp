#include "tests/screens/PipeWireTestCamera.h"

#include <sys/prctl.h>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <csignal>

namespace {
constexpr int startupMs = 10000;
constexpr int publisherGraceMs = 500;
constexpr int stopMs = 3000;
}  // namespace

PipeWireTestCamera::PipeWireTestCamera() {
  if (!_runtime.isValid()) {
    _whyNot = QStringLiteral("no runtime folder: ") + _runtime.errorString();
    return;
  }
  for (const char *program : {"dbus-daemon", "pipewire", "wireplumber", "gst-launch-1.0"}) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
      _whyNot = QString::fromLatin1(program) + QStringLiteral(" is not installed");
      return;
    }
  }

  // Everything the services keep goes into the runtime folder, never $HOME.
  const QString root = _runtime.path();
  const QString bus = root + QStringLiteral("/bus");
  _environment = QProcessEnvironment::systemEnvironment();
  _environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), root);
  _environment.insert(QStringLiteral("XDG_STATE_HOME"), root + QStringLiteral("/state"));
  _environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
  _environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                      QStringLiteral("unix:path=") + bus);
  _environment.remove(QStringLiteral("PIPEWIRE_RUNTIME_DIR"));
  _environment.remove(QStringLiteral("PIPEWIRE_REMOTE"));

  if (!startService(
          QStringLiteral("dbus-daemon"),
          {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
           QStringLiteral("--address=unix:path=") + bus}) ||
      !waitForFile(bus))
    return;
  if (!startService(QStringLiteral("pipewire"), {}) ||
      !waitForFile(root + QStringLiteral("/pipewire-0")))
    return;
  if (!startService(QStringLiteral("wireplumber"), {})) return;

  // This process finds the same PipeWire.
  qputenv("XDG_RUNTIME_DIR", root.toLocal8Bit());
  qunsetenv("PIPEWIRE_RUNTIME_DIR");
  qunsetenv("PIPEWIRE_REMOTE");
}

PipeWireTestCamera::~PipeWireTestCamera() {
  // Publishers first, the bus last: the reverse of starting.
  for (auto &[name, publisher] : _cameras) stop(publisher.get());
  for (auto it = _services.rbegin(); it != _services.rend(); ++it) stop(it->get());
}

bool PipeWireTestCamera::publish(const QString &name, QSize size) {
  for (const auto &service : _services) {
    if (_whyNot.isEmpty() && service->state() == QProcess::NotRunning)
      _whyNot = service->program() + QStringLiteral(" has ended");
  }
  if (!_whyNot.isEmpty()) return false;
  // YUY2 is what pipewiresink links with; other formats fail to negotiate.
  const QString caps = QStringLiteral("video/x-raw,format=YUY2,width=%1,height=%2,framerate=30/1")
                           .arg(size.width())
                           .arg(size.height());
  std::unique_ptr<QProcess> publisher =
      start(QStringLiteral("gst-launch-1.0"),
            {QStringLiteral("-q"), QStringLiteral("videotestsrc"), QStringLiteral("is-live=true"),
             QStringLiteral("!"), caps, QStringLiteral("!"), QStringLiteral("pipewiresink"),
             QStringLiteral("mode=provide"),
             QStringLiteral("stream-properties=props,media.class=Video/Source,node.description=") +
                 name});
  if (!publisher) return false;
  // A publisher that cannot link ends within moments.
  if (publisher->waitForFinished(publisherGraceMs)) {
    QFile log(logOf(QStringLiteral("gst-launch-1.0")));
    log.open(QIODevice::ReadOnly);
    _whyNot = QStringLiteral("gst-launch-1.0 ended: ") +
              QString::fromLocal8Bit(log.readAll()).trimmed().right(400);
    return false;
  }
  unpublish(name);
  _cameras[name] = std::move(publisher);
  return true;
}

void PipeWireTestCamera::unpublish(const QString &name) {
  const auto found = _cameras.find(name);
  if (found == _cameras.end()) return;
  stop(found->second.get());
  _cameras.erase(found);
}

bool PipeWireTestCamera::startService(const QString &program, const QStringList &arguments) {
  std::unique_ptr<QProcess> service = start(program, arguments);
  if (!service) return false;
  _services.push_back(std::move(service));
  return true;
}

std::unique_ptr<QProcess> PipeWireTestCamera::start(const QString &program,
                                                    const QStringList &arguments) {
  auto process = std::make_unique<QProcess>();
  process->setProcessEnvironment(_environment);
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(logOf(program), QIODevice::Append);
  // Should this process die without cleaning up, its services die with it.
  process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
  process->start(program, arguments);
  if (!process->waitForStarted(startupMs)) {
    _whyNot = program + QStringLiteral(" does not start: ") + process->errorString();
    return nullptr;
  }
  return process;
}

QString PipeWireTestCamera::logOf(const QString &program) const {
  return _runtime.filePath(program + QStringLiteral(".log"));
}

bool PipeWireTestCamera::waitForFile(const QString &path) {
  const QDeadlineTimer deadline(startupMs);
  while (!QFileInfo::exists(path)) {
    if (deadline.hasExpired()) {
      _whyNot = path + QStringLiteral(" did not appear");
      return false;
    }
    QThread::msleep(20);
  }
  return true;
}

void PipeWireTestCamera::stop(QProcess *process) {
  if (process->state() == QProcess::NotRunning) return;
  process->terminate();
  if (!process->waitForFinished(stopMs)) {
    process->kill();
    process->waitForFinished(stopMs);
  }
}
