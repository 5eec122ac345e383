// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Platform services for the editor benchmarks: no user is there to answer.

#include <cstdio>
#include <cstdlib>

#include "core/test_util.h"
#include "ui/platform/platform.h"

namespace vocatrix::bench {

// Any dialog would wait for a user that is not there: fail loudly instead.
class NoDialogs : public ui::Dialogs {
 public:
  ui::MessageAnswer Message(QWidget*, ui::MessageKind, ui::MessageButtons, const QString& text) override {
    std::fprintf(stderr, "unexpected message: %s\n", text.toUtf8().constData());
    std::abort();
  }
  std::optional<QString> OpenFileName(QWidget*, const ui::FileDialogRequest&) override { std::abort(); }
  std::optional<QString> SaveFileName(QWidget*, const ui::FileDialogRequest&) override { std::abort(); }
  std::optional<QString> FolderName(QWidget*, const QString&, const QString&) override { std::abort(); }
  bool ChooseFont(QWidget*, TFont&) override { std::abort(); }
  bool PrintersInstalled() override { return false; }
  bool ChoosePrinter(QWidget*, QPrinter&) override { std::abort(); }
  int Exec(QDialog&) override { std::abort(); }
  bool PrinterSetup(QWidget*, QPrinter&) override { std::abort(); }
};

class Silence : public ui::Sound {
 public:
  void Beep() override {}
  bool PlayWave(const QString&, int) override { return true; }
  bool HasOutputDevice() override { return false; }
};

class NoFonts : public ui::FontRegistry {
 public:
  bool AddFontFile(const QString&) override { return true; }
  void RemoveFontFile(const QString&) override {}
};

class NoHelp : public ui::HelpViewer {
 public:
  void ShowTopic(QWidget*, const QString&, const QString&) override { std::abort(); }
  void Close() override {}
  void FollowLanguage(const QString&) override {}
};

class NoWeb : public ui::WebPages {
 public:
  bool Open(const QUrl&) override { std::abort(); }
};

// The services every editor benchmark hands to its main window.
inline const ui::Platform& BenchPlatform() {
  static NoDialogs dialogs;
  static Silence sound;
  static NoFonts fonts;
  static NoHelp help;
  static NoWeb web;
  static const ui::Platform platform{dialogs, sound, fonts, help, web};
  return platform;
}

// One folder for a benchmark's files, removed at exit.
inline test::TempDir& Folder() {
  static test::TempDir folder;
  return folder;
}

}  // namespace vocatrix::bench
