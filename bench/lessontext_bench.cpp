// Lesson text of a full-size lesson: 65535 entries of about four words each.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "files/lessontext.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

constexpr int kEntries = 65535;

std::string Word(const char* stem, int i) { return stem + std::to_string(i); }

std::unique_ptr<TMeanCollection> BigLesson() {
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Language1.Name = "English";
  lesson->Language2.Name = "Deutsch";
  lesson->Meanings->DeleteAll();
  lesson->Meanings->Reserve(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    m->AddWord(kSynonyms, std::make_shared<TWord>(Word("house", i)));
    m->AddWord(kTranslations, std::make_shared<TWord>(Word("Haus", i)));
    // Alternate a synonym and an antonym pair so every block of the text is used.
    if (i % 2 == 0) {
      m->AddWord(kSynonyms, std::make_shared<TWord>(Word("home", i)));
      m->AddWord(kTranslations, std::make_shared<TWord>(Word("Heim", i)));
    } else {
      m->AddWord(kAntonyms, std::make_shared<TWord>(Word("hut", i)));
      m->AddWord(kAntonymTranslations, std::make_shared<TWord>(Word("H\xFCtte", i)));
    }
    lesson->Meanings->Insert(std::move(m));
  }
  return lesson;
}

void BM_WriteLessonLines(benchmark::State& state) {
  const auto lesson = BigLesson();
  std::size_t lines = 0;
  for (auto _ : state) {
    std::vector<std::string> out;
    WriteLessonLines(out, *lesson);
    lines = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_WriteLessonLines)->Unit(benchmark::kMillisecond);

void BM_ParseLessonLines(benchmark::State& state) {
  std::vector<std::string> lines;
  WriteLessonLines(lines, *BigLesson());
  std::size_t entries = 0;
  for (auto _ : state) {
    auto lesson = std::make_unique<TMeanCollection>();
    ParseLessonLines(lines, true, *lesson);
    entries = static_cast<std::size_t>(lesson->EntryCount());
    benchmark::DoNotOptimize(lesson->Meanings.get());
    state.PauseTiming();  // releasing the lesson is not part of reading it
    lesson.reset();
    state.ResumeTiming();
  }
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_ParseLessonLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vocatrix
