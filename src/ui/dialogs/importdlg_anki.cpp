// SPDX-License-Identifier: GPL-3.0-or-later
// The import dialog for an Anki deck: note type, deck and the preview.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "base/inifile.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "model/lesson.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/importdlg.h"
#include "ui/language/multilanguage.h"
#include "ui/mainwindow/mainform.h"

namespace vocatrix::ui {

bool TImportDlg::AskAnki(MainForm* mainForm, const std::string& fileName, AnkiOptions& options) {
  std::string package = ReadWholeFile(fileName);
  // One note type in one deck: nothing to choose.
  if (!ListAnkiDeck(package, fileName).Choice()) return true;
  TImportDlg dialog(mainForm, fileName, std::move(package), IniFile::Load(std::string()));
  TranslateForm(&dialog);
  dialog.TextsChanged();
  if (mainForm->Services().dialogs.Exec(dialog) != QDialog::Accepted) return false;
  options = dialog.AnkiChoice();
  return true;
}

AnkiOptions TImportDlg::AnkiChoice() const {
  AnkiOptions options;
  options.NoteType = ComboBoxNoteType->currentData().toLongLong();
  options.Deck = ComboBoxDeck->currentData().toLongLong();
  return options;
}

void TImportDlg::SetUpAnki() {
  for (QWidget* widget : std::initializer_list<QWidget*>{
           LabelFound, LabelSeparator, ComboBoxSeparator, LabelEncoding, ComboBoxEncoding, LabelHeader,
           ComboBoxHeader, LabelLanguage1, EditLanguage1, LabelLanguage2, EditLanguage2, LabelColumns, GridColumns,
           LabelRole, ComboBoxRole})
    widget->hide();
  try {
    ankiContents_ = ListAnkiDeck(data_, fileName_);
  } catch (const std::exception& e) {
    previewError_ = e.what();
  }
  // Item 0 of each list takes all; the others name a part and its notes.
  showing_ = true;
  for (const auto& [box, parts] : {std::pair{ComboBoxNoteType, &ankiContents_.NoteTypes},
                                   std::pair{ComboBoxDeck, &ankiContents_.Decks}}) {
    box->addItem(QString(), QVariant::fromValue<qlonglong>(0));
    for (const AnkiPart& part : *parts)
      box->addItem(Utf8ToQString(part.Name) + " (" + QString::number(part.Notes) + ")",
                   QVariant::fromValue<qlonglong>(part.Id));
  }
  showing_ = false;
  ShowAnkiChoices();
  if (previewError_.empty()) ExamineAnki();
  for (QComboBox* box : {ComboBoxNoteType, ComboBoxDeck})
    connect(box, &QComboBox::currentIndexChanged, this, [this] {
      if (!showing_) ExamineAnki();
    });
}

void TImportDlg::ShowAnkiChoices() {
  showing_ = true;
  ComboBoxNoteType->setItemText(0, Utf8ToQString(TranslateMessage("ImportAllNoteTypes", "All note types")));
  ComboBoxDeck->setItemText(0, Utf8ToQString(TranslateMessage("ImportAllDecks", "All decks")));
  showing_ = false;
}

void TImportDlg::ExamineAnki() {
  ReadOptions options;
  options.Anki = AnkiChoice();
  // The lesson OK makes: read and compacted, as Import makes it.
  try {
    TransferReport report;
    auto lesson = ReadAnkiDeck(data_, fileName_, options, report);
    lesson->DblDel(report.LossyWords);
    ankiPreview_ = std::move(lesson);
    previewError_.clear();
  } catch (const std::exception& e) {
    ankiPreview_.reset();
    previewError_ = e.what();
  }
  ShowPreview();
}

}  // namespace vocatrix::ui
