#include "model/lesson.h"

namespace vocatrix {

TMeanCollection::TMeanCollection() = default;
TMeanCollection::~TMeanCollection() = default;

std::unique_ptr<TMeanCollection> TMeanCollection::CreateEmpty() {
  auto doc = std::make_unique<TMeanCollection>();
  doc->Language1 = TLanguage("Language 1");
  doc->Language2 = TLanguage("Language 2");
  doc->Meanings = std::make_unique<TMeaningList>();
  doc->Meanings->Insert(TMeaning::Create());
  return doc;
}

}  // namespace vocatrix
