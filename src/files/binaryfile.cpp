// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/binaryfile.h"

#include <algorithm>
#include <cstdint>

#include "base/safesave.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

constexpr std::uint16_t kHeaderTag = 208;
constexpr std::uint16_t kEntryListTag = 50;
constexpr std::uint16_t kEntryTag = 210;
constexpr std::uint16_t kWordListTag = 220;
constexpr std::uint16_t kWordTag = 209;
constexpr std::size_t kMaxCount = 65535;

// Smallest stored sizes, used to reject counts the remaining data cannot hold.
constexpr std::size_t kMinWordSize = 2 + 3 * 2;
constexpr std::size_t kMinWordListSize = 8 + 1;
constexpr std::size_t kMinEntrySize = 2 + 1 + 4 * kMinWordListSize;

void Put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void Patch32(std::string& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint16_t CheckedCount(std::size_t n, const char* what) {
  if (n > kMaxCount)
    throw ELessonTooLarge("The lesson cannot be saved as a lesson file: " + std::string(what) + " (" +
                          std::to_string(n) + ") exceeds the limit of 65535.");
  return static_cast<std::uint16_t>(n);
}

// The lesson file's counts and string lengths are 16 bits; recovery's wide
// image ("tavw") has 32, so that it keeps a lesson the file cannot hold.
struct Writer {
  std::string& out;
  bool wide;

  void Count(std::size_t n, const char* what) const {
    if (wide) Put32(out, static_cast<std::uint32_t>(n));
    else Put16(out, CheckedCount(n, what));
  }
  void String(std::string_view text) const {
    if (!wide) {
      WriteString(out, text);
      return;
    }
    Put32(out, static_cast<std::uint32_t>(text.size()));
    out.append(text);
  }
};

void PutFont(const Writer& w, const TFont& font) {
  w.String(std::string_view(font.Name).substr(0, 31));
  Put32(w.out, static_cast<std::uint32_t>(font.Size));
  Put32(w.out, font.Color);
  Put32(w.out, font.StyleBits());
}

void PutWordList(const Writer& w, const TWordCollection& list) {
  const auto m = static_cast<std::size_t>(list.Count());
  Put16(w.out, kWordListTag);
  w.Count(m, "the number of words in a list");
  Put16(w.out, 1);
  w.Count(m, "the number of words in a list");
  for (const PWord& word : list) {
    Put16(w.out, kWordTag);
    w.String(word->Text());
    w.String(word->Extra);
    w.String(word->Remark);
  }
  w.out += static_cast<char>(list.Duplicates ? 1 : 0);
}

// Bounds-checked reading of a file image; any overrun is a format error.
class Reader {
 public:
  Reader(std::string_view data, const std::string& fileName, bool wide = false)
      : data_(data), fileName_(fileName), wide_(wide) {}

  void Need(std::size_t n) const {
    if (n > data_.size() - pos_) Fail();
  }
  std::size_t Remaining() const { return data_.size() - pos_; }
  [[noreturn]] void Fail() const { throw EFormatError::ForFile(fileName_); }

  std::uint8_t U8() {
    Need(1);
    return static_cast<std::uint8_t>(data_[pos_++]);
  }
  std::uint16_t U16() {
    Need(2);
    const auto v = static_cast<std::uint16_t>(static_cast<std::uint8_t>(data_[pos_]) |
                                              (static_cast<std::uint8_t>(data_[pos_ + 1]) << 8));
    pos_ += 2;
    return v;
  }
  std::uint32_t U32() {
    Need(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return v;
  }
  void Skip(std::size_t n) {
    Need(n);
    pos_ += n;
  }
  std::string Str() {
    std::string s;
    if (!wide_) {
      if (!ReadString(data_, pos_, s)) Fail();
      return s;
    }
    const std::uint32_t n = U32();
    Need(n);
    s.assign(data_.substr(pos_, n));
    pos_ += n;
    return s;
  }
  std::uint32_t Count() { return wide_ ? U32() : U16(); }
  void Seek(std::size_t at) {
    if (at > data_.size()) Fail();
    pos_ = at;
  }

 private:
  std::string_view data_;
  const std::string& fileName_;
  bool wide_;
  std::size_t pos_ = 0;
};

void ReadFont(Reader& r, TFont& font) {
  font.SetName(r.Str());
  font.Size = static_cast<std::int32_t>(r.U32());
  font.Color = r.U32();
  font.SetStyleBits(r.U32());
}

void ReadWordList(Reader& r, const MeaningPtr& entry, TWordCollection& list) {
  r.U16();  // tag
  const std::uint32_t m = r.Count();
  r.U16();
  r.Count();
  if (static_cast<std::size_t>(m) * kMinWordSize > r.Remaining()) r.Fail();
  for (std::uint32_t i = 0; i < m; ++i) {
    r.U16();  // tag
    std::string text = r.Str();
    std::string extra = r.Str();
    std::string remark = r.Str();
    auto word = std::make_shared<TWord>(std::move(text), std::move(extra), std::move(remark));
    word->SetMeaning(entry);
    list.Insert(std::move(word));
  }
  r.U8();  // duplicates flag
}

}  // namespace

void WriteString(std::string& out, std::string_view text) {
  Put16(out, CheckedCount(text.size(), "a text's length in bytes"));
  out.append(text);
}

bool ReadString(std::string_view data, std::size_t& pos, std::string& text) {
  // The full 16-bit length, so strings of 256 bytes and more read back.
  if (data.size() - pos < 2) return false;
  const std::size_t n = static_cast<std::uint8_t>(data[pos]) | (static_cast<std::uint8_t>(data[pos + 1]) << 8);
  if (data.size() - pos - 2 < n) return false;
  text.assign(data.substr(pos + 2, n));
  pos += 2 + n;
  return true;
}

namespace {

std::string Encode(const TMeanCollection& lesson, bool wide) {
  const std::size_t entries = static_cast<std::size_t>(lesson.EntryCount());
  std::string out;
  const Writer w{out, wide};
  out.reserve(128 + entries * 80);
  out += wide ? "tavw" : "tavv";
  Put32(out, 0);  // length, patched below
  Put16(out, kHeaderTag);
  out += static_cast<char>(0);  // major version
  out += static_cast<char>(2);  // minor version
  Put32(out, 0);                // entry-list offset, patched below
  Put32(out, 0);                // reserved
  w.String(lesson.Title);
  w.String(lesson.Topic);
  w.String(lesson.Author);
  w.String(lesson.Language1.Name);
  w.String(lesson.Language2.Name);
  w.String(lesson.Picture);
  PutFont(w, lesson.Language1.Font);
  PutFont(w, lesson.Language2.Font);
  const std::size_t listOffset = out.size();
  Put16(out, kEntryListTag);
  w.Count(entries, "the number of entries");
  Put16(out, 1);
  w.Count(entries, "the number of entries");
  if (lesson.Meanings) {
    for (const MeaningPtr& m : *lesson.Meanings) {
      Put16(out, kEntryTag);
      out += static_cast<char>(m->Form);
      PutWordList(w, m->Synonyms);
      PutWordList(w, m->Antonyms);
      PutWordList(w, m->Translations);
      PutWordList(w, m->AntonymTranslations);
    }
  }
  if (out.size() % 2 != 0) out += '\0';
  Patch32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
  Patch32(out, 12, static_cast<std::uint32_t>(listOffset));
  return out;
}

void Decode(TMeanCollection& lesson, std::string_view data, const std::string& fileName, bool wide) {
  Reader r(data, fileName, wide);
  r.Need(4);
  if (data.substr(0, 4) != (wide ? "tavw" : "tavv")) r.Fail();
  r.Skip(4);
  r.U32();  // length
  r.U16();  // tag
  const std::uint8_t major = r.U8();
  const std::uint8_t minor = r.U8();
  if (major > 0) throw EVersionError::ForFile(fileName);
  lesson.Modified = false;
  const std::uint32_t listOffset = r.U32();
  r.U32();  // reserved
  lesson.Title = r.Str();
  lesson.Topic = r.Str();
  lesson.Author = r.Str();
  std::string name1 = r.Str();
  std::string name2 = r.Str();
  lesson.Language1 = TLanguage(name1.empty() ? "Language 1" : std::move(name1));
  lesson.Language2 = TLanguage(name2.empty() ? "Language 2" : std::move(name2));
  lesson.Picture = r.Str();
  if (minor >= 2) {
    ReadFont(r, lesson.Language1.Font);
    ReadFont(r, lesson.Language2.Font);
  }
  r.Seek(listOffset);
  r.U16();  // tag
  const std::uint32_t n = r.Count();
  r.U16();
  r.Count();
  if (static_cast<std::size_t>(n) * kMinEntrySize > r.Remaining()) r.Fail();
  auto meanings = std::make_unique<TMeaningList>();
  meanings->Reserve(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    r.U16();  // tag
    MeaningPtr entry = TMeaning::Create();
    entry->Form = std::min<std::uint8_t>(r.U8(), kFormOther);
    ReadWordList(r, entry, entry->Synonyms);
    ReadWordList(r, entry, entry->Antonyms);
    ReadWordList(r, entry, entry->Translations);
    ReadWordList(r, entry, entry->AntonymTranslations);
    meanings->Insert(std::move(entry));
  }
  lesson.Meanings = std::move(meanings);
}

}  // namespace

std::optional<TOversizedText> FindOversizedText(const TMeanCollection& lesson) {
  const auto longer = [](std::string_view text) { return text.size() > kMaxLessonFileText; };
  for (const std::string* text : {&lesson.Title, &lesson.Topic, &lesson.Author, &lesson.Picture,
                                  &lesson.Language1.Name, &lesson.Language2.Name})
    if (longer(*text)) return TOversizedText{0, *text};
  for (int i = 0; i < lesson.EntryCount(); ++i)
    for (int kind : {kSynonyms, kAntonyms, kTranslations, kAntonymTranslations})
      for (const PWord& word : lesson.At(i)->ListOfKind(kind)) {
        const std::string* texts[] = {&word->Text(), &word->Extra, &word->Remark};
        for (const std::string* text : texts)
          if (longer(*text)) return TOversizedText{i + 1, *text};
      }
  return std::nullopt;
}

std::string EncodeBinary(const TMeanCollection& lesson) {
  // A text too long for the file is named with its entry.
  if (const std::optional<TOversizedText> text = FindOversizedText(lesson))
    throw ELessonTooLarge::ForWord({}, text->Entry, text->Text.size(), text->Text);
  return Encode(lesson, false);
}

std::string EncodeWideBinary(const TMeanCollection& lesson) { return Encode(lesson, true); }

void DecodeWideBinary(TMeanCollection& lesson, std::string_view data, const std::string& fileName) {
  Decode(lesson, data, fileName, true);
}

void DecodeBinary(TMeanCollection& lesson, std::string_view data, const std::string& fileName) {
  Decode(lesson, data, fileName, false);
}

void SaveBinary(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName) {
  const std::string data = EncodeBinary(lesson);
  WriteFileAtomically(fileName, data, backupName);
  lesson.Modified = false;
}

void LoadBinary(TMeanCollection& lesson, const std::string& fileName) {
  DecodeBinary(lesson, ReadWholeFile(fileName), fileName);
}

}  // namespace vocatrix
