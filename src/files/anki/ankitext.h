// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of Anki's fields: HTML in UTF-8, the words of a list parted by
// <br>. Used by the Anki reader and writer only.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vocatrix::anki {

// A field of Windows-1252 words: each as escaped UTF-8 HTML, joined by
// <br>. Control characters, which a field cannot carry, are left out; the
// words that held some go to `uncarried` (when given).
std::string FieldOfWords(const std::vector<std::string>& words, std::vector<std::string>* uncarried);

// The UTF-8 words of a field: [sound:...] references and pictures dropped
// and counted, the rest as text (tags dropped, entities decoded), split at
// each <br>.
struct FieldWords {
  std::vector<std::string> Words;
  int Sounds = 0;
  int Pictures = 0;
};
FieldWords WordsOfField(std::string_view html);

// What Anki sorts and finds duplicates by: the field without tags and with
// entities decoded; and its checksum, the first 32 bits of its SHA-1.
std::string StrippedField(std::string_view html);
std::int64_t FieldChecksum(std::string_view html);
// The SHA-1 digest of the bytes.
std::string Sha1(std::string_view bytes);

// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view utf8);

}  // namespace vocatrix::anki

namespace vocatrix::anki {

// The fields of the note type "Vocatrix", in order; a note type with
// exactly these fields maps back field by field.
inline constexpr std::array<std::string_view, 6> kVocatrixFields{
    "Language 1", "Language 2", "Antonyms", "Antonym translations", "Form", "Languages"};

}  // namespace vocatrix::anki
