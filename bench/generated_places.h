// Made-up places for the benchmarks that generate aviation data: idents and
// positions spread over the world the same way in every benchmark.
#pragma once

#include <string>

inline std::string Ident(int i) {
  std::string ident = "K";
  for (int k = 0; k < 3; ++k, i /= 26) ident += static_cast<char>('A' + i % 26);
  return ident + std::to_string(i % 10);
}

inline double Lat(long long i) {
  return -60.0 + static_cast<double>(i * 7919 % 120000) / 1000.0;
}
inline double Lon(long long i) {
  return -179.0 + static_cast<double>(i * 104729 % 358000) / 1000.0;
}
