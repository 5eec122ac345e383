// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small RTF documents in the styles that common word processors write.

namespace vocatrix::test {

// LibreOffice: \deff4, fonts with {\*\falt}, a stylesheet, generator and info
// groups, \pard\plain paragraphs whose runs sit in groups, \uN\'hh pairs.
inline constexpr const char* kLibreOfficeSample = R"rtf({\rtf1\ansi\deff4\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f1\froman\fprq2\fcharset2 Symbol;}{\f2\fswiss\fprq2\fcharset0 Arial;}{\f3\froman\fprq2\fcharset0 Liberation Serif{\*\falt Times New Roman};}{\f4\fswiss\fprq2\fcharset0 Liberation Sans{\*\falt Arial};}}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;\red255\green0\blue0;}
{\stylesheet{\s0\snext0\rtlch\af6\afs24\alang1081 \ltrch\lang1031\langfe2052\hich\af3\loch\f3\fs24\lang1031\kerning1 Normal;}
{\*\cs15\snext15 Default Paragraph Font;}}{\*\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}{\info{\creatim\yr2024\mo3\dy5\hr10\min2}{\revtim\yr2024\mo3\dy5\hr10\min3}{\printim\yr0\mo0\dy0\hr0\min0}}{\*\userprops}\deftab709
\hyphauto1\viewscale100
{\*\pgdsctbl
{\pgdsc0\pgdscuse451\pgwsxn11906\pghsxn16838\marglsxn1134\margrsxn1134\pgdscnxt0 Default Page Style;}}
\formshade\paperh16838\paperw11906\margl1134\margr1134\margt1134\margb1134\sectd\sbknone\pgndec\sftnnar\saftnnrlc\sectunlocked1
{\*\ftnsep\chftnsep}\pgndec\pard\plain \s0\rtlch\af6\afs24\alang1081 \ltrch\lang1031\langfe2052\hich\af3\loch\ql\nowidctlpar\hyphpar0\ltrpar\cf0\f3\fs24\lang1031\kerning1{\rtlch \ltrch\loch
Ti: M\u228\'e4rchen}
\par \pard\plain \s0\hich\af3\loch\ql\ltrpar\cf0\f3\fs24\lang1031{\rtlch \ltrch\loch\b\loch
Sp: Deutsch - English}
\par \pard\plain \s0\hich\af3\loch\ql\ltrpar\cf0\f3\fs24\lang1031{\rtlch \ltrch\loch\fs28\cf3\i
Haus - house}{\rtlch \ltrch\loch
 (s.)}
\par }
)rtf";

// WordPad: \ansicpg1252 with a Cyrillic font (\fcharset204), \'hh escapes.
inline constexpr const char* kWordPadSample = R"rtf({\rtf1\ansi\ansicpg1252\deff0\nouicompat\deflang1031{\fonttbl{\f0\fnil\fcharset0 Calibri;}{\f1\fnil\fcharset204 Arial CYR;}}
{\colortbl ;\red0\green77\blue187;}
{\*\generator Riched20 10.0.19041}\viewkind4\uc1 
\pard\sa200\sl276\slmult1\cf1\b\f0\fs22\lang7 Ti: Gr\'fc\'dfe\b0\par
\cf0 Sp: Deutsch - Russisch\par
Euro - \f1\lang1049\'88\'cf\f0\lang7\par
}
)rtf";

// Word: panose groups in the font table, theme fonts, a stylesheet, info,
// rsid and xmlns tables, header and footer, bookmarks, a field, a picture in
// hex and one as \bin data that holds braces and backslashes, \uN\'hh pairs.
inline constexpr const char* kWordSample =
    "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505\\deflang1031"
    "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
    "{\\f1\\fbidi \\fswiss\\fcharset0\\fprq2{\\*\\panose 020b0604020202020204}Arial;}\r\n"
    "{\\flomajor\\f31500\\fbidi \\froman\\fcharset0\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "{\\*\\defchp \\f31506\\fs22\\lang1031\\langfe1033 }\r\n"
    "{\\stylesheet{\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\rtlch\\fcs1 \\af31507\\afs22 \\ltrch\\fcs0 "
    "\\f31506\\fs22\\lang1031 \\snext0 \\sqformat \\spriority0 Normal;}}\r\n"
    "{\\*\\rsidtbl \\rsid1379385}{\\*\\generator Microsoft Word 16.0;}{\\info{\\author Max Mustermann}"
    "{\\operator Max}{\\creatim\\yr2024\\mo3\\dy5\\hr10\\min5}{\\version1}{\\nofwords3}}\r\n"
    "{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}\r\n"
    "\\paperw11906\\paperh16838\\margl1417\\margr1417\\margt1417\\margb1134\r\n"
    "{\\header \\ltrpar \\pard\\plain Kopfzeile\\par}{\\footer \\pard\\plain Seite {\\field{\\*\\fldinst PAGE}"
    "{\\fldrslt 1}}\\par}\r\n"
    "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa160\\widctlpar\\rtlch\\fcs1 \\af31507\\afs22 \\ltrch\\fcs0 "
    "\\f1\\fs22\\lang1031 {\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\b\\insrsid1379385 Ti: Stra\\'dfe}"
    "{\\rtlch\\fcs1 \\af31507 \\ltrch\\fcs0 \\insrsid1379385 \\par }\r\n"
    "{\\rtlch\\fcs1 \\ltrch\\fcs0 \\insrsid1379385 Caf\\u233\\'e9 - caf\\u233\\'e9\\tab (s.)}"
    "{\\*\\bkmkstart _GoBack}{\\*\\bkmkend _GoBack}{\\rtlch\\fcs1 \\ltrch\\fcs0 \\insrsid1379385 \\par }\r\n"
    "{\\*\\shppict{\\pict{\\*\\picprop}\\pngblip\\picw1\\pich1 89504e470d0a1a0a0000000d49484452}}"
    "{\\nonshppict{\\pict\\wmetafile8\\picw1\\pich1 0100090000036e0000000000}}\r\n"
    "{\\pict\\pngblip\\picw1\\pich1\\bin12 " "}{\\\\x\x89" "PNG\\'}" "}"
    "{\\field{\\*\\fldinst HYPERLINK \"http://example.org\"}{\\fldrslt {\\ul\\cf2 Link}}}\\par\r\n"
    "{\\*\\themedata 504b030414000600080000002100e9de0fbfff0000001c020000}"
    "{\\*\\datastore 0105000002000000}}\r\n";

}  // namespace vocatrix::test
