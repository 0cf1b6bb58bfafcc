#include "codec/codec_tables.h"

#include <memory>

namespace lorix {
namespace {

// Lowest sample value of each code's interval; the interval of code 15 ends at 255.
constexpr std::array<int, 17> kCodeIntervalStart = {0,   64,  96,  112, 120, 124, 126, 127, 128,
                                                    129, 130, 132, 136, 144, 160, 192, 256};

std::unique_ptr<CodecTables> BuildTables() {
  auto tables = std::make_unique<CodecTables>();
  for (int code = 0; code < 16; ++code) {
    const int low = kCodeIntervalStart[code];
    const int high = kCodeIntervalStart[code + 1];
    for (int sample = low; sample < high; ++sample) {
      tables->QuantiserTable[sample] = static_cast<std::uint8_t>(code);
    }
    // Lower bound plus half the interval's width, rounded down.
    tables->LevelTable[code] = static_cast<std::uint8_t>(low + (high - low) / 2);
  }
  for (int s = 1; s <= kCurveMaxSteps; ++s) {
    const double s_squared = static_cast<double>(s * s);
    for (int d = 0; d <= kCurveMaxDifference; ++d) {
      tables->CurveTable[s][d] = static_cast<double>(2 * d) / s_squared;
    }
  }
  return tables;
}

}  // namespace

const CodecTables& InitCodecTables() {
  static const std::unique_ptr<CodecTables> tables = BuildTables();
  return *tables;
}

}  // namespace lorix
