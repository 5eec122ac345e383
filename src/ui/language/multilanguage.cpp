// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/language/multilanguage.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "base/errors.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "ui/language/textproperties.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

const char kListEnd[] = "###";

// Keys and values are Windows-1252 in the file.
std::string Key(const QString& key) { return ToLessonString(key); }

void ForEachChild(QObject* component, const std::function<void(QObject*)>& visit) {
  // A copy of the list, safe should setting a text add or remove children.
  const QObjectList children = component->children();
  for (QObject* child : children) visit(child);
}

}  // namespace

void TMultiLanguage::SetIniFileName(const std::string& fileName) {
  if (fileName == iniFileName_) return;
  iniFileName_ = fileName;
  if (iniFileName_.empty())
    options_ &= ~(static_cast<unsigned>(TMultiLanguageOption::slAutoLoad) |
                  static_cast<unsigned>(TMultiLanguageOption::slAutoSave));
}

void TMultiLanguage::Loaded(bool designing) const {
  if (designing && HasOption(TMultiLanguageOption::slRuntimeOnly)) return;
  if (HasOption(TMultiLanguageOption::slAutoLoad) && iniFileName_.empty()) throw Exception("Name of Inifile missing.");
}

void TMultiLanguage::Stored(bool designing) const {
  if (designing && HasOption(TMultiLanguageOption::slRuntimeOnly)) return;
  if (HasOption(TMultiLanguageOption::slAutoSave) && iniFileName_.empty()) throw Exception("Name of Inifile missing.");
}

bool IsForm(const QObject* object) {
  if (qobject_cast<const QMainWindow*>(object) || qobject_cast<const QDialog*>(object) ||
      qobject_cast<const QMdiSubWindow*>(object))
    return true;
  // Any other window of its own, such as the help window; not the menus and
  // tool tips, which are windows too.
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget && widget->windowType() == Qt::Window;
}

QString TMultiLanguage::SectionOf(const QObject* component) {
  const QString name = component->objectName();
  if (qobject_cast<const QMdiSubWindow*>(component) && name.contains('_')) return name.section('_', 0, 0);
  return name;
}

QObjectList ApplicationForms() {
  QList<QWidget*> windows;
  // Forms owned by another form are reached through it.
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (IsForm(widget) && !widget->objectName().isEmpty() && !widget->parent()) windows << widget;
  std::stable_sort(windows.begin(), windows.end(), [](const QWidget* a, const QWidget* b) {
    const bool aMain = qobject_cast<const QMainWindow*>(a) != nullptr;
    const bool bMain = qobject_cast<const QMainWindow*>(b) != nullptr;
    if (aMain != bMain) return aMain;
    return a->objectName() < b->objectName();
  });
  QObjectList forms;
  for (QWidget* window : windows) forms << window;
  return forms;
}

void TMultiLanguage::ReadComponentTexts(QObject* component, const IniFile& file, QString section) {
  if (IsForm(component)) section = SectionOf(component);
  if (!section.isEmpty()) {
    const QString prefix = IsForm(component) ? SectionOf(component) : component->objectName();
    const std::string sectionKey = Key(section);
    for (const TextProperty* property : TextPropertiesOf(component)) {
      const QString key = prefix + property->Name;
      if (!property->IsList) {
        const QString current = property->Get(component);
        property->Set(component, ToQString(file.ReadString(sectionKey, Key(key), ToLessonString(current))));
        continue;
      }
      // Lines are replaced from key 0 on until "###" (a missing key) or a
      // line the list does not have; the rest keep their text.
      for (int line = 0;; ++line) {
        const std::string value = file.ReadString(sectionKey, Key(key + QString::number(line)), kListEnd);
        if (value == kListEnd || !property->SetLine(component, line, ToQString(value))) break;
      }
    }
  }
  ForEachChild(component, [&](QObject* child) { ReadComponentTexts(child, file, section); });
}

void TMultiLanguage::WriteComponentTexts(QObject* component, IniFile& file, QString section) {
  // The sections and keys reading looks for: a second lesson window
  // ("VocabEditForm_1") writes those of the first.
  if (IsForm(component)) section = SectionOf(component);
  if (!section.isEmpty()) {
    const QString prefix = IsForm(component) ? SectionOf(component) : component->objectName();
    const std::string sectionKey = Key(section);
    for (const TextProperty* property : TextPropertiesOf(component)) {
      const QString key = prefix + property->Name;
      if (!property->IsList) {
        const QString value = property->Get(component);
        if (!value.isEmpty()) file.WriteString(sectionKey, Key(key), ToLessonString(value));
        continue;
      }
      const QStringList lines = property->GetLines(component);
      for (int line = 0; line < lines.size(); ++line)
        file.WriteString(sectionKey, Key(key + QString::number(line)), ToLessonString(lines[line]));
    }
  }
  ForEachChild(component, [&](QObject* child) { WriteComponentTexts(child, file, section); });
}

void TMultiLanguage::ReadLanguageFile(QObject* root, const std::string& fileName) {
  SetIniFileName(fileName);
  if (fileName.empty()) return;
  const IniFile file = IniFile::Load(fileName);
  if (root) {
    ReadComponentTexts(root, file, {});
    return;
  }
  for (QObject* form : ApplicationForms()) ReadComponentTexts(form, file, {});
}

void TMultiLanguage::WriteLanguageFile(QObject* root, const std::string& fileName) {
  SetIniFileName(fileName);
  if (fileName.empty()) return;
  // Collected in memory and written once, replacing the file whole.
  IniFile file = IniFile::Edit(fileName);
  if (root) {
    WriteComponentTexts(root, file, {});
  } else {
    for (QObject* form : ApplicationForms()) WriteComponentTexts(form, file, {});
  }
  file.Save();
}

void TranslateForm(QObject* form) {
  TMultiLanguage language;
  language.ReadLanguageFile(form, LanguageFileName(CurrentLanguage()));
}

}  // namespace vocatrix::ui
