#pragma once
// Settings-file paths: the program settings file, the files it names, and
// the interface-language files.
//
// Encodings: ini values and interface-language names are Windows-1252 bytes;
// paths are file-system bytes (UTF-8 on Linux).

#include <string>

namespace vocatrix {

// Full path of the running program, asked of the system once.
std::string ProgramFilePath();
// Points the settings at another program path (tests, and tools that keep
// their settings elsewhere). Takes effect for all later calls.
void SetProgramFilePath(const std::string& path);

// The program path with its extension replaced by ".ini", or with ".ini"
// appended when the file name has none.
std::string ProgramSettingsFile();
// Folder of the program file, with a trailing "/".
std::string ProgramFolder();

// A path value of the program settings file: unchanged when absolute (starts
// with "/") or when it contains ":\"; otherwise taken from the program folder
// with "\" read as a path separator. Empty or missing: the default.
std::string ConfigPath(const std::string& section, const std::string& key, const std::string& defaultValue = {});

// Path of the interface-language file of a language; empty for an empty name.
std::string LanguageFileName(const std::string& language);

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
