#pragma once
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace varnok::bench {

// Writes an LN2 calibration result file as the instrument's software does: a few comment records, the
// header (type 30) with the column titles, then one data record (type 31) per sample. Values wander
// slowly with some noise, with the usual mix of temperatures, counts and gains.
inline void WriteCalibrationFile(const std::filesystem::path& path, int columns, int rows) {
  std::vector<std::string> titles;
  static const double kFrequencies[] = {22.240, 23.040, 23.840, 25.440, 26.240, 27.840, 31.400,
                                        51.260, 52.280, 53.860, 54.940, 56.660, 57.300, 58.000};
  const char* const kKinds[] = {"Tb", "Cnt", "Gain", "Tn"};
  titles.push_back("Tamb");
  titles.push_back("TLN2");
  titles.push_back("Tref");
  for (int k = 0; static_cast<int>(titles.size()) < columns; ++k) {
    char title[32];
    std::snprintf(title, sizeof title, "%s%.3f", kKinds[(k / 14) % 4], kFrequencies[k % 14]);
    titles.push_back(title);
  }
  titles.resize(static_cast<std::size_t>(columns));

  std::ofstream out(path, std::ios::binary);
  std::string line = "0,2026-12-09 08:14:02,10,LN2 calibration,instrument QX-7100A\r\n";
  line += "0,2026-12-09 08:14:02,30";
  for (const std::string& title : titles) line += "," + title;
  line += "\r\n";
  out << line;
  char value[48];
  for (int r = 0; r < rows; ++r) {
    const int x = 1000 + r;
    line = std::to_string(x) + ",2026-12-09 08:" + std::to_string(14 + r / 3600 % 40) + ",31";
    for (int c = 0; c < columns; ++c) {
      const double drift = std::sin(r * 0.0007 + c * 0.37);
      // Noise from a hash of the record and column: -0.5 … 0.5.
      std::uint32_t h = static_cast<std::uint32_t>(r) * 2654435761u ^ static_cast<std::uint32_t>(c) * 40503u;
      h ^= h >> 15;
      h *= 2246822519u;
      h ^= h >> 13;
      const double noise = (h & 0xffff) / 65535.0 - 0.5;
      double v;
      const char* format;
      switch (c < 3 ? c : 3 + (c - 3) / 14 % 4) {
        case 0:
          v = 293.15 + 2.0 * drift + noise * 0.1;
          format = "%.3f";
          break;
        case 1:
          v = 77.36 + 0.05 * drift + noise * 0.01;
          format = "%.3f";
          break;
        case 2:
          v = 318.0 + 0.2 * drift + noise * 0.02;
          format = "%.3f";
          break;
        case 3:
          v = 80.0 + 200.0 * (0.5 + 0.5 * drift) + noise;
          format = "%.2f";
          break;
        case 4:
          v = 24000 + 3000 * drift + 40 * noise;
          format = "%.0f";
          break;
        case 5:
          v = 12.5 + 0.3 * drift + noise * 0.01;
          format = "%.5f";
          break;
        default:
          v = 450.0 + 20.0 * drift + noise;
          format = "%.2f";
          break;
      }
      std::snprintf(value, sizeof value, format, v);
      line += ',';
      line += value;
    }
    line += "\r\n";
    out << line;
  }
}

}  // namespace varnok::bench
