// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building named menus and items: every menu, item and separator carries its
// name as objectName, which interface-language files address.

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>

namespace vocatrix::ui {

inline QMenu* MakeMenu(QWidget* owner, const char* name, const QString& caption) {
  auto* menu = new QMenu(caption, owner);
  menu->setObjectName(name);
  return menu;
}

inline QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut = {}) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  if (!shortcut.isEmpty()) item->setShortcut(shortcut);
  return item;
}

inline QAction* AddSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(name);
  return separator;
}


}  // namespace vocatrix::ui
