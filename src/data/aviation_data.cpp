#include "data/aviation_data.h"

#include <dirent.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <unordered_map>
#include <variant>

#include "data/aviation_readers.h"
#include "geo/geodesy.h"
#include "plan/fileio.h"
#include "plan/profile.h"
#include "plan/text_fields.h"

namespace {

// Raised whenever the tables change, so an index of an older program is rebuilt.
constexpr int kSchemaVersion = 4;

const char* const kSchema = R"(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE airports(id INTEGER PRIMARY KEY, ident TEXT, icao TEXT, gps TEXT, local TEXT,
  name TEXT, elevation INTEGER, lat REAL, lon REAL, tile INTEGER);
CREATE TABLE runways(airport INTEGER, end1 TEXT, end2 TEXT, closed INTEGER,
  lat1 REAL, lon1 REAL, lat2 REAL, lon2 REAL);
CREATE TABLE frequencies(airport INTEGER, use INTEGER, khz INTEGER, label TEXT);
CREATE TABLE navaids(id INTEGER PRIMARY KEY, ident TEXT, name TEXT, type INTEGER, region TEXT,
  lat REAL, lon REAL, khz INTEGER, variation REAL, tile INTEGER);
CREATE VIRTUAL TABLE airport_tiles USING rtree(id, south, north, west, east);
CREATE VIRTUAL TABLE navaid_tiles USING rtree(id, south, north, west, east);
)";

// Built after the rows are in: one sort per index instead of a tree kept in order.
// Most airports have no ICAO, GPS or local code: those are NULL and left out
// of their indexes. Places are found by position through their one-degree
// tile (see TileBoxes).
const char* const kIndexes = R"(
CREATE INDEX airports_ident ON airports(ident COLLATE NOCASE);
CREATE INDEX airports_icao ON airports(icao COLLATE NOCASE) WHERE icao IS NOT NULL;
CREATE INDEX airports_gps ON airports(gps COLLATE NOCASE) WHERE gps IS NOT NULL;
CREATE INDEX airports_local ON airports(local COLLATE NOCASE) WHERE local IS NOT NULL;
CREATE INDEX airports_tile ON airports(tile);
CREATE INDEX runways_airport ON runways(airport);
CREATE INDEX frequencies_airport ON frequencies(airport);
CREATE INDEX navaids_ident ON navaids(ident COLLATE NOCASE);
CREATE INDEX navaids_tile ON navaids(tile);
)";

struct DbCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;

struct StmtFinalizer {
  void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

Stmt Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  return Stmt(stmt);
}

