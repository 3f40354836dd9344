// The simulator format's apt.dat, nav.dat and fix.dat, plain or gzipped, at
// the folder's top or in Airports/ and Navaids/.
#pragma once

#include "data/data_format.h"

DataFormat XPlaneFormat();
