#include "screens/picture/CannyCommand.h"

#include <QRegularExpression>
#include <QStringList>
#include <charconv>

namespace {
QString shellWord(const QString &word) {
  static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./+-]+$"));
  if (plain.match(word).hasMatch()) return word;
  QString quoted = word;
  quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
  return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}
}  // namespace

QString shortestDecimal(float value) {
  char digits[32];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  return QString::fromLatin1(digits, error == std::errc() ? end - digits : 0);
}

QString cannyCommand(const EdgeSettings &settings, const QString &input, const QString &output) {
  return QStringList{QStringLiteral("canny"),
                     QStringLiteral("--t1"),
                     shortestDecimal(settings.t1),
                     QStringLiteral("--t2"),
                     shortestDecimal(settings.t2),
                     QStringLiteral("--sigma"),
                     shortestDecimal(settings.sigma),
                     QStringLiteral("--steps"),
                     QString::number(settings.steps),
                     shellWord(input),
                     shellWord(output)}
      .join(QLatin1Char(' '));
}
