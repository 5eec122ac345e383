#pragma once
// The undo history of a lesson: each command's change as a delta that can be
// taken back and done again.
//
// A step keeps only what the command touched: the header when it changed,
// the entries it removed and inserted (by index, the entry objects kept
// alive), and the entries it changed in place as their form and word lists
// before and after. Word objects are shared with the lesson and never
// changed in place, so a changed entry costs a few pointers per word.
// Mirroring the whole lesson is its own inverse and costs nothing.
//
// Entries are addressed by index, not by object: undoing a step brings the
// lesson back to an equal state, not always to the same entry objects (a
// compiled text keeps the new objects of entries whose contents did not
// change), and the steps before it find their entries by position.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/lesson.h"

namespace vocatrix {

// The form and the word objects of one entry's four lists, by kind.
struct TEntryContent {
  std::uint8_t Form = kFormOther;
  std::array<std::vector<PWord>, 4> Lists;

  static TEntryContent Of(const TMeaning& entry);
  // Gives the entry this form and these words (which then belong to it).
  void ApplyTo(const MeaningPtr& entry) const;
  // Same form and, list by list, words of the same text, extra, remark and
  // knowledge: one can stand for the other.
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
    // What the entry holds on its side of the step: the object may have
    // changed since (it stands for an equal entry that later commands
    // changed in place), so it gets these contents back as it is put back.
    TEntryContent Content;
  };
  struct Changed {
    int Index;  // after the step
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
  std::vector<Changed> ChangedEntries;

  bool Empty() const;
  void Undo(TMeanCollection& lesson) const;
  void Redo(TMeanCollection& lesson) const;
  // An estimate of the memory the step keeps, entries it holds included.
  std::size_t Bytes() const;
};

// Records one command: constructed before it runs, finished after.
// The command may change in place only the entries it watches (all of them
// with WatchAllEntries); it may insert and remove entries freely, and may
// replace the whole lesson (Finish then compares the new lesson with this
// one's state).
class TLessonRecorder {
 public:
  TLessonRecorder(const TMeanCollection& lesson, int entryIndex);
  void WatchEntry(int index);
  void WatchAllEntries();
  // The lesson's languages and entries were mirrored and nothing else changed.
  void SetMirrored() { mirrored_ = true; }
  TLessonStep Finish(const TMeanCollection& lesson, int entryIndex) const;

 private:
  int entryIndex_;
  bool mirrored_ = false;
  TLessonHeader header_;
  std::vector<MeaningPtr> entries_;
  // Contents before the command of the watched entries: of all of them by
  // index, or of a few.
  std::vector<TEntryContent> all_;
  std::vector<std::pair<int, TEntryContent>> some_;
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
  bool Push(TLessonStep step);
  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < steps_.size(); }
  // The step taken back or done again, or null when there is none.
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

  std::deque<TLessonStep> steps_;
  std::deque<std::size_t> bytes_;
  std::size_t position_ = 0;
  long saved_ = 0;  // -1: no state in the history is the file's
};

}  // namespace vocatrix