bool Exec(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The one-degree tile of a position, numbered from the south-west corner of
// the world. A position off the world still gets a tile, its nearest one.
sqlite3_int64 TileOf(const GeoPosition& p) {
  const auto part = [](double degrees, double last) {
    return std::isfinite(degrees)
               ? static_cast<sqlite3_int64>(std::clamp(std::floor(degrees), 0.0, last))
               : 0;
  };
  return part(p.lat + 90.0, 179.0) * 360 + part(p.lon + 180.0, 359.0);
}

// The R*Trees of positions hold one box per tile, the box of the places in
// it, not one per place: an insert into an R*Tree costs microseconds, and a
// data file of a million tiny rows must not take many seconds to index. A
// tile holds a few dozen places in real data; there are at most 64,800.
class TileBoxes {
 public:
  void Add(const GeoPosition& p) {
    const auto [it, fresh] = boxes_.try_emplace(TileOf(p), MapBox{p.lat, p.lat, p.lon, p.lon});
    if (fresh) return;
    MapBox& box = it->second;
    box.south = std::min(box.south, p.lat), box.north = std::max(box.north, p.lat);
    box.west = std::min(box.west, p.lon), box.east = std::max(box.east, p.lon);
  }

  bool Write(sqlite3* db, const char* table) const {
    Stmt s = Prepare(db, (std::string("INSERT INTO ") + table + " VALUES(?,?,?,?,?)").c_str());
    if (!s) return false;
    for (const auto& [tile, box] : boxes_) {
      sqlite3_bind_int64(s.get(), 1, tile);
      const double sides[] = {box.south, box.north, box.west, box.east};
      for (int i = 0; i < 4; ++i) sqlite3_bind_double(s.get(), i + 2, sides[i]);
      if (sqlite3_step(s.get()) != SQLITE_DONE) return false;
      sqlite3_reset(s.get());
    }
    return true;
  }

 private:
  std::map<sqlite3_int64, MapBox> boxes_;  // in order, which keeps the R*Tree's inserts local
};

// Older simulator files write names in a single-byte code page: everything
// enters the index as UTF-8, as plan files hold it.
void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
  const std::string utf8 = TextAsUtf8(text);
  sqlite3_bind_text(stmt, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// An empty code is NULL, so that the indexes of codes hold only real ones.
void BindCode(sqlite3_stmt* stmt, int index, const std::string& text) {
  if (text.empty())
    sqlite3_bind_null(stmt, index);
  else
    BindText(stmt, index, text);
}

std::string ColumnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  return text ? reinterpret_cast<const char*>(text) : std::string();
}

// Thrown through the readers when the pilot stops an index build.
struct IndexCancelled {};

// A database error: the index is damaged or cannot be read.
struct IndexFailure {
  std::string why;
};

// More than any published data set holds (about 85,000 airports, 20,000
// navaids and 300,000 fixes): past these a folder is not aviation data, and
// the index would cost seconds for every megabyte of tiny rows.
constexpr int64_t kMostAirports = 200000;
constexpr int64_t kMostNavaids = 500000;      // fixes included
constexpr std::size_t kMostPerAirport = 100;  // runways, and frequencies

// Fills the tables as the readers hand over records.
class IndexWriter : public AviationSink {
 public:
  IndexWriter(sqlite3* db, const std::atomic<bool>* cancel)
      : cancel_(cancel),
        airport_(Prepare(db, "INSERT INTO airports VALUES(NULL,?,?,?,?,?,?,?,?,?)")),
        runway_(Prepare(db, "INSERT INTO runways VALUES(?,?,?,?,?,?,?,?)")),
        frequency_(Prepare(db, "INSERT INTO frequencies VALUES(?,?,?,?)")),
        navaid_(Prepare(db, "INSERT INTO navaids VALUES(NULL,?,?,?,?,?,?,?,?,?)")),
        db_(db) {}

  bool ok() const { return airport_ && runway_ && frequency_ && navaid_ && !failed_; }

  // What was left out past the limits, as warnings, and out of the counts.
  void ReportLimits(DataSetInfo& info) const {
    const auto left_out = [&](int64_t count, const char* what, int64_t most) {
      if (count == 0) return;
      info.warnings.push_back(std::to_string(count) + " " + what +
                              " left out: the data holds more than " + std::to_string(most) +
                              ", more than any published data set");
    };
    left_out(dropped_airports_, "airports", kMostAirports);
    left_out(dropped_navaids_, "navaids and fixes", kMostNavaids);
    if (dropped_parts_ > 0)
      info.warnings.push_back(std::to_string(dropped_parts_) +
                              " runways and frequencies left out: no airport has more than " +
                              std::to_string(kMostPerAirport) + " of either");
    info.airports = std::max<int64_t>(0, info.airports - dropped_airports_);
    info.navaids = std::max<int64_t>(0, info.navaids - dropped_navaids_);
  }

  // The boxes of the tiles, once every record is in.
  bool WriteTiles() const {
    return airport_tiles_.Write(db_, "airport_tiles") && navaid_tiles_.Write(db_, "navaid_tiles");
  }

  void Add(AviationRecord&& record) override {
    if (Airport* airport = std::get_if<Airport>(&record))
      AddAirport(*airport);
    else if (Navaid* navaid = std::get_if<Navaid>(&record))
      AddNavaid(*navaid);
  }

 private:
  void AddAirport(const Airport& a) {
    if (airports_ == kMostAirports) {
      ++dropped_airports_;
      return;
    }
    ++airports_;
    sqlite3_stmt* s = airport_.get();
    BindText(s, 1, a.ident);
    BindCode(s, 2, a.icao_code);
    BindCode(s, 3, a.gps_code);
    BindCode(s, 4, a.local_code);
    BindText(s, 5, a.name);
    if (a.elevation_ft)
      sqlite3_bind_int(s, 6, *a.elevation_ft);
    else
      sqlite3_bind_null(s, 6);
    sqlite3_bind_double(s, 7, a.position.lat);
    sqlite3_bind_double(s, 8, a.position.lon);
    sqlite3_bind_int64(s, 9, TileOf(a.position));
    airport_tiles_.Add(a.position);
    Step(s);
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db_);
    const auto at_most = [](std::size_t n) { return std::min(n, kMostPerAirport); };
    dropped_parts_ += static_cast<int64_t>(a.runways.size() - at_most(a.runways.size()) +
                                           a.frequencies.size() - at_most(a.frequencies.size()));
    for (const Runway& r : a.runways) {
      if (&r - a.runways.data() == static_cast<std::ptrdiff_t>(kMostPerAirport)) break;
      s = runway_.get();
      sqlite3_bind_int64(s, 1, id);
      BindText(s, 2, r.end1);
      BindText(s, 3, r.end2);
      sqlite3_bind_int(s, 4, r.closed ? 1 : 0);
      BindEnd(s, 5, r.end1_position);
      BindEnd(s, 7, r.end2_position);
      Step(s);
    }
    for (const AirportFrequency& f : a.frequencies) {
      if (&f - a.frequencies.data() == static_cast<std::ptrdiff_t>(kMostPerAirport)) break;
      s = frequency_.get();
      sqlite3_bind_int64(s, 1, id);
      sqlite3_bind_int(s, 2, static_cast<int>(f.use));
      sqlite3_bind_int64(s, 3, f.khz);
      BindText(s, 4, f.label);
      Step(s);
    }
  }

  void AddNavaid(const Navaid& n) {
    if (navaids_ == kMostNavaids) {
      ++dropped_navaids_;
      return;
    }
    ++navaids_;
    sqlite3_stmt* s = navaid_.get();
    BindText(s, 1, n.ident);
    BindText(s, 2, n.name);
    sqlite3_bind_int(s, 3, static_cast<int>(n.type));
    BindText(s, 4, n.region);
    sqlite3_bind_double(s, 5, n.position.lat);
    sqlite3_bind_double(s, 6, n.position.lon);
    sqlite3_bind_int64(s, 7, n.khz);
    if (n.slaved_variation)
      sqlite3_bind_double(s, 8, *n.slaved_variation);
    else
      sqlite3_bind_null(s, 8);
    sqlite3_bind_int64(s, 9, TileOf(n.position));
    navaid_tiles_.Add(n.position);
    Step(s);
  }

  static void BindEnd(sqlite3_stmt* s, int index, const std::optional<GeoPosition>& p) {
    if (p) {
      sqlite3_bind_double(s, index, p->lat);
      sqlite3_bind_double(s, index + 1, p->lon);
    } else {
      sqlite3_bind_null(s, index);
      sqlite3_bind_null(s, index + 1);
    }
  }
  void Step(sqlite3_stmt* s) {
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) throw IndexCancelled();
    if (sqlite3_step(s) != SQLITE_DONE) failed_ = true;
    sqlite3_reset(s);  // every parameter is bound again for the next record
  }

  const std::atomic<bool>* cancel_;
  Stmt airport_, runway_, frequency_, navaid_;
  sqlite3* db_;
  bool failed_ = false;
  TileBoxes airport_tiles_, navaid_tiles_;
  int64_t airports_ = 0, navaids_ = 0;
  int64_t dropped_airports_ = 0, dropped_navaids_ = 0, dropped_parts_ = 0;
};

