// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Interface languages: the texts of all windows read from, and written to,
// an interface-language file, one section per form and one key per text
// property of each component (component name + property name; a list
// property one key per line, with the line index appended).
//
// The walk goes over the object tree in ownership (creation) order. A form
// (main window, dialog or MDI child window) starts its own section; an MDI
// child named "VocabEditForm_1" reads section and keys of "VocabEditForm".

#include <QObject>
#include <QString>
#include <string>

namespace vocatrix {
class IniFile;
}

namespace vocatrix::ui {

enum class TMultiLanguageOption { slAutoLoad = 1, slAutoSave = 2, slRuntimeOnly = 4 };

class TMultiLanguage {
 public:
  using Options = unsigned;  // a set of TMultiLanguageOption values

  Options GetOptions() const { return options_; }
  void SetOptions(Options options) { options_ = options; }
  bool HasOption(TMultiLanguageOption option) const { return options_ & static_cast<unsigned>(option); }
  const std::string& IniFileName() const { return iniFileName_; }
  // An empty name removes slAutoLoad and slAutoSave.
  void SetIniFileName(const std::string& fileName);

  // The checks made when the component finishes loading and when it is
  // stored: "Name of Inifile missing." when slAutoLoad (slAutoSave) is set
  // and no file is named. Skipped for slRuntimeOnly while `designing`.
  void Loaded(bool designing = false) const;
  void Stored(bool designing = false) const;

  // The texts of `root` and everything below it from the file `fileName`;
  // a null root is the whole application (all its forms). An empty name
  // does nothing; a missing file, section or key leaves texts as they are.
  void ReadLanguageFile(QObject* root, const std::string& fileName);
  // Writes the current texts; keys already in the file stay. Raises
  // EFWriteError ("Kann nicht nach %s schreiben") when it cannot write.
  void WriteLanguageFile(QObject* root, const std::string& fileName);

  static void ReadComponentTexts(QObject* component, const IniFile& file, QString section);
  static void WriteComponentTexts(QObject* component, IniFile& file, QString section);
  // The section of a form: its name; for an MDI child window the part of
  // its name before the first "_".
  static QString SectionOf(const QObject* component);

 private:
  Options options_ = 0;
  std::string iniFileName_;
};

// Whether an object starts a section of its own.
bool IsForm(const QObject* object);

// The forms of the application in a fixed order: the main window first,
// then the other top-level forms by name.
QObjectList ApplicationForms();

// Gives a window made after the language was set (a dialog, a new lesson
// window) the texts of the current interface language.
void TranslateForm(QObject* form);

}  // namespace vocatrix::ui
