// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/memorygame/memorygameform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "base/messages.h"
#include "components/memopanel.h"
#include "exercise/practice.h"
#include "ui/about/soundevents.h"
#include "ui/common/backgroundwork.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"

namespace vocatrix::ui {
namespace {

// Hidden cards are squares of this edge; a card turned face up grows a
// little about its centre and comes to the front, so that its word reads.
constexpr int kCardHidden = 96;
constexpr int kCardShown = 112;
constexpr std::uint8_t kDirections[] = {kAskLanguage1, kAskLanguage2, kSameLanguage1, kSameLanguage2};

const QColor kBackColour(40, 70, 140);
const QColor kFaceColour(255, 255, 240);
const QColor kFoundColour(200, 235, 200);

void Colour(TMemoCard* card, const QColor& colour) {
  QPalette palette = card->palette();
  palette.setColor(QPalette::Window, colour);
  card->setPalette(palette);
}

// The word in its font, made smaller until it fits the card, wrapped where it has spaces.
void WriteFace(QLabel* image, const TMemoryCardFace& face) {
  QFont font = ToQFont(face.Font);
  const QString text = ToQString(face.Text);
  const QRect room(0, 0, kCardShown - 10, kCardShown - 10);
  for (int size = font.pointSize(); size > 6; --size) {
    font.setPointSize(size);
    const QRect needed = QFontMetrics(font).boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, text);
    if (needed.width() <= room.width() && needed.height() <= room.height()) break;
  }
  image->setFont(font);
  image->setText(text);
}

}  // namespace

