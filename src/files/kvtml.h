// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// KVTML 2.0, the vocabulary format of KDE's learning programs.
//
// A lesson entry becomes one KVTML entry whose translations 0 and 1 are the
// first synonym and the first translation. Further synonyms and translations
// become entries of their own, tied to it by synonym pairs; antonyms and
// their translations become entries tied to it by antonym pairs. The form is
// the word type of all of them; title, topic (category) and author stand in
// the document information. Reading maps the same way back: entries joined
// by synonym and antonym pairs make one lesson entry.

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

// The lesson as a KVTML 2.0 document (UTF-8).
std::string KvtmlImage(const TMeanCollection& lesson);
void SaveKvtml(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
               TransferReport& report);

// Fills a fresh lesson from a KVTML document. Of more than two identifiers
// the first two are taken unless `options` name others. Pictures, sounds,
// grades, conjugations and the like are skipped and counted; texts that
// Windows-1252 cannot hold are read with "?" and counted. A document that is
// no KVTML 2 raises EFormatError, identifiers it lacks EKvtmlLanguage, both
// naming `fileName`.
void ParseKvtml(std::string data, const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson,
                TransferReport& report);
void LoadKvtml(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
               TransferReport& report);

}  // namespace vocatrix
