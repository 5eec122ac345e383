// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/lesson.h"

namespace vocatrix {

TMeanCollection::TMeanCollection() = default;
TMeanCollection::~TMeanCollection() = default;

std::unique_ptr<TMeanCollection> TMeanCollection::CreateEmpty() {
  auto doc = std::make_unique<TMeanCollection>();
  doc->Language1 = TLanguage("Language 1");
  doc->Language2 = TLanguage("Language 2");
  doc->EnsureEntry();
  return doc;
}

bool TMeanCollection::EnsureEntry() {
  if (EntryCount() > 0) return false;
  if (!Meanings) Meanings = std::make_unique<TMeaningList>();
  Meanings->Insert(TMeaning::Create());
  return true;
}

}  // namespace vocatrix
