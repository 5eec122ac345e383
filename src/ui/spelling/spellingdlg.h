// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Check spelling dialog of a lesson window: every unknown word of the
// lesson with its entry number and language, one a line, as a view over the
// list of words (a lesson of 65,535 entries may have many). A click on a
// line shows that entry; "Check again" checks the lesson as it is now.

#include <QAbstractTableModel>
#include <QDialog>
#include <QFont>
#include <QString>
#include <vector>

#include "spelling/spellcheck.h"

class QLabel;
class QPushButton;
class QTreeView;

namespace vocatrix {
class TMeanCollection;
}

namespace vocatrix::ui {

// The unknown words as a table: entry number (from 1), language name, word
// (in its language's font).
class TUnknownWordModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;
  void SetWords(std::vector<UnknownWord> words, const TMeanCollection& lesson);
  const std::vector<UnknownWord>& Words() const { return words_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  std::vector<UnknownWord> words_;
  QString names_[2];
  QFont fonts_[2];
};

class TSpellingDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSpellingDlg(QWidget* parent);

  // Lists the unknown words found in `lesson`.
  void ShowWords(std::vector<UnknownWord> words, const TMeanCollection& lesson);
  const TUnknownWordModel& Model() const { return *model_; }

  QLabel* LabelCount = nullptr;
  QTreeView* ListWords = nullptr;
  QPushButton* ButtonCheckAgain = nullptr;
  QPushButton* ButtonClose = nullptr;

 signals:
  // A line was clicked (or chosen with Enter).
  void WordClicked(const vocatrix::UnknownWord& word);
  void CheckAgain();

 private:
  TUnknownWordModel* model_ = nullptr;
};

}  // namespace vocatrix::ui
