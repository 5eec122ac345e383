// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of the HTML that Anki keeps in its fields ("#html:true").

#include <string>
#include <string_view>

namespace vocatrix {

// UTF-8 HTML as UTF-8 text: tags dropped, a line break (<br>) becomes
// `lineBreak` and a line break of the source a blank, character references (&#223;, &#xDF;) and the entities of
// Latin-1 and of common punctuation (&szlig;, &euro;, &ndash;) decoded,
// &nbsp; as a plain space. An unknown entity stays as written.
std::string HtmlToText(std::string_view html, std::string_view lineBreak);

}  // namespace vocatrix
