// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a child window (a lesson window or a text window) asks of the frame
// it lives in: the desktop services, the status bar, warnings, the recent
// files, autosave, printing and the frame's own commands in the window's
// menus. The main window is the one host; tests give a window a host of
// their own.

#include <QString>
#include <string>
#include <vector>

#include "ui/platform/platform.h"

class QAction;
class QActionGroup;
class QMenu;
class QPrinter;
class QProgressBar;
class QTextDocument;
class QWidget;

namespace vocatrix {
struct TransferReport;
}

namespace vocatrix::ui {

class TChildForm;
class TFindDlg;

// The status words of the status bar; printing shows its pages as compiling
// shows its lines.
enum StatusState : int { kStatusIdle = 0, kStatusError = 1, kStatusCompiling = 2, kStatusPrinting = 3 };

// The frame's commands that a child window's menus offer.
enum class TFrameCommand {
  New, Open, Browse, Import, CloseAll, SaveAll, Exit, Charmap, SaveLanguage, Concat, Substitute
};

class TWindowHost {
 public:
  virtual ~TWindowHost() = default;

  // Dialogs, sound and the other services of the desktop.
  virtual Platform& Services() = 0;

  // --- Status bar ---
  // `detail`, when given, replaces the state's own text.
  virtual void SetStatus(int state, const QString& detail = {}) = 0;
  virtual int StatusState() const = 0;
  virtual QProgressBar* ProgressBar() const = 0;
  // A note on what a command did or why it did nothing; the next key or
  // click, another window or its window closing clears it.
  virtual void ShowNote(const QString& note) = 0;

  // --- Warnings ---
  // Which characters were stored as "?" (shown once the current event has
  // returned: storing runs inside change signals).
  virtual void WarnRejectedCharacters(QWidget* parent, const QString& rejected) = 0;
  // The words (Windows-1252) that lesson text cannot carry (later, as above).
  virtual void WarnUncarriedWords(QWidget* parent, const std::vector<std::string>& words) = 0;
  // What a read or written exchange file could not carry.
  virtual void WarnTransfer(QWidget* parent, const std::string& fileName, const TransferReport& report) = 0;
  // A box that only informs, shown once the current event has returned: for
  // code that runs inside a widget's change signal.
  virtual void InformLater(QWidget* parent, MessageKind kind, const QString& text) = 0;
  // True (after a warning naming the file) when the file exists and may not be written.
  virtual bool IsReadOnly(QWidget* parent, const std::string& fileName) = 0;

  // --- Recent files and autosave ---
  // A file opened or saved: first in the list of recent files.
  virtual void FileUsed(const std::string& fileName) = 0;
  // Lists the recent files in a File menu, above `before`.
  virtual void FillRecentFiles(QMenu* menu, QAction* before) = 0;
  // The window's work is saved or given up: its recovery files go.
  virtual void WorkSaved(const TChildForm* form) = 0;

  // --- Printing ---
  // The print dialog, after a warning when no printer is installed; printed
  // to a file, it offers `documentFile`'s own name with ".pdf".
  virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer, const std::string& documentFile = {}) = 0;
  // Prints a text page by page, with the progress in the status bar.
  virtual void PrintText(QWidget* parent, const QTextDocument& document, QPrinter& printer) = 0;

  // --- The frame's commands and the window's life ---
  virtual void RunFrameCommand(TFrameCommand command) = 0;
  // Appends one radio item per interface language to a language submenu.
  virtual void AddLanguageItems(QMenu* menu, QActionGroup* group) = 0;
  // The find dialog the lesson windows share.
  virtual TFindDlg* FindDlg() const = 0;
  // The name of the next child window of a kind ("VocabEditForm",
  // "VocabEditForm_1", ...).
  virtual QString NewChildName(const QString& base) const = 0;
  // A child window became active.
  virtual void ChildActivated() = 0;
  // A child window closes.
  virtual void ChildClosing(TChildForm* form) = 0;
};

}  // namespace vocatrix::ui
