// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Red wavy underlines under the unknown words of a text document (a word
// memo or the Text page's lesson text).
//
// The underlines are formats of the blocks' layouts, as a syntax highlighter
// sets them: neither an edit of the document (it stays unmodified) nor a
// step of its undo history. The blocks a change touches are checked again at
// once when they are few; everything else (a new document, a long insert, a
// word added to a dictionary) is checked in slices from the event loop, so
// that a document of 65,535 entries never blocks typing.
//
// Words with a character Windows-1252 cannot hold (a lesson cannot store
// it) are never underlined: the fault would be the conversion's, not the
// word's.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "files/lessontext.h"

class QTextBlock;
class QTextDocument;
class QTimer;

namespace vocatrix {
class TLessonSpeller;
}

namespace vocatrix::ui {

// An underlined word: its place in the document, its language (1 or 2), its
// text and the spellers that checked it.
struct MarkedWord {
  int Position = 0;
  int Length = 0;
  int Language = 1;
  QString Text;
  std::shared_ptr<const TLessonSpeller> Speller;
};

class TSpellMarks : public QObject {
  Q_OBJECT
 public:
  // The spellers of two languages, by the languages in force at a line of
  // lesson text (a word memo passes the languages of no "Sp:" line).
  using SpellerSource = std::function<std::shared_ptr<const TLessonSpeller>(const LessonTextLanguages&)>;

  // Marks the words of `document` (which owns the marks): with `language`
  // 1 or 2 every line is words of that language (a word memo); with 0 the
  // document is lesson text, each word in the language of its side. The
  // spellers come from `speller`, asked on every check. The whole document
  // is checked from the event loop.
  TSpellMarks(QTextDocument* document, int language, SpellerSource speller);
  ~TSpellMarks() override;

  // Checks the whole document again, in slices from the event loop.
  void Recheck();
  // Checks at once what is still to be checked.
  void Finish();
  bool Pending() const { return next_ >= 0; }
  // The longest slice run from the event loop so far, in milliseconds.
  double LongestSlice() const { return longestSlice_; }

  // The marks of a document; null when it has none.
  static TSpellMarks* Of(const QTextDocument* document);
  // The underlined word at a position of a document, if any.
  static std::optional<MarkedWord> WordAt(const QTextDocument* document, int position);
  // The underlined words of a block as (start, length) within the block.
  static std::vector<std::pair<int, int>> MarksOf(const QTextBlock& block);
  // Every document of the program checked again (a word was added to a
  // dictionary that any of them may use).
  static void RecheckEverywhere();

 private:
  void ContentsChange(int position, int removed, int added);
  void Slice();
  // Checks blocks from `first` on: at least through block `through`, then
  // on while a block's languages at its end change, for at most
  // `milliseconds` (negative: no limit). Returns the first block left, or -1.
  int CheckFrom(int first, int through, double milliseconds);
  // Checks a block with the languages in force at its start; true when the
  // languages in force at its end changed.
  bool CheckBlock(QTextBlock& block);
  void Schedule(int first, int through);
  LessonTextLanguages LanguagesBefore(const QTextBlock& block) const;
  int StateOf(const LessonTextLanguages& languages);

  QTextDocument* document_;
  int language_;
  SpellerSource speller_;
  // Lesson text: the languages in force after each block, which the block's
  // user state names by index into this table.
  std::vector<LessonTextLanguages> states_;
  // The first block still to check (-1: none), and the last one that must
  // be checked whatever the blocks before it give.
  int next_ = -1;
  int through_ = -1;
  int blockCount_ = 0;
  bool applying_ = false;
  double longestSlice_ = 0;
  QTimer* timer_ = nullptr;
};

}  // namespace vocatrix::ui
