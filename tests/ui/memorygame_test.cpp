// SPDX-License-Identifier: GPL-3.0-or-later
// The memory game of a lesson window: turning cards, the sounds of a match,
// a mismatch and a cleared board, the fonts of the cards, and a lesson the
// game leaves as it was.

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "base/random.h"
#include "components/memopanel.h"
#include "ui/about/soundevents.h"
#include "ui/common/qtstrings.h"
#include "ui/memorygame/memorygameform.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::TMemoryGameForm;

class MemoryGameTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    saved_ = ui::SoundEvents();
    for (int event = 0; event < ui::TSoundEvents::kEvents; ++event)
      ui::SoundEvents().SoundFiles[static_cast<std::size_t>(event)] =
          std::string("/sounds/") + ui::TSoundEvents::kKeys[static_cast<std::size_t>(event)];
    ui::SoundEvents().SoundOn = true;
  }
  void TearDown() override {
    ui::SoundEvents() = saved_;
    UiTest::TearDown();
  }

  // The events played since the last call, by their keys.
  std::vector<std::string> Sounds() {
    std::vector<std::string> keys;
    for (const auto& [path, flags] : platform_.Sound.Played) keys.push_back(path.mid(8).toStdString());
    platform_.Sound.Played.clear();
    return keys;
  }

  // Twelve entries; language 2 is written in another font.
  ui::VocabEditForm* OpenLesson() {
    std::vector<MeaningPtr> entries;
    for (int i = 0; i < 12; ++i) entries.push_back(MakeEntry(1, {"word" + std::to_string(i)}, {"Wort" + std::to_string(i)}));
    auto lesson = MakeLesson("English", "Deutsch", entries);
    lesson->Language2.Font.Name = "Courier New";
    lesson->Language2.Font.Size = 14;
    SaveBinary(*lesson, File("lesson.tav"));
    return Open(File("lesson.tav"));
  }

  static void Click(TMemoryGameForm& game, int card) { QTest::mouseClick(game.Card(card)->CardImage(), Qt::LeftButton); }
  static QString Face(TMemoryGameForm& game, int card) { return game.Card(card)->CardImage()->text(); }

  ui::TSoundEvents saved_;
};

