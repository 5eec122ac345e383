// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/textview/lessontextview.h"

#include <QFontMetricsF>

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdlib>

#include "files/lessontext.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

QTextDocument* NewDocument(const QFont& font, QObject* parent) {
  auto* document = new QTextDocument(parent);
  document->setDocumentLayout(new QPlainTextDocumentLayout(document));
  document->setDefaultFont(font);
  // Building is no edit the user could undo.
  document->setUndoRedoEnabled(false);
  return document;
}

// Calls visit(line, position of its first character) for each line of the
// document until visit returns false.
template <class Visit>
void ForEachLine(const QTextDocument* document, Visit visit) {
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    const QString text = block.text();
    qsizetype from = 0;
    for (;;) {
      const qsizetype separator = text.indexOf(QChar::LineSeparator, from);
      const qsizetype end = separator < 0 ? text.size() : separator;
      const QString line = from == 0 && separator < 0 ? text : text.mid(from, end - from);
      if (!visit(line, block.position() + static_cast<int>(from))) return;
      if (separator < 0) break;
      from = separator + 1;
    }
  }
}

QColor ColorOfRgb(TColor color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace

ProgressSteps::ProgressSteps(const LineProgress* progress, int maximum)
    : progress_(progress), step_(std::max(1, maximum / kProgressSteps)), last_(-step_) {
  if (progress_ && progress_->SetMaximum) progress_->SetMaximum(maximum);
}

void ProgressSteps::At(int position, bool always) {
  if (!progress_ || !progress_->SetPosition || position == last_) return;
  if (!always && std::abs(position - last_) < step_) return;
  progress_->SetPosition(position);
  last_ = position;
}

QTextCharFormat CharFormatOfFont(const TFont& font) {
  QTextCharFormat format;
  format.setFontFamilies(QStringList{ToQString(font.Name)});
  format.setFontPointSize(font.Size > 0 ? font.Size : 10);
  format.setFontWeight(font.Bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(font.Italic);
  format.setFontUnderline(font.Underline);
  format.setFontStrikeOut(font.StrikeOut);
  if (font.Pitch != TFontPitch::Default) format.setFontFixedPitch(font.Pitch == TFontPitch::Fixed);
  format.setForeground(ToQColor(font.Color));
  return format;
}

QTextCharFormat CharFormatOfRun(const RtfCharFormat& run, const QFont& defaultFont) {
  QTextCharFormat format;
  format.setFontFamilies(QStringList{run.Face.empty() ? defaultFont.family() : ToQString(run.Face)});
  format.setFontPointSize(run.HalfPoints > 0 ? run.HalfPoints / 2.0 : 12.0);
  format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(run.Italic);
  format.setFontUnderline(run.Underline);
  format.setFontStrikeOut(run.StrikeOut);
  if (run.HasColor) format.setForeground(ColorOfRgb(run.Color));
  return format;
}

RtfCharFormat RunFormatOf(const QTextCharFormat& format, const QFont& defaultFont) {
  const QFont font = format.font().resolve(defaultFont);
  RtfCharFormat run;
  run.Face = ToLessonString(font.family());
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : defaultFont.pointSizeF();
  run.HalfPoints = std::max(1, static_cast<int>(points * 2 + 0.5));
  run.Bold = font.bold();
  run.Italic = font.italic();
  run.Underline = font.underline();
  run.StrikeOut = font.strikeOut();
  if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
    const QColor color = format.foreground().color();
    run.HasColor = true;
    run.Color = static_cast<TColor>(color.red()) | static_cast<TColor>(color.green()) << 8 |
                static_cast<TColor>(color.blue()) << 16;
  }
  return run;
}

void ApplyFont(QTextCursor& cursor, const TFont& font) { cursor.setCharFormat(CharFormatOfFont(font)); }

QTextDocument* NewTextDocument(const std::vector<std::string>& lines, const QFont& font, QObject* parent,
                               const LineProgress* progress) {
  const int count = static_cast<int>(lines.size());
  ProgressSteps steps(progress, count);
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 1;
  QString text;
  text.reserve(static_cast<qsizetype>(size));
  for (int i = 0; i < count; ++i) {
    steps.At(i);
    if (i) text += QChar('\n');
    text += ToQString(lines[static_cast<std::size_t>(i)]);
  }
  QTextDocument* document = NewDocument(font, parent);
  // One insertion of the whole text, before any view lays it out.
  document->setPlainText(text);
  return document;
}

QTextDocument* NewRichTextDocument(const RtfDocument& rich, const QFont& font, QObject* parent) {
  QTextDocument* document = NewDocument(font, parent);
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  for (std::size_t i = 0; i < rich.Paragraphs.size(); ++i) {
    if (i) cursor.insertBlock();
    for (const RtfRun& run : rich.Paragraphs[i])
      cursor.insertText(ToQString(run.Text), CharFormatOfRun(run.Format, font));
  }
  cursor.endEditBlock();
  return document;
}

namespace {

// The format of a lesson font. The ranges name few fonts: each font's format
// is made once, and the document's format table finds it again by its cached
// hash.
const QTextCharFormat& FormatOf(std::vector<std::pair<TFont, QTextCharFormat>>& formats, const TFont& font) {
  for (const auto& [known, format] : formats)
    if (known == font) return format;
  formats.emplace_back(font, CharFormatOfFont(font));
  return formats.back().second;
}

// Applies ranges[from, to) whose lines are blocks from `block` on; walking
// down, positions add up from the block lengths, and a range above the
// block it walked to is found again by number.
void ApplyRangeSpan(QTextDocument* document, const std::vector<FontRange>& ranges, std::size_t from, std::size_t to,
                    QTextBlock block, std::vector<std::pair<TFont, QTextCharFormat>>& formats,
                    const std::function<void(int)>& progress = {}) {
  QTextCursor cursor(document);
  int blockNumber = block.isValid() ? block.blockNumber() : 0;
  int blockPosition = block.isValid() ? block.position() : 0;
  for (std::size_t i = from; i < to; ++i) {
    const FontRange& range = ranges[i];
    if (range.Line < 0) continue;
    if (range.Line < blockNumber) {
      block = document->findBlockByNumber(range.Line);
      blockNumber = range.Line;
      blockPosition = block.position();
    }
    while (blockNumber < range.Line && block.isValid()) {
      blockPosition += block.length();
      block = block.next();
      ++blockNumber;
    }
    if (!block.isValid()) break;
    if (progress) progress(blockNumber);
    const int length = block.length() - 1;  // without the block's end
    const int start = std::clamp(range.Start, 0, length);
    const int end =
        static_cast<int>(std::clamp<long long>(static_cast<long long>(range.Start) + range.Length, 0, length));
    if (end <= start) continue;
    cursor.setPosition(blockPosition + start);
    cursor.setPosition(blockPosition + end, QTextCursor::KeepAnchor);
    cursor.setCharFormat(FormatOf(formats, range.Font));
  }
}

}  // namespace

void ApplyFontRanges(QTextDocument* document, const std::vector<FontRange>& ranges, int lineCount,
                     const LineProgress* progress) {
  ProgressSteps steps(progress, std::max(1, lineCount - 1));
  if (ranges.empty()) return;
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  std::vector<std::pair<TFont, QTextCharFormat>> formats;
  ApplyRangeSpan(document, ranges, 0, ranges.size(), document->begin(), formats,
                 [&steps](int line) { steps.At(line); });
  cursor.endEditBlock();
  steps.At(lineCount - 1);
}

void SetLessonTextTabs(QTextDocument* document, const std::vector<std::string>& lines,
                       const std::vector<FontRange>& ranges, const QFont& pageFont) {
  // The widest left text is among the longest ones: only those are measured,
  // so that a lesson of any size costs a few milliseconds.
  constexpr std::size_t kMeasured = 48;
  std::vector<std::pair<std::size_t, int>> longest;  // bytes before the first tab, line
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // The words and the language names line up; the font line's
    // descriptions are no words and would only widen the column.
    const LessonLineKind kind = ClassifyLessonLine(lines[i]);
    if (kind != LessonLineKind::kEntry && kind != LessonLineKind::kLanguages) continue;
    const std::size_t tab = lines[i].find('\t');
    if (tab != std::string::npos && tab > 0) longest.emplace_back(tab, static_cast<int>(i));
  }
  const std::size_t measured = std::min(kMeasured, longest.size());
  std::partial_sort(longest.begin(), longest.begin() + static_cast<std::ptrdiff_t>(measured), longest.end(),
                    [](const auto& a, const auto& b) { return a.first > b.first; });
  const QFontMetricsF page(pageFont);
  std::vector<std::pair<const TFont*, QFontMetricsF>> metrics;
  const auto metricsOf = [&](const TFont* font) -> const QFontMetricsF& {
    if (!font) return page;
    for (const auto& [known, m] : metrics)
      if (*known == *font) return m;
    return metrics.emplace_back(font, QFontMetricsF(ToQFont(*font))).second;
  };
  qreal widest = 0;
  std::vector<const TFont*> fontOf;
  for (std::size_t k = 0; k < measured; ++k) {
    const auto [tab, line] = longest[k];
    const std::string& text = lines[static_cast<std::size_t>(line)];
    fontOf.assign(tab, nullptr);
    const auto first = std::lower_bound(ranges.begin(), ranges.end(), line,
                                        [](const FontRange& r, int l) { return r.Line < l; });
    for (auto r = first; r != ranges.end() && r->Line == line; ++r)
      for (int c = std::max(r->Start, 0); c < std::min<int>(r->Start + r->Length, static_cast<int>(tab)); ++c)
        fontOf[static_cast<std::size_t>(c)] = &r->Font;
    qreal width = 0;
    for (std::size_t start = 0, c = 1; c <= tab; ++c) {
      if (c < tab && fontOf[c] == fontOf[start]) continue;
      width += metricsOf(fontOf[start]).horizontalAdvance(ToQString(text.substr(start, c - start)));
      start = c;
    }
    widest = std::max(widest, width);
  }
  if (widest <= 0) return;
  const qreal gap = page.horizontalAdvance(' ');
  const qreal first = std::min(widest, 30 * page.averageCharWidth()) + gap;
  QTextOption option = document->defaultTextOption();
  option.setTabs({QTextOption::Tab(first, QTextOption::LeftTab),
                  QTextOption::Tab(first + page.horizontalAdvance(" - ") + gap, QTextOption::LeftTab)});
  document->setDefaultTextOption(option);
}

