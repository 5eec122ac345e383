// SPDX-License-Identifier: GPL-3.0-or-later
// Export and import of a full-size lesson (65535 entries, each with a
// synonym or an antonym pair, so KVTML holds two entries per lesson entry)
// as KVTML and as CSV, through real files.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_lessons.h"
#include "files/lessonformats.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

// The full-size lesson, with a title for the document information.
std::unique_ptr<TMeanCollection> BigLesson() {
  auto lesson = bench::FullSizeLesson();
  lesson->Title = "Everything";
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
