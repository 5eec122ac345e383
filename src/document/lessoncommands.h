// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands that change a lesson, each one change of its document (one
// step to undo): the entry commands, the table's edits, compacting and
// mirroring the whole lesson, the compiled Text page taking the lesson's
// place, the fonts, storing what the controls hold, and the compaction a
// language substitution makes of its sources. Each works at the entry the
// document is at and says where it is afterwards.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/font.h"
#include "document/lessondocument.h"
#include "operations/entrytable.h"

namespace vocatrix {

// What the header and entry controls hold, as lesson strings.
struct TControlTexts {
  struct Header {
    std::string Title;
    std::string Topic;
    std::string Author;
    std::string Picture;
    std::string Language1;
    std::string Language2;
  };
  std::optional<Header> HeaderTexts;
  // The form list's choice; -1 when it has none.
  int Form = -1;
  // The lines of the four word memos by kind, as typed: SetKindTexts trims
  // them, skips empty ones and takes each text once.
  std::optional<std::array<std::vector<std::string>, 4>> Lists;
};

// Stores the texts in the header and in the entry the document is at.
TLessonChange StoreControls(TLessonDocument& document, const TControlTexts& texts);

// A blank entry in front of the entry the document is at, which it then is
// at. Raises ELessonTooLarge when the lesson is full.
TLessonChange InsertEntry(TLessonDocument& document);
// A blank entry after the last one, which the document is then at (the
// scroll bar scrolled on past the last entry). Raises ELessonTooLarge when
// the lesson is full.
TLessonChange AppendEntry(TLessonDocument& document);
// Deletes the entry the document is at; the next one takes its place, or
// the one before at the end. The last entry deleted leaves a blank one.
TLessonChange DeleteEntry(TLessonDocument& document);
// A copy of the entry the document is at (its form and words, as new
// words), in front of it; the document is at the copy. Raises
// ELessonTooLarge when the lesson is full.
TLessonChange CopyEntry(TLessonDocument& document);
// Synonyms trade places with translations, antonyms with their translations.
TLessonChange MirrorEntry(TLessonDocument& document);

// Merges entries that share a word (DblDel); the document stays at its
// entry number where the lesson still has it.
TLessonChange CompactLesson(TLessonDocument& document);
// Exchanges the lesson's two languages.
TLessonChange MirrorLesson(TLessonDocument& document);

// Sets a table cell of entry `entry` (see SetCellText, with the form names
// `forms`), which the document is then at; null, changing nothing, when the
// text is no value of the cell.
std::optional<TLessonChange> EditCell(TLessonDocument& document, int entry, int column, const std::string& text,
                                      const TFormNames& forms = ModelFormNames());
// Deletes the entries at the given places (ascending, each once); a lesson
// keeps one blank entry. The document is at the first place deleted, or the
// last entry.
TLessonChange DeleteEntries(TLessonDocument& document, const std::vector<int>& entries);
// Puts the entries in the order of the table sorted by `column`; the
// document stays at its entry, in its new place.
TLessonChange SortLesson(TLessonDocument& document, int column, bool descending);
// The same in two halves: the order (which only reads the lesson, and may
// run on a worker thread while nothing changes it; empty for no column),
// then the entries put in that order.
std::vector<int> LessonSortOrder(const TMeanCollection& lesson, int column, bool descending);
TLessonChange ReorderLesson(TLessonDocument& document, const std::vector<int>& order);

// The lesson read back from the Text page takes the lesson's place: only
// the entries the text changed become new objects. The document is at the
// first entry. Raises ELessonTooLarge for more entries than a lesson holds.
TLessonChange TakeCompiledText(TLessonDocument& document, std::unique_ptr<TMeanCollection> compiled);
// The same in two halves: the first only reads the document (a worker
// thread may run it while nothing changes the document), the second takes
// the text.
TPreparedLesson PrepareCompiledText(const TLessonDocument& document, std::unique_ptr<TMeanCollection> compiled);
TLessonChange TakePreparedText(TLessonDocument& document, TPreparedLesson prepared);
// The font of language 1 or 2.
TLessonChange SetLanguageFont(TLessonDocument& document, int language, const TFont& font);

// Substitutes a language through two documents' lessons (SubstituteLanguage,
// which compacts both): the compaction is a step of each document's history
// (one step when both are the same document). The new lesson, or null when
// the lessons share no language.
std::unique_ptr<TMeanCollection> SubstituteLanguages(TLessonDocument& a, TLessonDocument& b);

}  // namespace vocatrix
