#pragma once
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/ConfigParser.h"

namespace varnok::test {

inline std::string FixturePath(const std::string& name) {
  return std::string(VARNOK_CONFIG_FIXTURES) + "/" + name;
}

inline std::string ReadFixture(const std::string& name) {
  std::ifstream in(FixturePath(name), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The sample configuration file as the editor's lines.
inline std::vector<std::string> SampleLines() { return SplitConfigLines(ReadFixture("SAMPLE.CFG")); }

// A panel filled from the sample configuration file.
inline ConfigPanel SamplePanel() {
  ConfigPanel panel;
  ParseConfiguration(SampleLines(), panel);
  return panel;
}

}  // namespace varnok::test
