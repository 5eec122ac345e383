// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/lessontext.h"

#include <algorithm>
#include <memory>
#include <unordered_set>
#include <utility>

#include "base/font.h"
#include "model/lesson.h"
#include "model/textcompare.h"

namespace vocatrix {
namespace {

constexpr const char* kDefaultName1 = "Language 1";
constexpr const char* kDefaultName2 = "Language 2";
// What the writer puts between the two words of a pair line and the two names
// of an "Sp:" or "Fo:" line, around the marker character.
constexpr std::string_view kMarkerOpen = "\t ";
constexpr std::string_view kMarkerClose = " \t";
constexpr std::string_view kHyphenSeparator = "\t - \t";
// The lesson file's 16-bit string length.
constexpr std::size_t kMaxWordBytes = 65535;

std::string_view TrimView(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return text.substr(b, e - b);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// Adds the right word to the list of the left word that the marker names.
void AddByMarker(char marker, const TWord& left, const PWord& right) {
  switch (marker) {
    case '-': AddToCounterpartList(left, right); break;
    case '+': AddToCrossList(left, right); break;
    case '=': AddToOwnList(left, right); break;
    default: AddToOppositeList(left, right); break;
  }
}

const char* FormSuffix(std::uint8_t form) {
  switch (form) {
    case 0: return " (v.)";
    case 1: return " (s.)";
    case 2: return " (adj.)";
    case 3: return " (adv.)";
    default: return "";
  }
}

// Lines that hold a line break would fall apart when the text is read again.
bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Whether a tagged header line reads back as the value it was written with.
bool HeaderValueReadsBack(std::string_view value) {
  return !HasLineBreak(value) && TrimView(value).size() == value.size();
}

// Collects what lesson text cannot carry, each text once, in order of finding.
class Uncarried {
 public:
  explicit Uncarried(std::vector<std::string>* out) : out_(out) {}
  bool Wanted() const { return out_ != nullptr; }
  void Add(const std::string& text) {
    if (out_ && seen_.insert(text).second) out_->push_back(text);
  }

 private:
  std::vector<std::string>* out_;
  std::unordered_set<std::string> seen_;
};

class LineWriter {
 public:
  LineWriter(std::vector<std::string>& lines, Uncarried& uncarried) : lines_(lines), uncarried_(uncarried) {}

  void Add(std::string line) { lines_.push_back(std::move(line)); }

  // "a (form)<tab> c <tab>b", only when both words exist.
  void Pair(const TWordCollection& left, const TWordCollection& right, char marker, std::uint8_t form) {
    if (left.Empty() || right.Empty()) return;
    Pair(*left.At(0), *right.At(0), marker, form);
  }

  // A pair line that would not read back as this pair (a word that is empty,
  // starts with a tag or "{", holds a marker, a remark or a line break, or
  // has blanks at its ends) is left out, and its words are reported.
  void Pair(const TWord& a, const TWord& b, char marker, std::uint8_t form) {
    const char* suffix = FormSuffix(form);
    line_.clear();
    line_.reserve(a.Text().size() + b.Text().size() + 12);
    line_ += a.Text();
    line_ += suffix;
    line_ += kMarkerOpen;
    line_ += marker;
    line_ += kMarkerClose;
    line_ += b.Text();
    if (!ReadsBack(a, b, marker, form)) {
      uncarried_.Add(a.Text());
      uncarried_.Add(b.Text());
      return;
    }
    lines_.push_back(line_);
  }

  // Neighbouring words of one list joined by "=".
  void Neighbours(const TWordCollection& list, std::uint8_t form) {
    for (int k = 0; k + 1 < list.Count(); ++k) Pair(*list.At(k), *list.At(k + 1), '=', form);
  }

 private:
  // Reads the pending line as the reader would.
  bool ReadsBack(const TWord& a, const TWord& b, char marker, std::uint8_t form) {
    if (ClassifyLessonLine(line_) != LessonLineKind::kEntry || HasLineBreak(line_)) return false;
    char read = 0;
    if (!SplitAtMarker(line_, left_, right_, &read) || read != marker) return false;
    SplitRemark(left_, word_, remark_);
    if (word_ != a.Text() || FormOfRemark(remark_) != std::min<int>(form, kFormOther)) return false;
    SplitRemark(right_, word_, remark_);
    return word_ == b.Text();
  }

  std::vector<std::string>& lines_;
  Uncarried& uncarried_;
  std::string line_, left_, right_, word_, remark_;
};

// What the text cannot carry of an entry as a whole. Its first line must be a
// synonym-translation pair: without one the entry comes back behind the
// others, with its antonyms as synonyms, or (a word alone) not at all; its
// first word names it. And a text in two of its lists comes back tying the
// lists together the wrong way, since compaction matches words by text alone.
void ReportUncarriedEntry(const TMeaning& m, Uncarried& uncarried) {
  const TWordCollection* lists[] = {&m.Synonyms, &m.Translations, &m.Antonyms, &m.AntonymTranslations};
  if (m.Synonyms.Empty() || m.Translations.Empty()) {
    for (const TWordCollection* list : lists)
      if (!list->Empty()) {
        uncarried.Add(list->At(0)->Text());
        break;
      }
  }
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b)
      for (const PWord& x : *lists[a])
        for (const PWord& y : *lists[b])
          if (SameWordText(*x, *y)) uncarried.Add(x->Text());
}

std::string LanguageLine(const std::string& left, const std::string& right) {
  std::string line = "Sp: " + left;
  line += kHyphenSeparator;
  line += right;
  return line;
}

// A language name that the "Sp:" lines carry: one without a line break that
// comes back unchanged as either part of a language line. (It is trimmed and
// holds no "- ", so the writer's own marker is the one the reader splits at.)
bool LanguageNameReadsBack(const std::string& name) {
  if (HasLineBreak(name)) return false;
  std::string both = name;
  both += kHyphenSeparator;
  both += name;
  std::string left, right;
  return SplitAtMarker(TrimView(both), left, right) && left == name && right == name;
}

}  // namespace

LessonLineKind ClassifyLessonLine(std::string_view line) {
  if (line.empty() || line[0] == '{') return LessonLineKind::kIgnored;
  if (line.size() >= 3 && line[2] == ':') {
    const std::string_view tag = line.substr(0, 3);
    if (tag == "Ti:") return LessonLineKind::kTitle;
    if (tag == "Th:") return LessonLineKind::kTopic;
    if (tag == "Au:") return LessonLineKind::kAuthor;
    if (tag == "Bm:") return LessonLineKind::kPicture;
    if (tag == "Fo:") return LessonLineKind::kFonts;
    if (tag == "Sp:") return LessonLineKind::kLanguages;
  }
  return LessonLineKind::kEntry;
}

std::size_t FindMarker(std::string_view text) {
  // By kind, not by position: a "+" early in the text loses to a later "- ".
  for (std::string_view marker : {"- ", "-\t", "+", "=", "#"}) {
    const std::size_t pos = text.find(marker);
    if (pos != std::string_view::npos) return pos;
  }
  return std::string_view::npos;
}

bool SplitAtMarker(std::string_view text, std::string& left, std::string& right, char* marker) {
  const std::size_t pos = FindMarker(text);
  if (pos == std::string_view::npos) return false;
  const std::string_view l = TrimView(text.substr(0, pos));
  const std::string_view r = TrimView(text.substr(pos + 1));
  if (l.empty() || r.empty()) return false;
  left.assign(l);
  right.assign(r);
  if (marker) *marker = text[pos];
  return true;
}

void SplitRemark(const std::string& part, std::string& word, std::string& remark) {
  const std::size_t open = part.find('(');
  const std::size_t close = open == std::string::npos ? std::string::npos : part.find(')', open);
  if (close == std::string::npos) {
    word = part;
    remark.clear();
    return;
  }
  std::string tail = part.substr(open);
  tail[0] = ' ';
  tail[close - open] = ' ';
  remark.assign(TrimView(tail));
  word.assign(TrimView(std::string_view(part).substr(0, open)));
}

int FormOfRemark(std::string_view remark) {
  if (remark == "v.") return 0;
  if (remark == "s.") return 1;
  if (remark == "adj.") return 2;
  if (remark == "adv.") return 3;
  return kFormOther;
}

std::size_t TagValueOffset(std::string_view line) {
  if (line.size() <= 3) return line.size();
  return static_cast<unsigned char>(line[3]) <= 32 ? 4 : 3;
}

std::string_view TagValueForDisplay(std::string_view line) { return line.substr(TagValueOffset(line)); }

void LessonTextLanguages::Follow(const std::string& left, const std::string& right) {
  // The language lines name the languages the lesson still lacks: a name
  // that is still exactly the default counts as not given yet.
  if (name1_ == kDefaultName1) name1_ = left;
  if (name2_ == kDefaultName2) {
    if (!SameTextAsciiCaseless(left, name1_)) name2_ = left;
    if (!SameTextAsciiCaseless(right, name1_)) name2_ = right;
  }
  currentLeft_ = left;
}

bool LessonTextLanguages::FollowLine(std::string_view line) {
  if (ClassifyLessonLine(line) != LessonLineKind::kLanguages) return false;
  std::string left, right;
  if (!SplitAtMarker(TrimView(line.substr(3)), left, right)) return false;
  Follow(left, right);
  return true;
}

int LessonTextLanguages::LeftLanguage() const {
  // When both names match, the language-2 reading wins.
  if (SameTextAsciiCaseless(currentLeft_, name2_)) return 2;
  return SameTextAsciiCaseless(currentLeft_, name1_) ? 1 : 0;
}

LessonTextLanguages LessonTextLanguagesAt(const std::vector<std::string>& lines, std::size_t index) {
  LessonTextLanguages languages;
  for (std::size_t i = 0; i < index && i < lines.size(); ++i) languages.FollowLine(lines[i]);
  return languages;
}

int ParseLessonLines(const std::vector<std::string>& lines, bool strict, TMeanCollection& lesson) {
  lesson.Title.clear();
  lesson.Topic.clear();
  lesson.Author.clear();
  lesson.Picture.clear();
  lesson.Language1.Name = kDefaultName1;
  lesson.Language2.Name = kDefaultName2;
  lesson.Language1.Font = DefaultFont();
  lesson.Language2.Font = DefaultFont();
  lesson.Meanings.reset();
  LessonTextLanguages languages;
  auto entries = std::make_unique<TMeaningList>();
  int errors = 0;

  std::string left;
  std::string right;
  std::string word;
  std::string remark;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const LessonLineKind kind = ClassifyLessonLine(line);
    bool malformed = false;
    switch (kind) {
      case LessonLineKind::kIgnored: break;
      case LessonLineKind::kTitle: lesson.Title.assign(TrimView(std::string_view(line).substr(3))); break;
      case LessonLineKind::kTopic: lesson.Topic.assign(TrimView(std::string_view(line).substr(3))); break;
      case LessonLineKind::kAuthor: lesson.Author.assign(TrimView(std::string_view(line).substr(3))); break;
      case LessonLineKind::kPicture: lesson.Picture.assign(TrimView(std::string_view(line).substr(3))); break;
      case LessonLineKind::kFonts:
        // A font line that does not split is ignored, not an error.
        if (SplitAtMarker(TrimView(std::string_view(line).substr(3)), left, right)) {
          lesson.Language1.Font = TextToFont(left);
          lesson.Language2.Font = TextToFont(right);
        }
        break;
      case LessonLineKind::kLanguages:
        if (!SplitAtMarker(TrimView(std::string_view(line).substr(3)), left, right)) {
          malformed = true;
          break;
        }
        languages.Follow(left, right);
        lesson.Language1.Name = languages.Name1();
        lesson.Language2.Name = languages.Name2();
        break;
      case LessonLineKind::kEntry: {
        char marker = 0;
        if (!SplitAtMarker(line, left, right, &marker)) {
          malformed = true;
          break;
        }
        const int leftLanguage = languages.LeftLanguage();
        if (leftLanguage == 0) {
          malformed = true;
          break;
        }
        SplitRemark(left, word, remark);
        std::string word2;
        std::string remark2;
        SplitRemark(right, word2, remark2);
        // A word or remark that no lesson file can hold is refused here,
        // before anything is built from it.
        if (std::max({word.size(), remark.size(), word2.size(), remark2.size()}) > kMaxWordBytes) {
          malformed = true;
          break;
        }
        auto a = std::make_shared<TWord>(std::move(word), std::string(), std::move(remark));
        auto b = std::make_shared<TWord>(std::move(word2), std::string(), std::move(remark2));
        // When both names match, the language-2 reading wins.
        MeaningPtr entry;
        if (leftLanguage == 2) {
          entry = TMeaning::Create();
          entry->AddWord(kTranslations, a);
        } else {
          entry = TMeaning::Create(a);
        }
        AddByMarker(marker, *a, b);
        entry->Form = static_cast<std::uint8_t>(FormOfRemark(a->Remark));
        entries->Insert(std::move(entry));
        break;
      }
    }
    if (malformed) {
      if (strict) return static_cast<int>(i);
      ++errors;
    }
  }

