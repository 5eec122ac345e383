// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the editor needs of the desktop, behind small interfaces: message
// boxes and the common dialogs (open, save, font, print), the beep, and private font files. The
// program uses the Qt implementations (qtplatform.h); tests answer from a
// script and check what was asked.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

#include "base/font.h"

class QDialog;
class QPrinter;
class QWidget;

namespace vocatrix::ui {

// The kinds of message boxes: an error with OK; a confirmation with Yes/No/
// Cancel or OK/Cancel; a warning with OK; information with OK/Cancel.
enum class MessageKind { Error, Confirmation, Warning, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// An open or save dialog. `Filter` is a list of label|pattern pairs
// separated by "|", patterns joined by ";" ("Text (*.txt)|*.txt|...").
struct FileDialogRequest {
  QString Title;
  QString Filter;
  int FilterIndex = 1;     // 1-based: the filter selected at the start
  QString FileName;        // the name the dialog starts with
  QString Folder;          // the folder it starts in, unless FileName names one
  QString DefaultExtension;  // without dot; added to a name typed without one
  bool OverwritePrompt = false;
  bool MultiSelect = false;  // an open dialog that accepts several files (the first is returned)
  bool RefuseReadOnly = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A closed box counts as Cancel (or OK for a box with OK only).
  virtual MessageAnswer Message(QWidget* parent, MessageKind kind, MessageButtons buttons, const QString& text) = 0;
  // The full path chosen, or nothing when cancelled.
  virtual std::optional<QString> OpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual std::optional<QString> SaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  // A folder chooser starting in `folder`; the folder's full path, or
  // nothing when cancelled.
  virtual std::optional<QString> FolderName(QWidget* parent, const QString& title, const QString& folder) = 0;
  // The font dialog on `font`: true on OK, with `font` as chosen there.
  virtual bool ChooseFont(QWidget* parent, TFont& font) = 0;
  // Whether the system knows any printer.
  virtual bool PrintersInstalled() = 0;
  // The print dialog (a page range, no selection choice) on `printer`: true
  // on OK, with the printer, the pages and the settings chosen there set on
  // `printer`.
  virtual bool ChoosePrinter(QWidget* parent, QPrinter& printer) = 0;
  // The printer set-up dialog (paper, orientation) on `printer`; true on OK.
  virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;
  // Runs one of the program's own dialogs modally; its result (QDialog::Accepted
  // or QDialog::Rejected).
  virtual int Exec(QDialog& dialog) = 0;

  // The box kinds with their fixed buttons.
  void ShowError(QWidget* parent, const QString& text) {
    Message(parent, MessageKind::Error, MessageButtons::Ok, text);
  }
  void ShowWarning(QWidget* parent, const QString& text) {
    Message(parent, MessageKind::Warning, MessageButtons::Ok, text);
  }
};

class Sound {
 public:
  virtual ~Sound() = default;
  virtual void Beep() = 0;
  // Plays a wave file; false when it cannot be played. Flags: 1 returns at
  // once, 16 fails instead of interrupting a sound that is playing.
  virtual bool PlayWave(const QString& path, int flags) = 0;
  // Whether the system has a sound output device at all.
  virtual bool HasOutputDevice() = 0;
};

// Font files added to and removed from the faces the program offers.
class FontRegistry {
 public:
  virtual ~FontRegistry() = default;
  // False when the file could not be added.
  virtual bool AddFontFile(const QString& path) = 0;
  virtual void RemoveFontFile(const QString& path) = 0;
};

// The help viewer, opened at a topic key of a help file.
class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  virtual void ShowTopic(QWidget* parent, const QString& helpFile, const QString& topic) = 0;
  // Closes the help window, if one is open (the program ends).
  virtual void Close() = 0;
  // The interface language changed: an open help window shows its topic in
  // this help file, and its Contents button opens this file's contents.
  virtual void FollowLanguage(const QString& helpFile) = 0;
};

// Web pages, opened in the user's browser; false when none could open it.
class WebPages {
 public:
  virtual ~WebPages() = default;
  virtual bool Open(const QUrl& address) = 0;
};

struct Platform {
  Dialogs& dialogs;
  Sound& sound;
  FontRegistry& fonts;
  HelpViewer& help;
  WebPages& web;
};

// Qt's name filters for a "label|pattern|..." filter: each label shown as
// written, its patterns (";" or blank separated) for matching.
QStringList QtNameFilters(const QString& filter);

// What a save dialog does with the name the user confirmed: a read-only
// file is refused before anything else is asked, an existing one may need
// the replace question, anything else is taken.
enum class SaveTargetCheck { Accept, RefuseReadOnly, AskReplace };
SaveTargetCheck CheckSaveTarget(const FileDialogRequest& request, const QString& path);

// The extension of a "label|pattern" filter's first pattern ("*.tav" gives
// "tav"); empty for "*" or "*.*".
QString FilterExtension(const QString& filter, int filterIndex);

}  // namespace vocatrix::ui
