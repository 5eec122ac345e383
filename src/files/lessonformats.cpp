// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/lessonformats.h"

#include <array>

#include "base/cp1252.h"
#include "base/safesave.h"
#include "files/anki/anki.h"
#include "files/binaryfile.h"
#include "files/csv/csvfile.h"
#include "files/fontranges.h"
#include "files/kvtml/kvtml.h"
#include "files/lessonfiles.h"
#include "files/rtf/rtf.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

void ReadBinary(TMeanCollection& lesson, const std::string& fileName, const ReadOptions&, TransferReport&) {
  LoadBinary(lesson, fileName);
}

void ReadText(TMeanCollection& lesson, const std::string& fileName, const ReadOptions&, TransferReport& report) {
  report.Skipped += lesson.LoadText(fileName, &report);
}

void WriteBinary(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
                 TransferReport&) {
  SaveBinary(lesson, fileName, backupName);
}

void WriteText(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
               TransferReport& report) {
  WriteFileAtomically(fileName, TextFileImage(lesson.ToLines(&report.Uncarried)), backupName);
}

// Lesson text as rich text, each word in its language's font.
void WriteRichText(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
                   TransferReport& report) {
  const std::vector<std::string> lines = lesson.ToLines(&report.Uncarried);
  const TFont memoFont = DefaultMemoFont();
  const RtfDocument document = LessonTextDocument(
      lines, LessonTextFontRanges(lines, lesson.Language1, lesson.Language2, memoFont), memoFont);
  WriteFileAtomically(fileName, WriteRtf(document), backupName);
}

constexpr std::array<LessonFormat, 7> kFormats{{
    {".rtf", kRichTextFile, false, "Rich Text (*.rtf)", "Rich Text (*rtf)", ReadText, WriteText, WriteRichText},
    {".txt", kTextFile, false, "Text (*.txt) ", "Text (*.txt)", ReadText, WriteText, nullptr},
    {".tav", kLessonFile, false, "tavvi (*.tav)", "tavvi (*.tav)", ReadBinary, WriteBinary, nullptr},
    {".kvtml", kNotLesson, true, "KVTML (*.kvtml)", "KVTML (*.kvtml)", LoadKvtml, SaveKvtml, nullptr},
    {".csv", kNotLesson, true, "CSV (*.csv)", "CSV (*.csv)", LoadCsv, SaveCsv, nullptr},
    {".tsv", kNotLesson, true, "Tab-separated (*.tsv)", "Tab-separated (*.tsv)", LoadCsv, SaveCsv, nullptr},
    {".apkg", kNotLesson, true, "Anki deck (*.apkg)", "Anki deck (*.apkg)", LoadAnki, SaveAnki, nullptr},
}};

std::string Pattern(const LessonFormat& format) { return "*" + std::string(format.Extension); }

const LessonFormat& RequireFormat(const std::string& fileName) {
  const LessonFormat* format = FindLessonFormat(fileName);
  if (!format) throw ENotLesson::ForFile(fileName);
  return *format;
}

}  // namespace

std::span<const LessonFormat> LessonFormats() { return kFormats; }

const LessonFormat* FindLessonFormat(const std::string& fileName) {
  const std::size_t dot = ExtensionStart(fileName);
  if (dot == std::string::npos) return nullptr;
  const std::string extension = AnsiLowerCase(std::string_view(fileName).substr(dot));
  for (const LessonFormat& format : kFormats)
    if (format.Extension == extension) return &format;
  return nullptr;
}

std::string OpenDialogFilter() {
  std::string patterns;
  for (const LessonFormat& format : kFormats)
    if (!format.Exchange) patterns += (patterns.empty() ? "" : ";") + Pattern(format);
  std::string filter = "Lesson (" + patterns + ")|" + patterns;
  for (const LessonFormat& format : kFormats)
    if (!format.Exchange) filter += "|" + std::string(format.OpenLabel) + "|" + Pattern(format);
  return filter;
}

std::string SaveDialogFilter() {
  std::string filter;
  for (const LessonFormat& format : kFormats)
    if (!format.Exchange) filter += (filter.empty() ? "" : "|") + std::string(format.SaveLabel) + "|" + Pattern(format);
  return filter;
}

std::string ExchangeDialogFilter() {
  std::string filter;
  for (const LessonFormat& format : kFormats)
    if (format.Exchange) filter += (filter.empty() ? "" : "|") + std::string(format.OpenLabel) + "|" + Pattern(format);
  return filter;
}

std::string ImportDialogFilter() { return ExchangeDialogFilter() + "|Anki, text (*.txt)|*.txt"; }

bool IsDelimitedText(const std::string& fileName) {
  const LessonFormat* format = FindLessonFormat(fileName);
  return format && (format->Read == LoadCsv || format->Kind == kTextFile);
}

bool IsAnkiDeck(const std::string& fileName) {
  const LessonFormat* format = FindLessonFormat(fileName);
  return format && format->Read == LoadAnki;
}

AnkiContents ListAnkiDeck(std::string_view package, const std::string& fileName) {
  return ListAnki(package, fileName);
}

std::unique_ptr<TMeanCollection> ReadAnkiDeck(std::string_view package, const std::string& fileName,
                                              const ReadOptions& options, TransferReport& report) {
  auto lesson = std::make_unique<TMeanCollection>();
  lesson->LessonFileName = fileName;
  ParseAnki(package, fileName, options, *lesson, report);
  lesson->Modified = false;
  return lesson;
}

std::unique_ptr<TMeanCollection> ImportDelimitedText(const std::string& fileName, const ReadOptions& options,
                                                     TransferReport& report) {
  CsvImport import = ImportCsv(ReadWholeFile(fileName), options.Csv, fileName);
  report = std::move(import.Report);
  return std::move(import.Lesson);
}

std::unique_ptr<TMeanCollection> ReadLessonByFormat(const std::string& fileName, const ReadOptions& options,
                                                    TransferReport& report) {
  const LessonFormat& format = RequireFormat(fileName);
  auto lesson = std::make_unique<TMeanCollection>();
  lesson->LessonFileName = fileName;
  format.Read(*lesson, fileName, options, report);
  lesson->Modified = false;
  return lesson;
}

void WriteLessonByFormat(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
                         TransferReport& report, bool rich) {
  const LessonFormat& format = RequireFormat(fileName);
  (rich && format.WriteRich ? format.WriteRich : format.Write)(lesson, fileName, backupName, report);
}

}  // namespace vocatrix
