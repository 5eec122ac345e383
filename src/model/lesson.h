// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lesson document: header, two languages and the ordered entries.
//
// Ownership: a document owns its languages and its entry-list object; the
// entries themselves are shared (std::shared_ptr), because a concatenation
// lists the same entry objects in several lessons. An entry lives as long as
// any lesson (or other holder) still refers to it.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/collection.h"
#include "model/language.h"
#include "model/meaning.h"

namespace vocatrix {

using TMeaningList = TCollection<TMeaning>;
struct TransferReport;

// The lesson's header: what it says of itself and its two languages. The
// undo history copies and compares it as one value, so a header field
// belongs here, where it is undone with the others.
struct TLessonHeader {
  std::string Title;
  std::string Topic;
  std::string Author;
  std::string Picture;
  TLanguage Language1;
  TLanguage Language2;

  bool operator==(const TLessonHeader&) const = default;
};

class TMeanCollection : public TLessonHeader {
 public:
  // The 16-bit entry count of the lesson file holds at most this many.
  static constexpr int kMaxEntries = 65535;

  TMeanCollection();
  virtual ~TMeanCollection();
  TMeanCollection(const TMeanCollection&) = delete;
  TMeanCollection& operator=(const TMeanCollection&) = delete;

  // Empty header, "Language 1" and "Language 2", one blank entry.
  static std::unique_ptr<TMeanCollection> CreateEmpty();

  bool Modified = false;
  std::string LessonFileName;  // file-system path
  // Title, Topic, Author, Picture, Language1 and Language2: TLessonHeader.
  // The entries in lesson order; absent (null) after reading a lesson text
  // file without a single valid entry line.
  std::unique_ptr<TMeaningList> Meanings;

  // Number of entries; 0 when Meanings is absent.
  int EntryCount() const { return Meanings ? Meanings->Count() : 0; }
  // A lesson that is shown or saved holds at least one entry: adds a blank
  // entry to a lesson without any. True when it added one.
  bool EnsureEntry();

  // --- Reading and writing by file kind (lessonfiles.cpp) ---
  // A document read from a .tav, .txt or .rtf file; lesson text is read
  // leniently, and `skippedLines` (when given) receives the number of
  // malformed lines it skipped.
  static std::unique_ptr<TMeanCollection> CreateFromFile(const std::string& fileName, int* skippedLines = nullptr);
  // Reads lesson text leniently and compacts; returns the number of skipped
  // lines. `report` (when given) learns of characters read as "?" and of
  // table rows that held two entries.
  int LoadText(const std::string& fileName, TransferReport* report = nullptr);
  // Strict parse of lesson-text lines into a new document; null and the
  // 0-based index of the faulty line on a format error.
  static std::unique_ptr<TMeanCollection> FromLines(const std::vector<std::string>& lines, int& errorLine);
  // The lesson as lesson text; `uncarried` (when given) receives what the
  // text cannot carry (see WriteLessonLines).
  std::vector<std::string> ToLines(std::vector<std::string>* uncarried = nullptr) const;
  void SaveToFile(const std::string& fileName);
  // As SaveToFile; the previous file goes to `backupName` once the new
  // content is safely written.
  void SaveToFile(const std::string& fileName, const std::string& backupName);

  // --- Queries, compacting and mirroring (compact.cpp) ---
  const MeaningPtr& At(int index) const;
  // The entries in lesson order, each object once, at its first place: a
  // concatenation can list one entry several times, and whole-lesson
  // commands change each entry once.
  std::vector<MeaningPtr> DistinctEntries() const;
  int IndexOf(const std::string& text) const;
  void GetSpeachName(std::uint8_t side, std::string& name) const;
  const TFont& GetFont(std::uint8_t side) const;
  void DblDel();
  // DblDel in which the words of `keepApart` neither find a twin nor are
  // found: words read with "?" for characters a lesson cannot hold say
  // nothing about what they meant.
  void DblDel(const std::unordered_set<const TWord*>& keepApart);
  void Mirror();
  void X();
  void InitDate();
  bool SameDate() const;
  int Import();
  void Xport();

  // --- Combining (combine.cpp) ---
  std::uint16_t AddLesson(std::unique_ptr<TMeanCollection>& other);
  void AddKnowledge();
  void PutKnowledge();

 protected:
  // Fills this (fresh) document from a file by its kind; returns the
  // number of malformed lesson-text lines skipped.
  int ReadFromFile(const std::string& fileName);
};

// Word statistics: mode 0 words of language 1, 1 of language 2, 2 all; the
// exact count (no 16-bit wrap).
std::uint32_t CountWords(const TMeanCollection& lesson, std::uint8_t mode);

}  // namespace vocatrix