void ShowLessonTextFonts(QTextDocument* document, const std::vector<std::string>& lines, const TLanguage& language1,
                         const TLanguage& language2, const TFont& memoFont, const LineProgress* progress) {
  const int count = static_cast<int>(lines.size());
  std::vector<FontRange> ranges = LessonTextFontRanges(lines, language1, language2, memoFont, true);
  std::stable_sort(ranges.begin(), ranges.end(), [](const FontRange& a, const FontRange& b) { return a.Line < b.Line; });
  SetLessonTextTabs(document, lines, ranges, document->defaultFont());
  ApplyFontRanges(document, ranges, count, progress);
}

LessonTextFill::LessonTextFill(std::vector<std::string> lines, std::vector<FontRange> ranges, LineProgress progress)
    : lines_(std::move(lines)),
      ranges_(std::move(ranges)),
      progress_(std::move(progress)),
      steps_(&progress_, std::max(1, LineCount() - 1)) {
  // Ranges overriding one another share a line: ordering by line keeps
  // their order where it matters.
  const auto byLine = [](const FontRange& a, const FontRange& b) { return a.Line < b.Line; };
  if (!std::is_sorted(ranges_.begin(), ranges_.end(), byLine)) std::stable_sort(ranges_.begin(), ranges_.end(), byLine);
}