// What the index was built from: a change of any file's size, time, inode or
// change time, or of the program's tables, asks for a new one. The inode and
// change time tell a file rewritten within its time stamp's resolution, or
// replaced by one of the same size and time.
std::string Signature(const DataFiles& files) {
  std::string signature = "schema " + std::to_string(kSchemaVersion) + "\n" + files.format + "\n";
  for (const DataFile& file : files.files) {
    struct stat st {};
    if (stat(file.path.c_str(), &st) != 0) {
      signature += file.path + "|gone\n";
      continue;
    }
    const long long mtime = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    const long long ctime = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    signature += file.path + "|" + std::to_string(st.st_size) + "|" + std::to_string(mtime) + "|" +
                 std::to_string(st.st_ino) + "|" + std::to_string(ctime) + "\n";
  }
  return signature;
}

// The first file whose line differs between two signatures.
std::string ChangedFile(const std::string& before, const std::string& after) {
  std::size_t a = 0, b = 0;
  while (a < before.size() && b < after.size()) {
    const std::size_t a_end = before.find('\n', a), b_end = after.find('\n', b);
    const std::string line = before.substr(a, a_end - a);
    if (line != after.substr(b, b_end - b)) return line.substr(0, line.find('|'));
    if (a_end == std::string::npos || b_end == std::string::npos) break;
    a = a_end + 1, b = b_end + 1;
  }
  return "a data file";
}

std::string HexHash(const std::string& text) {
  // FNV-1a: stable across runs and builds, unlike std::hash.
  unsigned long long hash = 1469598103934665603ULL;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ULL;
  char out[17];
  std::snprintf(out, sizeof out, "%016llx", hash);
  return out;
}

std::string CanonicalFolder(const std::string& folder) {
  char* real = realpath(folder.c_str(), nullptr);
  if (!real) return folder;
  std::string canonical(real);
  std::free(real);
  return canonical;
}

// False with the system's reason.
bool MakeFolders(const std::string& path, std::string& why) {
  std::string partial;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || (path[i] == '/' && i > 0)) {
      partial = path.substr(0, i);
      if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
        why = std::strerror(errno);
        return false;
      }
    }
  }
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    why = std::strerror(errno);
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    why = std::strerror(ENOTDIR);
    return false;
  }
  return true;
}

// The index's temporary files whose process is gone: builds killed part-way.
// One whose process still runs may be a build in progress.
void RemoveStaleTemps(const std::string& dir) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    const std::size_t tmp = name.rfind(".sqlite.tmp");
    if (name.rfind("aviation-", 0) != 0 || tmp == std::string::npos) continue;
    const std::string digits = name.substr(tmp + 11);
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
      continue;
    const pid_t owner = static_cast<pid_t>(std::stol(digits));
    if (owner <= 0 || owner == getpid() || kill(owner, 0) == 0 || errno != ESRCH) continue;
    const std::string path = dir + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(path.c_str());
  }
  closedir(d);
}

// The reason of the last error on `db`, with the system's where it has one.
std::string DbError(sqlite3* db) {
  std::string why = db ? sqlite3_errmsg(db) : "out of memory";
  if (db && sqlite3_system_errno(db) != 0)
    why += std::string(": ") + std::strerror(sqlite3_system_errno(db));
  return why;
}

void SetMeta(sqlite3* db, const std::string& key, const std::string& value) {
  Stmt s = Prepare(db, "INSERT OR REPLACE INTO meta VALUES(?,?)");
  BindText(s.get(), 1, key);
  BindText(s.get(), 2, value);
  sqlite3_step(s.get());
}

// The value of `key`; empty when the index has none. Throws IndexFailure on
// a database error: a damaged index never reads as an empty one.
std::string GetMeta(sqlite3* db, const std::string& key) {
  Stmt s = Prepare(db, "SELECT value FROM meta WHERE key=?");
  if (!s) throw IndexFailure{DbError(db)};
  BindText(s.get(), 1, key);
  const int step = sqlite3_step(s.get());
  if (step == SQLITE_ROW) return ColumnText(s.get(), 0);
  if (step != SQLITE_DONE) throw IndexFailure{DbError(db)};
  return std::string();
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line + "\n";
  return joined;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(text.substr(start, nl - start));
  return lines;
}

void SaveInfo(sqlite3* db, const DataSetInfo& info) {
  SetMeta(db, "format", info.format);
  SetMeta(db, "cycle", info.cycle);
  SetMeta(db, "date", info.date ? FormatCivilDate(*info.date) : std::string());
  SetMeta(db, "airports", std::to_string(info.airports));
  SetMeta(db, "navaids", std::to_string(info.navaids));
  SetMeta(db, "skipped", std::to_string(info.skipped));
  SetMeta(db, "warnings", JoinLines(info.warnings));
}

void LoadInfo(sqlite3* db, DataSetInfo& info) {
  info.format = GetMeta(db, "format");
  info.cycle = GetMeta(db, "cycle");
  CivilDate date;
  if (ParseCivilDate(GetMeta(db, "date"), date)) info.date = date;
  info.airports = std::atoll(GetMeta(db, "airports").c_str());
  info.navaids = std::atoll(GetMeta(db, "navaids").c_str());
  info.skipped = std::atoll(GetMeta(db, "skipped").c_str());
  info.warnings = SplitLines(GetMeta(db, "warnings"));
}

