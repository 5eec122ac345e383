// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The containers of an Anki deck: the zip archive of a package, the zstd
// compression of the current collection, and the SQLite database of the
// collection, held in memory. Used by the Anki reader and writer only.

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace vocatrix::anki {

// A collection is refused beyond this size, packed or unpacked.
inline constexpr std::size_t kMaxCollectionBytes = std::size_t{512} << 20;

// The database of a package (the current collection "collection.anki21b",
// unpacked, else "collection.anki21", else "collection.anki2"). Raises
// EAnkiDeck naming `fileName` for a file that is no zip archive, holds no
// collection or a damaged one.
std::string PackageCollection(std::string_view package, const std::string& fileName);
// A package of a collection in the older schema and an empty media map.
std::string PackageImage(std::string_view collection);

// A database in memory. Every failure raises EAnkiDeck naming the file.
class Database {
 public:
  // An empty database (`image` empty) or a copy of the image of one.
  Database(std::string_view image, const std::string& fileName);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void Execute(const char* sql);
  bool HasTable(const char* name);
  // The database file's bytes.
  std::string Image();
  [[noreturn]] void Fail() const;

 private:
  friend class Statement;
  sqlite3* db_ = nullptr;
  const std::string& fileName_;
};

class Statement {
 public:
  Statement(Database& database, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, std::string_view text);
  // The next row; false at the end.
  bool Step();
  // Runs an insert and makes it ready for the next.
  void Run();
  std::int64_t Integer(int column) const;
  // The text of a column (empty for NULL), valid until the next step.
  std::string_view Text(int column) const;

 private:
  Database& database_;
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace vocatrix::anki
