// The [performance] and [loading] sections of a plan file. Both are written
// only when the plan has something in them, so older plans stay as they are,
// and older readers pass over them as unknown sections.
#pragma once

#include "plan/performance.h"
#include "plan/profile.h"
#include "plan/read_report.h"

// Reads both sections. A value that makes no sense is refused with its key
// and value named in `report`, and left out; everything else is read.
void ReadPerformance(const ProfileFile& file, Performance& perf, Loading& loading,
                     ReadReport& report);

// Writes what is set; clears keys the pilot has cleared; leaves refused keys
// as they stand in the file.
void WritePerformance(ProfileFile& file, const Performance& perf, const Loading& loading);
