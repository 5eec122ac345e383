// Export and import of a full-size lesson (65535 entries, each with a
// synonym or an antonym pair, so KVTML holds two entries per lesson entry)
// as KVTML and as CSV, through real files.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "files/lessonformats.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

constexpr int kEntries = 65535;

std::string Word(const char* stem, int i) { return stem + std::to_string(i); }

std::unique_ptr<TMeanCollection> BigLesson() {
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Language1.Name = "English";
  lesson->Language2.Name = "Deutsch";
  lesson->Title = "Everything";
  lesson->Meanings->DeleteAll();
  lesson->Meanings->Reserve(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    m->AddWord(kSynonyms, std::make_shared<TWord>(Word("house", i)));
    m->AddWord(kTranslations, std::make_shared<TWord>(Word("Haus", i)));
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

std::string FileNamed(const char* extension) {
  return (std::filesystem::temp_directory_path() / ("vocatrix-exchange-bench" + std::string(extension))).string();
}

void BM_Export(benchmark::State& state, const char* extension) {
  const auto lesson = BigLesson();
  const std::string file = FileNamed(extension);
  for (auto _ : state) {
    TransferReport report;
    WriteLessonByFormat(*lesson, file, std::string(), report);
  }
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
  std::remove(file.c_str());
}

void BM_Import(benchmark::State& state, const char* extension) {
  const std::string file = FileNamed(extension);
  {
    TransferReport report;
    WriteLessonByFormat(*BigLesson(), file, std::string(), report);
  }
  int entries = 0;
  for (auto _ : state) {
    TransferReport report;
    auto lesson = ReadLessonByFormat(file, ReadOptions(), report);
    entries = lesson->EntryCount();
    state.PauseTiming();  // releasing the lesson is not part of reading it
    lesson.reset();
    state.ResumeTiming();
  }
  state.counters["entries"] = entries;
  std::remove(file.c_str());
}

BENCHMARK_CAPTURE(BM_Export, kvtml, ".kvtml")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, kvtml, ".kvtml")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, csv, ".csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, csv, ".csv")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vocatrix
