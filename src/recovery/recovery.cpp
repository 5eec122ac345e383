// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <set>
#include <string_view>

#include "base/errors.h"
#include "base/folderlisting.h"
#include "base/safesave.h"
#include "base/settings.h"

namespace vocatrix {
namespace {

constexpr std::string_view kNoteHead = "Vocatrix recovery 1";
constexpr std::string_view kPageTextMark = "PageText:";
constexpr std::string_view kControlPrefix = "Control.";
constexpr std::string_view kNoteExtension = ".note";
constexpr std::string_view kLockExtension = ".lock";

// Values stay on one line: backslash, line feed and carriage return escaped.
std::string Escape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

long ToLong(const std::string& text) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || errno != 0 || *end != '\0') throw Exception("not a number: " + text);
  return value;
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The instance of a note "<instance>-<slot>.note".
std::string InstanceOfNote(const std::string& name) {
  const auto dash = name.rfind('-');
  return dash == std::string::npos ? std::string() : name.substr(0, dash);
}

// Whether an instance still runs: it holds the lock on its lock file.
bool InstanceRuns(const std::string& lockFile) {
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

}  // namespace

std::string EncodeRecoveryNote(const TRecoveryNote& note) {
  std::string out(kNoteHead);
  out += '\n';
  const auto field = [&out](std::string_view key, std::string_view value) {
    out.append(key).append("=").append(Escape(value)).append("\n");
  };
  field("Kind", note.Kind);
  field("FileName", note.FileName);
  field("Caption", note.Caption);
  field("Time", note.Time);
  field("Data", note.Data);
  field("Entries", std::to_string(note.Entries));
  field("EntryIndex", std::to_string(note.EntryIndex));
  field("Page", std::to_string(note.Page));
  if (!note.Encoding.empty()) field("Encoding", note.Encoding);
  for (const auto& [name, text] : note.Controls) field(std::string(kControlPrefix) + name, text);
  if (note.PageText) out.append(kPageTextMark).append("\n").append(*note.PageText);
  return out;
}

TRecoveryNote DecodeRecoveryNote(const std::string& data) {
  std::string_view rest(data);
  const auto nextLine = [&rest]() {
    const auto end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return line;
  };
  if (nextLine() != kNoteHead) throw Exception("not a recovery note");
  TRecoveryNote note;
  while (!rest.empty()) {
    const std::string_view line = nextLine();
    if (line == kPageTextMark) {
      note.PageText = std::string(rest);
      break;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) throw Exception("malformed line in recovery note");
    const std::string_view key = line.substr(0, equals);
    std::string value = Unescape(line.substr(equals + 1));
    if (key == "Kind") note.Kind = std::move(value);
    else if (key == "FileName") note.FileName = std::move(value);
    else if (key == "Caption") note.Caption = std::move(value);
    else if (key == "Time") note.Time = std::move(value);
    else if (key == "Data") note.Data = std::move(value);
    else if (key == "Entries") note.Entries = ToLong(value);
    else if (key == "EntryIndex") note.EntryIndex = ToLong(value);
    else if (key == "Page") note.Page = static_cast<int>(ToLong(value));
    else if (key == "Encoding") note.Encoding = std::move(value);
    else if (key.substr(0, kControlPrefix.size()) == kControlPrefix)
      note.Controls.emplace_back(std::string(key.substr(kControlPrefix.size())), std::move(value));
  }
  if (note.Kind != TRecoveryNote::kLessonWindow && note.Kind != TRecoveryNote::kTextWindow)
    throw Exception("unknown window kind in recovery note");
  // The data lies beside the note; a name with a folder in it, or one that
  // names a folder, is refused.
  if (note.Data.empty() || note.Data == "." || note.Data == ".." || note.Data.find('/') != std::string::npos)
    throw Exception("no data file in recovery note");
  // Numbers a window could have shown, and no others.
  const long most = 65535;
  if (note.Entries < 0 || note.Entries > most || note.EntryIndex < 0 ||
      note.EntryIndex > std::max(0L, note.Entries - 1) || note.Page < 0 || note.Page > 3)
    throw Exception("numbers out of range in recovery note");
  return note;
}

std::string TLeftRecovery::DataFile() const { return FolderOf(NoteFile) + Note.Data; }

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The instance a recovery file belongs to, "<process>-<time>", from the
// start of its name ("1234-1700000000-2-5.tav", "...-2.note.vtmp-x"); empty
// when the name has none.
std::string InstanceOfFile(const std::string& name) {
  const auto first = name.find('-');
  if (first == std::string::npos || first == 0) return {};
  auto second = name.find_first_not_of("0123456789", first + 1);
  if (second == first + 1) return {};
  if (second == std::string::npos) second = name.size();
  const std::string instance = name.substr(0, second);
  if (instance.find_first_not_of("0123456789-") != std::string::npos) return {};
  return instance;
}

}  // namespace