QTextDocument* LessonTextFill::Start(const QFont& font, int count) {
  document_ = NewDocument(font, nullptr);
  SetLessonTextTabs(document_, lines_, ranges_, font);
  Append(count);
  return document_;
}

QTextDocument* LessonTextFill::StartOffThread(const QFont& font, const QTextOption& option, int count) {
  // No layout: a plain-text layout would lay out (and so measure) what is
  // appended.
  auto* document = new QTextDocument;
  document->setDefaultFont(font);
  document->setDefaultTextOption(option);
  document->setUndoRedoEnabled(false);
  // As the editor shows it; set later, it would lay out everything again.
  document->setDocumentMargin(0);
  document_ = document;
  Append(count);
  return document;
}

void LessonTextFill::FinishOnInterfaceThread(QTextDocument* document, const QFont& font) const {
  // The tab stops first: set on a laid-out document, they would lay it out
  // once more.
  SetLessonTextTabs(document, lines_, ranges_, font);
  document->setDocumentLayout(new QPlainTextDocumentLayout(document));
}

bool LessonTextFill::Step(int count) {
  if (!Done()) Append(count);
  return Done();
}

bool LessonTextFill::Done() const { return !document_ || nextLine_ >= LineCount(); }

void LessonTextFill::Append(int count) {
  const int from = nextLine_;
  const int to = std::min(LineCount(), from + std::max(1, count));
  std::size_t size = 0;
  for (int i = from; i < to; ++i) size += lines_[static_cast<std::size_t>(i)].size() + 1;
  QString text;
  text.reserve(static_cast<qsizetype>(size));
  // Two passes over the lines, each moving the progress bar: adding them,
  // then giving them their fonts.
  for (int i = from; i < to; ++i) {
    steps_.At(i);
    if (i) text += QChar('\n');
    text += ToQString(lines_[static_cast<std::size_t>(i)]);
  }
  QTextCursor cursor(document_);
  cursor.beginEditBlock();
  // Appended in the document's own format, as one insertion of the whole text would be.
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text, QTextCharFormat());
  std::size_t end = nextRange_;
  while (end < ranges_.size() && ranges_[end].Line < to) ++end;
  if (end > nextRange_)
    ApplyRangeSpan(document_, ranges_, nextRange_, end, document_->findBlockByNumber(from), formats_,
                   [this](int line) { steps_.At(line); });
  cursor.endEditBlock();
  nextRange_ = end;
  nextLine_ = to;
  steps_.At(to - 1, true);
}