TEST_F(MemoryGameTest, AMatchStaysAMismatchTurnsBackAndTheClearedBoardEndsTheGameInTheCardsFonts) {
  ui::VocabEditForm* form = OpenLesson();
  ASSERT_NE(form, nullptr);
  const std::string before = ReadFile(File("lesson.tav"));
  SeedRandom(7);
  Child<QAction>(form, "MenuMemoryGame")->trigger();
  TMemoryGameForm* game = form->MemoryGame();
  ASSERT_NE(game, nullptr);
  game->FinishDealing();
  EXPECT_EQ(game->objectName(), "MemoryGameForm");
  EXPECT_TRUE(game->isVisible());
  game->TurnBackMilliseconds = 20;
  ASSERT_EQ(game->Game().Pairs(), 8);
  // Sixteen hidden cards, laid out as a grid on the panel without overlapping.
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Face(*game, i).isEmpty());
    EXPECT_TRUE(game->MemoPanel->rect().contains(game->Card(i)->geometry()));
    for (int j = 0; j < i; ++j) EXPECT_FALSE(game->Card(i)->geometry().intersects(game->Card(j)->geometry())) << j;
  }

  // A mismatch: both face up, then both turned back.
  Click(*game, 0);
  Click(*game, 2);
  EXPECT_EQ(Face(*game, 0), ui::ToQString(game->Game().Cards()[0].Text));
  EXPECT_EQ(game->Card(2)->width(), game->Card(2)->WidthShown);
  EXPECT_EQ(Sounds(), (std::vector<std::string>{"ShowIt", "ShowIt"}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Face(*game, 0).isEmpty() && Face(*game, 2).isEmpty(); }, 2000));
  EXPECT_EQ(game->Card(2)->width(), game->Card(2)->WidthHidden);
  EXPECT_EQ(Sounds(), std::vector<std::string>{"Rotate"});

  // Each pair in turn: a match stays shown, and the last one clears the board.
  for (int pair = 0; pair < 8; ++pair) {
    SCOPED_TRACE(pair);
    Click(*game, 2 * pair + 1);
    Click(*game, 2 * pair);
    QTest::qWait(40);
    EXPECT_FALSE(Face(*game, 2 * pair).isEmpty());
    EXPECT_FALSE(Face(*game, 2 * pair + 1).isEmpty());
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"ShowIt", pair == 7 ? "Applause" : "Clap"}));
    // Each card in its language's font: the question's English, the solution's German.
    EXPECT_EQ(game->Card(2 * pair)->CardImage()->font().family(), "Arial");
    EXPECT_EQ(game->Card(2 * pair + 1)->CardImage()->font().family(), "Courier New");
  }
  EXPECT_TRUE(game->Game().Cleared());
  EXPECT_EQ(game->Game().Moves(), 9);
  EXPECT_TRUE(game->LabelStatus->text().contains("9"));
  EXPECT_TRUE(game->ButtonNewGame->hasFocus());
  Click(*game, 0);  // a found card stays as it is
  EXPECT_TRUE(Sounds().empty());

  // A new game deals a new board; with sound off it plays nothing.
  game->ButtonNewGame->click();
  game->FinishDealing();
  EXPECT_EQ(game->Game().PairsFound(), 0);
  EXPECT_TRUE(Face(*game, 0).isEmpty());
  ui::SoundEvents().SoundOn = false;
  Click(*game, 0);
  Click(*game, 1);
  Click(*game, 3);
  EXPECT_FALSE(Face(*game, 0).isEmpty());
  EXPECT_TRUE(Sounds().empty());

  // The lesson is as it was: no change, no step to undo, no fonts given to its words.
  EXPECT_FALSE(form->Document().Modified());
  EXPECT_FALSE(form->History().CanUndo());
  for (int i = 0; i < form->Document().Lesson().EntryCount(); ++i)
    EXPECT_FALSE(form->Document().Lesson().At(i)->Synonyms.At(0)->Font);
  EXPECT_EQ(ReadFile(File("lesson.tav")), before);

  // The game closes with its lesson window.
  QPointer<TMemoryGameForm> watched(game);
  form->close();
  Settle();
  EXPECT_TRUE(watched.isNull());
}

TEST_F(MemoryGameTest, ADirectionWithoutPairsSaysSoAndScatteredCardsStayOnThePanel) {
  ui::VocabEditForm* form = OpenLesson();
  ASSERT_NE(form, nullptr);
  SeedRandom(3);
  form->MenuMemoryGameClick();
  TMemoryGameForm* game = form->MemoryGame();
  game->FinishDealing();
  // The cards of a pair, dealt side by side, do not lie side by side.
  QList<TMemoCard*> dealt;
  for (int i = 0; i < 16; ++i) dealt << game->Card(i);
  EXPECT_NE(game->MemoPanel->Cards(), dealt);
  game->CheckOrder->setChecked(false);
  EXPECT_FALSE(game->MemoPanel->Order());
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(game->MemoPanel->rect().contains(game->Card(i)->geometry())) << i;
  // The lesson has no synonyms: that direction deals no card.
  game->ComboDirection->setCurrentIndex(2);
  game->NewGame();
  game->FinishDealing();
  EXPECT_EQ(game->Game().Pairs(), 0);
  EXPECT_TRUE(game->MemoPanel->Cards().isEmpty());
  EXPECT_EQ(game->LabelStatus->text().toStdString(), "This lesson gives no pairs in this direction.");
  // Opened again, the window keeps its game.
  form->MenuMemoryGameClick();
  EXPECT_EQ(form->MemoryGame(), game);
  EXPECT_EQ(game->ComboDirection->currentIndex(), 2);
}

}  // namespace
}  // namespace vocatrix::test