TRecoveryStore::TRecoveryStore(std::string folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
  instance_ = std::to_string(::getpid()) + "-" + std::to_string(std::time(nullptr));
  worker_ = std::thread([this] { Run(); });
}

TRecoveryStore::~TRecoveryStore() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  worker_.join();
  if (lockFd_ >= 0) {
    // Notes still here (the program ended with unsaved windows) are offered
    // by the next start, as after a crash.
    ::unlink((folder_ + instance_ + std::string(kLockExtension)).c_str());
    ::close(lockFd_);
  }
}

void TRecoveryStore::Write(int slot, const std::string& extension, std::string data, TRecoveryNote note,
                           Completion complete) {
  {
    const std::lock_guard lock(mutex_);
    // A newer image of the slot makes a waiting one useless.
    jobs_.erase(std::remove_if(jobs_.begin(), jobs_.end(),
                               [&](const Job& job) { return job.Slot == slot && !job.Remove; }),
                jobs_.end());
    jobs_.push_back({slot, false, extension, std::move(data), std::move(note), std::move(complete)});
  }
  wake_.notify_all();
}

void TRecoveryStore::Remove(int slot) {
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back({slot, true, {}, {}, {}, {}});
  }
  wake_.notify_all();
}

void TRecoveryStore::Flush() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

std::optional<std::string> TRecoveryStore::TakeError() {
  const std::lock_guard lock(mutex_);
  std::optional<std::string> error;
  error.swap(error_);
  return error;
}

void TRecoveryStore::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
    if (jobs_.empty()) break;  // stopping, and everything is done
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    lock.unlock();
    std::optional<std::string> error;
    try {
      Do(job);
    } catch (const std::exception& e) {
      error = e.what();
    }
    lock.lock();
    busy_ = false;
    if (error && !error_) error_ = std::move(error);
    if (jobs_.empty()) idle_.notify_all();
  }
  idle_.notify_all();
}

std::string TRecoveryStore::NoteFile(int slot) const {
  return folder_ + instance_ + "-" + std::to_string(slot) + std::string(kNoteExtension);
}

void TRecoveryStore::TakeLock() {
  if (lockFd_ >= 0) return;
  for (auto slash = folder_.find('/', 1); slash != std::string::npos; slash = folder_.find('/', slash + 1))
    ::mkdir(folder_.substr(0, slash).c_str(), 0700);
  const std::string lockFile = folder_ + instance_ + std::string(kLockExtension);
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) throw EFCreateError::ForFile(lockFile);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    throw EFCreateError::ForFile(lockFile);
  }
  lockFd_ = fd;
}

void TRecoveryStore::Do(Job& job) {
  const auto found = slots_.find(job.Slot);
  if (job.Remove) {
    if (found == slots_.end()) return;
    // The note goes first: no note ever names missing data.
    ::unlink(NoteFile(job.Slot).c_str());
    ::unlink((folder_ + found->second.DataFile).c_str());
    slots_.erase(found);
    return;
  }
  if (job.Complete) job.Complete(job.Data, job.Note);
  // Time and data name left out: an unchanged window is not written again.
  const std::uint64_t hash =
      std::hash<std::string>{}(job.Extension + '\n' + EncodeRecoveryNote(job.Note) + '\n' + job.Data);
  if (found != slots_.end() && found->second.Hash == hash) return;
  TakeLock();
  const std::string dataFile =
      instance_ + "-" + std::to_string(job.Slot) + "-" + std::to_string(++generation_) + job.Extension;
  WriteFileAtomically(folder_ + dataFile, job.Data);
  job.Note.Data = dataFile;
  job.Note.Time = Now();
  WriteFileAtomically(NoteFile(job.Slot), EncodeRecoveryNote(job.Note));
  if (found != slots_.end()) ::unlink((folder_ + found->second.DataFile).c_str());
  slots_[job.Slot] = {dataFile, hash};
}

