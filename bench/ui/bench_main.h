// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main of the editor benchmarks: offscreen unless another platform is
// set, the program's settings in the benchmarks' own folder.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench_platform.h"
#include "base/settings.h"
#include "ui/common/qtfonts.h"

namespace vocatrix::bench {

inline int RunEditorBenchmarks(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ui::InstallFontSubstitutions();
  SetProgramFilePath(Folder().File("vocatrix"));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace vocatrix::bench