std::vector<std::string> DocumentLines(const QTextDocument* document, QString* rejected) {
  // The whole text at once: blocks end in paragraph separators.
  return RawTextLines(document->toRawText(), rejected);
}

std::vector<std::string> RawTextLines(const QString& text, QString* rejected) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(text.count(QChar::ParagraphSeparator)) + 1);
  qsizetype start = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != QChar::ParagraphSeparator && text[i] != QChar::LineSeparator) continue;
    lines.emplace_back();
    AppendLessonString(lines.back(), QStringView(text).mid(start, i - start), rejected);
    start = i + 1;
  }
  return lines;
}

std::pair<int, int> LineSpan(const QTextDocument* document, int index) {
  std::pair<int, int> span{-1, -1};
  int i = 0;
  ForEachLine(document, [&](const QString& line, int position) {
    if (i++ < index) return true;
    span = {position, position + static_cast<int>(line.size())};
    return false;
  });
  return span;
}

RtfDocument DocumentToRich(const QTextDocument* document, QString* rejected) {
  RtfDocument rich;
  const QFont defaultFont = document->defaultFont();
  const auto append = [&](const QString& text, const RtfCharFormat& format) {
    if (text.isEmpty()) return;
    RtfParagraph& paragraph = rich.Paragraphs.back();
    std::string bytes = ToLessonString(text, rejected);
    if (!paragraph.empty() && paragraph.back().Format == format) paragraph.back().Text += bytes;
    else paragraph.push_back(RtfRun{std::move(bytes), format});
  };
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    rich.Paragraphs.emplace_back();
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const RtfCharFormat format = RunFormatOf(fragment.charFormat(), defaultFont);
      const QStringList parts = fragment.text().split(QChar::LineSeparator);
      for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i) rich.Paragraphs.emplace_back();
        append(parts[i], format);
      }
    }
  }
  return rich;
}

QTextCursor FindInDocument(const QTextDocument* document, const QString& text, const QTextCursor& from,
                           QTextDocument::FindFlags flags) {
  const bool backward = flags.testFlag(QTextDocument::FindBackward);
  int position = from.isNull() ? 0 : backward ? from.selectionStart() : from.selectionEnd();
  // Between characters: going back, the one at the position is not searched.
  if (backward) --position;
  if (text.isEmpty() || position < 0 || text.contains(QChar::ParagraphSeparator)) return {};
  QString raw = document->toRawText();
  raw.replace(QChar::Nbsp, u' ');
  const Qt::CaseSensitivity sensitivity =
      flags.testFlag(QTextDocument::FindCaseSensitively) ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const auto boundary = [&raw](qsizetype at) {
    return at < 0 || at >= raw.size() || raw[at] == QChar::ParagraphSeparator || !raw[at].isLetterOrNumber();
  };
  qsizetype offset = std::min<qsizetype>(position, raw.size());
  while (offset >= 0 && offset <= raw.size()) {
    const qsizetype found = backward ? raw.lastIndexOf(text, offset, sensitivity) : raw.indexOf(text, offset, sensitivity);
    if (found < 0) return {};
    const qsizetype end = found + text.size();
    if (flags.testFlag(QTextDocument::FindWholeWords) && !(boundary(found - 1) && boundary(end))) {
      // As the block search goes on: past the end, or from the character before.
      offset = backward ? found - 1 : end + 1;
      continue;
    }
    QTextCursor cursor(const_cast<QTextDocument*>(document));
    cursor.setPosition(static_cast<int>(found));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    return cursor;
  }
  return {};
}

