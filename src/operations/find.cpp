// SPDX-License-Identifier: GPL-3.0-or-later
// Finding words in a lesson.

#include "operations/find.h"

#include <algorithm>
#include <array>

#include "base/cp1252.h"

namespace vocatrix {
namespace {

const std::array<unsigned char, 256>& LowerCaseTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c)
      t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(AnsiLowerCase(std::string(1, static_cast<char>(c)))[0]);
    return t;
  }();
  return table;
}

}  // namespace

unsigned char LowerCaseOf(unsigned char c) { return LowerCaseTable()[c]; }

bool IsWordCharacter(unsigned char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  switch (c) {
    case 0x83: case 0x88:  // ƒ ˆ
    case 0x8A: case 0x8C: case 0x8E:  // Š Œ Ž
    case 0x9A: case 0x9C: case 0x9E: case 0x9F:  // š œ ž Ÿ
    case 0xAA: case 0xB5: case 0xBA:  // ª µ º
    case 0xB2: case 0xB3: case 0xB9:  // ² ³ ¹
    case 0xBC: case 0xBD: case 0xBE:  // ¼ ½ ¾
      return true;
    default:
      return c >= 0xC0 && c != 0xD7 && c != 0xF7;
  }
}

TTextMatcher::TTextMatcher(std::string_view text, const TFindOptions& options)
    : text_(options.MatchCase ? std::string(text) : AnsiLowerCase(text)),
      matchCase_(options.MatchCase),
      wholeWord_(options.WholeWord) {}

std::size_t TTextMatcher::FindIn(std::string_view subject, std::size_t from) const {
  const std::size_t n = text_.size();
  if (n == 0 || subject.size() < n) return std::string_view::npos;
  const auto& lower = LowerCaseTable();
  const auto at = [&subject](std::size_t i) { return static_cast<unsigned char>(subject[i]); };
  for (std::size_t i = from; i + n <= subject.size(); ++i) {
    std::size_t k = 0;
    if (matchCase_) {
      while (k < n && subject[i + k] == text_[k]) ++k;
    } else {
      while (k < n && lower[at(i + k)] == static_cast<unsigned char>(text_[k])) ++k;
    }
    if (k < n) continue;
    if (wholeWord_ && ((i > 0 && IsWordCharacter(at(i - 1))) || (i + n < subject.size() && IsWordCharacter(at(i + n)))))
      continue;
    return i;
  }
  return std::string_view::npos;
}

std::optional<TFoundWord> FindWord(const TMeanCollection& lesson, const TTextMatcher& matcher, int side,
                                   const TWordPlace& from, bool includeFrom, bool backward) {
  const int count = lesson.EntryCount();
  if (count == 0 || matcher.Empty()) return std::nullopt;
  const std::vector<MeaningPtr>& entries = lesson.Meanings->Items();
  TWordPlace start = from;
  start.Entry = std::clamp(start.Entry, 0, count - 1);
  constexpr int kinds[] = {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations};
  // Entry `from` is visited twice: its part after `from` first, its part
  // before `from` last (after going round).
  for (int step = 0; step <= count; ++step) {
    const int e = backward ? ((start.Entry - step) % count + count) % count : (start.Entry + step) % count;
    const bool wrapped = backward ? start.Entry - step < 0 : start.Entry + step >= count;
    const TMeaning& entry = *entries[static_cast<std::size_t>(e)];
    for (int k = 0; k < 4; ++k) {
      const int kind = kinds[backward ? 3 - k : k];
      if (side >= 0 && kind % 2 != side) continue;
      const std::vector<PWord>& words = entry.ListOfKind(kind).Items();
      const int size = static_cast<int>(words.size());
      for (int w = 0; w < size; ++w) {
        const int index = backward ? size - 1 - w : w;
        const TWordPlace place{e, kind, index};
        if (step == 0 || step == count) {
          const bool ahead = backward ? place < start : start < place;
          const bool here = place == start;
          const bool first = step == 0;
          if (!(first ? ahead || (here && includeFrom) : !ahead && (!here || !includeFrom))) continue;
          // Left for the last step, or already passed in the first.
        }
        if (matcher.Matches(words[static_cast<std::size_t>(index)]->Text())) return TFoundWord{place, wrapped};
      }
    }
  }
  return std::nullopt;
}

}  // namespace vocatrix
