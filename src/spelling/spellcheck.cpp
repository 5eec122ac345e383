// SPDX-License-Identifier: GPL-3.0-or-later
#include "spelling/spellcheck.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <unordered_map>
#include <utility>

#include "base/cp1252.h"
#include "base/messages.h"
#include "model/lesson.h"
#include "operations/find.h"

namespace vocatrix {
namespace {

bool IsDigitLike(unsigned char c) {
  return (c >= '0' && c <= '9') || c == 0xB2 || c == 0xB3 || c == 0xB9 || c == 0xBC || c == 0xBD || c == 0xBE;
}

// Characters that belong to a word only between two of its letters.
bool IsJoiner(char c) { return c == '\'' || c == '\x92' || c == '-' || c == '.' || c == '\xAD'; }

bool IsLetterOrDigit(char c) { return IsWordCharacter(static_cast<unsigned char>(c)); }

// Calls `found` with each word of a phrase to check (see WordsToCheck).
template <typename Found>
void ForEachWordToCheck(std::string_view phrase, Found&& found) {
  const std::size_t n = phrase.size();
  std::size_t i = 0;
  while (i < n) {
    if (!IsLetterOrDigit(phrase[i])) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    bool digit = false;
    while (i < n) {
      if (IsLetterOrDigit(phrase[i])) {
        digit = digit || IsDigitLike(static_cast<unsigned char>(phrase[i]));
        ++i;
      } else if (IsJoiner(phrase[i]) && i + 1 < n && IsLetterOrDigit(phrase[i + 1])) {
        ++i;
      } else {
        break;
      }
    }
    if (i < n && phrase[i] == '.') ++i;
    if (!digit) found(start, i - start);
  }
}

// A word of the lesson to check: its entry, its language and which of the
// distinct words of its dictionary it is.
struct Occurrence {
  int Entry;
  int Language;
  int Word;
};

// The distinct words of one dictionary, the entry each comes first in, and
// the dictionary's answers.
struct DistinctWords {
  std::unordered_map<std::string_view, int> Index;
  std::vector<std::string_view> Words;
  std::vector<int> FirstEntry;
  std::vector<char> Right;