TMemoryGameForm::TMemoryGameForm(QWidget* parent, Platform& platform, std::function<const TMeanCollection*()> lesson)
    : QDialog(parent),
      platform_(platform),
      lesson_(std::move(lesson)),
      turnBack_(new QTimer(this)),
      dealing_(new TBackgroundWork(this)) {
  setObjectName("MemoryGameForm");
  setWindowTitle("Memory-Spiel");
  SetHelpTopic(this, "memory");
  QFont font = parent ? parent->font() : QDialog::font();
  font.setBold(false);
  setFont(font);

  ComboDirection = new QComboBox(this);
  ComboDirection->setObjectName("ComboDirection");
  ComboDirection->addItems({"Übersetzungen, Sprache 1 nach 2", "Übersetzungen, Sprache 2 nach 1",
                            "Synonyme und Antonyme in Sprache 1", "Synonyme und Antonyme in Sprache 2"});
  CheckOrder = new QCheckBox("Als &Raster", this);
  CheckOrder->setObjectName("CheckOrder");
  CheckOrder->setChecked(true);
  ButtonNewGame = new QPushButton("&Neues Spiel", this);
  ButtonNewGame->setObjectName("ButtonNewGame");
  ButtonClose = new QPushButton("&Schließen", this);
  ButtonClose->setObjectName("ButtonClose");
  LabelStatus = new QLabel(this);
  LabelStatus->setObjectName("LabelStatus");
  MarkAsData(LabelStatus);
  LabelNote = new QLabel("Das Spiel ändert die Lektion nicht.", this);
  LabelNote->setObjectName("LabelNote");
  LabelNote->setWordWrap(true);

  MemoPanel = new TMemoPanel(this);
  MemoPanel->setObjectName("MemoPanel");
  MemoPanel->SetFontSize(0);  // the cards keep the fonts of their words
  MemoPanel->SetCardWidthHidden(kCardHidden);
  MemoPanel->SetCardWidthShown(kCardShown);
  MemoPanel->SetLeftBorder(4);
  MemoPanel->SetRightBorder(4);
  MemoPanel->SetTopBorder(4);
  MemoPanel->SetBottomBorder(4);
  MemoPanel->SetOrder(true);
  MemoPanel->setMinimumSize(4 * kCardShown + 24, 4 * kCardShown + 24);

  turnBack_->setSingleShot(true);
  connect(turnBack_, &QTimer::timeout, this, &TMemoryGameForm::TurnBackNow);
  connect(ButtonNewGame, &QPushButton::clicked, this, &TMemoryGameForm::NewGame);
  connect(ButtonClose, &QPushButton::clicked, this, &QDialog::close);
  connect(ComboDirection, &QComboBox::activated, this, &TMemoryGameForm::NewGame);
  connect(CheckOrder, &QCheckBox::toggled, this, [this](bool grid) { MemoPanel->SetOrder(grid); });

  auto* choices = new QHBoxLayout;
  choices->addWidget(ComboDirection);
  choices->addWidget(CheckOrder);
  choices->addStretch(1);
  choices->addWidget(ButtonNewGame);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(LabelNote, 1);
  bottom->addWidget(ButtonClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addWidget(MemoPanel, 1);
  layout->addWidget(LabelStatus);
  layout->addLayout(bottom);
  TranslateForm(this);
  resize(sizeHint());
}

std::uint8_t TMemoryGameForm::Flags() const {
  const int index = std::clamp(ComboDirection->currentIndex(), 0, 3);
  return static_cast<std::uint8_t>(kDirections[index] | kKeepAllGroups);
}

void TMemoryGameForm::NewGame() {
  turnBack_->stop();
  const TMeanCollection* lesson = lesson_ ? lesson_() : nullptr;
  if (!lesson) return;
  MemoPanel->DeleteCards();
  cards_.clear();
  game_ = TMemoryGame();
  LabelStatus->setText(Utf8ToQString(TranslateMessage("MemoryDealing", "Dealing the cards...")));
  // The copy takes the fonts the selection hands out, not the lesson; the
  // worker alone uses it, and frees it with the problems.
  auto copy = std::make_shared<TPracticeLesson>(*lesson, TKnowledgeStore());
  auto dealt = std::make_shared<TMemoryGame>();
  const std::uint8_t flags = Flags();
  dealing_->Start(
      [copy = std::move(copy), dealt, flags](TWorkProgress&) mutable {
        const std::shared_ptr<TPracticeLesson> own = std::move(copy);
        dealt->Deal(*own->Lesson().Select(flags));
      },
      {[this, dealt] {
        game_ = *dealt;
        LayOutCards();
      }});
}

void TMemoryGameForm::FinishDealing() { dealing_->Finish(); }

void TMemoryGameForm::LayOutCards() {
  MemoPanel->DeleteCards();
  cards_.clear();
  for (int i = 0; i < static_cast<int>(game_.Cards().size()); ++i) {
    auto* card = new TMemoCard;
    card->setObjectName(QString("MemoCard%1").arg(i + 1));
    card->CardImage()->setObjectName("CardImage");
    card->CardImage()->setAlignment(Qt::AlignCenter);
    card->CardImage()->setWordWrap(true);
    card->CardImage()->setScaledContents(false);
    MarkAsData(card->CardImage());
    Colour(card, kBackColour);
    connect(card, &TMemoCard::MouseUp, this, [this, i](TMemoCard*, Qt::MouseButton button) {
      if (button == Qt::LeftButton) TurnCard(i);
    });
    MemoPanel->RandomInsert(card);
    cards_.push_back(card);
  }
  // Pairs are dealt side by side: the cards change places before they are laid out.
  MemoPanel->RandomizeControls();
  if (MemoPanel->Order()) MemoPanel->TileControls();
  else MemoPanel->RandomControls();
  UpdateStatus();
}

void TMemoryGameForm::ShowFace(int card) {
  TMemoCard* widget = Card(card);
  const bool up = game_.FaceUp(card);
  const QPoint centre = widget->geometry().center();
  const int edge = up ? widget->WidthShown : widget->WidthHidden;
  if (widget->width() != edge) {
    // Grown or shrunk about its centre, kept on the panel.
    QRect place(0, 0, edge, edge);
    place.moveCenter(centre);
    place.moveLeft(std::clamp(place.left(), 0, std::max(0, MemoPanel->width() - edge)));
    place.moveTop(std::clamp(place.top(), 0, std::max(0, MemoPanel->height() - edge)));
    widget->setGeometry(place);
  }
  if (up) {
    WriteFace(widget->CardImage(), game_.Cards()[static_cast<std::size_t>(card)]);
    widget->raise();
  } else {
    widget->CardImage()->clear();
  }
  Colour(widget, game_.Matched(card) ? kFoundColour : up ? kFaceColour : kBackColour);
}

void TMemoryGameForm::TurnCard(int card) {
  // A card turned while two wait shows them turned back first.
  if (game_.Waiting() && card >= 0 && card < static_cast<int>(cards_.size()) && !game_.FaceUp(card)) TurnBackNow();
  const TMemoryGame::TurnResult result = game_.TurnCard(card);
  if (result == TMemoryGame::TurnResult::kIgnored) return;
  ShowFace(card);
  switch (result) {
    case TMemoryGame::TurnResult::kFirst:
      Play(seShowIt);
      break;
    case TMemoryGame::TurnResult::kMatch:
      for (int other = 0; other < static_cast<int>(cards_.size()); ++other)
        if (game_.Matched(other)) ShowFace(other);
      Play(seClap);
      break;
    case TMemoryGame::TurnResult::kMismatch:
      Play(seShowIt);
      turnBack_->start(TurnBackMilliseconds);
      break;
    case TMemoryGame::TurnResult::kCleared:
      for (int other = 0; other < static_cast<int>(cards_.size()); ++other) ShowFace(other);
      Play(seApplause);
      ButtonNewGame->setDefault(true);
      ButtonNewGame->setFocus();
      break;
    case TMemoryGame::TurnResult::kIgnored:
      break;
  }
  UpdateStatus();
}

void TMemoryGameForm::TurnBackNow() {
  turnBack_->stop();
  if (!game_.TurnBack()) return;
  for (int card = 0; card < static_cast<int>(cards_.size()); ++card)
    if (!game_.FaceUp(card) && cards_[static_cast<std::size_t>(card)]->width() != kCardHidden) ShowFace(card);
  Play(seRotate);
  UpdateStatus();
}

void TMemoryGameForm::UpdateStatus() {
  const std::string pairs = std::to_string(game_.Pairs());
  const std::string found = std::to_string(game_.PairsFound());
  const std::string moves = std::to_string(game_.Moves());
  std::string text;
  if (game_.Pairs() == 0)
    text = TranslateMessage("MemoryNoPairs", "This lesson gives no pairs in this direction.");
  else if (game_.Cleared())
    text = TranslateMessage("MemoryCleared", "All %s pairs found in %s moves. Another game?", {pairs, moves});
  else
    text = TranslateMessage("MemoryPairs", "Pairs found: %s of %s. Moves: %s", {found, pairs, moves});
  LabelStatus->setText(Utf8ToQString(text));
}

void TMemoryGameForm::Play(int event) {
  SoundEvents().PlaySoundEvent(event, kSoundAsync, platform_, this, CurrentLanguage());
}

void TMemoryGameForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) UpdateStatus();
}

}  // namespace vocatrix::ui
