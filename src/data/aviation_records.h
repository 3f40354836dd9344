// The records aviation data is made of: airports with their runways and
// frequencies, navaids and fixes, and what a data set holds. The readers
// make them and the index answers with them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "geo/magnetic.h"
#include "plan/plan.h"

// What a frequency is used for at an airport.
enum class FrequencyUse {
  Atis,  // ATIS and the automated weather stations (ASOS, AWOS)
  Unicom,
  Ctaf,
  Clearance,
  Ground,
  Tower,
  Approach,
  Departure,
  Other,
};

struct AirportFrequency {
  FrequencyUse use = FrequencyUse::Other;
  // The whole channel in kHz: 121.805 MHz is 121805, never rounded to 121800.
  int64_t khz = 0;
  std::string label;  // the data's own name for it ("CTAF", "NORCAL APP")
};

struct Runway {
  std::string end1;  // runway numbers with their letter: "12", "30R"
  std::string end2;
  bool closed = false;
  std::optional<GeoPosition> end1_position;
  std::optional<GeoPosition> end2_position;
};

// What kind of place an airport record is; a pilot looking for a field to
// land on wants the airports before the rest.
enum class AirportKind { Airport, Heliport, SeaplaneBase, Closed };

struct Airport {
  std::string ident;  // the data's own key: "KSQL", "00CA"
  AirportKind kind = AirportKind::Airport;
  std::string icao_code;   // empty when there is none
  std::string gps_code;    // empty when there is none
  std::string local_code;  // empty when there is none
  std::string name;
  std::optional<int32_t> elevation_ft;
  // The reference point; an X-Plane airport without one stands at the middle
  // of its runways.
  GeoPosition position;
  std::vector<Runway> runways;
  std::vector<AirportFrequency> frequencies;
};

enum class NavaidType { Vor, VorDme, Vortac, Ndb, Dme, Fix };

// "VOR", "VOR-DME", "VORTAC", "NDB", "DME", "FIX".
const char* NavaidTypeName(NavaidType type);
// VOR, VOR-DME and VORTAC: the stations that have radials.
bool HasRadials(NavaidType type);

struct Navaid {
  std::string ident;
  std::string name;  // empty for a fix
  NavaidType type = NavaidType::Fix;
  std::string region;  // ICAO region ("K2") where the data gives one
  GeoPosition position;
  int64_t khz = 0;  // VOR 113.9 MHz is 113900, NDB 338 kHz is 338; 0 for a fix
  // The variation the station's radials are aligned to, east positive; only
  // VORs carry one.
  std::optional<double> slaved_variation;
  // The magnetic variation at the station when the data gives it apart from
  // the slaved one, east positive.
  std::optional<double> station_variation;
};

// Any of the three, as a route names it.
struct Place {
  enum class Kind { Airport, Navaid, Fix };
  Kind kind = Kind::Airport;
  std::string ident;
  std::string name;
  GeoPosition position;
  std::optional<Airport> airport;  // for Kind::Airport
  std::optional<Navaid> navaid;    // for Kind::Navaid and Kind::Fix
};

// What one data set holds and how reading it went.
struct DataSetInfo {
  std::string folder;
  std::string format;  // "OurAirports" or "X-Plane"
  // The data's cycle or date as its header states it ("AIRAC cycle 1308",
  // "Build 20130725"); empty when it states none.
  std::string cycle;
  std::optional<CivilDate> date;  // when the header gives one
  int64_t airports = 0;
  int64_t navaids = 0;                // navaids and fixes
  int64_t skipped = 0;                // records left out as unreadable
  std::vector<std::string> warnings;  // "312 lines of apt.dat skipped: ..."
};

// The frequency bands a channel must lie in, in kHz.
bool InComBand(int64_t khz);  // 118.000-136.975 MHz
bool InVorBand(int64_t khz);  // 108.00-117.95 MHz
bool InNdbBand(int64_t khz);  // 190-1750 kHz

// A decimal number of MHz ("121.805") as whole kHz; false for anything else.
bool ParseMegahertz(const std::string& text, int64_t& khz);

// Where an index build stands: the share of the data read, 0..1.
using IndexProgress = std::function<void(double fraction)>;
