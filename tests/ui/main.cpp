// SPDX-License-Identifier: GPL-3.0-or-later
// One QApplication for all GUI tests, on the offscreen platform unless
// another one is asked for.

#include <gtest/gtest.h>

#include "child_process.h"
#include "core/test_util.h"
#include "ui/application.h"
#include "ui/common/qtfonts.h"

int main(int argc, char** argv) {
  // While the process has a single thread: the failed-save tests mount a
  // small disk of their own.
  vocatrix::test::EnterPrivateMountNamespace();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  vocatrix::ui::TApplication app(argc, argv);
  vocatrix::ui::InstallFontSubstitutions();
  if (const int child = vocatrix::test::RunChildPart(); child >= 0) return child;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
