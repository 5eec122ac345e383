// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo history of a lesson: each command's change as a delta that can be
// taken back and done again.
//
// A step keeps only what the command touched: the header when it changed,
// the entry objects it took out of the lesson's list and put into it (by
// place), and the entries it changed in place, each object once, as the form
// and the word objects of its lists before and after. Word objects are never
// changed in place, so a changed entry costs a few pointers per word.
// Mirroring the whole lesson is its own inverse and costs nothing.
//
// Entries are shared objects: a concatenation lists the entries of its
// sources, a lesson concatenated with itself lists each twice. A step names
// the objects themselves, so undoing it puts back the very entry objects in
// the places they had and the very words in them, and an entry listed twice
// is changed once. Undo and redo first do everything that can fail, then
// change the lesson: a failure (an exception) leaves it as it was.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/lesson.h"

namespace vocatrix {

// The form and the word objects of one entry's four lists, by kind.
struct TEntryContent {
  std::uint8_t Form = kFormOther;
  std::array<std::vector<PWord>, 4> Lists;

  static TEntryContent Of(const TMeaning& entry);
  // The same form and, list by list, the same word objects.
  bool operator==(const TEntryContent& other) const = default;
  // Same form and, list by list, words of the same text, extra, remark,
  // knowledge and font: one can stand for the other.
  bool SameAs(const TEntryContent& other) const;
  std::size_t Bytes() const;
  // Without the words, which the entry or another content also holds.
  std::size_t ListBytes() const;
};

// What one command changed.
class TLessonStep {
 public:
  struct Placed {
    int Index;
    MeaningPtr Entry;
  };
  struct Changed {
    MeaningPtr Entry;
    TEntryContent Before;
    TEntryContent After;
  };

  // Shown entry before and after the command.
  int EntryBefore = 0;
  int EntryAfter = 0;
  // Steps of one entry visit made from the controls are merged into one.
  bool ControlsEdit = false;
  long Visit = 0;
  bool Mirrored = false;
  std::optional<TLessonHeader> HeaderBefore;
  std::optional<TLessonHeader> HeaderAfter;
  std::vector<Placed> Removed;   // index before the step, ascending
  std::vector<Placed> Inserted;  // index after the step, ascending
  std::vector<Changed> ChangedEntries;  // each entry object once

  bool Empty() const;
  // Raise EListError, changing nothing, when the lesson's entries are not
  // where the step left (or found) them.
  void Undo(TMeanCollection& lesson) const;
  void Redo(TMeanCollection& lesson) const;
  // An estimate of the memory the step keeps, entries it holds included.
  std::size_t Bytes() const;

 private:
  void Apply(TMeanCollection& lesson, bool redo) const;
};

// Records one command: constructed before it runs, finished after.
// The command may change in place only the entries it watches (all of them
// with WatchAllEntries); it may insert and remove entries freely.
class TLessonRecorder {
 public:
  TLessonRecorder(const TMeanCollection& lesson, int entryIndex);
  void WatchEntry(int index);
  void WatchAllEntries();
  // The lesson's languages and entries were mirrored and nothing else changed.
  void SetMirrored() { mirrored_ = true; }
  // The command put a new document with new entries in the lesson's place
  // (a compiled text). Finish then gives the new document the old entry
  // objects where their contents are equal, so that only the entries the
  // command changed are new, and entries shared with other lessons stay shared.
  void SetReplaced() { replaced_ = true; }
  // Ends the recording. A watched entry whose list the command left with
  // words of the same contents gets its old word objects back.
  TLessonStep Finish(TMeanCollection& lesson, int entryIndex) const;
  // The lesson as the recording began: its entries and header.
  const std::vector<MeaningPtr>& EntriesBefore() const { return entries_; }
  const TLessonHeader& HeaderBefore() const { return header_; }

 private:
  int entryIndex_;
  bool mirrored_ = false;
  bool replaced_ = false;
  TLessonHeader header_;
  std::vector<MeaningPtr> entries_;
  // The watched entries with their contents before the command, each once.
  std::vector<std::pair<MeaningPtr, TEntryContent>> watched_;
  std::unordered_map<const TMeaning*, std::size_t> watchedAt_;
};

// The steps of one lesson, oldest first, with the place of the lesson's
// state among them and the place that equals its file.
class TLessonHistory {
 public:
  // The history keeps at most this many steps and, beyond its newest step,
  // at most about this many bytes; older steps go first.
  static constexpr std::size_t kMaxSteps = 1000;
  static constexpr std::size_t kMaxBytes = std::size_t{48} << 20;

  // Adds a step after the current place; steps that were undone are gone.
  // An edit from the controls of the same visit joins the step before.
  // Empty steps are dropped. True when the history changed.
  // `bytes`: the step's Bytes(), when already known.
  bool Push(TLessonStep step, std::optional<std::size_t> bytes = std::nullopt);
  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < steps_.size(); }
  // The step taken back or done again, or null when there is none. A step
  // that fails leaves the lesson and the history's place as they were.
  const TLessonStep* Undo(TMeanCollection& lesson);
  const TLessonStep* Redo(TMeanCollection& lesson);
  // The lesson's current state is the one in its file.
  void MarkSaved() { saved_ = static_cast<long>(position_); }
  bool AtSaved() const { return saved_ == static_cast<long>(position_); }
  // Forgets every step; the lesson as it is now is its file's state or not.
  void Reset(bool saved);
  std::size_t Count() const { return steps_.size(); }
  std::size_t Position() const { return position_; }
  std::size_t Bytes() const;

 private:
  void Trim();
  // Takes step `index` out, to be freed by FreeDropped.
  void Drop(std::size_t index);
  void FreeDropped();

  std::deque<TLessonStep> steps_;
  std::vector<TLessonStep> dropped_;
  std::size_t droppedBytes_ = 0;
  std::deque<std::size_t> bytes_;
  std::size_t position_ = 0;
  long saved_ = 0;  // -1: no state in the history is the file's
};

}  // namespace vocatrix