  // A strict parse always gives an entry list (the caller adds the blank
  // entry a lesson without entries needs); a lenient one only when it found
  // entries.
  if (!entries->Empty() || strict) lesson.Meanings = std::move(entries);
  return errors;
}

void WriteLessonLines(std::vector<std::string>& lines, const TMeanCollection& lesson,
                      std::vector<std::string>* uncarriedTexts) {
  Uncarried uncarried(uncarriedTexts);
  // A header value never brings a line break into the text: each would
  // start a line of its own.
  const auto header = [&](const char* tag, const std::string& value) {
    if (!HeaderValueReadsBack(value)) uncarried.Add(value);
    std::string line = tag + value;
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
  };
  // A name that the language lines cannot carry would make the reader refuse
  // the text; the name a lesson without one gets stands in for it.
  const auto name = [&](const std::string& value, const char* standIn) {
    if (LanguageNameReadsBack(value)) return value;
    uncarried.Add(value);
    return std::string(standIn);
  };
  const std::string name1 = name(lesson.Language1.Name, kDefaultName1);
  const std::string name2 = name(lesson.Language2.Name, kDefaultName2);
  if (SameTextAsciiCaseless(name1, name2)) uncarried.Add(name2);
  LineWriter out(lines, uncarried);
  out.Add(header("Ti: ", lesson.Title));
  out.Add(header("Th: ", lesson.Topic));
  out.Add(header("Au: ", lesson.Author));
  out.Add(header("Bm: ", lesson.Picture));
  const std::string font1 = FontToText(lesson.Language1.Font);
  const std::string font2 = FontToText(lesson.Language2.Font);
  if (uncarried.Wanted()) {
    std::string left, right;
    if (!SplitAtMarker(TrimView(font1 + std::string(kHyphenSeparator) + font2), left, right) ||
        !(TextToFont(left) == lesson.Language1.Font) || !(TextToFont(right) == lesson.Language2.Font)) {
      uncarried.Add(font1);
      uncarried.Add(font2);
    }
  }
  out.Add(header("Fo: ", font1 + std::string(kHyphenSeparator) + font2));
  out.Add("");
  out.Add(LanguageLine(name1, name2));
  static const TMeaningList kNoEntries;
  const TMeaningList& entries = lesson.Meanings ? *lesson.Meanings : kNoEntries;
  lines.reserve(lines.size() + static_cast<std::size_t>(entries.Count()) * 4 + 8);
  for (const MeaningPtr& m : entries) {
    out.Pair(m->Synonyms, m->Translations, '-', m->Form);
    out.Pair(m->Antonyms, m->AntonymTranslations, '-', m->Form);
  }
  for (const MeaningPtr& m : entries) {
    out.Pair(m->Synonyms, m->AntonymTranslations, '+', m->Form);
    out.Pair(m->Antonyms, m->Translations, '+', m->Form);
  }
  out.Add("");
  out.Add(LanguageLine(name1, name1));
  for (const MeaningPtr& m : entries) {
    out.Neighbours(m->Synonyms, m->Form);
    out.Neighbours(m->Antonyms, m->Form);
  }
  for (const MeaningPtr& m : entries) out.Pair(m->Synonyms, m->Antonyms, '#', m->Form);
  out.Add("");
  if (name1 == kDefaultName1) {
    // A language line with another name on its left would name language 1
    // when read (its name still looks unnamed), so language 2's lists are
    // written from the head word's side instead. Its pairs with the first
    // translation and antonym translation stand above.
    out.Add(LanguageLine(name1, name2));
    for (const MeaningPtr& m : entries) {
      if (m->Synonyms.Empty()) continue;
      const TWord& head = *m->Synonyms.At(0);
      for (int k = 1; k < m->Translations.Count(); ++k) out.Pair(head, *m->Translations.At(k), '-', m->Form);
      for (int k = 1; k < m->AntonymTranslations.Count(); ++k)
        out.Pair(head, *m->AntonymTranslations.At(k), '+', m->Form);
    }
  } else {
    out.Add(LanguageLine(name2, name2));
    for (const MeaningPtr& m : entries) {
      out.Neighbours(m->Translations, m->Form);
      out.Neighbours(m->AntonymTranslations, m->Form);
    }
    for (const MeaningPtr& m : entries) out.Pair(m->Translations, m->AntonymTranslations, '#', m->Form);
  }
  if (uncarried.Wanted())
    for (const MeaningPtr& m : entries) ReportUncarriedEntry(*m, uncarried);
}

