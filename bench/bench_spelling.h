// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The full-size English-German lesson the spelling benchmarks share, made of
// the words of the installed en_US and de_DE dictionaries (Debian's
// hunspell-en-us and hunspell-de-de): 65535 entries of two English and two
// German phrases of one to three words each, about 520,000 words drawn in
// turn from the dictionaries themselves, so that nearly every one is a
// distinct word (a real lesson repeats far more), every twentieth misspelt.

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "model/lesson.h"
#include "spelling/spellcheck.h"

namespace vocatrix::bench {

constexpr int kSpellingEntries = 65535;

inline std::optional<DictionaryFiles> InstalledDictionary(const char* name) { return DictionaryChooser().Find(name); }

// The stems of a dictionary that it takes as words by themselves (not the
// parts of compounds only, say), as lesson strings.
inline std::vector<std::string> WordsOf(const DictionaryFiles& files) {
  std::vector<std::string> words;
  TSpeller speller(files, std::string());
  std::ifstream in(files.Dic);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    line = line.substr(0, line.find_first_of("/\t"));
    std::size_t replaced = 0;
    std::string word = Utf8ToCp1252(line, &replaced);
    if (!word.empty() && replaced == 0 && speller.Check(word)) words.push_back(std::move(word));
  }
  return words;
}

class WordSource {
 public:
  explicit WordSource(std::vector<std::string> words) : words_(std::move(words)) {}
  // The next word, every twentieth with two letters swapped.
  std::string Next() {
    std::string word = words_[next_++ % words_.size()];
    if (next_ % 20 == 0 && word.size() > 3) std::swap(word[1], word[2]);
    return word;
  }
  // One, two or three words.
  std::string Phrase() {
    std::string phrase = Next();
    for (std::size_t k = next_ % 3; k > 0; --k) phrase += " " + Next();
    return phrase;
  }

 private:
  std::vector<std::string> words_;
  std::size_t next_ = 0;
};

inline std::unique_ptr<TMeanCollection> FullSizeSpellingLesson(const DictionaryFiles& english,
                                                               const DictionaryFiles& german) {
  WordSource en(WordsOf(english));
  WordSource de(WordsOf(german));
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Language1.Name = "English";
  lesson->Language2.Name = "Deutsch";
  lesson->Meanings->DeleteAll();
  lesson->Meanings->Reserve(kSpellingEntries);
  for (int i = 0; i < kSpellingEntries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    m->SetKindTexts(kSynonyms, {en.Phrase(), en.Phrase()});
    m->SetKindTexts(kTranslations, {de.Phrase(), de.Phrase()});
    lesson->Meanings->Insert(std::move(m));
  }
  return lesson;
}

}  // namespace vocatrix::bench
