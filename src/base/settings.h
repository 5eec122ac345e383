// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings-file paths: the program settings file, the files it names, and
// the interface-language files.
//
// Encodings: ini values and interface-language names are Windows-1252 bytes;
// paths are file-system bytes (UTF-8 on Linux).

#include <string>
#include <vector>

namespace vocatrix {

// Full path of the running program, asked of the system once.
std::string ProgramFilePath();
// Points the settings at another program path (tests, and tools that keep
// their settings elsewhere). Takes effect for all later calls.
void SetProgramFilePath(const std::string& path);

// Where the data and the settings are. Beside the program (the build folder,
// a copied folder) both are in the program folder. Installed, that is with
// "<program folder>/../share/vocatrix/" present and no "lang" folder beside
// the program, the data (interface languages, help, sounds, the default
// settings) comes from that share folder and the settings are the user's, in
// $XDG_CONFIG_HOME/vocatrix/ (~/.config/vocatrix/ when that is not set).

// The settings file: the program's name with its extension replaced by
// ".ini" (or ".ini" appended) in SettingsFolder(). Installed, the first call
// gives the user's file the sections of the installed defaults of the same
// name that it lacks, creating it; while it cannot be created the installed
// defaults are read instead (and writes fail).
std::string ProgramSettingsFile();
// Folder of the program file, with a trailing "/".
std::string ProgramFolder();
// Folder of the program's data, with a trailing "/".
std::string ProgramDataFolder();
// Folder the program writes its settings and the translator's template to,
// with a trailing "/".
std::string SettingsFolder();
// Folder of the recovery files that autosave writes, with a trailing "/":
// installed, $XDG_STATE_HOME/vocatrix/recovery/ (~/.local/state/vocatrix/
// recovery/ when that is not set); else recovery/ beside the settings file.
std::string RecoveryFolder();
// Whether the settings file can be written now: a file can be made in its
// folder (tried, since permission bits do not bind root) and the name is free
// or a regular file.
bool SettingsWritable();

// A path value of the program settings file: unchanged when it contains
// ":\", else resolved by ResolveIniPath. Empty or missing: the default.
std::string ConfigPath(const std::string& section, const std::string& key, const std::string& defaultValue = {});
// Resolves a path value read from the ini file `iniFile` (see
// ResolveSettingsPath): relative values start from the file's folder; those
// of the program settings file from SettingsFolder() when the named file is
// there, else from ProgramDataFolder().
std::string ResolveIniPath(const std::string& iniFile, const std::string& value);

// Path of the interface-language file of a language; empty for an empty name.
std::string LanguageFileName(const std::string& language);
// The interface languages the settings list (section [Languages] of the
// language list), in their order.
std::vector<std::string> InterfaceLanguages();
// The interface language for a locale ("fr_FR.UTF-8", "de-AT"): the first
// listed language of the locale's language whose file is there; "English"
// when none is.
std::string InterfaceLanguageOfLocale(const std::string& locale);

// The user's home folder ($HOME, else the password entry's), with a
// trailing "/".
std::string HomeFolder();

// Creates the folder (a path ending in "/") and the ones above it that are
// missing, private to the user as the XDG folders are.
void MakeFolders(const std::string& folder);

// Path helpers.
std::string FolderOf(const std::string& path);        // with trailing "/"
std::string ExtractFileName(const std::string& path);  // without folder
std::string ExpandFileName(const std::string& path);   // absolute, "." and ".." resolved
// Joins a value read from a settings file to a folder: absolute values stay,
// "\" becomes "/", Windows-1252 values turn into UTF-8 file names.
std::string ResolveSettingsPath(const std::string& folder, const std::string& value);
// A path as stored in a settings file: valid UTF-8 stays, anything else is
// taken as Windows-1252.
std::string PathFromSettings(const std::string& value);

}  // namespace vocatrix
