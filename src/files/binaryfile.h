// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The binary lesson file (.tav) that the learning games read byte for byte.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vocatrix {

class TMeanCollection;

// The longest text a lesson file's string holds, in bytes.
inline constexpr std::size_t kMaxLessonFileText = 65535;

// A text of a lesson longer than a lesson file holds: the entry that holds
// it (1-based; 0 for the header) and the text.
struct TOversizedText {
  int Entry = 0;
  std::string_view Text;
};
// The first such text of the lesson (the header first), or nothing.
std::optional<TOversizedText> FindOversizedText(const TMeanCollection& lesson);

// The file image of a lesson. Raises ELessonTooLarge for more than 65535
// entries, a list of more than 65535 words or a string of more than 65535
// bytes, which the 16-bit counts cannot hold (the message names the entry
// and the text).
std::string EncodeBinary(const TMeanCollection& lesson);

// Fills a new document from a file image; `fileName` names the file in
// error messages. Raises EFormatError for a wrong magic or any count or
// offset that points outside the data, EVersionError for a higher major version.
void DecodeBinary(TMeanCollection& lesson, std::string_view data, const std::string& fileName);

// The same image with 32-bit counts and string lengths, magic "tavw": what
// autosave keeps of a lesson the lesson file cannot hold. No game reads it,
// and nothing but recovery reads it back.
std::string EncodeWideBinary(const TMeanCollection& lesson);
void DecodeWideBinary(TMeanCollection& lesson, std::string_view data, const std::string& fileName);

// Writes the lesson to a file (atomically; an existing file goes to
// `backupName` when one is given) and clears Modified.
void SaveBinary(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName = {});
void LoadBinary(TMeanCollection& lesson, const std::string& fileName);

// String primitives: uint16 byte count, then the bytes.
void WriteString(std::string& out, std::string_view text);
// Reads a string at `pos` (advancing it); false when the data ends early.
bool ReadString(std::string_view data, std::size_t& pos, std::string& text);

}  // namespace vocatrix
