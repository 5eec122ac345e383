// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding a word of the lesson from the lesson window: on from the word found
// last while the lesson has not changed since and its entry is shown, else
// from the entry shown; and the status bar's notes of a search.

#include <QString>
#include <optional>

#include "document/lessondocument.h"
#include "operations/find.h"

namespace vocatrix::ui {

class TWindowHost;

// Says in the status bar that a search went round the text or the lesson
// (or says nothing); beeps and says so when it found nothing.
void NoteFindResult(TWindowHost& host, const QString& text, bool found, bool wrapped, bool backward);

class TLessonFinder : public TLessonObserver {
 public:
  explicit TLessonFinder(TLessonDocument& document) : document_(document) {}

  // The place of the next (previous) word holding `text`, or nothing;
  // `wrapped` tells whether the search went round the lesson.
  std::optional<TWordPlace> FindNext(const QString& text, const TFindOptions& options, bool backward, bool* wrapped);
  // The word found is shown at `place`: the next search goes on from there.
  void Shown(const TWordPlace& place) { lastFound_ = place; }
  // Any change of the lesson: the next search starts at the entry shown.
  void LessonChanged(const TLessonChange& change) override;

 private:
  TLessonDocument& document_;
  std::optional<TWordPlace> lastFound_;
};

}  // namespace vocatrix::ui
