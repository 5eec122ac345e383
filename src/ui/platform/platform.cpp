#include "ui/platform/platform.h"

#include <QRegularExpression>

namespace vocatrix::ui {
namespace {

QStringList FilterParts(const QString& filter) { return filter.split('|'); }

QStringList Patterns(const QString& pattern) {
  return pattern.split(QRegularExpression("[; ]"), Qt::SkipEmptyParts);
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = FilterParts(filter);
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    result << parts[i].trimmed() + " (" + Patterns(parts[i + 1]).join(' ') + ")";
  return result;
}

QString FilterExtension(const QString& filter, int filterIndex) {
  const QStringList parts = FilterParts(filter);
  const qsizetype at = 2 * static_cast<qsizetype>(filterIndex - 1) + 1;
  if (filterIndex < 1 || at >= parts.size()) return {};
  const QStringList patterns = Patterns(parts[at]);
  if (patterns.isEmpty()) return {};
  const QString first = patterns.first();
  if (!first.startsWith("*.") || first.indexOf('*', 1) >= 0 || first.contains('?')) return {};
  return first.mid(2);
}

}  // namespace vocatrix::ui
