// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages of the lesson window (Header, Entries, Text, Table) behind one
// interface. Each page observes the lesson document and shows what changed;
// the window changes pages by asking the page shown whether it may go and
// entering the next, stores what the pages' controls hold before a command,
// and lets each page decide the menu items that depend on it.

#include <QSize>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/lessondocument.h"

class QMenu;
class QPlainTextEdit;

namespace vocatrix {
struct TControlTexts;
struct TFindOptions;
class TLessonSpeller;
}  // namespace vocatrix

namespace vocatrix::ui {

class TFindDlg;
class TWindowHost;

// What a page asks of the window it is on.
class TPageHost {
 public:
  virtual ~TPageHost() = default;
  virtual TLessonDocument& Document() = 0;
  // The frame's services, status bar and warnings.
  virtual TWindowHost& Frame() = 0;
  // The parent of the page's boxes.
  virtual QWidget* Window() = 0;
  // Stores what the controls of every page hold, before a command.
  virtual void StoreControls() = 0;
  // A header or entry control's text changed (the window's change handler).
  virtual void Change(QObject* sender) = 0;
  // Whether a page holds edits may have changed.
  virtual void EditsChanged() = 0;
  // Changes the page through the tab strip, asking the page shown first.
  virtual void SelectTab(int page) = 0;
  virtual int CurrentPage() const = 0;
  // A page whose own text is the lesson (the Text page) gives way to page
  // `page`, reading its text back; false when it stays (a format error).
  virtual bool LeaveOwnText(int page) = 0;
  // The spellers of two language names.
  virtual std::shared_ptr<const TLessonSpeller> TextSpeller(const std::string& name1, const std::string& name2) = 0;
};

// The items of the window's Edit menu that a page decides.
struct TPageMenuState {
  bool Delete = false;  // Edit > Delete has something to delete
  bool Undo = false;    // the page has typing of its own to take back
  bool Redo = false;
};

class TLessonPage : public QWidget, public TLessonObserver {
  Q_OBJECT
 public:
  enum Page : int { kHeaderPage = 0, kEntriesPage = 1, kTextPage = 2, kTablePage = 3 };

  explicit TLessonPage(TPageHost& host) : host_(host) {}

  // The page is about to be shown (while the page before still is).
  virtual void Enter() {}
  // The page is the one shown now.
  virtual void Shown() {}
  // Whether the page may give way to page `to`; the Text page reads its text
  // back into the lesson here.
  virtual bool MayLeave(int to) {
    (void)to;
    return true;
  }
  // The user asked to change to page `to`: a page whose leaving takes long
  // starts it off the interface thread and changes to `to` itself once
  // done (true); false to leave through MayLeave now.
  virtual bool LeaveLater(int to) {
    (void)to;
    return false;
  }
  // Puts the edits of the page's controls into `texts`. Characters
  // Windows-1252 cannot hold become "?", also in the controls, and are added
  // to `rejected`.
  virtual void Store(TControlTexts& texts, QString* rejected) {
    (void)texts;
    (void)rejected;
  }
  // Whether the page's controls hold edits not yet stored in the lesson.
  virtual bool HoldsEdits() const { return false; }
  // The page's own text is the lesson until it is read back (the Text page):
  // what saves, exports or checks the lesson leaves the page first.
  virtual bool HoldsOwnText() const { return false; }
  // On Header and Entries the window keeps its fixed size.
  virtual bool FixedSize() const { return false; }
  // The client size the page wants when the window changes to it from its
  // fixed size; empty for none.
  virtual QSize WantedClientSize() const { return {}; }
  // The page's state of the Edit menu's items.
  virtual TPageMenuState MenuState() const { return {}; }

  // Commands that differ by page: each returns true when the page did it.
  // A key the window sees first.
  virtual bool KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    (void)key;
    (void)modifiers;
    return false;
  }
  virtual bool Mirror() { return false; }
  // Edit > Delete outside the window's edits.
  virtual bool Delete() { return false; }
  // Typing of the page's own taken back (or done again).
  virtual bool UndoOwn(bool redo) {
    (void)redo;
    return false;
  }
  // Finds on the page itself: whether it found the text, or nothing when
  // the page leaves finding to the lesson.
  virtual std::optional<bool> Find(const QString& text, const TFindOptions& options, bool backward) {
    (void)text;
    (void)options;
    (void)backward;
    return std::nullopt;
  }
  // An entry this lesson shares with another changed there.
  virtual void ShowSharedChanges() {}
  // The window closes: work of the page still running stops, its result
  // dropped (it may read the lesson, which goes first).
  virtual void StopWork() {}

  // The page's controls and texts as autosave keeps them, and back.
  virtual void AddControlTexts(std::vector<std::pair<std::string, std::string>>& controls) const { (void)controls; }
  virtual std::optional<QString> RecoveryText() const { return std::nullopt; }
  virtual void RestoreRecoveryText(const QString& text) { (void)text; }

 protected:
  TPageHost& host_;
};

}  // namespace vocatrix::ui
