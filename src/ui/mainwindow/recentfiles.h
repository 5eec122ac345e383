// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lessons opened or saved last, newest first, kept in section
// "RecentFiles" of the settings file and listed in the File menus above Exit.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace vocatrix::ui {

class TRecentFiles : public QObject {
 public:
  static constexpr int kCount = 8;

  // `open` opens a listed file; false when it could not be opened.
  TRecentFiles(QObject* parent, std::function<bool(const std::string&)> open);

  const std::vector<std::string>& Files() const { return files_; }
  // Puts a file at the top of the list (a file listed already moves there).
  void Add(const std::string& fileName);
  void Remove(const std::string& fileName);
  void Read();
  void Write() const;
  // Lists the files in `menu` above `before`, replacing what an earlier
  // call put there, with a separator below them when there are any.
  void FillMenu(QMenu* menu, QAction* before);

 private:
  std::function<bool(const std::string&)> open_;
  std::vector<std::string> files_;
};

}  // namespace vocatrix::ui
