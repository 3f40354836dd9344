#include "data/aviation_data.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <unordered_map>

#include "data/aviation_readers.h"
#include "geo/geodesy.h"
#include "plan/profile.h"
#include "plan/text_fields.h"

namespace {

// Raised whenever the tables change, so an index of an older program is rebuilt.
constexpr int kSchemaVersion = 2;

const char* const kSchema = R"(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE airports(id INTEGER PRIMARY KEY, ident TEXT, icao TEXT, gps TEXT, local TEXT,
  name TEXT, elevation INTEGER, lat REAL, lon REAL);
CREATE TABLE runways(airport INTEGER, end1 TEXT, end2 TEXT, closed INTEGER,
  lat1 REAL, lon1 REAL, lat2 REAL, lon2 REAL);
CREATE TABLE frequencies(airport INTEGER, use INTEGER, khz INTEGER, label TEXT);
CREATE TABLE navaids(id INTEGER PRIMARY KEY, ident TEXT, name TEXT, type INTEGER, region TEXT,
  lat REAL, lon REAL, khz INTEGER, variation REAL);
)";

// Built after the rows are in: one sort per index instead of a tree kept in order.
const char* const kIndexes = R"(
CREATE INDEX airports_ident ON airports(ident COLLATE NOCASE);
CREATE INDEX airports_icao ON airports(icao COLLATE NOCASE);
CREATE INDEX airports_gps ON airports(gps COLLATE NOCASE);
CREATE INDEX airports_local ON airports(local COLLATE NOCASE);
CREATE INDEX airports_lat ON airports(lat);
CREATE INDEX runways_airport ON runways(airport);
CREATE INDEX frequencies_airport ON frequencies(airport);
CREATE INDEX navaids_ident ON navaids(ident COLLATE NOCASE);
CREATE INDEX navaids_lat ON navaids(lat);
CREATE VIRTUAL TABLE airport_positions USING rtree(id, south, north, west, east);
INSERT INTO airport_positions SELECT id, lat, lat, lon, lon FROM airports;
CREATE VIRTUAL TABLE navaid_positions USING rtree(id, south, north, west, east);
INSERT INTO navaid_positions SELECT id, lat, lat, lon, lon FROM navaids;
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

// Older simulator files write names in a single-byte code page: everything
// enters the index as UTF-8, as plan files hold it.
void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
  const std::string utf8 = TextAsUtf8(text);
  sqlite3_bind_text(stmt, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

std::string ColumnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  return text ? reinterpret_cast<const char*>(text) : std::string();
}

// Fills the tables as the readers hand over records.
class IndexWriter : public AviationSink {
 public:
  explicit IndexWriter(sqlite3* db)
      : airport_(Prepare(db, "INSERT INTO airports VALUES(NULL,?,?,?,?,?,?,?,?)")),
        runway_(Prepare(db, "INSERT INTO runways VALUES(?,?,?,?,?,?,?,?)")),
        frequency_(Prepare(db, "INSERT INTO frequencies VALUES(?,?,?,?)")),
        navaid_(Prepare(db, "INSERT INTO navaids VALUES(NULL,?,?,?,?,?,?,?,?)")),
        db_(db) {}

  bool ok() const { return airport_ && runway_ && frequency_ && navaid_ && !failed_; }

  void AddAirport(Airport&& a) override {
    sqlite3_stmt* s = airport_.get();
    BindText(s, 1, a.ident);
    BindText(s, 2, a.icao_code);
    BindText(s, 3, a.gps_code);
    BindText(s, 4, a.local_code);
    BindText(s, 5, a.name);
    if (a.elevation_ft)
      sqlite3_bind_int(s, 6, *a.elevation_ft);
    else
      sqlite3_bind_null(s, 6);
    sqlite3_bind_double(s, 7, a.position.lat);
    sqlite3_bind_double(s, 8, a.position.lon);
    Step(s);
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db_);
    for (const Runway& r : a.runways) {
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
      s = frequency_.get();
      sqlite3_bind_int64(s, 1, id);
      sqlite3_bind_int(s, 2, static_cast<int>(f.use));
      sqlite3_bind_int64(s, 3, f.khz);
      BindText(s, 4, f.label);
      Step(s);
    }
  }

  void AddNavaid(Navaid&& n) override {
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
    Step(s);
  }

 private:
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
    if (sqlite3_step(s) != SQLITE_DONE) failed_ = true;
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
  }

  Stmt airport_, runway_, frequency_, navaid_;
  sqlite3* db_;
  bool failed_ = false;
};

