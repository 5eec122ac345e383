// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Translated messages and their placeholders. Messages returned by Translate
// and carried by exceptions are UTF-8.

#include <initializer_list>
#include <string>

namespace vocatrix {

// The message of `key` in `section` of the language's file, as UTF-8; the
// (UTF-8) default when the language is empty or the file, section or key is
// missing.
std::string Translate(const std::string& language, const std::string& section, const std::string& key,
                      const std::string& defaultText);

// The interface language used by messages raised in the core (the editor's
// current interface language; empty gives the English defaults). Setting it
// reads that language's file once; later messages of it come from memory.
const std::string& CurrentLanguage();
void SetCurrentLanguage(const std::string& language);

// The few built-in messages of the class library are German (files that
// cannot be opened, created or written, a list index out of bounds). A
// program that speaks English whatever the language files say (the command
// line tool) gives them in English instead.
void UseEnglishBuiltInMessages();

// Translate for the current language in section "Dynamic", with the
// placeholders filled.
std::string TranslateMessage(const std::string& key, const std::string& defaultText,
                             std::initializer_list<std::string> args = {});

// Fills "%s", "%d" and similar placeholders in order with the arguments;
// "%%" is a percent sign.
std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args);

}  // namespace vocatrix
