// OurAirports' CSV files: airports.csv with runways.csv,
// airport-frequencies.csv and navaids.csv beside it.
#pragma once

#include "data/data_format.h"

DataFormat OurAirportsFormat();