std::pair<QString, int> LineAtPosition(const QTextDocument* document, int position) {
  const QTextBlock block = document->findBlock(position);
  if (!block.isValid()) return {QString(), 0};
  const QString text = block.text();
  const qsizetype offset = std::clamp<qsizetype>(position - block.position(), 0, text.size());
  const qsizetype start = offset > 0 ? text.lastIndexOf(QChar::LineSeparator, offset - 1) + 1 : 0;
  qsizetype end = text.indexOf(QChar::LineSeparator, offset);
  if (end < 0) end = text.size();
  return {text.mid(start, end - start), static_cast<int>(offset - start)};
}

namespace {

const QLatin1String kLanguageTag("Sp:");

// The last "Sp:" line of a block's text, as a lesson string; empty when it has none.
std::string LastLanguageLine(const QString& text) {
  if (!text.contains(QChar::LineSeparator)) return text.startsWith(kLanguageTag) ? ToLessonString(text) : std::string();
  const QStringList lines = text.split(QChar::LineSeparator);
  for (qsizetype i = lines.size(); i-- > 0;)
    if (lines[i].startsWith(kLanguageTag)) return ToLessonString(lines[i]);
  return {};
}

bool HoldsLanguageLine(const QString& text) {
  return text.startsWith(kLanguageTag) ||
         (text.contains(QChar::LineSeparator) && text.contains(QString(QChar::LineSeparator) + kLanguageTag));
}

// The caret's block up to the end of the caret's line.
QString TextUpToLine(const QTextBlock& block, int position) {
  QString text = block.text();
  const qsizetype end = text.indexOf(QChar::LineSeparator, std::max(0, position - block.position()));
  if (end >= 0) text.truncate(end);
  return text;
}

}  // namespace

std::string LanguageLineAbove(const QTextDocument* document, int position) {
  QTextBlock block = document->findBlock(position);
  if (!block.isValid()) return {};
  // In the caret's block only the lines up to the caret's line count.
  std::string line = LastLanguageLine(TextUpToLine(block, position));
  while (line.empty()) {
    block = block.previous();
    if (!block.isValid()) return {};
    line = LastLanguageLine(block.text());
  }
  return line;
}

LanguageLineIndex::LanguageLineIndex(QTextDocument* document) : QObject(document), document_(document) {
  // A document reports its changes only once it has a layout.
  document->documentLayout();
  blockCount_ = document->blockCount();
  Rescan(0, blockCount_ - 1);
  connect(document, &QTextDocument::contentsChange, this, &LanguageLineIndex::ContentsChange);
}

void LanguageLineIndex::Rescan(int firstBlock, int lastBlock) {
  std::vector<int> found;
  for (QTextBlock block = document_->findBlockByNumber(firstBlock); block.isValid() && block.blockNumber() <= lastBlock;
       block = block.next())
    if (HoldsLanguageLine(block.text())) found.push_back(block.blockNumber());
  const auto at = std::lower_bound(blocks_.begin(), blocks_.end(), firstBlock);
  blocks_.insert(at, found.begin(), found.end());
}

void LanguageLineIndex::ContentsChange(int position, int /*removed*/, int added) {
  // The change replaced the blocks from the one holding `position` to the
  // one holding its end: those are looked at again, and the blocks after
  // them move by the number of blocks gained or lost.
  const int count = document_->blockCount();
  const int delta = count - blockCount_;
  blockCount_ = count;
  const int first = document_->findBlock(position).isValid() ? document_->findBlock(position).blockNumber() : count - 1;
  const QTextBlock end = document_->findBlock(position + added);
  const int lastNew = end.isValid() ? end.blockNumber() : count - 1;
  const int lastOld = lastNew - delta;
  const auto from = std::lower_bound(blocks_.begin(), blocks_.end(), first);
  const auto to = std::upper_bound(from, blocks_.end(), lastOld);
  for (auto it = to; it != blocks_.end(); ++it) *it += delta;
  blocks_.erase(from, to);
  Rescan(first, lastNew);
}

std::string LanguageLineIndex::LineAbove(int position) const {
  const QTextBlock block = document_->findBlock(position);
  if (!block.isValid()) return {};
  const int number = block.blockNumber();
  auto it = std::upper_bound(blocks_.begin(), blocks_.end(), number);
  if (it != blocks_.begin() && *(it - 1) == number) {
    // In the caret's block only the lines up to the caret's line count.
    const std::string line = LastLanguageLine(TextUpToLine(block, position));
    if (!line.empty()) return line;
    --it;
  }
  if (it == blocks_.begin()) return {};
  return LastLanguageLine(document_->findBlockByNumber(*(it - 1)).text());
}

}  // namespace vocatrix::ui
