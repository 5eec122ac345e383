// SPDX-License-Identifier: GPL-3.0-or-later
// Spell checking a full-size English-German lesson with the installed
// en_US and de_DE dictionaries (Debian's hunspell-en-us and hunspell-de-de):
// 65535 entries of two English and two German phrases of one to three words
// each, about 520,000 words, drawn in turn from the words of the
// dictionaries themselves, so that nearly every one is a distinct word (a
// real lesson repeats far more), with every twentieth word misspelt. Goal:
// the whole-lesson check within 1 s, dictionaries loaded. Also the same
// check once the answers are known (the second "Check spelling" of a
// session), and the lesson as text, as the Text page is checked.

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "model/lesson.h"
#include "spelling/spellcheck.h"

namespace {

using namespace vocatrix;

constexpr int kEntries = 65535;

std::optional<DictionaryFiles> Installed(const char* name) {
  return DictionaryChooser().Find(name);
}

// The stems of a dictionary that it takes as words by themselves (not the
// parts of compounds only, say), as lesson strings.
std::vector<std::string> WordsOf(const DictionaryFiles& files) {
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

std::unique_ptr<TMeanCollection> FullSizeLesson(const DictionaryFiles& english, const DictionaryFiles& german) {
  WordSource en(WordsOf(english));
  WordSource de(WordsOf(german));
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Language1.Name = "English";
  lesson->Language2.Name = "Deutsch";
  lesson->Meanings->DeleteAll();
  lesson->Meanings->Reserve(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    m->SetKindTexts(kSynonyms, {en.Phrase(), en.Phrase()});
    m->SetKindTexts(kTranslations, {de.Phrase(), de.Phrase()});
    lesson->Meanings->Insert(std::move(m));
  }
  return lesson;
}

struct Setup {
  std::optional<DictionaryFiles> English = Installed("en_US");
  std::optional<DictionaryFiles> German = Installed("de_DE");
  std::unique_ptr<TMeanCollection> Lesson;
  bool Ready(benchmark::State& state) {
    if (!English || !German) {
      state.SkipWithError("the en_US and de_DE dictionaries are not installed (scripts/setup.sh)");
      return false;
    }
    if (!Lesson) Lesson = FullSizeLesson(*English, *German);
    return true;
  }
  TLessonSpeller FreshSpeller() const {
    return TLessonSpeller(std::make_shared<TSpeller>(*English, std::string()),
                          std::make_shared<TSpeller>(*German, std::string()));
  }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void BM_CheckLessonSpelling(benchmark::State& state) {
  Setup& setup = Shared();
  if (!setup.Ready(state)) return;
  std::size_t unknown = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const TLessonSpeller speller = setup.FreshSpeller();
    state.ResumeTiming();
    unknown = CheckLessonSpelling(*setup.Lesson, speller).size();
  }
  state.counters["unknown_words"] = static_cast<double>(unknown);
  state.counters["entries"] = setup.Lesson->EntryCount();
}

void BM_CheckLessonSpellingAgain(benchmark::State& state) {
  Setup& setup = Shared();
  if (!setup.Ready(state)) return;
  const TLessonSpeller speller = setup.FreshSpeller();
  CheckLessonSpelling(*setup.Lesson, speller);
  for (auto _ : state) benchmark::DoNotOptimize(CheckLessonSpelling(*setup.Lesson, speller));
}

void BM_CheckLessonText(benchmark::State& state) {
  Setup& setup = Shared();
  if (!setup.Ready(state)) return;
  const std::vector<std::string> lines = setup.Lesson->ToLines();
  std::size_t misspelt = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const TLessonSpeller speller = setup.FreshSpeller();
    state.ResumeTiming();
    misspelt = MisspeltInLessonText(speller, lines).size();
  }
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["misspelt"] = static_cast<double>(misspelt);
}

}  // namespace

BENCHMARK(BM_CheckLessonSpelling)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CheckLessonSpellingAgain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckLessonText)->Unit(benchmark::kMillisecond)->Iterations(2);
