// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/lessonmenus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "ui/common/menuitems.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/windowhost.h"

namespace vocatrix::ui {
namespace {

bool HasSelection(QWidget* control) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->hasSelectedText();
  if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) return memo->textCursor().hasSelection();
  return false;
}

bool ClipboardHasText() {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasText();
}

}  // namespace

TLessonMenus::TLessonMenus(VocabEditForm& form) : QObject(&form), form_(form) {
  saveFileDialog_ = new TFileDialogTexts(&form_, "SaveFileDialog", VocabEditForm::SaveFilter());
  exportFileDialog_ = new TFileDialogTexts(&form_, "ExportFileDialog", VocabEditForm::ExchangeFilter(), "Exportieren");
  CreateFileMenu();
  CreateEditMenu();
  CreateExtrasMenu();
}

void TLessonMenus::CreateFileMenu() {
  TWindowHost& host = form_.Host();
  const auto frame = [&host](TFrameCommand command) { return [&host, command] { host.RunFrameCommand(command); }; };
  menuFile_ = MakeMenu(&form_, "MenuFile", "&Datei");
  connect(AddItem(menuFile_, "MenuNew", "&Neu", QKeySequence("Ctrl+N")), &QAction::triggered, this,
          frame(TFrameCommand::New));
  connect(AddItem(menuFile_, "MenuOpen", "&Öffnen...", QKeySequence("Ctrl+O")), &QAction::triggered, this,
          frame(TFrameCommand::Open));
  QAction* browse = AddItem(menuFile_, "MenuBrowse", "&Browsen...");
  browse->setVisible(false);
  connect(browse, &QAction::triggered, this, frame(TFrameCommand::Browse));
  connect(AddItem(menuFile_, "MenuClose", "Schließen"), &QAction::triggered, &form_, [this] { form_.close(); });
  connect(AddItem(menuFile_, "MenuCloseAll", "Alles Schließen"), &QAction::triggered, this,
          frame(TFrameCommand::CloseAll));
  AddSeparator(menuFile_, "N1");
  connect(AddItem(menuFile_, "MenuSave", "&Speichern", QKeySequence("Ctrl+S")), &QAction::triggered, &form_,
          [this] { form_.MenuSaveClick(); });
  connect(AddItem(menuFile_, "MenuSaveAs", "Speichern &unter..."), &QAction::triggered, &form_,
          [this] { form_.MenuSaveAsClick(); });
  connect(AddItem(menuFile_, "MenuSaveAll", "&Alles Speichern"), &QAction::triggered, this,
          frame(TFrameCommand::SaveAll));
  connect(AddItem(menuFile_, "MenuImport", "&Importieren..."), &QAction::triggered, this,
          frame(TFrameCommand::Import));
  connect(AddItem(menuFile_, "MenuExport", "&Exportieren..."), &QAction::triggered, &form_,
          &VocabEditForm::MenuExportClick);
  AddSeparator(menuFile_, "N2");
  connect(AddItem(menuFile_, "MenuPrint", "&Drucken...", QKeySequence("Ctrl+P")), &QAction::triggered, &form_,
          &VocabEditForm::MenuPrintClick);
  AddSeparator(menuFile_, "N3");
  QAction* exit = AddItem(menuFile_, "MenuExit", "&Beenden");
  connect(exit, &QAction::triggered, this, frame(TFrameCommand::Exit));
  connect(menuFile_, &QMenu::aboutToShow, this, [this, exit] { form_.Host().FillRecentFiles(menuFile_, exit); });
}

