// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/platform.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "ui/platform/fileaccess.h"
#include "ui/common/qtstrings.h"

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
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // The caption usually names its patterns already ("Text (*.txt)"); the
    // dialog matches by the patterns in the last parentheses, so they are
    // replaced by the ones that work, blank-separated, and shown once.
    QString caption = parts[i].trimmed();
    static const QRegularExpression kTrailingPatterns(R"(\s*\([^()]*\)$)");
    caption.remove(kTrailingPatterns);
    result << caption + " (" + Patterns(parts[i + 1]).join(' ') + ")";
  }
  return result;
}

SaveTargetCheck CheckSaveTarget(const FileDialogRequest& request, const QString& path) {
  if (request.RefuseReadOnly && FileIsReadOnly(QStringToFileName(path))) return SaveTargetCheck::RefuseReadOnly;
  if (request.OverwritePrompt && QFileInfo::exists(path)) return SaveTargetCheck::AskReplace;
  return SaveTargetCheck::Accept;
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