std::vector<std::string> WordsTextCannotCarry(const TMeanCollection& lesson) {
  std::vector<std::string> lines;
  std::vector<std::string> uncarried;
  WriteLessonLines(lines, lesson, &uncarried);
  return uncarried;
}

std::vector<std::string> LinesHoldingTwoEntries(const std::vector<std::string>& lines,
                                                const std::vector<std::size_t>& tableRows) {
  std::vector<std::string> found;
  for (const std::size_t index : tableRows) {
    if (index >= lines.size() || ClassifyLessonLine(lines[index]) != LessonLineKind::kEntry) continue;
    const std::string_view line = lines[index];
    int cells = 0;
    bool entry = false;
    for (std::size_t start = 0; start <= line.size();) {
      std::size_t end = line.find('\t', start);
      if (end == std::string_view::npos) end = line.size();
      const std::string_view cell = line.substr(start, end - start);
      std::string left, right;
      if (!TrimView(cell).empty()) ++cells;
      if (SplitAtMarker(cell, left, right)) entry = true;
      start = end + 1;
    }
    if (cells >= 2 && entry) found.push_back(lines[index]);
  }
  return found;
}

std::string QuotedTextList(const std::vector<std::string>& texts, std::size_t shown) {
  std::string list;
  for (std::size_t i = 0; i < texts.size() && i < shown; ++i) {
    if (i > 0) list += ", ";
    list += '"' + texts[i] + '"';
  }
  if (texts.size() > shown) list += ", \x85 (+" + std::to_string(texts.size() - shown) + ")";
  return list;
}

bool LanguagesAtLine(const std::vector<std::string>& lines, int index, std::string& left, std::string& right) {
  if (index < 0 || lines.empty()) return false;
  for (std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(index), lines.size() - 1) + 1; i-- > 0;) {
    const std::string& line = lines[i];
    if (StartsWith(line, "Sp:")) return SplitAtMarker(TagValueForDisplay(line), left, right);
  }
  return false;
}

}  // namespace vocatrix
