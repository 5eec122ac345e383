// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson check on the full-size English-German lesson of dictionary
// words of bench_spelling.h (65,535 entries). Goal: the whole check, four
// directions, under 2 s; also one direction alone and with every word asked.

#include <benchmark/benchmark.h>

#include "bench_spelling.h"
#include "operations/lessoncheck.h"

namespace {

using namespace vocatrix;

const TMeanCollection* Lesson(benchmark::State& state) {
  static const std::optional<DictionaryFiles> english = bench::InstalledDictionary("en_US");
  static const std::optional<DictionaryFiles> german = bench::InstalledDictionary("de_DE");
  if (!english || !german) {
    state.SkipWithError("the en_US and de_DE dictionaries are not installed (scripts/setup.sh)");
    return nullptr;
  }
  static const std::unique_ptr<TMeanCollection> lesson = bench::FullSizeSpellingLesson(*english, *german);
  return lesson.get();
}

// Range: the selection flags checked.
void BM_CheckLesson(benchmark::State& state) {
  const TMeanCollection* lesson = Lesson(state);
  if (!lesson) return;
  std::size_t findings = 0;
  for (auto _ : state) {
    const LessonCheck check = CheckLesson(*lesson, static_cast<std::uint8_t>(state.range(0)));
    findings = check.Findings.size();
    benchmark::DoNotOptimize(check);
  }
  state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckLesson)->Arg(15)->Arg(1)->Arg(128 | 15)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
