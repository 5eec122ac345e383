// SPDX-License-Identifier: GPL-3.0-or-later
#include "spelling/speller.h"

#include <hunspell.hxx>
#include <unicode/ucnv.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <mutex>

#include "base/cp1252.h"
#include "base/messages.h"
#include "base/settings.h"
#include "spelling/personalwords.h"

namespace vocatrix {
namespace {

constexpr char kSoftHyphen = '\xAD';
constexpr char kTypographicApostrophe = '\x92';

bool CanOpen(const std::string& path) { return std::ifstream(path, std::ios::binary).is_open(); }

// The encoding name as the converter library knows it: upper case, and
// Hunspell's "microsoft-cp1251" as plain "cp1251".
std::string ConverterName(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
  constexpr std::string_view kMicrosoft = "MICROSOFT-";
  if (name.compare(0, kMicrosoft.size(), kMicrosoft) == 0) name.erase(0, kMicrosoft.size());
  return name;
}

bool IsUtf8Name(const std::string& name) { return name == "UTF-8" || name == "UTF8"; }

// Fills the byte tables of an 8-bit encoding; false when the converter
// library does not know the encoding or it is not 8-bit.
bool BuildByteTables(const std::string& name, int (&toDictionary)[256], int (&fromDictionary)[256]) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(name.c_str(), &status);
  if (U_FAILURE(status) || !converter) return false;
  const bool singleByte = ucnv_getMaxCharSize(converter) == 1;
  ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  char32_t codeOf[256];
  for (int b = 0; b < 256 && singleByte; ++b) {
    const char byte = static_cast<char>(b);
    UChar out[4];
    status = U_ZERO_ERROR;
    ucnv_reset(converter);
    const int32_t n = ucnv_toUChars(converter, out, 4, &byte, 1, &status);
    codeOf[b] = U_SUCCESS(status) && n == 1 ? out[0] : 0xFFFFFFFFu;
  }
  ucnv_close(converter);
  if (!singleByte) return false;
  for (int c = 0; c < 256; ++c) {
    toDictionary[c] = -1;
    fromDictionary[c] = codeOf[c] == 0xFFFFFFFFu ? -1 : CodePointToCp1252(codeOf[c]);
  }
  for (int b = 255; b >= 0; --b)
    if (fromDictionary[b] >= 0) toDictionary[fromDictionary[b]] = b;
  return true;
}

// Each byte through a table of bytes; false when one has none (-1).
bool MapBytes(std::string_view text, const int (&table)[256], std::string& out) {
  out.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int b = table[static_cast<unsigned char>(text[i])];
    if (b < 0) return false;
    out[i] = static_cast<char>(b);
  }
  return true;
}

std::string WithoutSoftHyphens(std::string_view word) {
  std::string text(word);
  text.erase(std::remove(text.begin(), text.end(), kSoftHyphen), text.end());
  return text;
}

}  // namespace

EDictionaryError EDictionaryError::ForFile(const std::string& fileName) {
  return EDictionaryError(
      TranslateMessage("ErrDictionary", "The spelling dictionary %s cannot be used.", {fileName}));
}

std::string PersonalWordListFile(const std::string& dictionaryName) {
  return SettingsFolder() + "words-" + dictionaryName + ".txt";
}

void TTurnLock::lock() {
  std::unique_lock lock(mutex_);
  const unsigned ticket = next_++;
  turn_.wait(lock, [&] { return serving_ == ticket; });
}

void TTurnLock::unlock() {
  {
    const std::lock_guard lock(mutex_);
    ++serving_;
  }
  turn_.notify_all();
}

TSpeller::TSpeller(const DictionaryFiles& files, std::string personalFile)
    : files_(files), personalFile_(std::move(personalFile)) {
  // Hunspell takes a file it cannot open for an empty one, and would then
  // call every word wrong.
  if (!CanOpen(files_.Aff)) throw EDictionaryError::ForFile(files_.Aff);
  if (!CanOpen(files_.Dic)) throw EDictionaryError::ForFile(files_.Dic);
  hunspell_ = std::make_unique<Hunspell>(files_.Aff.c_str(), files_.Dic.c_str());
  encodingName_ = hunspell_->get_dict_encoding();
  const std::string name = ConverterName(encodingName_);
  utf8_ = IsUtf8Name(name);
  if (!utf8_ && !BuildByteTables(name, toDictionary_, fromDictionary_)) throw EDictionaryError::ForFile(files_.Aff);
  if (personalFile_.empty()) return;
  for (std::string& word : ReadPersonalWords(personalFile_)) {
    std::string converted;
    if (ToDictionary(word, converted)) hunspell_->add(converted);
    personal_.insert(std::move(word));
  }
}

TSpeller::~TSpeller() = default;

bool TSpeller::ToDictionary(std::string_view word, std::string& out) const {
  if (utf8_) {
    out = Cp1252ToUtf8(word);
    return true;
  }
  return MapBytes(word, toDictionary_, out);
}

