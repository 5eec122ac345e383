// SPDX-License-Identifier: GPL-3.0-or-later
// The Table page of a lesson window holding 65535 entries: changing to it
// from the Header page, sorting the view by each column, the longest stall
// while scrolling from the top to the bottom page by page, and one keystroke
// of the filter. Runs offscreen unless another platform is set.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

#include "../bench_lessons.h"
#include "base/settings.h"
#include "bench_main.h"
#include "bench_platform.h"
#include "model/textcompare.h"
#include "ui/common/qtfonts.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/mainform.h"

namespace {

using namespace vocatrix;

// A lesson window of the full-size lesson, on its Table page unless asked
// otherwise, the table as large as a user would make it.
struct Page {
  ui::MainForm main{bench::BenchPlatform()};
  ui::VocabEditForm* form = nullptr;
  QTableView* view = nullptr;
  explicit Page(bool onTable = true) {
    main.resize(1280, 900);
    main.show();
    std::unique_ptr<TMeanCollection> lesson = bench::FullSizeLesson();
    lesson->Language1.Font = TextToFont("Times New Roman_clNavy_12_[]");
    lesson->Language2.Font = TextToFont("Arial_clBlack_12_[Italic]");
    form = main.NewChild();
    form->SetLesson(std::move(lesson));
    view = form->TableView;
    QApplication::processEvents();
    if (!onTable) return;
    form->SelectTab(ui::VocabEditForm::kTablePage);
    form->resize(940, 700);
    Paint();
  }
  ~Page() {
    form->StoreControls();
    form->Document().MarkSaved();
  }
  // Everything the window does before the user sees it.
  void Paint() {
    form->repaint();
    QApplication::processEvents();
  }
};

// Arg 0: the table in the lesson's order; 1: sorted by the synonyms (the
// view sorts again when it is shown).
void BM_TableShows(benchmark::State& state) {
  SetCollationLocale("de_DE.UTF-8");
  Page page(state.range(0) == 1);
  if (state.range(0) == 1) {
    page.view->sortByColumn(0, Qt::AscendingOrder);
    page.form->SelectTab(ui::VocabEditForm::kHeaderPage);
    page.Paint();
  }
  for (auto _ : state) {
    page.form->SelectTab(ui::VocabEditForm::kTablePage);
    page.Paint();
    state.PauseTiming();
    if (page.view->model()->rowCount() != 65535) {
      state.SkipWithError("table not shown");
      break;
    }
    page.form->SelectTab(ui::VocabEditForm::kHeaderPage);
    page.Paint();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TableShows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TableSorts(benchmark::State& state) {
  SetCollationLocale("de_DE.UTF-8");
  Page page;
  bool descending = false;
  for (auto _ : state) {
    page.view->sortByColumn(static_cast<int>(state.range(0)), (descending = !descending) ? Qt::DescendingOrder
                                                                                        : Qt::AscendingOrder);
    page.Paint();
  }
}
BENCHMARK(BM_TableSorts)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The stall meter: the longest a page step blocks the interface thread,
// painting included, from the top of the table to its bottom.
void BM_TableScrollStall(benchmark::State& state) {
  Page page;
  QScrollBar* bar = page.view->verticalScrollBar();
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
  auto* filter = page.form->findChild<QLineEdit*>("EditTableFilter");
  const QString typed = QString::fromUtf8("hütte12");
  for (auto _ : state) {
    for (qsizetype length = 1; length <= typed.size(); ++length) {
      filter->setText(typed.left(length));
      page.Paint();
    }
  }
  state.SetItemsProcessed(typed.size() * state.iterations());
}
BENCHMARK(BM_TableFilterKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return vocatrix::bench::RunEditorBenchmarks(argc, argv); }
