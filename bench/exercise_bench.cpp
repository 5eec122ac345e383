// SPDX-License-Identifier: GPL-3.0-or-later
// Select with flags 255 (all four problem kinds, all words, all groups) on a
// lesson of 65535 entries, the most a lesson file can hold, in three shapes:
//  - 0 "plain": one synonym and one translation per entry (2 problems each);
//  - 1 "typical": one synonym, one or two translations, an antonym pair in
//    every fourth entry (about 6.5 problems each);
//  - 2 "rich": two synonyms, two translations and an antonym pair in every
//    entry (about 22 problems each).

#include <benchmark/benchmark.h>

#include <string>

#include "exercise/exercise.h"
#include "base/random.h"

namespace {

using namespace vocatrix;

std::unique_ptr<TLesson> MakeLesson(int entries, int shape) {
  auto lesson = std::make_unique<TLesson>();
  lesson->Language1 = TLanguage("English");
  lesson->Language2 = TLanguage("Deutsch");
  lesson->Meanings = std::make_unique<TMeaningList>();
  for (int i = 0; i < entries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    const std::string n = std::to_string(i);
    if (shape == 2) {
      m->SetKindTexts(kSynonyms, {"word" + n, "term" + n});
      m->SetKindTexts(kTranslations, {"Wort" + n, "Begriff" + n});
    } else {
      m->SetKindTexts(kSynonyms, {"word" + n});
      m->SetKindTexts(kTranslations, shape == 0 || i % 2 ? std::vector<std::string>{"Wort" + n}
                                                         : std::vector<std::string>{"Wort" + n, "Begriff" + n});
    }
    if (shape == 2 || (shape == 1 && i % 4 == 0)) {
      m->SetKindTexts(kAntonyms, {"anti" + n});
      m->SetKindTexts(kAntonymTranslations, {"Gegen" + n});
    }
    // Scores spread the problems over the three groups.
    for (const PWord& w : m->Synonyms) w->Knowledge = {static_cast<std::int8_t>(i % 7 - 3), 0, 1, -1};
    lesson->Meanings->Insert(m);
  }
  return lesson;
}

void BM_Select(benchmark::State& state) {
  auto lesson = MakeLesson(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  SeedRandom(1);
  int problems = 0;
  for (auto _ : state) {
    auto selection = lesson->Select(255);
    problems = selection->Count();
    state.PauseTiming();
    selection.reset();
    state.ResumeTiming();
  }
  state.counters["problems"] = problems;
}

BENCHMARK(BM_Select)
    ->ArgNames({"entries", "shape"})
    ->Args({65535, 0})
    ->Args({65535, 1})
    ->Args({65535, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace
