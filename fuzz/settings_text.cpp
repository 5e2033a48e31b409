// The settings file: loading and writing back gives every byte again; writing a key the file does not
// hold keeps every other key's value and adds only that key; changing a key changes no other value.
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "core/SettingsText.h"

namespace {

struct Key {
  std::string section;
  std::string key;
};

// The keys of the input as the editor itself does not see them: a plain scan of its lines.
std::vector<Key> KeysOf(std::string_view text) {
  std::vector<Key> keys;
  std::string section;
  auto trim = [](std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
  };
  bool first = true;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (first && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    first = false;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view body = trim(line);
    if (!body.empty() && body.front() == '[') {
      std::string_view name = body.substr(1);
      name = name.substr(0, name.find(']'));
      section = std::string(trim(name));
      continue;
    }
    if (!body.empty() && (body.front() == ';' || body.front() == '#')) continue;
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos) keys.push_back({section, std::string(trim(line.substr(0, eq)))});
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = AsText(data, size);
  const varnok::SettingsText original(input);
  FUZZ_CHECK(original.Text() == input);

  const std::vector<Key> keys = KeysOf(input);
  for (const Key& k : keys) FUZZ_CHECK(original.Value(k.section, k.key).has_value());

  // A key the program owns, written twice: the second write changes nothing more.
  varnok::SettingsText edited(input);
  const bool had = original.Value("Form", "ProbeKey").has_value();
  edited.SetValue("Form", "ProbeKey", "12,\"a b\"");
  FUZZ_CHECK(edited.Value("Form", "ProbeKey") == std::optional<std::string>("12,\"a b\""));
  const std::string once = edited.Text();
  edited.SetValue("Form", "ProbeKey", "12,\"a b\"");
  FUZZ_CHECK(edited.Text() == once);
  const varnok::SettingsText reloaded(once);
  FUZZ_CHECK(reloaded.Text() == once);
  for (const Key& k : keys) {
    std::string lower = k.key;
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower == "probekey") continue;  // the one key written
    FUZZ_CHECK(reloaded.Value(k.section, k.key) == original.Value(k.section, k.key));
  }
  if (!had) FUZZ_CHECK(once.size() >= input.size());
  return 0;
}