// What the index was built from: a change of any file's size or time, or of
// the program's tables, asks for a new one.
std::string Signature(const DataFiles& files) {
  std::string signature = "schema " + std::to_string(kSchemaVersion) + "\n" + files.format + "\n";
  for (const DataFile& file : files.files)
    signature +=
        file.path + "|" + std::to_string(file.size) + "|" + std::to_string(file.mtime_ns) + "\n";
  return signature;
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

bool MakeFolders(const std::string& path) {
  std::string partial;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || (path[i] == '/' && i > 0)) {
      partial = path.substr(0, i);
      if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void SetMeta(sqlite3* db, const std::string& key, const std::string& value) {
  Stmt s = Prepare(db, "INSERT OR REPLACE INTO meta VALUES(?,?)");
  BindText(s.get(), 1, key);
  BindText(s.get(), 2, value);
  sqlite3_step(s.get());
}

std::string GetMeta(sqlite3* db, const std::string& key) {
  Stmt s = Prepare(db, "SELECT value FROM meta WHERE key=?");
  if (!s) return std::string();
  BindText(s.get(), 1, key);
  return sqlite3_step(s.get()) == SQLITE_ROW ? ColumnText(s.get(), 0) : std::string();
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

// Builds the index at `path` through a temporary file renamed over it at the
// end, so a build cut short never leaves a half index behind.
// Fills the empty database `db` with the index of `files`.
bool FillIndex(sqlite3* db, const DataFiles& files, DataSetInfo& info,
               const IndexProgress& progress, std::string& error) {
  Exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536;");
  bool ok = Exec(db, kSchema) && Exec(db, "BEGIN");
  {
    IndexWriter writer(db);
    const IndexProgress reading = [&](double f) {
      if (progress) progress(0.9 * f);
    };
    ok = ok && writer.ok() && ReadAviationData(files, writer, info, reading, error) && writer.ok();
  }
  if (ok) {
    ok = Exec(db, kIndexes);
    SetMeta(db, "signature", Signature(files));
    SaveInfo(db, info);
    ok = ok && Exec(db, "COMMIT");
  }
  return ok;
}

bool BuildIndex(const DataFiles& files, const std::string& path, DataSetInfo& info,
                const IndexProgress& progress, std::string& error) {
  const std::string temporary = path + ".tmp" + std::to_string(getpid());
  unlink(temporary.c_str());
  sqlite3* raw = nullptr;
  if (sqlite3_open(temporary.c_str(), &raw) != SQLITE_OK) {
    error = "cannot create the index " + temporary;
    sqlite3_close(raw);
    return false;
  }
  Db db(raw);
  bool ok = FillIndex(db.get(), files, info, progress, error);
  db.reset();
  if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot write the index in " + path;
    ok = false;
  } else if (!ok && error.empty()) {
    error = "cannot write the index in " + path;
  }
  if (!ok) unlink(temporary.c_str());
  if (ok && progress) progress(1.0);
  return ok;
}

// The index of `files` for this run only, when there is no folder to keep it.
Db IndexInMemory(const DataFiles& files, const IndexProgress& progress, std::string& error) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open(":memory:", &raw);
  Db db(raw);
  DataSetInfo info;
  if (opened != SQLITE_OK || !FillIndex(db.get(), files, info, progress, error)) {
    if (error.empty()) error = "cannot build the index in memory";
    return Db();
  }
  if (progress) progress(1.0);
  return db;
}

// The index of the data in `canonical` kept in `cache_dir`, built there first
// when missing or when the data changed.
Db CachedIndex(const DataFiles& files, const std::string& canonical, const std::string& cache_dir,
               const IndexProgress& progress, std::string& error) {
  if (!MakeFolders(cache_dir)) {
    error = "cannot create the cache folder " + cache_dir;
    return Db();
  }
  const std::string path = cache_dir + "/aviation-" + HexHash(canonical) + ".sqlite";
  sqlite3* raw = nullptr;
  if (sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    Db db(raw);
    if (GetMeta(raw, "signature") == Signature(files)) return db;
  } else {
    sqlite3_close(raw);
  }
  DataSetInfo info;
  if (!BuildIndex(files, path, info, progress, error)) return Db();
  raw = nullptr;
  if (sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(raw);
    error = "cannot read the index " + path;
    return Db();
  }
  return Db(raw);
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
// poles and across the antimeridian the box spans every longitude (west > east).
struct SearchBox {
  double south, north, west, east;
};

SearchBox BoxAround(const GeoPosition& position, double range_nm) {
  const double degrees = range_nm / 59.0 + 0.01;  // a minute of latitude is at least 1842.9 m
  SearchBox box{position.lat - degrees, position.lat + degrees, 1.0, -1.0};
  const double widest = std::max(std::fabs(box.south), std::fabs(box.north));
  if (widest < 80.0) {
    const double across = degrees / std::cos(widest * 3.14159265358979 / 180.0);
    if (position.lon - across > -180.0 && position.lon + across < 180.0)
      box.west = position.lon - across, box.east = position.lon + across;
  }
  return box;
}

void BindBox(sqlite3_stmt* s, const SearchBox& box) {
  sqlite3_bind_double(s, 1, box.south);
  sqlite3_bind_double(s, 2, box.north);
  sqlite3_bind_double(s, 3, box.west);
  sqlite3_bind_double(s, 4, box.east);
}

constexpr const char* kInBox = " lat BETWEEN ?1 AND ?2 AND (?3 > ?4 OR lon BETWEEN ?3 AND ?4)";

// The ids in the box of an R*Tree of positions, split at the antimeridian.
std::string InRtree(const char* table, const MapBox& box) {
  auto range = [&](double west, double east) {
    return std::string("SELECT id FROM ") + table + " WHERE north >= " + std::to_string(box.south) +
           " AND south <= " + std::to_string(box.north) + " AND east >= " + std::to_string(west) +
           " AND west <= " + std::to_string(east);
  };
  if (box.east - box.west >= 360.0) return range(-180.0, 180.0);
  double west = std::remainder(box.west, 360.0);
  double east = west + (box.east - box.west);
  if (east <= 180.0) return range(west, east);
  return range(west, 180.0) + " UNION ALL " + range(-180.0, east - 360.0);
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
    Stmt r = Prepare(db.get(),
                     "SELECT end1, end2, closed, lat1, lon1, lat2, lon2 FROM runways "
                     "WHERE airport=? ORDER BY rowid");
    sqlite3_bind_int64(r.get(), 1, id);
    while (sqlite3_step(r.get()) == SQLITE_ROW) {
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
    Stmt f =
        Prepare(db.get(), "SELECT use, khz, label FROM frequencies WHERE airport=? ORDER BY rowid");
    sqlite3_bind_int64(f.get(), 1, id);
    while (sqlite3_step(f.get()) == SQLITE_ROW) {
      AirportFrequency frequency;
      frequency.use = static_cast<FrequencyUse>(
          std::clamp(sqlite3_column_int(f.get(), 0), 0, static_cast<int>(FrequencyUse::Other)));
      frequency.khz = sqlite3_column_int64(f.get(), 1);
      frequency.label = ColumnText(f.get(), 2);
      a.frequencies.push_back(std::move(frequency));
    }
    return a;
  }

  std::vector<Airport> Airports(const std::string& sql,
                                const std::function<void(sqlite3_stmt*)>& bind) const {
    std::vector<Airport> found;
    if (!db) return found;
    Stmt s = Prepare(db.get(), sql.c_str());
    bind(s.get());
    while (sqlite3_step(s.get()) == SQLITE_ROW) found.push_back(AirportFrom(s.get()));
    return found;
  }

  std::vector<Navaid> Navaids(const std::string& sql,
                              const std::function<void(sqlite3_stmt*)>& bind) const {
    std::vector<Navaid> found;
    if (!db) return found;
    Stmt s = Prepare(db.get(), sql.c_str());
    bind(s.get());
    while (sqlite3_step(s.get()) == SQLITE_ROW) found.push_back(NavaidFrom(s.get()));
    return found;
  }
};

AviationData::AviationData() : impl_(std::make_unique<Impl>()) {}
AviationData::~AviationData() = default;
AviationData::AviationData(AviationData&&) noexcept = default;
AviationData& AviationData::operator=(AviationData&&) noexcept = default;

bool AviationData::Open(const std::string& folder, const std::string& cache_dir, std::string& error,
                        const IndexProgress& progress) {
  impl_ = std::make_unique<Impl>();
  const std::string canonical = CanonicalFolder(folder);
  const DataFiles files = FindDataFiles(canonical);
  if (files.format.empty()) {
    error = folder + " holds no aviation data (airports.csv, or apt.dat, nav.dat, fix.dat)";
    return false;
  }
  impl_->db = cache_dir.empty() ? IndexInMemory(files, progress, error)
                                : CachedIndex(files, canonical, cache_dir, progress, error);
  if (!impl_->db) return false;
  LoadInfo(impl_->db.get(), impl_->info);
  impl_->info.folder = canonical;
  return true;
}

bool AviationData::is_open() const {
  return impl_ && impl_->db;
}

const DataSetInfo& AviationData::info() const {
  return impl_->info;
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
  const std::string sql =
      std::string("SELECT ") + kAirportColumns + " FROM airports WHERE" + kInBox + " ORDER BY id";
  if (!impl_->db) return std::nullopt;
  Stmt s = Prepare(impl_->db.get(), sql.c_str());
  BindBox(s.get(), BoxAround(position, range_nm));
  sqlite3_int64 best_id = -1;
  double best_nm = range_nm;
  while (sqlite3_step(s.get()) == SQLITE_ROW) {
    const GeoPosition p{sqlite3_column_double(s.get(), 7), sqlite3_column_double(s.get(), 8)};
    const double nm = BearingBetween(p, position).distance_nm;
    if (nm <= best_nm) best_nm = nm, best_id = sqlite3_column_int64(s.get(), 0);
  }
  if (best_id < 0) return std::nullopt;
  std::vector<Airport> found =
      impl_->Airports(std::string("SELECT ") + kAirportColumns + " FROM airports WHERE id=?",
                      [&](sqlite3_stmt* st) { sqlite3_bind_int64(st, 1, best_id); });
  if (found.empty()) return std::nullopt;
  return std::move(found.front());
}

std::optional<Navaid> AviationData::NearestVor(const GeoPosition& position, double range_nm) const {
  const SearchBox box = BoxAround(position, range_nm);
  const std::string sql = std::string("SELECT ") + kNavaidColumns + " FROM navaids WHERE" + kInBox +
                          " AND type IN (0, 1, 2) ORDER BY id";
  std::optional<Navaid> best;
  double best_nm = range_nm;
  for (Navaid& vor : impl_->Navaids(sql, [&](sqlite3_stmt* s) { BindBox(s, box); })) {
    const double nm = BearingBetween(vor.position, position).distance_nm;
    if (nm <= best_nm) best_nm = nm, best = std::move(vor);
  }
  return best;
}

std::vector<Airport> AviationData::AirportsIn(const MapBox& box, std::size_t limit) const {
  std::vector<Airport> found;
  if (!impl_->db) return found;
  sqlite3* db = impl_->db.get();
  const std::string ids = InRtree("airport_positions", box);
  Stmt s = Prepare(db, (std::string("SELECT ") + kAirportColumns + " FROM airports WHERE id IN (" +
                        ids + ") ORDER BY id LIMIT ?")
                           .c_str());
  if (!s) return found;  // an index of an older program has no positions
  sqlite3_bind_int64(s.get(), 1, static_cast<sqlite3_int64>(std::min<std::size_t>(limit, INT_MAX)));
  std::unordered_map<sqlite3_int64, std::size_t> by_id;
  while (sqlite3_step(s.get()) == SQLITE_ROW) {
    Airport a;
    a.ident = ColumnText(s.get(), 1);
    a.icao_code = ColumnText(s.get(), 2);
    a.gps_code = ColumnText(s.get(), 3);
    a.local_code = ColumnText(s.get(), 4);
    a.name = ColumnText(s.get(), 5);
    if (sqlite3_column_type(s.get(), 6) != SQLITE_NULL)
      a.elevation_ft = sqlite3_column_int(s.get(), 6);
    a.position = GeoPosition{sqlite3_column_double(s.get(), 7), sqlite3_column_double(s.get(), 8)};
    by_id.emplace(sqlite3_column_int64(s.get(), 0), found.size());
    found.push_back(std::move(a));
  }
  // Runways and frequencies of all of them in one pass each, not a query per airport.
  Stmt r = Prepare(db, ("SELECT airport, end1, end2, closed, lat1, lon1, lat2, lon2 FROM runways "
                        "WHERE airport IN (" +
                        ids + ") ORDER BY rowid")
                           .c_str());
  while (r && sqlite3_step(r.get()) == SQLITE_ROW) {
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
  Stmt f = Prepare(db, ("SELECT airport, use, khz, label FROM frequencies WHERE airport IN (" +
                        ids + ") ORDER BY rowid")
                           .c_str());
  while (f && sqlite3_step(f.get()) == SQLITE_ROW) {
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
}

std::vector<Navaid> AviationData::NavaidsIn(const MapBox& box, bool fixes,
                                            std::size_t limit) const {
  const std::string sql = std::string("SELECT ") + kNavaidColumns + " FROM navaids WHERE id IN (" +
                          InRtree("navaid_positions", box) + ")" + (fixes ? "" : " AND type <> 5") +
                          " ORDER BY type=5, id LIMIT ?";
  return impl_->Navaids(sql, [&](sqlite3_stmt* s) {
    sqlite3_bind_int64(s, 1, static_cast<sqlite3_int64>(std::min<std::size_t>(limit, INT_MAX)));
  });
}