std::vector<TLeftRecovery> TRecoveryStore::FindLeftOver() const {
  std::vector<TLeftRecovery> found;
  std::map<std::string, bool> runs;
  for (const std::string& name : SortedFolderNames(folder_)) {
    if (!EndsWith(name, kNoteExtension)) continue;
    const std::string instance = InstanceOfNote(name);
    if (instance.empty() || instance == instance_) continue;
    const auto known = runs.find(instance);
    const bool running = known != runs.end()
                             ? known->second
                             : (runs[instance] = InstanceRuns(folder_ + instance + std::string(kLockExtension)));
    if (running) continue;
    TLeftRecovery recovery;
    recovery.NoteFile = folder_ + name;
    try {
      if (!IsRegularFile(recovery.NoteFile)) throw Exception("not a file: " + recovery.NoteFile);
      recovery.Note = DecodeRecoveryNote(ReadWholeFile(recovery.NoteFile));
      if (!IsRegularFile(recovery.DataFile())) recovery.Error = "missing data file " + recovery.DataFile();
    } catch (const std::exception& e) {
      recovery.Note = TRecoveryNote();
      recovery.Error = e.what();
    }
    found.push_back(std::move(recovery));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const TLeftRecovery& a, const TLeftRecovery& b) { return a.Note.Time < b.Note.Time; });
  return found;
}

void TRecoveryStore::Discard(const TLeftRecovery& recovery) const {
  // A damaged note may be anything, a folder too; nothing is followed out of it.
  std::error_code ec;
  std::filesystem::remove_all(recovery.NoteFile, ec);
  if (!recovery.Note.Data.empty()) std::filesystem::remove_all(recovery.DataFile(), ec);
  // With its last note the instance's other files go: its lock file, and
  // data that a crash left without a note.
  const std::string instance = InstanceOfNote(ExtractFileName(recovery.NoteFile));
  if (instance.empty()) return;
  const std::vector<std::string> names = SortedFolderNames(folder_);
  const std::string prefix = instance + "-";
  const auto ofInstance = [&](const std::string& name) { return name.compare(0, prefix.size(), prefix) == 0; };
  for (const std::string& name : names)
    if (ofInstance(name) && EndsWith(name, kNoteExtension)) return;
  for (const std::string& name : names)
    if (ofInstance(name) || name == instance + std::string(kLockExtension))
      std::filesystem::remove_all(folder_ + name, ec);
}

void TRecoveryStore::Sweep() const {
  // What programs that no longer run left beside their notes: their locks,
  // the temporary files of writes they did not finish, and data no note
  // names. Notes and the data they name stay, to be offered.
  const std::vector<std::string> names = SortedFolderNames(folder_);
  std::map<std::string, bool> runs;
  const auto deadInstance = [&](const std::string& instance) {
    if (instance.empty() || instance == instance_) return false;
    const auto known = runs.find(instance);
    if (known != runs.end()) return !known->second;
    return !(runs[instance] = InstanceRuns(folder_ + instance + std::string(kLockExtension)));
  };
  std::set<std::string> named;
  for (const std::string& name : names) {
    if (!EndsWith(name, kNoteExtension) || !deadInstance(InstanceOfNote(name))) continue;
    try {
      if (IsRegularFile(folder_ + name)) named.insert(DecodeRecoveryNote(ReadWholeFile(folder_ + name)).Data);
    } catch (const std::exception&) {
      // A damaged note is offered as damaged; it names nothing to keep.
    }
  }
  for (const std::string& name : names) {
    if (EndsWith(name, kNoteExtension) || named.count(name)) continue;
    const bool lock = EndsWith(name, kLockExtension);
    const std::string instance =
        lock ? name.substr(0, name.size() - kLockExtension.size()) : InstanceOfFile(name);
    if (deadInstance(instance) && IsRegularFile(folder_ + name)) ::unlink((folder_ + name).c_str());
  }
}

}  // namespace vocatrix
