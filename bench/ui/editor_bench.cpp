// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's speed: start-up to the shown main window, opening a lesson of
// 65535 entries into a window, stepping from entry to entry, and autosave's
// share of the interface thread.
// Runs offscreen unless another platform is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <cstdio>
#include <cstdlib>

#include "bench_platform.h"
#include "core/test_util.h"
#include "files/binaryfile.h"
#include "base/settings.h"
#include "ui/mainwindow/mainform.h"
#include "ui/recovery/autosave.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/common/qtfonts.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace {

using namespace vocatrix;

using bench::Folder;

// A lesson file of 65535 entries with distinct words, made once.
const std::string& LargeLesson() {
  static const std::string path = [] {
    auto lesson = TMeanCollection::CreateEmpty();
    lesson->Language1.Name = "English";
    lesson->Language2.Name = "Deutsch";
    lesson->Meanings->DeleteAll();
    for (int i = 0; i < 65535; ++i) {
      const std::string n = std::to_string(i);
      lesson->Meanings->Insert(test::MakeEntry(static_cast<std::uint8_t>(i % 5), {"word" + n, "synonym" + n},
                                               {"Wort" + n}, {"antonym" + n}));
    }
    const std::string file = Folder().File("large.tav");
    SaveBinary(*lesson, file);
    return file;
  }();
  return path;
}

void Settle() {
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BM_StartUpToShownMainWindow(benchmark::State& state) {
  for (auto _ : state) {
    ui::MainForm main(bench::BenchPlatform());
    main.SetLanguage(main.Language());
    main.show();
    main.repaint();
    QApplication::processEvents();
    state.PauseTiming();
    main.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUpToShownMainWindow)->Unit(benchmark::kMillisecond);

void BM_OpenLesson65535Entries(benchmark::State& state) {
  const std::string& file = LargeLesson();
  ui::MainForm main(bench::BenchPlatform());
  main.show();
  for (auto _ : state) {
    ui::VocabEditForm* form = main.OpenFile(file);
    QApplication::processEvents();  // shown and painted
    state.PauseTiming();
    if (!form || form->Lesson().EntryCount() != 65535) state.SkipWithError("lesson not opened");
    if (form) form->close();
    Settle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenLesson65535Entries)->Unit(benchmark::kMillisecond);

// One step to the next entry of the 65535-entry lesson, on the Entries page,
// as the scroll bar's arrow does it; 1000 steps per round.
void BM_StepToNextEntry(benchmark::State& state) {
  ui::MainForm main(bench::BenchPlatform());
  main.show();
  ui::VocabEditForm* form = main.OpenFile(LargeLesson());
  form->SelectTab(ui::VocabEditForm::kEntriesPage);
  QApplication::processEvents();
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      form->ScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      form->repaint();
    }
    state.PauseTiming();
    form->ScrollBarScroll(ui::ScrollCode::Top, 1);
    state.ResumeTiming();
  }
  // Time is per 1000 steps; items per second counts single steps.
  state.SetItemsProcessed(1000 * state.iterations());
  form->StoreControls();
  form->Document().MarkSaved();
}
BENCHMARK(BM_StepToNextEntry)->Unit(benchmark::kMillisecond);

// What autosave does on the interface thread for a modified 65535-entry
// lesson: the window's lesson encoded into memory (range 0: an entry being
// typed on the Entries page; 1: uncompiled edits on the Text page, whose
// text is taken too) and handed to the writer. Writing happens on the
// worker and is waited for outside the timing.
void BM_AutosaveOnTheInterfaceThread(benchmark::State& state) {
  ui::MainForm main(bench::BenchPlatform());
  main.show();
  ui::VocabEditForm* form = main.OpenFile(LargeLesson());
  const bool textPage = state.range(0) == 1;
  form->SelectTab(textPage ? ui::VocabEditForm::kTextPage : ui::VocabEditForm::kEntriesPage);
  form->CompleteText();
  QApplication::processEvents();
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // Each round a new edit, so that the worker writes every image.
    const QString edit = QString("edit%1").arg(++round);
    if (textPage) form->MemoText->appendPlainText(edit);
    else form->MemoSynonyms->setPlainText(edit);
    state.ResumeTiming();
    main.Autosave().SaveNow();
    state.PauseTiming();
    main.Autosave().Flush();
    state.ResumeTiming();
  }
  form->StoreControls();
  form->Document().MarkSaved();
  main.Autosave().ForgetAll();
  main.Autosave().Flush();
}
BENCHMARK(BM_AutosaveOnTheInterfaceThread)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QElapsedTimer timer;
  timer.start();
  QApplication app(argc, argv);
  ui::InstallFontSubstitutions();
  std::printf("QApplication created in %lld ms\n", static_cast<long long>(timer.elapsed()));
  SetProgramFilePath(Folder().File("vocatrix"));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
