// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document of the Text page: lesson text built into a QTextDocument with
// the language fonts, and read back as lesson lines or rich text. Works on
// documents alone, so it is testable without a window.
//
// Documents made here use the plain-text layout of QPlainTextEdit, which lays
// out lazily and keeps long lessons fast; each line of lesson text is one
// block. A line separator (U+2028) inside a block also ends a line.

#include <QFont>
#include <QObject>
#include <QString>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextDocument>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/font.h"
#include "files/fontranges.h"
#include "files/rtf/rtf.h"
#include "model/language.h"

class QTextCursor;

namespace vocatrix::ui {

// Progress of work over the lines of a text: the maximum once, then
// positions as the lines are done. Positions come in at most about
// kProgressSteps steps; a finer step would not show on the bar and would cost
// a repaint check per line.
struct LineProgress {
  std::function<void(int)> SetMaximum;
  std::function<void(int)> SetPosition;
};
inline constexpr int kProgressSteps = 200;

// Passes positions on to a LineProgress (after giving it the maximum) in
// steps of about 1/kProgressSteps of the work, forward or back: a second
// pass over the same lines shows from its start.
class ProgressSteps {
 public:
  ProgressSteps(const LineProgress* progress, int maximum);
  // `always`: also a position within a step of the last one shown.
  void At(int position, bool always = false);

 private:
  const LineProgress* progress_;
  int step_;
  int last_;
};

// --- Formats ---
// The character format that shows text in a lesson font: face, size, the
// four styles, the pitch (when the font gives one) and the colour (a system
// colour as its current RGB value).
QTextCharFormat CharFormatOfFont(const TFont& font);
// The character format of a rich-text run; an empty face is `defaultFont`'s,
// the automatic colour sets no colour.
QTextCharFormat CharFormatOfRun(const RtfCharFormat& format, const QFont& defaultFont);
// A fragment's format as a run format; what the fragment does not set comes
// from `defaultFont`, and without a colour of its own it is automatic.
RtfCharFormat RunFormatOf(const QTextCharFormat& format, const QFont& defaultFont);

// Gives the cursor's selection the font, or, without a selection, the
// characters typed next at the cursor.
void ApplyFont(QTextCursor& cursor, const TFont& font);

// --- Building documents ---
// A new document holding `lines`, one block each, in `font` (its default
// font).
QTextDocument* NewTextDocument(const std::vector<std::string>& lines, const QFont& font, QObject* parent,
                               const LineProgress* progress = nullptr);
// A new document holding a rich-text document, one block per paragraph,
// each run in its own format; `font` is the default font.
QTextDocument* NewRichTextDocument(const RtfDocument& rich, const QFont& font, QObject* parent);

// Applies font ranges in their order (a later one overrides an earlier one)
// in one edit block. The ranges' lines are the document's blocks.
void ApplyFontRanges(QTextDocument* document, const std::vector<FontRange>& ranges, int lineCount,
                     const LineProgress* progress = nullptr);

// Tab stops that line the markers of lesson text up: the first after the
// widest text before the first tab of an entry or language line (at most about thirty characters of
// the page's font), the second after the marker " - " that follows it; set
// as the document's default, which screen and print both use. The widths are
// those of the fonts `ranges` give the lines, `pageFont` elsewhere.
void SetLessonTextTabs(QTextDocument* document, const std::vector<std::string>& lines,
                       const std::vector<FontRange>& ranges, const QFont& pageFont);

// Gives the words of the lesson text that `document` holds (`lines`, one
// block each) their languages' fonts; nothing when both languages use
// `memoFont`.
void ShowLessonTextFonts(QTextDocument* document, const std::vector<std::string>& lines, const TLanguage& language1,
                         const TLanguage& language2, const TFont& memoFont, const LineProgress* progress = nullptr);

// Lesson text put into a new document in steps, so that a long lesson shows
// at once and fills up while the user reads: Start builds the document with
// the first lines, each Step appends the next ones, and every line is in its
// final fonts as soon as it is in. Once Done, the document is the one that
// NewTextDocument and ShowLessonTextFonts make of the same lines.
class LessonTextFill {
 public:
  // `ranges` as LessonTextFontRanges gives them (in the order of their lines).
  LessonTextFill(std::vector<std::string> lines, std::vector<FontRange> ranges, LineProgress progress = {});
  // A new document (owned by the caller) holding the first `count` lines.
  QTextDocument* Start(const QFont& font, int count);
  // As Start, on a worker thread, which must not measure fonts (their
  // engines belong to the thread that measured them): the document has no
  // layout and no tab stops until FinishOnInterfaceThread gives it both,
  // once the worker has stepped it to Done and moved it to that thread.
  // `option` is the editor's (its wrapping): changed later, it too would
  // lay out everything again.
  QTextDocument* StartOffThread(const QFont& font, const QTextOption& option, int count);
  void FinishOnInterfaceThread(QTextDocument* document, const QFont& font) const;
  // Appends up to `count` more lines; true when all lines are in (also when
  // the document is gone).
  bool Step(int count);
  bool Done() const;
  int LineCount() const { return static_cast<int>(lines_.size()); }

