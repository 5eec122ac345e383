// SPDX-License-Identifier: GPL-3.0-or-later
// The menus of the lesson editor window (merged into the frame's menu bar
// while the window is active) and its edit commands.

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTableView>

#include "ui/mainwindow/mainform.h"
#include "ui/mainwindow/recentfiles.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/common/menuitems.h"
#include "ui/lessonwindow/vocabeditform.h"

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

void VocabEditForm::CreateMenus() {
  saveFileDialog_ = new TFileDialogTexts(this, "SaveFileDialog", SaveFilter());
  exportFileDialog_ = new TFileDialogTexts(this, "ExportFileDialog", ExchangeFilter(), "Exportieren");
  menuFile_ = MakeMenu(this, "MenuFile", "&Datei");
  connect(AddItem(menuFile_, "MenuNew", "&Neu", QKeySequence("Ctrl+N")), &QAction::triggered, main_,
          [this] { main_->NewChild(); });
  connect(AddItem(menuFile_, "MenuOpen", "&Öffnen...", QKeySequence("Ctrl+O")), &QAction::triggered, main_,
          [this] { main_->OpenChild(); });
  QAction* browse = AddItem(menuFile_, "MenuBrowse", "&Browsen...");
  browse->setVisible(false);
  connect(browse, &QAction::triggered, main_, [this] { main_->MenuBrowseClick(); });
  connect(AddItem(menuFile_, "MenuClose", "Schließen"), &QAction::triggered, this, [this] { close(); });
  connect(AddItem(menuFile_, "MenuCloseAll", "Alles Schließen"), &QAction::triggered, main_,
          [this] { main_->CloseAllLessons(); });
  AddSeparator(menuFile_, "N1");
  connect(AddItem(menuFile_, "MenuSave", "&Speichern", QKeySequence("Ctrl+S")), &QAction::triggered, this,
          [this] { MenuSaveClick(); });
  connect(AddItem(menuFile_, "MenuSaveAs", "Speichern &unter..."), &QAction::triggered, this,
          [this] { MenuSaveAsClick(); });
  connect(AddItem(menuFile_, "MenuSaveAll", "&Alles Speichern"), &QAction::triggered, main_,
          [this] { main_->SaveAllLessons(); });
  connect(AddItem(menuFile_, "MenuImport", "&Importieren..."), &QAction::triggered, main_,
          [this] { main_->MenuImportClick(); });
  connect(AddItem(menuFile_, "MenuExport", "&Exportieren..."), &QAction::triggered, this,
          &VocabEditForm::MenuExportClick);
  AddSeparator(menuFile_, "N2");
  connect(AddItem(menuFile_, "MenuPrint", "&Drucken...", QKeySequence("Ctrl+P")), &QAction::triggered, this,
          &VocabEditForm::MenuPrintClick);
  AddSeparator(menuFile_, "N3");
  QAction* exit = AddItem(menuFile_, "MenuExit", "&Beenden");
  connect(exit, &QAction::triggered, main_, [this] { main_->MenuExitClick(); });
  connect(menuFile_, &QMenu::aboutToShow, this, [this, exit] { main_->RecentFiles().FillMenu(menuFile_, exit); });

  menuEdit_ = MakeMenu(this, "MenuEdit", "&Bearbeiten");
  menuUndo_ = AddItem(menuEdit_, "MenuUndo", "&Rückgängig", QKeySequence("Ctrl+Z"));
  menuRedo_ = AddItem(menuEdit_, "MenuRedo", "&Wiederherstellen");
  menuRedo_->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  connect(menuUndo_, &QAction::triggered, this, &VocabEditForm::UndoClick);
  connect(menuRedo_, &QAction::triggered, this, &VocabEditForm::RedoClick);
  AddSeparator(menuEdit_, "N6");
  menuCut_ = AddItem(menuEdit_, "MenuCut", "A&usschneiden", QKeySequence("Ctrl+X"));
  menuCopy_ = AddItem(menuEdit_, "MenuCopy", "&Kopieren", QKeySequence("Ctrl+C"));
  menuPaste_ = AddItem(menuEdit_, "MenuPaste", "E&infügen", QKeySequence("Ctrl+V"));
  menuDelete_ = AddItem(menuEdit_, "MenuDelete", "&Löschen");
  QAction* selectAll = AddItem(menuEdit_, "MenuSelectAll", "&Alles markieren");
  connect(menuCut_, &QAction::triggered, this, &VocabEditForm::CutToClipboard);
  connect(menuCopy_, &QAction::triggered, this, &VocabEditForm::CopyToClipboard);
  connect(menuPaste_, &QAction::triggered, this, &VocabEditForm::PasteFromClipboard);
  connect(menuDelete_, &QAction::triggered, this, &VocabEditForm::Delete);
  connect(selectAll, &QAction::triggered, this, &VocabEditForm::SelectAll);
  AddSeparator(menuEdit_, "N7");
  // F3 copies the entry on the Entries page, so finding on goes with the
  // other usual keys.
  connect(AddItem(menuEdit_, "MenuFind", "&Suchen...", QKeySequence("Ctrl+F")), &QAction::triggered, this,
          &VocabEditForm::MenuFindClick);
  connect(AddItem(menuEdit_, "MenuFindNext", "W&eitersuchen", QKeySequence("Ctrl+G")), &QAction::triggered, this,
          [this] { FindNext(false); });
  connect(AddItem(menuEdit_, "MenuFindPrevious", "Rückwärts su&chen", QKeySequence("Ctrl+Shift+G")),
          &QAction::triggered, this, [this] { FindNext(true); });
  connect(menuEdit_, &QMenu::aboutToShow, this, &VocabEditForm::UpdateEditMenu);
  // Shown disabled in the open menu only: their keys go on working, since a
  // focused edit may have typing of its own to undo.
  connect(menuEdit_, &QMenu::aboutToHide, this, [this] {
    menuUndo_->setEnabled(true);
    menuRedo_->setEnabled(true);
  });

  menuExtras_ = MakeMenu(this, "MenuExtras", "Ex&tras");
  connect(AddItem(menuExtras_, "MenuCharmap", "Sonder&zeichen..."), &QAction::triggered, main_,
          [this] { main_->MenuCharmapClick(); });
  connect(AddItem(menuExtras_, "MenuCheckSpelling", "&Rechtschreibung prüfen...", QKeySequence("F7")),
          &QAction::triggered, this, &VocabEditForm::MenuCheckSpellingClick);
  menuLanguage_ = MakeMenu(this, "MenuLanguage", "S&prache");
  menuExtras_->addMenu(menuLanguage_);
  QAction* saveLanguage = AddItem(menuLanguage_, "Speichern1", "&Speichern");
  saveLanguage->setVisible(false);
  connect(saveLanguage, &QAction::triggered, main_, [this] { main_->MenuSaveLanguageClick(); });
  languageGroup_ = new QActionGroup(this);
  languageGroup_->setExclusive(true);
  AddSeparator(menuExtras_, "N5");
  connect(AddItem(menuExtras_, "MenuMirror", "&Spiegeln"), &QAction::triggered, this, &VocabEditForm::MirrorClick);
  connect(AddItem(menuExtras_, "MenuCompact", "&Verdichten"), &QAction::triggered, this,
          &VocabEditForm::CompactClick);
  AddSeparator(menuExtras_, "N4");
  connect(AddItem(menuExtras_, "MenuConcat", "&Aneinanderhängen..."), &QAction::triggered, this,
          &VocabEditForm::ConcatClick);
  connect(AddItem(menuExtras_, "MenuSubstitute", "Sprache &Ersetzen..."), &QAction::triggered, this,
          &VocabEditForm::SubstituteClick);

  MemoPopUp = MakeMenu(this, "MemoPopUp", {});
  popupCut_ = AddItem(MemoPopUp, "Cut1", "Cut");
  popupCopy_ = AddItem(MemoPopUp, "Copy1", "Copy");
  popupPaste_ = AddItem(MemoPopUp, "Paste1", "Paste");
  connect(popupCut_, &QAction::triggered, this, &VocabEditForm::CutToClipboard);
  connect(popupCopy_, &QAction::triggered, this, &VocabEditForm::CopyToClipboard);
  connect(popupPaste_, &QAction::triggered, this, &VocabEditForm::PasteFromClipboard);
  connect(ComboBoxForm, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    UpdateEditMenu();
    MemoPopUp->popup(ComboBoxForm->mapToGlobal(at));
  });
}

