// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lesson document: one lesson with its file, the entry its views are at,
// its undo history and the state last saved or opened.
//
// Every change to the lesson goes through Change: it records the change as
// a step of the history, applies it and tells the observers what changed
// (the header, some entries or the whole lesson), so that the views show it.
// A change that fails leaves the lesson and the history as they were.
//
// Whether the lesson holds unsaved changes is worked out, never set: it
// differs from the state last saved or opened by its place in the history,
// a new lesson differs from a new, empty one, or the views hold edits not
// yet stored (they say so with SetUnstoredEdits). Looking at a lesson
// (another entry, another page, a search) changes none of it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/history.h"
#include "model/lesson.h"

namespace vocatrix {

// The user's actions that change a lesson.
enum class TLessonOp {
  StoreControls,  // the edits of the header and entry controls
  InsertEntry,
  AppendEntry,  // scrolling on past the last entry
  DeleteEntry,
  CopyEntry,
  MirrorEntry,
  EditCell,
  DeleteEntries,
  SortLesson,
  Compact,
  Mirror,
  CompileText,  // the Text page read back into the lesson
  SetFont,
  Combine,  // the compaction a language substitution makes of its sources
};

// What a change did, for the views to show it.
struct TLessonChange {
  enum Scope : unsigned {
    kNothing = 0,      // only the entry shown may differ
    kHeader = 1,       // title, topic, author, picture, language names or fonts
    kSomeEntries = 2,  // the entries of ChangedEntries, in place
    kEntryList = 4,    // entries inserted, removed or moved, or many changed
    kReplaced = 8,     // a new lesson object: views let go of the old one
  };
  unsigned What = kNothing;
  // With kSomeEntries: the places of the entries changed in place.
  std::vector<int> ChangedEntries;
  // The entry the views are at afterwards.
  int Entry = 0;

  bool Has(Scope scope) const { return (What & scope) != 0; }
  // Anything that changes the numbers of entries and words.
  bool ChangesCounts() const { return (What & (kSomeEntries | kEntryList | kReplaced)) != 0; }
};

class TLessonObserver {
 public:
  virtual ~TLessonObserver() = default;
  // Before any change of the lesson: a view whose worker still reads it
  // waits for it here.
  virtual void LessonWillChange() {}
  virtual void LessonChanged(const TLessonChange& change) = 0;
};

class TLessonDocument;

// One change in the making, handed to the command that Change runs. The
// command changes Lesson() in place and says what it touches: it may change
// in place only the entries it watches; it may insert and remove entries
// freely. A command that puts a new lesson in the old one's place hands it
// to Replace instead.
class TLessonEdit {
 public:
  TMeanCollection& Lesson() { return lesson_; }
  // The entry the views are at: before the command, and after it once set.
  int Entry() const { return entry_; }
  void SetEntry(int entry) { entry_ = entry; }
  void WatchEntry(int index) { recorder_.WatchEntry(index); }
  void WatchAllEntries() { recorder_.WatchAllEntries(); }
  // The lesson's languages and entries were mirrored and nothing else changed.
  void SetMirrored() { recorder_.SetMirrored(); }
  // The lesson that takes the old one's place once the command returns. Its
  // entries equal to old ones become the old entry objects (see
  // TLessonRecorder::SetReplaced).
  void Replace(std::unique_ptr<TMeanCollection> lesson);

 private:
  friend class TLessonDocument;
  TLessonEdit(TMeanCollection& lesson, int entry) : lesson_(lesson), recorder_(lesson, entry), entry_(entry) {}

  TMeanCollection& lesson_;
  TLessonRecorder recorder_;
  int entry_;
  std::unique_ptr<TMeanCollection> replacement_;
};

// A lesson to take a document's place with the step that records it, both
// worked out beforehand (TLessonDocument::PrepareReplacement), so that
// taking it costs the interface thread little.
struct TPreparedLesson {
  std::unique_ptr<TMeanCollection> Lesson;
  // What the preparation read of the document's lesson, and the step.
  std::unique_ptr<TLessonRecorder> Recorder;
  int EntryBefore = 0;
  TLessonStep Step;
  std::size_t StepBytes = 0;
};

class TLessonDocument {
 public:
  enum class Origin {
    kNew,      // a new lesson: unsaved changes are differences from a new, empty one
    kFile,     // read from its file: unsaved changes are steps away from that state
    kUnsaved,  // made or kept elsewhere (imported, combined, recovered): unsaved until saved
  };

