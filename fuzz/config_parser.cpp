// The configuration parser: any text parses without fault, and every value equals what a lookup of
// its section header from the top of the file gives (the parser finds each header only once).
#include <string>

#include "fuzz/FuzzInput.h"
#include "config/ConfigParser.h"

using namespace varnok;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines = SplitConfigLines(AsText(data, size));
  ConfigPanel panel;
  if (ParseConfiguration(lines, panel) != ParseOutcome::kComplete) return 0;

  FUZZ_CHECK(panel.Tip1 == FindConfigValue(lines, kTipHeader, 1));
  FUZZ_CHECK(panel.Tip2 == FindConfigValue(lines, kTipHeader, 2));
  FUZZ_CHECK(panel.Tip3 == FindConfigValue(lines, kTipHeader, 3));
  const std::int64_t n = std::max<std::int32_t>(FindConfigInt(lines, kTipHeader, 3), 0);
  for (std::size_t k = 0; k < panel.TipL.size(); ++k) {
    FUZZ_CHECK(panel.TipL[k] ==
               std::to_string(FindConfigInt(lines, kTipHeader, static_cast<std::int64_t>(k) + 4)));
  }
  FUZZ_CHECK(static_cast<std::int64_t>(panel.TipL.size()) <= n);
  FUZZ_CHECK(panel.Tip9 == FindConfigValue(lines, kTipHeader, n + 4));
  FUZZ_CHECK(panel.Tip10 == FindConfigValue(lines, kTipHeader, n + 5));
  FUZZ_CHECK(panel.BlRain == FindConfigValue(lines, kBlowerHeader, 1));
  FUZZ_CHECK(panel.BlRH == FindConfigValue(lines, kBlowerHeader, 2));
  FUZZ_CHECK(panel.BlSpeed == FindConfigValue(lines, kBlowerHeader, 3));
  const std::string* coefficients[] = {&panel.CFG_C1, &panel.CFG_C2, &panel.CFG_C3, &panel.CFG_C4,
                                       &panel.CFG_C5, &panel.CFG_C6, &panel.CFG_C7, &panel.CFG_C8,
                                       &panel.CFG_C9, &panel.CFG_C10};
  for (int k = 0; k < 10; ++k) FUZZ_CHECK(*coefficients[k] == FindConfigValue(lines, kCoefHeader, k + 1));
  FUZZ_CHECK(panel.Offset1 == FindConfigValue(lines, kUserCorrectionsHeader, 1));
  FUZZ_CHECK(panel.Offset4 == FindConfigValue(lines, kUserCorrectionsHeader, 4));
  return 0;
}