std::vector<GroupedMenu<QMenu*>> VocabEditForm::MenuGroups() const {
  return {{0, menuFile_}, {1, menuEdit_}, {2, menuExtras_}};
}

QWidget* VocabEditForm::FocusedEditControl() const {
  QWidget* control = focusWidget();
  if (!control || !isAncestorOf(control) || control == MemoText) return nullptr;
  if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control)) {
    // Line edits inside drop-down lists are not among the window's edits.
    if (qobject_cast<QComboBox*>(control->parentWidget())) return nullptr;
    return control;
  }
  return nullptr;
}

void VocabEditForm::CutToClipboard() {
  QWidget* control = FocusedEditControl();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->cut();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->cut();
}

void VocabEditForm::CopyToClipboard() {
  QWidget* control = FocusedEditControl();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->copy();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->copy();
}

void VocabEditForm::PasteFromClipboard() {
  QWidget* control = FocusedEditControl();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->paste();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->paste();
}

void VocabEditForm::Delete() {
  QWidget* control = FocusedEditControl();
  // On the Table page, outside its filter, Delete deletes the selected rows' entries.
  if (!control && CurrentPage() == kTablePage) TableDeleteClick();
  else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (edit->hasSelectedText()) edit->del();
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->textCursor().removeSelectedText();
}

void VocabEditForm::SelectAll() {
  QWidget* control = FocusedEditControl();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) memo->selectAll();
}

void VocabEditForm::UpdateEditMenu() {
  const bool paste = ClipboardHasText();
  const bool selection = HasSelection(FocusedEditControl());
  menuPaste_->setEnabled(paste);
  popupPaste_->setEnabled(paste);
  menuCut_->setEnabled(selection);
  menuCopy_->setEnabled(selection);
  menuDelete_->setEnabled(selection || (CurrentPage() == kTablePage && !FocusedEditControl() &&
                                        TableView->selectionModel()->hasSelection()));
  popupCut_->setEnabled(selection);
  popupCopy_->setEnabled(selection);
  QWidget* control = focusWidget();
  const bool text = CurrentPage() == kTextPage;
  menuUndo_->setEnabled(OwnUndo(control, false) || (text && OwnUndo(MemoText, false)) || history_.CanUndo() ||
                        controlsChanged_);
  menuRedo_->setEnabled(OwnUndo(control, true) || (text && OwnUndo(MemoText, true)) || history_.CanRedo());
}

}  // namespace vocatrix::ui