 private:
  void Append(int count);

  std::vector<std::string> lines_;
  std::vector<FontRange> ranges_;
  LineProgress progress_;
  ProgressSteps steps_;
  QPointer<QTextDocument> document_;
  std::vector<std::pair<TFont, QTextCharFormat>> formats_;
  std::size_t nextRange_ = 0;
  int nextLine_ = 0;
};

// --- Reading documents ---
// The lines of a document as lesson strings. Characters that Windows-1252
// cannot hold become "?" and are collected, each once, in `rejected`.
std::vector<std::string> DocumentLines(const QTextDocument* document, QString* rejected = nullptr);
// The same of a document's raw text (QTextDocument::toRawText), which a
// worker thread may read.
std::vector<std::string> RawTextLines(const QString& text, QString* rejected = nullptr);
// Start and end position of line `index` in the document (lines counted as
// DocumentLines does); {-1, -1} when there is no such line.
std::pair<int, int> LineSpan(const QTextDocument* document, int index);
// The document as rich text, one paragraph per line, with its formats.
RtfDocument DocumentToRich(const QTextDocument* document, QString* rejected = nullptr);

// Finds `text` from the cursor's selection on, as QTextDocument::find does
// with the same flags (within one paragraph, a no-break space matching a
// blank, a whole word bounded by no letter or digit), but on the whole text
// at once: a long lesson is searched in milliseconds, not block by block.
QTextCursor FindInDocument(const QTextDocument* document, const QString& text, const QTextCursor& from,
                           QTextDocument::FindFlags flags);

// --- Typing ---
// The line that holds position `position` of the document and the position's
// offset in it.
std::pair<QString, int> LineAtPosition(const QTextDocument* document, int position);
// The nearest line at or above the line holding `position` that begins with
// "Sp:", as a lesson string; empty when there is none. Walks back line by
// line: LanguageLineIndex answers the same at once.
std::string LanguageLineAbove(const QTextDocument* document, int position);

// Remembers which blocks of a document hold a "Sp:" line and keeps that up
// to date as the text changes, so that the language line above the caret is
// found at once on every key, also far down a long lesson. Lives as long as
// its document (which owns it).
class LanguageLineIndex : public QObject {
 public:
  explicit LanguageLineIndex(QTextDocument* document);
  // As LanguageLineAbove.
  std::string LineAbove(int position) const;

 private:
  void ContentsChange(int position, int removed, int added);
  void Rescan(int firstBlock, int lastBlock);

  QTextDocument* document_;
  std::vector<int> blocks_;  // numbers of the blocks holding a "Sp:" line, ascending
  int blockCount_ = 0;
};

}  // namespace vocatrix::ui
