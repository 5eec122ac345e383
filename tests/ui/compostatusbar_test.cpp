// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar that holds other controls.

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QProgressBar>

#include "components/compostatusbar.h"

namespace vocatrix {
namespace {

TEST(CompoStatusBar, MustBeOwnedByAForm) {
  QWidget form;
  QWidget* panel = new QWidget(&form);
  for (QWidget* owner : {panel, static_cast<QWidget*>(nullptr)}) {
    try {
      TCompoStatusBar bar(owner);
      ADD_FAILURE() << "created without a form";
    } catch (const EInvalidOperation& e) {
      EXPECT_STREQ(e.what(), "Must be owned by a standard form");
    }
  }
  EXPECT_NO_THROW(TCompoStatusBar bar(&form));
}

TEST(CompoStatusBar, ChildControlStaysInsideWhenTheWindowResizes) {
  QMainWindow window;
  auto* bar = new TCompoStatusBar(&window);
  window.setStatusBar(bar);
  bar->setFixedHeight(20);
  bar->AddPanel(80, "Compiling");
  bar->AddPanel(50);
  auto* progress = new QProgressBar(bar);
  progress->setGeometry(86, 6, 216, 10);
  window.resize(605, 468);
  window.show();
  window.resize(400, 300);
  EXPECT_EQ(progress->parentWidget(), bar);
  EXPECT_EQ(progress->geometry(), QRect(86, 6, 216, 10));
  EXPECT_EQ(bar->mapTo(&window, QPoint(0, 0)).y(), window.height() - 20);
  // The last panel reaches the right edge.
  EXPECT_EQ(bar->PanelRect(1).right(), bar->width() - 1);
  EXPECT_EQ(bar->PanelRect(0).width(), 80);
  bar->SetPanelText(1, "detail");
  EXPECT_EQ(bar->PanelText(1), "detail");
  EXPECT_EQ(bar->PanelText(5), "");
}

}  // namespace
}  // namespace vocatrix