  int Add(std::string_view word, int entry) {
    const auto [it, added] = Index.try_emplace(word, static_cast<int>(Words.size()));
    if (added) {
      Words.push_back(word);
      FirstEntry.push_back(entry);
    }
    return it->second;
  }
  // Asks the words in the order they came, so that the entries before the
  // next one's first entry are done (given to `reached`); returns how many
  // were asked before a cancel.
  std::size_t Ask(TSpeller& speller, const TSpellCheckProgress* progress, std::atomic<int>* reached, int entries) {
    Right.resize(Words.size());
    for (std::size_t i = 0; i < Words.size(); ++i) {
      if (reached) reached->store(FirstEntry[i], std::memory_order_relaxed);
      if (progress && progress->Cancelled()) return i;
      Right[i] = speller.Check(Words[i]);
    }
    if (reached) reached->store(entries, std::memory_order_relaxed);
    return Words.size();
  }
  // The entries before this one are checked after `asked` words.
  int CheckedBefore(std::size_t asked, int entries) const {
    return asked < FirstEntry.size() ? FirstEntry[asked] : entries;
  }
};

}  // namespace

std::vector<WordSpan> WordsToCheck(std::string_view phrase) {
  std::vector<WordSpan> words;
  ForEachWordToCheck(phrase, [&](std::size_t start, std::size_t length) {
    words.push_back({static_cast<int>(start), static_cast<int>(length)});
  });
  return words;
}

int LanguageOfKind(int kind) { return kind % 2 == 0 ? 1 : 2; }

std::vector<TextWord> WordsOfTextLine(std::string_view line, const LessonTextLanguages& languages) {
  std::vector<TextWord> words;
  if (ClassifyLessonLine(line) != LessonLineKind::kEntry) return words;
  const int left = languages.LeftLanguage();
  if (left == 0) return words;
  const auto side = [&](std::size_t begin, std::size_t end, int language) {
    std::string_view part = line.substr(begin, end - begin);
    part = part.substr(0, part.find('('));
    for (const WordSpan& w : WordsToCheck(part))
      words.push_back({static_cast<int>(begin) + w.Start, w.Length, language});
  };
  const std::size_t marker = FindMarker(line);
  if (marker == std::string_view::npos) {
    side(0, line.size(), left);
    return words;
  }
  side(0, marker, left);
  // "=" and "#" join words of one language, the other markers a word and
  // its translation.
  const bool sameLanguage = line[marker] == '=' || line[marker] == '#';
  side(marker + 1, line.size(), sameLanguage ? left : 3 - left);
  return words;
}

TLessonSpeller::TLessonSpeller(const DictionaryChoice& language1, const DictionaryChoice& language2)
    : sides_{Choose(language1, true), Choose(language2, true)} {}

TLessonSpeller::TLessonSpeller(std::shared_ptr<TSpeller> language1, std::shared_ptr<TSpeller> language2)
    : sides_{{std::move(language1), {}, {}}, {std::move(language2), {}, {}}} {}

TLessonSpeller TLessonSpeller::ForLanguages(const DictionaryChooser& chooser, const std::string& language1,
                                            const std::string& language2) {
  return TLessonSpeller(chooser.Choose(language1), chooser.Choose(language2));
}

TLessonSpeller TLessonSpeller::WithoutLoading(const DictionaryChoice& language1, const DictionaryChoice& language2) {
  TLessonSpeller speller;
  speller.sides_[0] = Choose(language1, false);
  speller.sides_[1] = Choose(language2, false);
  return speller;
}

bool TLessonSpeller::Pending(int language) const {
  return language == 0 ? Pending(1) || Pending(2) : SideOf(language).ToLoad.has_value();
}

void TLessonSpeller::LoadDictionaries() {
  for (Side& side : sides_) LoadSide(side);
}

TLessonSpeller::Side TLessonSpeller::Choose(const DictionaryChoice& choice, bool load) {
  Side side;
  if (choice.Off) return side;
  if (!choice.Files) {
    side.Problem = TranslateMessage("NoDictionary",
                                    "No spelling dictionary is installed for '%s'; its words are not checked.",
                                    {Cp1252ToUtf8(choice.Language)});
    return side;
  }
  side.Speller = LoadedSpeller(*choice.Files);
  if (!side.Speller) side.ToLoad = choice.Files;
  if (load) LoadSide(side);
  return side;
}

void TLessonSpeller::LoadSide(Side& side) {
  if (!side.ToLoad) return;
  try {
    side.Speller = SharedSpeller(*side.ToLoad);
  } catch (const std::exception& e) {
    // Also what reading the personal word list raised: the dictionary is
    // then no use either.
    side.Problem = e.what();
  }
  side.ToLoad.reset();
}

const TLessonSpeller::Side& TLessonSpeller::SideOf(int language) const { return sides_[language == 2 ? 1 : 0]; }

TSpeller* TLessonSpeller::Speller(int language) const { return SideOf(language).Speller.get(); }

const std::string& TLessonSpeller::Problem(int language) const { return SideOf(language).Problem; }

bool TLessonSpeller::Check(int language, std::string_view word) const {
  TSpeller* speller = Speller(language);
  return !speller || speller->Check(word);
}

std::vector<std::string> TLessonSpeller::Suggest(int language, std::string_view word) const {
  TSpeller* speller = Speller(language);
  return speller ? speller->Suggest(word) : std::vector<std::string>();
}

void TLessonSpeller::AddToDictionary(int language, std::string_view word) const {
  if (TSpeller* speller = Speller(language)) speller->AddToDictionary(word);
}

std::vector<WordSpan> TLessonSpeller::Misspelt(int language, std::string_view phrase) const {
  std::vector<WordSpan> misspelt;
  if (!Speller(language)) return misspelt;
  for (const WordSpan& w : WordsToCheck(phrase))
    if (!Check(language, phrase.substr(static_cast<std::size_t>(w.Start), static_cast<std::size_t>(w.Length))))
      misspelt.push_back(w);
  return misspelt;
}

std::vector<TextWord> TLessonSpeller::MisspeltInLine(std::string_view line,
                                                     const LessonTextLanguages& languages) const {
  std::vector<TextWord> words = WordsOfTextLine(line, languages);
  std::erase_if(words, [&](const TextWord& w) {
    return Check(w.Language, line.substr(static_cast<std::size_t>(w.Start), static_cast<std::size_t>(w.Length)));
  });
  return words;
}

std::vector<MisspeltTextWord> MisspeltInLessonText(const TLessonSpeller& speller,
                                                   const std::vector<std::string>& lines, std::size_t first,
                                                   std::size_t count) {
  std::vector<MisspeltTextWord> misspelt;
  first = std::min(first, lines.size());
  const std::size_t end = first + std::min(count, lines.size() - first);
  LessonTextLanguages languages = LessonTextLanguagesAt(lines, first);
  for (std::size_t i = first; i < end; ++i) {
    for (const TextWord& w : speller.MisspeltInLine(lines[i], languages))
      misspelt.push_back({static_cast<int>(i), w.Start, w.Length, w.Language});
    languages.FollowLine(lines[i]);
  }
  return misspelt;
}

std::vector<UnknownWord> CheckLessonSpelling(const TMeanCollection& lesson, const TLessonSpeller& speller) {
  return CheckLessonWords(TLessonWords(lesson), speller);
}

TLessonWords::TLessonWords(const TMeanCollection& lesson) {
  if (!lesson.Meanings) return;
  entryCount_ = lesson.Meanings->Count();
  std::size_t chars = 0;
  std::size_t texts = 0;
  for (int index = 0; index < entryCount_; ++index)
    for (int kind = 0; kind < 4; ++kind)
      for (const PWord& word : lesson.Meanings->At(index)->ListOfKind(kind)) {
        chars += word->Text().size();
        ++texts;
      }
  chars_.reserve(chars);
  texts_.reserve(texts);
  for (int index = 0; index < entryCount_; ++index)
    for (int kind = 0; kind < 4; ++kind)
      for (const PWord& word : lesson.Meanings->At(index)->ListOfKind(kind)) {
        texts_.push_back({index, kind, static_cast<std::uint32_t>(chars_.size()),
                          static_cast<std::uint32_t>(word->Text().size())});
        chars_ += word->Text();
      }
}

int TSpellCheckProgress::EntriesChecked() const {
  return std::min(reached_[0].load(std::memory_order_relaxed), reached_[1].load(std::memory_order_relaxed));
}

std::vector<UnknownWord> CheckLessonWords(const TLessonWords& lessonWords, const TLessonSpeller& speller,
                                          TSpellCheckProgress* progress) {
  std::vector<UnknownWord> unknown;
  const int entries = lessonWords.EntryCount();
  TSpeller* const spellers[2] = {speller.Speller(1), speller.Speller(2)};
  // The dictionaries asked: the second only when both languages are checked
  // and with different ones.
  TSpeller* const asked[2] = {spellers[0] ? spellers[0] : spellers[1],
                              spellers[0] && spellers[1] != spellers[0] ? spellers[1] : nullptr};
  std::atomic<int>* reached[2] = {nullptr, nullptr};
  if (progress)
    for (int d = 0; d < 2; ++d) {
      reached[d] = &progress->reached_[d];
      reached[d]->store(asked[d] ? 0 : entries, std::memory_order_relaxed);
    }
  if (!asked[0]) return unknown;

  // Every word of the lesson, and the distinct words of each dictionary.
  DistinctWords distinct[2];
  std::vector<Occurrence> occurrences;
  // Room for a lesson of about eight words an entry, at most half of them distinct.
  const std::size_t expected = static_cast<std::size_t>(entries) * 8;
  occurrences.reserve(expected);
  for (DistinctWords& words : distinct) words.Index.reserve(expected / 4);
  for (const TLessonWords::Text& text : lessonWords.Texts()) {
    const int language = LanguageOfKind(text.Kind);
    if (!spellers[language - 1]) continue;
    DistinctWords& words = distinct[asked[1] ? language - 1 : 0];
    const std::string_view phrase = lessonWords.TextOf(text);
    ForEachWordToCheck(phrase, [&](std::size_t start, std::size_t length) {
      occurrences.push_back({text.Entry, language, words.Add(phrase.substr(start, length), text.Entry)});
    });
  }

  // Each distinct word asked once, the two dictionaries on two threads (a
  // speller is asked by one thread at a time).
  std::size_t answered[2] = {0, 0};
  std::exception_ptr failure;
  std::thread second;
  if (asked[1]) {
    second = std::thread([&] {
      try {
        answered[1] = distinct[1].Ask(*asked[1], progress, reached[1], entries);
      } catch (...) {
        failure = std::current_exception();
      }
    });
  }
  try {
    answered[0] = distinct[0].Ask(*asked[0], progress, reached[0], entries);
  } catch (...) {
    if (second.joinable()) second.join();
    throw;
  }
  if (second.joinable()) second.join();
  if (failure) std::rethrow_exception(failure);
  // After a cancel, the entries whose words were all asked.
  int checked = distinct[0].CheckedBefore(answered[0], entries);
  if (asked[1]) checked = std::min(checked, distinct[1].CheckedBefore(answered[1], entries));

  // The misspelt ones, each once per entry and language.
  std::vector<std::pair<int, int>> listed;
  int listedEntry = -1;
  for (const Occurrence& o : occurrences) {
    if (o.Entry >= checked) break;
    const DistinctWords& words = distinct[asked[1] ? o.Language - 1 : 0];
    if (words.Right[static_cast<std::size_t>(o.Word)]) continue;
    if (o.Entry != listedEntry) {
      listed.clear();
      listedEntry = o.Entry;
    }
    const std::pair<int, int> key{o.Language, o.Word};
    if (std::find(listed.begin(), listed.end(), key) != listed.end()) continue;
    listed.push_back(key);
    unknown.push_back({o.Entry, o.Language, std::string(words.Words[static_cast<std::size_t>(o.Word)])});
  }
  return unknown;
}

std::string UnknownWordLine(const UnknownWord& word) {
  return "entry " + std::to_string(word.EntryIndex + 1) + ", language " + std::to_string(word.Language) + ": " +
         word.Word;
}

}  // namespace vocatrix
