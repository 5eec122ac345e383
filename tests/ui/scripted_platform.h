// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Platform services for tests: dialogs answer from a script and record what
// they were asked; the beep and font files are counted.

#include <gtest/gtest.h>

#include <QDialog>
#include <QPrinter>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/platform/platform.h"

namespace vocatrix::test {

struct AskedMessage {
  QWidget* Parent;
  ui::MessageKind Kind;
  ui::MessageButtons Buttons;
  QString Text;
};

struct AskedFileDialog {
  bool Save;
  ui::FileDialogRequest Request;
};

class ScriptedDialogs : public ui::Dialogs {
 public:
  // Answers of boxes that ask something (boxes with only OK need none).
  std::deque<ui::MessageAnswer> MessageAnswers;
  // File dialogs: a path, or nothing for Cancel.
  std::deque<std::optional<QString>> FileAnswers;
  // Font dialogs: a font, or nothing for Cancel.
  std::deque<std::optional<TFont>> FontAnswers;
  // Print dialogs: the PDF file to print to, or nothing for Cancel.
  std::deque<std::optional<QString>> PrintAnswers;
  bool Printers = true;
  // The pages "from" and "to" chosen in the print dialog; {0, 0} for all.
  std::pair<int, int> PrintPages{0, 0};

  // Runs while a message box is up: what a user sees behind it.
  std::function<void(const QString& text)> WhileShown;

  std::vector<AskedMessage> Messages;
  std::vector<AskedFileDialog> FileDialogs;
  int FontDialogs = 0;
  int PrintDialogs = 0;

  ui::MessageAnswer Message(QWidget* parent, ui::MessageKind kind, ui::MessageButtons buttons,
                            const QString& text) override {
    Messages.push_back({parent, kind, buttons, text});
    if (WhileShown) WhileShown(text);
    if (buttons == ui::MessageButtons::Ok) return ui::MessageAnswer::Ok;
    if (MessageAnswers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return ui::MessageAnswer::Cancel;
    }
    const ui::MessageAnswer answer = MessageAnswers.front();
    MessageAnswers.pop_front();
    return answer;
  }

  std::optional<QString> OpenFileName(QWidget*, const ui::FileDialogRequest& request) override {
    return NextFile(false, request);
  }
  std::optional<QString> SaveFileName(QWidget*, const ui::FileDialogRequest& request) override {
    return NextFile(true, request);
  }
  // Folder choosers take their answers from FileAnswers too.
  int FolderDialogs = 0;
  std::optional<QString> FolderName(QWidget*, const QString& title, const QString& folder) override {
    ++FolderDialogs;
    ui::FileDialogRequest request;
    request.Title = title;
    request.Folder = folder;
    return NextFile(false, request);
  }

  bool ChooseFont(QWidget*, TFont& font) override {
    ++FontDialogs;
    if (FontAnswers.empty()) {
      ADD_FAILURE() << "unexpected font dialog";
      return false;
    }
    const std::optional<TFont> answer = FontAnswers.front();
    FontAnswers.pop_front();
    if (!answer) return false;
    font = *answer;
    return true;
  }

  bool PrintersInstalled() override { return Printers; }

  // Chooses printing to a PDF file, as the dialog offers it.
  // The file the last print dialog offered for printing to a file.
  QString OfferedPrintFile;
  bool ChoosePrinter(QWidget*, QPrinter& printer) override {
    ++PrintDialogs;
    OfferedPrintFile = printer.outputFileName();
    if (PrintAnswers.empty()) {
      ADD_FAILURE() << "unexpected print dialog";
      return false;
    }
    const std::optional<QString> answer = PrintAnswers.front();
    PrintAnswers.pop_front();
    if (!answer) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*answer);
    if (PrintPages.first > 0) {
      printer.setPrintRange(QPrinter::PageRange);
      printer.setFromTo(PrintPages.first, PrintPages.second);
    }
    return true;
  }

  int PrinterSetups = 0;
  bool PrinterSetup(QWidget*, QPrinter&) override {
    ++PrinterSetups;
    return true;
  }

  // The program's own dialogs: each answer handles the dialog as a user
  // would (choosing, typing) and gives its result.
  std::deque<std::function<int(QDialog&)>> DialogAnswers;
  int Exec(QDialog& dialog) override {
    if (DialogAnswers.empty()) {
      ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
      return 0;
    }
    const auto answer = DialogAnswers.front();
    DialogAnswers.pop_front();
    return answer(dialog);
  }

  // Texts of the boxes of one kind, in order.
  std::vector<QString> TextsOf(ui::MessageKind kind) const {
    std::vector<QString> texts;
    for (const AskedMessage& m : Messages)
      if (m.Kind == kind) texts.push_back(m.Text);
    return texts;
  }

 private:
  std::optional<QString> NextFile(bool save, const ui::FileDialogRequest& request) {
    FileDialogs.push_back({save, request});
    if (FileAnswers.empty()) {
      ADD_FAILURE() << "unexpected file dialog";
      return std::nullopt;
    }
    const std::optional<QString> answer = FileAnswers.front();
    FileAnswers.pop_front();
    return answer;
  }
};

class CountingSound : public ui::Sound {
 public:
  int Beeps = 0;
  void Beep() override { ++Beeps; }
  // Wave files asked for, with their flags; whether they play and whether
  // there is a device at all.
  std::vector<std::pair<QString, int>> Played;
  bool Plays = true;
  bool Device = true;
  bool PlayWave(const QString& path, int flags) override {
    Played.emplace_back(path, flags);
    return Plays;
  }
  bool HasOutputDevice() override { return Device; }
};

class RecordingFonts : public ui::FontRegistry {
 public:
  std::vector<QString> Added;
  std::vector<QString> Removed;
  bool AddFontFile(const QString& path) override {
    Added.push_back(path);
    return true;
  }
  void RemoveFontFile(const QString& path) override { Removed.push_back(path); }
};

// Help topics and web pages asked for, in order.
class RecordingHelp : public ui::HelpViewer {
 public:
  std::vector<std::pair<QString, QString>> Shown;  // help file, topic
  int Closed = 0;
  void ShowTopic(QWidget*, const QString& helpFile, const QString& topic) override {
    Shown.emplace_back(helpFile, topic);
  }
  void Close() override { ++Closed; }
  std::vector<QString> Followed;  // help files of language switches
  void FollowLanguage(const QString& helpFile) override { Followed.push_back(helpFile); }
};

class RecordingWeb : public ui::WebPages {
 public:
  std::vector<QUrl> Opened;
  bool Open(const QUrl& address) override {
    Opened.push_back(address);
    return true;
  }
};

struct ScriptedPlatform {
  ScriptedDialogs Dialogs;
  CountingSound Sound;
  RecordingFonts Fonts;
  RecordingHelp Help;
  RecordingWeb Web;
  ui::Platform Get() { return {Dialogs, Sound, Fonts, Help, Web}; }
};

}  // namespace vocatrix::test
