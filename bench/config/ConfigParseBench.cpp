// Parsing a configuration file whose tip section lists 100,000 elevation angles (and 30,000), as the
// configuration page does on Activate: split into lines, then parse every section. The cost of looking
// a section header up grows with the lines ahead of it, so the files are also read with a long preamble.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <string>

#include "config/ConfigPanel.h"
#include "config/ConfigParser.h"

namespace {

// `preamble` lines of free text stand before the calibration block, as notes written by hand do.
std::string FileWithAngles(int angles, int preamble) {
  std::string text;
  for (int i = 0; i < preamble; ++i) text += "note " + std::to_string(i) + " written by hand\n";
  text +=
      "CALIBRATION BLOCK:\n01/01/2020 00:00    \n01/01/2020 00:00    \n1.0 :ln2 calibration\n0.5 :target "
      "tolerance\n"
      "2 :number of frequencies\nheader\n22.0,0,275.0,.000140,32860,18.0\n23.0,0,275.0,.000140,32860,18.0\n"
      "TIP CONFIGURATION: (For all TIP Commands)\n0.98            :regression coeff\n0.0             "
      ":azimuth\n";
  text += std::to_string(angles) + "          :Number of Elevation Angles\n";
  for (int i = 0; i < angles; ++i)
    text += std::to_string(10 + i % 170) + "              :Tip Elevation Angle\n";
  text += "1 :tip 9\n2 :tip 10\nBLOWER SETTINGS:\n1 :rain\n2 :rh\n3 :speed\nCOEF:\n";
  for (int i = 0; i < 10; ++i) text += "0.5 :c\n";
  text += "USER CORRECTIONS:\n0 :a\n0 :b\n0 :c\n0 :d\n";
  return text;
}

}  // namespace

int main() {
  const struct {
    int angles;
    int preamble;
  } cases[] = {{30000, 0}, {100000, 0}, {30000, 1000}, {100000, 1000}};
  for (const auto& c : cases) {
    const int angles = c.angles;
    const std::string text = FileWithAngles(angles, c.preamble);
    double best = 1e30;
    double bestCpu = 1e30;
    std::size_t listed = 0;
    for (int round = 0; round < 5; ++round) {
      const auto start = std::chrono::steady_clock::now();
      timespec cpuStart{};
      clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
      varnok::ConfigPanel panel;
      varnok::ParseConfiguration(varnok::SplitConfigLines(text), panel);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      timespec cpuEnd{};
      clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
      const double cpuMs =
          (cpuEnd.tv_sec - cpuStart.tv_sec) * 1e3 + (cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e6;
      if (ms < best) best = ms;
      if (cpuMs < bestCpu) bestCpu = cpuMs;
      listed = panel.TipL.size();
    }
    std::printf(
        "config parse, %d angles after %d other lines (%zu listed): %.1f ms elapsed, %.1f ms processor time "
        "(best of 5)\n",
        angles, c.preamble, listed, best, bestCpu);
  }
  return 0;
}