// The index file's bytes as a CRC-32, but for the header's fields SQLite
// changes itself (the change counter and the version it is valid for) and
// the user version the sum is kept in. It tells a damaged page that SQLite's
// own checks would read as valid rows.
bool FileChecksum(const std::string& path, uint32_t& crc, std::string& why) {
  InputFile file;
  if (file.Open(path, why) != ReadStatus::Ok) {
    if (why.empty()) why = std::strerror(ENOENT);
    return false;
  }
  std::vector<char> buffer(1 << 20);
  uLong sum = crc32(0L, Z_NULL, 0);
  unsigned long long offset = 0;
  for (;;) {
    const long got = file.Read(buffer.data(), buffer.size(), why);
    if (got < 0) return false;
    if (got == 0) break;
    const std::size_t n = static_cast<std::size_t>(got);
    for (const std::size_t field : {24, 60, 92}) {
      for (std::size_t i = field; i < field + 4; ++i) {
        if (i >= offset && i - offset < n) buffer[i - offset] = 0;
      }
    }
    sum = crc32_z(sum, reinterpret_cast<const Bytef*>(buffer.data()), n);
    offset += n;
  }
  crc = static_cast<uint32_t>(sum);
  return true;
}

enum class Built { Ok, Cancelled, DataError, CacheError };

// SQLite's progress handler while the indexes are sorted: non-zero stops it.
int WatchSorting(void* context) {
  const IndexWatch& watch = *static_cast<const IndexWatch*>(context);
  if (watch.cancel && watch.cancel->load(std::memory_order_relaxed)) return 1;
  if (watch.progress) watch.progress(0.9);
  return watch.cancel && watch.cancel->load(std::memory_order_relaxed) ? 1 : 0;
}

// Fills the empty database `db` with the index of `files`, signed with
// `signature` (what the files were when the build began).
Built FillIndex(sqlite3* db, const DataFiles& files, const std::string& signature,
                DataSetInfo& info, const IndexWatch& watch, std::string& error) {
  Exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536;");
  try {
    if (!Exec(db, kSchema) || !Exec(db, "BEGIN")) {
      error = DbError(db);
      return Built::CacheError;
    }
    IndexWriter writer(db, watch.cancel);
    const IndexProgress reading = [&](double f) {
      if (watch.cancel && watch.cancel->load(std::memory_order_relaxed)) throw IndexCancelled();
      if (watch.progress) watch.progress(0.9 * f);
    };
    if (!writer.ok()) {
      error = DbError(db);
      return Built::CacheError;
    }
    const ReadReport report = ReadAviationData(files, writer, info, reading);
    info.warnings = report.WarningTexts();
    writer.ReportLimits(info);
    if (!report.ok()) {
      error = report.FirstError();
      return Built::DataError;
    }
    if (!writer.ok() || !writer.WriteTiles()) {
      error = DbError(db);
      return Built::CacheError;
    }
    // Sorting the indexes of a large set takes a while: the watch is still
    // called, and its flag still stops the build.
    sqlite3_progress_handler(db, 10000, WatchSorting,
                             const_cast<void*>(static_cast<const void*>(&watch)));
    const bool sorted = Exec(db, kIndexes);
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    if (watch.cancel && watch.cancel->load()) throw IndexCancelled();
    if (!sorted) {
      error = DbError(db);
      return Built::CacheError;
    }
    SetMeta(db, "signature", signature);
    SaveInfo(db, info);
    if (!Exec(db, "COMMIT")) {
      error = DbError(db);
      return Built::CacheError;
    }
  } catch (const IndexCancelled&) {
    error = "the index was not built: cancelled";
    return Built::Cancelled;
  }
  return Built::Ok;
}

// Builds the index at `path` through a temporary file renamed over it at the
// end, so a build cut short never leaves a half index behind.
Built BuildIndex(const DataFiles& files, const std::string& signature, const std::string& path,
                 DataSetInfo& info, const IndexWatch& watch, std::string& error) {
  const std::string temporary = path + ".tmp" + std::to_string(getpid());
  unlink(temporary.c_str());
  sqlite3* raw = nullptr;
  Built built = Built::Ok;
  // One thread builds it: SQLite's locks would cost a tenth of the build.
  if (sqlite3_open_v2(temporary.c_str(), &raw,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    error = DbError(raw);
    built = Built::CacheError;
  }
  Db db(raw);
  if (built == Built::Ok) built = FillIndex(db.get(), files, signature, info, watch, error);
  db.reset();
  uint32_t crc = 0;
  if (built == Built::Ok && !FileChecksum(temporary, crc, error)) built = Built::CacheError;
  if (built == Built::Ok) {
    raw = nullptr;
    sqlite3_open(temporary.c_str(), &raw);
    db.reset(raw);
    const std::string pragma = "PRAGMA user_version=" + std::to_string(static_cast<int32_t>(crc));
    if (!Exec(db.get(), pragma.c_str())) {
      error = DbError(db.get());
      built = Built::CacheError;
    }
    db.reset();
  }
  if (built == Built::Ok && rename(temporary.c_str(), path.c_str()) != 0) {
    error = std::strerror(errno);
    built = Built::CacheError;
  }
  if (built != Built::Ok) unlink(temporary.c_str());
  return built;
}

// Why the index at `path` cannot be used for `signature`: empty when it can
// (then `db` holds it open), "stale" when it is of other data or another
// program, else what is damaged.
std::string CheckIndex(const std::string& path, const std::string& signature, Db& db) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return "stale";
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  Db candidate(raw);
  if (opened != SQLITE_OK) return DbError(raw);
  try {
    if (GetMeta(raw, "signature") != signature) return "stale";
  } catch (const IndexFailure& failure) {
    return failure.why;
  }
  Stmt version = Prepare(raw, "PRAGMA user_version");
  if (!version || sqlite3_step(version.get()) != SQLITE_ROW) return DbError(raw);
  const uint32_t stored = static_cast<uint32_t>(sqlite3_column_int(version.get(), 0));
  version.reset();
  uint32_t crc = 0;
  std::string why;
  if (!FileChecksum(path, crc, why)) return why;
  if (crc != stored) return "its checksum does not match";
  db = std::move(candidate);
  return std::string();
}

// Builds the index of `files` into a database `open` makes, again when a
// file changed while it was read; `warnings` tells of a file that kept
// changing. The signature of the files as they were when it began.
template <typename Open>
Built BuildChecked(const DataFiles& files, DataSetInfo& info, std::vector<std::string>& warnings,
                   Open open) {
  constexpr int kAttempts = 2;
  for (int attempt = 1;; ++attempt) {
    info = DataSetInfo();
    const std::string before = Signature(files);
    const Built built = open(before, info);
    if (built != Built::Ok) return built;
    const std::string after = Signature(files);
    if (after == before) return built;
    if (attempt == kAttempts) {
      // Signed as it was before: the next start builds the index again.
      warnings.push_back(ChangedFile(before, after) +
                         " changed while it was indexed: some answers may mix its old and new "
                         "records until the index is built again");
      return built;
    }
  }
}

// The index of `files` for this run only, when there is no folder to keep it.
Db IndexInMemory(const DataFiles& files, const IndexWatch& watch,
                 std::vector<std::string>& warnings, std::string& error) {
  Db db;
  DataSetInfo info;
  const Built built =
      BuildChecked(files, info, warnings, [&](const std::string& signature, DataSetInfo& read) {
        sqlite3* raw = nullptr;
        const int opened = sqlite3_open(":memory:", &raw);
        db.reset(raw);
        if (opened != SQLITE_OK) {
          error = DbError(raw);
          return Built::CacheError;
        }
        return FillIndex(db.get(), files, signature, read, watch, error);
      });
  if (built != Built::Ok) {
    if (error.empty()) error = "cannot build the index in memory";
    return Db();
  }
  if (watch.progress) watch.progress(1.0);
  return db;
}

// The index of the data in `canonical` kept in `cache_dir`, built there first
// when missing, damaged or when the data changed. A folder where it cannot be
// kept gives an index in memory, with a warning.
Db CachedIndex(const DataFiles& files, const std::string& canonical, const std::string& cache_dir,
               const IndexWatch& watch, std::vector<std::string>& warnings, std::string& path,
               std::string& error) {
  std::string why;
  if (!MakeFolders(cache_dir, why)) {
    warnings.push_back("the index cannot be kept in " + cache_dir + " (" + why +
                       "): it is built in memory for this run");
    return IndexInMemory(files, watch, warnings, error);
  }
  RemoveStaleTemps(cache_dir);
  path = cache_dir + "/aviation-" + HexHash(canonical) + ".sqlite";
  Db db;
  why = CheckIndex(path, Signature(files), db);
  if (why.empty()) return db;
  if (why != "stale") {
    warnings.push_back("the index " + path + " is damaged (" + why + "): it is built again");
  }
  DataSetInfo info;
  const Built built =
      BuildChecked(files, info, warnings, [&](const std::string& signature, DataSetInfo& read) {
        return BuildIndex(files, signature, path, read, watch, error);
      });
  if (built == Built::CacheError) {
    warnings.push_back("the index cannot be kept in " + cache_dir + " (" + error +
                       "): it is built in memory for this run");
    path.clear();
    error.clear();
    return IndexInMemory(files, watch, warnings, error);
  }
  if (built != Built::Ok) return Db();
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  db.reset(raw);
  if (opened != SQLITE_OK) {
    warnings.push_back("the index " + path + " cannot be read (" + DbError(raw) +
                       "): it is built in memory for this run");
    path.clear();
    return IndexInMemory(files, watch, warnings, error);
  }
  if (watch.progress) watch.progress(1.0);
  return db;
}

constexpr const char* kAirportColumns = "id, ident, icao, gps, local, name, elevation, lat, lon";
constexpr const char* kNavaidColumns = "ident, name, type, region, lat, lon, khz, variation";

Navaid NavaidFrom(sqlite3_stmt* s) {
  Navaid n;
  n.ident = ColumnText(s, 0);
  n.name = ColumnText(s, 1);
  n.type = static_cast<NavaidType>(std::clamp(sqlite3_column_int(s, 2), 0, 5));
  n.region = ColumnText(s, 3);
  n.position = GeoPosition{sqlite3_column_double(s, 4), sqlite3_column_double(s, 5)};
  n.khz = sqlite3_column_int64(s, 6);
  if (sqlite3_column_type(s, 7) != SQLITE_NULL) n.slaved_variation = sqlite3_column_double(s, 7);
  return n;
}

// A box around `position` that holds everything within `range_nm`, for the
// index to narrow the search; the exact distance decides afterwards. Near the
// poles and across the antimeridian the box spans every longitude.
MapBox BoxAround(const GeoPosition& position, double range_nm) {
  const double degrees = range_nm / 59.0 + 0.01;  // a minute of latitude is at least 1842.9 m
  MapBox box{position.lat - degrees, position.lat + degrees, -180.0, 180.0};
  const double widest = std::max(std::fabs(box.south), std::fabs(box.north));
  if (widest < 80.0) {
    const double across = degrees / std::cos(widest * 3.14159265358979 / 180.0);
    if (position.lon - across > -180.0 && position.lon + across < 180.0)
      box.west = position.lon - across, box.east = position.lon + across;
  }
  return box;
}

// The ids of the rows of `table` in the box, split at the antimeridian: the
// R*Tree `tiles` names the tiles the box meets, their rows are then sifted.
std::string InRtree(const char* table, const char* tiles) {
  auto range = [&](const char* west, const char* east) {
    return std::string("SELECT id FROM ") + tiles + " WHERE north >= :south AND south <= :north" +
           " AND east >= " + west + " AND west <= " + east;
  };
  return std::string("SELECT id FROM ") + table + " WHERE tile IN (" + range(":west1", ":east1") +
         " UNION ALL " + range(":west2", ":east2") +
         ") AND lat BETWEEN :south AND :north"
         " AND (lon BETWEEN :west1 AND :east1 OR lon BETWEEN :west2 AND :east2)";
}

