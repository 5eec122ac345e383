// SPDX-License-Identifier: GPL-3.0-or-later
// The practice window's controls and their layout.

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "ui/language/textproperties.h"
#include "ui/practice/practiceform.h"

namespace vocatrix::ui {
namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  // Enter answers; it never presses a button of its own accord.
  button->setAutoDefault(false);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption = "", bool data = false) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  if (data) MarkAsData(label);
  return label;
}

}  // namespace

void PracticeForm::CreateControls() {
  static const char* const kDirectionNames[4] = {"CheckDirection1", "CheckDirection2", "CheckDirection3",
                                                 "CheckDirection4"};
  static const char* const kDirectionCaptions[4] = {
      "Übersetzungen, Sprache &1 nach 2", "Übersetzungen, Sprache &2 nach 1", "S&ynonyme und Antonyme in Sprache 1",
      "Synonyme und Antonyme in Spra&che 2"};
  static const char* const kCountNames[4] = {"LabelDirectionCount1", "LabelDirectionCount2", "LabelDirectionCount3",
                                             "LabelDirectionCount4"};
  GroupDirections = new QGroupBox("Richtungen", this);
  GroupDirections->setObjectName("GroupDirections");
  auto* directions = new QGridLayout(GroupDirections);
  for (int i = 0; i < 4; ++i) {
    CheckDirection[i] = new QCheckBox(kDirectionCaptions[i], GroupDirections);
    CheckDirection[i]->setObjectName(kDirectionNames[i]);
    LabelDirectionCount[i] = MakeLabel(GroupDirections, kCountNames[i], "", true);
    LabelDirectionCount[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    directions->addWidget(CheckDirection[i], i, 0);
    directions->addWidget(LabelDirectionCount[i], i, 1);
  }
  CheckDirection[0]->setChecked(true);

  static const char* const kGroupNames[3] = {"CheckHard", "CheckMedium", "CheckEasy"};
  static const char* const kGroupCaptions[3] = {"Sc&hwere", "&Mittlere", "&Leichte"};
  static const char* const kGroupCountNames[3] = {"LabelHardCount", "LabelMediumCount", "LabelEasyCount"};
  GroupGroups = new QGroupBox("Wörter", this);
  GroupGroups->setObjectName("GroupGroups");
  auto* groups = new QGridLayout(GroupGroups);
  for (int i = 0; i < 3; ++i) {
    CheckGroup[i] = new QCheckBox(kGroupCaptions[i], GroupGroups);
    CheckGroup[i]->setObjectName(kGroupNames[i]);
    CheckGroup[i]->setChecked(true);
    LabelGroupCount[i] = MakeLabel(GroupGroups, kGroupCountNames[i], "", true);
    LabelGroupCount[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    groups->addWidget(CheckGroup[i], i, 0);
    groups->addWidget(LabelGroupCount[i], i, 1);
  }
  CheckAllWords = new QCheckBox("&Alle Wörter", GroupGroups);
  CheckAllWords->setObjectName("CheckAllWords");
  LabelAllWordsCount = MakeLabel(GroupGroups, "LabelAllWordsCount", "", true);
  LabelAllWordsCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  groups->addWidget(CheckAllWords, 3, 0);
  groups->addWidget(LabelAllWordsCount, 3, 1);

  GroupAnswer = new QGroupBox("Antworten durch", this);
  GroupAnswer->setObjectName("GroupAnswer");
  auto* ways = new QVBoxLayout(GroupAnswer);
  RadioChoose = new QRadioButton("Aus&wählen", GroupAnswer);
  RadioChoose->setObjectName("RadioChoose");
  RadioType = new QRadioButton("&Eintippen", GroupAnswer);
  RadioType->setObjectName("RadioType");
  RadioCards = new QRadioButton("&Karten", GroupAnswer);
  RadioCards->setObjectName("RadioCards");
  RadioChoose->setChecked(true);
  ways->addWidget(RadioChoose);
  ways->addWidget(RadioType);
  ways->addWidget(RadioCards);
  ways->addStretch(1);

  LabelProblems = MakeLabel(this, "LabelProblems", "", true);
  ButtonStart = MakeButton(this, "ButtonStart", "S&tarten");
  ProgressSelect = new QProgressBar(this);
  ProgressSelect->setObjectName("ProgressSelect");
  ProgressSelect->setTextVisible(false);
  ProgressSelect->setRange(0, 0);  // Select cannot count its steps: busy
  ProgressSelect->hide();
  ButtonCancel = MakeButton(this, "ButtonCancel", "Abbrechen");
  ButtonCancel->hide();

  // The pages: nothing asked yet, the three ways of answering, the summary.
  Pages = new QStackedWidget(this);
  Pages->setObjectName("Pages");
  auto* idle = new QWidget(Pages);
  Pages->addWidget(idle);
  auto* choose = new QWidget(Pages);
  auto* chooseLayout = new QVBoxLayout(choose);
  for (int i = 0; i < 5; ++i) {
    const std::string name = "ButtonAlternative" + std::to_string(i + 1);
    ButtonAlternative[i] = MakeButton(choose, name.c_str(), "");
    MarkAsData(ButtonAlternative[i]);
    chooseLayout->addWidget(ButtonAlternative[i]);
    connect(ButtonAlternative[i], &QPushButton::clicked, this, [this, i] { Choose(i + 1); });
  }
  Pages->addWidget(choose);
  auto* type = new QWidget(Pages);
  auto* typeLayout = new QHBoxLayout(type);
  EditAnswer = new QLineEdit(type);
  EditAnswer->setObjectName("EditAnswer");
  MarkAsData(EditAnswer);
  ButtonAnswer = MakeButton(type, "ButtonAnswer", "A&ntworten");
  typeLayout->addWidget(EditAnswer, 1);
  typeLayout->addWidget(ButtonAnswer);
  connect(ButtonAnswer, &QPushButton::clicked, this, &PracticeForm::AnswerTyped);
  Pages->addWidget(type);
  auto* cards = new QWidget(Pages);
  auto* cardsLayout = new QVBoxLayout(cards);
  LabelCard = MakeLabel(cards, "LabelCard", "", true);
  LabelCard->setAlignment(Qt::AlignCenter);
  LabelCard->setFrameShape(QFrame::Box);
  LabelCard->setMinimumHeight(40);
  ButtonTurn = MakeButton(cards, "ButtonTurn", "Karte &umdrehen");
  ButtonKnew = MakeButton(cards, "ButtonKnew", "&Gewusst");
  ButtonDidNotKnow = MakeButton(cards, "ButtonDidNotKnow", "&Nicht gewusst");
  auto* cardButtons = new QHBoxLayout;
  cardButtons->addWidget(ButtonTurn);
  cardButtons->addWidget(ButtonKnew);
  cardButtons->addWidget(ButtonDidNotKnow);
  cardsLayout->addWidget(LabelCard);
  cardsLayout->addLayout(cardButtons);
  connect(ButtonTurn, &QPushButton::clicked, this, &PracticeForm::TurnCard);
  connect(ButtonKnew, &QPushButton::clicked, this, [this] { AnswerCard(true); });
  connect(ButtonDidNotKnow, &QPushButton::clicked, this, [this] { AnswerCard(false); });
  Pages->addWidget(cards);
  auto* summary = new QWidget(Pages);
  auto* summaryLayout = new QVBoxLayout(summary);
  LabelSummary = MakeLabel(summary, "LabelSummary", "", true);
  ListMissed = new QListWidget(summary);
  ListMissed->setObjectName("ListMissed");
  MarkAsData(ListMissed);
  connect(ListMissed, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowMissed(ListMissed->row(item)); });
  connect(ListMissed, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowMissed(ListMissed->row(item)); });
  summaryLayout->addWidget(LabelSummary);
  summaryLayout->addWidget(ListMissed, 1);
  Pages->addWidget(summary);

  LabelTask = MakeLabel(this, "LabelTask", "", true);
  LabelQuestion = MakeLabel(this, "LabelQuestion", "", true);
  LabelQuestion->setAlignment(Qt::AlignCenter);
  LabelQuestion->setMinimumHeight(36);
  LabelProgress = MakeLabel(this, "LabelProgress", "", true);
  LabelFeedback = MakeLabel(this, "LabelFeedback", "", true);
  LabelFeedback->setWordWrap(true);
  LabelKeys = MakeLabel(this, "LabelKeys",
                        "Tasten: 1–5 wählen, Eingabe antwortet, Leertaste dreht die Karte um, Esc schließt.");
  LabelKeys->setWordWrap(true);
  LabelScoresKept = MakeLabel(this, "LabelScoresKept",
                              "Die Punkte gelten nur, solange dieses Fenster offen ist; Lektion, Datei und "
                              "Rückgängig-Liste bleiben unverändert.");
  LabelScoresKept->setWordWrap(true);
  ButtonClose = MakeButton(this, "ButtonClose", "&Schließen");
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);
  connect(ButtonStart, &QPushButton::clicked, this, &PracticeForm::Start);
  connect(ButtonCancel, &QPushButton::clicked, this, &PracticeForm::CancelSelection);

  auto* choices = new QHBoxLayout;
  choices->addWidget(GroupDirections, 2);
  choices->addWidget(GroupGroups, 1);
  choices->addWidget(GroupAnswer, 1);
  auto* start = new QHBoxLayout;
  start->addWidget(LabelProblems, 1);
  start->addWidget(ProgressSelect, 1);
  start->addWidget(ButtonCancel);
  start->addWidget(ButtonStart);
  auto* head = new QHBoxLayout;
  head->addWidget(LabelTask, 1);
  head->addWidget(LabelProgress);
  auto* close = new QHBoxLayout;
  close->addWidget(LabelKeys, 1);
  close->addWidget(ButtonClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addLayout(start);
  layout->addLayout(head);
  layout->addWidget(LabelQuestion);
  layout->addWidget(Pages, 1);
  layout->addWidget(LabelFeedback);
  layout->addWidget(LabelScoresKept);
  layout->addLayout(close);
  resize(620, 520);
}

}  // namespace vocatrix::ui
