// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/lessonfiles.h"

#include "base/cp1252.h"
#include "files/lessonformats.h"
#include "files/lessontext.h"
#include "files/rtf/rtf.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix {

std::size_t ExtensionStart(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return std::string::npos;
  if (fileName.find('/', dot) != std::string::npos) return std::string::npos;
  return dot;
}

std::string TextFileImage(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string data;
  data.reserve(size);
  for (const std::string& line : lines) {
    data += line;
    data += "\r\n";
  }
  // Windows-1252 text that the reader would take for UTF-8 (or whose first
  // bytes are a byte-order mark) is written as UTF-8 with a byte-order mark,
  // so that it reads back as written.
  static constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (data.starts_with(kBom) || PlainTextIsUtf8(data)) return std::string(kBom) + Cp1252ToUtf8(data);
  return data;
}

int FileKind(const std::string& fileName) {
  const LessonFormat* format = FindLessonFormat(fileName);
  return format ? format->Kind : kNotLesson;
}

std::string BackupName(const std::string& fileName) {
  const std::size_t dot = ExtensionStart(fileName);
  return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".BAK";
}

std::unique_ptr<TMeanCollection> TMeanCollection::CreateFromFile(const std::string& fileName, int* skippedLines) {
  auto lesson = std::make_unique<TMeanCollection>();
  lesson->LessonFileName = fileName;
  const int skipped = lesson->ReadFromFile(fileName);
  if (skippedLines) *skippedLines = skipped;
  return lesson;
}

int TMeanCollection::ReadFromFile(const std::string& fileName) {
  const LessonFormat* format = FindLessonFormat(fileName);
  if (!format || format->Exchange) throw ENotLesson::ForFile(fileName);
  TransferReport report;
  format->Read(*this, fileName, ReadOptions(), report);
  return report.Skipped;
}

void NoteTextLines(const TextFileLines& text, TransferReport& report) {
  report.LinesRead += text.Lines.size();
  report.LossyLines += text.LossyLines.size();
  report.Lost.Add(text.Lost);
  for (std::string& line : LinesHoldingTwoEntries(text.Lines, text.TableRows)) report.TableRows.push_back(std::move(line));
}

void RequireEntryLine(const std::vector<std::string>& lines, const std::string& fileName,
                      const std::string& delimitedWay) {
  TMeanCollection read;
  const int skipped = ParseLessonLines(lines, false, read);
  if (skipped > 0 && !read.Meanings) throw ENoEntryLine::ForFile(fileName, delimitedWay);
}

int TMeanCollection::LoadText(const std::string& fileName, TransferReport* report) {
  Language1 = TLanguage(std::string());
  Language2 = TLanguage(std::string());
  const TextFileLines text = ReadTextFileLines(fileName);
  if (report) NoteTextLines(text, *report);
  const int skipped = ParseLessonLines(text.Lines, false, *this);
  DblDel();
  return skipped;
}

std::unique_ptr<TMeanCollection> TMeanCollection::FromLines(const std::vector<std::string>& lines, int& errorLine) {
  auto lesson = CreateEmpty();
  lesson->Meanings.reset();
  errorLine = ParseLessonLines(lines, true, *lesson);
  if (!lesson->Meanings) return nullptr;
  lesson->EnsureEntry();
  return lesson;
}

std::vector<std::string> TMeanCollection::ToLines(std::vector<std::string>* uncarried) const {
  std::vector<std::string> lines;
  WriteLessonLines(lines, *this, uncarried);
  return lines;
}

void TMeanCollection::SaveToFile(const std::string& fileName) { SaveToFile(fileName, std::string()); }

void TMeanCollection::SaveToFile(const std::string& fileName, const std::string& backupName) {
  // A ".rtf" name gets plain lesson text too; the reader takes either.
  const LessonFormat* format = FindLessonFormat(fileName);
  if (!format || format->Exchange) throw ENotLesson::ForFile(fileName);
  TransferReport report;
  format->Write(*this, fileName, backupName, report);
}

}  // namespace vocatrix