void TLessonMenus::CreateEditMenu() {
  menuEdit_ = MakeMenu(&form_, "MenuEdit", "&Bearbeiten");
  menuUndo_ = AddItem(menuEdit_, "MenuUndo", "&Rückgängig", QKeySequence("Ctrl+Z"));
  menuRedo_ = AddItem(menuEdit_, "MenuRedo", "&Wiederherstellen");
  menuRedo_->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  connect(menuUndo_, &QAction::triggered, &form_, &VocabEditForm::UndoClick);
  connect(menuRedo_, &QAction::triggered, &form_, &VocabEditForm::RedoClick);
  AddSeparator(menuEdit_, "N6");
  menuCut_ = AddItem(menuEdit_, "MenuCut", "A&usschneiden", QKeySequence("Ctrl+X"));
  menuCopy_ = AddItem(menuEdit_, "MenuCopy", "&Kopieren", QKeySequence("Ctrl+C"));
  menuPaste_ = AddItem(menuEdit_, "MenuPaste", "E&infügen", QKeySequence("Ctrl+V"));
  menuDelete_ = AddItem(menuEdit_, "MenuDelete", "&Löschen");
  QAction* selectAll = AddItem(menuEdit_, "MenuSelectAll", "&Alles markieren");
  connect(menuCut_, &QAction::triggered, this, &TLessonMenus::CutToClipboard);
  connect(menuCopy_, &QAction::triggered, this, &TLessonMenus::CopyToClipboard);
  connect(menuPaste_, &QAction::triggered, this, &TLessonMenus::PasteFromClipboard);
  connect(menuDelete_, &QAction::triggered, this, &TLessonMenus::Delete);
  connect(selectAll, &QAction::triggered, this, &TLessonMenus::SelectAll);
  AddSeparator(menuEdit_, "N7");
  // F3 copies the entry on the Entries page, so finding on goes with the
  // other usual keys.
  connect(AddItem(menuEdit_, "MenuFind", "&Suchen...", QKeySequence("Ctrl+F")), &QAction::triggered, &form_,
          &VocabEditForm::MenuFindClick);
  connect(AddItem(menuEdit_, "MenuFindNext", "W&eitersuchen", QKeySequence("Ctrl+G")), &QAction::triggered, &form_,
          [this] { form_.FindNext(false); });
  connect(AddItem(menuEdit_, "MenuFindPrevious", "Rückwärts su&chen", QKeySequence("Ctrl+Shift+G")),
          &QAction::triggered, &form_, [this] { form_.FindNext(true); });
  connect(menuEdit_, &QMenu::aboutToShow, this, &TLessonMenus::UpdateEditMenu);
  // Shown disabled in the open menu only: their keys go on working, since a
  // focused edit may have typing of its own to undo.
  connect(menuEdit_, &QMenu::aboutToHide, this, [this] {
    menuUndo_->setEnabled(true);
    menuRedo_->setEnabled(true);
  });
}

void TLessonMenus::CreateExtrasMenu() {
  TWindowHost& host = form_.Host();
  const auto frame = [&host](TFrameCommand command) { return [&host, command] { host.RunFrameCommand(command); }; };
  menuExtras_ = MakeMenu(&form_, "MenuExtras", "Ex&tras");
  connect(AddItem(menuExtras_, "MenuCharmap", "Sonder&zeichen..."), &QAction::triggered, this,
          frame(TFrameCommand::Charmap));
  connect(AddItem(menuExtras_, "MenuCheckSpelling", "&Rechtschreibung prüfen...", QKeySequence("F7")),
          &QAction::triggered, &form_, &VocabEditForm::MenuCheckSpellingClick);
  connect(AddItem(menuExtras_, "MenuCheckLesson", "&Lektion prüfen..."), &QAction::triggered, &form_,
          &VocabEditForm::MenuCheckLessonClick);
  connect(AddItem(menuExtras_, "MenuPractise", "Ü&ben..."), &QAction::triggered, &form_,
          &VocabEditForm::MenuPractiseClick);
  connect(AddItem(menuExtras_, "MenuMemoryGame", "&Memory-Spiel..."), &QAction::triggered, &form_,
          &VocabEditForm::MenuMemoryGameClick);
  menuLanguage_ = MakeMenu(&form_, "MenuLanguage", "S&prache");
  menuExtras_->addMenu(menuLanguage_);
  QAction* saveLanguage = AddItem(menuLanguage_, "Speichern1", "&Speichern");
  saveLanguage->setVisible(false);
  connect(saveLanguage, &QAction::triggered, this, frame(TFrameCommand::SaveLanguage));
  languageGroup_ = new QActionGroup(&form_);
  languageGroup_->setExclusive(true);
  AddSeparator(menuExtras_, "N5");
  connect(AddItem(menuExtras_, "MenuMirror", "&Spiegeln"), &QAction::triggered, &form_, &VocabEditForm::MirrorClick);
  connect(AddItem(menuExtras_, "MenuCompact", "&Verdichten"), &QAction::triggered, &form_,
          &VocabEditForm::CompactClick);
  AddSeparator(menuExtras_, "N4");
  connect(AddItem(menuExtras_, "MenuConcat", "&Aneinanderhängen..."), &QAction::triggered, this,
          frame(TFrameCommand::Concat));
  connect(AddItem(menuExtras_, "MenuSubstitute", "Sprache &Ersetzen..."), &QAction::triggered, this,
          frame(TFrameCommand::Substitute));

  memoPopUp_ = MakeMenu(&form_, "MemoPopUp", {});
  popupCut_ = AddItem(memoPopUp_, "Cut1", "Cut");
  popupCopy_ = AddItem(memoPopUp_, "Copy1", "Copy");
  popupPaste_ = AddItem(memoPopUp_, "Paste1", "Paste");
  connect(popupCut_, &QAction::triggered, this, &TLessonMenus::CutToClipboard);
  connect(popupCopy_, &QAction::triggered, this, &TLessonMenus::CopyToClipboard);
  connect(popupPaste_, &QAction::triggered, this, &TLessonMenus::PasteFromClipboard);
  QComboBox* forms = form_.ComboBoxForm;
  connect(forms, &QWidget::customContextMenuRequested, this, [this, forms](const QPoint& at) {
    UpdateEditMenu();
    memoPopUp_->popup(forms->mapToGlobal(at));
  });
}

