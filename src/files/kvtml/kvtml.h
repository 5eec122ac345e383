// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// KVTML, the vocabulary format of KDE's learning programs: written as KVTML
// 2.0, read as 2.0 and as the older 1.0.
//
// A lesson entry becomes one KVTML entry whose translations 0 and 1 are the
// first synonym and the first translation. Further synonyms and translations
// become entries of their own, tied to it by synonym pairs; antonyms and
// their translations become entries tied to it by antonym pairs. The form is
// the word type of all of them; title, topic (category) and author stand in
// the document information. Every entry written holds translation 0, empty
// if need be: KDE's library takes a lone translation 1 for the first.
// Reading maps the same way back: entries joined by synonym and antonym
// pairs make one lesson entry.
//
// KVTML 1.0 has an entry (<e>) per meaning with the original (<o>) and its
// translations (<t>) as columns, synonyms and antonyms as attributes; each
// <e> makes one lesson entry.

#include <string>
#include <string_view>

#include "base/errors.h"
#include "files/lessonformats.h"

namespace vocatrix {

// A KVTML file without the identifier (language) asked for.
class EKvtmlLanguage : public Exception {
 public:
  using Exception::Exception;
  static EKvtmlLanguage ForFile(const std::string& fileName, int identifier);
};

class TMeanCollection;

// The locale KDE's programs know a language by ("de" for "Deutsch" or
// "German"), or empty; and the name of a language by its locale ("de_CH"
// gives "Deutsch"), or empty. One table serves both ways.
std::string LocaleOfLanguage(const std::string& languageName);
std::string LanguageOfLocale(std::string_view locale);

// The lesson as a KVTML 2.0 document (UTF-8). Words holding control
// characters XML cannot carry are written without them and named in
// `report` (when given).
std::string KvtmlImage(const TMeanCollection& lesson, TransferReport* report = nullptr);
void SaveKvtml(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
               TransferReport& report);

// Fills a fresh lesson from a KVTML 2.0 or 1.0 document. Of more than two
// identifiers (columns) the first two are taken unless `options` name
// others. Languages are named by the identifier's name, else its locale.
// Pictures, sounds, grades, comments and the like are counted by kind in
// `report` (empty ones are not), as are translations in languages the file
// does not declare and entries with a repeated id; texts that Windows-1252
// cannot hold are read with "?" and noted. A document that is no KVTML
// raises EFormatError, a later version than 2 EVersionError, identifiers it
// lacks EKvtmlLanguage, all naming `fileName`; more entries than a lesson
// holds ELessonTooLarge.
void ParseKvtml(std::string_view data, const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson,
                TransferReport& report);
void LoadKvtml(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
               TransferReport& report);

}  // namespace vocatrix
