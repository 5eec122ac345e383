// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/lessonfind.h"

#include "base/messages.h"
#include "ui/common/qtstrings.h"
#include "ui/mainwindow/windowhost.h"

namespace vocatrix::ui {

void NoteFindResult(TWindowHost& host, const QString& text, bool found, bool wrapped, bool backward) {
  if (!found) {
    host.Services().sound.Beep();
    host.ShowNote(Utf8ToQString(TranslateMessage("FindNotFound", "'%s' not found.", {text.toStdString()})));
    return;
  }
  if (!wrapped) {
    host.ShowNote(QString());
    return;
  }
  host.ShowNote(Utf8ToQString(
      backward ? TranslateMessage("FindWrappedToEnd", "Passed the start of the lesson; searched on from its end.")
               : TranslateMessage("FindWrappedToStart", "Passed the end of the lesson; searched on from its start.")));
}

std::optional<TWordPlace> TLessonFinder::FindNext(const QString& text, const TFindOptions& options, bool backward,
                                                  bool* wrapped) {
  QString rejected;
  const std::string lessonText = ToLessonString(text, &rejected);
  // Text that Windows-1252 cannot hold is in no lesson.
  if (!rejected.isEmpty()) return std::nullopt;
  // On from the word found last while its entry is shown; else from the
  // shown entry (its own words first, going forward).
  const int entry = document_.Entry();
  const bool goOn = lastFound_ && lastFound_->Entry == entry;
  const TWordPlace from = goOn ? *lastFound_ : TWordPlace{entry, 0, 0};
  const std::optional<TFoundWord> found = FindWord(document_.Lesson(), TTextMatcher(lessonText, options), options.Side,
                                                   from, !goOn && !backward, backward);
  if (!found) return std::nullopt;
  *wrapped = found->Wrapped;
  return found->Place;
}

void TLessonFinder::LessonChanged(const TLessonChange& change) {
  if (change.What != TLessonChange::kNothing) lastFound_.reset();
}

}  // namespace vocatrix::ui
