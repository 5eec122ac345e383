// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/childwindows.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/childform.h"
#include "ui/mainwindow/windowarrangement.h"
#include "ui/textwindow/editform.h"

namespace vocatrix::ui {

TChildWindows::TChildWindows(QMdiArea* area, QMenu* windowMenu, QObject* parent)
    : QObject(parent), area_(area), windowMenu_(windowMenu) {}

void TChildWindows::Add(TChildForm* form) {
  area_->addSubWindow(form);
  form->show();
  Place(form);
  area_->setActiveSubWindow(form);
}

void TChildWindows::Place(QMdiSubWindow* window) {
  // Cascades from the window made last, one title bar down and right; a
  // window that would stick out of the client area starts again at the top
  // left corner.
  QMdiSubWindow* last = nullptr;
  for (QMdiSubWindow* other : area_->subWindowList(QMdiArea::CreationOrder))
    if (other != window && other->isVisible() && !other->isMinimized() && !other->isMaximized()) last = other;
  const QRect area = area_->viewport()->rect();
  const int step = std::max(window->contentsMargins().top(), 16);
  QPoint at(0, 0);
  if (last) at = last->pos() + QPoint(step, step);
  if (at.x() < 0 || at.y() < 0 || at.x() + window->width() > area.width() || at.y() + window->height() > area.height())
    at = QPoint(0, 0);
  window->move(at);
}

bool TChildWindows::IsLast(const TChildForm* form) const {
  const QList<QMdiSubWindow*> windows = area_->subWindowList();
  return windows.size() == 1 && windows.first() == form;
}

QList<VocabEditForm*> TChildWindows::LessonWindows() const { return InChildOrder<VocabEditForm>(); }

QList<TEditForm*> TChildWindows::TextWindows() const { return area_->findChildren<TEditForm*>(); }

VocabEditForm* TChildWindows::ActiveEditForm() const {
  return qobject_cast<VocabEditForm*>(area_->currentSubWindow());
}

TChildForm* TChildWindows::ActiveChild() const { return qobject_cast<TChildForm*>(area_->currentSubWindow()); }

QString TChildWindows::NewChildName(const QString& base) const {
  QStringList taken;
  for (QMdiSubWindow* window : area_->subWindowList()) taken << window->objectName();
  QString name = base;
  for (int n = 1; taken.contains(name); ++n) name = QString("%1_%2").arg(base).arg(n);
  return name;
}

void TChildWindows::Cascade() {
  // Bottom to top, so that the active window ends on top, each a title bar
  // below the one before: every caption stays readable.
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : area_->subWindowList(QMdiArea::StackingOrder))
    if (!window->isMinimized() && window->isVisible()) windows << window;
  std::vector<QSize> sizes;
  for (QMdiSubWindow* window : windows) {
    window->showNormal();
    sizes.push_back(window->size());
  }
  const int step = windows.isEmpty() ? 0 : std::max(windows.first()->contentsMargins().top(), 16);
  const std::vector<QPoint> at = CascadePositions(area_->viewport()->rect(), sizes, step);
  for (int i = 0; i < windows.size(); ++i) {
    windows[i]->move(at[static_cast<std::size_t>(i)]);
    windows[i]->raise();
  }
}

void TChildWindows::Tile(Qt::Orientation direction) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* window : area_->subWindowList())
    if (!window->isMinimized() && window->isVisible()) windows << window;
  std::vector<TWindowLimits> limits;
  for (QMdiSubWindow* window : windows) {
    window->showNormal();
    limits.push_back({window->minimumSize(), window->maximumSize()});
  }
  const std::vector<QRect> rects = TileRects(area_->viewport()->rect(), limits, direction == Qt::Horizontal);
  for (int i = 0; i < windows.size(); ++i) windows[i]->setGeometry(rects[static_cast<std::size_t>(i)]);
}

void TChildWindows::ArrangeIcons() {
  const QRect area = area_->viewport()->rect();
  int x = 0;
  int y = area.bottom();
  for (QMdiSubWindow* window : area_->subWindowList()) {
    if (!window->isMinimized()) continue;
    const QSize size = window->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      y -= size.height();
    }
    window->move(x, y - size.height() + 1);
    x += size.width();
  }
}

void TChildWindows::UpdateWindowMenu() {
  for (QAction* item : listItems_) {
    windowMenu_->removeAction(item);
    delete item;
  }
  listItems_.clear();
  delete listGroup_;
  listGroup_ = nullptr;
  const QList<QMdiSubWindow*> windows = area_->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  listItems_ << windowMenu_->addSeparator();
  // Only the active window carries a mark, the round one of a choice.
  listGroup_ = new QActionGroup(windowMenu_);
  listGroup_->setExclusive(true);
  int number = 1;
  for (QMdiSubWindow* window : windows) {
    QString caption = window->windowTitle();
    QAction* item = windowMenu_->addAction(QString("&%1 %2").arg(number++).arg(caption.replace('&', "&&")));
    if (window == area_->currentSubWindow()) {
      item->setCheckable(true);
      item->setChecked(true);
      listGroup_->addAction(item);
    }
    connect(item, &QAction::triggered, this, [this, target = QPointer<QMdiSubWindow>(window)] {
      if (target) area_->setActiveSubWindow(target);
    });
    listItems_ << item;
  }
}

}  // namespace vocatrix::ui
