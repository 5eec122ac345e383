// SPDX-License-Identifier: GPL-3.0-or-later
// SaveBinary and LoadBinary of a 65535-entry lesson with three words in each list.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "files/binaryfile.h"
#include "model/lesson.h"

namespace {

using namespace vocatrix;

std::unique_ptr<TMeanCollection> BigLesson() {
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Meanings->DeleteAll();
  for (int i = 0; i < 65535; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    for (int kind = 0; kind < 4; ++kind) {
      std::vector<std::string> words;
      for (int k = 0; k < 3; ++k) words.push_back("word" + std::to_string(i) + "_" + std::to_string(kind) + std::to_string(k));
      m->SetKindTexts(kind, words);
    }
    lesson->Meanings->Insert(m);
  }
  return lesson;
}

std::string TempPath() { return (std::filesystem::temp_directory_path() / "vocatrix-bench.tav").string(); }

void BM_SaveBinary(benchmark::State& state) {
  auto lesson = BigLesson();
  const std::string path = TempPath();
  for (auto _ : state) SaveBinary(*lesson, path);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  std::remove(path.c_str());
}

void BM_LoadBinary(benchmark::State& state) {
  const std::string path = TempPath();
  SaveBinary(*BigLesson(), path);
  for (auto _ : state) {
    auto lesson = std::make_unique<TMeanCollection>();
    LoadBinary(*lesson, path);
    benchmark::DoNotOptimize(lesson->Meanings->Count());
    state.PauseTiming();  // releasing the lesson is not part of loading it
    lesson.reset();
    state.ResumeTiming();
  }
  std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_SaveBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBinary)->Unit(benchmark::kMillisecond);
