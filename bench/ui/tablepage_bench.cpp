// SPDX-License-Identifier: GPL-3.0-or-later
// The Table page's view of a lesson of 65535 entries: showing it, sorting
// it by each column, the longest stall while scrolling from the top to the
// bottom page by page, and one keystroke of the filter. Runs offscreen
// unless another platform is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>

#include "../bench_lessons.h"
#include "model/textcompare.h"
#include "ui/lessonwindow/entrytablemodel.h"
#include "ui/common/qtfonts.h"

namespace {

using namespace vocatrix;

struct Page {
  std::unique_ptr<TMeanCollection> lesson = bench::FullSizeLesson();
  ui::TEntryTableModel model;
  QTableView view;
  Page() {
    lesson->Language1.Font = TextToFont("Times New Roman_clNavy_12_[]");
    lesson->Language2.Font = TextToFont("Arial_clBlack_12_[Italic]");
    ui::ConfigureEntryTableView(&view);
    view.resize(900, 600);
  }
  // Everything the view does before the user sees it.
  void Paint() {
    view.repaint();
    QApplication::processEvents();
  }
};

void BM_TableShows(benchmark::State& state) {
  Page page;
  for (auto _ : state) {
    page.model.SetLesson(page.lesson.get());
    page.view.setModel(&page.model);
    page.view.show();
    page.Paint();
    state.PauseTiming();
    page.view.hide();
    page.view.setModel(nullptr);
    page.model.SetLesson(nullptr);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TableShows)->Unit(benchmark::kMillisecond);

void BM_TableSorts(benchmark::State& state) {
  SetCollationLocale("de_DE.UTF-8");
  Page page;
  page.model.SetLesson(page.lesson.get());
  page.view.setModel(&page.model);
  page.view.show();
  page.Paint();
  bool descending = false;
  for (auto _ : state) {
    page.view.sortByColumn(static_cast<int>(state.range(0)), (descending = !descending) ? Qt::DescendingOrder
                                                                                      : Qt::AscendingOrder);
    page.Paint();
  }
}
BENCHMARK(BM_TableSorts)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The stall meter: the longest a page step blocks the interface thread,
// painting included, from the top of the table to its bottom.
void BM_TableScrollStall(benchmark::State& state) {
  Page page;
  page.model.SetLesson(page.lesson.get());
  page.view.setModel(&page.model);
  page.view.show();
  page.Paint();
  QScrollBar* bar = page.view.verticalScrollBar();
  double longest = 0;
  std::int64_t steps = 0;
  for (auto _ : state) {
    bar->setValue(bar->minimum());
    page.Paint();
    while (bar->value() < bar->maximum()) {
      QElapsedTimer clock;
      clock.start();
      bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      page.Paint();
      longest = std::max(longest, static_cast<double>(clock.nsecsElapsed()) / 1e6);
      ++steps;
    }
  }
  state.counters["longest_step_ms"] = longest;
  state.counters["steps"] = static_cast<double>(steps) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TableScrollStall)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TableFilterKeystroke(benchmark::State& state) {
  Page page;
  page.model.SetLesson(page.lesson.get());
  page.view.setModel(&page.model);
  page.view.show();
  page.Paint();
  const QString typed = QString::fromUtf8("hütte12");
  for (auto _ : state) {
    for (qsizetype length = 1; length <= typed.size(); ++length) {
      page.model.SetFilter(typed.left(length));
      page.Paint();
    }
  }
  state.SetItemsProcessed(typed.size() * state.iterations());
}
BENCHMARK(BM_TableFilterKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ui::InstallFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
