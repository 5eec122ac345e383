// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Text page of the lesson window: the lesson as lesson text in the
// language fonts, and text and rich-text files. Entering the page writes the
// lesson there; leaving it reads the text back into the lesson, unless the
// text is still the lesson's own. A long lesson is written onto the page,
// and read back when the user changes the page, by a worker thread, while
// the window keeps answering. The page knows whether it holds edits of
// the user's, where its "Sp:" lines are (for the font of what is typed), and
// keeps the text autosave took last.

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/font.h"
#include "ui/lessonwindow/lessonpage.h"

class QKeyEvent;
class QTextDocument;
class QTimer;

namespace vocatrix {
struct TextFileLines;
struct TLanguage;
}  // namespace vocatrix

namespace vocatrix::ui {

class LanguageLineIndex;
class TBackgroundWork;
class TMemoText;

class TTextPage : public TLessonPage {
  Q_OBJECT
 public:
  explicit TTextPage(TPageHost& host);
  ~TTextPage() override;

  // The own font of the page's editor.
  static TFont MemoFont();
  void SetTextMargins();

  // --- The page in the window ---
  // Writes the lesson onto the page as lesson text in the language fonts.
  void Enter() override;
  // Reads the text back into the lesson when it is not the lesson's own; on
  // a format error selects the faulty line, shows the error in the status
  // bar and stays.
  bool MayLeave(int to) override;
  // Reads a long text back on a worker thread, then changes to page `to`.
  bool LeaveLater(int to) override;
  void LessonWillChange() override;
  void LessonChanged(const TLessonChange&) override {}
  bool HoldsEdits() const override;
  bool HoldsOwnText() const override { return true; }
  TPageMenuState MenuState() const override;
  bool Mirror() override;
  bool UndoOwn(bool redo) override;
  // Finds from the selection on, else from the other end of the text (the
  // status bar says so); selects and shows what it found.
  std::optional<bool> Find(const QString& text, const TFindOptions& options, bool backward) override;
  // The text of a page the user edited, as autosave takes it (not while it
  // still fills); read out again only when the document changed.
  std::optional<QString> RecoveryText() const override;

  // --- Filling ---
  // Fills the page with lesson text in the fonts of two languages; a long
  // text is put in by a worker, with "Compiling" and the progress bar, the
  // page empty until it is in.
  void FillText(std::vector<std::string> lines, const TLanguage& language1, const TLanguage& language2);
  // Waits for the text a worker puts in. Everything that edits or reads the
  // whole page calls it first.
  void CompleteText();
  bool Filling() const;
  void StopWork() override;

  // --- Text files ---
  // Shows a text or rich-text file's data; rich text keeps its formatting.
  // Returns the file's lines with what reading them found.
  TextFileLines ShowFile(const std::string& data);
  // The page as a text file's data, or as rich text (completed first).
  std::string FileImage(bool richText, QString* rejected);
  // The text was saved to the window's file: it is the file's now.
  void TextSaved();
  // Fills the page with a text autosave kept, as edits of the user's.
  void RestoreRecoveryText(const QString& text) override;
  // Prints the page, after the print dialog.
  void Print(const std::string& fileName);

  // Chooses the font of the characters typed next; true when the key was
  // used up (typing over a selection).
  bool TypingKeyDown(QKeyEvent* event);

  TMemoText* MemoText = nullptr;

 private:
  // Where the page's text came from.
  enum class Source {
    kLesson,  // the lesson, as Enter wrote it: nothing to read back unless edited
    kFile,    // the window's text file: read back, but no edit of the lesson
    kOther,   // anything else (a text autosave kept): an edit
  };
  // The page's text read as a lesson (completed first), compacted; on a
  // format error the faulty line is selected and the result is null.
  std::unique_ptr<TMeanCollection> ReadLesson(QString* rejected);
  // Reads the text back into the lesson; false on a format error.
  bool Compile();
  // Puts the text read back into the lesson; false when there is none (a
  // format error) or it holds more entries than a lesson file can.
  // `take` puts it in.
  bool TakeLesson(const TMeanCollection* compiled, const QString& rejected,
                  const std::function<void(TLessonDocument&)>& take);
  // The lines `lines` gives, written onto the page by a worker; `then`
  // follows once the page shows them.
  void StartFill(std::function<std::vector<std::string>()> lines, const TLanguage& language1,
                 const TLanguage& language2, std::function<void()> then);
  void SelectLine(int index);
  // Shows `document`; `undo`: the user may undo edits from here.
  void SetTextDocument(QTextDocument* document, bool undo = true);
  void SetSource(Source source);
  // Underlines the unknown words of a document the page shows.
  void MarkSpelling(QTextDocument* document);
  // Where the "Sp:" lines of the page are, kept up to date as it changes.
  LanguageLineIndex& LanguageLines();
  // The change notification of the editor.
  void TextChange();

  Source source_ = Source::kLesson;
  bool filling_ = false;
  // The user edited the text since it was put on the page.
  bool edited_ = false;
  // The page's text as autosave took it last, and of which state.
  mutable QString pageText_;
  mutable const QTextDocument* pageTextDocument_ = nullptr;
  mutable int pageTextRevision_ = -1;
  QPointer<LanguageLineIndex> languageLines_;
  // The lesson's state (TLessonDocument::Revision) whose text the page
  // shows as Enter wrote it, and what that text could not carry.
  std::optional<unsigned long> lessonTextRevision_;
  std::vector<std::string> lessonTextUncarried_;
  TBackgroundWork* fill_ = nullptr;
  TBackgroundWork* compile_ = nullptr;
};

}  // namespace vocatrix::ui
