// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window on scripted platform services, with its settings file in a
// fresh temporary folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "core/test_util.h"
#include "files/binaryfile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "scripted_platform.h"
#include "ui/mainwindow/mainform.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace vocatrix::test {

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedProgram_ = ProgramFilePath();
    SetProgramFilePath(dir_.File("vocatrix"));
    SetCurrentLanguage("");
  }

  void TearDown() override {
    CloseMain();
    SetCurrentLanguage("");
    SetProgramFilePath(savedProgram_);
  }

  // The main window, created on first use (after the test wrote its settings).
  ui::MainForm& Main() {
    if (!main_) {
      main_ = std::make_unique<ui::MainForm>(platform_.Get());
      main_->show();
    }
    return *main_;
  }

  // Makes the main window the active one, so focus changes send their events.
  void ActivateMain() {
    Main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
  }

  // Destroys the main window, which writes its settings.
  void CloseMain() {
    main_.reset();
    Settle();
  }

  // Lets the program wait for input once: the main window then puts the
  // captions' marks and the Save button in step.
  static void WaitForInput() {
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
  }

  // Runs posted events, such as the deletion of closed windows.
  static void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }

  std::string SettingsFile() const { return dir_.File("vocatrix.ini"); }
  void WriteSettings(const std::string& text) const { WriteFile(SettingsFile(), text); }
  std::string File(const std::string& name) const { return dir_.File(name); }

  // A lesson file with entries made of the given head words and translations.
  std::string MakeLessonFile(const std::string& name, const std::vector<MeaningPtr>& entries,
                             const std::string& language1 = "English", const std::string& language2 = "Deutsch") {
    auto lesson = MakeLesson(language1, language2, entries);
    const std::string path = File(name);
    SaveBinary(*lesson, path);
    return path;
  }

  ui::VocabEditForm* Open(const std::string& path) { return Main().OpenFile(path); }

  template <class T>
  T* Child(QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }

  QToolButton* Button(const char* name) { return Child<QToolButton>(&Main(), name); }

  // Gives up what the window holds unsaved, so that closing it asks nothing.
  static void Discard(ui::VocabEditForm* form) {
    form->StoreControls();
    form->Document().MarkSaved();
  }

  ScriptedPlatform platform_;
  TempDir dir_;
  std::unique_ptr<ui::MainForm> main_;

 private:
  std::string savedProgram_;
};

}  // namespace vocatrix::test
