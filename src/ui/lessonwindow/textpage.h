// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Text page of the lesson window: the lesson as lesson text in the
// language fonts, and text and rich-text files. A long lesson fills the page
// in steps while the user already reads it; the page knows whether it holds
// edits of the user's, where its "Sp:" lines are (for the font of what is
// typed), and keeps the text autosave took last.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/font.h"

class QKeyEvent;
class QTextDocument;
class QTimer;

namespace vocatrix {
struct TextFileLines;
struct TLanguage;
class TMeanCollection;
struct TFindOptions;
}  // namespace vocatrix

namespace vocatrix::ui {

class LanguageLineIndex;
class LessonTextFill;
class TMemoText;
class VocabEditForm;

class TTextPage : public QWidget {
  Q_OBJECT
 public:
  // The page of `form`, whose lesson gives the fonts of what is typed.
  explicit TTextPage(VocabEditForm& form);
  ~TTextPage() override;

  // The own font of the page's editor.
  static TFont MemoFont();
  void SetTextMargins();
  // Empties the page; no edit of the user's.
  void Clear();

  // Fills the page with lesson text and gives it the fonts of two
  // languages, with "Compiling" and the progress bar; the first lines at
  // once, the rest from the event loop.
  void FillText(std::vector<std::string> lines, const TLanguage& language1, const TLanguage& language2);
  // Puts the rest of a stepwise fill in at once.
  void CompleteText();
  bool Filling() const { return fill_ != nullptr; }
  // Ends the watch for the user's input that completes a fill.
  void StopInputWatch();

  // The page's text read as a lesson (completed first), compacted; on a
  // format error the faulty line is selected and the result is null.
  // Characters Windows-1252 cannot hold are collected in `rejected`.
  std::unique_ptr<TMeanCollection> ReadLesson(QString* rejected);
  // Selects line `index` whole.
  void SelectLine(int index);
  // The text mirrored: read as a lesson, its languages swapped, and shown
  // again; the lesson of the window stays as it is but counts as modified.
  void Mirror();

  // Shows a text or rich-text file's data; rich text keeps its formatting.
  // Returns the file's lines with what reading them found.
  TextFileLines ShowFile(const std::string& data);
  // The page as a text file's data, or as rich text (completed first).
  std::string FileImage(bool richText, QString* rejected);

  // The change notification of the editor: an edit of the user's is an edit
  // of the lesson.
  void TextChange();
  // Chooses the font of the characters typed next; true when the key was
  // used up (typing over a selection).
  bool KeyDown(QKeyEvent* event);

  // Finds `text` from the selection on, else from the other end of the text
  // (then `wrapped`); selects and shows what it found.
  bool Find(const QString& text, const TFindOptions& options, bool backward, bool* wrapped);

  // The text of a page the user edited, as autosave takes it (not while it
  // still fills); read out again only when the document changed.
  std::optional<QString> EditedText() const;
  // Fills the page with a text autosave kept, as edits of the user's.
  void RestoreText(const QString& text);

  TMemoText* MemoText = nullptr;

 private:
  // Shows `document`; `undo`: the user may undo edits from here.
  void SetTextDocument(QTextDocument* document, bool undo = true);
  // Underlines the unknown words of a document the page shows.
  void MarkSpelling(QTextDocument* document);
  // Where the "Sp:" lines of the page are, kept up to date as it changes.
  LanguageLineIndex& LanguageLines();
  // One step of filling the page, run from the event loop.
  void FillTextStep();
  void EndTextFill();

  VocabEditForm& form_;
  bool filling_ = false;
  // The page holds edits of the user's since it was filled.
  bool edited_ = false;
  // The page's text as autosave took it last, and of which state.
  mutable QString pageText_;
  mutable const QTextDocument* pageTextDocument_ = nullptr;
  mutable int pageTextRevision_ = -1;
  QPointer<LanguageLineIndex> languageLines_;
  std::unique_ptr<LessonTextFill> fill_;
  QTimer* fillTimer_ = nullptr;
  QObject* fillInput_ = nullptr;
};

}  // namespace vocatrix::ui
