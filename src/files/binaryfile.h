// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The binary lesson file (.tav) that the learning games read byte for byte.

#include <string>
#include <string_view>

namespace vocatrix {

class TMeanCollection;

// The file image of a lesson. Raises ELessonTooLarge for more than 65535
// entries, a list of more than 65535 words or a string of more than 65535
// bytes, which the 16-bit counts cannot hold.
std::string EncodeBinary(const TMeanCollection& lesson);

// Fills a new document from a file image; `fileName` names the file in
// error messages. Raises EFormatError for a wrong magic or any count or
// offset that points outside the data, EVersionError for a higher major version.
void DecodeBinary(TMeanCollection& lesson, std::string_view data, const std::string& fileName);

// Writes the lesson to a file (atomically; an existing file goes to
// `backupName` when one is given) and clears Modified.
void SaveBinary(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName = {});
void LoadBinary(TMeanCollection& lesson, const std::string& fileName);

// String primitives: uint16 byte count, then the bytes.
void WriteString(std::string& out, std::string_view text);
// Reads a string at `pos` (advancing it); false when the data ends early.
bool ReadString(std::string_view data, std::size_t& pos, std::string& text);

}  // namespace vocatrix
