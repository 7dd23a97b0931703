#include "tools/QtMessages.h"

#include <QtGlobal>
#include <utility>

namespace {

QStringList &collected() {
  static thread_local QStringList messages;  // batch workers each read their own pictures
  return messages;
}

void collect(QtMsgType, const QMessageLogContext &, const QString &message) {
  collected() << message;
}

}  // namespace

void collectQtMessages() { qInstallMessageHandler(collect); }

QStringList takeQtMessages() { return std::exchange(collected(), QStringList()); }
