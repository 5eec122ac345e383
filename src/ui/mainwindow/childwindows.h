// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The child windows of the main window's frame: where a new one goes, which
// of them are lesson windows and which is active, their arrangement
// (cascade, tile, icons) and their list in the Window menu.

#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QMenu;

namespace vocatrix::ui {

class TChildForm;
class TEditForm;
class VocabEditForm;

class TChildWindows : public QObject {
  Q_OBJECT
 public:
  // The windows of `area`; `windowMenu` lists them after its own items.
  TChildWindows(QMdiArea* area, QMenu* windowMenu, QObject* parent);

  QMdiArea* Area() const { return area_; }
  // Puts a new child window into the frame, below and right of the one made
  // last, and makes it active.
  void Add(TChildForm* form);
  // Whether `form` is the only child window left.
  bool IsLast(const TChildForm* form) const;

  // The windows of a kind in child order: index 0 is the active one.
  template <class T>
  QList<T*> InChildOrder() const {
    QList<T*> windows;
    // Stacking order runs from the bottom to the top window.
    const QList<QMdiSubWindow*> stack = area_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
      if (auto* form = qobject_cast<T*>(*it)) windows.push_back(form);
    return windows;
  }
  QList<VocabEditForm*> LessonWindows() const;
  QList<TEditForm*> TextWindows() const;
  VocabEditForm* ActiveEditForm() const;
  TChildForm* ActiveChild() const;

  // The name of the next child window of a kind: "VocabEditForm", then
  // "VocabEditForm_1", ... (the first one no open window carries).
  QString NewChildName(const QString& base) const;

  // Bottom to top, each a title bar below and right of the one before.
  void Cascade();
  // Side by side (Qt::Horizontal) or one below the other, in a grid over
  // the frame.
  void Tile(Qt::Orientation direction);
  // Minimised windows along the bottom edge, left to right.
  void ArrangeIcons();
  // Lists the child windows in the Window menu, the active one checked.
  void UpdateWindowMenu();

 private:
  void Place(QMdiSubWindow* window);

  QMdiArea* area_;
  QMenu* windowMenu_;
  QList<QAction*> listItems_;
  QActionGroup* listGroup_ = nullptr;
};

}  // namespace vocatrix::ui