std::vector<GroupedMenu<QMenu*>> TLessonMenus::MenuGroups() const {
  return {{0, menuFile_}, {1, menuEdit_}, {2, menuExtras_}};
}

QWidget* TLessonMenus::FocusedEditControl() const {
  QWidget* control = form_.focusWidget();
  if (!control || !form_.isAncestorOf(control) || control == static_cast<QWidget*>(form_.MemoText)) return nullptr;
  if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control)) {
    // Line edits inside drop-down lists are not among the window's edits.
    if (qobject_cast<QComboBox*>(control->parentWidget())) return nullptr;
    return control;
  }
  return nullptr;
}

void TLessonMenus::CutToClipboard() {
  QWidget* control = FocusedEditControl();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->cut();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->cut();
}

void TLessonMenus::CopyToClipboard() {
  QWidget* control = FocusedEditControl();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->copy();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->copy();
}

void TLessonMenus::PasteFromClipboard() {
  QWidget* control = FocusedEditControl();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->paste();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->paste();
}

void TLessonMenus::Delete() {
  QWidget* control = FocusedEditControl();
  if (!control && form_.ShownPage().Delete()) return;
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (edit->hasSelectedText()) edit->del();
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->textCursor().removeSelectedText();
}

void TLessonMenus::SelectAll() {
  QWidget* control = FocusedEditControl();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->selectAll();
}

void TLessonMenus::UpdateEditMenu() {
  const bool paste = ClipboardHasText();
  const bool selection = HasSelection(FocusedEditControl());
  menuPaste_->setEnabled(paste);
  popupPaste_->setEnabled(paste);
  menuCut_->setEnabled(selection);
  menuCopy_->setEnabled(selection);
  const TPageMenuState page = form_.ShownPage().MenuState();
  menuDelete_->setEnabled(selection || (!FocusedEditControl() && page.Delete));
  popupCut_->setEnabled(selection);
  popupCopy_->setEnabled(selection);
  QWidget* control = form_.focusWidget();
  const TLessonHistory& history = form_.Document().History();
  menuUndo_->setEnabled(OwnUndo(control, false) || page.Undo || history.CanUndo() || form_.ControlsChanged());
  menuRedo_->setEnabled(OwnUndo(control, true) || page.Redo || history.CanRedo());
}

bool TLessonMenus::OwnUndo(QWidget* control, bool redo) const {
  if (!control || !form_.isAncestorOf(control)) return false;
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (qobject_cast<QComboBox*>(edit->parentWidget())) return false;
    return redo ? edit->isRedoAvailable() : edit->isUndoAvailable();
  }
  if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
    return redo ? memo->document()->isRedoAvailable() : memo->document()->isUndoAvailable();
  return false;
}

}  // namespace vocatrix::ui
