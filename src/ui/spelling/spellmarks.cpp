// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/spelling/spellmarks.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>

#include "spelling/spellcheck.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

// The language of an underline, kept in its format.
constexpr int kLanguageProperty = QTextFormat::UserProperty + 27;
// A change of at most this many blocks is checked at once.
constexpr int kAtOnceBlocks = 64;
// Time one slice from the event loop may take, and a change checked at
// once. A slice ends after the block that used its time up; asking
// Hunspell about an unknown word can take a few milliseconds (German
// compounds), so a slice stays well inside the 16 ms of a frame.
constexpr double kSliceMilliseconds = 5;
constexpr double kAtOnceMilliseconds = 4;

std::vector<TSpellMarks*>& AllMarks() {
  static std::vector<TSpellMarks*> all;
  return all;
}

QTextCharFormat MarkFormat(int language) {
  QTextCharFormat format;
  format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
  format.setUnderlineColor(Qt::red);
  format.setProperty(kLanguageProperty, language);
  return format;
}

// A block's text as a lesson string, one byte per UTF-16 unit so that
// offsets stay the same: a character Windows-1252 cannot hold becomes "?",
// as storing the text makes it, and is noted in `foreign`.
std::string LessonLine(const QString& text, std::vector<bool>& foreign) {
  std::string line(static_cast<std::size_t>(text.size()), '?');
  foreign.assign(line.size(), false);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int code = CodeOfChar(text.at(i));
    if (code < 0) foreign[static_cast<std::size_t>(i)] = true;
    else line[static_cast<std::size_t>(i)] = static_cast<char>(code);
  }
  return line;
}

// Characters that hold a word together: letters, digits, apostrophes,
// hyphens, dots, soft hyphens, and those Windows-1252 cannot hold.
bool Glues(const QString& text, qsizetype i, const std::vector<bool>& foreign) {
  const QChar c = text.at(i);
  return foreign[static_cast<std::size_t>(i)] || c.isLetterOrNumber() || c.isMark() || c == '\'' ||
         c == QChar(0x2019) || c == '-' || c == '.' || c == QChar(0x00AD);
}

// Whether the word [start, start + length) is part of a run of word
// characters holding a character Windows-1252 cannot hold.
bool TouchesForeign(const QString& text, int start, int length, const std::vector<bool>& foreign) {
  for (qsizetype i = start; i < start + length; ++i)
    if (foreign[static_cast<std::size_t>(i)]) return true;
  for (qsizetype i = start - 1; i >= 0 && Glues(text, i, foreign); --i)
    if (foreign[static_cast<std::size_t>(i)]) return true;
  for (qsizetype i = start + length; i < text.size() && Glues(text, i, foreign); ++i)
    if (foreign[static_cast<std::size_t>(i)]) return true;
  return false;
}

bool SameLanguages(const LessonTextLanguages& a, const LessonTextLanguages& b) {
  return a.Name1() == b.Name1() && a.Name2() == b.Name2() && a.LeftLanguage() == b.LeftLanguage();
}

}  // namespace

TSpellMarks::TSpellMarks(QTextDocument* document, int language, SpellerSource speller)
    : QObject(document), document_(document), language_(language), speller_(std::move(speller)) {
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &TSpellMarks::Slice);
  // A document reports its changes only once it has a layout.
  document->documentLayout();
  blockCount_ = document->blockCount();
  connect(document, &QTextDocument::contentsChange, this, &TSpellMarks::ContentsChange);
  AllMarks().push_back(this);
  Recheck();
}

TSpellMarks::~TSpellMarks() { std::erase(AllMarks(), this); }

