// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/finddlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialogs/helpwindow.h"
#include "ui/language/textproperties.h"
#include "ui/mainwindow/mainform.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace vocatrix::ui {

TFindDlg::TFindDlg(MainForm* mainForm) : QDialog(mainForm), main_(mainForm) {
  setObjectName("FindForm");
  setWindowTitle("Suchen");
  SetHelpTopic(this, "find");
  setModal(false);
  QFont font = mainForm->font();
  font.setBold(false);
  setFont(font);

  const auto named = [](auto* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
  };
  LabelFind = named(new QLabel("Suchen &nach:", this), "LabelFind");
  EditFind = named(new QLineEdit(this), "EditFind");
  EditFind->setMinimumWidth(180);
  MarkAsData(EditFind);
  LabelFind->setBuddy(EditFind);
  CheckWholeWord = named(new QCheckBox("Nur ganze &Wörter", this), "CheckWholeWord");
  CheckMatchCase = named(new QCheckBox("&Groß-/Kleinschreibung beachten", this), "CheckMatchCase");
  GroupLanguages = named(new QGroupBox("Suchen in", this), "GroupLanguages");
  RadioBoth = named(new QRadioButton("&Beiden Sprachen", GroupLanguages), "RadioBoth");
  RadioLanguage1 = named(new QRadioButton("Sprache &1", GroupLanguages), "RadioLanguage1");
  RadioLanguage2 = named(new QRadioButton("Sprache &2", GroupLanguages), "RadioLanguage2");
  RadioBoth->setChecked(true);
  auto* languages = new QHBoxLayout(GroupLanguages);
  languages->addWidget(RadioBoth);
  languages->addWidget(RadioLanguage1);
  languages->addWidget(RadioLanguage2);
  languages->addStretch(1);
  ButtonFindNext = named(new QPushButton("Weiter&suchen", this), "ButtonFindNext");
  ButtonFindPrevious = named(new QPushButton("&Rückwärts suchen", this), "ButtonFindPrevious");
  ButtonClose = named(new QPushButton("Schließen", this), "ButtonClose");
  ButtonFindNext->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(LabelFind, 0, 0);
  grid->addWidget(EditFind, 0, 1);
  auto* options = new QVBoxLayout;
  options->addWidget(CheckWholeWord);
  options->addWidget(CheckMatchCase);
  grid->addLayout(options, 1, 0, 1, 2);
  grid->addWidget(GroupLanguages, 2, 0, 1, 2);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ButtonFindNext);
  buttons->addWidget(ButtonFindPrevious);
  buttons->addStretch(1);
  buttons->addWidget(ButtonClose);
  grid->addLayout(buttons, 0, 2, 3, 1);
  // The dialog grows with longer texts of another language, never shrinks below them.
  grid->setSizeConstraint(QLayout::SetFixedSize);

  connect(ButtonFindNext, &QPushButton::clicked, this, [this] { FindClick(false); });
  connect(ButtonFindPrevious, &QPushButton::clicked, this, [this] { FindClick(true); });
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);
  connect(EditFind, &QLineEdit::textChanged, this, &TFindDlg::UpdateButtons);
  UpdateButtons();
}

QString TFindDlg::Text() const { return EditFind->text(); }

TFindOptions TFindDlg::Options() const {
  TFindOptions options;
  options.MatchCase = CheckMatchCase->isChecked();
  options.WholeWord = CheckWholeWord->isChecked();
  options.Side = RadioLanguage1->isChecked() ? 0 : RadioLanguage2->isChecked() ? 1 : -1;
  return options;
}

void TFindDlg::UpdateButtons() {
  const bool any = !EditFind->text().isEmpty();
  ButtonFindNext->setEnabled(any);
  ButtonFindPrevious->setEnabled(any);
}

void TFindDlg::FormShow() {
  show();
  raise();
  activateWindow();
  EditFind->selectAll();
  EditFind->setFocus();
}

void TFindDlg::FindClick(bool backward) {
  if (VocabEditForm* form = main_->ActiveEditForm()) form->FindNext(backward);
}

}  // namespace vocatrix::ui
