// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mainwindow/recentfiles.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <algorithm>

#include "base/inifile.h"
#include "base/settings.h"
#include "ui/language/textproperties.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

constexpr const char* kSection = "RecentFiles";
// The items a menu got from FillMenu, found again by this name.
constexpr const char* kItemName = "MenuRecentFile";

}  // namespace

TRecentFiles::TRecentFiles(QObject* parent, std::function<bool(const std::string&)> open)
    : QObject(parent), open_(std::move(open)) {}

void TRecentFiles::Add(const std::string& fileName) {
  if (fileName.empty()) return;
  Remove(fileName);
  files_.insert(files_.begin(), fileName);
  if (files_.size() > kCount) files_.resize(kCount);
}

void TRecentFiles::Remove(const std::string& fileName) {
  files_.erase(std::remove(files_.begin(), files_.end(), fileName), files_.end());
}

void TRecentFiles::Read() {
  files_.clear();
  const IniFile settings(ProgramSettingsFile());
  for (int i = 1; i <= kCount; ++i) {
    const std::string value = settings.ReadString(kSection, "File" + std::to_string(i), "");
    if (!value.empty() && std::find(files_.begin(), files_.end(), PathFromSettings(value)) == files_.end())
      files_.push_back(PathFromSettings(value));
  }
}

void TRecentFiles::Write() const {
  // One write of the file for the whole list.
  IniFile settings = IniFile::Edit(ProgramSettingsFile());
  settings.EraseSection(kSection);
  for (std::size_t i = 0; i < files_.size(); ++i) settings.WriteString(kSection, "File" + std::to_string(i + 1), files_[i]);
  settings.Save();
}

void TRecentFiles::FillMenu(QMenu* menu, QAction* before) {
  for (QAction* item : menu->actions())
    if (item->objectName() == kItemName) {
      menu->removeAction(item);
      delete item;
    }
  if (files_.empty()) return;
  const QFontMetrics metrics(menu->font());
  for (std::size_t i = 0; i < files_.size(); ++i) {
    // Long paths lose their middle; "&" in a name is no mnemonic.
    QString path = metrics.elidedText(FileNameToQString(files_[i]), Qt::ElideMiddle, 60 * metrics.averageCharWidth());
    auto* item = new QAction(QString("&%1 %2").arg(i + 1).arg(path.replace('&', "&&")), menu);
    item->setObjectName(kItemName);
    item->setToolTip(FileNameToQString(files_[i]));
    MarkAsData(item);
    const std::string file = files_[i];
    connect(item, &QAction::triggered, this, [this, file] {
      // A file that is gone or no lesson any more leaves the list.
      if (!open_(file)) Remove(file);
    });
    menu->insertAction(before, item);
  }
  auto* separator = new QAction(menu);
  separator->setSeparator(true);
  separator->setObjectName(kItemName);
  menu->insertAction(before, separator);
}

}  // namespace vocatrix::ui