bool TSpeller::FromDictionary(std::string_view text, std::string& out) const {
  if (utf8_) {
    std::size_t replaced = 0;
    out = Utf8ToCp1252(text, &replaced);
    return replaced == 0;
  }
  return MapBytes(text, fromDictionary_, out);
}

bool TSpeller::Lookup(const std::string& word) {
  const std::string text = WithoutSoftHyphens(word);
  if (text.empty() || personal_.contains(text)) return true;
  std::string converted;
  // A word the dictionary cannot even write is not judged.
  if (!ToDictionary(text, converted)) return true;
  if (hunspell_->spell(converted)) return true;
  // Lessons write both apostrophes; a dictionary may know only one of them.
  if (text.find_first_of("'\x92") == std::string::npos) return false;
  std::string other = text;
  for (char& c : other) {
    if (c == '\'') c = kTypographicApostrophe;
    else if (c == kTypographicApostrophe) c = '\'';
  }
  return ToDictionary(other, converted) && hunspell_->spell(converted);
}

bool TSpeller::Check(std::string_view word) {
  const std::lock_guard lock(lock_);
  if (const auto it = checked_.find(word); it != checked_.end()) return it->second;
  const bool right = Lookup(std::string(word));
  checked_.emplace(word, right);
  return right;
}

std::vector<std::string> TSpeller::Suggest(std::string_view word) {
  std::vector<std::string> suggestions;
  const std::string text = WithoutSoftHyphens(word);
  const std::lock_guard lock(lock_);
  std::string converted;
  if (text.empty() || !ToDictionary(text, converted)) return suggestions;
  std::string back;
  for (const std::string& suggestion : hunspell_->suggest(converted)) {
    if (!FromDictionary(suggestion, back) || back == text) continue;
    if (std::find(suggestions.begin(), suggestions.end(), back) == suggestions.end()) suggestions.push_back(back);
  }
  return suggestions;
}

void TSpeller::AddToDictionary(std::string_view word) {
  const std::string text = WithoutSoftHyphens(word);
  if (text.empty()) return;
  const std::lock_guard lock(lock_);
  if (!personalFile_.empty()) AddPersonalWord(personalFile_, text);
  std::string converted;
  if (ToDictionary(text, converted)) hunspell_->add(converted);
  personal_.insert(text);
  // The dictionary now also takes other forms of the word (its capitalised
  // form, for one), so every earlier answer may have changed.
  checked_.clear();
}

namespace {

// The spellers loaded, by their files: each stays loaded while a user holds
// it, so that a program that opens and closes lessons (or settings folders)
// does not keep every one.
struct LoadedDictionary {
  std::mutex Loading;             // held while the dictionary loads
  std::weak_ptr<TSpeller> Speller;  // guarded by the registry's mutex
};

struct SpellerRegistry {
  std::mutex Mutex;
  std::map<std::string, std::shared_ptr<LoadedDictionary>> Dictionaries;
};

SpellerRegistry& Registry() {
  static SpellerRegistry registry;
  return registry;
}

std::string RegistryKey(const DictionaryFiles& files) {
  return files.Aff + '\n' + files.Dic + '\n' + PersonalWordListFile(files.Name);
}

}  // namespace

std::shared_ptr<TSpeller> SharedSpeller(const DictionaryFiles& files) {
  SpellerRegistry& registry = Registry();
  const std::string key = RegistryKey(files);
  std::shared_ptr<LoadedDictionary> dictionary;
  {
    const std::lock_guard lock(registry.Mutex);
    // Those no one holds or loads any more go.
    std::erase_if(registry.Dictionaries,
                  [](const auto& entry) { return entry.second->Speller.expired() && entry.second.use_count() == 1; });
    std::shared_ptr<LoadedDictionary>& slot = registry.Dictionaries[key];
    if (!slot) slot = std::make_shared<LoadedDictionary>();
    if (std::shared_ptr<TSpeller> speller = slot->Speller.lock()) return speller;
    dictionary = slot;
  }
  // The registry stays free while Hunspell reads the files (up to a second).
  const std::lock_guard loading(dictionary->Loading);
  {
    const std::lock_guard lock(registry.Mutex);
    if (std::shared_ptr<TSpeller> speller = dictionary->Speller.lock()) return speller;
  }
  auto speller = std::make_shared<TSpeller>(files, PersonalWordListFile(files.Name));
  const std::lock_guard lock(registry.Mutex);
  dictionary->Speller = speller;
  return speller;
}

std::shared_ptr<TSpeller> LoadedSpeller(const DictionaryFiles& files) {
  SpellerRegistry& registry = Registry();
  const std::lock_guard lock(registry.Mutex);
  const auto found = registry.Dictionaries.find(RegistryKey(files));
  return found == registry.Dictionaries.end() ? nullptr : found->second->Speller.lock();
}

}  // namespace vocatrix
