#include "model/textcompare.h"

#include <algorithm>
#include <array>
#include <memory>

#include "base/cp1252.h"

namespace vocatrix {
namespace {

struct Collation {
  bool useLocale = false;
  unsigned generation = 0;
  std::locale locale;
};

bool IsCodePointLocale(const std::string& name) {
  return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

Collation MakeCollation(const std::locale& loc) {
  Collation c;
  c.locale = loc;
  std::string name = loc.name();
  // A combined locale name ("LC_CTYPE=...;LC_COLLATE=...") names the collation part.
  const auto pos = name.find("LC_COLLATE=");
  if (pos != std::string::npos) {
    name = name.substr(pos + 11);
    name = name.substr(0, name.find(';'));
  }
  c.useLocale = !IsCodePointLocale(name) && std::has_facet<std::collate<wchar_t>>(loc);
  return c;
}

// Mirrors CurrentCollation().useLocale for the hot paths.
bool gUseLocale = false;

Collation& CurrentCollation() {
  static Collation collation = [] {
    Collation c;
    try {
      c = MakeCollation(std::locale(""));
    } catch (const std::exception&) {
      c = MakeCollation(std::locale::classic());
    }
    gUseLocale = c.useLocale;
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

std::wstring Widen(std::string_view cp1252) {
  std::wstring w;
  w.reserve(cp1252.size());
  for (unsigned char c : cp1252) w += static_cast<wchar_t>(kCodePoints[c]);
  return w;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

void SetCollationLocale(const std::locale& locale) {
  const unsigned next = CurrentCollation().generation + 1;
  CurrentCollation() = MakeCollation(locale);
  CurrentCollation().generation = next;
  gUseLocale = CurrentCollation().useLocale;
}

unsigned CollationGeneration() { return CurrentCollation().generation; }

bool CollationUsesLocale() {
  static const bool initialised = (CurrentCollation(), true);
  (void)initialised;
  return gUseLocale;
}

std::wstring MakeCollationKey(std::string_view cp1252) {
  const Collation& c = CurrentCollation();
  const std::wstring w = Widen(cp1252);
  if (!c.useLocale) return w;
  const auto& facet = std::use_facet<std::collate<wchar_t>>(c.locale);
  return facet.transform(w.data(), w.data() + w.size());
}

int CompareCollationKeys(const std::wstring& a, const std::wstring& b) { return Sign(a.compare(b)); }

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
  const Collation& c = CurrentCollation();
  if (!c.useLocale) return CompareCodePoints(a, b);
  const std::wstring wa = Widen(a);
  const std::wstring wb = Widen(b);
  const auto& facet = std::use_facet<std::collate<wchar_t>>(c.locale);
  return facet.compare(wa.data(), wa.data() + wa.size(), wb.data(), wb.data() + wb.size());
}

int CompareBytes(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }


}  // namespace vocatrix
