// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/lessonbuilder.h"

#include <algorithm>

#include "files/binaryfile.h"
#include "files/transferreport.h"
#include "model/exceptions.h"

namespace vocatrix {
namespace {

// What an entry and a word take, with their reference-count blocks and the
// slots that list them; a text longer than the string's own buffer adds
// its bytes.
constexpr std::size_t kEntryBytes = sizeof(TMeaning) + 32;
constexpr std::size_t kWordBytes = sizeof(TWord) + 32;
constexpr std::size_t kInlineText = 15;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

LessonBuilder::LessonBuilder(const std::string& fileName, TMeanCollection& lesson, TransferReport& report)
    : fileName_(fileName), lesson_(lesson), report_(report) {
  lesson_.Meanings = std::make_unique<TMeaningList>();
}

bool LessonBuilder::Full() const { return lesson_.Meanings->Count() >= TMeanCollection::kMaxEntries; }

TMeaning& LessonBuilder::NewEntry() {
  Charge(kEntryBytes);
  lesson_.Meanings->Insert(TMeaning::Create());
  return *lesson_.Meanings->Items().back();
}

void LessonBuilder::TooManyEntries(std::size_t total) const {
  throw ELessonTooLarge::ForEntries(static_cast<int>(std::min<std::size_t>(total, INT32_MAX)),
                                    TMeanCollection::kMaxEntries);
}

void LessonBuilder::Charge(std::size_t bytes) {
  charged_ += bytes;
  if (charged_ > kMemoryLimit) throw ELessonTooLarge::ForMemory(fileName_, static_cast<int>(kMemoryLimit >> 20));
}

void LessonBuilder::AddWord(TMeaning& entry, int kind, std::string_view text, bool utf8) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return;
  bool lost = false;
  std::string word = utf8 ? report_.Lost.FromUtf8(text, &lost) : std::string(text);
  // A NUL would end the word in every program that reads the lesson.
  if (const auto nuls = std::count(word.begin(), word.end(), '\0'); nuls > 0) {
    report_.Leave(LeftOut::NulCharacters, static_cast<int>(nuls));
    word.erase(std::remove(word.begin(), word.end(), '\0'), word.end());
    word = TrimControls(word);
    if (word.empty()) return;
  }
  // No lesson file could hold it, nor the entry that names it.
  if (word.size() > kMaxLessonFileText)
    throw ELessonTooLarge::ForWord(fileName_, lesson_.Meanings->Count(), word.size(), word);
  const std::size_t bytes = kWordBytes + (word.size() > kInlineText ? word.size() + 1 : 0);
  auto added = std::make_shared<TWord>(std::move(word));
  added->SetMeaning(&entry);
  ++report_.WordsRead;
  const TWord* raw = added.get();
  // A text the list holds already costs nothing: the word is let go.
  if (!entry.ListOfKind(kind).Insert(std::move(added))) return;
  Charge(bytes);
  if (lost) report_.LossyWords.insert(raw);
}

}  // namespace vocatrix