// The box into the statement's named parameters: two longitude ranges, the
// second for the part of a box beyond the antimeridian (empty when none).
void BindRtree(sqlite3_stmt* s, const MapBox& box) {
  double west1 = -180.0, east1 = 180.0, west2 = 1.0, east2 = 0.0;
  if (box.east - box.west < 360.0) {
    west1 = std::remainder(box.west, 360.0);
    east1 = west1 + (box.east - box.west);
    if (east1 > 180.0) {
      west2 = -180.0;
      east2 = east1 - 360.0;
      east1 = 180.0;
    }
  }
  const std::pair<const char*, double> values[] = {{":south", box.south}, {":north", box.north},
                                                   {":west1", west1},     {":east1", east1},
                                                   {":west2", west2},     {":east2", east2}};
  for (const auto& [name, value] : values)
    sqlite3_bind_double(s, sqlite3_bind_parameter_index(s, name), value);
}

}  // namespace

std::string DefaultCacheFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && *cache == '/') return std::string(cache) + "/halvix";
  // Without a home of its own the index stays in memory: a shared temporary
  // folder would let another user plant the index this reads.
  const char* home = std::getenv("HOME");
  if (!home || *home != '/') return std::string();
  return std::string(home) + "/.cache/halvix";
}

struct AviationData::Impl {
  Db db;
  DataSetInfo info;
  DataFiles files;   // what the index is of, for building it again
  std::string path;  // of the index file; empty for an index in memory
  std::vector<std::string> notices;
  bool rebuilt = false;

  // One result row of `s`: true for a row, false at the end. A database
  // error throws, so that it can never read as "not found".
  static bool Row(sqlite3* db, sqlite3_stmt* s) {
    const int step = sqlite3_step(s);
    if (step == SQLITE_ROW) return true;
    if (step == SQLITE_DONE) return false;
    throw IndexFailure{DbError(db)};
  }

  Stmt Statement(const char* sql) const {
    Stmt s = Prepare(db.get(), sql);
    if (!s) throw IndexFailure{DbError(db.get())};
    return s;
  }

  Airport AirportFrom(sqlite3_stmt* s) const {
    Airport a;
    const sqlite3_int64 id = sqlite3_column_int64(s, 0);
    a.ident = ColumnText(s, 1);
    a.icao_code = ColumnText(s, 2);
    a.gps_code = ColumnText(s, 3);
    a.local_code = ColumnText(s, 4);
    a.name = ColumnText(s, 5);
    if (sqlite3_column_type(s, 6) != SQLITE_NULL) a.elevation_ft = sqlite3_column_int(s, 6);
    a.position = GeoPosition{sqlite3_column_double(s, 7), sqlite3_column_double(s, 8)};
    Stmt r = Statement(
        "SELECT end1, end2, closed, lat1, lon1, lat2, lon2 FROM runways "
        "WHERE airport=? ORDER BY rowid");
    sqlite3_bind_int64(r.get(), 1, id);
    while (Row(db.get(), r.get())) {
      Runway runway;
      runway.end1 = ColumnText(r.get(), 0);
      runway.end2 = ColumnText(r.get(), 1);
      runway.closed = sqlite3_column_int(r.get(), 2) != 0;
      if (sqlite3_column_type(r.get(), 3) != SQLITE_NULL)
        runway.end1_position =
            GeoPosition{sqlite3_column_double(r.get(), 3), sqlite3_column_double(r.get(), 4)};
      if (sqlite3_column_type(r.get(), 5) != SQLITE_NULL)
        runway.end2_position =
            GeoPosition{sqlite3_column_double(r.get(), 5), sqlite3_column_double(r.get(), 6)};
      a.runways.push_back(std::move(runway));
    }
    Stmt f = Statement("SELECT use, khz, label FROM frequencies WHERE airport=? ORDER BY rowid");
    sqlite3_bind_int64(f.get(), 1, id);
    while (Row(db.get(), f.get())) {
      AirportFrequency frequency;
      frequency.use = static_cast<FrequencyUse>(
          std::clamp(sqlite3_column_int(f.get(), 0), 0, static_cast<int>(FrequencyUse::Other)));
      frequency.khz = sqlite3_column_int64(f.get(), 1);
      frequency.label = ColumnText(f.get(), 2);
      a.frequencies.push_back(std::move(frequency));
    }
    return a;
  }

  // The index went bad while in use (a disk error, a file overwritten): the
  // data is indexed again in memory, once, and the look-up asked again.
  // Throws AviationDataError when that fails too.
  template <typename Result, typename Query>
  Result Ask(const Query& query) {
    if (!db) return Result();
    try {
      return query();
    } catch (const IndexFailure& failure) {
      if (rebuilt)
        throw AviationDataError("the aviation data index cannot be read: " + failure.why);
      rebuilt = true;
      const std::string damaged = path.empty() ? "in memory" : path;
      // The next start builds a new index rather than trusting this one.
      if (!path.empty()) unlink(path.c_str());
      std::string error;
      db = IndexInMemory(files, IndexWatch(), info.warnings, error);
      if (!db)
        throw AviationDataError("the aviation data index cannot be read (" + failure.why +
                                ") nor built again: " + error);
      info.warnings.push_back("the index " + damaged + " failed (" + failure.why +
                              "): the data was indexed again in memory");
      notices.push_back(info.warnings.back());
      path.clear();
    }
    try {
      return query();
    } catch (const IndexFailure& failure) {
      throw AviationDataError("the aviation data index cannot be read: " + failure.why);
    }
  }

  std::vector<Airport> Airports(const std::string& sql,
                                const std::function<void(sqlite3_stmt*)>& bind) {
    return Ask<std::vector<Airport>>([&] {
      std::vector<Airport> found;
      Stmt s = Statement(sql.c_str());
      bind(s.get());
      while (Row(db.get(), s.get())) found.push_back(AirportFrom(s.get()));
      return found;
    });
  }

  std::vector<Navaid> Navaids(const std::string& sql,
                              const std::function<void(sqlite3_stmt*)>& bind) {
    return Ask<std::vector<Navaid>>([&] {
      std::vector<Navaid> found;
      Stmt s = Statement(sql.c_str());
      bind(s.get());
      while (Row(db.get(), s.get())) found.push_back(NavaidFrom(s.get()));
      return found;
    });
  }
};

