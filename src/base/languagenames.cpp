// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/languagenames.h"

#include "base/cp1252.h"

namespace vocatrix {
namespace {

// Hex escapes stand alone ("Fran\xE7" "ais"): a following letter a to f
// would continue them. A language's main row comes before its regional ones,
// so that its locale finds it.
constexpr LanguageRow kLanguages[] = {
    {"en", "English|Englisch", "en_US en_GB en_CA en_AU en_NZ en_ZA en_IE en_IN"},
    {"en", "American English|US English|Amerikanisches Englisch|US-Englisch|Englisch (USA)", "en_US"},
    {"en", "British English|UK English|Britisches Englisch|Englisch (GB)|Englisch (UK)", "en_GB"},
    {"de", "Deutsch|German", "de_DE de_AT de_CH"},
    {"de", "\xD6sterreichisches Deutsch|Austrian German|Deutsch (\xD6sterreich)", "de_AT de_DE"},
    {"de", "Schweizerdeutsch|Swiss German|Deutsch (Schweiz)", "de_CH de_DE"},
    {"fr", "Fran\xE7" "ais|French|Franz\xF6sisch", "fr_FR fr fr_BE fr_CH fr_CA"},
    {"es", "Espa\xF1ol|Spanish|Spanisch|Castellano", "es_ES es es_MX es_AR"},
    {"it", "Italiano|Italian|Italienisch", "it_IT it it_CH"},
    {"nl", "Nederlands|Dutch|Niederl\xE4ndisch|Holl\xE4ndisch", "nl_NL nl nl_BE"},
    {"nl", "Vlaams|Flemish|Fl\xE4misch", "nl_BE nl_NL nl"},
    {"la", "Latin|Latein|Latina|Lingua Latina", "la"},
    {"pt", "Portugu\xEAs|Portuguese|Portugiesisch", "pt_PT pt_BR"},
    {"pt", "Portugu\xEAs do Brasil|Brazilian Portuguese|Brasilianisches Portugiesisch|Portugu\xEAs brasileiro",
     "pt_BR pt_PT"},
    {"da", "Dansk|Danish|D\xE4nisch", "da_DK"},
    {"sv", "Svenska|Swedish|Schwedisch", "sv_SE sv_FI"},
    {"nb", "Norsk|Norwegian|Norwegisch|Bokm\xE5l|Norsk bokm\xE5l", "nb_NO no_NO nn_NO"},
    {"nn", "Nynorsk|Norsk nynorsk", "nn_NO"},
    {"fi", "Suomi|Finnish|Finnisch", "fi_FI"},
    {"is", "\xCDslenska|Icelandic|Isl\xE4ndisch", "is_IS is"},
    {"ga", "Gaeilge|Irish|Irisch", "ga_IE"},
    {"cy", "Cymraeg|Welsh|Walisisch", "cy_GB"},
    {"gd", "G\xE0idhlig|Scottish Gaelic|Schottisch-G\xE4lisch", "gd_GB"},
    {"ca", "Catal\xE0|Catalan|Katalanisch", "ca_ES ca"},
    {"eu", "Euskara|Basque|Baskisch", "eu_ES eu"},
    {"gl", "Galego|Galician|Galicisch|Galizisch", "gl_ES gl"},
    {"pl", "Polski|Polish|Polnisch", "pl_PL"},
    {"hu", "Magyar|Hungarian|Ungarisch", "hu_HU"},
    {"hr", "Hrvatski|Croatian|Kroatisch", "hr_HR"},
    {"bs", "Bosanski|Bosnian|Bosnisch", "bs_BA"},
    {"tr", "T\xFCrk\xE7" "e|Turkish|T\xFCrkisch", "tr_TR"},
    {"et", "Eesti|Estonian|Estnisch", "et_EE"},
    {"lv", "Latvie\x9Au|Latvian|Lettisch", "lv_LV"},
    {"lt", "Lithuanian|Litauisch|Lietuviu", "lt_LT"},
    {"sq", "Shqip|Albanian|Albanisch", "sq_AL"},
    {"af", "Afrikaans", "af_ZA"},
    {"eo", "Esperanto", "eo"},
    {"nds", "Plattd\xFC\xFCtsch|Low German|Plattdeutsch", ""},
    {"cs", "Czech|Tschechisch|Ce\x9Atina|Cestina", "cs_CZ"},
    {"sk", "Slovak|Slowakisch|Slovencina", "sk_SK"},
    {"sl", "Slovenian|Slovene|Slowenisch|Slovenscina", "sl_SI"},
    {"ro", "Romanian|Rum\xE4nisch|Rom\xE2" "na|Romana", "ro_RO"},
    {"ru", "Russian|Russisch|Russkij", "ru_RU"},
    {"uk", "Ukrainian|Ukrainisch", "uk_UA"},
    {"be", "Belarusian|Wei\xDFrussisch", ""},
    {"bg", "Bulgarian|Bulgarisch", "bg_BG"},
    {"sr", "Serbian|Serbisch|Srpski", "sr_Latn_RS sr_RS sr"},
    {"mk", "Macedonian|Mazedonisch", ""},
    {"el", "Greek|Griechisch|Ellinika", "el_GR"},
    {"pa", "Punjabi|Pandschabi", ""},
    {"hi", "Hindi", ""},
    {"ja", "Japanese|Japanisch", ""},
    {"zh", "Chinese|Chinesisch", ""},
    {"ko", "Korean|Koreanisch", ""},
    {"id", "Indonesian|Indonesisch|Bahasa Indonesia", "id_ID"},
    {"vi", "Vietnamese|Vietnamesisch", "vi_VN"},
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (!text.empty()) {
    const std::size_t at = text.find(separator);
    if (at != 0) parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 1);
  }
  return parts;
}

}  // namespace

const LanguageRow* FindLanguage(std::string_view name) {
  const std::string key = AnsiLowerCase(Trimmed(name));
  if (key.empty()) return nullptr;
  for (const LanguageRow& row : kLanguages)
    for (std::string_view known : Split(row.Names, '|'))
      if (AnsiLowerCase(known) == key) return &row;
  return nullptr;
}

const LanguageRow* FindLocale(std::string_view locale) {
  const std::string language = AnsiLowerCase(locale.substr(0, locale.find_first_of("_-@.")));
  for (const LanguageRow& row : kLanguages)
    if (row.Locale == language) return &row;
  return nullptr;
}

std::string LocaleLanguageName(const LanguageRow& row) { return std::string(row.Names.substr(0, row.Names.find('|'))); }

std::vector<std::string> RowDictionaries(const LanguageRow& row) {
  std::vector<std::string> names;
  for (std::string_view name : Split(row.Dictionaries, ' ')) names.emplace_back(name);
  return names;
}

}  // namespace vocatrix
