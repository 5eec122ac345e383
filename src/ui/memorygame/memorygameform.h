// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory game of a lesson window: up to eight pairs of cards on the
// memory card panel, each pair a question of the exercise model and its
// solution. Two cards that belong together stay face up ("Clap"); two that
// do not turn back after a moment ("Rotate"); the last pair found ends the
// game ("Applause") and offers a new one.
//
// The game reads the lesson only to deal a board, from a copy made at once:
// it never changes the lesson, its history or its unsaved changes. The
// selection, long on a large lesson, runs on the copy beside the window.

#include <QDialog>
#include <functional>
#include <vector>

#include "exercise/memorygame.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace vocatrix {
class TMemoCard;
class TMemoPanel;
}  // namespace vocatrix

namespace vocatrix::ui {

struct Platform;

class TBackgroundWork;

class TMemoryGameForm : public QDialog {
  Q_OBJECT
 public:
  // `lesson` gives the lesson to deal from when a game starts, or null when
  // the window cannot give it now (lesson text that does not read).
  TMemoryGameForm(QWidget* parent, Platform& platform, std::function<const TMeanCollection*()> lesson);

  QComboBox* ComboDirection;
  QCheckBox* CheckOrder;
  QPushButton* ButtonNewGame;
  QPushButton* ButtonClose;
  QLabel* LabelStatus;
  QLabel* LabelNote;
  TMemoPanel* MemoPanel;

  // How long two cards that do not belong together stay face up.
  int TurnBackMilliseconds = 1200;

  // Deals a new board for the chosen direction, from the lesson as it is now;
  // the cards are laid out once the selection has ended.
  void NewGame();
  // Lays out the board being dealt now: for callers that need it at once.
  void FinishDealing();
  const TMemoryGame& Game() const { return game_; }
  // The card widget of a card of the game (see TMemoryGame::Cards).
  TMemoCard* Card(int card) const { return cards_.at(static_cast<std::size_t>(card)); }
  // As a click on the card.
  void TurnCard(int card);
  // The selection flags of the chosen direction, all groups kept.
  std::uint8_t Flags() const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void LayOutCards();
  void TurnBackNow();
  void ShowFace(int card);
  void UpdateStatus();
  void Play(int event);

  Platform& platform_;
  std::function<const TMeanCollection*()> lesson_;
  TMemoryGame game_;
  std::vector<TMemoCard*> cards_;
  QTimer* turnBack_;
  TBackgroundWork* dealing_;
};

}  // namespace vocatrix::ui
