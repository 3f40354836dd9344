// Key names crafted to share one hash in the plan file's key index (FNV-1a
// of the lower-case name), as a hostile file would hold them.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

inline uint32_t Fnv1a(uint32_t hash, const std::string& text) {
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

// 2^blocks names of 8 * blocks lower-case letters and digits. The hash is all the
// state there is, so two blocks that meet from one state can follow each
// other freely: each block is a pair found by the birthday search.
inline std::vector<std::string> CollidingNames(int blocks) {
  std::vector<std::string> names = {""};
  uint32_t state = 2166136261u;
  for (int b = 0; b < blocks; ++b) {
    std::unordered_map<uint32_t, std::string> seen;
    std::string pair[2];
    for (uint64_t n = 1;; ++n) {
      // Any walk through the names will do; a multiplicative one spreads
      // over all eight places at once.
      uint64_t digits = n * 0x9E3779B97F4A7C15ull;
      std::string block(8, 'a');
      for (char& c : block) {
        c = "abcdefghijklmnopqrstuvwxyz0123456789"[digits % 36];
        digits /= 36;
      }
      const auto [it, fresh] = seen.emplace(Fnv1a(state, block), block);
      if (!fresh && it->second != block) {
        pair[0] = it->second;
        pair[1] = block;
        break;
      }
    }
    state = Fnv1a(state, pair[0]);
    std::vector<std::string> longer;
    for (const std::string& name : names) {
      longer.push_back(name + pair[0]);
      longer.push_back(name + pair[1]);
    }
    names.swap(longer);
  }
  return names;
}