AviationData::AviationData() : impl_(std::make_unique<Impl>()) {}
AviationData::~AviationData() = default;
AviationData::AviationData(AviationData&&) noexcept = default;
AviationData& AviationData::operator=(AviationData&&) noexcept = default;

bool AviationData::Open(const std::string& folder, const std::string& cache_dir, std::string& error,
                        const IndexProgress& progress) {
  return Open(folder, cache_dir, error, IndexWatch{progress, nullptr});
}

bool AviationData::Open(const std::string& folder, const std::string& cache_dir, std::string& error,
                        const IndexWatch& watch) {
  impl_ = std::make_unique<Impl>();
  const std::string canonical = CanonicalFolder(folder);
  impl_->files = FindDataFiles(canonical);
  const DataFiles& files = impl_->files;
  if (files.format.empty()) {
    error = NoDataMessage(folder);
    return false;
  }
  std::vector<std::string> warnings;
  impl_->db = cache_dir.empty()
                  ? IndexInMemory(files, watch, warnings, error)
                  : CachedIndex(files, canonical, cache_dir, watch, warnings, impl_->path, error);
  if (!impl_->db) return false;
  try {
    LoadInfo(impl_->db.get(), impl_->info);
  } catch (const IndexFailure& failure) {
    error = "the aviation data index cannot be read: " + failure.why;
    impl_->db.reset();
    return false;
  }
  // What this run met on the way (a damaged or unwritable index) after what
  // the data itself holds.
  for (const std::string& warning : warnings) impl_->info.warnings.push_back(warning);
  impl_->notices = std::move(warnings);
  impl_->info.folder = canonical;
  return true;
}

bool AviationData::is_open() const {
  return impl_ && impl_->db;
}

const DataSetInfo& AviationData::info() const {
  return impl_->info;
}

const std::vector<std::string>& AviationData::notices() const {
  return impl_->notices;
}

bool AviationData::IsOutdated(const CivilDate& today) const {
  return impl_->info.date && DecimalYear(today) - DecimalYear(*impl_->info.date) > 1.0;
}

std::vector<Airport> AviationData::FindAirports(const std::string& code) const {
  const std::string sql = std::string("SELECT ") + kAirportColumns +
                          " FROM airports WHERE ident=?1 COLLATE NOCASE OR icao=?1 COLLATE NOCASE"
                          " OR gps=?1 COLLATE NOCASE OR local=?1 COLLATE NOCASE ORDER BY id";
  const std::string key(Trim(code));
  if (key.empty()) return {};
  return impl_->Airports(sql, [&](sqlite3_stmt* s) { BindText(s, 1, key); });
}

std::vector<Airport> AviationData::FindAirportsByName(const std::string& text,
                                                      std::size_t limit) const {
  std::string pattern;
  for (char c : Trim(text)) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  if (pattern.empty()) return {};
  const std::string sql = std::string("SELECT ") + kAirportColumns +
                          " FROM airports WHERE name LIKE ?1 ESCAPE '\\' ORDER BY id LIMIT ?2";
  return impl_->Airports(sql, [&](sqlite3_stmt* s) {
    BindText(s, 1, "%" + pattern + "%");
    sqlite3_bind_int64(s, 2, static_cast<sqlite3_int64>(std::min<std::size_t>(limit, INT_MAX)));
  });
}

std::vector<Navaid> AviationData::FindNavaids(const std::string& ident) const {
  const std::string sql = std::string("SELECT ") + kNavaidColumns +
                          " FROM navaids WHERE ident=?1 COLLATE NOCASE ORDER BY type=5, id";
  const std::string key(Trim(ident));
  if (key.empty()) return {};
  return impl_->Navaids(sql, [&](sqlite3_stmt* s) { BindText(s, 1, key); });
}

std::vector<Place> AviationData::FindPlaces(const std::string& ident) const {
  std::vector<Place> places;
  for (Airport& airport : FindAirports(ident)) {
    Place place;
    place.kind = Place::Kind::Airport;
    place.ident = airport.ident;
    place.name = airport.name;
    place.position = airport.position;
    place.airport = std::move(airport);
    places.push_back(std::move(place));
  }
  for (Navaid& navaid : FindNavaids(ident)) {
    Place place;
    place.kind = navaid.type == NavaidType::Fix ? Place::Kind::Fix : Place::Kind::Navaid;
    place.ident = navaid.ident;
    place.name = navaid.name;
    place.position = navaid.position;
    place.navaid = std::move(navaid);
    places.push_back(std::move(place));
  }
  return places;
}

std::optional<Place> AviationData::ResolvePlace(const std::string& ident,
                                                const std::optional<GeoPosition>& near) const {
  std::vector<Place> places = FindPlaces(ident);
  if (places.empty()) return std::nullopt;
  std::size_t best = 0;
  if (near) {
    double best_nm = BearingBetween(*near, places[0].position).distance_nm;
    for (std::size_t i = 1; i < places.size(); ++i) {
      const double nm = BearingBetween(*near, places[i].position).distance_nm;
      if (nm < best_nm) best = i, best_nm = nm;
    }
  }
  return std::move(places[best]);
}

