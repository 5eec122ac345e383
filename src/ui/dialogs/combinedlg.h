// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The combine dialog: two open lessons chosen from lists, and the lesson
// that concatenating them (mode 0) or substituting a language through them
// (mode 1) makes, shown before it is opened.

#include <QDialog>
#include <memory>
#include <set>

#include "model/lesson.h"

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
  // (the active window's last), the first of both chosen, and the result.
  void FormShow();
  // Computes the result of the chosen pair.
  void ComboBoxChange();
  void HelpBtnClick();

  // The result for the current choice, or null; TakeResult hands it over.
  TMeanCollection* ResultLesson() const { return result_.get(); }
  std::unique_ptr<TMeanCollection> TakeResult() { return std::move(result_); }
  // The lessons a substitution compacted since the dialog was filled.
  const std::set<const TMeanCollection*>& Compacted() const { return compacted_; }

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
  TMeanCollection* LessonOf(const QComboBox* list) const;

  MainForm* main_;
  int mode_ = kConcat;
  std::unique_ptr<TMeanCollection> result_;
  std::vector<TMeanCollection*> lessons_;  // of the list items, by index
  std::set<const TMeanCollection*> compacted_;
};

}  // namespace vocatrix::ui
