// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/anki/ankipackage.h"

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

#include <cstring>
#include <memory>
#include <new>

#include "files/anki/anki.h"

namespace vocatrix::anki {
namespace {

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

// The bytes of a member of the archive, or false when it holds none of
// that name. The size the archive states is not trusted: reading stops at
// the limit.
bool ReadMember(zip_t* archive, const char* name, const std::string& fileName, std::string& out) {
  const zip_int64_t index = zip_name_locate(archive, name, 0);
  if (index < 0) return false;
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) throw EAnkiDeck::Damaged(fileName);
  if ((stat.valid & ZIP_STAT_SIZE) && stat.size > kMaxCollectionBytes)
    throw EAnkiDeck::TooLarge(fileName, kMaxCollectionBytes >> 20);
  zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
  if (!file) throw EAnkiDeck::Damaged(fileName);
  out.clear();
  char buffer[1 << 16];
  zip_int64_t got = 0;
  while ((got = zip_fread(file, buffer, sizeof buffer)) > 0) {
    if (out.size() + static_cast<std::size_t>(got) > kMaxCollectionBytes) {
      zip_fclose(file);
      throw EAnkiDeck::TooLarge(fileName, kMaxCollectionBytes >> 20);
    }
    out.append(buffer, static_cast<std::size_t>(got));
  }
  zip_fclose(file);
  if (got < 0) throw EAnkiDeck::Damaged(fileName);
  return true;
}

// A zstd stream unpacked, frame after frame, up to the limit.
std::string Unpack(std::string_view packed, const std::string& fileName) {
  std::unique_ptr<ZSTD_DCtx, decltype(&ZSTD_freeDCtx)> context(ZSTD_createDCtx(), ZSTD_freeDCtx);
  if (!context) throw std::bad_alloc();
  std::string out;
  std::string buffer(ZSTD_DStreamOutSize(), '\0');
  ZSTD_inBuffer in{packed.data(), packed.size(), 0};
  std::size_t left = 0;
  for (;;) {
    ZSTD_outBuffer chunk{buffer.data(), buffer.size(), 0};
    left = ZSTD_decompressStream(context.get(), &chunk, &in);
    if (ZSTD_isError(left)) throw EAnkiDeck::Damaged(fileName);
    if (out.size() + chunk.pos > kMaxCollectionBytes) throw EAnkiDeck::TooLarge(fileName, kMaxCollectionBytes >> 20);
    out.append(buffer.data(), chunk.pos);
    // All input taken and the output not full: the decoder holds nothing more.
    if (in.pos == in.size && chunk.pos < chunk.size) break;
  }
  // A frame cut short.
  if (left != 0) throw EAnkiDeck::Damaged(fileName);
  return out;
}

}  // namespace

std::string PackageCollection(std::string_view package, const std::string& fileName) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(package.data(), package.size(), 0, &error);
  if (!source) throw EAnkiDeck::NoArchive(fileName);
  Archive archive(zip_open_from_source(source, ZIP_RDONLY, &error));
  zip_error_fini(&error);
  if (!archive) {
    zip_source_free(source);
    throw EAnkiDeck::NoArchive(fileName);
  }
  std::string data;
  // A current package keeps a stub in "collection.anki2" that asks to update
  // Anki; its real collection is the compressed one.
  if (ReadMember(archive.get(), "collection.anki21b", fileName, data)) return Unpack(data, fileName);
  if (ReadMember(archive.get(), "collection.anki21", fileName, data) ||
      ReadMember(archive.get(), "collection.anki2", fileName, data))
    return data;
  throw EAnkiDeck::NoCollection(fileName);
}

std::string PackageImage(std::string_view collection) {
  static constexpr char kMedia[] = "{}";
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!target) throw std::bad_alloc();
  zip_source_keep(target);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  std::string image;
  bool ok = archive != nullptr;
  if (ok) {
    zip_source_t* db = zip_source_buffer(archive, collection.data(), collection.size(), 0);
    zip_source_t* media = zip_source_buffer(archive, kMedia, 2, 0);
    const zip_int64_t added = db ? zip_file_add(archive, "collection.anki2", db, ZIP_FL_ENC_UTF_8) : -1;
    // The fastest deflate: the collection of a full-size lesson packs in a
    // fraction of the default level's time, for a slightly larger file.
    ok = added >= 0 && zip_set_file_compression(archive, static_cast<zip_uint64_t>(added), ZIP_CM_DEFLATE, 1) == 0 &&
         media && zip_file_add(archive, "media", media, ZIP_FL_ENC_UTF_8) >= 0;
    if (ok) ok = zip_close(archive) == 0;
    else zip_discard(archive);
  }
  if (ok && zip_source_open(target) == 0) {
    zip_source_seek(target, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(target);
    zip_source_seek(target, 0, SEEK_SET);
    image.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    ok = size >= 0 && zip_source_read(target, image.data(), image.size()) == size;
    zip_source_close(target);
  }
  zip_source_free(target);
  if (!ok) throw std::bad_alloc();
  return image;
}

Database::Database(std::string_view image, const std::string& fileName) : fileName_(fileName) {
  if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    throw std::bad_alloc();
  }
  if (image.empty()) return;
  // No destructor runs for a constructor that fails.
  try {
    // SQLite owns the copy and frees it with the connection.
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(image.size()));
    if (!copy) throw std::bad_alloc();
    std::memcpy(copy, image.data(), image.size());
    // A collection saved in write-ahead mode reads from memory only as a
    // database of the ordinary journal: its header's two version bytes say so.
    if (image.size() >= 100 && copy[18] == 2 && copy[19] == 2) copy[18] = copy[19] = 1;
    if (sqlite3_deserialize(db_, "main", copy, static_cast<sqlite3_int64>(image.size()),
                            static_cast<sqlite3_int64>(image.size()),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY) != SQLITE_OK)
      Fail();
    // A damaged file must fail, not loop or wander: no writes, no triggers of its own.
    Execute("PRAGMA query_only = 1; PRAGMA trusted_schema = 0;");
    Execute("SELECT count(*) FROM sqlite_master");
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

Database::~Database() { sqlite3_close_v2(db_); }

void Database::Fail() const { throw EAnkiDeck::Damaged(fileName_); }

void Database::Execute(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
}

bool Database::HasTable(const char* name) {
  Statement statement(*this, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?");
  statement.Bind(1, name);
  return statement.Step();
}

std::string Database::Image() {
  sqlite3_int64 size = 0;
  unsigned char* bytes = sqlite3_serialize(db_, "main", &size, 0);
  if (!bytes) Fail();
  std::string image(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
  sqlite3_free(bytes);
  return image;
}

Statement::Statement(Database& database, const char* sql) : database_(database) {
  if (sqlite3_prepare_v2(database.db_, sql, -1, &statement_, nullptr) != SQLITE_OK) database.Fail();
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::Bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) database_.Fail();
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) != SQLITE_OK)
    database_.Fail();
  return *this;
}

bool Statement::Step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result != SQLITE_DONE) database_.Fail();
  return false;
}

void Statement::Run() {
  Step();
  sqlite3_reset(statement_);
}

std::int64_t Statement::Integer(int column) const { return sqlite3_column_int64(statement_, column); }

std::string_view Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return text ? std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
              : std::string_view();
}

}  // namespace vocatrix::anki
