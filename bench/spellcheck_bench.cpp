// SPDX-License-Identifier: GPL-3.0-or-later
// Spell checking the full-size English-German lesson of bench_spelling.h
// with the installed en_US and de_DE dictionaries. Goal: the whole-lesson
// check within 1 s, dictionaries loaded. Also the same check once the
// answers are known (the second "Check spelling" of a session), and the
// lesson as text, as the Text page is checked.

#include <benchmark/benchmark.h>

#include "bench_spelling.h"

namespace {

using namespace vocatrix;
using bench::FullSizeSpellingLesson;
using bench::InstalledDictionary;

struct Setup {
  std::optional<DictionaryFiles> English = InstalledDictionary("en_US");
  std::optional<DictionaryFiles> German = InstalledDictionary("de_DE");
  std::unique_ptr<TMeanCollection> Lesson;
  bool Ready(benchmark::State& state) {
    if (!English || !German) {
      state.SkipWithError("the en_US and de_DE dictionaries are not installed (scripts/setup.sh)");
      return false;
    }
    if (!Lesson) Lesson = FullSizeSpellingLesson(*English, *German);
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