std::optional<Airport> AviationData::NearestAirport(const GeoPosition& position,
                                                    double range_nm) const {
  const std::string sql = std::string("SELECT id, lat, lon FROM airports WHERE id IN (") +
                          InRtree("airports", "airport_tiles") + ") ORDER BY id";
  const sqlite3_int64 best_id = impl_->Ask<sqlite3_int64>([&]() -> sqlite3_int64 {
    Stmt s = impl_->Statement(sql.c_str());
    BindRtree(s.get(), BoxAround(position, range_nm));
    sqlite3_int64 best = -1;
    double best_nm = range_nm;
    while (Impl::Row(impl_->db.get(), s.get())) {
      const GeoPosition p{sqlite3_column_double(s.get(), 1), sqlite3_column_double(s.get(), 2)};
      const double nm = BearingBetween(p, position).distance_nm;
      if (nm <= best_nm) best_nm = nm, best = sqlite3_column_int64(s.get(), 0);
    }
    return best;
  });
  if (best_id <= 0) return std::nullopt;
  std::vector<Airport> found =
      impl_->Airports(std::string("SELECT ") + kAirportColumns + " FROM airports WHERE id=?",
                      [&](sqlite3_stmt* st) { sqlite3_bind_int64(st, 1, best_id); });
  if (found.empty()) return std::nullopt;
  return std::move(found.front());
}

std::optional<Navaid> AviationData::NearestVor(const GeoPosition& position, double range_nm) const {
  const MapBox box = BoxAround(position, range_nm);
  const std::string sql = std::string("SELECT ") + kNavaidColumns + " FROM navaids WHERE id IN (" +
                          InRtree("navaids", "navaid_tiles") + ")" +
                          " AND type IN (0, 1, 2) ORDER BY id";
  std::optional<Navaid> best;
  double best_nm = range_nm;
  for (Navaid& vor : impl_->Navaids(sql, [&](sqlite3_stmt* s) { BindRtree(s, box); })) {
    const double nm = BearingBetween(vor.position, position).distance_nm;
    if (nm <= best_nm) best_nm = nm, best = std::move(vor);
  }
  return best;
}

std::vector<Airport> AviationData::AirportsIn(const MapBox& box, std::size_t limit) const {
  const std::string ids = InRtree("airports", "airport_tiles");
  return impl_->Ask<std::vector<Airport>>([&] {
    std::vector<Airport> found;
    sqlite3* db = impl_->db.get();
    Stmt s = impl_->Statement((std::string("SELECT ") + kAirportColumns +
                               " FROM airports WHERE id IN (" + ids + ") ORDER BY id LIMIT :limit")
                                  .c_str());
    BindRtree(s.get(), box);
    sqlite3_bind_int64(s.get(), sqlite3_bind_parameter_index(s.get(), ":limit"),
                       static_cast<sqlite3_int64>(std::min<std::size_t>(limit, INT_MAX)));
    std::unordered_map<sqlite3_int64, std::size_t> by_id;
    while (Impl::Row(db, s.get())) {
      Airport a;
      a.ident = ColumnText(s.get(), 1);
      a.icao_code = ColumnText(s.get(), 2);
      a.gps_code = ColumnText(s.get(), 3);
      a.local_code = ColumnText(s.get(), 4);
      a.name = ColumnText(s.get(), 5);
      if (sqlite3_column_type(s.get(), 6) != SQLITE_NULL)
        a.elevation_ft = sqlite3_column_int(s.get(), 6);
      a.position =
          GeoPosition{sqlite3_column_double(s.get(), 7), sqlite3_column_double(s.get(), 8)};
      by_id.emplace(sqlite3_column_int64(s.get(), 0), found.size());
      found.push_back(std::move(a));
    }
    // Runways and frequencies of all of them in one pass each, not a query per airport.
    Stmt r =
        impl_->Statement(("SELECT airport, end1, end2, closed, lat1, lon1, lat2, lon2 FROM runways "
                          "WHERE airport IN (" +
                          ids + ") ORDER BY rowid")
                             .c_str());
    BindRtree(r.get(), box);
    while (Impl::Row(db, r.get())) {
      const auto it = by_id.find(sqlite3_column_int64(r.get(), 0));
      if (it == by_id.end()) continue;
      Runway runway;
      runway.end1 = ColumnText(r.get(), 1);
      runway.end2 = ColumnText(r.get(), 2);
      runway.closed = sqlite3_column_int(r.get(), 3) != 0;
      if (sqlite3_column_type(r.get(), 4) != SQLITE_NULL)
        runway.end1_position =
            GeoPosition{sqlite3_column_double(r.get(), 4), sqlite3_column_double(r.get(), 5)};
      if (sqlite3_column_type(r.get(), 6) != SQLITE_NULL)
        runway.end2_position =
            GeoPosition{sqlite3_column_double(r.get(), 6), sqlite3_column_double(r.get(), 7)};
      found[it->second].runways.push_back(std::move(runway));
    }
    Stmt f =
        impl_->Statement(("SELECT airport, use, khz, label FROM frequencies WHERE airport IN (" +
                          ids + ") ORDER BY rowid")
                             .c_str());
    BindRtree(f.get(), box);
    while (Impl::Row(db, f.get())) {
      const auto it = by_id.find(sqlite3_column_int64(f.get(), 0));
      if (it == by_id.end()) continue;
      AirportFrequency frequency;
      frequency.use = static_cast<FrequencyUse>(
          std::clamp(sqlite3_column_int(f.get(), 1), 0, static_cast<int>(FrequencyUse::Other)));
      frequency.khz = sqlite3_column_int64(f.get(), 2);
      frequency.label = ColumnText(f.get(), 3);
      found[it->second].frequencies.push_back(std::move(frequency));
    }
    return found;
  });
}

std::vector<Navaid> AviationData::NavaidsIn(const MapBox& box, bool fixes,
                                            std::size_t limit) const {
  const std::string sql = std::string("SELECT ") + kNavaidColumns + " FROM navaids WHERE id IN (" +
                          InRtree("navaids", "navaid_tiles") + ")" +
                          (fixes ? "" : " AND type <> 5") + " ORDER BY type=5, id LIMIT :limit";
  return impl_->Navaids(sql, [&](sqlite3_stmt* s) {
    BindRtree(s, box);
    sqlite3_bind_int64(s, sqlite3_bind_parameter_index(s, ":limit"),
                       static_cast<sqlite3_int64>(std::min<std::size_t>(limit, INT_MAX)));
  });
}
