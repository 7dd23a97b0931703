#include "tools/QtMessages.h"

#include <QtGlobal>
#include <utility>

namespace {

QStringList &collected() {
  static QStringList messages;
  return messages;
}

void collect(QtMsgType, const QMessageLogContext &, const QString &message) {
  collected() << message;
}

}  // namespace

void collectQtMessages() { qInstallMessageHandler(collect); }

QStringList takeQtMessages() { return std::exchange(collected(), QStringList()); }
