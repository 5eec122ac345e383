// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One Hunspell dictionary, asked with lesson strings.
//
// Lessons are Windows-1252; a dictionary declares its own encoding (the SET
// line of its .aff file: UTF-8 or an 8-bit code page such as ISO-8859-1).
// Words are converted on the way in and suggestions on the way back, so
// that no word counts as wrong only because of a conversion: a word the
// dictionary's encoding cannot write is taken as right, the apostrophes '
// and ’ stand for each other, a soft hyphen is ignored, and suggestions a
// lesson cannot hold are dropped.
//
// Hunspell may not be asked by two threads at once; a speller takes the
// threads that ask it in turn (the check of a whole lesson on a worker
// thread beside the underlines of the interface thread).

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/errors.h"
#include "spelling/dictionaries.h"

class Hunspell;

namespace vocatrix {

// A dictionary that cannot be used: its files cannot be read or its
// encoding is one this program cannot convert. The message names the file.
class EDictionaryError : public Exception {
 public:
  using Exception::Exception;
  static EDictionaryError ForFile(const std::string& fileName);
};

// The personal word list of a dictionary: words-NAME.txt in the user's
// settings folder (beside the program when it runs from its build).
std::string PersonalWordListFile(const std::string& dictionaryName);

// A lock that its threads get in the order they asked for it: a thread
// asking word after word would otherwise get it back again and again before
// a waiting one wakes up.
class TTurnLock {
 public:
  void lock();
  void unlock();

 private:
  std::mutex mutex_;
  std::condition_variable turn_;
  unsigned next_ = 0;
  unsigned serving_ = 0;
};

class TSpeller {
 public:
  // Loads the dictionary and the words of the personal word list (none when
  // `personalFile` is empty). Raises EDictionaryError.
  TSpeller(const DictionaryFiles& files, std::string personalFile);
  ~TSpeller();
  TSpeller(const TSpeller&) = delete;
  TSpeller& operator=(const TSpeller&) = delete;

  const DictionaryFiles& Files() const { return files_; }
  // The encoding the dictionary declares.
  const std::string& Encoding() const { return encodingName_; }
  const std::string& PersonalFile() const { return personalFile_; }

  // Whether a word (Windows-1252) is spelt right. Each distinct word is
  // asked of the dictionary once; later checks come from memory.
  bool Check(std::string_view word);
  // Suggestions for a word, as lesson strings, in the dictionary's order.
  std::vector<std::string> Suggest(std::string_view word);
  // Adds the word to the personal word list (written at once through the
  // safe save; raises as the save does) and to the running dictionary.
  void AddToDictionary(std::string_view word);

 private:
  bool Lookup(const std::string& word);
  bool ToDictionary(std::string_view word, std::string& out) const;
  bool FromDictionary(std::string_view text, std::string& out) const;

  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };

  DictionaryFiles files_;
  std::string personalFile_;
  std::string encodingName_;
  std::unique_ptr<Hunspell> hunspell_;
  bool utf8_ = false;
  // 8-bit dictionaries: the dictionary byte of each Windows-1252 byte (-1:
  // none) and the Windows-1252 byte of each dictionary byte (-1: none).
  int toDictionary_[256] = {};
  int fromDictionary_[256] = {};
  std::unordered_set<std::string, Hash, std::equal_to<>> personal_;
  std::unordered_map<std::string, bool, Hash, std::equal_to<>> checked_;
  TTurnLock lock_;
};

// The speller of a dictionary with its personal word list
// (PersonalWordListFile), loaded once and then shared by every lesson that
// uses it, as long as one holds it. Raises EDictionaryError. Threads may
// load different dictionaries at the same time; one asking for a dictionary
// another is loading waits for it.
std::shared_ptr<TSpeller> SharedSpeller(const DictionaryFiles& files);
// The shared speller of a dictionary when it is loaded already; null when
// not (it is never loaded here, nor waited for).
std::shared_ptr<TSpeller> LoadedSpeller(const DictionaryFiles& files);

}  // namespace vocatrix
