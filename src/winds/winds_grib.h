// Winds and temperatures from a global model's GRIB2 file on pressure levels
// (u, v, t and gh), kept only for the levels and the area a plan needs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plan/plan.h"
#include "plan/read_report.h"
#include "winds/winds.h"

// Where and how high the legs are flown: a latitude band and an arc of
// longitude from `lon_west` eastward over `lon_span` degrees (it may cross
// the 0/360 seam).
struct GribArea {
  bool empty = true;
  double lat_min = 0.0;
  double lat_max = 0.0;
  double lon_west = 0.0;
  double lon_span = 0.0;
  double alt_min_ft = 0.0;
  double alt_max_ft = 0.0;
};

// The smallest area holding the points, whichever way round the globe.
GribArea AreaAround(const std::vector<GeoPosition>& points, double alt_min_ft, double alt_max_ft);

// The legs' midpoints and altitudes of a plan.
GribArea AreaOfPlan(const Plan& plan);

class GribForecast : public WindSource {
 public:
  // Reads the GRIB file at `path` message by message; an error (naming the
  // message) for a file that is not a usable forecast.
  ReadReport Read(const std::string& path, const GribArea& area);

  double Departure(std::optional<int> hhmm_minutes) const override;
  WindSample At(const GeoPosition& where, double alt_ft, double time) const override;

  // Values held, for checking that only the needed part is kept.
  std::size_t values_held() const;
  std::size_t levels_held() const;
  // The pressure levels kept, hPa, in the order read.
  std::vector<long> pressures_held() const;
  std::size_t times_held() const { return steps_.size(); }

 private:
  struct Level {
    long hpa = 0;
    std::vector<float> u, v, t, gh;  // over the kept rows and columns; NaN where missing
  };
  struct Step {
    long long valid = 0;  // minutes since 1970-01-01 00:00 UTC
    std::vector<Level> levels;
  };
  struct Grid {
    long ni = 0, nj = 0;
    double lat0 = 0.0, lon0 = 0.0, di = 0.0, dj = 0.0;  // dj negative when rows run south
    bool global = false;
  };

  bool ReadMessages(const std::string& path, const GribArea& area, std::string& error);
  void KeepColumns(const GribArea& area);
  WindValue PointProfile(const Step& step, long i, long j, double alt_ft) const;
  bool Corners(const GeoPosition& where, long (&i)[2], long (&j)[2], double& fx, double& fy) const;
  WindValue AtStep(const Step& step, const GeoPosition& where, double alt_ft, bool& inside) const;

  Grid grid_;
  long col0_ = 0, cols_ = 0, row0_ = 0, rows_ = 0;  // the part kept
  std::vector<Step> steps_;                         // ascending in time
};

// True when the bytes start a GRIB file rather than a text bulletin.
bool LooksLikeGrib(const std::string& head);
