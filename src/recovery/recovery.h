// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recovery after a crash, a kill or a power cut: the files autosave writes
// for each window with unsaved changes, and what the next start finds of a
// program that did not end cleanly.
//
// Every running program is an instance, named by its process number and
// start time, that holds a lock file (flock) in the recovery folder for as
// long as it runs. A window's files are named after its instance and its
// slot: the data ("<instance>-<slot>-<generation>.tav", or ".txt" for a text
// window) and the note that describes it ("<instance>-<slot>.note"). The note
// names its data file, which is written completely before the note, so a
// note always describes complete data. Notes of an instance whose lock is no
// longer held were left behind.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vocatrix {

// What a window's recovery holds besides its data.
struct TRecoveryNote {
  std::string Kind;      // kLessonWindow or kTextWindow
  std::string FileName;  // the window's own file; empty for a new lesson
  std::string Caption;   // UTF-8
  std::string Time;      // local time of the write, "YYYY-MM-DD HH:MM:SS"
  std::string Data;      // the data file's name, in the same folder
  long Entries = 0;      // lesson windows: entries of the lesson
  long EntryIndex = 0;
  int Page = 0;
  // Texts (UTF-8) of controls holding edits not yet stored in the lesson,
  // by the controls' names.
  std::vector<std::pair<std::string, std::string>> Controls;
  // Text windows: how the file is saved, "utf8" or "cp1252".
  std::string Encoding;
  // The Text page's own text (UTF-8) when it holds edits not yet compiled.
  std::optional<std::string> PageText;

  static constexpr const char* kLessonWindow = "lesson";
  static constexpr const char* kTextWindow = "text";
};

std::string EncodeRecoveryNote(const TRecoveryNote& note);
// Raises vocatrix::Exception when `data` is no recovery note.
TRecoveryNote DecodeRecoveryNote(const std::string& data);

// A recovery left behind by an instance that no longer runs.
struct TLeftRecovery {
  std::string NoteFile;
  TRecoveryNote Note;
  // Why the note or its data cannot be used (the note is damaged); empty
  // when they can.
  std::string Error;
  std::string DataFile() const;
};

class TRecoveryStore {
 public:
  // Nothing is made in `folder` before the first write.
  explicit TRecoveryStore(std::string folder);
  // Finishes what is queued and gives up the lock; a clean end leaves no
  // lock file behind.
  ~TRecoveryStore();
  TRecoveryStore(const TRecoveryStore&) = delete;
  TRecoveryStore& operator=(const TRecoveryStore&) = delete;

  const std::string& Folder() const { return folder_; }

  // Finishes an image on the worker thread (text conversions that need not
  // hold up the caller's thread).
  using Completion = std::function<void(std::string& data, TRecoveryNote& note)>;
  // Queues window `slot`'s data (extension with its dot, ".tav") and note;
  // the worker completes them, stamps the time, writes both and removes the
  // slot's previous data. An image equal to the slot's last one is not
  // written again.
  void Write(int slot, const std::string& extension, std::string data, TRecoveryNote note, Completion complete = {});
  // Queues the removal of window `slot`'s files.
  void Remove(int slot);
  // Waits until everything queued is on disk.
  void Flush();
  // The first error since the last call ("cannot write ..."), or nothing.
  std::optional<std::string> TakeError();

  // Recoveries of instances that no longer run, oldest first.
  std::vector<TLeftRecovery> FindLeftOver() const;
  // Deletes a left-over recovery's files (a damaged note whatever it is);
  // the lock file of its instance goes with its last note.
  void Discard(const TLeftRecovery& recovery) const;
  // Removes what programs that no longer run left besides their recoveries:
  // their lock files, half-written temporary files and data no note names.
  // Run at start, before the recoveries are offered.
  void Sweep() const;

 private:
  struct Job {
    int Slot = 0;
    bool Remove = false;
    std::string Extension;
    std::string Data;
    TRecoveryNote Note;
    Completion Complete;
  };
  struct SlotState {
    std::string DataFile;
    std::uint64_t Hash = 0;
  };
  void Run();
  void Do(Job& job);
  void TakeLock();
  std::string NoteFile(int slot) const;

  std::string folder_;
  std::string instance_;
  int lockFd_ = -1;
  long generation_ = 0;
  // Owned by the worker thread.
  std::map<int, SlotState> slots_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Job> jobs_;
  bool busy_ = false;
  bool stop_ = false;
  std::optional<std::string> error_;
  std::thread worker_;
};

}  // namespace vocatrix
