// SPDX-License-Identifier: GPL-3.0-or-later
// Compaction (DblDel) of lessons read leniently from fuzzed lesson text,
// under code-point collation and, where the system has it, a German one.
// Compaction only merges entries into earlier ones: the entries left are the
// first ones of their kind in their old order, each word text of the lesson
// stays in it and no text comes in, each list holds a text once, words belong
// to the entry listing them, no two entries of one form share a text any
// more, and compacting again changes nothing.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "files/lessontext.h"
#include "files/rtf/rtf.h"
#include "fuzz_support.h"
#include "model/textcompare.h"

using namespace vocatrix;

namespace {

using Key = std::string;  // a text as the collation compares it

std::vector<const TWordCollection*> ListsOf(const TMeaning& m) {
  return {&m.Synonyms, &m.Antonyms, &m.Translations, &m.AntonymTranslations};
}

// The keys of all words; checks the entries' words on the way.
std::set<Key> CheckEntries(const TMeanCollection& lesson) {
  std::set<Key> all;
  for (const MeaningPtr& m : *lesson.Meanings) {
    int words = 0;
    for (const TWordCollection* list : ListsOf(*m)) {
      std::set<Key> inList;
      for (const PWord& w : *list) {
        FUZZ_CHECK(w->Meaning() == m.get());
        const Key key = MakeCollationKey(w->Text());
        FUZZ_CHECK(inList.insert(key).second);
        all.insert(key);
        ++words;
      }
    }
    FUZZ_CHECK(words > 0);
  }
  return all;
}

void CheckCompaction(const std::vector<std::string>& lines) {
  TMeanCollection lesson;
  ParseLessonLines(lines, false, lesson);
  if (!lesson.Meanings) return;
  const std::vector<MeaningPtr> before(lesson.Meanings->begin(), lesson.Meanings->end());
  const std::set<Key> keysBefore = CheckEntries(lesson);

  lesson.DblDel();
  FUZZ_CHECK(lesson.Meanings != nullptr);
  FUZZ_CHECK(CheckEntries(lesson) == keysBefore);
  // The entries left, in their old order.
  std::size_t next = 0;
  for (const MeaningPtr& m : *lesson.Meanings) {
    while (next < before.size() && before[next] != m) ++next;
    FUZZ_CHECK(next < before.size());
    ++next;
  }
  FUZZ_CHECK(lesson.EntryCount() > 0);
  // No text is shared by two entries of one form.
  std::map<std::pair<int, Key>, const TMeaning*> owner;
  for (const MeaningPtr& m : *lesson.Meanings)
    for (const TWordCollection* list : ListsOf(*m))
      for (const PWord& w : *list) {
        const auto [it, added] = owner.emplace(std::make_pair(int{m->Form}, MakeCollationKey(w->Text())), m.get());
        FUZZ_CHECK(added || it->second == m.get());
      }

  const fuzz::LessonPicture once = fuzz::PictureOf(lesson);
  const std::vector<MeaningPtr> kept(lesson.Meanings->begin(), lesson.Meanings->end());
  lesson.DblDel();
  FUZZ_CHECK(fuzz::PictureOf(lesson) == once);
  FUZZ_CHECK(std::vector<MeaningPtr>(lesson.Meanings->begin(), lesson.Meanings->end()) == kept);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = IsRtfData(text) ? DocumentLines(ParseRtf(text)) : PlainTextLines(text);
  fuzz::UseCodePointCollation();
  CheckCompaction(lines);
  if (const auto& german = fuzz::GermanLocale()) {
    SetCollationLocale(*german);
    CheckCompaction(lines);
    SetCollationLocale(std::locale::classic());
  }
  return 0;
}
