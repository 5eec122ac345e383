// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The combine dialog: two open lessons chosen from lists, and the lesson
// that concatenating them (mode 0) or substituting a language through them
// (mode 1) makes, shown before it is opened. A substitution compacts both
// lessons, as a step of each one's history.

#include <QDialog>
#include <memory>
#include <vector>

#include "document/lessondocument.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vocatrix::ui {

class MainForm;

class TCombiLessonsDlg : public QDialog {
  Q_OBJECT
 public:
  enum Mode : int { kConcat = 0, kSubstitute = 1 };

  explicit TCombiLessonsDlg(MainForm* mainForm);
  ~TCombiLessonsDlg() override;

  int GetMode() const { return mode_; }
  void SetMode(int mode) { mode_ = mode; }

  // Fills the dialog: caption by mode, both lists with the open lessons
  // (the active window's last), the active window's lesson and the one
  // before it chosen, and the result.
  void FormShow();
  // Computes the result of the chosen pair; a lesson substituted through
  // itself is none.
  void ComboBoxChange();
  void HelpBtnClick();

  // The result for the current choice, or null; TakeResult hands it over.
  TMeanCollection* ResultLesson() const { return result_.get(); }
  std::unique_ptr<TMeanCollection> TakeResult() { return std::move(result_); }

  QComboBox* ComboBox1 = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QLabel* Panel1 = nullptr;
  QLabel* Panel2 = nullptr;
  QLabel* Panel3 = nullptr;
  QLabel* Panel4 = nullptr;
  QLabel* Panel5 = nullptr;
  QLabel* Panel6 = nullptr;
  QLabel* Panel7 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

 private:
  TLessonDocument* DocumentOf(const QComboBox* list) const;
  // What the result line says.
  enum Result { kNewLesson, kTooManyEntries, kLanguagesDiffer, kNoSharedLanguage, kSameLesson };
  static QString ResultText(Result result);
  void FitToEveryChoice();

  MainForm* main_;
  int mode_ = kConcat;
  std::unique_ptr<TMeanCollection> result_;
  std::vector<TLessonDocument*> documents_;  // of the list items, by index
};

}  // namespace vocatrix::ui