TSpellMarks* TSpellMarks::Of(const QTextDocument* document) {
  return document ? document->findChild<TSpellMarks*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void TSpellMarks::RecheckEverywhere() {
  for (TSpellMarks* marks : AllMarks()) marks->Recheck();
}

void TSpellMarks::Recheck() { Schedule(0, document_->blockCount() - 1); }

void TSpellMarks::Schedule(int first, int through) {
  if (next_ < 0) {
    next_ = first;
    through_ = through;
  } else {
    next_ = std::min(next_, first);
    through_ = std::max(through_, through);
  }
  if (!timer_->isActive()) timer_->start(0);
}

void TSpellMarks::Finish() {
  timer_->stop();
  while (next_ >= 0) {
    const int first = next_;
    next_ = -1;
    CheckFrom(first, through_, -1);
  }
}

void TSpellMarks::Slice() {
  if (next_ < 0) return;
  QElapsedTimer clock;
  clock.start();
  const int first = next_;
  const int through = through_;
  next_ = -1;
  const int left = CheckFrom(first, through, kSliceMilliseconds);
  longestSlice_ = std::max(longestSlice_, static_cast<double>(clock.nsecsElapsed()) / 1e6);
  if (left >= 0) Schedule(left, std::max(through, left));
}

void TSpellMarks::ContentsChange(int position, int /*removed*/, int added) {
  if (applying_) return;
  // The change replaced the blocks from the one holding `position` to the
  // one holding its end; the blocks after them move by the blocks gained.
  const int count = document_->blockCount();
  const int delta = count - blockCount_;
  blockCount_ = count;
  const QTextBlock firstBlock = document_->findBlock(position);
  const int first = firstBlock.isValid() ? firstBlock.blockNumber() : count - 1;
  const QTextBlock lastBlock = document_->findBlock(position + added);
  const int last = lastBlock.isValid() ? lastBlock.blockNumber() : count - 1;
  const int lastOld = last - delta;
  if (next_ >= 0) {
    if (next_ > lastOld) next_ += delta;
    else if (next_ > first) next_ = first;
    through_ = through_ > lastOld ? through_ + delta : std::max(through_, last);
    next_ = std::clamp(next_, 0, count - 1);
    through_ = std::clamp(through_, next_, count - 1);
    // The changed blocks are checked with the rest.
    if (next_ <= first) {
      through_ = std::max(through_, last);
      return;
    }
  }
  if (last - first >= kAtOnceBlocks) {
    Schedule(first, last);
    return;
  }
  const int left = CheckFrom(first, last, kAtOnceMilliseconds);
  if (left >= 0) Schedule(left, left);
}

int TSpellMarks::CheckFrom(int first, int through, double milliseconds) {
  QElapsedTimer clock;
  clock.start();
  const auto limit = static_cast<qint64>(milliseconds * 1e6);
  QTextBlock block = document_->findBlockByNumber(first);
  for (int number = first; block.isValid(); ++number) {
    const bool changed = CheckBlock(block);
    block = block.next();
    if (!block.isValid() || (number >= through && !changed)) return -1;
    if (milliseconds >= 0 && clock.nsecsElapsed() > limit) return number + 1;
  }
  return -1;
}

LessonTextLanguages TSpellMarks::LanguagesBefore(const QTextBlock& block) const {
  const QTextBlock previous = block.previous();
  const int state = previous.isValid() ? previous.userState() : -1;
  if (state < 0 || state >= static_cast<int>(states_.size())) return {};
  return states_[static_cast<std::size_t>(state)];
}

int TSpellMarks::StateOf(const LessonTextLanguages& languages) {
  for (std::size_t i = 0; i < states_.size(); ++i)
    if (SameLanguages(states_[i], languages)) return static_cast<int>(i);
  states_.push_back(languages);
  return static_cast<int>(states_.size()) - 1;
}

bool TSpellMarks::CheckBlock(QTextBlock& block) {
  const QString text = block.text();
  std::vector<bool> foreign;
  const std::string line = LessonLine(text, foreign);
  QList<QTextLayout::FormatRange> marks;
  const auto mark = [&](int start, int length, int language) {
    if (!TouchesForeign(text, start, length, foreign)) marks.push_back({start, length, MarkFormat(language)});
  };
  bool changed = false;
  if (language_ == 0) {
    LessonTextLanguages languages = LanguagesBefore(block);
    for (const TextWord& word : speller_(languages)->MisspeltInLine(line, languages))
      mark(word.Start, word.Length, word.Language);
    languages.FollowLine(line);
    const int state = StateOf(languages);
    changed = block.userState() != state;
    block.setUserState(state);
  } else {
    for (const WordSpan& word : speller_({})->Misspelt(language_, line)) mark(word.Start, word.Length, language_);
  }
  QTextLayout* layout = block.layout();
  if (layout->formats() == marks) return changed;
  layout->setFormats(marks);
  // Laid out and painted again; no change of the text.
  applying_ = true;
  document_->markContentsDirty(block.position(), block.length());
  applying_ = false;
  return changed;
}

std::optional<MarkedWord> TSpellMarks::WordAt(const QTextDocument* document, int position) {
  const QTextBlock block = document->findBlock(position);
  if (!block.isValid()) return std::nullopt;
  const TSpellMarks* marks = Of(document);
  if (!marks) return std::nullopt;
  const int offset = position - block.position();
  for (const QTextLayout::FormatRange& range : block.layout()->formats())
    if (range.format.hasProperty(kLanguageProperty) && offset >= range.start && offset <= range.start + range.length)
      return MarkedWord{block.position() + range.start, range.length, range.format.intProperty(kLanguageProperty),
                        block.text().mid(range.start, range.length),
                        marks->speller_(marks->language_ == 0 ? marks->LanguagesBefore(block) : LessonTextLanguages())};
  return std::nullopt;
}

std::vector<std::pair<int, int>> TSpellMarks::MarksOf(const QTextBlock& block) {
  std::vector<std::pair<int, int>> marks;
  for (const QTextLayout::FormatRange& range : block.layout()->formats())
    if (range.format.hasProperty(kLanguageProperty)) marks.emplace_back(range.start, range.length);
  return marks;
}

}  // namespace vocatrix::ui
