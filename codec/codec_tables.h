#pragma once

#include <array>
#include <cstdint>

namespace lorix {

inline constexpr int kCurveMaxSteps = 1024;
inline constexpr int kCurveMaxDifference = 255;

// The three tables of the "4BitLog " codec. Built once and only read afterwards.
struct CodecTables {
  // Sample value to 4-bit code, on a logarithmic scale that is fine near the zero line 128.
  std::array<std::uint8_t, 256> QuantiserTable{};
  // Code to reconstruction level; entries 16..255 stay 0.
  std::array<std::uint8_t, 256> LevelTable{};
  // CurveTable[s][d] = 2d / s^2 for s = 1..1024 steps and d = 0..255; row 0 is unused.
  std::array<std::array<double, kCurveMaxDifference + 1>, kCurveMaxSteps + 1> CurveTable{};
};

// Builds the tables on first use and returns the same instance afterwards.
const CodecTables& InitCodecTables();

}  // namespace lorix
