// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exchange files in the shapes other programs write, written for these tests
// from the formats' public descriptions: KVTML 1.0 (entries <e> with an
// original <o> and translations <t>, attributes for language, type, grade,
// remark, synonym and antonym), a KVTML 2.0 word list of one language with
// hints, Anki's plain and "#"-header text exports, and spreadsheet CSV.

#include <string>

namespace vocatrix::test {

// KVTML 1.0 in ISO-8859-1, three columns (German, English, French): a noun
// with a remark and a synonym, a verb with antonyms, a phrase of the user's
// own type with an example, an adjective whose translation has a
// conjugation. Grades, counts and dates of 0 say nothing.
inline const std::string kKvtml1Sample =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
    "<!DOCTYPE kvtml SYSTEM \"kvoctrain.dtd\">\n"
    "<kvtml encoding=\"ISO-8859-1\" generator=\"hand\" cols=\"3\" lines=\"4\" title=\"Tiere\" author=\"A. Autor\">\n"
    " <lesson width=\"120\"><desc no=\"1\" current=\"1\">Haustiere</desc></lesson>\n"
    " <type><desc no=\"1\">Redewendung</desc></type>\n"
    " <e m=\"1\" s=\"1\">\n"
    "  <o width=\"100\" l=\"de\" t=\"n:m\" r=\"bellt\" y=\"K\xF6ter\">Hund</o>\n"
    "  <t width=\"100\" l=\"en\" t=\"n\" g=\"3;2\" c=\"4;1\" d=\"1178539322;0\">dog</t>\n"
    "  <t l=\"fr\" p=\"[chien]\">chien</t>\n"
    " </e>\n"
    " <e m=\"1\"><o t=\"v\" a=\"liegen\">stehen</o><t a=\"lie\" g=\"0;0\">stand</t><t>\xEAtre debout</t></e>\n"
    " <e m=\"1\"><o t=\"#1\" x=\"Guten Morgen!\">Guten Tag</o><t>good day</t><t>bonjour</t></e>\n"
    " <e><o t=\"aj\">gro\xDF</o><t>big<conjugation><e n=\"1\">bigger</e></conjugation></t></e>\n"
    "</kvtml>\n";

// A KVTML 2.0 word list for word games: one language, named only by its
// locale, with hints in comments (empty ones say nothing), a translation in
// a language the file does not declare, and an entry id given twice.
inline const std::string kOneLanguageList =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n"
    "<kvtml version=\"2.0\">\n"
    " <information><generator>hand</generator><title>Tiere</title></information>\n"
    " <identifiers><identifier id=\"0\"><locale>de</locale></identifier></identifiers>\n"
    " <entries>\n"
    "  <entry id=\"0\"><translation id=\"0\"><text>Hund</text><comment>bellt</comment></translation></entry>\n"
    "  <entry id=\"1\"><translation id=\"0\"><text>Katze</text><comment/></translation>"
    "<translation id=\"1\"><text>M\xC3\xB6" "bel</text></translation></entry>\n"
    "  <entry id=\"1\"><translation id=\"0\"><text>Maus</text></translation></entry>\n"
    "  <entry id=\"2\"><translation id=\"0\"><text>Pferd</text><comment>  </comment><image></image>"
    "</translation></entry>\n"
    " </entries>\n"
    "</kvtml>\n";

// Anki's "Notes in Plain Text" of old: front and back, tab-separated, no header.
inline const std::string kAnkiPlain = "house\tHaus\nto go\tgehen; laufen\n";

// Anki's newer export: header lines, a note id and a tags column, HTML.
inline const std::string kAnkiWithHeaders =
    "#separator:tab\n#html:true\n#guid column:1\n#tags column:4\n#columns:Guid\tEnglish\tDeutsch\tTags\n"
    "a1B2\t<b>house</b>\tdas Haus<br>das Geb&auml;ude\tnouns\n"
    "c3D4\tstreet\tStra&szlig;e&nbsp;\t\n";

// A spreadsheet's two columns with names in the first row, ";"-separated.
inline const std::string kTwoColumnSpreadsheet = "Deutsch;English\r\nHaus;house\r\ngehen;to go\r\n";

// The six columns this program writes, as a spreadsheet saves them with ";".
inline const std::string kSixColumnSemicolons =
    "English;Synonyms;Deutsch;Antonyms;Antonym translations;Form\r\n"
    "big;large;gro\xC3\x9F;small;klein;adj.\r\n"
    "\"go; walk\";;gehen;;;v.\r\n";

// KDE's CSV export: a title line, then tab-separated rows.
inline const std::string kKdeCsvExport = "ding, 1000\nhouse\tHaus\ntree, bush\tBaum\ngo\tgehen\n";

}  // namespace vocatrix::test
