// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/textcompare.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <vector>

#include "base/cp1252.h"

namespace vocatrix {
namespace {

struct CollatorCloser {
  void operator()(UCollator* collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

struct Collation {
  CollatorPtr collator;  // null: code-point order
  unsigned generation = 0;
};

bool IsCodePointLocale(std::string_view name) {
  return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

// A combined locale name ("LC_CTYPE=...;LC_COLLATE=...") names the collation part.
std::string_view CollatePart(std::string_view name) {
  const auto pos = name.find("LC_COLLATE=");
  if (pos == std::string_view::npos) return name;
  name.remove_prefix(pos + 11);
  return name.substr(0, name.find(';'));
}

CollatorPtr OpenCollator(std::string_view localeName) {
  const std::string name(CollatePart(localeName));
  if (IsCodePointLocale(name)) return nullptr;
  // ICU reads the POSIX form: "de_DE.UTF-8" becomes "de_DE", "@euro" a keyword.
  // A name it cannot place gets the root collation, still a real collation.
  std::array<char, ULOC_FULLNAME_CAPACITY> id{};
  UErrorCode status = U_ZERO_ERROR;
  uloc_canonicalize(name.c_str(), id.data(), static_cast<int32_t>(id.size()), &status);
  if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) id[0] = '\0';
  status = U_ZERO_ERROR;
  CollatorPtr collator(ucol_open(id.data(), &status));
  // Spaces and punctuation weigh only after letters, accents and case, as in
  // the C library's collations: "a b" sorts between "aa" and "ac", "co-op"
  // beside "coop".
  ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_SHIFTED, &status);
  ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_QUATERNARY, &status);
  return U_SUCCESS(status) ? std::move(collator) : nullptr;
}

Collation& CurrentCollation() {
  static Collation collation = [] {
    Collation c;
    try {
      c.collator = OpenCollator(std::locale("").name());
    } catch (const std::exception&) {
      // The C library lacks the user's locale; ICU brings its own data.
      for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
          c.collator = OpenCollator(value);
          break;
        }
      }
    }
    return c;
  }();
  return collation;
}

std::array<char32_t, 256> BuildCodePoints() {
  std::array<char32_t, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = Cp1252ToCodePoint(static_cast<unsigned char>(i));
  return table;
}

const std::array<char32_t, 256> kCodePoints = BuildCodePoints();

// Each byte's place in code-point order: one key byte per character that
// orders as the code points do.
std::array<char, 256> BuildCodePointRanks() {
  std::array<unsigned char, 256> bytes{};
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<unsigned char>(i);
  std::sort(bytes.begin(), bytes.end(), [](unsigned char a, unsigned char b) { return kCodePoints[a] < kCodePoints[b]; });
  std::array<char, 256> ranks{};
  for (int rank = 0; rank < 256; ++rank) ranks[bytes[rank]] = static_cast<char>(rank);
  return ranks;
}

const std::array<char, 256> kCodePointRanks = BuildCodePointRanks();

// A Windows-1252 text as UTF-16 (every character of the code page is in the
// Basic Multilingual Plane), without allocating for word-sized texts.
class Utf16Text {
 public:
  explicit Utf16Text(std::string_view cp1252) : size_(static_cast<int32_t>(cp1252.size())) {
    UChar* out = inline_.data();
    if (cp1252.size() > inline_.size()) {
      heap_.resize(cp1252.size());
      out = heap_.data();
    }
    for (unsigned char c : cp1252) *out++ = static_cast<UChar>(kCodePoints[c]);
  }
  const UChar* Data() const { return heap_.empty() ? inline_.data() : heap_.data(); }
  int32_t Size() const { return size_; }

 private:
  std::array<UChar, 64> inline_;
  std::vector<UChar> heap_;
  int32_t size_;
};

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

void SetCollationLocale(const std::locale& locale) { SetCollationLocale(locale.name()); }

void SetCollationLocale(std::string_view localeName) {
  Collation& c = CurrentCollation();
  c.collator = OpenCollator(localeName);
  ++c.generation;
}

unsigned CollationGeneration() { return CurrentCollation().generation; }

bool CollationUsesLocale() { return CurrentCollation().collator != nullptr; }

std::string MakeCollationKey(std::string_view cp1252) {
  std::string key;
  if (const UCollator* collator = CurrentCollation().collator.get()) {
    const Utf16Text text(cp1252);
    // A guess that fits most texts, so ICU writes the key only once.
    key.resize(4 * cp1252.size() + 16);
    int32_t length = ucol_getSortKey(collator, text.Data(), text.Size(), reinterpret_cast<uint8_t*>(key.data()),
                                     static_cast<int32_t>(key.size()));
    if (length > static_cast<int32_t>(key.size())) {
      key.resize(length);
      ucol_getSortKey(collator, text.Data(), text.Size(), reinterpret_cast<uint8_t*>(key.data()), length);
    }
    // The length counts ICU's closing zero byte, which stays: no other byte
    // of its key is zero, so the code points below only decide between texts
    // that ICU ranks equal.
    key.resize(length);
  }
  key.reserve(key.size() + cp1252.size());
  for (unsigned char c : cp1252) key += kCodePointRanks[c];
  return key;
}

int CompareCollationKeys(const std::string& a, const std::string& b) { return Sign(a.compare(b)); }

int CompareCodePoints(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = static_cast<unsigned char>(a[i]);
    const unsigned char cb = static_cast<unsigned char>(b[i]);
    if (ca != cb) return kCodePoints[ca] < kCodePoints[cb] ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CompareCollated(std::string_view a, std::string_view b) {
  if (a == b) return 0;
  const UCollator* collator = CurrentCollation().collator.get();
  if (collator == nullptr) return CompareCodePoints(a, b);
  const Utf16Text ua(a);
  const Utf16Text ub(b);
  const UCollationResult result = ucol_strcoll(collator, ua.Data(), ua.Size(), ub.Data(), ub.Size());
  return result != UCOL_EQUAL ? static_cast<int>(result) : CompareCodePoints(a, b);
}

int CompareBytes(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

}  // namespace vocatrix
