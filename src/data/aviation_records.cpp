#include "data/aviation_records.h"

const char* NavaidTypeName(NavaidType type) {
  switch (type) {
    case NavaidType::Vor:
      return "VOR";
    case NavaidType::VorDme:
      return "VOR-DME";
    case NavaidType::Vortac:
      return "VORTAC";
    case NavaidType::Ndb:
      return "NDB";
    case NavaidType::Dme:
      return "DME";
    case NavaidType::Fix:
      break;
  }
  return "FIX";
}

bool HasRadials(NavaidType type) {
  return type == NavaidType::Vor || type == NavaidType::VorDme || type == NavaidType::Vortac;
}