  // A new lesson: empty header, one blank entry, its languages named
  // `language1` and `language2` (by default as NewLanguageName names them).
  TLessonDocument();
  TLessonDocument(const std::string& language1, const std::string& language2);
  // A lesson of the given origin. The document keeps a lesson as it is
  // given: views that show one entry at a time give a lesson without
  // entries a blank one first (EnsureEntry), and the commands that delete
  // entries leave one.
  TLessonDocument(std::unique_ptr<TMeanCollection> lesson, Origin origin, std::string fileName = {});
  TLessonDocument(const TLessonDocument&) = delete;
  TLessonDocument& operator=(const TLessonDocument&) = delete;

  // The name a new lesson gives language 1 or 2, in the interface language.
  static std::string NewLanguageName(int language);
  // A lesson file as a document shows it: compacted, with at least one entry.
  static std::unique_ptr<TMeanCollection> ReadLessonFile(const std::string& fileName);

  // The lesson. Changes to it belong in Change; only what is no edit of the
  // lesson (exercise scores in memory, say) may go past it.
  const TMeanCollection& Lesson() const { return *lesson_; }
  TMeanCollection& Lesson() { return *lesson_; }
  const TLessonHistory& History() const { return history_; }
  // Counts the changes of the lesson: work prepared from it is still good
  // while the count stays.
  unsigned long Revision() const { return revision_; }
  Origin GetOrigin() const { return origin_; }

  // The file of the document: a lesson file or lesson text; empty when it has none.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& fileName) { fileName_ = fileName; }

  // --- The entry the views are at ---
  int Entry() const { return entry_; }
  // Another entry is shown (clamped to the lesson's entries): no change of
  // the lesson, but the edits of the controls start a new step. Tells the
  // observers.
  void SetEntry(int entry);

  // --- Changes ---
  // Runs `command` as one change of kind `op`. Raises what the command
  // raises, leaving the lesson and the history as they were.
  TLessonChange Change(TLessonOp op, const std::function<void(TLessonEdit&)>& command);
  // Takes the last step back, or does the next one again; false when there
  // is none. A step that fails raises, changing nothing.
  bool Undo();
  bool Redo();
  // `lesson` prepared to take the place of the document's lesson, the views
  // then at `entry`. Only reads the document: it may run on another thread
  // while nothing changes the document.
  TPreparedLesson PrepareReplacement(std::unique_ptr<TMeanCollection> lesson, int entry) const;
  // Puts a prepared lesson in the lesson's place as one change of kind `op`;
  // if the document changed since it was prepared, it is recorded anew.
  TLessonChange TakePrepared(TLessonOp op, TPreparedLesson prepared);
  // Puts another lesson in the document's place, with a history of its own.
  void Take(std::unique_ptr<TMeanCollection> lesson, Origin origin, std::string fileName = {});
  // The views show the whole lesson again; the history and the saved state
  // stay.
  void ShowAgain();

  // --- Saved state ---
  // The lesson differs from the state last saved or opened, or the views
  // hold edits not yet stored.
  bool Modified() const { return unstoredEdits_ || !AtSavedState(); }
  // The lesson itself is the state last saved or opened (a new lesson: a
  // new, empty one).
  bool AtSavedState() const;
  // The views hold edits of the lesson not yet stored in it.
  void SetUnstoredEdits(bool held) { unstoredEdits_ = held; }
  bool UnstoredEdits() const { return unstoredEdits_; }
  // The lesson as it stands is the file's: it was saved, or its file opened.
  void MarkSaved();
  // Writes the lesson to its lesson file, the file there before kept as its
  // backup, and marks the state saved. Raises the file's errors.
  void SaveLessonFile();

  // --- Observers ---
  // Observers are told of changes in the order they were added; each
  // removes itself before it goes.
  void AddObserver(TLessonObserver* observer);
  void RemoveObserver(TLessonObserver* observer);

  // The lesson holds as many entries as a lesson file can.
  bool Full() const { return lesson_->EntryCount() >= TMeanCollection::kMaxEntries; }

 private:
  // Undo or Redo.
  bool Step(bool redo);
  // What a step did, as the views see it; `replaced` for a new lesson object.
  TLessonChange ChangeOf(const TLessonStep& step, int entry, bool replaced) const;
  void Notify(const TLessonChange& change);
  void NotifyWillChange();
  int Clamped(int entry) const;
  bool IsNewEmptyLesson() const;

  std::unique_ptr<TMeanCollection> lesson_;
  unsigned long revision_ = 0;
  std::string fileName_;
  Origin origin_;
  // The header a new lesson starts with.
  TLessonHeader newHeader_;
  TLessonHistory history_;
  int entry_ = 0;
  // Entry visits: the edits of the controls during one visit are one step.
  long visit_ = 0;
  int visitedEntry_ = 0;
  bool unstoredEdits_ = false;
  std::vector<TLessonObserver*> observers_;
};

}  // namespace vocatrix
