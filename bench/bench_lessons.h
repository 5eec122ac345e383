// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The full-size lesson the file benchmarks share: 65535 entries of about
// four words each, in every form, alternating a synonym pair and an
// antonym pair so that every part of the formats is used.

#include <memory>
#include <string>

#include "model/lesson.h"

namespace vocatrix::bench {

constexpr int kFullSizeEntries = 65535;

inline std::unique_ptr<TMeanCollection> FullSizeLesson() {
  const auto word = [](const char* stem, int i) { return std::make_shared<TWord>(stem + std::to_string(i)); };
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Language1.Name = "English";
  lesson->Language2.Name = "Deutsch";
  lesson->Meanings->DeleteAll();
  lesson->Meanings->Reserve(kFullSizeEntries);
  for (int i = 0; i < kFullSizeEntries; ++i) {
    MeaningPtr m = TMeaning::Create();
    m->Form = static_cast<std::uint8_t>(i % 5);
    m->AddWord(kSynonyms, word("house", i));
    m->AddWord(kTranslations, word("Haus", i));
    if (i % 2 == 0) {
      m->AddWord(kSynonyms, word("home", i));
      m->AddWord(kTranslations, word("Heim", i));
    } else {
      m->AddWord(kAntonyms, word("hut", i));
      m->AddWord(kAntonymTranslations, word("H\xFCtte", i));
    }
    lesson->Meanings->Insert(std::move(m));
  }
  return lesson;
}

}  // namespace vocatrix::bench
