// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of Qt widgets under the property names interface-language files
// use: "Caption" (window title, label, button, menu and menu-item text),
// "Hint" (tool tip; the part after "|" is the long hint), "Text" (one-line
// edit), "Items" (combo box), "Lines" (memo), "Tabs" (tab strip), "Filter"
// and "Title" (file dialog components). Each class's properties are listed
// sorted by name.
//
// A control that holds the user's data (a lesson's words, its title, a file
// name shown as caption) is marked with MarkAsData: it takes part only with
// its presentation texts (hints, and the items of a list that are no data),
// never with its contents.

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "ui/platform/platform.h"

class QWidget;

namespace vocatrix::ui {

struct TextProperty {
  const char* Name;
  bool IsList;
  // String properties.
  QString (*Get)(const QObject*) = nullptr;
  void (*Set)(QObject*, const QString&) = nullptr;
  // List properties: all lines, and replacing one line (false when the line
  // does not exist).
  QStringList (*GetLines)(const QObject*) = nullptr;
  bool (*SetLine)(QObject*, int, const QString&) = nullptr;
};

// The text properties of an object, sorted by name; none for objects
// without a name of their own (Qt's internal parts).
std::vector<const TextProperty*> TextPropertiesOf(const QObject* object);

// The hint of a control: the full text kept for translation, the part
// before "|" shown as tool tip.
void SetHint(QWidget* widget, const QString& hint);

// A label with this property set takes the width of its text whenever its
// caption is translated.
inline constexpr char kAutoSizeProperty[] = "autoSize";

// Marks a control whose content is the user's data (see above).
void MarkAsData(QObject* object);
bool IsData(const QObject* object);

// A file dialog's texts, kept as a named component so they translate: the
// filter ("label|pattern|...") and the title.
class TFileDialogTexts : public QObject {
 public:
  TFileDialogTexts(QObject* owner, const char* name, const QString& filter, const QString& title = {});
  // A request of this dialog with its texts and the filter chosen first.
  FileDialogRequest OpenRequest(int filterIndex = 1) const;
  // A save request starting at `fileName`, adding `defaultExtension`,
  // asking before replacing a file and refusing read-only ones.
  FileDialogRequest SaveRequest(const std::string& fileName, int filterIndex, const QString& defaultExtension) const;
  QString Filter;
  QString Title;
};

}  // namespace vocatrix::ui
