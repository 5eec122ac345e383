// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/transferreport.h"

#include <numeric>

#include "base/cp1252.h"
#include "base/messages.h"
#include "files/lessonfiles.h"
#include "files/lessontext.h"

namespace vocatrix {
namespace {

struct LeftOutName {
  const char* Key;
  const char* English;
};

// In the order of the enumeration.
constexpr std::array<LeftOutName, kLeftOutKinds> kLeftOutNames{{
    {"LeftOutHints", "comments (hints)"},
    {"LeftOutPictures", "pictures"},
    {"LeftOutSounds", "sounds"},
    {"LeftOutGrades", "grades and practice counts"},
    {"LeftOutConjugations", "conjugations"},
    {"LeftOutComparisons", "comparisons"},
    {"LeftOutDeclensions", "declensions"},
    {"LeftOutMultipleChoice", "multiple-choice answers"},
    {"LeftOutExamples", "examples"},
    {"LeftOutParaphrases", "paraphrases"},
    {"LeftOutPronunciations", "pronunciations"},
    {"LeftOutUsages", "usage labels"},
    {"LeftOutArticles", "articles"},
    {"LeftOutFalseFriends", "false friends"},
    {"LeftOutOtherDetails", "other details of words"},
    {"LeftOutWordTypes", "word types that are no form of a lesson"},
    {"LeftOutUndeclared", "translations in languages the file does not declare"},
    {"LeftOutRepeatedEntries", "entries whose id an earlier entry has"},
    {"LeftOutColumns", "fields of columns not read"},
    {"LeftOutUnknownForms", "forms a lesson does not know"},
    {"LeftOutNulCharacters", "NUL characters"},
}};

// "comments (hints): 3, pictures: 1, translations in ... (\"Möbel\")"
std::string LeftOutList(const TransferReport& report) {
  std::string list;
  for (std::size_t kind = 0; kind < kLeftOutKinds; ++kind) {
    const int count = report.LeftOutItems[kind];
    if (count == 0) continue;
    if (!list.empty()) list += ", ";
    list += TranslateMessage(kLeftOutNames[kind].Key, kLeftOutNames[kind].English) + ": " + std::to_string(count);
    if (static_cast<LeftOut>(kind) == LeftOut::Undeclared && !report.UndeclaredTexts.empty())
      list += " (" + Cp1252ToUtf8(QuotedTextList(report.UndeclaredTexts)) + ")";
  }
  return list;
}

}  // namespace

int TransferReport::LeftOutTotal() const { return std::accumulate(LeftOutItems.begin(), LeftOutItems.end(), 0); }

std::vector<std::string> ReadNotes(const TransferReport& report, const std::string& fileName, bool withLost) {
  std::vector<std::string> notes;
  if (report.NotUtf8)
    notes.push_back(TranslateMessage("ImportNotUtf8", "'%s' is not valid UTF-8; it was read as Windows-1252.",
                                     {fileName}));
  if (report.LeftOutTotal() > 0)
    notes.push_back(TranslateMessage("ImportLeftOut", "'%s': left out what a lesson cannot hold: %s.",
                                     {fileName, LeftOutList(report)}));
  if (!report.TableRows.empty())
    notes.push_back(TranslateMessage("ImportTableRows",
                                     "'%s': these lines come from table rows holding more than one entry; "
                                     "each reads as one entry: %s",
                                     {fileName, Cp1252ToUtf8(QuotedTextList(report.TableRows))}));
  if (withLost && report.LostAny()) notes.push_back("'" + fileName + "': " + LostCharactersMessage(report, true));
  return notes;
}

std::string LostCharactersMessage(const TransferReport& report, bool done) {
  if (!report.LostAny()) return {};
  const bool lines = report.WordsRead == 0 && report.LinesRead > 0;
  const std::string lost = std::to_string(lines ? report.LossyLines : report.LossyWords.size());
  const std::string of = std::to_string(lines ? report.LinesRead : report.WordsRead);
  const std::string sample = report.Lost.Sample();
  if (lines && done)
    return TranslateMessage("LostCharactersLinesRead",
                            "%s of %s lines hold characters a lesson file cannot store (for example %s); they were "
                            "read as '?'.",
                            {lost, of, sample});
  if (lines)
    return TranslateMessage("LostCharactersLines",
                            "%s of %s lines hold characters a lesson file cannot store (for example %s); they would "
                            "be changed to '?'.",
                            {lost, of, sample});
  if (done)
    return TranslateMessage("LostCharactersRead",
                            "%s of %s words hold characters a lesson file cannot store (for example %s); they were "
                            "read as '?'.",
                            {lost, of, sample});
  return TranslateMessage("LostCharacters",
                          "%s of %s words hold characters a lesson file cannot store (for example %s); they would be "
                          "changed to '?'.",
                          {lost, of, sample});
}

std::string UncarriedMessage(const TransferReport& report, const std::string& fileName) {
  if (report.Uncarried.empty()) return {};
  const std::string words = Cp1252ToUtf8(QuotedTextList(report.Uncarried));
  const std::size_t dot = ExtensionStart(fileName);
  if (dot != std::string::npos && AnsiLowerCase(fileName.substr(dot)) == ".kvtml")
    return TranslateMessage("ExportControlCharacters",
                            "These words hold control characters that KVTML cannot carry; they are written "
                            "without them: %s",
                            {words});
  return TranslateMessage("ExportSplitWords", "These words hold \";\" and will read back split: %s", {words});
}

}  // namespace vocatrix
